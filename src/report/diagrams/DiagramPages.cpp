// The printed diagrams: the frame diagram print and the displacement and
// stress diagrams of the results report. A diagram is laid out on its
// poster (DiagramPoster.h), written as rows of its own pair of work tables,
// one row per segment and tile of its bounding box and one per label in the
// tile of its anchor, all in one transaction with its placement; then the
// rows are read back and every tile that holds a line is printed as a page:
// heavy lines, light lines unless only the frame is wanted, labels, the
// margins masked, the caption.
#include "report/diagrams/FrameDiagramPages.h"
#include "report/diagrams/ResultDiagramPages.h"

#include "platform/Database.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/diagrams/DiagramPoster.h"
#include "report/diagrams/PageDrawing.h"

#include <functional>

namespace report {

namespace {


struct WorkTables {
    const char* lines;
    const char* labels;
    // A label reaching below the printable area is moved up until its top
    // lies this many label heights above the area's lower edge.
    float bottomClearance;
};
const WorkTables kFrameTables{"PreviewRamenBuzaiData", "PreviewRamenValData", 2};
const WorkTables kDisplacementTables{"PreviewHeniDrawData", "PreviewHeniValData", 1};
const WorkTables kStressTables{"PreviewOhzuDrawData", "PreviewOhzuValData", 1};

const QStringList kLineFields = {QStringLiteral("Page"), QStringLiteral("bln種類"), QStringLiteral("X1"),
                                 QStringLiteral("Y1"),   QStringLiteral("X2"),      QStringLiteral("Y2")};
const QStringList kLabelFields = {QStringLiteral("Page"),     QStringLiteral("X0"),       QStringLiteral("Y0"),
                                  QStringLiteral("txtWidth"), QStringLiteral("txtHeight"), QStringLiteral("節点番号"),
                                  QStringLiteral("要素番号"), QStringLiteral("材料番号")};

using Rows = std::vector<std::vector<rt::Variant>>;

rt::Variant S(float v) { return rt::Variant::Single(v); }
// A text that does not apply is left without a value.
rt::Variant T(const QString& v) { return v.isEmpty() ? rt::Variant() : rt::Variant::Text(v); }

// The label rows of a poster in the tile of each anchor, their boxes kept
// inside the printable area of that tile; labels outside the grid are left
// out.
Rows LabelRowsOf(ReportContext& ctx, const DiagramPoster& p, float bottomClearance)
{
    const float s = p.placement.zoom;
    const float tw = p.grid.tileWidth, th = p.grid.tileHeight;
    const float mx = kSideMargin / s, my = kTopMargin / s;
    Rows rows;
    rows.reserve(p.labels.size());
    for (const PosterLabel& label : p.labels) {
        const auto measured = MeasureLabelInTile(ctx.doc, p, label, [s](float twips) { return twips / s; });
        if (!measured) continue;
        const TilePosition& tile = measured->tile;
        const float w = measured->width, h = measured->height;
        const float bx = label.x - static_cast<float>(tile.column - 1) * tw + mx;
        const float by = label.y - static_cast<float>(tile.row - 1) * th + my;
        const LabelBox b = PlaceLabel(label.kind, p.labelOffsets, bx, by, w, h, {mx, my, mx + tw, my + th}, bottomClearance);
        const QString node = label.kind == LabelKind::Node ? label.text : QString();
        const QString member = label.kind == LabelKind::Member ? label.text : QString();
        const QString section = label.kind == LabelKind::Section ? label.text : QString();
        rows.push_back({rt::Variant::Integer(p.TileNumber(tile)), S(b.left), S(b.top), S(w), S(h), T(node), T(member), T(section)});
    }
    return rows;
}

Rows LineRowsOf(const DiagramPoster& p)
{
    const float tw = p.grid.tileWidth, th = p.grid.tileHeight;
    const float mx = kSideMargin / p.placement.zoom, my = kTopMargin / p.placement.zoom;
    Rows rows;
    rows.reserve(p.segments.size() * 2);
    for (const PosterSegment& seg : p.segments) {
        p.ForEachTileUnder(seg, [&](const TilePosition& t) {
            const float sx = mx - static_cast<float>(t.column - 1) * tw;
            const float sy = my - static_cast<float>(t.row - 1) * th;
            rows.push_back({rt::Variant::Integer(p.TileNumber(t)), rt::Variant::Boolean(seg.heavy), S(seg.x1 + sx),
                            S(seg.y1 + sy), S(seg.x2 + sx), S(seg.y2 + sy)});
        });
    }
    return rows;
}

struct TileRows {
    std::vector<std::vector<LineRow>> lines;
    std::vector<std::vector<LabelRow>> labels;
};

// The rows of both tables in the order they were written, by tile.
TileRows ReadBack(dao::Database& db, const WorkTables& tables, int16_t count)
{
    TileRows out;
    out.lines.resize(size_t(count) + 1);
    out.labels.resize(size_t(count) + 1);
    auto inGrid = [count](int16_t page) { return page >= 1 && page <= count; };

    dao::RecordsetPtr rs = db.OpenRecordset(QString::fromUtf8(tables.lines));
    std::vector<int> c;
    for (const QString& f : kLineFields) c.push_back(rs->FieldIndex(f));
    if (!(rs->BOF() && rs->EOF_())) {
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            const int16_t page = rs->Field(c[0]).toInteger();
            if (!inGrid(page)) continue;
            out.lines[size_t(page)].push_back({page, rs->Field(c[1]).toBool(), rs->Field(c[2]).toSingle(),
                                               rs->Field(c[3]).toSingle(), rs->Field(c[4]).toSingle(),
                                               rs->Field(c[5]).toSingle()});
        }
    }
    rs->Close();

