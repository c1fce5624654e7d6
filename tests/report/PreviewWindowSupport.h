// The preview window opened as the main menu opens it, on a test project:
// compaction and the main menu's return are counted, the display-contents
// dialog is answered by a runner.
#pragma once

#include "common/ReportProject.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PreviewEntry.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QLabel>
#include <QPushButton>

namespace reporttest {

class PreviewWindow {
public:
    PreviewWindow(const testenv::ReportProjectSetup& setup, int16_t code, bool confirmDialog = true,
                  const report::ReportChapters& chapters = report::StandardChapters())
    {
        testenv::WriteReportProject(setup);
        Program().ProgramVersion = QStringLiteral("1.41");
        Program().ScreenCode = code;
        Program().ReportHeader = {setup.name.leftJustified(50), setup.designer.leftJustified(50), setup.remarks.leftJustified(50)};
        SetShowMainMenuHandler([this] { ++menuShown; });
        PreviewServices services;
        services.compactDatabase = [this] { ++compactions; };
        services.archiveFolder = [] { return testenv::WorkDir() + QStringLiteral("/保存データ"); };
        services.chapters = chapters;
        SetPreviewServices(services);
        SetPreviewInfoDialogRunner([confirmDialog](frmPreviewInfoSetUp& d) {
            if (confirmDialog) d.cmdOK->click();
            else d.cmdCancel->click();
        });
    }

    bool Open()
    {
        opened = ShowPreviewWindow();
        return opened;
    }
    frmPreview* w() const { return CurrentPreviewWindow(); }
    int Pages() const { return w()->vsp->PageCount(); }

    bool opened = false;
    int compactions = 0;
    int menuShown = 0;
};

}  // namespace reporttest
