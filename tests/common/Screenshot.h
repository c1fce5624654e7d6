// Pictures of windows for a person to look at: saved where
// ZELKOVA_SCREENSHOTS points, else in the test's working folder.
#pragma once

#include <QString>

class QWidget;

namespace testenv {

// Where a picture named `fileName` is saved.
QString ScreenshotPath(const QString& fileName);

// Shows the window, lets it paint and saves what it shows as `fileName` (PNG).
void SaveScreenshot(QWidget* window, const QString& fileName);

}  // namespace testenv
