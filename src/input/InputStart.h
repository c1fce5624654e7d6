// Opening and closing the input screens.
#pragma once

// Opens the input screen of ScreenCode on a backup copy of the working
// database. Returns true when a screen opened; false leaves the caller's
// window in charge (the backup failed, or no screen belongs to the code).
bool StartInputForm();
