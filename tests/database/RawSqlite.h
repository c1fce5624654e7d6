// Reads a database file straight through sqlite, beside the program's own
// database layer, so that tests see what is really stored.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <sqlite3.h>
#include <stdexcept>
#include <utility>
#include <vector>

namespace rawdb {

class File {
public:
    explicit File(const QString& path, bool writable = false)
    {
        int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path.toStdString());
    }
    ~File() { sqlite3_close(db_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Every row of a query, each value as "null", "num:<number>" or "text:<text>"
    // (numbers alike whatever storage class the column's affinity chose).
    std::vector<QStringList> Query(const QString& sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("prepare: ") + sqlite3_errmsg(db_));
        std::vector<QStringList> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_NULL: row << QStringLiteral("null"); break;
                case SQLITE_INTEGER: row << "num:" + QString::number(sqlite3_column_int64(st, c)); break;
                case SQLITE_FLOAT: row << "num:" + QString::number(sqlite3_column_double(st, c), 'g', 17); break;
                default:
                    row << "text:" + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
                }
            }
            rows.push_back(row);
        }
        sqlite3_finalize(st);
        return rows;
    }

    void Exec(const QString& sql)
    {
        char* err = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string m = err ? err : "?";
            sqlite3_free(err);
            throw std::runtime_error("exec: " + m);
        }
    }

    QStringList Tables()
    {
        QStringList names;
        for (const auto& r : Query("SELECT name FROM sqlite_master WHERE type = 'table' "
                                   "AND name NOT LIKE 'sqlite_%' ORDER BY name"))
            names << r[0].mid(5);
        return names;
    }

    // (name, declared type) of each column in order.
    std::vector<std::pair<QString, QString>> Columns(const QString& table)
    {
        std::vector<std::pair<QString, QString>> cols;
        for (const auto& r : Query("PRAGMA table_info(" + Quote(table) + ")"))
            cols.emplace_back(r[1].mid(5), r[2].mid(5));
        return cols;
    }

    std::vector<QStringList> Rows(const QString& table)
    {
        try {
            return Query("SELECT * FROM " + Quote(table) + " ORDER BY rowid");
        } catch (const std::runtime_error&) {   // a table WITHOUT ROWID
            return Query("SELECT * FROM " + Quote(table));
        }
    }

    // Every table with its columns and rows, as one text per table.
    std::map<QString, QString> Dump()
    {
        std::map<QString, QString> out;
        for (const QString& t : Tables()) {
            QString text;
            for (const auto& [name, type] : Columns(t)) text += name + " " + type + ", ";
            text += "\n";
            for (const auto& r : Rows(t)) text += r.join('|') + "\n";
            out[t] = text;
        }
        return out;
    }

    static QString Quote(const QString& name) { return '"' + QString(name).replace('"', "\"\"") + '"'; }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace rawdb
