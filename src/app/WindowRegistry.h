// Makes the windows of the layers known to each other: the factories of the
// input screens and their side windows, by which the input framework opens
// them, and the main menu, which the windows show again when they close.
#pragma once

// Called once at start-up (and by the test environment); repeating it is harmless.
void RegisterProgramWindows();
