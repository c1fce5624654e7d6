#include "screens/UnitConversion.h"

#include "input/InputRecords.h"
#include "core/NumberText.h"
#include "platform/Runtime.h"
#include "database/Schema.h"

#include <functional>
#include <vector>

using rt::Variant;

namespace {

// Runs `change` on every row of the table and saves each row.
void ChangeEveryRow(dao::Database& db, const char* table, const std::function<void(dao::Recordset&)>& change)
{
    dao::RecordsetPtr rs = db.OpenRecordset(QString::fromUtf8(table));
    if (!(rs->BOF() && rs->EOF_())) {
        rs->MoveFirst();
        while (!rs->EOF_()) {
            rs->Edit();
            change(*rs);
            rs->Update();
            rs->MoveNext();
        }
    }
    rs->Close();
}

// Single fields are scaled in single precision, as they are stored.
void ScaleNumber(dao::Recordset& rs, const QString& field, float factor)
{
    const Variant v = rs.Field(field);
    if (!v.isNull()) rs.SetField(field, Variant::Double(static_cast<double>(v.toSingle()) * factor));
}

// A condition kept as text: a spring constant is scaled, the words stay. The
// new constant keeps its significant digits: a small spring written "0.000"
// would read as the free or pinned word.
void ScaleSpring(dao::Recordset& rs, const QString& field, float factor)
{
    const Variant v = rs.Field(field);
    if (v.isNull()) return;
    const QString t = v.toString();
    if (rt::IsNumeric(t))
        rs.SetField(field, Variant::Text(SingleAtItsPrecision(static_cast<float>(rt::Val(t) * factor), QStringLiteral("0.000"))));
}

// The load parameters P1.. (1 is fld_01) of a load type that carry a force.
std::vector<int> ForceLoadParameters(int loadType)
{
    switch (loadType) {
    case 1: return {1, 2, 3, 4, 5, 6};
    case 2: return {1, 2, 3, 4, 5, 6, 7};
    case 3: case 4: case 14: return {1};
    case 5: case 15: case 6: case 16: return {1, 2};
    case 7: case 17: return {1, 2, 3};
    case 8: return {1};
    case 9: case 19: return {1, 2, 3};
    case 10: case 20: return {1, 3};
    default: return {};
    }
}

}  // namespace

void ConvertModelUnits(dao::Database& db, bool toSI, double gravity)
{
    const float g = static_cast<float>(gravity);
    const float force = toSI ? g : 1.0f / g;
    const float modulus = toSI ? 10.0f : 0.1f;

    dao::WriteTransaction tx(db);
    auto moduli = [&](dao::Recordset& rs) {
        ScaleNumber(rs, QStringLiteral("E"), modulus);
        ScaleNumber(rs, QStringLiteral("γ"), modulus);
    };
    ChangeEveryRow(db, "材料定数1", moduli);
    ChangeEveryRow(db, "材料定数2", moduli);
    ChangeEveryRow(db, "節点拘束形状", [&](dao::Recordset& rs) {
        for (const char* c : {"u", "v", "w", "θx", "θy", "θz"}) ScaleSpring(rs, QString::fromUtf8(c), force);
    });
    ChangeEveryRow(db, "要素端部形状", [&](dao::Recordset& rs) {
        for (const char* c : {"xMWR", "yMWR", "zMWR"}) ScaleSpring(rs, QString::fromUtf8(c), force);
    });
    ChangeEveryRow(db, "荷重形状", [&](dao::Recordset& rs) {
        const Variant type = rs.Field(QStringLiteral("TYP"));
        if (type.isNull()) return;
        for (int k : ForceLoadParameters(type.toInteger())) ScaleNumber(rs, schema::SlotFieldName(k), force);
    });
    tx.Commit();
}
