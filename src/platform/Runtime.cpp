#include "platform/Runtime.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>

namespace rt {

// ---- errors ----------------------------------------------------------------

namespace {

QString StandardDescription(int number)
{
    switch (number) {
    case ErrOverflow: return QStringLiteral("オーバーフローしました。");
    case ErrTypeMismatch: return QStringLiteral("型が一致しません。");
    case ErrInvalidUse: return QStringLiteral("Null の使い方が不正です。");
    case ErrFileNotFound: return QStringLiteral("ファイルが見つかりません。");
    default: return QStringLiteral("エラー %1").arg(number);
    }
}

std::string WhatText(int number, const QString& description)
{
    return QStringLiteral("Error %1: %2").arg(number).arg(description).toStdString();
}

}  // namespace

Error::Error(int number, const QString& description)
    : std::runtime_error(WhatText(number, description.isEmpty() ? StandardDescription(number) : description)),
      number_(number),
      description_(description.isEmpty() ? StandardDescription(number) : description)
{
}

void Raise(int number, const QString& description)
{
    throw Error(number, description);
}

// ---- numeric texts -----------------------------------------------------------

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads a strict number (sign, digits, optional point and digits, optional
// exponent) from the whole of `t` after trimming blanks. Gives the cleaned
// ASCII text for strtod/strtof, or an empty string when the text is not a number.
std::string StrictNumberText(const QString& text)
{
    int b = 0, e = static_cast<int>(text.size());
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string out;
    int i = b;
    if (i < e && (text[i] == u'+' || text[i] == u'-')) out += static_cast<char>(text[i++].unicode());
    int digits = 0;
    while (i < e && IsDigit(text[i])) { out += static_cast<char>(text[i++].unicode()); ++digits; }
    if (i < e && text[i] == u'.') {
        out += '.';
        ++i;
        while (i < e && IsDigit(text[i])) { out += static_cast<char>(text[i++].unicode()); ++digits; }
    }
    if (digits == 0) return {};
    if (i < e && (text[i] == u'e' || text[i] == u'E')) {
        out += 'e';
        ++i;
        if (i < e && (text[i] == u'+' || text[i] == u'-')) out += static_cast<char>(text[i++].unicode());
        int expDigits = 0;
        while (i < e && IsDigit(text[i])) { out += static_cast<char>(text[i++].unicode()); ++expDigits; }
        if (expDigits == 0) return {};
    }
    if (i != e) return {};
    return out;
}

// Strict reading into a double; false when the text is not a number or does
// not fit a finite Double.
bool ParseStrict(const QString& text, double& value)
{
    std::string s = StrictNumberText(text);
    if (s.empty()) return false;
    value = std::strtod(s.c_str(), nullptr);
    return std::isfinite(value);
}

}  // namespace

bool IsNumeric(const QString& text)
{
    double v;
    return ParseStrict(text, v);
}

// Val reads like the runtime: blanks may stand anywhere (" 1 2.5" is 12.5),
// one leading sign, digits, one point, digits, and an exponent "E" with an
// optional sign and digits (an "E" without digits ends the number before it).
// Hexadecimal "&H" forms and the old "D" exponent are not read.
std::optional<double> LeadingNumberAsVal(const QString& text)
{
    std::string out;
    const int n = static_cast<int>(text.size());
    int i = 0;
    auto skip = [&] { while (i < n && IsBlank(text[i])) ++i; };
    skip();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) { out += static_cast<char>(text[i++].unicode()); skip(); }
    int digits = 0;
    bool point = false;
    while (i < n) {
        QChar c = text[i];
        if (IsDigit(c)) { out += static_cast<char>(c.unicode()); ++digits; }
        else if (c == u'.' && !point) { out += '.'; point = true; }
        else if (!IsBlank(c)) break;
        ++i;
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        std::string ex = "e";
        int j = i + 1;
        auto skipJ = [&] { while (j < n && IsBlank(text[j])) ++j; };
        skipJ();
        if (j < n && (text[j] == u'+' || text[j] == u'-')) { ex += static_cast<char>(text[j++].unicode()); skipJ(); }
        int expDigits = 0;
        while (j < n && (IsDigit(text[j]) || IsBlank(text[j]))) {
            if (IsDigit(text[j])) { ex += static_cast<char>(text[j].unicode()); ++expDigits; }
            ++j;
        }
        if (expDigits > 0) out += ex;
    }
    return std::strtod(out.c_str(), nullptr);
}

