// The one message for a command whose window this build does not have yet.
#pragma once
#include <QString>

// Beeps and shows, with an information icon, that `title` cannot be opened
// in this build. The caller leaves everything as it was.
void ShowWindowNotAvailable(const QString& title);
