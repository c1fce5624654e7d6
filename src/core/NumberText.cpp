#include "core/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// Zeros after the point of a format: the decimals always shown.
int RequiredDecimals(const QString& format)
{
    const qsizetype point = format.indexOf(u'.');
    return point < 0 ? 0 : static_cast<int>(format.mid(point + 1).count(u'0'));
}

QString Padded(std::string digits, const QString& format)
{
    if (digits == "-0") digits.erase(0, 1);   // negative zero shows no sign
    const int required = RequiredDecimals(format);
    const size_t point = digits.find('.');
    const int have = point == std::string::npos ? 0 : static_cast<int>(digits.size() - point - 1);
    if (required > have) {
        if (point == std::string::npos) digits += '.';
        digits.append(static_cast<size_t>(required - have), '0');
    }
    return QString::fromLatin1(digits.c_str());
}

template <class T>
QString Shortest(T value, const QString& format)
{
    if (!std::isfinite(value)) return rt::Format(static_cast<double>(value), format);
    char buf[400];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (r.ec != std::errc()) return rt::Format(static_cast<double>(value), format);
    return Padded(std::string(buf, r.ptr), format);
}

}  // namespace

QString NumberKeepingDigits(double value, const QString& format) { return Shortest(value, format); }

QString SingleKeepingDigits(float value, const QString& format) { return Shortest(value, format); }

QString NumericTextKeepingDigits(const QString& text, const QString& format)
{
    return rt::IsNumeric(text) ? NumberKeepingDigits(rt::Val(text), format) : text;
}

QString StoredValueText(const rt::Variant& value, const QString& format)
{
    using Kind = rt::Variant::Kind;
    switch (value.kind()) {
    case Kind::Null: return QString();
    case Kind::Single: return SingleKeepingDigits(value.toSingle(), format);
    case Kind::Text: return NumericTextKeepingDigits(value.toString(), format);
    default: return NumberKeepingDigits(value.toDouble(), format);
    }
}

QString SingleAtItsPrecision(float value, const QString& format)
{
    // Optional digits after the required ones reach 7 significant digits of
    // values down to 1E-30.
    QString pattern = format.contains(u'.') ? format : format + QStringLiteral(".");
    pattern += QString(37, u'#');
    return rt::Format(value, pattern);
}
