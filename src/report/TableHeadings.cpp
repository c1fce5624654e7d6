#include "report/TableHeadings.h"

#include "platform/Runtime.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"

#include <vector>

namespace report {

namespace {

// One line of a heading block: its SI text and, where the gravitational
// units differ, theirs.
struct HeadingLine {
    const char* si;
    const char* gravitational;   // nullptr: as in SI
};

struct HeadingBlock {
    int16_t code;
    std::vector<HeadingLine> lines;
};

// The blanks are single-byte except the ideographic spaces (U+3000);
// "･" is the half-width middle dot.
const std::vector<HeadingBlock>& HeadingBlocks()
{
    static const std::vector<HeadingBlock> blocks = {
    {11,
     {
         {"             <             座 標           >  <                               拘束状態                              >",
          nullptr},
         {"     節点NO.      X          Y          Z            X           Y           Z          θx         θy         θz",
          nullptr},
         {"                  m          m          m          kN/cm       kN/cm       kN/cm     kN･m/rad    kN･m/rad    kN･m/rad",
          "                  m          m          m           t/cm        t/cm        t/cm      t･m/rad     t･m/rad     t･m/rad"},
         {"      +---+  +----.--+  +----.--+  +----.--+   +-----.--+  +-----.--+  +-----.--+  +-----.--+  +-----.--+  +-----.--+",
          nullptr},
     }},
    {12,
     {
         {"     形状NO.       A           Ixx          Iyy          Izz       Ye       G",
          nullptr},
         {"                  cm2          cm4          cm4          cm4     kN/cm2   kN/cm2",
          "                  cm2          cm4          cm4          cm4      t/cm2    t/cm2"},
         {"      +---+   +----.+   +-------.+   +-------.+   +-------.+   +------+   +----+",
          nullptr},
     }},
    {13,
     {
         {"                                   <             接合状態             >",
          nullptr},
         {"     部材NO.   形状NO.   節点NO.      x軸回り      y軸回り     z軸回り",
          nullptr},
         {"     \u3000\u3000      \u3000\u3000      \u3000\u3000         kN･m/rad    kN･m/rad    kN･m/rad",
          "     \u3000\u3000      \u3000\u3000      \u3000\u3000          t･m/rad     t･m/rad     t･m/rad"},
         {"      +---+     +---+     +---+     +-----.--+  +-----.--+  +-----.--+",
          nullptr},
     }},
    {14,
     {
         {"     形状NO. タイプ  ケース       系        P1         P2         P3         P4         P5         P6         P7",
          nullptr},
         {"      +---+   +---+  +---+  +------+   +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+",
          nullptr},
     }},
    {15,
     {
         {"              <                    節点番号\u3000または\u3000部材番号                    >",
          nullptr},
         {"     形状NO.      1      2      3      4      5      6      7      8      9     10",
          nullptr},
         {"      +---+   +---+  +---+  +---+  +---+  +---+  +---+  +---+  +---+  +---+  +---+",
          nullptr},
     }},
    {31,
     {
         {"      荷重ケース番号     倍率",
          nullptr},
         {"      \u3000\u3000\u3000\u3000\u3000+-+   +----.--+",
          nullptr},
     }},
    {161,
     {
         {"     部材NO.  ケース  節点NO.      Px          Py         Pz        Mx         My         Mz        cMy        cMz",
          "     部材NO.  ケース  節点NO.      Px         Py         Pz        Mx         My         Mz          cMy        cMz"},
         {"  \u3000\u3000           \u3000\u3000\u3000\u3000\u3000        kN          kN         kN       kN･m       kN･m       kN･m       kN･m       kN･m",
          "  \u3000\u3000           \u3000\u3000\u3000\u3000\u3000        t          t          t         t･m        t･m        t･m         t･m        t･m"},
         {"      +---+   +---+   +---+   +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+   +----.--+  +----.--+",
          nullptr},
     }},
    {162,
     {
         {"     部材NO.   節点NO.      Px          Py         Pz        Mx         My         Mz         cMy        cMz",
          "     部材NO.   節点NO.       Px         Py         Pz        Mx         My         Mz          cMy        cMz"},
         {"     \u3000\u3000     \u3000\u3000          kN          kN         kN       kN･m       kN･m       kN･m        kN･m       kN･m",
          "     \u3000\u3000     \u3000\u3000           t          t          t         t･m        t･m        t･m         t･m        t･m"},
         {"      +---+     +---+   +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+   +----.--+  +----.--+",
          nullptr},
     }},
    {211,
     {
         {"     節点NO.  ケース    X            Y            Z            θx          θy          θz",
          nullptr},
         {"                        cm           cm           cm           rad          rad          rad",
          nullptr},
         {"      +---+   +---+   +-.-------+  +-.-------+  +-.-------+  +-.-------+  +-.-------+  +-.-------+",
          nullptr},
     }},
    {212,
     {
         {"     節点NO.     X            Y            Z            θx          θy          θz",
          nullptr},
         {"                 cm           cm           cm           rad          rad          rad",
          nullptr},
         {"      +---+    +-.-------+  +-.-------+  +-.-------+  +-.-------+  +-.-------+  +-.-------+",
          nullptr},
     }},
    {221,
     {
         {"     部材NO. ケース  節点NO.  \u3000  N          Qy         Qz        Mx         My         Mz         cMy        cMz",
          "     部材NO. ケース  節点NO.  \u3000  N          Qy         Qz        Mx         My         Mz          cMy        cMz"},
         {"     \u3000\u3000    \u3000\u3000\u3000 \u3000\u3000          kN         kN         kN       kN･m\u3000     kN･m\u3000     kN･m        kN･m       kN･m",
          "     \u3000\u3000    \u3000\u3000\u3000 \u3000\u3000          t          t          t         t･m\u3000      t･m\u3000      t･m         t･m        t･m"},
         {"      +---+  +---+    +---+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+   +----.--+  +----.--+",
          nullptr},
     }},
    {222,
     {
         {"     部材NO.  節点NO.       N          Qy         Qz        Mx         My         Mz         cMy        cMz",
          "     部材NO.  節点NO.       N          Qy         Qz        Mx         My         Mz          cMy        cMz"},
         {"     \u3000\u3000   \u3000\u3000            kN         kN         kN       kN･m\u3000     kN･m\u3000     kN･m        kN･m       kN･m",
          "     \u3000\u3000   \u3000\u3000            t          t          t         t･m\u3000      t･m\u3000      t･m         t･m        t･m"},
         {"      +---+    +---+   +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+   +----.--+  +----.--+",
          nullptr},
     }},
    {231,
     {
         {"     節点NO.   ケース       PX         PY         PZ        MX         MY         MZ",
          "     節点NO.   ケース       PX         PY         PZ       MX         MY         MZ"},
         {"     \u3000\u3000     \u3000\u3000\u3000        kN         kN         kN       kN･m       kN･m       kN･m",
          "     \u3000\u3000     \u3000\u3000\u3000        t          t          t         t･m        t･m        t･m"},
         {"      +---+    +---+   +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+",
          nullptr},
     }},
    {232,
     {
         {"     節点NO.       PX         PY         PZ        MX         MY         MZ",
          nullptr},
         {"     \u3000\u3000          kN         kN         kN       kN･m       kN･m       kN･m",
          "     \u3000\u3000          t          t          t         t･m        t･m        t･m"},
         {"      +---+   +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+",
          nullptr},
     }},
    };
    return blocks;
}

// Fixed point with `decimals` places, or the exponent form with `mantissa`
// decimals.
QString FixedPattern(int decimals)
{
    return decimals > 0 ? QStringLiteral("0.") + QString(decimals, u'0') : QStringLiteral("0");
}

QString ExponentPattern(int mantissaDecimals)
{
    return (mantissaDecimals > 0 ? QStringLiteral("0.") + QString(mantissaDecimals, u'0') : QStringLiteral("0"))
           + QStringLiteral("E+00");
}

template <typename Number>
QString FitColumn(Number value, int16_t width, int16_t decimals)
{
    const int d = std::max<int>(0, decimals);
    const int columnWidth = std::max<int>(0, width) + d + (d > 0 ? 1 : 0);
    QString fixed = rt::Format(value, FixedPattern(d));
    // A negative value that rounds to zero keeps its sign: it tells on which
    // side of zero the value lies. Zero itself, -0 included, has none.
    if (value < 0 && !fixed.startsWith(u'-')) fixed.prepend(u'-');
    if (fixed.size() <= columnWidth) return rt::PadLeft(fixed, columnWidth);
    // Too wide: the exponent form with as many digits as the column holds.
    for (int k = std::max(0, columnWidth - 6); k >= 0; --k) {
        const QString exponent = rt::Format(value, ExponentPattern(k));
        if (exponent.size() <= columnWidth) return rt::PadLeft(exponent, columnWidth);
    }
    return fixed;
}

}  // namespace

QStringList TableHeadingLines(int16_t code, bool si)
{
    QStringList out;
    for (const HeadingBlock& block : HeadingBlocks()) {
        if (block.code != code) continue;
        for (const HeadingLine& line : block.lines)
            out << QString::fromUtf8(!si && line.gravitational ? line.gravitational : line.si);
    }
    return out;
}

void PrintTableHeader(ReportContext& ctx)
{
    const int16_t code = ctx.currentTableCode;
    if (code == TableCodeNone) return;
    const QStringList lines = TableHeadingLines(code, ctx.unitIsSI);
    if (lines.isEmpty()) return;
    // A page break inside the block must not print the block again.
    ctx.currentTableCode = TableCodeNone;
    for (const QString& line : lines) ctx.doc.PrintParagraph(line);
    ctx.currentTableCode = code;
}

RunningTable::RunningTable(ReportContext& ctx, int16_t code) : ctx_(ctx)
{
    ctx_.currentTableCode = code;
    PrintTableHeader(ctx_);
}

RunningTable::~RunningTable() { ctx_.currentTableCode = TableCodeNone; }

QString FormatFixedWidth(double value, int16_t width, int16_t decimals) { return FitColumn(value, width, decimals); }

QString FormatFixedWidth(float value, int16_t width, int16_t decimals) { return FitColumn(value, width, decimals); }

}  // namespace report
