// Short names for the field values that tests write into tables.
#pragma once

#include "database/Schema.h"
#include "platform/Runtime.h"

#include <QStringList>

namespace testenv {

inline rt::Variant I(int v) { return rt::Variant::Integer(static_cast<int16_t>(v)); }
inline rt::Variant S(double v) { return rt::Variant::Single(static_cast<float>(v)); }
inline rt::Variant T(const QString& v) { return rt::Variant::Text(v); }

// "fld_01" .. the n-th slot field of a placement or load table.
inline QStringList SlotFields(int n)
{
    QStringList f;
    for (int k = 1; k <= n; ++k) f << schema::SlotFieldName(k);
    return f;
}

}  // namespace testenv