double Val(const QString& text)
{
    const std::optional<double> v = LeadingNumberAsVal(text);
    if (!v) return 0.0;
    if (!std::isfinite(*v)) Raise(ErrOverflow);
    return *v;
}

namespace {

// Round half to even without depending on the floating-point environment.
double RoundHalfEven(double value)
{
    double f = std::floor(value);
    double diff = value - f;
    if (diff > 0.5) return f + 1.0;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

}  // namespace

bool FitsInteger(double value)
{
    if (!std::isfinite(value)) return false;
    double r = RoundHalfEven(value);
    return r >= -32768.0 && r <= 32767.0;
}

int16_t CInt(double value)
{
    if (!FitsInteger(value)) Raise(ErrOverflow);
    return static_cast<int16_t>(RoundHalfEven(value));
}

int32_t CLng(double value)
{
    if (!std::isfinite(value)) Raise(ErrOverflow);
    double r = RoundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0) Raise(ErrOverflow);
    return static_cast<int32_t>(r);
}

bool FitsSingle(double value)
{
    if (!std::isfinite(value)) return false;
    // Values up to half a unit beyond the largest Single still round to it;
    // the tie itself rounds to even, which is infinity.
    static const double limit = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
    return std::fabs(value) < limit;
}

float CSng(double value)
{
    if (!FitsSingle(value)) Raise(ErrOverflow);
    return static_cast<float>(value);
}

// ---- Format ----------------------------------------------------------------

namespace {

// The decimal digits of |value| at `significant` digits and its decimal
// exponent: |value| = d1.d2d3... * 10^exp10.
void DecimalDigits(double value, int significant, std::string& digits, int& exp10)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
    digits.clear();
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    exp10 = std::atoi(p + 1);
}

// Exponent patterns such as "0.0000E+00": the mantissa has as many digits
// before the point as the pattern has zeros there, the exponent at least as
// many digits as its zeros; "E+" always shows the exponent's sign, "E-" only a
// minus. Zero prints with the exponent 0.
QString FormatExponent(double value, int significant, const QString& pattern, int ePos)
{
    const QString mantissa = pattern.left(ePos);
    const int point = static_cast<int>(mantissa.indexOf(u'.'));
    const int intDigits = std::max<int>(1, static_cast<int>((point < 0 ? mantissa : mantissa.left(point)).count(u'0')));
    const int decimals = point < 0 ? 0 : static_cast<int>(mantissa.mid(point + 1).count(u'0'));
    const QChar eChar = pattern[ePos];
    const bool plus = ePos + 1 < pattern.size() && pattern[ePos + 1] == u'+';
    const int expDigits = std::max<int>(1, static_cast<int>(pattern.mid(ePos + 1).count(u'0')));

    std::string digits;
    int exp10 = 0;
    DecimalDigits(value, significant, digits, exp10);
    const int keep = intDigits + decimals;
    std::string kept;
    int shownExp = 0;
    if (value == 0.0) {
        kept.assign(keep, '0');
    } else {
        const bool roundUp = keep < static_cast<int>(digits.size()) && digits[keep] >= '5';
        kept = digits.substr(0, std::min<size_t>(keep, digits.size()));
        while (static_cast<int>(kept.size()) < keep) kept += '0';
        if (roundUp) {
            int k = keep - 1;
            while (k >= 0 && kept[k] == '9') kept[k--] = '0';
            if (k < 0) {
                kept.insert(kept.begin(), '1');
                kept.pop_back();
                ++exp10;
            } else {
                ++kept[k];
            }
        }
        shownExp = exp10 - (intDigits - 1);
    }
    std::string out;
    if (std::signbit(value) && value != 0.0) out += '-';
    out += kept.substr(0, intDigits);
    if (decimals > 0) out += '.' + kept.substr(intDigits);
    out += static_cast<char>(eChar.unicode());
    if (shownExp < 0) out += '-';
    else if (plus) out += '+';
    std::string ed = std::to_string(std::abs(shownExp));
    while (static_cast<int>(ed.size()) < expDigits) ed.insert(ed.begin(), '0');
    out += ed;
    return QString::fromLatin1(out.c_str());
}

