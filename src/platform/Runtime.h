// The language runtime's conversions in one place: the numeric test, the
// leading-number conversion, rounding to 16-bit whole numbers, number formats,
// fixed-width texts, the error type, and a Variant for field values and
// entry-box values (Null, Boolean, 16-bit Integer, Single, Text).
#pragma once

#include <QString>
#include <concepts>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace rt {

// Error numbers of the runtime and the database engine that the program tells
// apart. Other numbers may be raised with a text of their own.
enum ErrorNumber : int {
    ErrOverflow = 6,
    ErrTypeMismatch = 13,
    ErrInvalidUse = 94,         // Null where a value is needed
    ErrFileNotFound = 53,
    ErrFileIO = 75,
    ErrNoCurrentRecord = 3021,
    ErrCannotOpenFile = 3024,   // database file missing
    ErrObjectNotFound = 3078,   // table missing
    ErrItemNotFound = 3265,     // field missing
    ErrRecordDeleted = 3167,
    ErrUpdateWithoutEdit = 3020,
    ErrNotADatabase = 3343,     // unrecognised database format
    ErrTableExists = 3010,
    ErrDatabaseIO = 3049,       // any other engine failure
    ErrObjectClosed = 3420,
    ErrSyntax = 3077,           // criteria that cannot be read
};

class Error : public std::runtime_error {
public:
    Error(int number, const QString& description);
    int number() const { return number_; }
    QString description() const { return description_; }

private:
    int number_;
    QString description_;
};

[[noreturn]] void Raise(int number, const QString& description = QString());

// ---- numeric texts -------------------------------------------------------

// Whole-text numeric test: blanks around the value, an optional sign, digits
// with an optional decimal part (at least one digit in all), an optional
// exponent. No thousands separators, no hexadecimal, no currency signs.
bool IsNumeric(const QString& text);

// Leading-number conversion: blanks (and tabs, line feeds) are ignored
// wherever they stand, "." is always the decimal point, reading stops at the
// first character that cannot continue a number; no number gives 0.
// Overflow (6) for a number beyond a Double.
double Val(const QString& text);
// The number Val reads, or none when the text does not begin with one, so
// that a text reading 0 is told from a text without a number; a number
// beyond a Double is infinite here.
std::optional<double> LeadingNumberAsVal(const QString& text);

// Round half to even into a 16-bit Integer; Overflow (6) outside -32768..32767
// and for values that are not finite.
int16_t CInt(double value);
// Round half to even into a 32-bit Long; Overflow outside its range.
int32_t CLng(double value);
// True when CInt(value) would succeed.
bool FitsInteger(double value);
// The value as a 32-bit Single; Overflow when it does not fit a finite Single.
float CSng(double value);
// True when the value fits a finite Single.
bool FitsSingle(double value);

// Formats with the patterns the program uses: "0", "00", "0.0", "0.00",
// "0.0####" (a "#" after the point is a digit shown only when it is not a
// trailing zero),
// "0.000" (any count of zeros before and after the point) and exponent forms
// such as "0.0000E+00". Rounds half away from zero on the decimal value; a
// result of zero has no minus sign.
QString Format(double value, const QString& pattern);
// A Single is taken at its 7 significant digits first, as the runtime held it
// (Format(2.675f, "0.00") is "2.68").
QString Format(float value, const QString& pattern);
// Whole numbers (so that Integer and Long arguments are not ambiguous).
template <std::integral T>
QString Format(T value, const QString& pattern) { return Format(static_cast<double>(value), pattern); }

// The plain decimal text of a Single as the runtime's Str/CStr wrote it:
// up to 7 significant digits, no trailing zeros, an "E+nn" form for very large
// and very small values. CStr gives "0.5" and "-0.5"; Str drops the zero
// before the point (" .5", "-.5") and gives a leading blank for non-negative values.
QString CStrSingle(float value);
QString StrSingle(float value);
// The same for a Double, at 15 significant digits ("1E+15" upwards).
QString CStrDouble(double value);
// The same for whole numbers.
QString CStrInt(long long value);
QString StrInt(long long value);

// Texts converted to a Boolean: "True"/"False" in any case, or a number
// (non-zero is True). Anything else is a Type mismatch (13).
bool CBool(const QString& text);
// As CBool, but a text that does not read gives the default.
bool ReadBool(const QString& text, bool defaultValue);

// ---- fixed-width texts ---------------------------------------------------

// Left-aligned into exactly `width` characters: padded with blanks on the
// right, cut after `width` characters (a fixed-length string of the runtime).
QString FixedText(const QString& text, int width);
// Right-aligned into `width` characters (padded on the left); longer texts
// are returned unchanged (RSet/Right-justified number columns).
QString PadLeft(const QString& text, int width);
// Left-aligned into `width` characters; longer texts are returned unchanged.
QString PadRight(const QString& text, int width);

// ---- Variant -------------------------------------------------------------

// A value as the runtime held it. Conversions follow the runtime:
// Boolean True reads as -1, a Single as text is CStrSingle, Null as text is an
// Invalid use of Null (94) except through ToStringOrEmpty.
class Variant {
public:
    enum class Kind { Null, Boolean, Integer, Long, Single, Double, Text };

    Variant() = default;                       // Null
    static Variant Null() { return Variant(); }
    static Variant Boolean(bool v);
    static Variant Integer(int16_t v);
    static Variant Long(int32_t v);
    static Variant Single(float v);
    static Variant Double(double v);
    static Variant Text(const QString& v);

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }
    bool isNumber() const;

    // Numeric reading: Boolean -1/0, numbers as they are, Text by the
    // whole-text numeric test (Type mismatch when it is not numeric),
    // Null raises Invalid use of Null.
    double toDouble() const;
    float toSingle() const;
    int16_t toInteger() const;   // rounds half to even; Overflow when too large
    int32_t toLong() const;
    bool toBool() const;         // numbers: non-zero; texts: CBool
    QString toString() const;    // Null raises 94
    QString toStringOrEmpty() const;  // Null gives ""

    bool operator==(const Variant& other) const;

private:
    Kind kind_ = Kind::Null;
    bool b_ = false;
    int32_t i_ = 0;
    double d_ = 0;   // Single values are kept exactly as their float
    QString s_;
};

}  // namespace rt
