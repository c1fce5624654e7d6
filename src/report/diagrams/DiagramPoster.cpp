#include "report/diagrams/DiagramPoster.h"

#include "platform/Database.h"
#include "platform/Runtime.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/diagrams/MomentCurves.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

bool Checked(const ReportContext& ctx, const char* box) { return ctx.BoxText(QString::fromUtf8(box)).trimmed() == u"1"; }

// Fix(v) + 1 of a quotient, held inside a range where it cannot overflow:
// such a tile lies outside any grid anyway.
long long TileIndex(float quotient)
{
    if (std::isnan(quotient)) Fail();
    const double whole = std::clamp(std::trunc(static_cast<double>(quotient)), -1e12, 1e12);
    return static_cast<long long>(whole) + 1;
}

}  // namespace

DiagramSwitches ReadDiagramSwitches(const ReportContext& ctx)
{
    return {Checked(ctx, "chkDrawJnt"), Checked(ctx, "chkDrawEle"), Checked(ctx, "chkDrawMat"), Checked(ctx, "chkDrawCoord"),
            Checked(ctx, "chkDrawEleOnly")};
}

std::array<float, 3> LabelOffsets(const DiagramSwitches& s)
{
    if (s.sectionNumbers && !s.memberNumbers) return {-0.5f, -0.5f, 0.5f};
    return {-0.5f, 0.5f, 1.5f};
}

LabelBox PlaceLabel(LabelKind kind, const std::array<float, 3>& offsets, float x, float y, float w, float h,
                    const AreaEdges& area, float bottomClearance)
{
    float left, top, bottom;
    if (kind == LabelKind::Node) {
        left = x + 0.5f * w;
        top = y - 0.5f * h;
        bottom = y + 0.5f * h;
    } else {
        const size_t upper = kind == LabelKind::Member ? 0 : 1;
        left = x - 0.5f * w;
        top = y + offsets[upper] * h;
        bottom = y + offsets[upper + 1] * h;
    }
    const float right = left + w;
    if (area.left > left) left = area.left;
    if (area.right < right) left = area.right - w;
    if (area.top > top) top = area.top;
    if (area.bottom < bottom) top = area.bottom - bottomClearance * h;
    return {left, top, w, h};
}

TilePosition DiagramPoster::TileOf(float x, float y) const
{
    return {TileIndex(x / grid.tileWidth), TileIndex(y / grid.tileHeight)};
}

bool DiagramPoster::InGrid(const TilePosition& t) const
{
    return t.column >= 1 && t.column <= grid.across && t.row >= 1 && t.row <= grid.down;
}

int16_t DiagramPoster::TileNumber(const TilePosition& t) const
{
    return static_cast<int16_t>((t.row - 1) * grid.across + t.column);
}

void DiagramPoster::ForEachTileUnder(const PosterSegment& s, const std::function<void(const TilePosition&)>& visit) const
{
    const TilePosition a = TileOf(s.x1, s.y1);
    const TilePosition b = TileOf(s.x2, s.y2);
    const long long c1 = std::max<long long>(std::min(a.column, b.column), 1);
    const long long c2 = std::min<long long>(std::max(a.column, b.column), grid.across);
    const long long r1 = std::max<long long>(std::min(a.row, b.row), 1);
    const long long r2 = std::min<long long>(std::max(a.row, b.row), grid.down);
    for (long long r = r1; r <= r2; ++r)
        for (long long c = c1; c <= c2; ++c) visit({c, r});
}

std::optional<LabelInTile> MeasureLabelInTile(preview::DocumentBuilder& doc, const DiagramPoster& poster,
                                              const PosterLabel& label, const std::function<float(float)>& fromTwips)
{
    const TilePosition tile = poster.TileOf(label.x, label.y);
    if (!poster.InGrid(tile)) return std::nullopt;
    doc.MeasureText(QString(label.text.size(), u' '));
    return LabelInTile{tile, fromTwips(static_cast<float>(doc.MeasuredTextWidth())),
                       fromTwips(static_cast<float>(doc.MeasuredTextHeight()))};
}

