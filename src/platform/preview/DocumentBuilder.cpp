#include "platform/preview/DocumentBuilder.h"

#include "platform/preview/DocumentFile.h"
#include "platform/preview/PreviewFonts.h"
#include "platform/preview/Printing.h"

#include <cmath>

namespace preview {

namespace {

// Line ends inside printed text: CR LF, or a lone LF.
QStringList SplitLines(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t.split(u'\n');
}

bool ValidSize(double points) { return std::isfinite(points) && points > 0 && points <= 1000; }

}  // namespace

DocumentBuilder::DocumentBuilder()
{
    font_.name = QStringLiteral("ＭＳ ゴシック");
    font_.size = 10;
    settings_.headerFont.name = QStringLiteral("ＭＳ Ｐゴシック");
    settings_.headerFont.size = 11;
    currentX_ = currentY_ = settings_.margin;
}

DocumentBuilder::~DocumentBuilder() = default;

// ---- document ---------------------------------------------------------------

void DocumentBuilder::StartDocument()
{
    doc_ = Document();
    open_ = true;
    overlayPage_ = -1;
    BeginPage();
    OnDocumentChanged();
}

void DocumentBuilder::EndDocument()
{
    if (!open_) return;
    open_ = false;
    lineOpen_ = false;
    OnDocumentChanged();
}

void DocumentBuilder::DiscardDocument()
{
    doc_ = Document();
    open_ = false;
    lineOpen_ = false;
    overlayPage_ = -1;
    OnDocumentChanged();
}

void DocumentBuilder::NewPage()
{
    if (open_) BeginPage();
}

void DocumentBuilder::BeginPage()
{
    doc_.pages.push_back(Page{settings_, {}});
    linesOnPage_ = 0;
    lineOpen_ = false;
    currentX_ = settings_.margin;
    currentY_ = settings_.margin;
    // A handler whose own printing runs over a page does not start itself again.
    if (onNewPage_ && !inNewPageHandler_) {
        inNewPageHandler_ = true;
        onNewPage_();
        inNewPageHandler_ = false;
    }
}

bool DocumentBuilder::BeginPageOverlay(int page)
{
    if (page < 1 || page > PageCount()) return false;
    overlayPage_ = page - 1;
    return true;
}

void DocumentBuilder::EndPageOverlay()
{
    if (overlayPage_ < 0) return;
    overlayPage_ = -1;
    OnDocumentChanged();
}

bool DocumentBuilder::SaveDocument(const QString& file, QString* error) const
{
    return WriteDocumentFile(doc_, file, error);
}

bool DocumentBuilder::LoadDocument(const QString& file, QString* error)
{
    Document loaded;
    if (!ReadDocumentFile(file, loaded, error)) return false;
    doc_ = std::move(loaded);
    open_ = false;
    lineOpen_ = false;
    overlayPage_ = -1;
    OnDocumentChanged();
    return true;
}

bool DocumentBuilder::PrintPages(int first, int last)
{
    if (first < 1 || first > last || last > PageCount()) return false;
    return CurrentPrintTarget().Print(doc_, first, last, PrinterDevice());
}

QString DocumentBuilder::PrinterDevice() const
{
    return printerChosen_ ? printerDevice_ : CurrentPrintTarget().DefaultPrinterName();
}

// ---- page settings ----------------------------------------------------------

const PageSettings& DocumentBuilder::PageInUse() const
{
    if (overlayPage_ >= 0) return doc_.pages[overlayPage_].settings;
    if (open_) return doc_.pages.back().settings;
    return settings_;
}

bool DocumentBuilder::CurrentPageEmpty() const
{
    return open_ && doc_.pages.back().ops.empty() && linesOnPage_ == 0 && !lineOpen_;
}

void DocumentBuilder::ChangeSettings(const std::function<void(PageSettings&)>& change)
{
    change(settings_);
    if (CurrentPageEmpty()) {
        PageSettings& page = doc_.pages.back().settings;
        const double oldMargin = page.margin;
        change(page);
        // A page not yet begun starts at its own margins.
        if (currentX_ == oldMargin) currentX_ = page.margin;
        if (currentY_ == oldMargin) currentY_ = page.margin;
    }
}

void DocumentBuilder::SetOrientation(int orientation)
{
    if (orientation != Portrait && orientation != Landscape) return;
    ChangeSettings([&](PageSettings& s) { s.orientation = orientation; });
}

void DocumentBuilder::SetPageMargins(double twips)
{
    if (!(std::isfinite(twips) && twips >= 0 && twips < A4ShortSide / 2)) return;
    ChangeSettings([&](PageSettings& s) { s.margin = twips; });
}

void DocumentBuilder::SetHeaderText(const QString& text)
{
    ChangeSettings([&](PageSettings& s) { s.headerText = text; });
}

void DocumentBuilder::SetFooterText(const QString& text)
{
    ChangeSettings([&](PageSettings& s) { s.footerText = text; });
}

void DocumentBuilder::SetHeaderFontName(const QString& name)
{
    ChangeSettings([&](PageSettings& s) { s.headerFont.name = name; });
}

void DocumentBuilder::SetHeaderFontSize(double points)
{
    if (!ValidSize(points)) return;
    ChangeSettings([&](PageSettings& s) { s.headerFont.size = points; });
}

void DocumentBuilder::SetPageBorder(int border)
{
    ChangeSettings([&](PageSettings& s) { s.border = border; });
}

void DocumentBuilder::SetPageStyle(int style)
{
    ChangeSettings([&](PageSettings& s) { s.style = style; });
}

// ---- text -------------------------------------------------------------------

// At the start of a line: a line that does not fit above the bottom margin
// goes to a new page, unless this page holds nothing yet.
void DocumentBuilder::BeginLine()
{
    if (lineOpen_) return;
    lineOpen_ = true;
    if (!open_ || overlayPage_ >= 0) return;
    const PageSettings& s = doc_.pages.back().settings;
    const bool pageHoldsSomething = !doc_.pages.back().ops.empty() || linesOnPage_ > 0;
    if (pageHoldsSomething && currentY_ + LineHeight(font_) > s.Height() - s.margin) {
        const double x = currentX_;
        BeginPage();
        // The handler may have printed; the broken line starts where it would have.
        if (lineOpen_) EndLine();
        lineOpen_ = true;
        currentX_ = x;
    }
}

void DocumentBuilder::EndLine()
{
    currentY_ += LineHeight(font_);
    currentX_ = PageInUse().margin;
    lineOpen_ = false;
    ++linesOnPage_;
}

void DocumentBuilder::PutText(const QString& text)
{
    if (text.isEmpty()) return;
    const double width = TextWidth(font_, text);
    if (!DrawingPage()) {
        currentX_ += width;
        return;
    }
    DrawOp op;
    op.kind = OpKind::Text;
    op.x1 = currentX_;
    op.y1 = currentY_;
    op.x2 = width;
    op.font = doc_.FontIndex(font_);
    op.text = text;
    Add(std::move(op));
    currentX_ += width;
}

void DocumentBuilder::PrintParagraph(const QString& text)
{
    if (lineOpen_) EndLine();
    currentX_ = PageInUse().margin;
    const QStringList lines = SplitLines(text);
    for (const QString& line : lines) {
        BeginLine();
        PutText(line);
        EndLine();
    }
}

void DocumentBuilder::PrintText(const QString& text)
{
    const QStringList lines = SplitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        // A text ending in a line end leaves the next line unbegun.
        if (last && lines[i].isEmpty()) break;
        BeginLine();
        PutText(lines[i]);
        if (!last) EndLine();
    }
}

