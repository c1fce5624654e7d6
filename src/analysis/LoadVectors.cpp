#include "analysis/LoadVectors.h"

#include "analysis/AnalysisTables.h"
#include "analysis/MemberStiffness.h"
#include "analysis/ScratchFiles.h"

#include <cmath>

int CoordinateCode(const QString& text)
{
    if (text == QStringLiteral("y 部材系")) return 0;
    if (text == QStringLiteral("z 部材系")) return 1;
    if (text == QStringLiteral("X 絶対系")) return 2;
    if (text == QStringLiteral("Y 絶対系")) return 3;
    if (text == QStringLiteral("Z 絶対系")) return 4;
    return 0;
}

MemberGeometry GetMemberGeometry(const FrameModel& model, int memberRow, const LoadShape& shape)
{
    MemberGeometry g;
    const MemberSpan span = CheckedMemberSpan(model, memberRow);
    g.dx = span.dx;
    g.dy = span.dy;
    g.dz = span.dz;
    g.L = span.L;
    const double L = g.L;
    const auto& P = shape.P;
    double* O = g.O;
    switch (shape.type) {
    case 3: O[1] = 0; O[2] = L; break;
    case 4: O[1] = P[2]; O[2] = P[3]; O[3] = P[4]; break;
    case 14: O[1] = P[2] * L; O[2] = P[3] * L; O[3] = P[4] * L; break;
    case 5: O[1] = P[3]; O[2] = P[4]; break;
    case 15: O[1] = P[3] * L; O[2] = P[4] * L; break;
    case 6: O[1] = P[3]; O[2] = P[4]; O[3] = P[5]; O[4] = P[6]; break;
    case 16: O[1] = P[3] * L; O[2] = P[4] * L; O[3] = P[5] * L; O[4] = P[6] * L; break;
    case 7: O[1] = P[4]; O[2] = P[5]; O[3] = P[6]; break;
    case 17: O[1] = P[4] * L; O[2] = P[5] * L; O[3] = P[6] * L; break;
    case 8: O[1] = L / (P[2] + 1); break;
    case 10: O[1] = P[5]; O[2] = P[6]; O[3] = P[7]; break;
    case 20: O[1] = P[5] * L; O[2] = P[6] * L; O[3] = P[7] * L; break;
    default: break;
    }
    return g;
}

void CheckProjectedLength(const FrameModel& model, int memberRow, int code, int shapeNo, const MemberGeometry& g)
{
    double projected;
    QString plane, direction;
    switch (code) {
    case 2: projected = std::sqrt(g.dy * g.dy + g.dz * g.dz); plane = QStringLiteral("Y-Z"); direction = QStringLiteral("Ｘ"); break;
    case 3: projected = std::sqrt(g.dx * g.dx + g.dz * g.dz); plane = QStringLiteral("X-Z"); direction = QStringLiteral("Ｙ"); break;
    case 4: projected = std::sqrt(g.dx * g.dx + g.dy * g.dy); plane = QStringLiteral("X-Y"); direction = QStringLiteral("Ｚ"); break;
    default: return;
    }
    if (projected > 0) return;
    AnalysisFailure::Error(QStringLiteral("ERROR：部材番号=") + QString::number(model.MemberNumber(memberRow))
                           + QStringLiteral("は") + plane + QStringLiteral("平面への投影長さが 0 のため、絶対系")
                           + direction + QStringLiteral("方向荷重(形状番号") + QString::number(shapeNo)
                           + QStringLiteral(")の設定は無効です。"));
}

PlaneEnds GetPlaneEnds(const FrameModel& model, int plane, int memberRow)
{
    // Plane y bends about local z, plane z about local y.
    const MemberRecord& m = model.members[static_cast<size_t>(memberRow)];
    const double vi = plane == 0 ? m.endI.aboutZ : m.endI.aboutY;
    const double vj = plane == 0 ? m.endJ.aboutZ : m.endJ.aboutY;
    PlaneEnds e;
    const bool exactI = vi == 1.0 || vi == 0.0, exactJ = vj == 1.0 || vj == 0.0;
    if (exactI && exactJ) {
        const bool fi = vi == 1.0, fj = vj == 1.0;
        e.EndCase = fi && fj ? 1 : fi ? 2 : fj ? 3 : 4;
        return e;
    }
    // A spring end: the fixed-end forces follow the same fixity as the stiffness.
    e.EndCase = 1;
    e.condensed = true;
    PlaneFixity(model, memberRow, plane, &e.pi, &e.pj);
    return e;
}

