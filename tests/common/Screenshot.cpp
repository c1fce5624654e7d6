#include "common/Screenshot.h"

#include "common/TestEnv.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

namespace testenv {

QString ScreenshotPath(const QString& fileName)
{
    const QString dir = qEnvironmentVariable("ZELKOVA_SCREENSHOTS");
    return (dir.isEmpty() ? WorkDir() : dir) + QLatin1Char('/') + fileName;
}

void SaveScreenshot(QWidget* window, const QString& fileName)
{
    window->show();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    const QPixmap shot = window->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 100);
    EXPECT_TRUE(shot.save(ScreenshotPath(fileName)));
}

}  // namespace testenv
