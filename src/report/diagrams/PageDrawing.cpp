#include "report/diagrams/PageDrawing.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/diagrams/DiagramPlacement.h"

namespace report {

namespace {

constexpr float kOverlap = 50;

void DrawRows(preview::DocumentBuilder& doc, std::span<const LineRow> rows, float zoom, bool heavy, bool dots)
{
    for (const LineRow& r : rows) {
        if (r.heavy != heavy) continue;
        const double x1 = r.x1 * zoom, y1 = r.y1 * zoom, x2 = r.x2 * zoom, y2 = r.y2 * zoom;
        doc.DrawLine(x1, y1, x2, y2);
        if (dots) {
            doc.DrawCircle(x1, y1, kEndDotRadius);
            doc.DrawCircle(x2, y2, kEndDotRadius);
        }
    }
}

}  // namespace

void DrawRectangleOnPage(preview::DocumentBuilder& doc, float x1, float y1, float x2, float y2)
{
    doc.SetShapeX1(x1);
    doc.SetShapeY1(y1);
    doc.SetShapeX2(x2);
    doc.SetShapeY2(y2);
    doc.DrawShape(2);
}

void MaskPageMargins(preview::DocumentBuilder& doc)
{
    const double penWidth = doc.PenWidth();
    const uint32_t penColour = doc.PenColor();
    doc.SetPenWidth(0);
    doc.SetPenColor(kWhite);
    doc.SetPageMargins(kSideMargin);
    const float w = static_cast<float>(doc.PageWidth()), h = static_cast<float>(doc.PageHeight());
    DrawRectangleOnPage(doc, -kOverlap, -kOverlap, kSideMargin, h + kOverlap);
    DrawRectangleOnPage(doc, w - kSideMargin, -kOverlap, w + kOverlap, h + kOverlap);
    DrawRectangleOnPage(doc, -kOverlap, -kOverlap, w, kTopMargin);
    DrawRectangleOnPage(doc, -kOverlap, h - kTopMargin, w + kOverlap, h + kOverlap);
    doc.SetCurrentX(kSideMargin);
    doc.SetCurrentY(kSideMargin);
    doc.SetPenWidth(penWidth);
    doc.SetPenColor(penColour);
}

void DrawHeavyLines(preview::DocumentBuilder& doc, std::span<const LineRow> rows, float zoom)
{
    doc.SetBrushColor(kBlack);
    doc.SetPenColor(kBlack);
    doc.SetPenWidth(kHeavyPenWidth);
    DrawRows(doc, rows, zoom, true, true);
    doc.SetBrushColor(kWhite);
}

void DrawLightLines(preview::DocumentBuilder& doc, std::span<const LineRow> rows, float zoom)
{
    doc.SetPenColor(kBlack);
    doc.SetPenWidth(0);
    DrawRows(doc, rows, zoom, false, false);
}

void DrawDiagramLabels(preview::DocumentBuilder& doc, std::span<const LabelRow> rows, float zoom)
{
    doc.SetPenColor(kWhite);
    doc.SetPenWidth(0);
    for (const LabelRow& r : rows) {
        for (const QString* text : {&r.node, &r.member, &r.section}) {
            if (text->trimmed().isEmpty()) continue;
            doc.DrawTextBox(*text, r.x0 * zoom, r.y0 * zoom, r.width * zoom, r.height * zoom, true);
        }
    }
}

void DrawPageTileMap(preview::DocumentBuilder& doc, float cellWidth, float cellHeight, int16_t across, int16_t down,
                     const std::vector<bool>& touched)
{
    const uint32_t brush = doc.BrushColor(), pen = doc.PenColor();
    for (int r = 0; r < down; ++r) {
        for (int c = 0; c < across; ++c) {
            const size_t n = static_cast<size_t>(r) * static_cast<size_t>(across) + static_cast<size_t>(c) + 1;
            const uint32_t colour = n < touched.size() && touched[n] ? kTouchedTile : kUntouchedTile;
            doc.SetPenColor(colour);
            doc.SetBrushColor(colour);
            const float left = kSideMargin + static_cast<float>(c) * cellWidth;
            const float top = kTopMargin + static_cast<float>(r) * cellHeight;
            DrawRectangleOnPage(doc, left, top, left + cellWidth, top + cellHeight);
        }
    }
    doc.SetPenColor(kTileGridLine);
    const float right = kSideMargin + static_cast<float>(across) * cellWidth;
    const float bottom = kTopMargin + static_cast<float>(down) * cellHeight;
    for (int c = 0; c <= across; ++c) {
        const float x = kSideMargin + static_cast<float>(c) * cellWidth;
        doc.DrawLine(x, kTopMargin, x, bottom);
    }
    for (int r = 0; r <= down; ++r) {
        const float y = kTopMargin + static_cast<float>(r) * cellHeight;
        doc.DrawLine(kSideMargin, y, right, y);
    }
    doc.SetBrushColor(brush);
    doc.SetPenColor(pen);
}

}  // namespace report
