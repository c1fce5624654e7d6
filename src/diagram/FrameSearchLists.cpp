#include "diagram/FrameSearchLists.h"

#include "platform/Runtime.h"

namespace diagram {

namespace {

// The row of a number in a map, or -1 when the number has none.
template <size_t N>
int RowOf(const std::array<int16_t, N>* map, int number, size_t rowCount)
{
    if (!map || number < 0 || number >= static_cast<int>(N)) return -1;
    const int row = (*map)[static_cast<size_t>(number)];
    return row >= 0 && static_cast<size_t>(row) < rowCount ? row : -1;
}

}  // namespace

QStringList NumberRangeItems(int largest)
{
    QStringList items;
    for (int i = 0; i <= (largest + 1) / kNumbersPerRange; ++i)
        items << rt::PadLeft(rt::CStrInt(kNumbersPerRange * i + 1), 4) + QStringLiteral(" ～ ")
                     + rt::CStrInt(kNumbersPerRange * i + kNumbersPerRange);
    return items;
}

QStringList ItemsInRange(const QStringList& results, int range)
{
    QStringList items;
    if (range < 0) return items;
    const double first = kNumbersPerRange * static_cast<double>(range) + 1;
    for (const QString& r : results) {
        const double n = rt::Val(r);
        if (n >= first && n <= first + kNumbersPerRange - 1) items << QStringLiteral(" ") + rt::CStrDouble(n);
    }
    return items;
}

QString ResultItem(int number) { return rt::Format(number, QStringLiteral("000")); }

QStringList NodesWithRestraint(const DrawingRows& rows, const std::vector<PlacementRow>& placements,
                               int matchedType, bool allFree)
{
    std::vector<int> type(rows.nodeNo.size(), -1);
    for (const PlacementRow& p : placements)
        for (int16_t n : p.targets) {
            const int r = RowOf(rows.nodeRow, n, rows.nodeNo.size());
            if (r >= 0) type[static_cast<size_t>(r)] = p.type;
        }
    QStringList found;
    for (size_t r = 0; r < rows.nodeNo.size(); ++r) {
        const bool match = allFree ? type[r] == -1 || (matchedType != -1 && type[r] == matchedType)
                                   : matchedType != -1 && type[r] == matchedType;
        if (match) found << ResultItem(rows.nodeNo[r]);
    }
    return found;
}

QStringList MembersWithEnds(const DrawingRows& rows, const std::vector<PlacementRow>& placements, int iType,
                            int jType, bool bothRigid)
{
    std::vector<std::pair<int, int>> ends(rows.memberNo.size(), {-1, -1});
    for (const PlacementRow& p : placements)
        for (int16_t m : p.targets) {
            const int r = RowOf(rows.memberRow, m, rows.memberNo.size());
            if (r >= 0) ends[static_cast<size_t>(r)] = {p.type, p.jType};
        }
    QStringList found;
    for (size_t r = 0; r < rows.memberNo.size(); ++r) {
        if (rows.memberNo[r] == 0) continue;   // a row the drawing left empty
        const auto [i, j] = ends[r];
        bool match;
        if (bothRigid) {
            const bool unplaced = i == -1 && j == -1;
            match = unplaced || (iType != -1 && i == iType && j == jType);
        } else {
            // Conditions that no end type holds match no member, not the
            // members without a placement.
            match = !(iType == -1 && jType == -1) && i == iType && j == jType;
        }
        if (match) found << ResultItem(rows.memberNo[r]);
    }
    return found;
}

}  // namespace diagram
