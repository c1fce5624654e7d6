// The preview as the probe shows it: the results report and the frame
// diagram print opened from the main menu, their pages, headers, footers and
// lines, and the PDF.
#include "common/Probe.h"
#include "common/ReportProject.h"
#include "common/TestEnv.h"

#include <gtest/gtest.h>

using testenv::After;
using testenv::Matching;
using testenv::RunProbe;
using testenv::Value;

namespace {

TEST(ProbePreview, Dump)
{
    const QString dir = testenv::MakeDir(QStringLiteral("p"));
    testenv::WriteReportProject({}, dir);
    const QStringList out = RunProbe(dir, {QStringLiteral("preview:10402")});
    for (const QString& l : out) printf("%s\n", qPrintable(l));
}

}  // namespace
