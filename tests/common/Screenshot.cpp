#include "common/Screenshot.h"

#include "common/TestEnv.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

namespace testenv {

void SaveScreenshot(QWidget* window, const QString& fileName)
{
    window->show();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    const QPixmap shot = window->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 100);
    const QString dir = qEnvironmentVariable("ZELKOVA_SCREENSHOTS");
    EXPECT_TRUE(shot.save((dir.isEmpty() ? WorkDir() : dir) + QLatin1Char('/') + fileName));
}

}  // namespace testenv