// The value as its decimal digits at `significant` digits (as the runtime
// saw it: 15 for a Double, 7 for a Single), then rounded half away from zero
// to `decimals` places, with at least `intDigits` digits before the point.
QString FormatDecimal(double value, int significant, const QString& pattern)
{
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");

    const int e = static_cast<int>(pattern.indexOf(u'E', 0, Qt::CaseInsensitive));
    if (e >= 0) return FormatExponent(value, significant, pattern, e);

    int point = pattern.indexOf(u'.');
    int intDigits = static_cast<int>((point < 0 ? pattern : pattern.left(point)).count(u'0'));
    // "#" after the point is an optional digit: shown only when not zero.
    const int required = point < 0 ? 0 : static_cast<int>(pattern.mid(point + 1).count(u'0'));
    const int decimals = required + (point < 0 ? 0 : static_cast<int>(pattern.mid(point + 1).count(u'#')));

    bool negative = std::signbit(value);
    std::string digits;
    int exp10 = 0;  // value = 0.d1d2... * 10^(exp10 + 1)
    DecimalDigits(value, significant, digits, exp10);

    // Digits kept: all before the point plus `decimals` after it.
    int keep = exp10 + 1 + decimals;
    std::string kept;  // integer of the scaled value, as digits
    bool roundUp = false;
    if (keep >= 0) {
        roundUp = keep < static_cast<int>(digits.size()) && digits[keep] >= '5';
        kept = digits.substr(0, std::min<size_t>(keep, digits.size()));
        while (static_cast<int>(kept.size()) < keep) kept += '0';
    }
    // No digit kept: the value lies below the last place shown.
    if (kept.empty()) kept.push_back('0');
    if (roundUp) {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[k] == '9') kept[k--] = '0';
        if (k < 0) kept.insert(kept.begin(), '1');
        else ++kept[k];
    }
    // Split into integer part and decimals.
    while (static_cast<int>(kept.size()) < decimals + 1) kept.insert(kept.begin(), '0');
    std::string intPart = kept.substr(0, kept.size() - decimals);
    std::string fracPart = kept.substr(kept.size() - decimals);
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
    bool zero = intPart.empty() && fracPart.find_first_not_of('0') == std::string::npos;
    while (static_cast<int>(intPart.size()) < intDigits) intPart.insert(intPart.begin(), '0');
    while (static_cast<int>(fracPart.size()) > required && fracPart.back() == '0') fracPart.pop_back();

    std::string out;
    if (negative && !zero) out += '-';  // a value that rounds to zero prints without a sign
    out += intPart;
    if (!fracPart.empty()) out += '.' + fracPart;
    if (out.empty() || out == "-") out += '0';
    return QString::fromLatin1(out.c_str());
}

// The runtime's plain text of a number at `significant` digits: C's "%G" gives
// exactly its choice of form (exponent form when the decimal exponent is below
// -4 or at least the number of digits, two exponent digits at least, trailing
// zeros dropped); the runtime then dropped the zero before the point.
// CStr kept the zero before the point ("0.5"); Str dropped it (" .5").
QString PlainText(double value, int significant, bool leadingZero)
{
    if (value == 0.0) return QStringLiteral("0");  // also for -0
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", significant, value);
    QString s = QString::fromLatin1(buf);
    if (!leadingZero) {
        if (s.startsWith(QLatin1String("0."))) s.remove(0, 1);
        else if (s.startsWith(QLatin1String("-0."))) s.remove(1, 1);
    }
    return s;
}

}  // namespace

QString Format(double value, const QString& pattern)
{
    return FormatDecimal(value, 15, pattern);
}

QString Format(float value, const QString& pattern)
{
    return FormatDecimal(value, 7, pattern);
}

// A Single's text: %.7G rounds the float's exact binary value to 7
// significant digits first, so 0.1f reads "0.1" and 12345678f "1.234568E+07";
// magnitudes from 1E+07 and below 1E-04 take the exponent form (for a Double,
// at 15 digits, from 1E+15).
QString CStrSingle(float value)
{
    return PlainText(value, 7, true);
}

QString StrSingle(float value)
{
    QString s = PlainText(value, 7, false);
    return s.startsWith(u'-') ? s : QStringLiteral(" ") + s;
}

QString CStrDouble(double value)
{
    return PlainText(value, 15, true);
}

QString CStrInt(long long value)
{
    return QString::number(value);
}

QString StrInt(long long value)
{
    return value < 0 ? QString::number(value) : QStringLiteral(" ") + QString::number(value);
}

