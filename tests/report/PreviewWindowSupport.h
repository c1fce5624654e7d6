// The preview window opened as the main menu opens it (common/PreviewOpener.h)
// on a report project written first, with that project's header.
#pragma once

#include "common/PreviewOpener.h"
#include "common/ReportProject.h"
#include "core/ProgramState.h"

#include <QLabel>

namespace reporttest {

// A report project of `cases` load cases, the rest as the defaults.
inline testenv::ReportProjectSetup ProjectOfCases(int cases)
{
    testenv::ReportProjectSetup setup;
    setup.cases = cases;
    return setup;
}

class PreviewWindow : public testenv::PreviewOpener {
public:
    PreviewWindow(const testenv::ReportProjectSetup& setup, int16_t code, bool confirmDialog = true,
                  const report::ReportChapters& chapters = report::StandardChapters())
        : PreviewOpener(code, confirmDialog, chapters)
    {
        testenv::WriteReportProject(setup);
        Program().ReportHeader = {setup.name.leftJustified(50), setup.designer.leftJustified(50), setup.remarks.leftJustified(50)};
    }
};

}  // namespace reporttest
