// The analysis's access to the project database: the model loader, the load
// tables and the result tables. The result tables are written together, in
// one transaction, once every stage has succeeded.
#pragma once

#include "analysis/AnalysisState.h"
#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <vector>

// Opens the working database "Zelkova.mdb" of the current folder.
dao::DatabasePtr OpenWorkingDatabase();

// Reads 基本データ.Case into the model's nCase; an empty table or a count
// outside 1..10 fails the run with its message.
void ReadCaseCountForAnalysis(AnalysisState& run);

// Model loading and checks (nodes, restraints, members, member ends,
// sections with the sections in use), then the band sizes.
void LoadStructureModel(AnalysisState& run);

// Reads 荷重形状 and 荷重配置 into the run's shapes and placements, every
// reference checked before anything is placed.
void ReadLoadTables(AnalysisState& run);

// Condition value of a restraint or member-end component text: "拘束"/"剛"
// 1.0, "自由"/"ピン" 0, a number its value. Returns false for any other text.
bool ConvertConditionValue(const QString& text, double* value);

// Writes every table of a finished run: 材料定数0, Analyze等価節点荷重,
// Analyze部材応力, Analyze節点変位 and Analyze支点反力, all in one transaction.
void WriteResultTables(const AnalysisState& run);

// The messages of the model checks.
QString MessageNoNodeData();
QString MessageNoMemberData();
