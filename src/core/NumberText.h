// Numbers written back into entry boxes. A box shows at least the decimals of
// its format and every further digit the value holds, so that a value shown
// and saved again is the value that was stored.
#pragma once

#include "platform/Runtime.h"

#include <QString>

// The shortest decimal text that reads back as the same double, with at least
// the decimals of `format` ("0", "0.0", "0.000"; a "#" adds none).
QString NumberKeepingDigits(double value, const QString& format);
// The same for a value held as a Single: its shortest text that reads back as
// the same Single.
QString SingleKeepingDigits(float value, const QString& format);
// A text as an entry box shows it: a number by its value read as a double, by
// the rule above, any other text as it stands.
QString NumericTextKeepingDigits(const QString& text, const QString& format);
// A stored value as an entry box shows it: a Single or another number by the
// rules above, a numeric text by its value read as a double, any other text
// as it stands.
QString StoredValueText(const rt::Variant& value, const QString& format);
// A Single computed by the program (not read from storage) at the precision
// it carries, 7 significant digits, with at least the decimals of `format`:
// no noise digits, and a small value is never rounded away.
QString SingleAtItsPrecision(float value, const QString& format);
