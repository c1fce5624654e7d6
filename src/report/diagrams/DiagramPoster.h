// A diagram laid out on its poster of page tiles, shared by the printed
// pages (DiagramPages.h) and the layout picture (LayoutPictures.h), so that
// both show the same tiles: the placement and the tile grid, and every
// segment and label of the diagram in poster coordinates.
//
// Poster coordinates are drawing-plane units measured from the corner of
// the printable area of the first tile, x to the right and y downwards: a
// point of the diagram is its projected position less the box's corner
// (minX, minY) plus the placement offset; a point of the axis symbol is its
// projected position plus the offset of the axis-position boxes (mm), so
// the symbol stays where those boxes put it whatever the diagram's
// placement. Tile (column, row) of a point: Fix(x / tile width) + 1 and
// Fix(y / tile height) + 1, numbered (row - 1) x across + column; only the
// tiles of the grid (columns 1 to across, rows 1 to down) hold anything.
#pragma once

#include "report/diagrams/DiagramGeometry.h"
#include "report/diagrams/DiagramPlacement.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace preview { class DocumentBuilder; }

namespace report {

struct ReportContext;

enum class DiagramKind { Frame, Displacement, Stress };

// The label and drawing switches of the window (check boxes, on at value 1).
struct DiagramSwitches {
    bool nodeNumbers = false;     // chkDrawJnt
    bool memberNumbers = false;   // chkDrawEle
    bool sectionNumbers = false;  // chkDrawMat
    bool axisSymbol = false;      // chkDrawCoord
    bool frameOnly = false;       // chkDrawEleOnly: no displaced shape, no curves, no light lines
};
DiagramSwitches ReadDiagramSwitches(const ReportContext& ctx);

// A label's vertical place, in label heights from its anchor, of the member
// number (0 to 1) and the section number (1 to 2): under each other, or the
// section number alone centred.
std::array<float, 3> LabelOffsets(const DiagramSwitches& switches);

struct PosterSegment {
    bool heavy = false;   // the undeformed members; light: axis lines and results
    bool axis = false;    // a line of the axis symbol
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

enum class LabelKind {
    Node,      // node number or axis letter: right of its anchor, centred on it
    Member,    // member number: centred on the member's midpoint
    Section,   // "[n]": under the member number, or in its place
};

struct PosterLabel {
    LabelKind kind = LabelKind::Node;
    float x = 0, y = 0;   // anchor
    QString text;
    bool axis = false;    // a letter of the axis symbol: printed, not in the layout picture
};

// A label's box of w x h at its anchor (x, y), moved into `area` (left, top,
// right, bottom): against the left edge, then the right, then the top; a box
// reaching below the bottom edge is moved up until its top lies
// `bottomClearance` heights above that edge. A box wider than the area thus
// ends at its right edge.
struct LabelBox {
    float left = 0, top = 0, width = 0, height = 0;
};
struct AreaEdges {
    float left = 0, top = 0, right = 0, bottom = 0;
};
LabelBox PlaceLabel(LabelKind kind, const std::array<float, 3>& offsets, float x, float y, float w, float h,
                    const AreaEdges& area, float bottomClearance);

struct TilePosition {
    long long column = 0;
    long long row = 0;
};

struct DiagramPoster {
    DiagramKind kind = DiagramKind::Frame;
    PlacementKey key;
    DiagramExtents box;             // the diagram's own box
    float width = 0, height = 0;    // of the box
    DiagramPlacement placement;     // offsets and zoom at full size
    TileGrid grid;
    DiagramSwitches switches;
    std::array<float, 3> labelOffsets{};
    std::vector<PosterSegment> segments;   // members, axis lines, results, in this order
    std::vector<PosterLabel> labels;       // nodes, axis letters, members and sections

    TilePosition TileOf(float x, float y) const;
    bool InGrid(const TilePosition& t) const;
    int16_t TileNumber(const TilePosition& t) const;
    // Calls `visit` for every tile of the grid under the segment's bounding
    // box, row by row from the top, left to right.
    void ForEachTileUnder(const PosterSegment& s, const std::function<void(const TilePosition&)>& visit) const;
};

// A label of the poster in its tile: the tile, and the size of the label's
// box, as many blanks as its text has characters measured in the document's
// font, in the caller's units.
struct LabelInTile {
    TilePosition tile;
    float width = 0, height = 0;
};
// None for a label outside the grid. `fromTwips` turns a measured length
// (twips, as a float) into the caller's units.
std::optional<LabelInTile> MeasureLabelInTile(preview::DocumentBuilder& doc, const DiagramPoster& poster,
                                              const PosterLabel& label, const std::function<float(float)>& fromTwips);

// The diagram of `kind` for `caseNo` (ignored for the frame): its result
// geometry, its box (a copy of the frame's box widened), its placement on
// `paper` (the row of PreviewMentPoint added or centred on the way, within
// the caller's transaction), its grid, segments and labels.
DiagramPoster LayOutDiagram(ReportContext& ctx, DiagramKind kind, int16_t caseNo, DiagramExtents frameBox,
                            const PaperSize& paper);

}  // namespace report
