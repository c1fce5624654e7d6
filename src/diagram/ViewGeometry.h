// The perspective view shared by the frame diagram window and the report:
// the model's bounds, the plan fit scale, the view matrix built from the
// look-from and look-at points, the projection of a point onto the drawing
// plane, and the reads of the node and member tables both make. All of it is
// computed in single precision; a division that would meet zero is reported
// as a failure, never turned into coordinates.
//
// Axes: X and Y horizontal, Z up. A point enters the view as the homogeneous
// row (x, z, y, 1) relative to the caller's origin (the frame diagram window
// uses the model's minimum corner); row times matrix gives (u, w, e - 1, e):
// u sideways (positive to the viewer's left), w upwards, e the depth along
// the line of sight from the eye. The drawing plane position is
// (-u / (e - 1), -w / (e - 1)): page x to the right, page y downwards.
#pragma once

#include "diagram/Outcome.h"
#include "diagram/ViewParameterFile.h"
#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace diagram {

// ---- model extent ----------------------------------------------------------

struct NodeCoordinate {
    int16_t no = 0;
    float x = 0, y = 0, z = 0;
};

// Every node of table 節点座標1 in stored order; a database failure (a
// missing table or field, a coordinate without a value) fails with its text.
Outcome<std::vector<NodeCoordinate>> ReadNodeCoordinates(dao::Database& db);

// Replaces `rs` by a recordset of its rows in ascending order of `field`
// (ties in stored order), standing on the first row. An empty recordset
// stays as it was.
void SortRecordset(dao::RecordsetPtr& rs, const QString& field);

// The values of `fields` of every row of `table` in ascending number (No_,
// ties in stored order); `rs` is left open on those rows (on the table's
// own rows when it is empty). Database errors pass as rt::Error.
std::vector<std::vector<rt::Variant>> ReadRowsByNumber(dao::Database& db, const QString& table, const QStringList& fields,
                                                       dao::RecordsetPtr& rs);

// The question for a member whose end node is not in the node table, ending
// with `closingClause`, which asks whether to stop the drawing at hand.
QString MissingEndNodesQuestion(int member, const QString& closingClause);

struct ModelBounds {
    std::array<float, 3> minCorner{};   // X, Y, Z
    std::array<float, 3> maxCorner{};
    float diagonal = 0;                 // length of the box's space diagonal
};

// The box around the nodes. Without nodes the corners of `previous` stay and
// only the diagonal is recomputed from them.
ModelBounds ComputeModelBounds(const std::vector<NodeCoordinate>& nodes, const ModelBounds& previous = {});

// Smallest plan extent taken as none at all.
constexpr float kPlanExtentThreshold = 0.00001f;

// The scale, in twips per model unit, at which the plan (X-Y) extent of the
// nodes fits a width x height rectangle: the smaller of width / dx and
// height / dy (width / dx on a tie), only height / dy when dx is below the
// threshold, only width / dx when dy is; rounded half to even. 0 means no
// scale: no nodes, both extents below the threshold (a single node, a
// vertical column), a rectangle without area, or a scale beyond 32 bits.
int32_t ComputeFitScale(const std::vector<NodeCoordinate>& nodes, int32_t width, int32_t height);

// ---- view matrix -------------------------------------------------------------

// The look-at point A and the look-from point F (the eye) in spherical
// coordinates around the caller's origin: distance r, polar angle θ from +Z
// in whole degrees, azimuth φ from +X towards +Y in degrees.
struct ViewPoints {
    float ra = 0;
    int thetaA = 0;
    float phiA = 0;
    float rf = 0;
    int thetaF = 0;
    float phiF = 0;
};

// θ limited to 1..179, so that a look-at point on the vertical axis is never
// seen from straight above or below.
int LimitPolarAngle(int degrees);

// The six spherical boxes of a window: txtra, txtrf, txtφa, txtφf read for
// their leading number (0 when there is none), txtθa and txtθf as whole
// numbers that must read completely (rounded half to even). Fails when a box
// is missing, a θ box is not a number, or a value does not fit its type.
Outcome<ViewPoints> ReadViewPoints(const ViewBoxes& boxes);

// Element (row, column); rows belong to the components x, z, y, 1.
using ViewMatrix = std::array<std::array<float, 4>, 4>;

// The look-at transform followed by the perspective step. Fails when the
// eye and the look-at point coincide or lie on one vertical line, or when
// the distances are too large for single precision.
Outcome<ViewMatrix> BuildViewMatrix(const ViewPoints& points);

// ---- projection -------------------------------------------------------------

using HomogeneousRow = std::array<float, 4>;

// (x, z, y, 1): the vertical coordinate goes second.
HomogeneousRow ViewRow(float x, float y, float z);

// The rows of the axis symbol: the origin, then the tips of X, Y and Z at
// `length` from it.
std::array<HomogeneousRow, 4> AxisRows(float length);

// Row times columns 0, 1, 2, summed in order: (u, w, e - 1).
std::array<float, 3> TransformRow(const ViewMatrix& m, const HomogeneousRow& q);

struct PlanePoint {
    float x = 0, y = 0;
};

// The drawing-plane position of a row. Fails for a point exactly 1 unit in
// front of the eye (e - 1 = 0) or a position beyond single precision. Points
// behind the eye are not clipped.
Outcome<PlanePoint> ProjectRow(const ViewMatrix& m, const HomogeneousRow& q);
Outcome<PlanePoint> ProjectPoint(const ViewMatrix& m, float x, float y, float z);

// ---- fit to the page ---------------------------------------------------------

// Twips in a millimetre as the offset and position boxes (mm) count them.
constexpr float kTwipsPerMm = 56.7f;

constexpr float kFitMargin = 1134;   // twips, 20 mm on each side

// Zoom (twips per plane unit) and offsets (twips) that centre the plane
// points on the page inside the margins.
struct PageFit {
    float zoom = 0;
    float offsetX = 0;
    float offsetY = 0;
};

// The smaller of the two axes' scales (the horizontal one on a tie); when
// one extent is 0 the other axis' scale alone. Fails without points, when
// every point lies on one spot, or when the page leaves no room inside the
// margins.
Outcome<PageFit> FitToPage(const std::vector<PlanePoint>& points, float pageWidth, float pageHeight,
                           float margin = kFitMargin);

// A zoom expressed as a multiple of the window's base scale (the zoom box);
// fails when there is no base scale (0).
Outcome<float> ZoomRelativeToBase(float zoom, int32_t baseScale);

}  // namespace diagram
