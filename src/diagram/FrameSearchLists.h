// The lists of the frame diagram's search panel, without any window: the
// ranges of 50 numbers offered by the range combo boxes, the part of a result
// that one range shows, and which nodes or members a restraint or end-condition
// search finds among the rows of the last drawing.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace diagram {

constexpr int kNumbersPerRange = 50;
constexpr int kLargestNode = 300;
constexpr int kLargestMember = 500;

// "   1 ～ 50", "  51 ～ 100", … up to the range after (largest + 1) / 50 whole ranges.
QStringList NumberRangeItems(int largest);

// The result items whose number lies in range `range` (from 0), each as a
// blank and the number; none for range -1 (no range chosen).
QStringList ItemsInRange(const QStringList& results, int range);

// A result item: the number written "000".
QString ResultItem(int number);

// One row of a placement table: its type (for member ends, the i-end and the
// j-end type) and the numbers it lists, up to its first empty slot.
struct PlacementRow {
    int16_t type = 0;
    int16_t jType = 0;
    std::vector<int16_t> targets;
};

// The node and member maps of the last drawing.
struct DrawingRows {
    std::vector<int16_t> nodeNo;             // node number of each node row
    const std::array<int16_t, 301>* nodeRow = nullptr;     // node number -> row, -1 none
    std::vector<int16_t> memberNo;           // member number of each member row, 0 an empty row
    const std::array<int16_t, 501>* memberRow = nullptr;   // member number -> row, -1 none
};

// Nodes whose restraint matches a search, in row order, as result items.
// `matchedType` is the restraint type whose six conditions equal the typed
// ones (-1 none); `allFree` says that all six typed conditions are free, so
// that nodes without a placement count as matches. Placement entries for a
// node without a row in the last drawing are skipped; a node listed in
// several rows keeps the type of the last one.
QStringList NodesWithRestraint(const DrawingRows& rows, const std::vector<PlacementRow>& placements,
                               int matchedType, bool allFree);

// Members whose end types match a search, in row order, as result items. I
// and J are the end types whose conditions equal the typed ones (-1 none);
// `bothRigid` says that both ends were typed all rigid, so that members
// without a placement count as matches. Empty member rows and entries for a
// member without a row are skipped; the last placement row wins.
QStringList MembersWithEnds(const DrawingRows& rows, const std::vector<PlacementRow>& placements, int iType,
                            int jType, bool bothRigid);

}  // namespace diagram
