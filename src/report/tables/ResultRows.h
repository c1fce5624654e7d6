// The rows of a result table (one row per node or member and load case),
// read once and found by number and case; the rows of any table as values,
// and the numbers of a list table in ascending order.
#pragma once

#include "platform/Runtime.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace dao { class Database; }

namespace report {

class ResultRows {
public:
    // Reads the fields of `table`, whose first two must be "Case" and "No_";
    // only the rows of load case `caseNo` when one is given. A row without a
    // number belongs to no node or member.
    ResultRows(dao::Database& db, const QString& table, const QStringList& fields,
               std::optional<int16_t> caseNo = std::nullopt);

    static constexpr int kCase = 0;
    static constexpr int kNo = 1;

    bool Empty() const { return rows_ == 0; }
    const rt::Variant& At(int row, int field) const { return values_[static_cast<size_t>(row * width_ + field)]; }
    // A printed value: Null or a text that is not a number raises.
    float Single(int row, int field) const { return At(row, field).toSingle(); }
    int16_t Integer(int row, int field) const { return At(row, field).toInteger(); }

    // The rows of number `no` in ascending case order (stored order among
    // equal cases, a row without a case first).
    std::vector<int> RowsByCase(int16_t no) const;
    // The first row of `no`, of load case `caseNo` when one is given, in
    // stored order; none when there is no such row.
    std::optional<int> First(int16_t no, std::optional<int16_t> caseNo = std::nullopt) const;

private:
    int width_ = 0;
    int rows_ = 0;
    std::vector<rt::Variant> values_;
    std::unordered_map<int16_t, std::vector<int>> byNumber_;   // stored order
};

// The values of `fields` of every row of `table`, in stored order or in the
// order of `sort` ("順 ASC"), which the database applies (ties in stored
// order).
std::vector<std::vector<rt::Variant>> ReadRows(dao::Database& db, const QString& table, const QStringList& fields,
                                               const QString& sort = QString());

// The numbers (field "No_") of every row of a list table, ascending; a row
// without a number raises.
std::vector<int16_t> NumbersInOrder(dao::Database& db, const QString& table);

}  // namespace report
