// The preview window opened as the main menu opens it, on the project in the
// current folder: the main menu's return and the database compaction on
// closing are counted instead of done, and the display-contents dialog is
// answered by OK or by Cancel.
#pragma once

#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PreviewEntry.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QPushButton>

namespace testenv {

class PreviewOpener {
public:
    explicit PreviewOpener(int16_t code, bool confirmDialog = true,
                           const report::ReportChapters& chapters = report::StandardChapters())
    {
        Program().ProgramVersion = QStringLiteral("1.41");
        Program().ScreenCode = code;
        SetShowMainMenuHandler([this] { ++menuShown; });
        PreviewServices services;
        services.compactDatabase = [this] { ++compactions; };
        services.archiveFolder = [] { return WorkDir() + QStringLiteral("/保存データ"); };
        services.chapters = chapters;
        SetPreviewServices(services);
        SetPreviewInfoDialogRunner([confirmDialog](frmPreviewInfoSetUp& d) {
            if (confirmDialog) d.cmdOK->click();
            else d.cmdCancel->click();
        });
    }
    PreviewOpener(const PreviewOpener&) = delete;
    PreviewOpener& operator=(const PreviewOpener&) = delete;

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

}  // namespace testenv
