// Builds a paged document without any window: the report's table and
// diagram builders and the frame diagram print into it, and the preview
// widget shows it. Text flows down the page in lines; a line that no longer
// fits begins a new page by itself. Every new page (the first one at
// StartDocument, each NewPage and each automatic break) calls the new-page
// handler before anything is put on it, and the handler may print on it.
//
// Page settings (orientation, margins, header, footer, header font, border,
// style) made while the current page is still empty apply to it; otherwise
// they apply from the next page on. A page break inside the new-page
// handler's own printing begins the page without calling it again.
#pragma once

#include "platform/preview/PreviewDocument.h"

#include <QString>
#include <functional>

namespace preview {

class DocumentBuilder {
public:
    DocumentBuilder();
    virtual ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;

    // ---- document ---------------------------------------------------------
    // Drops any document and begins a new one with its first page.
    void StartDocument();
    // Finishes the document; drawing after it goes nowhere.
    void EndDocument();
    // Drops the document: no pages remain.
    void DiscardDocument();
    // Ends the current page and begins the next one (also on an empty page).
    void NewPage();
    int PageCount() const { return static_cast<int>(doc_.pages.size()); }
    bool IsDocumentOpen() const { return open_; }
    const Document& CurrentDocument() const { return doc_; }

    // Called for every new page before anything is put on it.
    void SetNewPageHandler(std::function<void()> handler) { onNewPage_ = std::move(handler); }

    // Appends drawing to finished page `page` (from 1) until EndPageOverlay;
    // false, and nothing changes, for a page that does not exist.
    bool BeginPageOverlay(int page);
    void EndPageOverlay();

    // Saves the document in the preview document format; false with the
    // reason in `error` when it cannot.
    bool SaveDocument(const QString& file, QString* error = nullptr) const;
    // Replaces the document by the one in `file`. The file is checked whole
    // first; on any fault the current document stays and false is returned.
    bool LoadDocument(const QString& file, QString* error = nullptr);

    // Prints pages `first` to `last` (from 1) on PrinterDevice in one job;
    // false when the range is not in the document or printing failed.
    bool PrintPages(int first, int last);
    // The printer to print on; the system's default until one is set.
    QString PrinterDevice() const;
    void SetPrinterDevice(const QString& name) { printerDevice_ = name; printerChosen_ = true; }
    // Kept for the caller; printing does not depend on it.
    int PrintOption() const { return printOption_; }
    void SetPrintOption(int option) { printOption_ = option; }

    // ---- page settings ----------------------------------------------------
    int Orientation() const { return settings_.orientation; }
    void SetOrientation(int orientation);   // Portrait or Landscape; others ignored
    // Paper size of the page being drawn on (of the next page outside a document).
    double PageWidth() const { return PageInUse().Width(); }
    double PageHeight() const { return PageInUse().Height(); }
    double PageMargins() const { return settings_.margin; }
    void SetPageMargins(double twips);       // all four sides
    QString HeaderText() const { return settings_.headerText; }
    void SetHeaderText(const QString& text);
    QString FooterText() const { return settings_.footerText; }
    void SetFooterText(const QString& text);
    QString HeaderFontName() const { return settings_.headerFont.name; }
    void SetHeaderFontName(const QString& name);
    double HeaderFontSize() const { return settings_.headerFont.size; }
    void SetHeaderFontSize(double points);
    int PageBorder() const { return settings_.border; }
    void SetPageBorder(int border);
    int PageStyle() const { return settings_.style; }
    void SetPageStyle(int style);

    // ---- text -------------------------------------------------------------
    // Prints one line from the left margin and ends it; a line left open by
    // PrintText is ended first.
    void PrintParagraph(const QString& text);
    // Prints at CurrentX without ending the line; a CR LF inside ends it.
    void PrintText(const QString& text);
    double CurrentX() const { return currentX_; }
    void SetCurrentX(double x) { currentX_ = x; }
    // Top of the current line.
    double CurrentY() const { return currentY_; }
    void SetCurrentY(double y) { currentY_ = y; }
    QString FontName() const { return font_.name; }
    void SetFontName(const QString& name) { font_.name = name; }
    double FontSize() const { return font_.size; }
    void SetFontSize(double points);
    void SetFontStyleFlags(bool bold, bool italic, bool underline, bool strikeout);
    const PrintFont& Font() const { return font_; }
    // Measures text in the current font (widest line, lines x line height).
    void MeasureText(const QString& text);
    double MeasuredTextWidth() const { return measuredWidth_; }
    double MeasuredTextHeight() const { return measuredHeight_; }

    // ---- drawing ----------------------------------------------------------
    uint32_t PenColor() const { return pen_.colour; }
    void SetPenColor(uint32_t colour) { pen_.colour = colour; }
    double PenWidth() const { return pen_.width; }
    void SetPenWidth(double twips);
    uint32_t BrushColor() const { return brush_; }
    void SetBrushColor(uint32_t colour) { brush_ = colour; }
    double ShapeX1() const { return shapeX1_; }
    double ShapeY1() const { return shapeY1_; }
    double ShapeX2() const { return shapeX2_; }
    double ShapeY2() const { return shapeY2_; }
    void SetShapeX1(double v) { shapeX1_ = v; }
    void SetShapeY1(double v) { shapeY1_ = v; }
    void SetShapeX2(double v) { shapeX2_ = v; }
    void SetShapeY2(double v) { shapeY2_ = v; }
    // Draws the shape between (ShapeX1, ShapeY1) and (ShapeX2, ShapeY2):
    // 1 a line, 2 a rectangle outlined with the pen and filled with the brush.
    void DrawShape(int shape);
    void DrawLine(double x1, double y1, double x2, double y2);
    // A circle outlined with the pen and filled with the brush.
    void DrawCircle(double x, double y, double radius);
    // Text centred in a box outlined with the pen, filled with the brush
    // when `filled`.
    void DrawTextBox(const QString& text, double left, double top, double width, double height,
                     bool filled = true);

protected:
    // Called when the document was started, finished, dropped, replaced or
    // overlaid: a view shows it again.
    virtual void OnDocumentChanged() {}

private:
    const PageSettings& PageInUse() const;
    Page* DrawingPage();
    bool CurrentPageEmpty() const;
    void ChangeSettings(const std::function<void(PageSettings&)>& change);
    void BeginPage();
    void BeginLine();
    void EndLine();
    void PutText(const QString& text);
    DrawOp ShapeOp(OpKind kind, double x1, double y1, double x2, double y2) const;
    void Add(DrawOp op);

    Document doc_;
    bool open_ = false;
    int overlayPage_ = -1;          // index of the page being overlaid
    int linesOnPage_ = 0;           // lines ended on the current page
    bool lineOpen_ = false;         // text printed on the current line, not yet ended
    bool inNewPageHandler_ = false;
    std::function<void()> onNewPage_;

    PageSettings settings_;
    PrintFont font_;
    Pen pen_;
    uint32_t brush_ = kWhite;
    double currentX_ = 0, currentY_ = 0;
    double measuredWidth_ = 0, measuredHeight_ = 0;
    double shapeX1_ = 0, shapeY1_ = 0, shapeX2_ = 0, shapeY2_ = 0;

    QString printerDevice_;
    bool printerChosen_ = false;
    int printOption_ = 0;
};

}  // namespace preview
