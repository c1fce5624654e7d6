#include "diagram/ViewGeometry.h"

#include "platform/Database.h"
#include "platform/Runtime.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace diagram {

namespace {

const QString kNodeTable = QStringLiteral("節点座標1");

bool AllFinite(std::initializer_list<float> values)
{
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

// Degrees to radians, kept as a single-precision value.
double Radians(double degrees)
{
    constexpr double kPi = 3.1415927;
    return static_cast<float>(degrees * kPi / 180.0);
}

struct Point3 {
    float x, y, z;
};

Point3 Spherical(float r, int theta, float phi)
{
    const double t = Radians(theta), p = Radians(phi);
    return {static_cast<float>(r * std::sin(t) * std::cos(p)), static_cast<float>(r * std::sin(t) * std::sin(p)),
            static_cast<float>(r * std::cos(t))};
}

// The rectangle covered by the x and y of a non-empty set of points.
struct Extent {
    float minX, minY, maxX, maxY;
};

template <typename Point>
Extent ExtentOf(const std::vector<Point>& points)
{
    Extent e{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        e.minX = std::min(e.minX, p.x);
        e.minY = std::min(e.minY, p.y);
        e.maxX = std::max(e.maxX, p.x);
        e.maxY = std::max(e.maxY, p.y);
    }
    return e;
}

}  // namespace

Outcome<std::vector<NodeCoordinate>> ReadNodeCoordinates(dao::Database& db)
{
    using Result = Outcome<std::vector<NodeCoordinate>>;
    try {
        dao::RecordsetPtr rs = db.OpenRecordset(kNodeTable);
        std::vector<NodeCoordinate> nodes;
        if (rs->RecordCount() > 0) {
            nodes.reserve(static_cast<size_t>(rs->RecordCount()));
            for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext())
                nodes.push_back({rs->Field(QStringLiteral("No_")).toInteger(), rs->Field(QStringLiteral("X")).toSingle(),
                                 rs->Field(QStringLiteral("Y")).toSingle(), rs->Field(QStringLiteral("Z")).toSingle()});
        }
        rs->Close();
        return Result::Success(std::move(nodes));
    } catch (const rt::Error& e) {
        return Result::Failure(QStringLiteral("%1: %2").arg(kNodeTable, e.description()));
    }
}

void SortRecordset(dao::RecordsetPtr& rs, const QString& field)
{
    if (!rs || (rs->BOF() && rs->EOF_())) return;
    rs->Sort = field + QStringLiteral(" ASC");
    dao::RecordsetPtr sorted = rs->OpenRecordset();
    rs = sorted;
    if (!(rs->BOF() && rs->EOF_())) rs->MoveFirst();
}

