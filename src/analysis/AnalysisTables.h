// The analysis's access to the project database: the model loader, the load
// tables and the result tables. Every table the analysis writes is written in
// one transaction through one prepared statement.
#pragma once

#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <vector>

// Opens the working database "Zelkova.mdb" of the current folder.
dao::DatabasePtr OpenWorkingDatabase();

// Replaces every row of `table` by `rows` in one transaction.
void ReplaceTableRows(const dao::DatabasePtr& db, const QString& table, const QStringList& fields,
                      const std::vector<std::vector<rt::Variant>>& rows);

// Reads 基本データ.Case into nCase; an empty table or a count outside 1..10
// fails the run with its message.
void ReadCaseCountForAnalysis();

// Model loading and checks (nodes, restraints, members, member ends,
// sections with 材料定数0), then the band sizes.
void LoadStructureModel();

// Condition value of a restraint or member-end component text: "拘束"/"剛"
// 1.0, "自由"/"ピン" 0, a number its value. Returns false for any other text.
bool ConvertConditionValue(const QString& text, double* value);

// The rows of 材料定数0 that the model load found (written with the results).
extern std::vector<std::vector<rt::Variant>> SectionRowsInUse;
void WriteSectionTable();
// Writes Analyze等価節点荷重 from MemberCaseRecords.
void WriteEquivalentLoadTable();
// Writes every table of a finished run: 材料定数0, Analyze等価節点荷重,
// Analyze部材応力, Analyze節点変位 and Analyze支点反力, one transaction each.
void WriteResultTables();

// The messages of the model checks.
QString MessageNoNodeData();
QString MessageNoMemberData();
