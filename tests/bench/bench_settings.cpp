// One write of the settings file: a value changed and written to disk, as an
// input screen does with the analysis flag, on a file of the program's
// sections and 50 lines added by hand. Run by hand: bench_settings; prints
// the median and the best of 200 writes.
#include "bench/BenchTiming.h"
#include "common/TestEnv.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Bench, OneSettingsWrite)
{
    QByteArray file = "[Public]\nAnalyzeFinish=True\nChkCancel=False\nChkDelete=True\nChkToolTiptext=True\n\n"
                      "[Mainmenu]\nMainMenuLeft=3000\nMainMenuTop=2000\nDataPass=/home/user/保存データ/工事1.lzh\n"
                      "DataName=工事1\n\n[Input]\nInputLeft=1200\nInputTop=900\nRamen\\Zoom=1.5\n\n"
                      "[Preview]\nPreviewLeft=0\nPreviewTop=0\nPreviewWidth=12000\nPreviewHeight=9000\n\n[ByHand]\n";
    for (int i = 0; i < 50; ++i) file += QString("note%1=kept by hand, line %1\n").arg(i).toUtf8();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(testenv::SettingsFilePath()).path()));
    ASSERT_TRUE(testenv::WriteFile(testenv::SettingsFilePath(), file));
    reg::Reopen();
    int n = 0;
    const std::vector<double> ms = bench::Times(200, [&n] {
        reg::SaveSetting("Public", "AnalyzeFinish", ++n % 2 ? "False" : "True");
        ASSERT_TRUE(reg::Sync());
    });
    bench::Report("one settings write (value changed, file synced), median", ms[ms.size() / 2]);
    bench::Report("one settings write (value changed, file synced), best", ms.front());
}
