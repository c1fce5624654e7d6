#include "report/tables/ResultColumns.h"

#include "report/TableHeadings.h"

namespace report {

const QStringList& DisplacementFields()
{
    static const QStringList fields{QStringLiteral("Case"), QStringLiteral("No_"), QStringLiteral("⊿X"), QStringLiteral("⊿Y"),
                                    QStringLiteral("⊿Z"), QStringLiteral("⊿θx"), QStringLiteral("⊿θy"), QStringLiteral("⊿θz")};
    return fields;
}

std::span<const ValueColumn> DisplacementColumns()
{
    using enum ValueKind;
    static constexpr ValueColumn columns[] = {{2, Exponent, 0}, {3, Exponent, 2}, {4, Exponent, 2},
                                              {5, Exponent, 2}, {6, Exponent, 2}, {7, Exponent, 2}};
    return columns;
}

const QStringList& ReactionFields()
{
    static const QStringList fields{"Case", "No_", "PX", "PY", "PZ", "MX", "MY", "MZ"};
    return fields;
}

std::span<const ValueColumn> ReactionColumns()
{
    using enum ValueKind;
    static constexpr ValueColumn columns[] = {{2, Force, 0},  {3, Force, 2},  {4, Force, 2},
                                              {5, Moment, 2}, {6, Moment, 2}, {7, Moment, 2}};
    return columns;
}

const QStringList& MemberEndFields()
{
    static const QStringList fields{"Case", "No_", "iTan", "iN", "iQy", "iQz", "iMx", "iMy", "iMz",
                                    "jTan", "jN",  "jQy",  "jQz", "jMx", "jMy", "jMz", "cMy", "cMz"};
    return fields;
}

std::span<const ValueColumn> IEndColumns()
{
    using enum ValueKind;
    static constexpr ValueColumn columns[] = {{3, Force, 3},  {4, Force, 2},  {5, Force, 2},
                                              {6, Moment, 2}, {7, Moment, 2}, {8, Moment, 2},
                                              {FieldCMy, Moment, 3}, {FieldCMz, Moment, 2}};
    return columns;
}

std::span<const ValueColumn> JEndColumns()
{
    using enum ValueKind;
    static constexpr ValueColumn columns[] = {{10, Force, 3},  {11, Force, 2},  {12, Force, 2},
                                              {13, Moment, 2}, {14, Moment, 2}, {15, Moment, 2}};
    return columns;
}

QString NumberHead(int16_t no) { return Blanks(6) + FormatFixedWidth(no, 5, 0); }

QString CompressionHead(int16_t no, bool compression)
{
    return NumberHead(no) + (compression ? QStringLiteral("*   ") : Blanks(4));
}

QString GroupedHead(std::optional<int16_t> no, int gap, int16_t caseNo)
{
    return (no ? NumberHead(*no) : Blanks(11)) + Blanks(gap) + FormatFixedWidth(caseNo, 5, 0);
}

}  // namespace report
