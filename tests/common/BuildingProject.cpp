#include "common/BuildingProject.h"

#include "analysis/AnalysisFailure.h"
#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/SolveFrame.h"
#include "common/NewProject.h"
#include "common/Values.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/Settings.h"

namespace testenv {

namespace {

using Rows = std::vector<std::vector<rt::Variant>>;

// Placement rows of up to ten targets each.
void AddPlacements(Rows& rows, int shape, const std::vector<int>& targets)
{
    for (size_t first = 0; first < targets.size(); first += 10) {
        const int no = static_cast<int>(rows.size()) + 1;
        std::vector<rt::Variant> row{I(no), I(shape)};
        for (size_t k = first; k < first + 10; ++k) row.push_back(I(k < targets.size() ? targets[k] : 0));
        row.push_back(I(no));
        rows.push_back(row);
    }
}

}  // namespace

bool WriteAnalysedBuilding(const BuildingSetup& setup)
{
    dao::DatabasePtr db = NewProject({.name = setup.name, .designer = QStringLiteral("構造 一郎"), .cases = setup.cases});
    const int perLevel = setup.columnsX * setup.columnsY;
    auto node = [&](int level, int ix, int iy) { return level * perLevel + iy * setup.columnsX + ix + 1; };
    Rows nodes, members;
    for (int level = 0; level < setup.levels; ++level)
        for (int iy = 0; iy < setup.columnsY; ++iy)
            for (int ix = 0; ix < setup.columnsX; ++ix) {
                const int no = node(level, ix, iy);
                nodes.push_back({I(no), S(ix * 6.0), S(iy * 7.0), S(level * 3.5), I(no)});
            }
    std::vector<int> beams, floorNodes, bases;
    auto addMember = [&](int i, int j, int section) {
        const int no = static_cast<int>(members.size()) + 1;
        members.push_back({I(no), I(i), I(j), I(section), I(no)});
        return no;
    };
    for (int level = 1; level < setup.levels; ++level)
        for (int iy = 0; iy < setup.columnsY; ++iy)
            for (int ix = 0; ix < setup.columnsX; ++ix) addMember(node(level - 1, ix, iy), node(level, ix, iy), 1);
    for (int level = 1; level < setup.levels; ++level)
        for (int iy = 0; iy < setup.columnsY; ++iy)
            for (int ix = 0; ix + 1 < setup.columnsX; ++ix) beams.push_back(addMember(node(level, ix, iy), node(level, ix + 1, iy), 2));
    for (int iy = 0; iy < setup.columnsY; ++iy)
        for (int ix = 0; ix < setup.columnsX; ++ix) bases.push_back(node(0, ix, iy));
    for (int level = 1; level < setup.levels; ++level)
        for (int iy = 0; iy < setup.columnsY; ++iy)
            for (int ix = 0; ix < setup.columnsX; ++ix) floorNodes.push_back(node(level, ix, iy));

    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", QStringLiteral("順")}, nodes);
    // Columns □-400x400x19, beams H-600x200: A (cm²), J, Iyy, Izz (cm⁴).
    db->AppendRows(QStringLiteral("材料定数1"), {"No_", "E", QStringLiteral("γ"), "A", "Ixx", "Iyy", "Izz", QStringLiteral("順")},
                   {{I(1), S(20500), S(7900), S(280), S(110000), S(66600), S(66600), I(1)},
                    {I(2), S(20500), S(7900), S(130), S(160), S(75600), S(2270), I(2)}});
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号"), QStringLiteral("順")}, members);
    const QString fixed = QStringLiteral("拘束");
    db->AppendRows(QStringLiteral("節点拘束形状"),
                   {"No_", "u", "v", "w", QStringLiteral("θx"), QStringLiteral("θy"), QStringLiteral("θz"), QStringLiteral("順")},
                   {{I(1), T(fixed), T(fixed), T(fixed), T(fixed), T(fixed), T(fixed), I(1)}});
    Rows restraints;
    AddPlacements(restraints, 1, bases);
    db->AppendRows(QStringLiteral("節点拘束配置"),
                   QStringList{"No_", QStringLiteral("拘束形状")} + SlotFields(10) + QStringList{QStringLiteral("順")}, restraints);

    // Shapes: the beam load, then one sideways load per further case.
    Rows shapes, placements;
    shapes.push_back({I(1), I(3), I(1), T(QStringLiteral("z 部材系")), S(-10), S(0), S(0), S(0), S(0), S(0), S(0), I(1)});
    AddPlacements(placements, 1, beams);
    for (int c = 2; c <= setup.cases; ++c) {
        const double force = 20 + 5 * ((c - 2) / 2);
        const bool alongX = c % 2 == 0;
        shapes.push_back({I(c), I(1), I(c), T(QStringLiteral("X 絶対系")), S(alongX ? force : 0), S(alongX ? 0 : force), S(0),
                          S(0), S(0), S(0), S(0), I(c)});
        AddPlacements(placements, c, floorNodes);
    }
    db->AppendRows(QStringLiteral("荷重形状"),
                   QStringList{"No_", "TYP", "Case", QStringLiteral("座標系")} + SlotFields(7) + QStringList{QStringLiteral("順")}, shapes);
    db->AppendRows(QStringLiteral("荷重配置"),
                   QStringList{"No_", QStringLiteral("荷重形状")} + SlotFields(10) + QStringList{QStringLiteral("順")}, placements);
    db->Close();

    try {
        AnalysisState run;
        ReadCaseCountForAnalysis(run);
        LoadStructureModel(run);
        BuildLoadVectors(run);
        SolveFrame(run);
    } catch (const AnalysisFailure&) {
        return false;
    }
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("True"));
    reg::Sync();
    return true;
}

}  // namespace testenv
