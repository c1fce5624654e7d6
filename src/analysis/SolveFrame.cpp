#include "analysis/SolveFrame.h"

#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/MemberStiffness.h"
#include "analysis/ScratchFiles.h"
#include "core/ProgramState.h"

#include <algorithm>
#include <cmath>

std::vector<double> NodalDisplacements;
std::vector<double> SupportReactions;
std::vector<CaseRecord> MemberEndForces;

namespace {

const char* const kDirectionNames[7] = {"", "X", "Y", "Z", "θx", "θy", "θz"};

[[noreturn]] void ReportUnstable(int equation)
{
    const int nodeRow = (equation - 1) / 6 + 1;
    const int component = (equation - 1) % 6 + 1;
    AbortWithExclamation(QStringLiteral("ERROR：節点番号=") + QString::number(NodeNumberOfRow(nodeRow))
                         + QStringLiteral(" の") + QString::fromUtf8(kDirectionNames[component])
                         + QStringLiteral("方向の剛性がありません（構造が不安定です）。"));
}

// A result that overflowed: nothing sensible can be written.
[[noreturn]] void ReportNotFinite(int equation)
{
    const int nodeRow = (equation - 1) / 6 + 1;
    const int component = (equation - 1) % 6 + 1;
    AbortWithExclamation(QStringLiteral("ERROR：節点番号=") + QString::number(NodeNumberOfRow(nodeRow))
                         + QStringLiteral(" の") + QString::fromUtf8(kDirectionNames[component])
                         + QStringLiteral("方向の変位が計算できません（数値が大きすぎます）。"));
}

// Phase 1: every member's global stiffness added to the band rows of "sm",
// node by node, so that each equation row passes through the file once.
void AssembleStiffness(BandFile& sm)
{
    std::vector<Mat12> Kg(static_cast<size_t>(nMember + 1));
    std::vector<std::vector<int>> incident(static_cast<size_t>(nNode + 1));
    MemberStiffnessState st;
    ProgressBar1(nMember, 0);
    for (int m = 1; m <= nMember; ++m) {
        BuildMemberStiffness(m, st, true);
        Kg[m] = st.GlobalStiffness;
        incident[st.iRow].push_back(m);
        incident[st.jRow].push_back(m);
        ProgressBar1(nMember, m);
    }
    ProgressBar1(nMember, 0);
    std::vector<double> rows(static_cast<size_t>(6) * (RowWidth + 1));
    for (int n = 1; n <= nNode; ++n) {
        if (incident[n].empty()) continue;
        for (int a = 0; a < 6; ++a) sm.GetRow(6 * (n - 1) + a + 1, &rows[a * (RowWidth + 1)]);
        for (int m : incident[n]) {
            const int ir = static_cast<int>(MemberData[m][1]), jr = static_cast<int>(MemberData[m][2]);
            const int own = n == ir ? 0 : 6;        // this node's member dofs
            const int other = n == ir ? 6 : 0;
            const int otherRow = n == ir ? jr : ir;
            for (int a = 0; a < 6; ++a) {
                double* row = &rows[a * (RowWidth + 1)];
                for (int b = a; b < 6; ++b) row[b - a + 1] += Kg[m][own + a][own + b];
                if (otherRow > n)
                    for (int b = 0; b < 6; ++b) row[6 * (otherRow - n) + b - a + 1] += Kg[m][own + a][other + b];
            }
        }
        for (int a = 0; a < 6; ++a) sm.PutRow(6 * (n - 1) + a + 1, &rows[a * (RowWidth + 1)]);
    }
    ProgressMilestone();
}

double SupportValue(int equation)
{
    return NodeData[(equation - 1) / 6 + 1][(equation - 1) % 6 + 4];
}

}  // namespace

