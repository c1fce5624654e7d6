#include "analysis/SolveFrame.h"

#include "analysis/AnalysisTables.h"
#include "analysis/MemberStiffness.h"
#include "analysis/ScratchFiles.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kDirectionNames[7] = {"", "X", "Y", "Z", "θx", "θy", "θz"};

QString NodeDirectionText(const FrameModel& model, int equation)
{
    const int nodeRow = (equation - 1) / 6 + 1;
    const int component = (equation - 1) % 6 + 1;
    return QStringLiteral("ERROR：節点番号=") + QString::number(model.NodeNumber(nodeRow)) + QStringLiteral(" の")
           + QString::fromUtf8(kDirectionNames[component]);
}

[[noreturn]] void ReportUnstable(const FrameModel& model, int equation)
{
    AnalysisFailure::Error(NodeDirectionText(model, equation) + QStringLiteral("方向の剛性がありません（構造が不安定です）。"));
}

// A result that overflowed: nothing sensible can be written.
[[noreturn]] void ReportNotFinite(const FrameModel& model, int equation)
{
    AnalysisFailure::Error(NodeDirectionText(model, equation) + QStringLiteral("方向の変位が計算できません（数値が大きすぎます）。"));
}

double SupportValue(const FrameModel& model, int equation)
{
    return model.nodes[static_cast<size_t>((equation - 1) / 6 + 1)].restraint[static_cast<size_t>((equation - 1) % 6)];
}

// Every member's global stiffness added to the band rows of "sm", node by
// node, so that each equation row passes through the file once.
void AssembleStiffness(const AnalysisState& run, BandFile& sm)
{
    const FrameModel& model = run.model;
    const int W = model.RowWidth;
    std::vector<Mat12> Kg(static_cast<size_t>(model.nMember + 1));
    std::vector<std::vector<int>> incident(static_cast<size_t>(model.nNode + 1));
    MemberStiffnessState st;
    run.Bar1(model.nMember, 0);
    for (int m = 1; m <= model.nMember; ++m) {
        BuildMemberStiffness(model, m, st, true);
        Kg[static_cast<size_t>(m)] = st.GlobalStiffness;
        incident[static_cast<size_t>(st.iRow)].push_back(m);
        incident[static_cast<size_t>(st.jRow)].push_back(m);
        run.Bar1(model.nMember, m);
    }
    run.Bar1(model.nMember, 0);
    std::vector<double> rows(static_cast<size_t>(6) * (W + 1));
    for (int n = 1; n <= model.nNode; ++n) {
        if (incident[static_cast<size_t>(n)].empty()) continue;
        for (int a = 0; a < 6; ++a) sm.GetRow(6 * (n - 1) + a + 1, &rows[static_cast<size_t>(a * (W + 1))]);
        for (int m : incident[static_cast<size_t>(n)]) {
            const MemberRecord& member = model.members[static_cast<size_t>(m)];
            const Mat12& K = Kg[static_cast<size_t>(m)];
            const int own = n == member.iRow ? 0 : 6;        // this node's member dofs
            const int other = n == member.iRow ? 6 : 0;
            const int otherRow = n == member.iRow ? member.jRow : member.iRow;
            for (int a = 0; a < 6; ++a) {
                double* row = &rows[static_cast<size_t>(a * (W + 1))];
                for (int b = a; b < 6; ++b) row[b - a + 1] += K[own + a][own + b];
                if (otherRow > n)
                    for (int b = 0; b < 6; ++b) row[6 * (otherRow - n) + b - a + 1] += K[own + a][other + b];
            }
        }
        for (int a = 0; a < 6; ++a) sm.PutRow(6 * (n - 1) + a + 1, &rows[static_cast<size_t>(a * (W + 1))]);
    }
    run.Milestone();
}

// HalfBand consecutive band rows: the elimination's working set. Equation e
// lives in slot (e − 1) mod HalfBand.
class BandWindow {
public:
    BandWindow(int halfBand, int rowWidth)
        : halfBand_(halfBand), stride_(static_cast<size_t>(rowWidth + 1)), rows_(static_cast<size_t>(halfBand) * stride_, 0.0)
    {
    }
    double* Row(int equation) { return &rows_[static_cast<size_t>((equation - 1) % halfBand_) * stride_]; }
    size_t Stride() const { return stride_; }

private:
    int halfBand_;
    size_t stride_;
    std::vector<double> rows_;
};