namespace {

bool TryBool(const QString& text, bool& result)
{
    QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) { result = true; return true; }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) { result = false; return true; }
    double v;
    if (ParseStrict(t, v)) { result = v != 0.0; return true; }
    return false;
}

}  // namespace

bool CBool(const QString& text)
{
    bool b;
    if (!TryBool(text, b)) Raise(ErrTypeMismatch);
    return b;
}

bool ReadBool(const QString& text, bool defaultValue)
{
    bool b;
    return TryBool(text, b) ? b : defaultValue;
}

// ---- fixed-width texts ---------------------------------------------------------

QString FixedText(const QString& text, int width)
{
    if (width <= 0) return QString();
    return text.left(width).leftJustified(width, u' ');
}

QString PadLeft(const QString& text, int width)
{
    return text.rightJustified(width, u' ', false);
}

QString PadRight(const QString& text, int width)
{
    return text.leftJustified(width, u' ', false);
}

// ---- Variant ---------------------------------------------------------------------

Variant Variant::Boolean(bool v)
{
    Variant r;
    r.kind_ = Kind::Boolean;
    r.b_ = v;
    return r;
}

Variant Variant::Integer(int16_t v)
{
    Variant r;
    r.kind_ = Kind::Integer;
    r.i_ = v;
    return r;
}

Variant Variant::Long(int32_t v)
{
    Variant r;
    r.kind_ = Kind::Long;
    r.i_ = v;
    return r;
}

Variant Variant::Single(float v)
{
    Variant r;
    r.kind_ = Kind::Single;
    r.d_ = v;
    return r;
}

Variant Variant::Double(double v)
{
    Variant r;
    r.kind_ = Kind::Double;
    r.d_ = v;
    return r;
}

Variant Variant::Text(const QString& v)
{
    Variant r;
    r.kind_ = Kind::Text;
    r.s_ = v;
    return r;
}

bool Variant::isNumber() const
{
    return kind_ == Kind::Integer || kind_ == Kind::Long || kind_ == Kind::Single || kind_ == Kind::Double;
}

double Variant::toDouble() const
{
    switch (kind_) {
    case Kind::Null: Raise(ErrInvalidUse);
    case Kind::Boolean: return b_ ? -1.0 : 0.0;
    case Kind::Integer:
    case Kind::Long: return i_;
    case Kind::Single:
    case Kind::Double: return d_;
    case Kind::Text: {
        double v;
        if (!ParseStrict(s_, v)) Raise(ErrTypeMismatch);
        return v;
    }
    }
    return 0.0;
}

float Variant::toSingle() const
{
    if (kind_ == Kind::Text) {
        // Straight from the decimal text, so the Single is the nearest to what
        // was written (no detour through a Double).
        std::string s = StrictNumberText(s_);
        if (s.empty()) Raise(ErrTypeMismatch);
        errno = 0;
        float f = std::strtof(s.c_str(), nullptr);
        if (!std::isfinite(f)) Raise(ErrOverflow);
        return f;
    }
    return CSng(toDouble());
}

int16_t Variant::toInteger() const
{
    return CInt(toDouble());
}

int32_t Variant::toLong() const
{
    return CLng(toDouble());
}

bool Variant::toBool() const
{
    switch (kind_) {
    case Kind::Null: Raise(ErrInvalidUse);
    case Kind::Boolean: return b_;
    case Kind::Text: return CBool(s_);
    default: return toDouble() != 0.0;
    }
}

QString Variant::toString() const
{
    switch (kind_) {
    case Kind::Null: Raise(ErrInvalidUse);
    case Kind::Boolean: return b_ ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Integer:
    case Kind::Long: return QString::number(i_);
    case Kind::Single: return CStrSingle(static_cast<float>(d_));
    case Kind::Double: return CStrDouble(d_);
    case Kind::Text: return s_;
    }
    return QString();
}

QString Variant::toStringOrEmpty() const
{
    return isNull() ? QString() : toString();
}

bool Variant::operator==(const Variant& other) const
{
    if (kind_ == Kind::Null || other.kind_ == Kind::Null) return kind_ == other.kind_;
    if (kind_ == Kind::Text || other.kind_ == Kind::Text)
        return kind_ == other.kind_ && s_ == other.s_;
    if (kind_ == Kind::Boolean || other.kind_ == Kind::Boolean)
        return kind_ == other.kind_ && b_ == other.b_;
    return toDouble() == other.toDouble();
}

}  // namespace rt
