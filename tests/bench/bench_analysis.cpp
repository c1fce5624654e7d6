// Benchmark of the analysis: the largest model the arrays allow, run from the
// project database to the written tables, with the time of each stage.
//
// Usage: bench_analysis [folder]            times the ordered, shuffled and
//                                           wide models, seven runs each
//                                           (default folder: a temporary one)
//        bench_analysis --write KIND folder writes the project database of
//                                           one model (ordered, wide,
//                                           shuffled, random) and stops
#include "core/ProgramState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/ScratchFiles.h"
#include "analysis/SolveFrame.h"
#include "common/NewProject.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/Ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include "common/Values.h"

using rt::Variant;

namespace {

using testenv::I;
using testenv::S;
using testenv::T;

// The largest model the arrays allow: a 6 × 5 grid of 10 levels (300 nodes,
// the lowest level fixed), columns, beams along X and diagonals up to 500
// members, 10 load cases with member loads of every type.
//  ordered   numbered and displayed floor by floor (half band 186)
//  wide      the same with the last member joining the first and the last node
//  shuffled  the same frame with node and member numbers and display orders
//            in random order (the band spans nearly every equation)
//  random    shuffled, with jittered coordinates, random sections, member
//            ends (pins, springs, torsion releases), support springs and load
//            values
enum class ModelKind { Ordered, Wide, Shuffled, Random };

void WriteModel(ModelKind kind)
{
    std::mt19937 rng(kind == ModelKind::Random ? 20240611u : 7u);
    std::uniform_real_distribution<double> U(0, 1);
    const bool shuffled = kind == ModelKind::Shuffled || kind == ModelKind::Random;
    const bool random = kind == ModelKind::Random;
    const int nx = 6, ny = 5, nz = 10, nNodes = nx * ny * nz;

    dao::DatabasePtr db = testenv::NewProject({.name = QStringLiteral("BENCH"), .cases = 10});
    db->BeginTrans();

    // Number and display order of each node and member (by its place in the frame).
    auto permutation = [&](int n) {
        std::vector<int> p(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k) p[static_cast<size_t>(k)] = k + 1;
        if (shuffled) std::shuffle(p.begin(), p.end(), rng);
        return p;
    };
    const std::vector<int> nodeNo = permutation(nNodes), nodeOrder = permutation(nNodes);
    const std::vector<int> memberNo = permutation(500), memberOrder = permutation(500);
    auto node = [&](int i, int j, int k) { return nodeNo[static_cast<size_t>((k * ny + j) * nx + i)]; };
    auto member = [&](int m) { return memberNo[static_cast<size_t>(m - 1)]; };

    std::vector<std::vector<Variant>> rows;
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                const double jitter = random && k > 0 ? 0.3 : 0.0;
                rows.push_back({I(node(i, j, k)), S(6.0 * i + jitter * U(rng)), S(7.0 * j + jitter * U(rng)),
                                S(3.5 * k + jitter * U(rng)), I(nodeOrder[static_cast<size_t>((k * ny + j) * nx + i)])});
            }
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", QStringLiteral("順")}, rows);

    rows = {{I(1), S(20500), S(7900), S(120), S(8000), S(30000), S(20000), I(1)},
            {I(2), S(20500), S(7900), S(80), S(500), S(25000), S(1500), I(2)}};
    if (random)
        for (int s = 3; s <= 12; ++s)
            rows.push_back({I(s), S(20500), S(7900), S(50 + 100 * U(rng)), S(200 + 8000 * U(rng)),
                            S(2000 + 30000 * U(rng)), S(1000 + 20000 * U(rng)), I(s)});
    db->AppendRows(QStringLiteral("材料定数1"), {"No_", "E", QStringLiteral("γ"), "A", "Ixx", "Iyy", "Izz", QStringLiteral("順")}, rows);
    db->AppendRows(QStringLiteral("材料定数2"), QStringList{"No_", "TYP"} + testenv::SlotFields(5) + QStringList{QStringLiteral("φx"), QStringLiteral("φy"), "E", QStringLiteral("γ"), QStringLiteral("順")},
                   {{I(1001), I(2), S(400), S(200), S(8), S(13), S(16), S(0), S(0), S(20500), S(7900), I(1)},
                    {I(1002), I(4), S(250), S(200), S(9), S(18), S(0), S(0.8), S(0), S(20500), S(7900), I(2)}});

