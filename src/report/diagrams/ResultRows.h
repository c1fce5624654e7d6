// The rows of a result table of the analysis (one per case and node or
// member) read once, by case and number. Where a pair occurs twice the first
// row in stored order counts, as a search from the first row would find it.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace dao { class Database; }

namespace report {

class ResultRows {
public:
    static constexpr int kMaxFields = 6;
    using Values = std::array<float, kMaxFields>;

    // The fields named (at most six, read as single precision) of every row
    // of `table`, or of the rows of case `onlyCase` when it is not negative.
    ResultRows(dao::Database& db, const QString& table, const QStringList& fields, int onlyCase = -1);

    // The values of (case, number), or nullptr when there is no such row.
    const Values* Find(int caseNo, int number) const;

private:
    static int64_t Key(int caseNo, int number) { return (int64_t(caseNo) << 32) | uint32_t(number); }
    std::unordered_map<int64_t, Values> rows_;
};

}  // namespace report
