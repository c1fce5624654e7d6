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

std::vector<int16_t> NumbersInOrder(dao::Database& db, const QString& table)
{
    dao::RecordsetPtr rs = db.OpenRecordset(table);
    const int noField = rs->FieldIndex(QStringLiteral("No_"));
    std::vector<int16_t> numbers;
    if (!(rs->BOF() && rs->EOF_()))
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) numbers.push_back(rs->Field(noField).toInteger());
    rs->Close();
    std::stable_sort(numbers.begin(), numbers.end());
    return numbers;
}

}  // namespace report
