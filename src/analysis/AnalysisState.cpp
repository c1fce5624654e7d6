#include "analysis/AnalysisState.h"

#include "platform/Ui.h"
#include "core/ProgramState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

int nNode = 0;
int nMember = 0;
int nCase = 0;
int nDof = 0;
int HalfBand = 0;
int RowWidth = 0;
double NodeData[kMaxNodes + 1][10];
double MemberData[kMaxMembers + 1][23];
int ProgressStep = 8;

namespace {
AnalysisProgressSink* g_sink = nullptr;
}

AnalysisAbort::AnalysisAbort(const QString& text)
    : std::runtime_error(text.toStdString()), message(text) {}

void AbortWithInformation(const QString& text)
{
    ui::Beep();
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(text, ui::Icon::Information, AppTitle));
    throw AnalysisAbort(text);
}

void AbortWithExclamation(const QString& text)
{
    ui::MsgBox(text, ui::Icon::Exclamation);
    throw AnalysisAbort(text);
}

void SetAnalysisProgressSink(AnalysisProgressSink* sink) { g_sink = sink; }
void ProgressMilestone() { if (g_sink) g_sink->Milestone(); }
void ProgressBar1(int max, int value) { if (g_sink) g_sink->Bar1(max, value); }
void ProgressBar2(bool visible, int max, int value) { if (g_sink) g_sink->Bar2(visible, max, value); }

int MemberNumberOfRow(int row)
{
    if (row >= 0 && row < static_cast<int>(Program().MemberNo.size())) return Program().MemberNo[row];
    return row;
}

int NodeNumberOfRow(int row)
{
    if (row >= 0 && row < static_cast<int>(Program().NodeNo.size())) return Program().NodeNo[row];
    return row;
}

void ClearModelArrays()
{
    nNode = nMember = nDof = HalfBand = RowWidth = 0;
    std::memset(NodeData, 0, sizeof NodeData);
    std::memset(MemberData, 0, sizeof MemberData);
}

void SizeBandMatrix()
{
    nDof = 6 * nNode;
    int d = 0;
    for (int r = 1; r <= nMember; ++r)
        d = std::max(d, static_cast<int>(std::fabs(MemberData[r][2] - MemberData[r][1])));
    HalfBand = std::min(6 * (d + 1), nDof);
    RowWidth = HalfBand + nCase;
}