    // Members in frame order: columns (1..270), beams along X (271..495), diagonals.
    auto section = [&](int m, int regular) { return random ? (m % 7 == 0 ? 1002 : 3 + static_cast<int>(U(rng) * 10)) : regular; };
    rows.clear();
    int m = 0;
    auto addMember = [&](int i, int j, int sec) {
        ++m;
        rows.push_back({I(member(m)), I(i), I(j), I(sec), I(memberOrder[static_cast<size_t>(m - 1)])});
    };
    for (int k = 1; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) addMember(node(i, j, k - 1), node(i, j, k), section(m + 1, 1));
    for (int k = 1; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i + 1 < nx; ++i) addMember(node(i, j, k), node(i + 1, j, k), section(m + 1, (m + 1) % 2 ? 2 : 1001));
    for (int k = 1; m < 500; ++k) addMember(node(0, k % ny, k), node(0, (k + 1) % ny, k), section(m + 1, 2));
    if (kind == ModelKind::Wide)
        rows.back() = {I(member(500)), I(node(0, 0, 0)), I(node(nx - 1, ny - 1, nz - 1)), I(2), I(memberOrder[499])};
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号"), QStringLiteral("順")}, rows);

    // Supports: the lowest level fixed; in the random model some with springs.
    std::vector<std::vector<Variant>> types{{I(1), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), I(1)}};
    if (random) types.push_back({I(2), T("拘束"), T("拘束"), T("拘束"), T("5000"), T("自由"), T("8000"), I(2)});
    db->AppendRows(QStringLiteral("節点拘束形状"), {"No_", "u", "v", "w", QStringLiteral("θx"), QStringLiteral("θy"), QStringLiteral("θz"), QStringLiteral("順")}, types);
    rows.clear();
    for (int r = 0; r < 3; ++r) {
        std::vector<Variant> row{I(r + 1), I(random && r == 1 ? 2 : 1)};
        for (int s = 0; s < 10; ++s) row.push_back(I(r * 10 + s < nx * ny ? nodeNo[static_cast<size_t>(r * 10 + s)] : 0));
        row.push_back(I(r + 1));
        rows.push_back(row);
    }
    db->AppendRows(QStringLiteral("節点拘束配置"), QStringList{"No_", QStringLiteral("拘束形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")}, rows);

    // Member ends: rigid; pin about z with a spring about y; in the random
    // model also springs, pins and torsion releases on beams.
    types = {{I(1), T("剛"), T("剛"), T("剛"), T("剛"), T("剛"), T("剛"), I(1)},
             {I(2), T("剛"), T("剛"), T("剛"), T("剛"), T("3000"), T("ピン"), I(2)}};
    rows = {{I(1), I(1), I(2)}};
    for (int b = 280; b <= 370; b += 10) rows.back().push_back(I(member(b)));
    rows.back().push_back(I(1));
    if (random) {
        types.push_back({I(3), T("剛"), T("剛"), T("剛"), T("ピン"), T("1500"), T("2500"), I(3)});
        types.push_back({I(4), T("剛"), T("剛"), T("剛"), T("剛"), T("ピン"), T("4000"), I(4)});
        types.push_back({I(5), T("剛"), T("剛"), T("剛"), T("剛"), T("ピン"), T("ピン"), I(5)});
        const int pairs[][2] = {{3, 1}, {1, 4}, {4, 1}, {2, 3}, {1, 5}, {5, 1}};
        int no = 1;
        for (const auto& p : pairs) {
            std::vector<Variant> row{I(++no), I(p[0]), I(p[1])};
            for (int s = 0; s < 10; ++s) row.push_back(I(member(271 + static_cast<int>(U(rng) * 225))));
            row.push_back(I(no));
            rows.push_back(row);
        }
    }
    db->AppendRows(QStringLiteral("要素端部形状"), {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", QStringLiteral("順")}, types);
    db->AppendRows(QStringLiteral("要素端部配置"), QStringList{"No_", QStringLiteral("i端部形状"), QStringLiteral("j端部形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")}, rows);

    // Every member-load type in every case, each on ten beams; nodal loads.
    struct Type { int typ; std::array<double, 7> P; };
    const Type loadTypes[] = {{2, {1, 2, 3, -1, -2, -3, 4}}, {3, {-5}}, {4, {-6, 1, 2, 2}}, {5, {-4, -2, 1, 3}},
                              {6, {-3, -5, 0.5, 1, 2, 1}}, {7, {-10, -5, -8, 1, 2, 1.5}}, {8, {-7, 3}},
                              {10, {-5, 2, -3, 0.8, 2, 2}}, {14, {-6, 0.1, 0.3, 0.4}}, {15, {-2, -6, 0.1, 0.8}},
                              {16, {-3, -1, 0.1, 0.2, 0.3, 0.2}}, {17, {-8, -8, 0, 0.25, 0.5}}, {20, {-4, 1, -2, 1, 0.5}}};
    // (the loaded beams run along X, where a load along X is refused)
    const QString dirs[4] = {QStringLiteral("y 部材系"), QStringLiteral("z 部材系"), QStringLiteral("Y 絶対系"),
                             QStringLiteral("Z 絶対系")};
    // The random model scales the loads' forces, not their counts and positions.
    auto scaled = [&](double p) { return random ? p * (0.5 + U(rng)) : p; };
    auto value = [&](int typ, int k, double p) {
        const bool force = k == 0 || typ == 2 || (k == 1 && (typ == 5 || typ == 6 || typ == 7 || typ == 15 || typ == 16 || typ == 17))
                           || (k == 2 && (typ == 7 || typ == 10 || typ == 20));
        return force ? scaled(p) : p;
    };
    std::vector<std::vector<Variant>> shapes, places;
    int no = 0;
    for (int c = 1; c <= 10; ++c) {
        for (const Type& t : loadTypes) {
            ++no;
            std::vector<Variant> row{I(no), I(t.typ), I(c), T(dirs[(no + c) % 4])};
            for (int k = 0; k < 7; ++k) row.push_back(S(value(t.typ, k, t.P[static_cast<size_t>(k)])));
            row.push_back(I(no));
            shapes.push_back(row);
            std::vector<Variant> place{I(no), I(no)};
            for (int s = 0; s < 10; ++s) place.push_back(I(member(271 + (no * 7 + s * 13) % 225)));   // beams along X
            place.push_back(I(no));
            places.push_back(place);
        }
        ++no;
        shapes.push_back({I(no), I(1), I(c), T(dirs[0]), S(scaled(10 * c)), S(scaled(-5)), S(scaled(-20)),
                          S(scaled(1)), S(scaled(2)), S(scaled(3)), S(0), I(no)});
        std::vector<Variant> place{I(no), I(no)};
        for (int s = 0; s < 10; ++s) place.push_back(I(nodeNo[static_cast<size_t>(30 + (c * 17 + s * 23) % 270)]));
        place.push_back(I(no));
        places.push_back(place);
    }
    db->AppendRows(QStringLiteral("荷重形状"), QStringList{"No_", "TYP", "Case", QStringLiteral("座標系")} + testenv::SlotFields(7) + QStringList{QStringLiteral("順")}, shapes);
    db->AppendRows(QStringLiteral("荷重配置"), QStringList{"No_", QStringLiteral("荷重形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")}, places);
    db->CommitTrans();
    db->Close();
}

struct Timer : AnalysisProgressSink {
    QElapsedTimer clock;
    std::vector<double> marks;
    void Milestone() override { marks.push_back(clock.nsecsElapsed() / 1e6); }
    void Bar1(int, int) override {}
    void Bar2(bool, int, int) override {}
};

long PeakKiB()
{
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

const char* const kKindNames[] = {"ordered", "wide", "shuffled", "random"};

// Stage times of one run, ms.
struct StageTimes {
    double values[9];
};
const char* const kStageNames[9] = {"model load and checks", "load vectors", "assembly", "elimination with loads",
                                    "back substitution", "member forces", "reactions", "writing the five tables",
                                    "total"};

StageTimes RunOnce(FrameModel* sizes)
{
    Timer t;
    AnalysisState run;
    run.progress = &t;
    t.clock.start();
    ReadCaseCountForAnalysis(run);
    LoadStructureModel(run);
    const double load = t.clock.nsecsElapsed() / 1e6;
    BuildLoadVectors(run);
    const double loads = t.clock.nsecsElapsed() / 1e6;
    SolveFrameNumeric(run);
    const double solve = t.clock.nsecsElapsed() / 1e6;
    WriteResultTables(run);
    const double write = t.clock.nsecsElapsed() / 1e6;
    DeleteScratchFiles();
    *sizes = run.model;
    // Solver milestones: 12..20 of the run (assembly, copy, supports, elimination,
    // load reduction, back substitution, "ka", member forces, reactions).
    const double* m = t.marks.data() + 11;
    return {{load, loads - load, m[0] - loads, m[4] - m[0], m[5] - m[4], m[7] - m[5], m[8] - m[7], write - solve, write}};
}

// The model written once and run `runs` times: the median and the range of each stage.
void Run(ModelKind kind, int runs)
{
    WriteModel(kind);
    FrameModel model;
    std::vector<StageTimes> times;
    for (int k = 0; k < runs; ++k) times.push_back(RunOnce(&model));
    std::printf("%s: nodes %d, members %d, cases %d, equations %d, half band %d; %d runs: median (min to max)\n",
                kKindNames[static_cast<int>(kind)], model.nNode, model.nMember, model.nCase, model.nDof, model.HalfBand, runs);
    for (int stage = 0; stage < 9; ++stage) {
        std::vector<double> v;
        for (const StageTimes& t : times) v.push_back(t.values[stage]);
        std::sort(v.begin(), v.end());
        std::printf("  %-26s %8.1f ms  (%.1f to %.1f)\n", kStageNames[stage], v[v.size() / 2], v.front(), v.back());
    }
    std::printf("  peak memory so far         %8.1f MB\n", PeakKiB() / 1024.0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ProgramStateScope programState;
    ui::SetCurrent(std::make_shared<ui::ScriptedServices>());
    const QStringList args = app.arguments().mid(1);
    QTemporaryDir tmp;
    try {
        if (args.size() == 3 && args[0] == QStringLiteral("--write")) {
            for (int k = 0; k < 4; ++k)
                if (args[1] == QLatin1String(kKindNames[k])) {
                    QDir().mkpath(args[2]);
                    QDir::setCurrent(args[2]);
                    QFile::remove(kWorkingDatabase);
                    WriteModel(static_cast<ModelKind>(k));
                    return 0;
                }
            std::fprintf(stderr, "unknown model: %s\n", qPrintable(args[1]));
            return 2;
        }
        const QString dir = args.isEmpty() ? tmp.path() : args[0];
        QDir().mkpath(dir);
        QDir::setCurrent(dir);
        for (ModelKind kind : {ModelKind::Ordered, ModelKind::Shuffled, ModelKind::Wide}) {
            QFile::remove(kWorkingDatabase);
            Run(kind, 7);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
