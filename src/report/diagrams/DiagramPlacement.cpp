#include "report/diagrams/DiagramPlacement.h"

#include "platform/Database.h"
#include "platform/preview/PreviewDocument.h"
#include "report/ReportContext.h"

#include <cmath>

namespace report {

namespace {

const QString kPlacementTable = QStringLiteral("PreviewMentPoint");
constexpr float kSmallestZoom = 0.00001f;
constexpr double kLargestCount = 32767;

}  // namespace

struct PlacementTable::Impl {
    dao::RecordsetPtr rs;
    int kind, caseNo, xx, yy, zoom;

    // Stands on the key's row; false when there is none.
    bool Seek(const PlacementKey& key)
    {
        if (rs->BOF() && rs->EOF_()) return false;
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            if ((rs->Field(kind).toInteger() != 0) == key.displacement && rs->Field(caseNo).toInteger() == key.caseNo)
                return true;
        }
        return false;
    }
    void Write(const PlacementRow& row)
    {
        rs->SetField(kind, rt::Variant::Boolean(row.key.displacement));
        rs->SetField(caseNo, rt::Variant::Integer(row.key.caseNo));
        rs->SetField(xx, rt::Variant::Single(row.xx));
        rs->SetField(yy, rt::Variant::Single(row.yy));
        rs->SetField(zoom, rt::Variant::Single(row.zoom));
        rs->Update();
    }
};

PlacementTable::PlacementTable(dao::Database& db) : impl_(std::make_unique<Impl>())
{
    impl_->rs = db.OpenRecordset(kPlacementTable);
    impl_->kind = impl_->rs->FieldIndex(QStringLiteral("bln種類"));
    impl_->caseNo = impl_->rs->FieldIndex(QStringLiteral("Case"));
    impl_->xx = impl_->rs->FieldIndex(QStringLiteral("XX"));
    impl_->yy = impl_->rs->FieldIndex(QStringLiteral("YY"));
    impl_->zoom = impl_->rs->FieldIndex(QStringLiteral("zoom"));
}

PlacementTable::~PlacementTable()
{
    try {
        if (impl_->rs) impl_->rs->Close();
    } catch (...) {
    }
}

std::optional<PlacementRow> PlacementTable::Find(const PlacementKey& key)
{
    if (!impl_->Seek(key)) return std::nullopt;
    const dao::RecordsetPtr& rs = impl_->rs;
    return PlacementRow{key, rs->Field(impl_->xx).toSingle(), rs->Field(impl_->yy).toSingle(),
                        rs->Field(impl_->zoom).toSingle()};
}

void PlacementTable::Add(const PlacementRow& row)
{
    impl_->rs->AddNew();
    impl_->Write(row);
}

bool PlacementTable::Update(const PlacementRow& row)
{
    if (!impl_->Seek(row.key)) return false;
    impl_->rs->Edit();
    impl_->Write(row);
    return true;
}

PaperSize PrintedDiagramPaper()
{
    return {static_cast<float>(preview::A4ShortSide), static_cast<float>(preview::A4LongSide)};
}

float ZoomBase(int32_t zoomBaseUnit) { return zoomBaseUnit == 0 ? 1.0f : static_cast<float>(zoomBaseUnit); }

DiagramPlacement LoadDiagramPlacement(ReportContext& ctx, const PlacementKey& key, float width, float height,
                                      const PaperSize& paper)
{
    PlacementTable table(ctx.db);
    const std::optional<PlacementRow> row = table.Find(key);
    float offsetX = kDefaultOffsetMm, offsetY = kDefaultOffsetMm, relative = -1;
    if (row) {
        offsetX = row->xx;
        offsetY = row->yy;
        relative = row->zoom;
    }
    const float base = ZoomBase(ctx.zoomBaseUnit);
    if (!(relative > 0)) {
        // Fitted to one page with the offsets as margins on both sides; an
        // offset still to be centred counts as the default margin.
        const float marginX = offsetX == kCentreMarker ? kDefaultOffsetMm : offsetX;
        const float marginY = offsetY == kCentreMarker ? kDefaultOffsetMm : offsetY;
        const float fitX = (paper.width - 2 * (marginX * diagram::kTwipsPerMm + kSideMargin)) / width;
        const float fitY = (paper.height - 2 * (marginY * diagram::kTwipsPerMm + kTopMargin)) / height;
        float fit;
        if (width == 0 && height == 0) Fail();
        if (width == 0) fit = fitY;
        else if (height == 0) fit = fitX;
        else fit = fitY < fitX ? fitY : fitX;
        relative = fit / base;
    }
    if (!std::isfinite(relative)) Fail();
    if (relative < kSmallestZoom) relative = 1;
    if (!row) table.Add({key, kCentreMarker, kCentreMarker, relative});
    const DiagramPlacement placement{offsetX * diagram::kTwipsPerMm, offsetY * diagram::kTwipsPerMm, relative * base};
    if (!std::isfinite(placement.zoom) || !std::isfinite(placement.offsetX) || !std::isfinite(placement.offsetY)) Fail();
    return placement;
}

void ComputeFitZoom(float& tileWidth, float& tileHeight, float zoom, const PaperSize& paper)
{
    if (!(zoom > 0)) Fail();
    tileWidth = (paper.width - 2 * kSideMargin) / zoom;
    tileHeight = (paper.height - 2 * kTopMargin) / zoom;
}

TileGrid CountTilePages(float width, float height, float tileWidth, float tileHeight)
{
    const double across = std::trunc(static_cast<double>(width / tileWidth)) + 1;
    const double down = std::trunc(static_cast<double>(height / tileHeight)) + 1;
    if (!(across >= 1 && across <= kLargestCount && down >= 1 && down <= kLargestCount && across * down <= kLargestCount))
        Fail();
    TileGrid grid;
    grid.tileWidth = tileWidth;
    grid.tileHeight = tileHeight;
    grid.across = static_cast<int16_t>(across);
    grid.down = static_cast<int16_t>(down);
    grid.count = static_cast<int16_t>(across * down);
    grid.larger = grid.across > grid.down ? grid.across : grid.down;
    return grid;
}

void SaveDiagramPlacement(ReportContext& ctx, DiagramPlacement& placement, const PlacementKey& key,
                          float posterWidth, float posterHeight, float width, float height)
{
    PlacementTable table(ctx.db);
    std::optional<PlacementRow> row = table.Find(key);
    if (!row) Fail();
    if (row->xx == kCentreMarker) {
        placement.offsetX = (posterWidth - width) * placement.zoom * 0.5f;
        row->xx = placement.offsetX / diagram::kTwipsPerMm;
    }
    if (row->yy == kCentreMarker) {
        placement.offsetY = (posterHeight - height) * placement.zoom * 0.5f;
        row->yy = placement.offsetY / diagram::kTwipsPerMm;
    }
    table.Update(*row);
}

}  // namespace report
