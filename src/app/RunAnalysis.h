// The analysis command: runs the whole analysis with its progress window.
#pragma once

#include <QString>

// Returns after a completed run and after a run ended by a failed check.
void RunAnalysis();

// "START" shows the progress window and waits for its first paint; "FINISH"
// shows the end and waits for OK; any other text does nothing.
void ShowAnalysisProgress(const QString& phase);
// Deletes the scratch files, releases the run's arrays, unloads the window.
void FinishAnalysis();
