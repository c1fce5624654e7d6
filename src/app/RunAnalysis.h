// The analysis command: runs the whole analysis with its progress window.
#pragma once

#include "analysis/AnalysisState.h"

#include <QString>

// Returns after a completed run, after a run ended by a failed check, and at
// once, after its message, when the analysis flag cannot be stored.
void RunAnalysis();

// "START" shows the progress window and waits for its first paint; "FINISH"
// shows the end and waits for OK; any other text does nothing.
void ShowAnalysisProgress(const QString& phase);
// Deletes the scratch files, releases the program-wide node and member maps,
// unloads the window.
void FinishAnalysis();

// Shows the message of a failed run as the engine describes it (beep, icon,
// text); the answer to a check's message goes to MsgResult.
void ShowAnalysisFailure(const AnalysisFailure& failure);

// The progress window as the engine's progress sink: a milestone advances
// its overall bar by ProgressStep, set by "START" from the bar's maximum.
class AnalysisProgressWindow : public AnalysisProgressSink {
public:
    int ProgressStep = 8;
    void Milestone() override;
    void Bar1(int max, int value) override;
    void Bar2(bool visible, int max, int value) override;
};
AnalysisProgressWindow& AnalysisProgress();