std::vector<std::vector<rt::Variant>> ReadRowsByNumber(dao::Database& db, const QString& table, const QStringList& fields,
                                                       dao::RecordsetPtr& rs)
{
    std::vector<std::vector<rt::Variant>> rows;
    rs = db.OpenRecordset(table);
    if (rs->BOF() && rs->EOF_()) return rows;
    SortRecordset(rs, QStringLiteral("no_"));
    std::vector<int> columns;
    for (const QString& f : fields) columns.push_back(rs->FieldIndex(f));
    rows.reserve(static_cast<size_t>(rs->RecordCount()));
    for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
        std::vector<rt::Variant> row;
        for (int c : columns) row.push_back(rs->Field(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

QString MissingEndNodesQuestion(int member, const QString& closingClause)
{
    return QStringLiteral("部材番号 : ") + QString::number(member)
           + QStringLiteral("\r\nのｉ端またはｊ端で指定した節点が、[節点]データに登録されていません。\r\n")
           + closingClause;
}

ModelBounds ComputeModelBounds(const std::vector<NodeCoordinate>& nodes, const ModelBounds& previous)
{
    ModelBounds b = previous;
    if (!nodes.empty()) {
        b.maxCorner = {nodes[0].x, nodes[0].y, nodes[0].z};
        for (const NodeCoordinate& n : nodes) {
            b.maxCorner[0] = std::max(b.maxCorner[0], n.x);
            b.maxCorner[1] = std::max(b.maxCorner[1], n.y);
            b.maxCorner[2] = std::max(b.maxCorner[2], n.z);
        }
        b.minCorner = b.maxCorner;
        for (const NodeCoordinate& n : nodes) {
            b.minCorner[0] = std::min(b.minCorner[0], n.x);
            b.minCorner[1] = std::min(b.minCorner[1], n.y);
            b.minCorner[2] = std::min(b.minCorner[2], n.z);
        }
    }
    // The squares in double: a spread near the top of single precision would
    // overflow when squared, its diagonal need not.
    const double dx = b.maxCorner[0] - b.minCorner[0];
    const double dy = b.maxCorner[1] - b.minCorner[1];
    const double dz = b.maxCorner[2] - b.minCorner[2];
    b.diagonal = static_cast<float>(std::sqrt(dy * dy + dx * dx + dz * dz));
    return b;
}

int32_t ComputeFitScale(const std::vector<NodeCoordinate>& nodes, int32_t width, int32_t height)
{
    if (nodes.empty() || width <= 0 || height <= 0) return 0;
    const Extent e = ExtentOf(nodes);
    const float dx = e.maxX - e.minX, dy = e.maxY - e.minY;
    const bool noX = dx < kPlanExtentThreshold, noY = dy < kPlanExtentThreshold;
    if (noX && noY) return 0;
    double scale;
    if (noX) scale = height / static_cast<double>(dy);
    else if (noY) scale = width / static_cast<double>(dx);
    else scale = std::min(width / static_cast<double>(dx), height / static_cast<double>(dy));
    const double rounded = std::nearbyint(scale);   // the default rounding: half to even
    if (!(rounded <= std::numeric_limits<int32_t>::max())) return 0;
    return static_cast<int32_t>(rounded);
}

int LimitPolarAngle(int degrees) { return std::clamp(degrees, 1, 179); }

Outcome<ViewPoints> ReadViewPoints(const ViewBoxes& boxes)
{
    using Result = Outcome<ViewPoints>;
    ViewPoints p;
    struct Lenient {
        const char* control;
        float ViewPoints::*field;
    };
    for (const Lenient& l : {Lenient{"txtra", &ViewPoints::ra}, Lenient{"txtφa", &ViewPoints::phiA},
                             Lenient{"txtrf", &ViewPoints::rf}, Lenient{"txtφf", &ViewPoints::phiF}}) {
        const QString name = QString::fromUtf8(l.control);
        const QString* text = FindViewBox(boxes, name);
        if (!text) return Result::Failure(QStringLiteral("%1 is missing").arg(name));
        const double v = rt::Val(*text);
        if (!rt::FitsSingle(v)) return Result::Failure(QStringLiteral("%1 \"%2\" is out of range").arg(name, *text));
        p.*l.field = static_cast<float>(v);
    }
    struct Strict {
        const char* control;
        int ViewPoints::*field;
    };
    for (const Strict& s : {Strict{"txtθa", &ViewPoints::thetaA}, Strict{"txtθf", &ViewPoints::thetaF}}) {
        const QString name = QString::fromUtf8(s.control);
        const QString* text = FindViewBox(boxes, name);
        if (!text) return Result::Failure(QStringLiteral("%1 is missing").arg(name));
        try {
            p.*s.field = LimitPolarAngle(rt::Variant::Text(*text).toInteger());
        } catch (const rt::Error& e) {
            const QString why = e.number() == rt::ErrOverflow ? QStringLiteral("is out of range")
                                                               : QStringLiteral("is not a number");
            return Result::Failure(QStringLiteral("%1 \"%2\" %3").arg(name, *text, why));
        }
    }
    return Result::Success(p);
}

Outcome<ViewMatrix> BuildViewMatrix(const ViewPoints& points)
{
    using Result = Outcome<ViewMatrix>;
    const Point3 a = Spherical(points.ra, LimitPolarAngle(points.thetaA), points.phiA);
    const Point3 f = Spherical(points.rf, LimitPolarAngle(points.thetaF), points.phiF);
    const float vx = a.x - f.x, vy = a.y - f.y, vz = a.z - f.z;
    const float h = static_cast<float>(std::sqrt(static_cast<double>(vx) * vx + static_cast<double>(vy) * vy));
    const float d = static_cast<float>(std::sqrt(static_cast<double>(vz) * vz + static_cast<double>(h) * h));
    if (!AllFinite({vx, vy, vz, h, d}))
        return Result::Failure(QStringLiteral("the view distances are too large"));
    if (h == 0)
        return Result::Failure(
            QStringLiteral("the look-from and look-at points coincide or lie on one vertical line"));

    const float s = (f.y - a.y) / h, c = (a.x - f.x) / h;
    const float ch = h / d, sh = (f.z - a.z) / d;
    // Rows x, z, y, 1; columns u, w, e and the homogeneous 1.
    const ViewMatrix t = {{
        {s, sh * c, c * ch, 0},
        {0, ch, -sh, 0},
        {c, -s * sh, -s * ch, 0},
        {-f.x * s - f.y * c, -f.x * c * sh - f.z * ch + f.y * s * sh, -f.x * c * ch + f.z * sh + f.y * s * ch, 1},
    }};
    // The perspective step: column e less 1 becomes the divisor, column 3 keeps e.
    ViewMatrix persp{};
    persp[0][0] = persp[1][1] = persp[2][2] = 1;
    persp[2][3] = 1;
    persp[3][2] = -1;

    ViewMatrix m{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += t[i][k] * persp[k][j];
            if (!std::isfinite(sum)) return Result::Failure(QStringLiteral("the view distances are too large"));
            m[i][j] = sum;
        }
    return Result::Success(m);
}

HomogeneousRow ViewRow(float x, float y, float z) { return {x, z, y, 1}; }

std::array<HomogeneousRow, 4> AxisRows(float length)
{
    // In the order x, z, y of a view row.
    return {{{0, 0, 0, 1}, {length, 0, 0, 1}, {0, 0, length, 1}, {0, length, 0, 1}}};
}

std::array<float, 3> TransformRow(const ViewMatrix& m, const HomogeneousRow& q)
{
    std::array<float, 3> out{};
    for (int j = 0; j < 3; ++j) {
        float sum = 0;
        for (int k = 0; k < 4; ++k) sum += q[k] * m[k][j];
        out[j] = sum;
    }
    return out;
}

Outcome<PlanePoint> ProjectRow(const ViewMatrix& m, const HomogeneousRow& q)
{
    using Result = Outcome<PlanePoint>;
    const std::array<float, 3> v = TransformRow(m, q);
    if (v[2] == 0) return Result::Failure(QStringLiteral("a point lies 1 unit in front of the eye"));
    const PlanePoint p{-v[0] / v[2], -v[1] / v[2]};
    if (!AllFinite({p.x, p.y})) return Result::Failure(QStringLiteral("a point cannot be projected"));
    return Result::Success(p);
}

Outcome<PlanePoint> ProjectPoint(const ViewMatrix& m, float x, float y, float z)
{
    return ProjectRow(m, ViewRow(x, y, z));
}

Outcome<PageFit> FitToPage(const std::vector<PlanePoint>& points, float pageWidth, float pageHeight, float margin)
{
    using Result = Outcome<PageFit>;
    if (points.empty()) return Result::Failure(QStringLiteral("there is nothing to fit"));
    const auto [minX, minY, maxX, maxY] = ExtentOf(points);
    const float roomX = pageWidth - 2 * margin, roomY = pageHeight - 2 * margin;
    if (!(roomX > 0) || !(roomY > 0)) return Result::Failure(QStringLiteral("the page has no room inside its margins"));
    const float ex = maxX - minX, ey = maxY - minY;
    if (ex == 0 && ey == 0) return Result::Failure(QStringLiteral("the drawing has no extent"));
    float zoom;
    if (ex == 0) zoom = roomY / ey;
    else if (ey == 0) zoom = roomX / ex;
    else zoom = std::min(roomX / ex, roomY / ey);   // std::min keeps the first on a tie

    PageFit fit{zoom, pageWidth / 2 - (maxX + minX) * zoom / 2, pageHeight / 2 - (maxY + minY) * zoom / 2};
    if (!AllFinite({fit.zoom, fit.offsetX, fit.offsetY}))
        return Result::Failure(QStringLiteral("the drawing is too small to be fitted"));
    return Result::Success(fit);
}

Outcome<float> ZoomRelativeToBase(float zoom, int32_t baseScale)
{
    if (baseScale == 0) return Outcome<float>::Failure(QStringLiteral("there is no base scale"));
    return Outcome<float>::Success(zoom / static_cast<float>(baseScale));
}

}  // namespace diagram
