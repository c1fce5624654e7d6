#include "report/tables/ResultRows.h"

#include "platform/Database.h"

#include <algorithm>

namespace report {

ResultRows::ResultRows(dao::Database& db, const QString& table, const QStringList& fields, std::optional<int16_t> caseNo)
{
    dao::RecordsetPtr rs = db.OpenRecordset(table);
    if (caseNo) {
        rs->Filter = QStringLiteral("case = ") + QString::number(*caseNo);
        rs = rs->OpenRecordset();
    }
    width_ = static_cast<int>(fields.size());
    std::vector<int> index;
    for (const QString& f : fields) index.push_back(rs->FieldIndex(f));
    values_.reserve(static_cast<size_t>(rs->RecordCount() * width_));
    if (!(rs->BOF() && rs->EOF_())) {
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            for (int i : index) values_.push_back(rs->Field(i));
            const rt::Variant& no = At(rows_, kNo);
            if (!no.isNull()) byNumber_[no.toInteger()].push_back(rows_);
            ++rows_;
        }
    }
    rs->Close();
}

std::vector<int> ResultRows::RowsByCase(int16_t no) const
{
    const auto it = byNumber_.find(no);
    if (it == byNumber_.end()) return {};
    std::vector<int> rows = it->second;
    // A row without a case sorts first, as a missing value does.
    auto key = [this](int row) {
        const rt::Variant& c = At(row, kCase);
        return c.isNull() ? std::optional<double>() : std::optional<double>(c.toDouble());
    };
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return key(a) < key(b); });
    return rows;
}

std::optional<int> ResultRows::First(int16_t no, std::optional<int16_t> caseNo) const
{
    const auto it = byNumber_.find(no);
    if (it == byNumber_.end()) return std::nullopt;
    for (int row : it->second) {
        if (!caseNo) return row;
        const rt::Variant& c = At(row, kCase);
        if (!c.isNull() && c.toDouble() == *caseNo) return row;
    }
    return std::nullopt;
}

std::vector<std::vector<rt::Variant>> ReadRows(dao::Database& db, const QString& table, const QStringList& fields,
                                               const QString& sort)
{
    dao::RecordsetPtr rs = db.OpenRecordset(table);
    if (!sort.isEmpty() && !(rs->BOF() && rs->EOF_())) {
        rs->Sort = sort;
        rs = rs->OpenRecordset();
    }
    std::vector<int> index;
    for (const QString& f : fields) index.push_back(rs->FieldIndex(f));
    std::vector<std::vector<rt::Variant>> rows;
    if (!(rs->BOF() && rs->EOF_())) {
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            std::vector<rt::Variant> row;
            for (int i : index) row.push_back(rs->Field(i));
            rows.push_back(std::move(row));
        }
    }
    rs->Close();
    return rows;
}

std::vector<int16_t> NumbersInOrder(dao::Database& db, const QString& table)
{
    std::vector<int16_t> numbers;
    for (const std::vector<rt::Variant>& row : ReadRows(db, table, {QStringLiteral("No_")})) numbers.push_back(row[0].toInteger());
    std::stable_sort(numbers.begin(), numbers.end());
    return numbers;
}

}  // namespace report