// The loads of each case, forces and moments apart, as the largest sum of
// the magnitudes that make up one equation's load: the measure of the
// rounding in a load that should be 0.
class LoadScale {
public:
    explicit LoadScale(const AnalysisState& run) : nCase_(run.model.nCase), largest_(2 * static_cast<size_t>(nCase_ + 1), 0.0)
    {
        const std::vector<double>& loads = run.loads.magnitudes;
        if (loads.size() < static_cast<size_t>(run.model.nDof + 1) * (nCase_ + 1)) return;   // no loads placed
        for (int e = 1; e <= run.model.nDof; ++e)
            for (int c = 1; c <= nCase_; ++c) {
                double& m = largest_[Slot(e, c)];
                m = std::max(m, std::fabs(loads[static_cast<size_t>(e) * (nCase_ + 1) + c]));
            }
    }
    double Of(int equation, int caseNo) const { return largest_[Slot(equation, caseNo)]; }

private:
    size_t Slot(int equation, int caseNo) const
    {
        return static_cast<size_t>((equation - 1) % 6 < 3 ? 0 : 1) * (nCase_ + 1) + static_cast<size_t>(caseNo);
    }
    int nCase_;
    std::vector<double> largest_;
};

// dst[m] −= f·src[m] for m < n: the inner loop of the elimination, where
// nearly all of the solution's time goes. The two rows never overlap.
void SubtractMultiple(double* __restrict dst, const double* __restrict src, double f, int n)
{
    for (int m = 0; m < n; ++m) dst[m] -= f * src[m];
}

// Gauss elimination of the band without pivoting, the loads of all cases
// reduced alongside. Each row enters the window from "sm"; its assembled form
// is kept in "si" for the reactions, then the supports are applied to it (a
// fixed direction becomes u = 0, decoupled from every other equation; a
// spring adds to the diagonal). The reduced rows go back to "sm". Returns
// the equations whose pivot vanished.
std::vector<char> EliminateBand(const AnalysisState& run, BandFile& sm)
{
    const FrameModel& model = run.model;
    const int HB = model.HalfBand, NC = model.nCase, nDof = model.nDof;
    BandFile si;
    si.Open(QStringLiteral("si"), model.RowWidth, true);
    std::vector<char> fixed(static_cast<size_t>(nDof + 1), 0);
    for (int e = 1; e <= nDof; ++e) fixed[static_cast<size_t>(e)] = SupportValue(model, e) == 1.0;
    std::vector<double> diagonalBeforeElimination(static_cast<size_t>(nDof + 1), 0.0);
    BandWindow window(HB, model.RowWidth);
    auto enter = [&](int e) {
        double* row = window.Row(e);
        sm.GetRow(e, row);
        si.PutRow(e, row);
        const double v = SupportValue(model, e);
        if (fixed[static_cast<size_t>(e)]) {
            std::fill(row, row + window.Stride(), 0.0);
            row[1] = 1.0;
        } else {
            if (v != 0) row[1] += (e - 1) % 6 < 3 ? v : 100.0 * v;   // rotational springs in kN·cm/rad
            const int n = std::min(HB, nDof - e + 1);
            for (int m = 2; m <= n; ++m)
                if (fixed[static_cast<size_t>(e + m - 1)]) row[m] = 0.0;
        }
        diagonalBeforeElimination[static_cast<size_t>(e)] = row[1];
    };
    run.Milestone();   // the copy without supports
    run.Milestone();   // the supports

    const LoadScale scale(run);
    std::vector<char> skipped(static_cast<size_t>(nDof + 1), 0);
    for (int e = 1; e <= std::min(HB, nDof); ++e) enter(e);
    run.Bar1(nDof, 0);
    for (int j = 1; j <= nDof; ++j) {
        double* U = window.Row(j);
        const double d = U[1];
        if (d == 0 || std::fabs(d) < kPivotTolerance * std::fabs(diagonalBeforeElimination[static_cast<size_t>(j)])) {
            // A direction without stiffness (one that no member and no
            // support touches, or a mechanism) is left at 0 when it carries
            // no load; loads that cancel but for their rounding carry none.
            // A loaded one has nothing to carry its load.
            for (int c = 1; c <= NC; ++c)
                if (std::fabs(U[HB + c]) > kLoadRounding * scale.Of(j, c)) ReportUnstable(model, j);
            skipped[static_cast<size_t>(j)] = 1;
        } else {
            const int reach = std::min(HB - 1, nDof - j);
            for (int o = 1; o <= reach; ++o) {
                const double f = U[o + 1] / d;
                if (f == 0) continue;
                double* R = window.Row(j + o);
                // Row j + o from its diagonal to the last equation within the band.
                SubtractMultiple(R + 1, U + o + 1, f, std::min(HB - o, nDof - j - o + 1));
                for (int c = 1; c <= NC; ++c) R[HB + c] -= f * U[HB + c];
            }
        }
        sm.PutRow(j, U);
        if (j + HB <= nDof) enter(j + HB);
        if ((j & 63) == 0) run.Bar1(nDof, j);
    }
    si.Close();
    run.Bar1(nDof, 0);
    run.Milestone();   // elimination
    run.Milestone();   // load reduction
    return skipped;
}

