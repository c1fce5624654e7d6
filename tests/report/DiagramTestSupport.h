// Small models for the diagram tests, written into a fresh "Zelkova.mdb"
// with the result rows an analysis leaves (zero unless a test gives them),
// and a build without a window on them, seen through the boxes a test sets.
#pragma once

#include "common/DocumentText.h"
#include "common/NewProject.h"
#include "common/ResultFields.h"
#include "common/Values.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/Ui.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/ReportDriver.h"
#include "report/ReportTestSupport.h"
#include "report/PageFormat.h"
#include "report/diagrams/DiagramPlacement.h"
#include "report/diagrams/MomentCurves.h"

#include <QStringList>
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace diagramtest {

struct TestNode {
    int no;
    float x, y, z;
};
struct TestMember {
    int no, i, j, section = 1;
};

struct Model {
    std::vector<TestNode> nodes;
    std::vector<TestMember> members;
    int cases = 1;
    // Displacements (cm) by (case, node) and moments by (case, member);
    // every other node and member has a row of zeros.
    std::map<std::pair<int, int>, std::array<float, 3>> displacements;
    std::map<std::pair<int, int>, report::MemberMoments> moments;
    // Rows left out, to see what a missing result row does.
    std::vector<std::pair<int, int>> missingDisplacements;
    std::vector<std::pair<int, int>> missingMoments;
};

// Nodes (0,0,0), (0,0,4), (6,0,4), (6,0,0); members 1→2, 2→3, 3→4.
inline Model PortalFrame()
{
    Model m;
    m.nodes = {{1, 0, 0, 0}, {2, 0, 0, 4}, {3, 6, 0, 4}, {4, 6, 0, 0}};
    m.members = {{1, 1, 2}, {2, 2, 3}, {3, 3, 4}};
    return m;
}

inline bool Listed(const std::vector<std::pair<int, int>>& list, int a, int b)
{
    for (const auto& p : list)
        if (p.first == a && p.second == b) return true;
    return false;
}

inline void WriteModel(const Model& m)
{
    using testenv::I;
    using testenv::S;
    using testenv::T;
    dao::DatabasePtr db = testenv::NewProject({.name = QStringLiteral("門形"), .cases = m.cases});
    std::vector<std::vector<rt::Variant>> nodes, members, displacements, forces;
    int order = 0;
    for (const TestNode& n : m.nodes) {
        nodes.push_back({I(n.no), S(n.x), S(n.y), S(n.z), I(++order)});
        for (int c = 1; c <= m.cases; ++c) {
            if (Listed(m.missingDisplacements, c, n.no)) continue;
            const auto it = m.displacements.find({c, n.no});
            const std::array<float, 3> d = it == m.displacements.end() ? std::array<float, 3>{} : it->second;
            displacements.push_back({I(c), I(n.no), S(d[0]), S(d[1]), S(d[2]), S(0), S(0), S(0)});
        }
    }
    order = 0;
    for (const TestMember& e : m.members) {
        members.push_back({I(e.no), I(e.i), I(e.j), I(e.section), I(++order)});
        for (int c = 1; c <= m.cases; ++c) {
            if (Listed(m.missingMoments, c, e.no)) continue;
            const auto it = m.moments.find({c, e.no});
            const report::MemberMoments f = it == m.moments.end() ? report::MemberMoments{} : it->second;
            forces.push_back({I(c), I(e.no), I(e.i), S(0), S(0), S(0), S(0), S(f.iMy), S(f.iMz), I(e.j), S(0), S(0), S(0),
                              S(0), S(f.jMy), S(f.jMz), S(f.cMy), S(f.cMz)});
        }
    }
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", QStringLiteral("順")}, nodes);
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号"), QStringLiteral("順")}, members);
    db->AppendRows(QStringLiteral("Analyze節点変位"), testenv::kDisplacementFields, displacements);
    db->AppendRows(QStringLiteral("Analyze部材応力"), testenv::kMemberEndFields, forces);
    db->Close();
}

// A build of the diagrams without a window. The view is the portal's: the
// eye 100 m from the origin on the -Y axis (rF 100, θF 90, φF 270) looking
// at the origin, on a base scale of 2000 twips per unit.
class DiagramBuild : public reporttest::HeadlessBuild {
public:
    explicit DiagramBuild(const Model& model = PortalFrame()) : HeadlessBuild([&model] { WriteModel(model); })
    {
        ctx_->loadCaseCount = static_cast<int16_t>(model.cases);
        ctx_->screenCode = 10401;
        ctx_->zoomBaseUnit = 2000;
        std::vector<diagram::NodeCoordinate> coordinates;
        for (const TestNode& n : model.nodes) coordinates.push_back({static_cast<int16_t>(n.no), n.x, n.y, n.z});
        ctx_->bounds = diagram::ComputeModelBounds(coordinates);
        for (const auto& [box, text] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"txtrf", "100"}, {"txtθf", "90"}, {"txtφf", "270"}, {"txtra", "0"}, {"txtθa", "0"}, {"txtφa", "0"},
                 {"txtCoordX", "0"}, {"txtCoordY", "0"}, {"txtCoordSize", "1"}, {"chkDrawCoord", "0"}})
            Box(box, text);
        ctx_->info.StressScale = 100;
        ctx_->info.DisplacementScale = 1;
        ctx_->answer = [this](const report::ReportMessage& m) {
            messages << m.text;
            if (answers.empty()) return int(ui::Answer::OK);
            const int a = answers.front();
            answers.pop_front();
            return a;
        };
    }
    void Box(const char* name, const QString& text) { ctx_->SetBoxText(QString::fromUtf8(name), text); }

    // The table chapters are not under test here and print nothing: the
    // diagram fixtures hold only what the diagrams read.
    report::BuildResult Run(const QString& mode)
    {
        return report::BuildReportDocument(*ctx_, mode, nullptr, reporttest::WithoutTables());
    }
    // The geometry step alone, inside a document (diagram calls print into it).
    void Prepare()
    {
        doc_.StartDocument();
        report::PrepareDiagramGeometry(*ctx_);
    }

    const preview::Page& Page(int page) const { return doc_.CurrentDocument().pages[size_t(page - 1)]; }

    // The lines of one kind on a page: heavy (pen 30) or thin.
    std::vector<preview::DrawOp> LineOps(int page, bool heavy) const
    {
        std::vector<preview::DrawOp> out;
        for (const preview::DrawOp& op : Page(page).ops)
            if (op.kind == preview::OpKind::Line && (op.pen.width == 30) == heavy && op.pen.colour == 0) out.push_back(op);
        return out;
    }

    std::optional<report::PlacementRow> Placement(report::PlacementKey key)
    {
        report::PlacementTable t(*db_);
        return t.Find(key);
    }
    void StorePlacement(const report::PlacementRow& row)
    {
        report::PlacementTable t(*db_);
        if (!t.Update(row)) t.Add(row);
    }

    // The rows of a table in stored order, as the values of the fields named.
    std::vector<std::vector<rt::Variant>> Rows(const QString& table, const QStringList& fields)
    {
        std::vector<std::vector<rt::Variant>> out;
        dao::RecordsetPtr rs = db_->OpenRecordset(table);
        if (!(rs->BOF() && rs->EOF_()))
            for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
                std::vector<rt::Variant> row;
                for (const QString& f : fields) row.push_back(rs->Field(f));
                out.push_back(row);
            }
        rs->Close();
        return out;
    }

    std::deque<int> answers;   // answers to questions, in turn (OK when none)
    QStringList messages;      // the messages and questions of the build
};

}  // namespace diagramtest
