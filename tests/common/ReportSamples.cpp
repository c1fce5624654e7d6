#include "common/ReportSamples.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"

namespace testenv {

using report::FormatFixedWidth;

void PrintSampleMemberForceTable(report::ReportContext& ctx, int members, int16_t caseNo)
{
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QStringLiteral(" * 部材応力"));
    ctx.doc.PrintParagraph(QString());
    report::RunningTable table(ctx, report::TableCodeMemberForcesForCase);
    for (int m = 1; m <= members; ++m) {
        for (int end = 0; end < 2; ++end) {
            QString line = QString(6, u' ') + (end == 0 ? FormatFixedWidth(m, 5, 0) : QString(5, u' '));
            line += QString(4, u' ') + FormatFixedWidth(end == 0 ? m : m + 1, 5, 0) + QString(3, u' ');
            for (int f = 0; f < 6; ++f) {
                const double v = ((m * 37 + f * 11 + caseNo * 5 + end * 3) % 2001 - 1000) * 0.731;
                line += FormatFixedWidth(static_cast<float>(v), 5, 3) + QStringLiteral("  ");
            }
            line += QStringLiteral(" ") + FormatFixedWidth(static_cast<float>(m * 1.25), 5, 3) + QStringLiteral("  ")
                    + FormatFixedWidth(static_cast<float>(-m * 0.5), 5, 3);
            ctx.doc.PrintParagraph(line);
        }
    }
}

}  // namespace testenv
