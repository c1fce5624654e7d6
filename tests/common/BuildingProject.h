// A steel frame building for the diagram benchmark and screenshots: a plan
// grid of columns on fixed bases, floors of beams in the X direction only,
// analysed by the real engine so that the result tables hold what a user's
// analysis would leave. Case 1 is a uniform load of 10 kN/m down on every
// beam; the further cases push every floor node sideways, in X and Y in
// turn, 20 kN at case 2 and 5 kN more with each pair of cases after it.
#pragma once

#include <QString>

namespace testenv {

struct BuildingSetup {
    QString name = QStringLiteral("鉄骨造事務所棟");
    int columnsX = 6;    // column lines in X, 6 m apart
    int columnsY = 5;    // column lines in Y, 7 m apart
    int levels = 10;     // the base and nine floors, 3.5 m apart
    int cases = 2;       // 1 to 10
};

// Nodes of the largest model the report serves: 6 x 5 x 10 = 300 nodes,
// 270 columns and 225 beams.
inline BuildingSetup LargestBuilding()
{
    BuildingSetup setup;
    setup.cases = 10;
    return setup;
}

// Writes the project into a fresh "Zelkova.mdb" in the current folder,
// analyses it and marks the results valid. False when the analysis fails.
bool WriteAnalysedBuilding(const BuildingSetup& setup);

}  // namespace testenv
