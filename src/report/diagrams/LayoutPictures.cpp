#include "report/diagrams/LayoutPictures.h"

#include "platform/Runtime.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/diagrams/DiagramPoster.h"
#include "report/diagrams/PageDrawing.h"

#include <algorithm>

namespace report {

namespace {

void ShowDiagramPlacement(ReportContext& ctx, const DiagramPlacement& placement)
{
    const QString whole = QStringLiteral("0");
    ctx.SetBoxText(QStringLiteral("txtzoom"), rt::Format(placement.zoom / ZoomBase(ctx.zoomBaseUnit), whole));
    ctx.SetBoxText(QStringLiteral("txtX"), rt::Format(placement.offsetX / diagram::kTwipsPerMm, whole));
    ctx.SetBoxText(QStringLiteral("txtY"), rt::Format(placement.offsetY / diagram::kTwipsPerMm, whole));
}

void DrawLayoutPicture(ReportContext& ctx, DiagramKind kind, int16_t caseNo, DiagramExtents box)
{
    if (ctx.geometry.nodes.empty()) return;
    const PaperSize paper = PrintedDiagramPaper();
    dao::WriteTransaction transaction(ctx.db);
    const DiagramPoster p = LayOutDiagram(ctx, kind, caseNo, box, paper);
    transaction.Commit();
    ShowDiagramPlacement(ctx, p.placement);

    // The reduction that brings the grid of printed tiles into the
    // printable area of this page.
    preview::DocumentBuilder& doc = ctx.doc;
    const float tileWidth = paper.width - 2 * kSideMargin, tileHeight = paper.height - 2 * kTopMargin;
    const float areaWidth = static_cast<float>(doc.PageWidth()) - 2 * kSideMargin;
    const float areaHeight = static_cast<float>(doc.PageHeight()) - 2 * kTopMargin;
    const float reduction = std::min(areaWidth / (static_cast<float>(p.grid.across) * tileWidth),
                                     areaHeight / (static_cast<float>(p.grid.down) * tileHeight));
    const float scale = p.placement.zoom * reduction;
    const float cellWidth = tileWidth * reduction, cellHeight = tileHeight * reduction;
    auto pageX = [&](float x) { return x * scale + kSideMargin; };
    auto pageY = [&](float y) { return y * scale + kTopMargin; };

    // The tiles that will print: those under a segment.
    std::vector<bool> touched(size_t(p.grid.count) + 1, false);
    for (const PosterSegment& s : p.segments)
        p.ForEachTileUnder(s, [&](const TilePosition& t) { touched[size_t(p.TileNumber(t))] = true; });
    doc.SetPenWidth(0);
    DrawPageTileMap(doc, cellWidth, cellHeight, p.grid.across, p.grid.down, touched);

    auto drawSegments = [&](auto wanted) {
        for (const PosterSegment& s : p.segments)
            if (wanted(s)) doc.DrawLine(pageX(s.x1), pageY(s.y1), pageX(s.x2), pageY(s.y2));
    };
    doc.SetPenColor(kBlack);
    drawSegments([](const PosterSegment& s) { return s.heavy; });
    if (!p.switches.frameOnly) {
        doc.SetPenColor(kBlue);
        drawSegments([](const PosterSegment& s) { return !s.heavy && !s.axis; });
    }

    // A box where each node and member label will print; the axis symbol
    // shows as its lines only.
    doc.SetPenColor(kRed);
    for (const PosterLabel& label : p.labels) {
        if (label.axis) continue;
        const auto measured = MeasureLabelInTile(doc, p, label, [reduction](float twips) { return twips * reduction; });
        if (!measured) continue;
        const TilePosition& tile = measured->tile;
        const float w = measured->width, h = measured->height;
        const float cellLeft = static_cast<float>(tile.column - 1) * cellWidth + kSideMargin;
        const float cellTop = static_cast<float>(tile.row - 1) * cellHeight + kTopMargin;
        const AreaEdges cell{cellLeft, cellTop, static_cast<float>(tile.column) * cellWidth + kSideMargin,
                             static_cast<float>(tile.row) * cellHeight + kTopMargin};
        const LabelBox b = PlaceLabel(label.kind, p.labelOffsets, pageX(label.x), pageY(label.y), w, h, cell, 1);
        doc.DrawTextBox(QString(label.text.size(), u' '), b.left, b.top, w, h, true);
    }

    if (p.switches.axisSymbol) {
        doc.SetPenColor(kBlue);
        drawSegments([](const PosterSegment& s) { return s.axis; });
    }
}

}  // namespace

void DrawFrameLayoutView(ReportContext& ctx, DiagramExtents extents)
{
    DrawLayoutPicture(ctx, DiagramKind::Frame, -1, extents);
}

void ShowDisplacementDiagramLayout(ReportContext& ctx, int16_t caseNo, DiagramExtents extents)
{
    DrawLayoutPicture(ctx, DiagramKind::Displacement, caseNo, extents);
}

void ShowStressDiagramLayout(ReportContext& ctx, int16_t caseNo, DiagramExtents extents)
{
    DrawLayoutPicture(ctx, DiagramKind::Stress, caseNo, extents);
}

}  // namespace report
