#include "analysis/AnalysisState.h"

#include <algorithm>
#include <cmath>

void FrameModel::Clear()
{
    nNode = nMember = nDof = HalfBand = RowWidth = 0;
    nodes.clear();
    members.clear();
    NodeNo.clear();
    MemberNo.clear();
    NodeRow.fill(0);
    MemberRow.fill(0);
}

int FrameModel::NodeNumber(int row) const
{
    return row >= 0 && row < static_cast<int>(NodeNo.size()) ? NodeNo[static_cast<size_t>(row)] : row;
}

int FrameModel::MemberNumber(int row) const
{
    return row >= 0 && row < static_cast<int>(MemberNo.size()) ? MemberNo[static_cast<size_t>(row)] : row;
}

void FrameModel::SizeBandMatrix()
{
    nDof = 6 * nNode;
    int d = 0;
    for (int r = 1; r <= nMember; ++r) d = std::max(d, std::abs(members[static_cast<size_t>(r)].jRow - members[static_cast<size_t>(r)].iRow));
    HalfBand = std::min(6 * (d + 1), nDof);
    RowWidth = HalfBand + nCase;
}