    rs = db.OpenRecordset(QString::fromUtf8(tables.labels));
    c.clear();
    for (const QString& f : kLabelFields) c.push_back(rs->FieldIndex(f));
    if (!(rs->BOF() && rs->EOF_())) {
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            const int16_t page = rs->Field(c[0]).toInteger();
            if (!inGrid(page)) continue;
            out.labels[size_t(page)].push_back({page, rs->Field(c[1]).toSingle(), rs->Field(c[2]).toSingle(),
                                                rs->Field(c[3]).toSingle(), rs->Field(c[4]).toSingle(),
                                                rs->Field(c[5]).toStringOrEmpty(), rs->Field(c[6]).toStringOrEmpty(),
                                                rs->Field(c[7]).toStringOrEmpty()});
        }
    }
    rs->Close();
    return out;
}

// One diagram from its layout to its last page; `caption` prints the title
// block of a page, told whether it is the first page of the diagram.
void PrintDiagram(ReportContext& ctx, DiagramKind kind, int16_t caseNo, DiagramExtents box, const WorkTables& tables,
                  const std::function<void(bool)>& caption)
{
    const QString lineTable = QString::fromUtf8(tables.lines), labelTable = QString::fromUtf8(tables.labels);
    dao::WriteTransaction transaction(ctx.db);
    ctx.db.ClearTable(lineTable);
    ctx.db.ClearTable(labelTable);
    // A model without nodes has no diagram.
    if (ctx.geometry.nodes.empty()) {
        transaction.Commit();
        return;
    }
    const DiagramPoster p = LayOutDiagram(ctx, kind, caseNo, box, PrintedDiagramPaper());
    ctx.db.AppendRows(lineTable, kLineFields, LineRowsOf(p));
    ctx.db.AppendRows(labelTable, kLabelFields, LabelRowsOf(ctx, p, tables.bottomClearance));
    transaction.Commit();

    const TileRows rows = ReadBack(ctx.db, tables, p.grid.count);
    preview::DocumentBuilder& doc = ctx.doc;
    const float s = p.placement.zoom;
    bool first = true;
    for (size_t page = 1; page <= size_t(p.grid.count); ++page) {
        if (rows.lines[page].empty()) continue;
        if (!first) doc.NewPage();
        DrawHeavyLines(doc, rows.lines[page], s);
        if (!p.switches.frameOnly) DrawLightLines(doc, rows.lines[page], s);
        DrawDiagramLabels(doc, rows.labels[page], s);
        doc.SetPenColor(kBlack);
        MaskPageMargins(doc);
        caption(first);
        first = false;
    }
}

void PrintResultDiagram(ReportContext& ctx, DiagramKind kind, int16_t caseNo, DiagramExtents box)
{
    const bool displacement = kind == DiagramKind::Displacement;
    const QString title = displacement ? QStringLiteral("4.変位図") : QStringLiteral("5.応力図");
    const QString caseLine = ctx.CombinesCases() ? QStringLiteral("荷重応力の組み合わせ") : LoadCaseCaptionText(caseNo);
    PrintDiagram(ctx, kind, caseNo, box, displacement ? kDisplacementTables : kStressTables, [&](bool first) {
        ctx.doc.PrintParagraph(first ? title : QString());
        ctx.doc.PrintParagraph(QString());
        ctx.doc.PrintParagraph(caseLine);
    });
}

}  // namespace

void PrintFrameDiagram(ReportContext& ctx, DiagramExtents extents)
{
    PrintDiagram(ctx, DiagramKind::Frame, -1, extents, kFrameTables,
                 [&](bool first) { ctx.doc.PrintParagraph(first ? QStringLiteral("ラーメン図") : QString()); });
}

void PrintDisplacementDiagram(ReportContext& ctx, int16_t caseNo, DiagramExtents extents)
{
    PrintResultDiagram(ctx, DiagramKind::Displacement, caseNo, extents);
}

void PrintStressDiagram(ReportContext& ctx, int16_t caseNo, DiagramExtents extents)
{
    PrintResultDiagram(ctx, DiagramKind::Stress, caseNo, extents);
}

}  // namespace report
