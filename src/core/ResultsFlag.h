// The analysis flag: the setting "AnalyzeFinish" of section "Public", True
// only while the results in the project database were computed from the
// model there. It must never stay True on disk once the model or the results
// may change, or a restart would offer old results as current.
#pragma once

#include <QString>

// Stores the flag False and writes the settings at once. When they cannot be
// written, tells the user that `refused` ("入力画面を開けません") because
// the settings cannot be saved, and returns false: the caller then changes
// neither the model nor the results, which stay current.
bool StoreResultsStale(const QString& refused);
