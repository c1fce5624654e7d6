// Reading tables through recordsets on a project of the largest size (300
// nodes, 500 members, 10 load cases with their results), against one SELECT
// per table straight through sqlite. Prints the median and the worst of
// several runs, in milliseconds.
#include "bench/BenchTiming.h"
#include "core/MakeDatabase.h"
#include "core/ProgramState.h"
#include "database/Schema.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

using rt::Variant;

namespace {

// Rows of each filled table; the others stay as a new database has them.
const std::map<QString, int> kRows = {
    {QStringLiteral("基本データ"), 1},           {QStringLiteral("節点座標1"), 300},
    {QStringLiteral("材料定数1"), 20},           {QStringLiteral("材料定数2"), 20},
    {QStringLiteral("要素情報"), 500},           {QStringLiteral("節点拘束形状"), 5},
    {QStringLiteral("節点拘束配置"), 10},        {QStringLiteral("要素端部形状"), 5},
    {QStringLiteral("要素端部配置"), 20},        {QStringLiteral("荷重形状"), 140},
    {QStringLiteral("荷重配置"), 140},           {QStringLiteral("材料定数0"), 3},
    {QStringLiteral("Analyze節点変位"), 3000},   {QStringLiteral("Analyze部材応力"), 5000},
    {QStringLiteral("Analyze支点反力"), 300},    {QStringLiteral("Analyze等価節点荷重"), 5000},
};

bool IsInputTable(const QString& name) { return schema::InputTableNames().contains(name); }

void FillProject()
{
    int16_t mode = 0;
    MakeDatabase(mode);
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    db->BeginTrans();
    for (const auto& [table, count] : kRows) {
        const dao::TableDef& def = schema::Table(table);
        QStringList fields;
        for (const auto& f : def.fields) fields << f.name;
        std::vector<std::vector<Variant>> rows;
        for (int r = 1; r <= count; ++r) {
            std::vector<Variant> row;
            for (size_t c = 0; c < def.fields.size(); ++c) {
                switch (def.fields[c].type) {
                case dao::FieldType::Boolean: row.push_back(Variant::Boolean(r % 2 == 0)); break;
                case dao::FieldType::Integer: row.push_back(Variant::Integer(int16_t((r + int(c)) % 30000))); break;
                case dao::FieldType::Single: row.push_back(Variant::Single(float(r) * 0.25f + float(c))); break;
                case dao::FieldType::Text: row.push_back(Variant::Text(QStringLiteral("拘束%1").arg(r))); break;
                }
            }
            rows.push_back(std::move(row));
        }
        db->AppendRows(table, fields, rows);
    }
    db->CommitTrans();
    db->Close();
}

// Every field of every row, the way the program reads a table.
double ReadThroughRecordsets(bool input, bool sorted)
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    double sum = 0;
    for (const auto& [table, count] : kRows) {
        if (IsInputTable(table) != input) continue;
        dao::RecordsetPtr rs = db->OpenRecordset(table);
        if (sorted && schema::Table(table).fields.back().name == QStringLiteral("順")) {
            rs->Sort = QStringLiteral("順 ASC");
            rs = rs->OpenRecordset();
        }
        if (rs->BOF() && rs->EOF_()) continue;
        rs->MoveFirst();
        const int fields = rs->FieldCount();
        while (!rs->EOF_()) {
            for (int f = 0; f < fields; ++f) {
                const Variant v = rs->Field(f);
                if (v.isNumber()) sum += v.toDouble();
            }
            rs->MoveNext();
        }
        rs->Close();
    }
    db->Close();
    return sum;
}

// The same rows through one SELECT per table.
double ReadThroughSelects(bool input)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(kWorkingDatabase).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    double sum = 0;
    for (const auto& [table, count] : kRows) {
        if (IsInputTable(table) != input) continue;
        sqlite3_stmt* st = nullptr;
        const QString sql = QStringLiteral("SELECT * FROM ") + dao::QuoteIdent(table);
        sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * 2), &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                if (sqlite3_column_type(st, c) != SQLITE_TEXT) sum += sqlite3_column_double(st, c);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return sum;
}

// Start-up's check: every table opened once, no row read.
double OpenEveryTable()
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    for (const QString& table : schema::StartupTableNames()) db->OpenRecordset(table)->Close();
    db->Close();
    return 0;
}

void Measure(const char* what, const std::function<double()>& run)
{
    double check = 0;
    const std::vector<double> ms = bench::Times(21, [&] { check += run(); });
    std::printf("%-52s median %7.2f ms   worst %7.2f ms   (%g)\n", what, ms[ms.size() / 2], ms.back(), check);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ProgramStateScope programState;
    QTemporaryDir root(QDir::tempPath() + "/zelkova-bench-XXXXXX");
    QDir::setCurrent(root.path());
    FillProject();

    Measure("input tables (1161 rows), recordsets", [] { return ReadThroughRecordsets(true, false); });
    Measure("input tables, recordsets sorted by 順", [] { return ReadThroughRecordsets(true, true); });
    Measure("input tables, one SELECT per table", [] { return ReadThroughSelects(true); });
    Measure("result tables (13303 rows), recordsets", [] { return ReadThroughRecordsets(false, false); });
    Measure("result tables, one SELECT per table", [] { return ReadThroughSelects(false); });
    Measure("open all 29 tables (start-up check)", OpenEveryTable);
    return 0;
}
