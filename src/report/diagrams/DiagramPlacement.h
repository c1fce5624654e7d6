// Where a diagram lies on its poster of page tiles and how large it is
// drawn: one row of table PreviewMentPoint per diagram, kept between builds
// and runs, and the tile grid that follows from it.
//
// A row holds the diagram's kind (bln種類: True the displacement diagram,
// False the frame and the stress diagram), its case (1 to 10, 0 the
// combination, -1 the frame diagram), the offsets XX and YY in mm of its
// box's corner from the corner of the printable area of the first tile
// (-1: centre it at the next build), and its zoom relative to the window's
// base scale (not above 0: fit it to one page). A tile is the printable
// area of one printed page: 1000 twips in from the left and right edges,
// 2000 twips from the top and bottom.
#pragma once

#include "platform/Database.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace report {

struct ReportContext;

constexpr float kSideMargin = 1000;     // twips, left and right
constexpr float kTopMargin = 2000;      // twips, top and bottom
constexpr float kCentreMarker = -1;     // XX or YY: centre at the next build
constexpr float kDefaultOffsetMm = 20;  // the margin of a diagram fitted without a row

// Which diagram a row belongs to.
struct PlacementKey {
    bool displacement = false;
    int16_t caseNo = -1;
    bool operator==(const PlacementKey&) const = default;
};
constexpr PlacementKey kFramePlacement{false, -1};

struct PlacementRow {
    PlacementKey key;
    float xx = kCentreMarker;
    float yy = kCentreMarker;
    float zoom = -1;
};

// The rows of PreviewMentPoint on one connection. A key's row is the first
// in stored order. Database errors pass as rt::Error.
class PlacementTable {
public:
    explicit PlacementTable(dao::Database& db);
    ~PlacementTable();
    PlacementTable(const PlacementTable&) = delete;
    PlacementTable& operator=(const PlacementTable&) = delete;

    std::optional<PlacementRow> Find(const PlacementKey& key);
    void Add(const PlacementRow& row);
    // Writes the values of row.key's row; false when there is none.
    bool Update(const PlacementRow& row);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The paper of a printed diagram page in twips.
struct PaperSize {
    float width = 0;
    float height = 0;
};
// A4 portrait, the paper of every printed diagram.
PaperSize PrintedDiagramPaper();

// The base scale of the relative zooms; a window without one (a model
// without plan extent) counts 1.
float ZoomBase(int32_t zoomBaseUnit);

// A placement at full size: offsets in twips, zoom in twips per
// drawing-plane unit.
struct DiagramPlacement {
    float offsetX = 0;
    float offsetY = 0;
    float zoom = 0;
};

// The tile grid of a diagram: the printable area of a page in plane units,
// the tiles across and down (one more than the whole quotient), their count
// and the larger of the two.
struct TileGrid {
    float tileWidth = 0;
    float tileHeight = 0;
    int16_t across = 0;
    int16_t down = 0;
    int16_t count = 0;
    int16_t larger = 0;
};

// The diagram's stored placement for a box of width x height plane units,
// fitted to one page where the zoom asks for it, its row added when missing.
// A fit that cannot be computed (a box without extent) ends the build.
DiagramPlacement LoadDiagramPlacement(ReportContext& ctx, const PlacementKey& key, float width, float height,
                                      const PaperSize& paper);

// The printable area of one page in plane units at `zoom`.
void ComputeFitZoom(float& tileWidth, float& tileHeight, float zoom, const PaperSize& paper);

// Tile counts beyond 16 bits end the build.
TileGrid CountTilePages(float width, float height, float tileWidth, float tileHeight);

// Centres each offset whose row holds the marker on the poster of
// posterWidth x posterHeight plane units and stores it in mm.
void SaveDiagramPlacement(ReportContext& ctx, DiagramPlacement& placement, const PlacementKey& key,
                          float posterWidth, float posterHeight, float width, float height);

}  // namespace report
