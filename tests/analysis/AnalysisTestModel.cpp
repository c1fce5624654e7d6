#include "AnalysisTestModel.h"

#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/SolveFrame.h"
#include "core/ProgramState.h"

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

void Model::Apply() const
{
    ClearModelArrays();
    Program().NodeRow.fill(0);
    Program().MemberRow.fill(0);
    nCase = cases;
    nNode = static_cast<int>(nodes.size());
    Program().NodeNo.assign(static_cast<size_t>(nNode + 1), 0);
    for (int r = 1; r <= nNode; ++r) {
        const Node& n = nodes[static_cast<size_t>(r - 1)];
        Program().NodeNo[r] = static_cast<int16_t>(n.no);
        Program().NodeRow[n.no] = static_cast<int16_t>(r);
        NodeData[r][1] = n.x; NodeData[r][2] = n.y; NodeData[r][3] = n.z;
        for (int c = 0; c < 6; ++c) NodeData[r][4 + c] = n.restraint[c];
    }
    nMember = static_cast<int>(members.size());
    Program().MemberNo.assign(static_cast<size_t>(nMember + 1), 0);
    for (int r = 1; r <= nMember; ++r) {
        const Member& m = members[static_cast<size_t>(r - 1)];
        Program().MemberNo[r] = static_cast<int16_t>(m.no);
        Program().MemberRow[m.no] = static_cast<int16_t>(r);
        MemberData[r][1] = Program().NodeRow[m.i];
        MemberData[r][2] = Program().NodeRow[m.j];
        MemberData[r][3] = m.section;
        for (int c = 0; c < 6; ++c) { MemberData[r][4 + c] = m.endI[c]; MemberData[r][10 + c] = m.endJ[c]; }
        MemberData[r][16] = m.A; MemberData[r][17] = m.J; MemberData[r][18] = m.Iyy;
        MemberData[r][19] = m.Izz; MemberData[r][20] = m.E; MemberData[r][21] = m.G;
    }
    SizeBandMatrix();
    LoadShapeTable.assign(shapes.size() + 1, std::array<double, 11>{});
    LoadShapeRowMap.clear();
    for (size_t r = 1; r <= shapes.size(); ++r) {
        const Shape& s = shapes[r - 1];
        auto& row = LoadShapeTable[r];
        row[1] = s.type; row[2] = s.caseNo; row[3] = CoordinateCode(s.direction);
        for (int k = 1; k <= 7; ++k) row[3 + k] = s.P[k];
        LoadShapeRowMap[s.no] = static_cast<int>(r);
    }
    LoadPlacementTable.clear();
    for (const Placement& p : placements) {
        LoadPlacementRow out;
        out.shapeNo = p.shape;
        out.shapeRow = LoadShapeRowMap.at(p.shape);
        out.type = static_cast<int>(LoadShapeTable[out.shapeRow][1]);
        for (int t : p.targets) {
            if (t == 0) continue;
            out.targets.push_back(out.type == 1 ? Program().NodeRow[t] : Program().MemberRow[t]);
        }
        LoadPlacementTable.push_back(out);
    }
}

void Model::Solve() const
{
    Apply();
    BuildLoadVectorsFromTables();
    SolveFrameNumeric();
}

double Disp(int node, int component, int caseNo) { return Displacement(Program().NodeRow[node], component, caseNo); }
double React(int node, int component, int caseNo) { return Reaction(Program().NodeRow[node], component, caseNo); }
double Force(int member, int component, int caseNo) { return MemberEndForces[Program().MemberRow[member]][caseNo][component]; }
double Equiv(int member, int component, int caseNo) { return MemberCaseRecords[Program().MemberRow[member]][caseNo][component]; }

}  // namespace antest
