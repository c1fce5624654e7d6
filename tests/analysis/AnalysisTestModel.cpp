#include "AnalysisTestModel.h"

#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/SolveFrame.h"
#include "app/RunAnalysis.h"

#include <stdexcept>

namespace antest {

Node& Model::AddNode(int no, double x, double y, double z)
{
    nodes.push_back(Node{no, x, y, z});
    return nodes.back();
}

Member& Model::AddMember(int no, int i, int j)
{
    Member m;
    m.no = no; m.i = i; m.j = j;
    members.push_back(m);
    return members.back();
}

void Model::NodalLoad(int node, int caseNo, double fx, double fy, double fz, double mx, double my, double mz)
{
    const int no = static_cast<int>(shapes.size()) + 1;
    shapes.push_back(Shape{no, 1, caseNo, QStringLiteral("X 絶対系"), {0, fx, fy, fz, mx, my, mz, 0}});
    placements.push_back(Placement{no, {node}});
}

void Model::MemberLoad(const std::vector<int>& targets, int caseNo, int type, const QString& direction,
                       std::array<double, 8> P)
{
    const int no = static_cast<int>(shapes.size()) + 1;
    shapes.push_back(Shape{no, type, caseNo, direction, P});
    placements.push_back(Placement{no, targets});
}

AnalysisState& Engine()
{
    static AnalysisState run;
    return run;
}

void Model::Apply() const
{
    AnalysisState& run = Engine();
    run = AnalysisState{};
    FrameModel& model = run.model;
    model.nCase = cases;
    model.nNode = static_cast<int>(nodes.size());
    model.nodes.assign(static_cast<size_t>(model.nNode + 1), NodeRecord{});
    model.NodeNo.assign(static_cast<size_t>(model.nNode + 1), 0);
    for (int r = 1; r <= model.nNode; ++r) {
        const Node& n = nodes[static_cast<size_t>(r - 1)];
        model.NodeNo[static_cast<size_t>(r)] = n.no;
        model.NodeRow[static_cast<size_t>(n.no)] = r;
        NodeRecord& rec = model.nodes[static_cast<size_t>(r)];
        rec.X = n.x; rec.Y = n.y; rec.Z = n.z;
        rec.restraint = n.restraint;
    }
    model.nMember = static_cast<int>(members.size());
    model.members.assign(static_cast<size_t>(model.nMember + 1), MemberRecord{});
    model.MemberNo.assign(static_cast<size_t>(model.nMember + 1), 0);
    auto conditions = [](const std::array<double, 6>& v) {
        return MemberEndConditions{v[0], v[1], v[2], v[3], v[4], v[5]};
    };
    for (int r = 1; r <= model.nMember; ++r) {
        const Member& m = members[static_cast<size_t>(r - 1)];
        model.MemberNo[static_cast<size_t>(r)] = m.no;
        model.MemberRow[static_cast<size_t>(m.no)] = r;
        MemberRecord& rec = model.members[static_cast<size_t>(r)];
        rec.iRow = model.NodeRow[static_cast<size_t>(m.i)];
        rec.jRow = model.NodeRow[static_cast<size_t>(m.j)];
        rec.section = m.section;
        rec.endI = conditions(m.endI);
        rec.endJ = conditions(m.endJ);
        rec.A = m.A; rec.J = m.J; rec.Iyy = m.Iyy; rec.Izz = m.Izz; rec.E = m.E; rec.G = m.G;
    }
    model.SizeBandMatrix();
    run.loads.shapes.assign(shapes.size() + 1, LoadShape{});
    for (size_t r = 1; r <= shapes.size(); ++r) {
        const Shape& s = shapes[r - 1];
        LoadShape& row = run.loads.shapes[r];
        row.type = s.type; row.caseNo = s.caseNo; row.direction = CoordinateCode(s.direction);
        for (int k = 1; k <= 7; ++k) row.P[static_cast<size_t>(k)] = s.P[static_cast<size_t>(k)];
        run.loads.shapeRowOfNumber[s.no] = static_cast<int>(r);
    }
    for (const Placement& p : placements) {
        LoadPlacementRow out;
        out.shapeNo = p.shape;
        out.shapeRow = run.loads.shapeRowOfNumber.at(p.shape);
        out.type = run.loads.shapes[static_cast<size_t>(out.shapeRow)].type;
        for (int t : p.targets) {
            if (t == 0) continue;
            out.targets.push_back(out.type == 1 ? model.NodeRow[static_cast<size_t>(t)] : model.MemberRow[static_cast<size_t>(t)]);
        }
        run.loads.placements.push_back(out);
    }
}

void Model::Solve() const
{
    Apply();
    BuildLoadVectorsFromTables(Engine());
    SolveFrameNumeric(Engine());
}

bool ShowsFailure(const std::function<void()>& step)
{
    try {
        step();
    } catch (const AnalysisFailure& failure) {
        ShowAnalysisFailure(failure);
        return true;
    }
    return false;
}

double Disp(int node, int component, int caseNo) { return Engine().Displacement(Engine().model.NodeRow[static_cast<size_t>(node)], component, caseNo); }
double React(int node, int component, int caseNo) { return Engine().Reaction(Engine().model.NodeRow[static_cast<size_t>(node)], component, caseNo); }
double Force(int member, int component, int caseNo)
{
    return Engine().results.memberEndForces[static_cast<size_t>(Engine().model.MemberRow[static_cast<size_t>(member)])][caseNo][component];
}
double Equiv(int member, int component, int caseNo)
{
    return Engine().loads.equivalentLoads[static_cast<size_t>(Engine().model.MemberRow[static_cast<size_t>(member)])][caseNo][component];
}

}  // namespace antest
