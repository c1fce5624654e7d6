#include "AnalysisTestModel.h"

#include "common/NewProject.h"
#include "platform/Database.h"
#include "core/ProgramState.h"

#include <map>
#include "common/Values.h"

using rt::Variant;

namespace antest {

namespace {

QString ConditionText(double v, bool restraint)
{
    if (v == 1.0) return restraint ? QStringLiteral("拘束") : QStringLiteral("剛");
    if (v == 0.0) return restraint ? QStringLiteral("自由") : QStringLiteral("ピン");
    return QString::number(v, 'g', 17);
}

using testenv::I;
using testenv::S;
using testenv::T;

// Groups targets that share one type into placement rows of up to ten slots.
template <typename Key>
std::vector<std::pair<Key, std::vector<int>>> Group(const std::vector<std::pair<Key, int>>& items)
{
    std::vector<std::pair<Key, std::vector<int>>> rows;
    for (const auto& [key, target] : items) {
        if (rows.empty() || rows.back().first != key || rows.back().second.size() == 10) rows.push_back({key, {}});
        rows.back().second.push_back(target);
    }
    return rows;
}

}  // namespace

void Model::WriteDatabase() const
{
    dao::DatabasePtr db = testenv::NewProject({.name = QStringLiteral("TEST"), .cases = cases, .e = kE, .gamma = kG});
    std::vector<std::vector<Variant>> rows;
    for (size_t k = 0; k < nodes.size(); ++k)
        rows.push_back({I(nodes[k].no), S(nodes[k].x), S(nodes[k].y), S(nodes[k].z), I(static_cast<int>(k) + 1)});
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", QStringLiteral("順")}, rows);

    // One property-defined section per member unless it names its own.
    rows.clear();
    std::vector<std::vector<Variant>> memberRows;
    for (size_t k = 0; k < members.size(); ++k) {
        const Member& m = members[k];
        int section = m.section;
        if (section == 0) {
            section = static_cast<int>(k) + 1;
            rows.push_back({I(section), S(m.E), S(m.G), S(m.A), S(m.J), S(m.Iyy), S(m.Izz), I(section)});
        }
        memberRows.push_back({I(m.no), I(m.i), I(m.j), I(section), I(static_cast<int>(k) + 1)});
    }
    db->AppendRows(QStringLiteral("材料定数1"), {"No_", "E", QStringLiteral("γ"), "A", "Ixx", "Iyy", "Izz", QStringLiteral("順")}, rows);
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号"), QStringLiteral("順")}, memberRows);

    // Restraint types and placements.
    {
        std::map<std::array<double, 6>, int> types;
        std::vector<std::pair<int, int>> items;
        for (const Node& n : nodes) {
            if (n.restraint == std::array<double, 6>{0, 0, 0, 0, 0, 0}) continue;
            auto it = types.find(n.restraint);
            if (it == types.end()) it = types.emplace(n.restraint, static_cast<int>(types.size()) + 1).first;
            items.push_back({it->second, n.no});
        }
        rows.clear();
        for (const auto& [r, no] : types) {
            std::vector<Variant> row{I(no)};
            for (double v : r) row.push_back(T(ConditionText(v, true)));
            row.push_back(I(no));
            rows.push_back(row);
        }
        db->AppendRows(QStringLiteral("節点拘束形状"), {"No_", "u", "v", "w", QStringLiteral("θx"), QStringLiteral("θy"), QStringLiteral("θz"), QStringLiteral("順")}, rows);
        rows.clear();
        int no = 0;
        for (const auto& [type, targets] : Group(items)) {
            std::vector<Variant> row{I(++no), I(type)};
            for (int k = 0; k < 10; ++k) row.push_back(I(k < static_cast<int>(targets.size()) ? targets[k] : 0));
            row.push_back(I(no));
            rows.push_back(row);
        }
        db->AppendRows(QStringLiteral("節点拘束配置"), QStringList{"No_", QStringLiteral("拘束形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")}, rows);
    }
    // Member-end types and placements.
    {
        std::map<std::array<double, 6>, int> types;
        std::vector<std::pair<std::pair<int, int>, int>> items;
        const std::array<double, 6> rigid{1, 1, 1, 1, 1, 1};
        auto typeOf = [&types](const std::array<double, 6>& e) {
            auto it = types.find(e);
            if (it == types.end()) it = types.emplace(e, static_cast<int>(types.size()) + 1).first;
            return it->second;
        };
        for (const Member& m : members) {
            if (m.endI == rigid && m.endJ == rigid) continue;
            items.push_back({{typeOf(m.endI), typeOf(m.endJ)}, m.no});
        }
        rows.clear();
        for (const auto& [e, no] : types) {
            std::vector<Variant> row{I(no)};
            for (double v : e) row.push_back(T(ConditionText(v, false)));
            row.push_back(I(no));
            rows.push_back(row);
        }
        db->AppendRows(QStringLiteral("要素端部形状"), {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", QStringLiteral("順")}, rows);
        rows.clear();
        int no = 0;
        for (const auto& [types2, targets] : Group(items)) {
            std::vector<Variant> row{I(++no), I(types2.first), I(types2.second)};
            for (int k = 0; k < 10; ++k) row.push_back(I(k < static_cast<int>(targets.size()) ? targets[k] : 0));
            row.push_back(I(no));
            rows.push_back(row);
        }
        db->AppendRows(QStringLiteral("要素端部配置"),
                       QStringList{"No_", QStringLiteral("i端部形状"), QStringLiteral("j端部形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")}, rows);
    }
    // Loads.
    rows.clear();
    for (size_t k = 0; k < shapes.size(); ++k) {
        const Shape& s = shapes[k];
        std::vector<Variant> row{I(s.no), I(s.type), I(s.caseNo), T(s.direction)};
        for (int p = 1; p <= 7; ++p) row.push_back(S(s.P[p]));
        row.push_back(I(static_cast<int>(k) + 1));
        rows.push_back(row);
    }
    db->AppendRows(QStringLiteral("荷重形状"), QStringList{"No_", "TYP", "Case", QStringLiteral("座標系")} + testenv::SlotFields(7) + QStringList{QStringLiteral("順")}, rows);
    rows.clear();
    for (size_t k = 0; k < placements.size(); ++k) {
        const Placement& p = placements[k];
        std::vector<Variant> row{I(static_cast<int>(k) + 1), I(p.shape)};
        for (int s = 0; s < 10; ++s) row.push_back(I(s < static_cast<int>(p.targets.size()) ? p.targets[s] : 0));
        row.push_back(I(static_cast<int>(k) + 1));
        rows.push_back(row);
    }
    db->AppendRows(QStringLiteral("荷重配置"), QStringList{"No_", QStringLiteral("荷重形状")} + testenv::SlotFields(10) + QStringList{QStringLiteral("順")}, rows);
    db->Close();
}

}  // namespace antest
