#include "report/FrontCover.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"

namespace report {

namespace {

const QString kFrameLine =
    QStringLiteral("                      *----*----*----*----*----*----*----*----*----*----*----*----*");
const QString kLabelIndent = QString(36, u' ');
const QString kLineEnd = QStringLiteral("\r\n");

void EmptyLines(preview::DocumentBuilder& doc, int count)
{
    for (int i = 0; i < count; ++i) doc.PrintParagraph(QString());
}

}  // namespace

void PrintFrontCover(ReportContext& ctx)
{
    preview::DocumentBuilder& doc = ctx.doc;
    EmptyLines(doc, 17);
    doc.PrintParagraph(kFrameLine);
    EmptyLines(doc, 2);
    doc.PrintParagraph(QStringLiteral("                                立体フレームの応力解析    (STIFFNEES MATRIX METHOD)"));
    EmptyLines(doc, 2);

    // The colons of the later lines stand under the colon of the project
    // line, whatever the widths of the labels in the proportional font.
    doc.PrintText(kLabelIndent + QStringLiteral("工事名"));
    const double colonX = doc.CurrentX();
    doc.PrintText(QStringLiteral(" ：") + TrimBlanks(ctx.header.ProjectName) + kLineEnd);
    EmptyLines(doc, 1);
    const struct {
        QString label;
        QString value;
    } optional[] = {
        {QStringLiteral("設\u3000計"), TrimBlanks(ctx.header.Designer)},
        {QStringLiteral("備\u3000考"), TrimBlanks(ctx.header.Remarks)},
    };
    for (const auto& line : optional) {
        if (line.value.isEmpty()) continue;
        doc.PrintText(kLabelIndent + line.label);
        doc.SetCurrentX(colonX);
        doc.PrintText(QStringLiteral(" ：") + line.value + kLineEnd);
        EmptyLines(doc, 1);
    }
    EmptyLines(doc, 1);
    doc.PrintParagraph(QStringLiteral("                               ZELKOVA （for 32bit Windows）"));
    EmptyLines(doc, 3);
    doc.PrintParagraph(kFrameLine);
}

}  // namespace report