void SolveFrameNumeric()
{
    const int HB = HalfBand, W = RowWidth, NC = nCase;
    const size_t stride = static_cast<size_t>(W + 1);
    NodalDisplacements.assign(static_cast<size_t>(nDof + 1) * (NC + 1), 0.0);
    SupportReactions.assign(static_cast<size_t>(nNode + 1) * (NC + 1) * 7, 0.0);

    BandFile sm;
    sm.Open(QStringLiteral("sm"), W, false);
    AssembleStiffness(sm);

    // Phases 2 and 3: "si" keeps the assembled equations; the supports are
    // applied to each row as it enters the elimination window.
    BandFile si;
    si.Open(QStringLiteral("si"), W, true);
    std::vector<char> fixed(static_cast<size_t>(nDof + 1), 0);
    for (int e = 1; e <= nDof; ++e) fixed[e] = SupportValue(e) == 1.0;
    std::vector<double> originalDiagonal(static_cast<size_t>(nDof + 1), 0.0);
    std::vector<double> window(static_cast<size_t>(HB) * stride, 0.0);
    auto slot = [&](int e) { return &window[static_cast<size_t>((e - 1) % HB) * stride]; };
    auto enter = [&](int e) {
        double* row = slot(e);
        sm.GetRow(e, row);
        si.PutRow(e, row);
        const double v = SupportValue(e);
        if (fixed[e]) {
            // u_e = 0, decoupled from every other equation.
            std::fill(row, row + stride, 0.0);
            row[1] = 1.0;
        } else {
            if (v != 0) row[1] += (e - 1) % 6 < 3 ? v : 100.0 * v;
            const int n = std::min(HB, nDof - e + 1);
            for (int m = 2; m <= n; ++m)
                if (fixed[e + m - 1]) row[m] = 0.0;
        }
        originalDiagonal[e] = row[1];
    };
    ProgressMilestone();   // copy without supports
    ProgressMilestone();   // supports

    // Phases 4 and 5: Gauss elimination of the band, loads reduced alongside.
    std::vector<char> skipped(static_cast<size_t>(nDof + 1), 0);
    for (int e = 1; e <= std::min(HB, nDof); ++e) enter(e);
    ProgressBar1(nDof, 0);
    for (int j = 1; j <= nDof; ++j) {
        double* U = slot(j);
        const double d = U[1];
        if (d == 0 || std::fabs(d) < kPivotTolerance * std::fabs(originalDiagonal[j])) {
            bool loaded = false;
            for (int c = 1; c <= NC; ++c) loaded = loaded || U[HB + c] != 0;
            // A free direction that nothing touches is left at 0; a loaded
            // one has nothing to carry its load.
            if (loaded) ReportUnstable(j);
            skipped[j] = 1;
        } else {
            const int reach = std::min(HB - 1, nDof - j);
            for (int o = 1; o <= reach; ++o) {
                const double f = U[o + 1] / d;
                if (f == 0) continue;
                double* R = slot(j + o);
                const int n = HB - o;
                const double* src = U + o + 1;
                double* dst = R + 1;
                for (int m = 0; m < n; ++m) dst[m] -= f * src[m];
                for (int c = 1; c <= NC; ++c) R[HB + c] -= f * U[HB + c];
            }
        }
        sm.PutRow(j, U);
        if (j + HB <= nDof) enter(j + HB);
        if ((j & 63) == 0) ProgressBar1(nDof, j);
    }
    si.Close();
    ProgressBar1(nDof, 0);
    ProgressMilestone();   // elimination
    ProgressMilestone();   // load reduction

    // Phase 6: back substitution, the displacements written back to "sm".
    std::vector<double> row(stride);
    auto X = [&](int e, int c) -> double& { return NodalDisplacements[static_cast<size_t>(e) * (NC + 1) + c]; };
    for (int j = nDof; j >= 1; --j) {
        sm.GetRow(j, row.data());
        if (skipped[j]) {
            for (int c = 1; c <= NC; ++c) X(j, c) = row[HB + c];
        } else {
            const int n = std::min(HB, nDof - j + 1);
            for (int c = 1; c <= NC; ++c) {
                double acc = 0;
                for (int m = 2; m <= n; ++m) acc += row[m] * X(j + m - 1, c);
                X(j, c) = (row[HB + c] - acc) / row[1];
            }
        }
        for (int c = 1; c <= NC; ++c) row[HB + c] = X(j, c);
        sm.PutRow(j, row.data());
    }
    sm.Close();
    for (int e = 1; e <= nDof; ++e)
        for (int c = 1; c <= NC; ++c)
            if (!std::isfinite(X(e, c))) ReportNotFinite(e);
    ProgressMilestone();

    // Phase 7: node displacements to "ka" (a record of the run).
    {
        RecordFile ka;
        ka.Open(QStringLiteral("ka"), kNodeBlockLength, false);
        std::vector<double> block(17 * 13);
        for (int n = 1; n <= nNode; ++n) {
            std::fill(block.begin(), block.end(), 0.0);
            for (int c = 1; c <= NC; ++c)
                for (int d = 1; d <= 6; ++d) block[c + 17 * d] = X(6 * (n - 1) + d, c);
            ka.Put(n, block.data());
        }
    }
    ProgressMilestone();

    // Phase 8: member end forces F = K·T·u − equivalent loads.
    MemberEndForces.assign(static_cast<size_t>(nMember + 1), CaseRecord{});
    {
        RecordFile eq;
        eq.Open(QStringLiteral("eq"), kEqRecordLength, false);
        std::vector<double> rec(17 * 15);
        MemberStiffnessState st;
        ProgressBar1(nMember, 0);
        for (int m = 1; m <= nMember; ++m) {
            BuildMemberStiffness(m, st, false);
            eq.Get(m, rec.data());
            CaseRecord& F = MemberEndForces[m];
            for (int c = 1; c <= NC; ++c) {
                double ug[12], ul[12];
                for (int a = 0; a < 6; ++a) {
                    ug[a] = X(6 * (st.iRow - 1) + a + 1, c);
                    ug[6 + a] = X(6 * (st.jRow - 1) + a + 1, c);
                }
                for (int b = 0; b < 4; ++b)
                    for (int r = 0; r < 3; ++r) {
                        double s = 0;
                        for (int k = 0; k < 3; ++k) s += st.T[r][k] * ug[3 * b + k];
                        ul[3 * b + r] = s;
                    }
                auto E = [&](int q) { return rec[c + 17 * q]; };
                for (int a = 0; a < 12; ++a) {
                    double s = 0;
                    for (int k = 0; k < 12; ++k) s += st.LocalStiffness[a][k] * ul[k];
                    F[c][a + 1] = s - E(a + 1);
                }
                F[c][13] = E(13) != 0 ? (F[c][11] - F[c][5]) / 2 + E(13) : 0.0;
                F[c][14] = E(14) != 0 ? E(14) - (F[c][12] - F[c][6]) / 2 : 0.0;
                for (int q = 1; q <= 14; ++q) rec[c + 17 * q] = F[c][q];
            }
            eq.Put(m, rec.data());
            if ((m & 15) == 0) ProgressBar1(nMember, m);
        }
        ProgressBar1(nMember, 0);
    }
    ProgressMilestone();

    // Phase 9: reactions, the residual of each supported unsupported equation
    // (for a spring, −k·u). One pass over "si" forms K·u for all equations.
    {
        si.Open(QStringLiteral("si"), W, false);
        std::vector<double> Ku(static_cast<size_t>(nDof + 1) * (NC + 1), 0.0), F(static_cast<size_t>(nDof + 1) * (NC + 1), 0.0);
        for (int e = 1; e <= nDof; ++e) {
            si.GetRow(e, row.data());
            const int n = std::min(HB, nDof - e + 1);
            for (int c = 1; c <= NC; ++c) {
                double acc = row[1] * X(e, c);
                const double ue = X(e, c);
                for (int m = 2; m <= n; ++m) {
                    const double k = row[m];
                    if (k == 0) continue;
                    acc += k * X(e + m - 1, c);
                    Ku[static_cast<size_t>(e + m - 1) * (NC + 1) + c] += k * ue;
                }
                Ku[static_cast<size_t>(e) * (NC + 1) + c] += acc;
                F[static_cast<size_t>(e) * (NC + 1) + c] = row[HB + c];
            }
        }
        si.Close();
        for (int e = 1; e <= nDof; ++e) {
            if (SupportValue(e) == 0) continue;
            const int n = (e - 1) / 6 + 1, comp = (e - 1) % 6 + 1;
            for (int c = 1; c <= NC; ++c)
                SupportReactions[(static_cast<size_t>(n) * (NC + 1) + c) * 7 + comp] =
                    Ku[static_cast<size_t>(e) * (NC + 1) + c] - F[static_cast<size_t>(e) * (NC + 1) + c];
        }
    }
    ProgressMilestone();
}

void SolveFrame()
{
    SolveFrameNumeric();
    WriteResultTables();
    ReleaseSolverData();
}

void ReleaseSolverData()
{
    NodalDisplacements = {};
    SupportReactions = {};
    MemberEndForces = {};
    MemberCaseRecords = {};
    LoadColumns = {};
}