namespace {

// The routine of a load type for one plane, with the given intensities
// (w[1..3]: the load's intensities as entered, or their member components).
void CallTypeRoutine(MemberLoadForces& F, int type, int plane, const double w[4], const LoadShape& shape,
                     const MemberGeometry& g, const PlaneEnds& e)
{
    const double L = g.L;
    const double* O = g.O;
    const auto& P = shape.P;
    switch (type) {
    case 3: CalcPartialUniformFEF(F, plane, w[1], L, 0, L, 0, e); break;
    case 4: case 14: CalcPeakedTriangleFEF(F, plane, w[1], L, O[1], O[2], O[3], e); break;
    case 5: case 15: CalcLinearSegmentFEF(F, plane, w[1], w[2], L, O[1], O[2], e); break;
    case 6: case 16: CalcTwoSegmentFEF(F, plane, w[1], w[2], L, O[1], O[2], O[3], O[4], e); break;
    case 7: case 17: CalcPointLoadsFEF(F, plane, w[1], w[2], w[3], L, O[1], O[2], O[3], e); break;
    case 8: {
        const int n = RoundHalfEven(P[2]);
        if (P[1] != 0 && n >= 1) CalcEqualPointLoadsFEF(F, plane, w[1], n, L, O[1], e);
        break;
    }
    case 10: case 20: {
        // The rise length is P4, a real length for both types.
        CalcFloorLoadFEF(F, plane, w[1], RoundHalfEven(P[2]), w[3], P[4], L, O[1], O[2], O[3], e);
        break;
    }
    default: break;
    }
}

bool IsForceType(int type)
{
    switch (type) {
    case 3: case 4: case 5: case 6: case 7: case 8: case 10:
    case 14: case 15: case 16: case 17: case 20:
        return true;
    default:
        return false;
    }
}

double& LoadAt(AnalysisState& run, int equation, int caseNo)
{
    return run.loads.columns[static_cast<size_t>(equation) * (run.model.nCase + 1) + caseNo];
}

void AddLoad(AnalysisState& run, int equation, int caseNo, double value)
{
    const size_t at = static_cast<size_t>(equation) * (run.model.nCase + 1) + caseNo;
    run.loads.columns[at] += value;
    run.loads.magnitudes[at] += std::fabs(value);
}

// Adds a member load's equivalent loads to the member's record and, turned
// to global axes, to the load columns of its end nodes. The mid-span moments
// stay with the member.
void AddMemberLoadEffects(AnalysisState& run, int memberRow, int caseNo, const MemberLoadForces& load)
{
    const FefVector& F = load.F;
    CaseRecord& rec = run.loads.equivalentLoads[static_cast<size_t>(memberRow)];
    for (int m = 1; m <= 14; ++m) rec[caseNo][m] += F[m];
    uint8_t& planes = run.loads.loadedPlanes[static_cast<size_t>(memberRow)][static_cast<size_t>(caseNo)];
    if (load.planeY) planes |= LoadedPlaneY;
    if (load.planeZ) planes |= LoadedPlaneZ;
    Mat3 T;
    double L;
    MemberAxes(run.model, memberRow, T, L);
    double G[13];
    for (int b = 0; b < 4; ++b)
        for (int r = 0; r < 3; ++r) {
            double sum = 0;
            for (int s = 0; s < 3; ++s) sum += T[s][r] * F[3 * b + s + 1];
            G[3 * b + r + 1] = sum;
        }
    const MemberRecord& m = run.model.members[static_cast<size_t>(memberRow)];
    for (int d = 1; d <= 6; ++d) {
        AddLoad(run, 6 * (m.iRow - 1) + d, caseNo, G[d]);
        AddLoad(run, 6 * (m.jRow - 1) + d, caseNo, G[6 + d]);
    }
}

// A load along a global axis: its intensities resolved into member
// components, the axial one shared by the ends as a simple span would, the
// transverse ones through the routine of the load type in their planes.
void AddGlobalDirectionLoad(MemberLoadForces& F, const AnalysisState& run, int memberRow, const LoadShape& shape, int shapeNo,
                            MemberGeometry g)
{
    const int type = shape.type, code = shape.direction;
    CheckProjectedLength(run.model, memberRow, code, shapeNo, g);
    Mat3 T;
    MemberAxes(run.model, memberRow, T, g.L);
    const int gc = code - 2;  // global column 0 X, 1 Y, 2 Z
    // Which parameters are intensities that turn with the member axes.
    bool resolved[4] = {false, true, false, false};
    if (type == 5 || type == 15 || type == 6 || type == 16) resolved[2] = true;
    if (type == 7 || type == 17) resolved[2] = resolved[3] = true;
    if (type == 10 || type == 20) resolved[3] = true;
    for (int k = 0; k < 3; ++k) {
        double w[4] = {0, 0, 0, 0};
        bool any = false;
        for (int q = 1; q <= 3; ++q) {
            if (!resolved[q]) continue;
            w[q] = shape.P[static_cast<size_t>(q)] * T[k][gc];
            if (w[q] != 0) any = true;
        }
        if (!any) continue;
        if (k == 0) CallTypeRoutine(F, type, PlaneAxial, w, shape, g, EndCaseOnly(4));
        else CallTypeRoutine(F, type, k - 1, w, shape, g, GetPlaneEnds(run.model, k - 1, memberRow));
    }
}

// The equivalent nodal loads of one member load on one member, in member axes.
MemberLoadForces MemberLoadFixedEndForces(const AnalysisState& run, int memberRow, const LoadShape& shape, int shapeNo)
{
    const int type = shape.type, code = shape.direction;
    const auto& P = shape.P;
    MemberLoadForces F;
    if (type == 2) {
        AccumulateFEF(F, code == 1 ? PlaneZ : PlaneY, P[1], P[2], P[3], P[4], P[5], P[6], P[7]);
        return F;
    }
    const MemberGeometry g = GetMemberGeometry(run.model, memberRow, shape);
    if (!IsForceType(type)) return F;
    if (code == 0 || code == 1) {
        const double w[4] = {0, P[1], P[2], P[3]};
        CallTypeRoutine(F, type, code, w, shape, g, GetPlaneEnds(run.model, code, memberRow));
    } else if (code >= 2 && code <= 4) {
        AddGlobalDirectionLoad(F, run, memberRow, shape, shapeNo, g);
    }
    return F;
}

}  // namespace

