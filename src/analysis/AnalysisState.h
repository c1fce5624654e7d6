// The engine's model arrays and run-wide values. Everything is computed in
// double precision; the result tables store Single as their fields are.
// Nodes and members are addressed by row: the position in the display order
// (順) of their tables, from 1. Row 0 is never a node or member.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

constexpr int kMaxNodes = 300;
constexpr int kMaxMembers = 500;
constexpr int kMaxCases = 10;     // input allows 1 to 10
constexpr int kRecordCases = 16;  // per-case records hold cases 0..16

// Counts and band sizes of the current run.
extern int nNode;
extern int nMember;
extern int nCase;
extern int nDof;
extern int HalfBand;
extern int RowWidth;

// NodeData columns: 1..3 X, Y, Z (m); 4..9 restraint of u, v, w, θx, θy, θz
// as condition values (exactly 1.0 fixed, exactly 0 free, otherwise a spring).
extern double NodeData[kMaxNodes + 1][10];
// MemberData columns: 1 i-end node row, 2 j-end node row, 3 section number,
// 4..9 i-end xHKU, yHKU, zHKU, xMWR, yMWR, zMWR, 10..15 the same at j,
// 16 A, 17 torsion constant, 18 Iyy, 19 Izz, 20 E, 21 G.
extern double MemberData[kMaxMembers + 1][23];

// The amount by which each engine milestone advances the overall bar.
extern int ProgressStep;

// A failed run: the message has been shown already; nothing more is computed
// or written.
class AnalysisAbort : public std::runtime_error {
public:
    explicit AnalysisAbort(const QString& message);
    QString message;
};

// Shows a check's message (beep, information icon, AppTitle) and abandons the run.
[[noreturn]] void AbortWithInformation(const QString& text);
// Shows an error message (exclamation icon, no beep) and abandons the run.
[[noreturn]] void AbortWithExclamation(const QString& text);

// Progress reporting of the engine stages; the progress window installs a
// sink, headless runs have none.
class AnalysisProgressSink {
public:
    virtual ~AnalysisProgressSink() = default;
    virtual void Milestone() = 0;                     // Bar += ProgressStep
    virtual void Bar1(int max, int value) = 0;        // ProgressBar1
    virtual void Bar2(bool visible, int max, int value) = 0;  // ProgressBar2
};
void SetAnalysisProgressSink(AnalysisProgressSink* sink);
void ProgressMilestone();
void ProgressBar1(int max, int value);
void ProgressBar2(bool visible, int max = 0, int value = 0);

// Number of a member row / node row for messages (the row itself if unknown).
int MemberNumberOfRow(int row);
int NodeNumberOfRow(int row);

// Clears the counts and model arrays (start of a model load).
void ClearModelArrays();
// nDof, HalfBand (6 × (1 + the largest row distance of a member's ends)) and RowWidth.
void SizeBandMatrix();
