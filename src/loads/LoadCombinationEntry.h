// The main menu's entry to the load names and combinations window.
#pragma once

#include <functional>

class frm01荷重組合せ;

// Whether this build has the window.
bool LoadCombinationWindowAvailable();
// Shows frm01荷重組合せ modally; returns when it is closed.
void ShowLoadCombinationWindow();

// What the modal show does once the window has loaded. By default the window
// is shown modally and the call returns when it has been closed. Tests and
// the probe, which have no user to close it, put a runner here that drives
// the loaded window instead and ends it through its buttons; a window the
// runner leaves open is unloaded without saving. nullptr restores the default.
void SetLoadCombinationModalRunner(std::function<void(frm01荷重組合せ&)> runner);
