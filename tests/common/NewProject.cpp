#include "common/NewProject.h"

#include "common/Values.h"
#include "core/MakeDatabase.h"
#include "database/WorkingFiles.h"

namespace testenv {

dao::DatabasePtr NewProject(const BasicData& basic)
{
    int16_t mode = 0;
    MakeDatabase(mode);
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    db->AppendRows(QStringLiteral("基本データ"),
                   {QStringLiteral("工事名"), QStringLiteral("設計者"), "Note", "Unit", "Case", "E", QStringLiteral("γ")},
                   {{T(basic.name), T(basic.designer), T(basic.note), T(basic.si ? "True" : "False"), I(basic.cases),
                     S(basic.e), S(basic.gamma)}});
    return db;
}

}  // namespace testenv
