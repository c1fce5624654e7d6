#include "report/tables/LoadCombinationChapter.h"

#include "platform/Database.h"
#include "platform/Runtime.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/MidSpanMoment.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultColumns.h"
#include "report/tables/ResultRows.h"
#include "report/tables/TableText.h"

#include <algorithm>
#include <span>

namespace report {

namespace {

constexpr int kMaxCases = 10;

// The weight of each load case in the combination, case 1 first.
std::vector<float> CaseWeights(const ReportContext& ctx)
{
    std::vector<float> w;
    for (int c = 1; c <= ctx.loadCaseCount; ++c) w.push_back(ctx.CaseWeight(c));
    return w;
}

// The rows of one node or member for every case from 1 to the count; a case
// without a row fails.
std::vector<int> RowsOfEveryCase(const ResultRows& rows, int16_t no, int cases)
{
    std::vector<int> out;
    for (int c = 1; c <= cases; ++c) {
        const std::optional<int> row = rows.First(no, static_cast<int16_t>(c));
        if (!row) MissingRow();
        out.push_back(*row);
    }
    return out;
}

// A combined value that a Single cannot hold.
struct CombinedValueOutOfRange {};

// Combined values, indexed like the fields of the rows: each value summed
// over the cases with its weight, moments per metre, the running sum kept in
// single precision. A sum must fit a finite Single after every case, as a
// stored value must when a table reads it (rt::FitsSingle).
class CombinedValues {
public:
    explicit CombinedValues(int fields) : sums_(static_cast<size_t>(fields), 0.0f) {}
    void Add(int field, float weight, double value)
    {
        float& s = sums_[static_cast<size_t>(field)];
        const double sum = static_cast<double>(s) + static_cast<double>(weight) * value;
        if (!rt::FitsSingle(sum)) throw CombinedValueOutOfRange();
        s = static_cast<float>(sum);
    }
    float operator[](int field) const { return sums_[static_cast<size_t>(field)]; }

private:
    std::vector<float> sums_;
};

// Adds the columns' values of every case, each in the units it prints in.
void AddCases(CombinedValues& sums, const ResultRows& rows, const std::vector<int>& caseRows, const std::vector<float>& weights,
              std::span<const ValueColumn> columns)
{
    for (size_t i = 0; i < caseRows.size(); ++i) {
        for (const ValueColumn& c : columns) {
            const float stored = rows.Single(caseRows[i], c.value);
            sums.Add(c.value, weights[i],
                     c.kind == ValueKind::Moment ? MomentPerMetre(stored, MomentScale::PerHundred) : static_cast<double>(stored));
        }
    }
}

QString CombinedColumns(std::span<const ValueColumn> columns, const CombinedValues& sums)
{
    QString text;
    AppendColumns(text, columns, [&](const ValueColumn& c) { return CombinedValueText(c, sums[c.value]); });
    return text;
}

void PrintFactorList(ReportContext& ctx)
{
    RunningTable table(ctx, TableCodeCombinationFactors);
    if (ctx.loadCaseCount > kMaxCases) rt::Raise(rt::ErrOverflow, QStringLiteral("荷重ケース数が 10 を超えています。"));
    for (int i = 0; i < ctx.loadCaseCount; ++i) {
        if (ctx.info.CaseSelected[static_cast<size_t>(i)] == 0) continue;
        ctx.doc.PrintParagraph(QStringLiteral("      　　 　　　") + (QStringLiteral("  ") + QString::number(i + 1)).right(2) + Blanks(3)
                               + FormatFixedWidth(ctx.info.CaseFactor[static_cast<size_t>(i)], 5, 3));
    }
}

// A section of nodes: each node's values summed over the cases, one line
// per node after its number and `gap` blanks; with `onlyNonZero` a node
// whose sums are all 0 is left out.
struct NodeSection {
    QStringList title;
    int16_t code;
    QString table;
    const QStringList& fields;
    std::span<const ValueColumn> columns;
    int gap;
    bool onlyNonZero;
};

void PrintCombinedNodes(ReportContext& ctx, const std::vector<float>& weights, const NodeSection& section)
{
    for (const QString& line : section.title) ctx.doc.PrintParagraph(line);
    RunningTable table(ctx, section.code);
    const std::vector<int16_t> nodes = NumbersInOrder(ctx.db, QStringLiteral("節点座標1"));
    const ResultRows rows(ctx.db, section.table, section.fields);
    for (int16_t node : nodes) {
        CombinedValues sums(static_cast<int>(section.fields.size()));
        AddCases(sums, rows, RowsOfEveryCase(rows, node, ctx.loadCaseCount), weights, section.columns);
        const bool any = std::any_of(section.columns.begin(), section.columns.end(),
                                     [&](const ValueColumn& c) { return sums[c.value] != 0; });
        if (any || !section.onlyNonZero)
            ctx.doc.PrintParagraph(NumberHead(node) + Blanks(section.gap) + CombinedColumns(section.columns, sums));
    }
}

// A member of the list with its end nodes.
struct ListedMember {
    int16_t no, iNode, jNode;
};

std::vector<ListedMember> MembersInOrder(dao::Database& db)
{
    std::vector<ListedMember> members;
    for (const std::vector<rt::Variant>& row : ReadRows(db, QStringLiteral("要素情報"), {"No_", "iTan", "jTan"}))
        members.push_back({row[0].toInteger(), row[1].toInteger(), row[2].toInteger()});
    std::stable_sort(members.begin(), members.end(), [](const ListedMember& a, const ListedMember& b) { return a.no < b.no; });
    return members;
}

// The combined mid-span moments. A case stores 0 at mid-span when it has no
// member load in that plane: its moment line is straight, and it adds the
// midpoint of its end moments. When no weighted case has a load in the
// plane, the combined moment stays 0, the mark of a straight line.
void AddMidSpanMoments(CombinedValues& sums, const ResultRows& rows, const std::vector<int>& caseRows,
                       const std::vector<float>& weights)
{
    struct Plane {
        MomentAxis axis;
        int iField, jField, midField;
    };
    static constexpr Plane planes[] = {{MomentAxis::Y, FieldIMy, FieldJMy, FieldCMy}, {MomentAxis::Z, FieldIMz, FieldJMz, FieldCMz}};
    for (const Plane& p : planes) {
        bool loaded = false;
        for (size_t i = 0; i < caseRows.size(); ++i)
            if (weights[i] != 0 && rows.Single(caseRows[i], p.midField) != 0) loaded = true;
        for (size_t i = 0; i < caseRows.size(); ++i) {
            const int row = caseRows[i];
            const float stored = rows.Single(row, p.midField);
            const float moment =
                loaded ? MidSpanMomentOfCase(p.axis, rows.Single(row, p.iField), rows.Single(row, p.jField), stored) : stored;
            sums.Add(p.midField, weights[i], MomentPerMetre(moment, MomentScale::PerHundred));
        }
    }
}

void PrintCombinedMemberForces(ReportContext& ctx, const std::vector<float>& weights)
{
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QStringLiteral(" * 部材応力（* が付いている部材は圧縮材）"));
    ctx.doc.PrintParagraph(QStringLiteral(" "));
    RunningTable table(ctx, TableCodeMemberForcesForCase);
    const std::vector<ListedMember> members = MembersInOrder(ctx.db);
    const ResultRows rows(ctx.db, QStringLiteral("Analyze部材応力"), MemberEndFields());
    const int fields = static_cast<int>(MemberEndFields().size());
    for (const ListedMember& m : members) {
        const std::vector<int> caseRows = RowsOfEveryCase(rows, m.no, ctx.loadCaseCount);
        CombinedValues sums(fields);
        AddCases(sums, rows, caseRows, weights, IEndColumns().first(6));
        AddCases(sums, rows, caseRows, weights, JEndColumns());
        AddMidSpanMoments(sums, rows, caseRows, weights);
        const auto [i, j] = MemberEndLines(CompressionHead(m.no, sums[FieldIN] > 0), m.iNode, m.jNode,
                                           [&](const ValueColumn& c) { return CombinedValueText(c, sums[c.value]); });
        ctx.doc.PrintParagraph(i);
        ctx.doc.PrintParagraph(j);
        ctx.doc.PrintParagraph(QString());
    }
}

}  // namespace