DiagramPoster LayOutDiagram(ReportContext& ctx, DiagramKind kind, int16_t caseNo, DiagramExtents frameBox,
                            const PaperSize& paper)
{
    const DiagramGeometry& g = ctx.geometry;
    DiagramPoster p;
    p.kind = kind;
    p.switches = ReadDiagramSwitches(ctx);
    p.labelOffsets = LabelOffsets(p.switches);

    // The result geometry and the box it needs.
    std::vector<ProjectedNode> displaced;
    std::vector<MomentCurve> curves;
    p.box = frameBox;
    if (kind == DiagramKind::Frame) {
        p.key = kFramePlacement;
    } else if (kind == DiagramKind::Displacement) {
        p.key = {true, caseNo};
        displaced = ProjectDisplacedNodes(ctx, caseNo);
        ComputeDiagramExtents(g, p.box, &displaced, nullptr);
    } else {
        p.key = {false, caseNo};
        curves = BuildMomentDiagramPoints(ctx, caseNo);
        ComputeDiagramExtents(g, p.box, nullptr, &curves);
    }
    p.width = p.box.maxX - p.box.minX;
    p.height = p.box.maxY - p.box.minY;

    // Placement and tiles.
    p.placement = LoadDiagramPlacement(ctx, p.key, p.width, p.height, paper);
    float tileWidth = 0, tileHeight = 0;
    ComputeFitZoom(tileWidth, tileHeight, p.placement.zoom, paper);
    p.grid = CountTilePages(p.width, p.height, tileWidth, tileHeight);
    SaveDiagramPlacement(ctx, p.placement, p.key, p.grid.across * tileWidth, p.grid.down * tileHeight, p.width, p.height);

    // Origins of the diagram and of the axis symbol in plane units.
    const float s = p.placement.zoom;
    const float ox = p.placement.offsetX / s, oy = p.placement.offsetY / s;
    const float ax = static_cast<float>(rt::Val(ctx.BoxText(QStringLiteral("txtCoordX")))) * diagram::kTwipsPerMm / s;
    const float ay = static_cast<float>(rt::Val(ctx.BoxText(QStringLiteral("txtCoordY")))) * diagram::kTwipsPerMm / s;
    const float minX = p.box.minX, minY = p.box.minY;
    struct Point {
        float x, y;
    };
    auto frame = [&](float x, float y) { return Point{x - minX + ox, y - minY + oy}; };
    auto node = [&](size_t row) { return frame(g.nodes[row].x, g.nodes[row].y); };
    auto axisTip = [&](size_t k) { return Point{g.axis[k].x + ax, g.axis[k].y + ay}; };
    auto segment = [&](bool heavy, Point a, Point b, bool axis = false) {
        p.segments.push_back({heavy, axis, a.x, a.y, b.x, b.y});
    };
    auto endRows = [&](const DiagramMember& m) {
        return std::pair<size_t, size_t>(size_t(g.NodeRowOf(m.iNode)), size_t(g.NodeRowOf(m.jNode)));
    };

    for (const DiagramMember& m : g.members) {
        if (m.no == 0) continue;
        const auto [i, j] = endRows(m);
        segment(true, node(i), node(j));
    }
    if (p.switches.axisSymbol)
        for (size_t k = 1; k <= 3; ++k) segment(false, axisTip(0), axisTip(k), true);
    if (!p.switches.frameOnly && kind == DiagramKind::Displacement) {
        for (const DiagramMember& m : g.members) {
            if (m.no == 0) continue;
            const auto [i, j] = endRows(m);
            segment(false, frame(displaced[i].x, displaced[i].y), frame(displaced[j].x, displaced[j].y));
        }
    }
    if (!p.switches.frameOnly && kind == DiagramKind::Stress) {
        for (size_t u = 0; u < curves.size(); ++u) {
            const MomentCurve& c = curves[u];
            if (c.no == 0) continue;
            const auto [i, j] = endRows(g.members[size_t(g.memberRow[size_t(c.no)])]);
            auto mz = [&](size_t k) { return frame(c.mzX[k], c.mzY[k]); };
            auto my = [&](size_t k) { return frame(c.myX[k], c.myY[k]); };
            segment(false, node(i), mz(0));
            segment(false, node(i), my(0));
            segment(false, node(j), mz(6));
            segment(false, node(j), my(6));
            for (size_t k = 0; k < 6; ++k) {
                segment(false, mz(k), mz(k + 1));
                segment(false, my(k), my(k + 1));
            }
        }
    }

    auto label = [&](LabelKind labelKind, Point at, const QString& text, bool axis = false) {
        p.labels.push_back({labelKind, at.x, at.y, text, axis});
    };
    if (p.switches.nodeNumbers)
        for (size_t row = 0; row < g.nodes.size(); ++row) label(LabelKind::Node, node(row), QString::number(g.nodes[row].no));
    if (p.switches.axisSymbol) {
        const bool upper = kind == DiagramKind::Frame;
        const char* letters[] = {"", upper ? "X" : "x", upper ? "Y" : "y", upper ? "Z" : "z"};
        for (size_t k = 1; k <= 3; ++k) label(LabelKind::Node, axisTip(k), QString::fromLatin1(letters[k]), true);
    }
    for (const DiagramMember& m : g.members) {
        if (m.no == 0) continue;
        const auto [i, j] = endRows(m);
        const Point mid{(g.nodes[i].x + g.nodes[j].x) / 2, (g.nodes[i].y + g.nodes[j].y) / 2};
        const Point at = frame(mid.x, mid.y);
        if (p.switches.memberNumbers) label(LabelKind::Member, at, QString::number(m.no));
        if (p.switches.sectionNumbers) label(LabelKind::Section, at, u'[' + QString::number(m.section) + u']');
    }
    return p;
}

}  // namespace report
