// Benchmark of the analysis: the largest model the arrays allow (300 nodes,
// 500 members, 10 load cases with member loads of every type), run from the
// project database to the written tables. Two orderings: a building numbered
// floor by floor (half band 186) and the same with one member joining the
// first and the last node (half band 1800).
//
// Usage: bench_analysis [folder]   (default: a temporary folder)
#include "core/ProgramState.h"
#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/ScratchFiles.h"
#include "analysis/SolveFrame.h"
#include "core/MakeDatabase.h"
#include "platform/Database.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>
#include "common/Values.h"

using rt::Variant;

namespace {

using testenv::I;
using testenv::S;
using testenv::T;

// 6 × 5 grid, 10 levels (the lowest fixed), columns, beams along X, and
// diagonals up to 500 members; `wide` makes the last member join the first
// and the last node.
void WriteModel(bool wide)
{
    int16_t mode = 0;
    MakeDatabase(mode);
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    db->BeginTrans();
    db->AppendRows(QStringLiteral("基本データ"), {QStringLiteral("工事名"), QStringLiteral("設計者"), "Note", "Unit", "Case", "E", QStringLiteral("γ")},
                   {{T("BENCH"), T(" "), T(" "), T("True"), I(10), S(20500), S(7900)}});
    const int nx = 6, ny = 5, nz = 10;
    auto id = [&](int i, int j, int k) { return (k * ny + j) * nx + i + 1; };
    std::vector<std::vector<Variant>> rows;
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) rows.push_back({I(id(i, j, k)), S(6.0 * i), S(7.0 * j), S(3.5 * k), I(id(i, j, k))});
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", QStringLiteral("順")}, rows);
    rows = {{I(1), S(20500), S(7900), S(120), S(8000), S(30000), S(20000), I(1)},
            {I(2), S(20500), S(7900), S(80), S(500), S(25000), S(1500), I(2)}};
    db->AppendRows(QStringLiteral("材料定数1"), {"No_", "E", QStringLiteral("γ"), "A", "Ixx", "Iyy", "Izz", QStringLiteral("順")}, rows);
    db->AppendRows(QStringLiteral("材料定数2"), QStringList{"No_", "TYP"} + testenv::SlotFields(5) + QStringList{QStringLiteral("φx"), QStringLiteral("φy"), "E", QStringLiteral("γ"), QStringLiteral("順")},
                   {{I(1001), I(2), S(400), S(200), S(8), S(13), S(16), S(0), S(0), S(20500), S(7900), I(1)}});
    rows.clear();
    int m = 0;
    for (int k = 1; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) { ++m; rows.push_back({I(m), I(id(i, j, k - 1)), I(id(i, j, k)), I(1), I(m)}); }
    for (int k = 1; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i + 1 < nx; ++i) { ++m; rows.push_back({I(m), I(id(i, j, k)), I(id(i + 1, j, k)), I(m % 2 ? 2 : 1001), I(m)}); }
    for (int k = 1; m < 500; ++k) { ++m; rows.push_back({I(m), I(id(0, k % ny, k)), I(id(0, (k + 1) % ny, k)), I(2), I(m)}); }
    if (wide) rows.back() = {I(500), I(1), I(nx * ny * nz), I(2), I(500)};
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号"), QStringLiteral("順")}, rows);
    db->AppendRows(QStringLiteral("節点拘束形状"), {"No_", "u", "v", "w", QStringLiteral("θx"), QStringLiteral("θy"), QStringLiteral("θz"), QStringLiteral("順")},
                   {{I(1), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), I(1)}});
    rows.clear();
    for (int r = 0; r < 3; ++r) {
        std::vector<Variant> row{I(r + 1), I(1)};
        for (int s = 0; s < 10; ++s) row.push_back(I(r * 10 + s < nx * ny ? r * 10 + s + 1 : 0));
        row.push_back(I(r + 1));
        rows.push_back(row);
    }
    db->AppendRows(QStringLiteral("節点拘束配置"), QStringList{"No_", QStringLiteral("拘束形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")}, rows);
    db->AppendRows(QStringLiteral("要素端部形状"), {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", QStringLiteral("順")},
                   {{I(1), T("剛"), T("剛"), T("剛"), T("剛"), T("剛"), T("剛"), I(1)},
                    {I(2), T("剛"), T("剛"), T("剛"), T("剛"), T("3000"), T("ピン"), I(2)}});
    db->AppendRows(QStringLiteral("要素端部配置"), QStringList{"No_", QStringLiteral("i端部形状"), QStringLiteral("j端部形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")},
                   {{I(1), I(1), I(2), I(280), I(290), I(300), I(310), I(320), I(330), I(340), I(350), I(360), I(370), I(1)}});
    // Every member-load type in every case, each on ten beams; nodal loads.
    struct Type { int typ; std::array<double, 7> P; };
    const Type types[] = {{2, {1, 2, 3, -1, -2, -3, 4}}, {3, {-5}}, {4, {-6, 1, 2, 2}}, {5, {-4, -2, 1, 3}},
                          {6, {-3, -5, 0.5, 1, 2, 1}}, {7, {-10, -5, -8, 1, 2, 1.5}}, {8, {-7, 3}},
                          {10, {-5, 2, -3, 0.8, 2, 2}}, {14, {-6, 0.1, 0.3, 0.4}}, {15, {-2, -6, 0.1, 0.8}},
                          {16, {-3, -1, 0.1, 0.2, 0.3, 0.2}}, {17, {-8, -8, 0, 0.25, 0.5}}, {20, {-4, 1, -2, 1, 0.5}}};
    // (the loaded beams run along X, where a load along X is refused)
    const QString dirs[4] = {QStringLiteral("y 部材系"), QStringLiteral("z 部材系"), QStringLiteral("Y 絶対系"),
                             QStringLiteral("Z 絶対系")};
    std::vector<std::vector<Variant>> shapes, places;
    int no = 0;
    for (int c = 1; c <= 10; ++c) {
        for (const Type& t : types) {
            ++no;
            std::vector<Variant> row{I(no), I(t.typ), I(c), T(dirs[(no + c) % 4])};
            for (double p : t.P) row.push_back(S(p));
            row.push_back(I(no));
            shapes.push_back(row);
            std::vector<Variant> place{I(no), I(no)};
            for (int s = 0; s < 10; ++s) place.push_back(I(271 + (no * 7 + s * 13) % 225));   // beams along X
            place.push_back(I(no));
            places.push_back(place);
        }
        ++no;
        shapes.push_back({I(no), I(1), I(c), T(dirs[0]), S(10 * c), S(-5), S(-20), S(1), S(2), S(3), S(0), I(no)});
        std::vector<Variant> place{I(no), I(no)};
        for (int s = 0; s < 10; ++s) place.push_back(I(31 + (c * 17 + s * 23) % 270));
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

void Run(bool wide)
{
    WriteModel(wide);
    Timer t;
    SetAnalysisProgressSink(&t);
    t.clock.start();
    ReadCaseCountForAnalysis();
    LoadStructureModel();
    const double load = t.clock.nsecsElapsed() / 1e6;
    BuildLoadVectors();
    const double loads = t.clock.nsecsElapsed() / 1e6;
    SolveFrameNumeric();
    const double solve = t.clock.nsecsElapsed() / 1e6;
    WriteResultTables();
    const double write = t.clock.nsecsElapsed() / 1e6;
    DeleteScratchFiles();
    SetAnalysisProgressSink(nullptr);
    std::printf("%s: nodes %d, members %d, cases %d, equations %d, half band %d\n",
                wide ? "wide band (one member from the first to the last node)" : "building, floor by floor",
                nNode, nMember, nCase, nDof, HalfBand);
    std::printf("  model load and checks      %8.1f ms\n", load);
    std::printf("  load vectors               %8.1f ms\n", loads - load);
    // Solver milestones: 12..20 of the run (assembly, copy, supports, elimination,
    // load reduction, back substitution, "ka", member forces, reactions).
    const double* m = t.marks.data() + 11;
    std::printf("  assembly                   %8.1f ms\n", m[0] - loads);
    std::printf("  elimination with loads     %8.1f ms\n", m[4] - m[0]);
    std::printf("  back substitution          %8.1f ms\n", m[5] - m[4]);
    std::printf("  member forces              %8.1f ms\n", m[7] - m[5]);
    std::printf("  reactions                  %8.1f ms\n", m[8] - m[7]);
    std::printf("  writing the five tables    %8.1f ms\n", write - solve);
    std::printf("  total                      %8.1f ms\n", write);
    std::printf("  peak memory so far         %8.1f MB\n", PeakKiB() / 1024.0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ProgramStateScope programState;
    ui::SetCurrent(std::make_shared<ui::ScriptedServices>());
    QTemporaryDir tmp;
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : tmp.path();
    QDir().mkpath(dir);
    QDir::setCurrent(dir);
    try {
        Run(false);
        Run(true);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
