#include "platform/Runtime.h"
#include "common/QtPrint.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace rt;

namespace {

// Runs `f` and gives the runtime error number it raised, or 0.
template <class F>
int ErrorOf(F f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(Runtime, IsNumericAcceptsOnlyPlainDecimalNumbers)
{
    for (const char* t : {"1", " -2.5 ", "1e3", ".5", "5.", "+7", "1E-3", "\t3\t", "0.000"})
        EXPECT_TRUE(IsNumeric(QString::fromUtf8(t))) << t;
    for (const char* t : {"", " ", "-", ".", "1,000", "&H10", "$5", "1 2", "1e", "1e+", "e3", "--1", "1.2.3",
                          "1e999", "abc", "12a", "- 2"})
        EXPECT_FALSE(IsNumeric(QString::fromUtf8(t))) << t;
}

TEST(Runtime, ValReadsTheLeadingNumber)
{
    struct Case { const char* text; double value; };
    const Case cases[] = {
        {"  1 2.5x", 12.5}, {"abc", 0}, {"-.5e1", -5}, {"", 0}, {"1,000", 1}, {"&H10", 0},
        {"3.5.6", 3.5}, {"1e", 1}, {"2E+2z", 200}, {"- 4", -4}, {"\t7\n8", 78}, {"1e 2", 100}, {".", 0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_EQ(ErrorOf([] { Val("1e999"); }), ErrOverflow);
    // The same reading tells a text without a number from one that reads 0.
    for (const char* none : {"", "abc", ".", " - ", "&H10"}) EXPECT_FALSE(LeadingNumberAsVal(QString::fromUtf8(none))) << none;
    for (const char* zero : {"0", " 0.0x", "-0"}) EXPECT_EQ(LeadingNumberAsVal(QString::fromUtf8(zero)), 0.0) << zero;
    EXPECT_EQ(LeadingNumberAsVal(QStringLiteral("  1 2.5x")), 12.5);
    EXPECT_EQ(LeadingNumberAsVal(QStringLiteral("1e999")), std::numeric_limits<double>::infinity());
}

TEST(Runtime, CIntRoundsHalfToEvenWithinSixteenBits)
{
    struct Case { double in; int out; };
    const Case cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {2.5001, 3},
        {32767.4, 32767}, {-32768.5, -32768}, {-32768.4, -32768}, {0.0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CInt(c.in), c.out) << c.in;
        EXPECT_TRUE(FitsInteger(c.in)) << c.in;
    }
    for (double bad : {32767.5, 32768.0, -32768.51, -32769.0, kNaN, kInf, -kInf}) {
        EXPECT_EQ(ErrorOf([&] { CInt(bad); }), ErrOverflow) << bad;
        EXPECT_FALSE(FitsInteger(bad)) << bad;
    }
    EXPECT_EQ(CLng(2147483646.5), 2147483646);
    EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
    EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), ErrOverflow);
    EXPECT_EQ(ErrorOf([] { CLng(kNaN); }), ErrOverflow);
}

TEST(Runtime, CSngChecksTheSingleRange)
{
    EXPECT_EQ(CSng(0.1), 0.1f);
    EXPECT_EQ(CSng(FLT_MAX), FLT_MAX);
    EXPECT_EQ(CSng(-1e-50), -0.0f);  // too small is zero, as the runtime had it
    EXPECT_TRUE(FitsSingle(static_cast<double>(FLT_MAX) * (1 + 1e-9)));  // rounds to the largest Single
    for (double bad : {3.5e38, -1e39, kNaN, kInf}) {
        EXPECT_FALSE(FitsSingle(bad)) << bad;
        EXPECT_EQ(ErrorOf([&] { CSng(bad); }), ErrOverflow) << bad;
    }
}

TEST(Runtime, FormatRoundsTheDecimalValueHalfAwayFromZero)
{
    struct Case { double value; const char* pattern; const char* text; };
    const Case cases[] = {
        {2.5, "0", "3"}, {-2.5, "0", "-3"}, {0.5, "0", "1"}, {0.4, "0", "0"}, {-0.4, "0", "0"},
        {3, "00", "03"}, {123, "00", "123"}, {-7, "00", "-07"},
        {123.456, "0.0", "123.5"}, {-0.05, "0.0", "-0.1"}, {0.04, "0.0", "0.0"},
        {2.675, "0.00", "2.68"},       // 2.67499999... in binary, 2.675 as a decimal
        {1.0005, "0.000", "1.001"}, {-1.0005, "0.000", "-1.001"},
        {-0.0001, "0.000", "0.000"}, {-0.0, "0", "0"}, {0.0005, "0.000", "0.001"},
        {9.9996, "0.000", "10.000"}, {99.95, "0.0", "100.0"}, {1e20, "0", "100000000000000000000"},
        {1.5e-10, "0.000", "0.000"}, {12, "0.000", "12.000"},
    };
    for (const Case& c : cases) EXPECT_EQ(Format(c.value, c.pattern), QString(c.text)) << c.value << " " << c.pattern;

    // Exponent forms, as the displacement tables print them.
    const Case exponent[] = {
        {0, "0.0000E+00", "0.0000E+00"}, {-0.0, "0.0000E+00", "0.0000E+00"},
        {0.00123456, "0.0000E+00", "1.2346E-03"}, {-0.00123456, "0.0000E+00", "-1.2346E-03"},
        {123456, "0.0000E+00", "1.2346E+05"}, {9.99995, "0.0000E+00", "1.0000E+01"},
        {1.00005, "0.0000E+00", "1.0001E+00"}, {1.5e-10, "0.0000E+00", "1.5000E-10"},
        {2.5e120, "0.0E+00", "2.5E+120"}, {0.05, "0.0E-00", "5.0E-02"}, {50, "0.0E-00", "5.0E01"},
    };
    for (const Case& c : exponent) EXPECT_EQ(Format(c.value, c.pattern), QString(c.text)) << c.value << " " << c.pattern;
    EXPECT_EQ(Format(1.00005f, "0.0000E+00"), "1.0001E+00");

    // A Single is formatted from its 7 significant digits.
    EXPECT_EQ(Format(2.675f, "0.00"), "2.68");
    EXPECT_EQ(Format(1.0005f, "0.000"), "1.001");  // 1.00049996... as a float
    EXPECT_EQ(Format(0.1f, "0.000"), "0.100");
    // Optional digits keep what a Single holds without trailing zeros.
    EXPECT_EQ(Format(0.0127f, "0.0######"), "0.0127");
    EXPECT_EQ(Format(300.25f, "0.0######"), "300.25");
    EXPECT_EQ(Format(300.0f, "0.0######"), "300.0");
    EXPECT_EQ(Format(-0.5f, "0.0######"), "-0.5");
    EXPECT_EQ(Format(1234567.0f, "0.0######"), "1234567.0");
    // Whole numbers of any width.
    EXPECT_EQ(Format(int16_t(5), "0.000"), "5.000");
    EXPECT_EQ(Format(-12, "0"), "-12");
    EXPECT_EQ(Format(qsizetype(7), "00"), "07");
}

TEST(Runtime, SingleTextsFollowTheRuntime)
{
    // CStr keeps the zero before the point, Str drops it and puts a blank
    // before non-negative values.
    struct Case { float value; const char* cstr; const char* str; };
    const Case cases[] = {
        {0.1f, "0.1", " .1"}, {1.0f, "1", " 1"}, {-0.5f, "-0.5", "-.5"}, {0.5f, "0.5", " .5"},
        {1234567.0f, "1234567", " 1234567"}, {12345678.0f, "1.234568E+07", " 1.234568E+07"},
        {10000000.0f, "1E+07", " 1E+07"}, {9999999.0f, "9999999", " 9999999"},
        {3.4e38f, "3.4E+38", " 3.4E+38"}, {FLT_MAX, "3.402823E+38", " 3.402823E+38"},
        {1e-4f, "0.0001", " .0001"}, {9.5e-5f, "9.5E-05", " 9.5E-05"}, {1.5e-7f, "1.5E-07", " 1.5E-07"},
        {-2.5e-5f, "-2.5E-05", "-2.5E-05"}, {0.0f, "0", " 0"}, {-0.0f, "0", " 0"}, {100.0f, "100", " 100"},
        {1.0f / 3.0f, "0.3333333", " .3333333"}, {-2.0f / 3.0f, "-0.6666667", "-.6666667"},
        {123.456f, "123.456", " 123.456"}, {-32768.0f, "-32768", "-32768"}, {0.3f, "0.3", " .3"},
        {16777217.0f, "1.677722E+07", " 1.677722E+07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CStrSingle(c.value), c.cstr) << c.cstr;
        EXPECT_EQ(StrSingle(c.value), c.str) << c.cstr;
    }
    EXPECT_EQ(CStrDouble(1e15), "1E+15");
    EXPECT_EQ(CStrDouble(1e14), "100000000000000");
    EXPECT_EQ(CStrDouble(0.1), "0.1");
    EXPECT_EQ(CStrDouble(22.5), "22.5");
    EXPECT_EQ(CStrInt(-5), "-5");
    EXPECT_EQ(StrInt(5), " 5");
    EXPECT_EQ(StrInt(-5), "-5");
}

TEST(Runtime, BooleanTexts)
{
    struct Case { const char* text; bool value; };
    const Case cases[] = {{"True", true}, {"false", false}, {" TRUE ", true}, {"0", false}, {"-1", true}, {"0.5", true}};
    for (const Case& c : cases) EXPECT_EQ(CBool(c.text), c.value) << c.text;
    for (const char* bad : {"", "yes", "T", "1,0"}) {
        EXPECT_EQ(ErrorOf([&] { CBool(bad); }), ErrTypeMismatch) << bad;
        EXPECT_TRUE(ReadBool(bad, true));
        EXPECT_FALSE(ReadBool(bad, false));
    }
}

TEST(Runtime, FixedWidthTexts)
{
    EXPECT_EQ(FixedText("abc", 5), "abc  ");
    EXPECT_EQ(FixedText("構造計算書です", 3), "構造計");
    EXPECT_EQ(FixedText("", 2), "  ");
    EXPECT_EQ(PadLeft("12", 5), "   12");
    EXPECT_EQ(PadLeft("123456", 3), "123456");
    EXPECT_EQ(PadRight("12", 4), "12  ");
    EXPECT_EQ(PadRight("123456", 3), "123456");
}

TEST(Runtime, VariantConversions)
{
    const Variant t = Variant::Boolean(true);
    EXPECT_EQ(t.toDouble(), -1.0);
    EXPECT_EQ(t.toInteger(), -1);
    EXPECT_EQ(t.toString(), "True");
    EXPECT_EQ(Variant::Boolean(false).toString(), "False");
    EXPECT_FALSE(t.isNumber());

    const Variant n;
    EXPECT_TRUE(n.isNull());
    EXPECT_EQ(n.toStringOrEmpty(), "");
    EXPECT_EQ(ErrorOf([&] { n.toString(); }), ErrInvalidUse);
    EXPECT_EQ(ErrorOf([&] { n.toDouble(); }), ErrInvalidUse);
    EXPECT_EQ(ErrorOf([&] { n.toInteger(); }), ErrInvalidUse);
    EXPECT_EQ(ErrorOf([&] { n.toBool(); }), ErrInvalidUse);

    EXPECT_EQ(Variant::Text(" 2.5 ").toInteger(), 2);
    EXPECT_EQ(Variant::Text("3.5").toInteger(), 4);
    EXPECT_EQ(Variant::Text("1e3").toDouble(), 1000.0);
    EXPECT_EQ(Variant::Text("0.1").toSingle(), 0.1f);
    EXPECT_EQ(Variant::Text("true").toBool(), true);
    for (const char* bad : {"abc", "", "1,000", "12a"}) {
        EXPECT_EQ(ErrorOf([&] { Variant::Text(bad).toDouble(); }), ErrTypeMismatch) << bad;
        EXPECT_EQ(ErrorOf([&] { Variant::Text(bad).toSingle(); }), ErrTypeMismatch) << bad;
    }
    EXPECT_EQ(ErrorOf([] { Variant::Text("1e39").toSingle(); }), ErrOverflow);
    EXPECT_EQ(ErrorOf([] { Variant::Double(40000).toInteger(); }), ErrOverflow);
    EXPECT_EQ(ErrorOf([] { Variant::Text("32767.5").toInteger(); }), ErrOverflow);
    EXPECT_EQ(ErrorOf([] { Variant::Double(1e300).toSingle(); }), ErrOverflow);

    EXPECT_EQ(Variant::Single(0.1f).toString(), "0.1");
    EXPECT_EQ(Variant::Double(0.25).toString(), "0.25");
    EXPECT_EQ(Variant::Single(0.1f).toSingle(), 0.1f);
    EXPECT_EQ(Variant::Integer(-7).toString(), "-7");
    EXPECT_EQ(Variant::Long(100000).toDouble(), 100000.0);
    EXPECT_EQ(ErrorOf([] { Variant::Long(100000).toInteger(); }), ErrOverflow);
    EXPECT_TRUE(Variant::Integer(0).isNumber());
    EXPECT_FALSE(Variant::Integer(0).toBool());
    EXPECT_TRUE(Variant::Single(0.5f).toBool());

    EXPECT_EQ(Variant::Integer(3), Variant::Single(3.0f));
    EXPECT_EQ(Variant(), Variant::Null());
    EXPECT_FALSE(Variant() == Variant::Text(""));
    EXPECT_FALSE(Variant::Text("3") == Variant::Integer(3));
}

TEST(Runtime, ErrorsCarryNumberAndText)
{
    try {
        Raise(ErrItemNotFound, "field x");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3265);
        EXPECT_EQ(e.description(), "field x");
    }
    try {
        Raise(ErrOverflow);
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find('6'), std::string::npos);
    }
}