double& At(std::vector<double>& byEquation, int e, int c, int nCase)
{
    return byEquation[static_cast<size_t>(e) * (nCase + 1) + c];
}

// Back substitution from the last equation up; the displacements are kept
// and written back to the load columns of "sm". A skipped equation stays at 0.
void BackSubstitute(AnalysisState& run, BandFile& sm, const std::vector<char>& skipped)
{
    const FrameModel& model = run.model;
    const int HB = model.HalfBand, NC = model.nCase, nDof = model.nDof;
    std::vector<double>& X = run.results.displacements;
    std::vector<double> row(static_cast<size_t>(model.RowWidth + 1));
    std::vector<double> acc(static_cast<size_t>(NC + 1));
    for (int j = nDof; j >= 1; --j) {
        sm.GetRow(j, row.data());
        double* x = &At(X, j, 0, NC);
        if (skipped[static_cast<size_t>(j)]) {
            for (int c = 1; c <= NC; ++c) x[c] = 0.0;
        } else {
            // The cases side by side: each sum still runs over the band in order.
            std::fill(acc.begin(), acc.end(), 0.0);
            const int n = std::min(HB, nDof - j + 1);
            for (int m = 2; m <= n; ++m) {
                const double k = row[static_cast<size_t>(m)];
                const double* xm = &At(X, j + m - 1, 0, NC);
                for (int c = 1; c <= NC; ++c) acc[static_cast<size_t>(c)] += k * xm[c];
            }
            for (int c = 1; c <= NC; ++c) x[c] = (row[static_cast<size_t>(HB + c)] - acc[static_cast<size_t>(c)]) / row[1];
        }
        for (int c = 1; c <= NC; ++c) row[static_cast<size_t>(HB + c)] = x[c];
        sm.PutRow(j, row.data());
    }
}

void CheckDisplacementsFinite(AnalysisState& run)
{
    const FrameModel& model = run.model;
    for (int e = 1; e <= model.nDof; ++e)
        for (int c = 1; c <= model.nCase; ++c)
            if (!std::isfinite(At(run.results.displacements, e, c, model.nCase))) ReportNotFinite(model, e);
}

// "ka": each node's displacements, a record of the run.
void WriteNodeDisplacements(AnalysisState& run)
{
    const FrameModel& model = run.model;
    RecordFile ka;
    ka.Open(QStringLiteral("ka"), kNodeBlockLength, false);
    std::vector<double> block(17 * 13);
    for (int n = 1; n <= model.nNode; ++n) {
        std::fill(block.begin(), block.end(), 0.0);
        for (int c = 1; c <= model.nCase; ++c)
            for (int d = 1; d <= 6; ++d)
                block[static_cast<size_t>(c + 17 * d)] = At(run.results.displacements, 6 * (n - 1) + d, c, model.nCase);
        ka.Put(n, block.data());
    }
    ka.Close();
}

// Member end forces F = K·T·u − equivalent loads, and the mid-span moments;
// "eq" receives them in place of the equivalent loads.
void ComputeMemberEndForces(AnalysisState& run)
{
    const FrameModel& model = run.model;
    const int NC = model.nCase;
    std::vector<double>& X = run.results.displacements;
    run.results.memberEndForces.assign(static_cast<size_t>(model.nMember + 1), CaseRecord{});
    RecordFile eq;
    eq.Open(QStringLiteral("eq"), kEqRecordLength, false);
    std::vector<double> rec(17 * 15);
    MemberStiffnessState st;
    run.Bar1(model.nMember, 0);
    for (int m = 1; m <= model.nMember; ++m) {
        BuildMemberStiffness(model, m, st, false);
        eq.Get(m, rec.data());
        CaseRecord& F = run.results.memberEndForces[static_cast<size_t>(m)];
        for (int c = 1; c <= NC; ++c) {
            double ug[12], ul[12];
            for (int a = 0; a < 6; ++a) {
                ug[a] = At(X, 6 * (st.iRow - 1) + a + 1, c, NC);
                ug[6 + a] = At(X, 6 * (st.jRow - 1) + a + 1, c, NC);
            }
            for (int b = 0; b < 4; ++b)
                for (int r = 0; r < 3; ++r) {
                    double s = 0;
                    for (int k = 0; k < 3; ++k) s += st.T[r][k] * ug[3 * b + k];
                    ul[3 * b + r] = s;
                }
            auto E = [&](int q) { return rec[static_cast<size_t>(c + 17 * q)]; };
            for (int a = 0; a < 12; ++a) {
                double s = 0;
                for (int k = 0; k < 12; ++k) s += st.LocalStiffness[a][k] * ul[k];
                F[c][a + 1] = s - E(a + 1);
            }
            // The simple span's moment may be 0 under a load (one antisymmetric
            // about mid-span): the plane's loads, not that value, decide.
            const uint8_t planes = run.loads.loadedPlanes[static_cast<size_t>(m)][static_cast<size_t>(c)];
            F[c][13] = planes & LoadedPlaneZ ? (F[c][11] - F[c][5]) / 2 + E(13) : 0.0;
            F[c][14] = planes & LoadedPlaneY ? E(14) - (F[c][12] - F[c][6]) / 2 : 0.0;
            for (int q = 1; q <= 14; ++q) rec[static_cast<size_t>(c + 17 * q)] = F[c][q];
        }
        eq.Put(m, rec.data());
        if ((m & 15) == 0) run.Bar1(model.nMember, m);
    }
    eq.Close();
    run.Bar1(model.nMember, 0);
    run.Milestone();
}

