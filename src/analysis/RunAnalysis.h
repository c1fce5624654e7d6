// The analysis command: runs the whole analysis with its progress window.
#pragma once

// Returns after a completed run and after a run ended by a failed check.
void RunAnalysis();
