// The main menu's entry to the load names and combinations window.
#pragma once

// Whether this build has the window.
bool LoadCombinationWindowAvailable();
// Shows frm01荷重組合せ modally; returns when it is closed.
void ShowLoadCombinationWindow();