void DocumentBuilder::SetFontSize(double points)
{
    if (ValidSize(points)) font_.size = points;
}

void DocumentBuilder::SetFontStyleFlags(bool bold, bool italic, bool underline, bool strikeout)
{
    font_.bold = bold;
    font_.italic = italic;
    font_.underline = underline;
    font_.strikeout = strikeout;
}

void DocumentBuilder::MeasureText(const QString& text)
{
    const QStringList lines = SplitLines(text);
    double width = 0;
    for (const QString& line : lines) width = std::max(width, TextWidth(font_, line));
    measuredWidth_ = width;
    measuredHeight_ = LineHeight(font_) * static_cast<double>(lines.size());
}

// ---- drawing ----------------------------------------------------------------

Page* DocumentBuilder::DrawingPage()
{
    if (overlayPage_ >= 0) return &doc_.pages[overlayPage_];
    if (open_) return &doc_.pages.back();
    return nullptr;
}

// Operations at positions that are not numbers are dropped: they could not
// be drawn, and a saved document must read back.
void DocumentBuilder::Add(DrawOp op)
{
    Page* page = DrawingPage();
    if (!page) return;
    for (double v : {op.x1, op.y1, op.x2, op.y2})
        if (!std::isfinite(v)) return;
    page->ops.push_back(std::move(op));
}

void DocumentBuilder::SetPenWidth(double twips)
{
    if (std::isfinite(twips) && twips >= 0) pen_.width = twips;
}

// A shape between two points in the current pen and brush.
DrawOp DocumentBuilder::ShapeOp(OpKind kind, double x1, double y1, double x2, double y2) const
{
    DrawOp op;
    op.kind = kind;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.pen = pen_;
    op.brush = brush_;
    return op;
}

void DocumentBuilder::DrawShape(int shape)
{
    if (shape == 1) DrawLine(shapeX1_, shapeY1_, shapeX2_, shapeY2_);
    if (shape == 2) Add(ShapeOp(OpKind::Rectangle, shapeX1_, shapeY1_, shapeX2_, shapeY2_));
}

void DocumentBuilder::DrawLine(double x1, double y1, double x2, double y2)
{
    DrawOp op = ShapeOp(OpKind::Line, x1, y1, x2, y2);
    op.brush = 0;   // a line has no fill
    Add(std::move(op));
}

void DocumentBuilder::DrawCircle(double x, double y, double radius)
{
    Add(ShapeOp(OpKind::Circle, x, y, std::abs(radius), 0));
}

void DocumentBuilder::DrawTextBox(const QString& text, double left, double top, double width, double height,
                                  bool filled)
{
    if (!DrawingPage()) return;
    DrawOp op = ShapeOp(OpKind::TextBox, left, top, left + width, top + height);
    op.filled = filled;
    op.font = doc_.FontIndex(font_);
    op.text = text;
    Add(std::move(op));
}

}  // namespace preview