void PlaceMemberLoad(AnalysisState& run, int memberRow, int caseNo, const LoadShape& shape, int shapeNo)
{
    AddMemberLoadEffects(run, memberRow, caseNo, MemberLoadFixedEndForces(run, memberRow, shape, shapeNo));
}

void PlaceLoads(AnalysisState& run)
{
    const FrameModel& model = run.model;
    run.loads.columns.assign(static_cast<size_t>(model.nDof + 1) * (model.nCase + 1), 0.0);
    run.loads.magnitudes = run.loads.columns;
    run.loads.equivalentLoads.assign(static_cast<size_t>(model.nMember + 1), CaseRecord{});
    run.loads.loadedPlanes.assign(static_cast<size_t>(model.nMember + 1), {});
    for (const LoadPlacementRow& p : run.loads.placements) {
        const int r = p.shapeRow;
        if (r <= 0 || r >= static_cast<int>(run.loads.shapes.size())) continue;
        const LoadShape& s = run.loads.shapes[static_cast<size_t>(r)];
        if (s.caseNo < 1 || s.caseNo > model.nCase) continue;
        if (s.type == 1) {
            // Forces along X, Y, Z and moments about them (kN·m to kN·cm).
            const double V[7] = {0, s.P[1], s.P[2], s.P[3], 100 * s.P[4], 100 * s.P[5], 100 * s.P[6]};
            for (int node : p.targets)
                for (int d = 1; d <= 6; ++d) AddLoad(run, 6 * (node - 1) + d, s.caseNo, V[d]);
        } else {
            for (int member : p.targets) PlaceMemberLoad(run, member, s.caseNo, s, p.shapeNo);
        }
    }
}

namespace {

// "sm": the zero band with the load columns.
void WriteLoadBand(AnalysisState& run)
{
    const FrameModel& model = run.model;
    std::vector<double> row(static_cast<size_t>(model.RowWidth + 1), 0.0);
    BandFile sm;
    sm.Open(QStringLiteral("sm"), model.RowWidth, true);
    for (int e = 1; e <= model.nDof; ++e) {
        for (int c = 1; c <= model.nCase; ++c) row[static_cast<size_t>(model.HalfBand + c)] = LoadAt(run, e, c);
        sm.PutRow(e, row.data());
    }
    sm.Close();
}

// "eq": each member's equivalent loads, element (case k, component c) at k + 17·c.
void WriteEquivalentLoadRecords(const AnalysisState& run)
{
    RecordFile eq;
    eq.Open(QStringLiteral("eq"), kEqRecordLength, true);
    std::vector<double> rec(17 * 15);
    for (int m = 1; m <= run.model.nMember; ++m) {
        const CaseRecord& loads = run.loads.equivalentLoads[static_cast<size_t>(m)];
        for (int k = 0; k <= 16; ++k)
            for (int c = 0; c <= 14; ++c) rec[static_cast<size_t>(k + 17 * c)] = loads[k][c];
        eq.Put(m, rec.data());
    }
    eq.Close();
}

// "ka": each node's loads; "sk": zeros.
void WriteNodeLoadRecords(AnalysisState& run)
{
    RecordFile ka, sk;
    ka.Open(QStringLiteral("ka"), kNodeBlockLength, true);
    sk.Open(QStringLiteral("sk"), kNodeBlockLength, false);
    std::vector<double> block(17 * 13), zero(17 * 13, 0.0);
    for (int j = 1; j <= run.model.nNode; ++j) {
        std::fill(block.begin(), block.end(), 0.0);
        for (int k = 1; k <= run.model.nCase; ++k)
            for (int d = 1; d <= 6; ++d) block[static_cast<size_t>(k + 17 * d)] = LoadAt(run, 6 * (j - 1) + d, k);
        ka.Put(j, block.data());
        sk.Put(j, zero.data());
    }
    ka.Close();
    sk.Close();
}

}  // namespace

void BuildLoadVectors(AnalysisState& run)
{
    ReadLoadTables(run);
    BuildLoadVectorsFromTables(run);
    run.Milestone();
    CloseLoadTables(run);
}

void BuildLoadVectorsFromTables(AnalysisState& run)
{
    PlaceLoads(run);
    run.Milestone();
    WriteLoadBand(run);
    WriteEquivalentLoadRecords(run);
    run.Milestone();
    WriteNodeLoadRecords(run);
    run.Milestone();
}

void CloseLoadTables(AnalysisState& run)
{
    run.loads.shapes.clear();
    run.loads.placements.clear();
}
