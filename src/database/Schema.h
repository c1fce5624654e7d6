// The tables of the working database as data: every table's name and its
// fields in creation order with their types, the order in which start-up
// opens them, and the rows the section-design grade tables start with.
#pragma once

#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace schema {

// The 29 tables in creation order: the 24 base tables (model, analysis
// results, report work data), then the 5 section-design tables.
const std::vector<dao::TableDef>& AllTables();

// Tables 1..24 of AllTables() are made with a new database; tables 25..29 are
// added by the upgrade pass wherever they are missing.
constexpr int kTableCount = 29;
constexpr int kBaseTableCount = 24;

// The definition of one table, its name matched without regard to ASCII case;
// nullptr when there is no such table.
const dao::TableDef* FindTable(const QString& name);
// As FindTable, but a name that is not one of ours raises ErrObjectNotFound.
const dao::TableDef& Table(const QString& name);

// The 29 names in the order start-up opens them (TableNames 1..29); this
// order differs from the creation order.
const QStringList& StartupTableNames();

// "fld_" and the slot number with two digits: "fld_01" .. "fld_10".
QString SlotFieldName(int slot);

// Table names the program's own code refers to.
inline const QString kSteelGradeTable = QStringLiteral("VUP01鋼材材種強度");
inline const QString kBarGradeTable = QStringLiteral("VUP01鉄筋材種強度");

// The eleven tables of the model input (基本データ and the ten list tables):
// a file without them is not a project.
const QStringList& InputTableNames();

// The section-design tables in the order the upgrade pass looks for them.
const QStringList& SectionDesignTableNames();

// Rows a table receives when it is created: the fields written, in the order
// they are assigned, and each row's values in that order.
struct DefaultRows {
    QString table;
    QStringList fields;
    std::vector<std::vector<rt::Variant>> rows;
};

// VUP01鋼材材種強度: 19 steel grades (材種名, 強度(SI), 強度(CGS), 順).
const DefaultRows& SteelGradeRows();
// VUP01鉄筋材種強度: 6 bar grades (材種名, eight allowable stresses, 順).
const DefaultRows& BarGradeRows();

}  // namespace schema
