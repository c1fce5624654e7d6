#include "report/PageFormat.h"

#include "core/ProgramState.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"

namespace report {

namespace {

const QString kProportionalFont = QStringLiteral("ＭＳ Ｐゴシック");
const QString kTableFont = QStringLiteral("ＭＳ ゴシック");
using preview::kBlack;
using preview::kWhite;
constexpr uint32_t kLayoutBrush = preview::kCyan;

struct SectionFormat {
    uint32_t brush;
    int orientation;
    const QString* font;
    double fontSize;
    bool clearFooter;
    bool projectHeader;
    int border;
    bool blackPen;
    int style;
};

}  // namespace

QString ProjectHeaderText(const QString& projectName)
{
    return QStringLiteral("工事名 : ") + TrimBlanks(projectName) + QStringLiteral("||ZELKOVA(for 32bit Windows)");
}

QString PageFooterText(int32_t number)
{
    return QStringLiteral("|-   ") + QString::number(number) + QStringLiteral(" -|");
}

void SetupPageFormat(ReportContext& ctx, const QString& section)
{
    static const SectionFormat cover{kWhite, preview::Portrait, &kProportionalFont, 11, true, false, 0, true, 0};
    static const SectionFormat tables{kWhite, preview::Portrait, &kTableFont, 8, false, true, 3, true, 0};
    static const SectionFormat layout{kLayoutBrush, preview::Landscape, &kTableFont, 8, true, false, 0, false, 1};
    const SectionFormat* f = nullptr;
    if (section == kSectionCover) f = &cover;
    else if (section == kSectionTables || section == kSectionFrame) f = &tables;
    else if (section == kSectionLayout) f = &layout;
    if (!f) return;

    preview::DocumentBuilder& doc = ctx.doc;
    doc.SetBrushColor(f->brush);
    doc.SetOrientation(f->orientation);
    doc.SetFontName(*f->font);
    doc.SetFontSize(f->fontSize);
    doc.SetFontStyleFlags(false, false, false, false);
    if (f->clearFooter) doc.SetFooterText(QString());
    doc.SetHeaderText(f->projectHeader ? ProjectHeaderText(ctx.header.ProjectName) : QString());
    doc.SetPageBorder(f->border);
    if (f->blackPen) doc.SetPenColor(kBlack);
    doc.SetPageStyle(f->style);
}

void SetPageNumberingMode(const QString& mode)
{
    ProgramState& p = Program();
    const bool renumber = p.PageCounter == -1;
    const int32_t shift = int32_t(p.PrintRequest.StartPage) - int32_t(p.PrintRequest.FromPage);
    if (mode == kModeResults) {
        p.PageNumberingOn = true;
        p.PageCounter = renumber ? shift : 0;
    } else if (mode == kModeFrame) {
        p.PageNumberingOn = true;
        p.PageCounter = renumber ? shift + 1 : 1;
    } else if (mode == kModeLayout) {
        p.PageNumberingOn = false;
        p.PageCounter = 0;
    }
}

void OnNewPage(ReportContext& ctx)
{
    ctx.doc.SetPenColor(kBlack);
    ProgramState& p = Program();
    if (p.PageNumberingOn) {
        ctx.doc.SetFooterText(PageFooterText(p.PageCounter));
        ++p.PageCounter;
    }
    PrintTableHeader(ctx);
}

}  // namespace report
