// Test support for the analysis: a model described in code, put into the
// engine's state directly (numeric tests) or into a fresh project database
// (tests of the whole run).
#pragma once

#include "analysis/AnalysisState.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace antest {

// Common section of the closed-form checks.
constexpr double kA = 100, kJ = 5000, kIyy = 10000, kIzz = 20000, kE = 20000, kG = 8000;

struct Node {
    int no;
    double x, y, z;
    std::array<double, 6> restraint{0, 0, 0, 0, 0, 0};   // condition values
};
struct Member {
    int no, i, j;
    double A = kA, J = kJ, Iyy = kIyy, Izz = kIzz, E = kE, G = kG;
    std::array<double, 6> endI{1, 1, 1, 1, 1, 1};   // xHKU..zMWR condition values
    std::array<double, 6> endJ{1, 1, 1, 1, 1, 1};
    int section = 0;   // 0: a section of its own
};
struct Shape {
    int no, type, caseNo;
    QString direction;
    std::array<double, 8> P{};   // P[1]..P[7]
};
struct Placement {
    int shape;
    std::vector<int> targets;    // numbers, 0 an empty slot
};

const std::array<double, 6> kFix{1, 1, 1, 1, 1, 1};

struct Model {
    int cases = 1;
    std::vector<Node> nodes;      // in display order
    std::vector<Member> members;  // in display order
    std::vector<Shape> shapes;
    std::vector<Placement> placements;

    Node& AddNode(int no, double x, double y, double z);
    Member& AddMember(int no, int i, int j);
    void NodalLoad(int node, int caseNo, double fx, double fy, double fz, double mx = 0, double my = 0, double mz = 0);
    // A member load of `type` with P1..P7 on members.
    void MemberLoad(const std::vector<int>& members, int caseNo, int type, const QString& direction,
                    std::array<double, 8> P);

    // Puts the model into a fresh Engine() (no database).
    void Apply() const;
    // Apply, place the loads and solve (phases without tables).
    void Solve() const;
    // Writes the model into a fresh "Zelkova.mdb" in the current folder.
    void WriteDatabase() const;
};

// The engine state of the last Apply() or Solve().
AnalysisState& Engine();

// Runs a step that must fail; shows its failure as the analysis command
// does (so the script records the message) and returns whether it failed.
bool ShowsFailure(const std::function<void()>& step);

// Results of Engine() after Solve(), by node or member number.
double Disp(int node, int component, int caseNo = 1);
double React(int node, int component, int caseNo = 1);
double Force(int member, int component, int caseNo = 1);   // 1..14
double Equiv(int member, int component, int caseNo = 1);   // 1..14

}  // namespace antest