// Reactions: the residual K·u − F of each supported equation before the
// supports (for a spring, −k·u). One pass over "si" forms K·u for all.
void ComputeReactions(AnalysisState& run)
{
    const FrameModel& model = run.model;
    const int HB = model.HalfBand, NC = model.nCase, nDof = model.nDof;
    std::vector<double>& X = run.results.displacements;
    BandFile si;
    si.Open(QStringLiteral("si"), model.RowWidth, false);
    std::vector<double> row(static_cast<size_t>(model.RowWidth + 1));
    std::vector<double> Ku(static_cast<size_t>(nDof + 1) * (NC + 1), 0.0), F(static_cast<size_t>(nDof + 1) * (NC + 1), 0.0);
    std::vector<double> acc(static_cast<size_t>(NC + 1));
    for (int e = 1; e <= nDof; ++e) {
        si.GetRow(e, row.data());
        const int n = std::min(HB, nDof - e + 1);
        // The cases side by side: each sum still runs over the band in order.
        const double* xe = &At(X, e, 0, NC);
        for (int c = 1; c <= NC; ++c) acc[static_cast<size_t>(c)] = row[1] * xe[c];
        for (int m = 2; m <= n; ++m) {
            const double k = row[static_cast<size_t>(m)];
            if (k == 0) continue;
            const double* xm = &At(X, e + m - 1, 0, NC);
            double* kum = &At(Ku, e + m - 1, 0, NC);
            for (int c = 1; c <= NC; ++c) {
                acc[static_cast<size_t>(c)] += k * xm[c];
                kum[c] += k * xe[c];
            }
        }
        for (int c = 1; c <= NC; ++c) {
            At(Ku, e, c, NC) += acc[static_cast<size_t>(c)];
            At(F, e, c, NC) = row[static_cast<size_t>(HB + c)];
        }
    }
    si.Close();
    for (int e = 1; e <= nDof; ++e) {
        if (SupportValue(model, e) == 0) continue;
        const int n = (e - 1) / 6 + 1, comp = (e - 1) % 6 + 1;
        for (int c = 1; c <= NC; ++c)
            run.results.reactions[(static_cast<size_t>(n) * (NC + 1) + c) * 7 + comp] = At(Ku, e, c, NC) - At(F, e, c, NC);
    }
    run.Milestone();
}

}  // namespace

void SolveFrameNumeric(AnalysisState& run)
{
    const FrameModel& model = run.model;
    run.results.displacements.assign(static_cast<size_t>(model.nDof + 1) * (model.nCase + 1), 0.0);
    run.results.reactions.assign(static_cast<size_t>(model.nNode + 1) * (model.nCase + 1) * 7, 0.0);
    BandFile sm;
    sm.Open(QStringLiteral("sm"), model.RowWidth, false);
    AssembleStiffness(run, sm);
    const std::vector<char> skipped = EliminateBand(run, sm);
    BackSubstitute(run, sm, skipped);
    sm.Close();
    CheckDisplacementsFinite(run);
    run.Milestone();
    WriteNodeDisplacements(run);
    run.Milestone();
    ComputeMemberEndForces(run);
    ComputeReactions(run);
}

void SolveFrame(AnalysisState& run)
{
    SolveFrameNumeric(run);
    WriteResultTables(run);
}
