#include "report/diagrams/ResultRows.h"

#include "platform/Database.h"

#include <vector>

namespace report {

ResultRows::ResultRows(dao::Database& db, const QString& table, const QStringList& fields, int onlyCase)
{
    dao::RecordsetPtr rs = db.OpenRecordset(table);
    const int caseColumn = rs->FieldIndex(QStringLiteral("Case"));
    const int numberColumn = rs->FieldIndex(QStringLiteral("No_"));
    std::vector<int> columns;
    for (const QString& f : fields.mid(0, kMaxFields)) columns.push_back(rs->FieldIndex(f));
    rows_.reserve(static_cast<size_t>(rs->RecordCount()));
    if (!(rs->BOF() && rs->EOF_())) {
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            const int caseNo = rs->Field(caseColumn).toInteger();
            if (onlyCase >= 0 && caseNo != onlyCase) continue;
            const int64_t key = Key(caseNo, rs->Field(numberColumn).toInteger());
            if (rows_.count(key)) continue;
            Values v{};
            for (size_t i = 0; i < columns.size(); ++i) v[i] = rs->Field(columns[i]).toSingle();
            rows_.emplace(key, v);
        }
    }
    rs->Close();
}

const ResultRows::Values* ResultRows::Find(int caseNo, int number) const
{
    const auto it = rows_.find(Key(caseNo, number));
    return it == rows_.end() ? nullptr : &it->second;
}

}  // namespace report