void PrintLoadCombinationResults(ReportContext& ctx)
{
    QString topic = QStringLiteral("応力の組み合わせのデータ");
    try {
        PrintFactorList(ctx);
        const std::vector<float> weights = CaseWeights(ctx);
        topic = QStringLiteral("節点変位の組み合わせ");
        PrintCombinedNodes(ctx, weights,
                           {{QStringLiteral(" "), QStringLiteral(" * 節点変位"), QStringLiteral(" ")}, TableCodeDisplacementsForCase,
                            QStringLiteral("Analyze節点変位"), DisplacementFields(), DisplacementColumns(), 4, false});
        topic = QStringLiteral("部材応力の組み合わせ");
        PrintCombinedMemberForces(ctx, weights);
        topic = QStringLiteral("支点反力の組み合わせ");
        // Nodes whose combined reactions are all 0, free ones among them, are left out.
        PrintCombinedNodes(ctx, weights,
                           {{QString(), QString(), QStringLiteral(" * 支点反力"), QString()}, TableCodeReactionsForCase,
                            QStringLiteral("Analyze支点反力"), ReactionFields(), ReactionColumns(), 3, true});
    } catch (const ReportCancelled&) {
        throw;
    } catch (const CombinedValueOutOfRange&) {
        // A combined value beyond a Single is the section's error as an
        // unreadable stored value is a result table's: its message, then the
        // build ends and the document is dropped.
        Fail(ReportMessage{PrintingErrorText(topic)});
    } catch (...) {
        // The chapter ends here and the build goes on; the table that failed
        // has set its heading code back to none (RunningTable), so no heading
        // follows onto the pages after it.
        ctx.Notify(ReportMessage{PrintingErrorText(topic)});
    }
}

}  // namespace report
