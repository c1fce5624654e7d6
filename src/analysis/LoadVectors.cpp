#include "analysis/LoadVectors.h"

#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/MemberStiffness.h"
#include "analysis/ScratchFiles.h"
#include "platform/Database.h"
#include "core/ProgramState.h"

#include <cmath>
#include <map>

std::vector<std::array<double, 11>> LoadShapeTable;
std::map<int, int> LoadShapeRowMap;
std::vector<LoadPlacementRow> LoadPlacementTable;
std::vector<CaseRecord> MemberCaseRecords;
std::vector<double> LoadColumns;

int CoordinateCode(const QString& text)
{
    if (text == QStringLiteral("y 部材系")) return 0;
    if (text == QStringLiteral("z 部材系")) return 1;
    if (text == QStringLiteral("X 絶対系")) return 2;
    if (text == QStringLiteral("Y 絶対系")) return 3;
    if (text == QStringLiteral("Z 絶対系")) return 4;
    return 0;
}

MemberGeometry GetMemberGeometry(int memberRow, int type, const std::array<double, 11>& s)
{
    MemberGeometry g;
    const int i = static_cast<int>(MemberData[memberRow][1]);
    const int j = static_cast<int>(MemberData[memberRow][2]);
    g.dx = NodeData[j][1] - NodeData[i][1];
    g.dy = NodeData[j][2] - NodeData[i][2];
    g.dz = NodeData[j][3] - NodeData[i][3];
    g.L = std::sqrt(g.dx * g.dx + g.dy * g.dy + g.dz * g.dz);
    if (!(g.L > 0))
        AbortWithExclamation(QStringLiteral("ERROR：部材番号=") + QString::number(MemberNumberOfRow(memberRow))
                             + QStringLiteral(" の部材長が 0 または 0 以下になっています。"));
    const double L = g.L;
    const double* P = s.data() + 3;  // P[1]..P[7]
    double* O = g.O;
    switch (type) {
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

void CheckProjectedLength(int memberRow, int code, int shapeNo, const MemberGeometry& g)
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
    AbortWithExclamation(QStringLiteral("ERROR：部材番号=") + QString::number(MemberNumberOfRow(memberRow))
                         + QStringLiteral("は") + plane + QStringLiteral("平面への投影長さが 0 のため、絶対系")
                         + direction + QStringLiteral("方向荷重(形状番号") + QString::number(shapeNo)
                         + QStringLiteral(")の設定は無効です。"));
}

PlaneEnds GetPlaneEnds(int plane, int memberRow)
{
    const int ci = plane == 0 ? 9 : 8, cj = plane == 0 ? 15 : 14;
    const double vi = MemberData[memberRow][ci], vj = MemberData[memberRow][cj];
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
    PlaneFixity(memberRow, plane, &e.pi, &e.pj);
    return e;
}

namespace {

// The routine of a load type for one plane, with the given intensities
// (w[1..3]: the load's intensities as entered, or their member components).
void CallTypeRoutine(int type, int plane, const double w[4], const std::array<double, 11>& s,
                     const MemberGeometry& g, const PlaneEnds& e)
{
    const double L = g.L;
    const double* O = g.O;
    const double* P = s.data() + 3;
    switch (type) {
    case 3: CalcPartialUniformFEF(plane, w[1], L, 0, L, 0, e); break;
    case 4: case 14: CalcPeakedTriangleFEF(plane, w[1], L, O[1], O[2], O[3], e); break;
    case 5: case 15: CalcLinearSegmentFEF(plane, w[1], w[2], L, O[1], O[2], e); break;
    case 6: case 16: CalcTwoSegmentFEF(plane, w[1], w[2], L, O[1], O[2], O[3], O[4], e); break;
    case 7: case 17: CalcPointLoadsFEF(plane, w[1], w[2], w[3], L, O[1], O[2], O[3], e); break;
    case 8: {
        const int n = RoundHalfEven(P[2]);
        if (P[1] != 0 && n >= 1) CalcEqualPointLoadsFEF(plane, w[1], n, L, O[1], e);
        break;
    }
    case 10: case 20: {
        // The rise length is P4, a real length for both types.
        CalcFloorLoadFEF(plane, w[1], RoundHalfEven(P[2]), w[3], P[4], L, O[1], O[2], O[3], e);
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

double& LoadAt(int equation, int caseNo) { return LoadColumns[static_cast<size_t>(equation) * (nCase + 1) + caseNo]; }

void AddMemberLoadEffects(int memberRow, int caseNo)
{
    CaseRecord& rec = MemberCaseRecords[memberRow];
    for (int m = 1; m <= 14; ++m) rec[caseNo][m] += FixedEndForces[m];
    Mat3 T;
    double L;
    BuildDirectionCosinesD(memberRow, T, L, 1, 1, 0, 0, 0);
    double G[13];
    for (int b = 0; b < 4; ++b)
        for (int r = 0; r < 3; ++r) {
            double sum = 0;
            for (int s = 0; s < 3; ++s) sum += T[s][r] * FixedEndForces[3 * b + s + 1];
            G[3 * b + r + 1] = sum;
        }
    const int ir = static_cast<int>(MemberData[memberRow][1]);
    const int jr = static_cast<int>(MemberData[memberRow][2]);
    for (int d = 1; d <= 6; ++d) {
        LoadAt(6 * (ir - 1) + d, caseNo) += G[d];
        LoadAt(6 * (jr - 1) + d, caseNo) += G[6 + d];
    }
}

}  // namespace

void PlaceMemberLoad(int memberRow, int caseNo, const std::array<double, 11>& s, int shapeNo)
{
    const int type = static_cast<int>(s[1]);
    const int code = static_cast<int>(s[3]);
    const double* P = s.data() + 3;
    MemberGeometry g;
    if (type != 2) g = GetMemberGeometry(memberRow, type, s);
    FixedEndForces.fill(0.0);
    if (type == 2) {
        AccumulateFEF(code == 1 ? PlaneZ : PlaneY, P[1], P[2], P[3], P[4], P[5], P[6], P[7]);
    } else if (IsForceType(type)) {
        if (code == 0 || code == 1) {
            const double w[4] = {0, P[1], P[2], P[3]};
            CallTypeRoutine(type, code, w, s, g, GetPlaneEnds(code, memberRow));
        } else if (code >= 2 && code <= 4) {
            CheckProjectedLength(memberRow, code, shapeNo, g);
            Mat3 T;
            double L;
            BuildDirectionCosinesD(memberRow, T, L, 1, 1, 0, 0, 0);
            g.L = L;
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
                    w[q] = P[q] * T[k][gc];
                    if (w[q] != 0) any = true;
                }
                if (!any) continue;
                if (k == 0) CallTypeRoutine(type, PlaneAxial, w, s, g, EndCaseOnly(4));
                else CallTypeRoutine(type, k - 1, w, s, g, GetPlaneEnds(k - 1, memberRow));
            }
        }
    }
    AddMemberLoadEffects(memberRow, caseNo);
}

void PlaceLoads()
{
    LoadColumns.assign(static_cast<size_t>(nDof + 1) * (nCase + 1), 0.0);
    MemberCaseRecords.assign(static_cast<size_t>(nMember + 1), CaseRecord{});
    for (const LoadPlacementRow& p : LoadPlacementTable) {
        const int r = p.shapeRow;
        if (r <= 0 || r >= static_cast<int>(LoadShapeTable.size())) continue;
        const std::array<double, 11>& s = LoadShapeTable[r];
        const int type = static_cast<int>(s[1]);
        const int caseNo = static_cast<int>(s[2]);
        if (caseNo < 1 || caseNo > nCase) continue;
        if (type == 1) {
            const double V[7] = {0, s[4], s[5], s[6], 100 * s[7], 100 * s[8], 100 * s[9]};
            for (int node : p.targets)
                for (int d = 1; d <= 6; ++d) LoadAt(6 * (node - 1) + d, caseNo) += V[d];
        } else {
            for (int member : p.targets) PlaceMemberLoad(member, caseNo, s, p.shapeNo);
        }
    }
}

void BuildLoadVectorsFromTables()
{
    PlaceLoads();
    ProgressMilestone();

    // "sm": the zero band with the load columns.
    std::vector<double> row(static_cast<size_t>(RowWidth + 1), 0.0);
    {
        BandFile sm;
        sm.Open(QStringLiteral("sm"), RowWidth, true);
        for (int e = 1; e <= nDof; ++e) {
            for (int c = 1; c <= nCase; ++c) row[HalfBand + c] = LoadAt(e, c);
            sm.PutRow(e, row.data());
        }
        sm.Close();
    }
    // "eq": the member records.
    {
        RecordFile eq;
        eq.Open(QStringLiteral("eq"), kEqRecordLength, true);
        std::vector<double> rec(17 * 15);
        for (int m = 1; m <= nMember; ++m) {
            for (int k = 0; k <= 16; ++k)
                for (int c = 0; c <= 14; ++c) rec[k + 17 * c] = MemberCaseRecords[m][k][c];
            eq.Put(m, rec.data());
        }
        eq.Close();
    }
    ProgressMilestone();
    // "ka": each node's loads; "sk": zeros.
    {
        RecordFile ka, sk;
        ka.Open(QStringLiteral("ka"), kNodeBlockLength, true);
        sk.Open(QStringLiteral("sk"), kNodeBlockLength, false);
        std::vector<double> block(17 * 13), zero(17 * 13, 0.0);
        for (int j = 1; j <= nNode; ++j) {
            std::fill(block.begin(), block.end(), 0.0);
            for (int k = 1; k <= nCase; ++k)
                for (int d = 1; d <= 6; ++d) block[k + 17 * d] = LoadAt(6 * (j - 1) + d, k);
            ka.Put(j, block.data());
            sk.Put(j, zero.data());
        }
    }
    ProgressMilestone();
}

void CloseLoadTables()
{
    LoadShapeTable.clear();
    LoadPlacementTable.clear();
}
