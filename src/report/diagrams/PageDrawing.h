// The drawing operations of the diagram pages: the rows of one page tile
// drawn from the report work tables, the white mask over the page margins,
// and the grid of page tiles of the layout picture. Lengths are twips from
// the page's top-left corner; a row holds plane units, drawn times `zoom`.
#pragma once

#include "platform/preview/PreviewDocument.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace preview { class DocumentBuilder; }

namespace report {

// The palette, and the colours of the layout picture's tiles.
using preview::kBlack;
using preview::kBlue;
using preview::kRed;
using preview::kWhite;
constexpr uint32_t kTouchedTile = preview::kCyan;
constexpr uint32_t kUntouchedTile = preview::kButtonFace;
constexpr uint32_t kTileGridLine = preview::kMagenta;

constexpr double kHeavyPenWidth = 30;
constexpr double kEndDotRadius = 25;

// A segment as seen on one page tile (a row of a line table).
struct LineRow {
    int16_t page = 0;
    bool heavy = false;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A label box on one page tile (a row of a label table); texts that do not
// apply are empty.
struct LabelRow {
    int16_t page = 0;
    float x0 = 0, y0 = 0, width = 0, height = 0;
    QString node, member, section;
};

// White over the four margins (1000 twips at the sides, 2000 at the top and
// bottom), filled with the brush in force; pen and print position restored.
void MaskPageMargins(preview::DocumentBuilder& doc);
void DrawRectangleOnPage(preview::DocumentBuilder& doc, float x1, float y1, float x2, float y2);

// The heavy rows with a black dot at each end (pen 30), then the brush white.
void DrawHeavyLines(preview::DocumentBuilder& doc, std::span<const LineRow> rows, float zoom);
// The light rows (thinnest pen).
void DrawLightLines(preview::DocumentBuilder& doc, std::span<const LineRow> rows, float zoom);
// Every text of every row in its box, in white-outlined boxes of the brush.
void DrawDiagramLabels(preview::DocumentBuilder& doc, std::span<const LabelRow> rows, float zoom);

// Across x down cells of cellWidth x cellHeight from (1000, 2000): a tile
// that holds something (touched[n], n from 1) in the touched colour, the
// others in the button face, then the grid lines. Pen and brush restored.
void DrawPageTileMap(preview::DocumentBuilder& doc, float cellWidth, float cellHeight, int16_t across, int16_t down,
                     const std::vector<bool>& touched);

}  // namespace report
