// The preview window opened as the main menu opens it, on the project in the
// current folder: the main menu's return and the database compaction on
// closing are counted instead of done, and the display-contents dialog is
// answered by OK or by Cancel. Its hooks are put back when it ends.
#pragma once

#include "common/Hooks.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/preview/Printing.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PreviewEntry.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"
#include "report/frmPrintInfoSetUp.h"

#include <QPushButton>

namespace testenv {

class PreviewOpener {
public:
    explicit PreviewOpener(int16_t code, bool confirmDialog = true,
                           const report::ReportChapters& chapters = report::StandardChapters())
    {
        Program().ProgramVersion = QStringLiteral("1.41");
        Program().ScreenCode = code;
        PreviewServices services;
        services.compactDatabase = [this] { ++compactions; };
        services.archiveFolder = [] { return WorkDir() + QStringLiteral("/保存データ"); };
        services.chapters = chapters;
        services_ = HookFor(SetPreviewServices, std::move(services));
        infoDialog_ = HookFor(SetPreviewInfoDialogRunner, [confirmDialog](frmPreviewInfoSetUp& d) {
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

private:
    HookFor<std::function<void()>> menu_{SetShowMainMenuHandler, [this] { ++menuShown; }};
    HookFor<PreviewServices> services_;
    HookFor<std::function<void(frmPreviewInfoSetUp&)>> infoDialog_;
    // A test may set these while the preview is open, reaching into its own
    // objects: they go back with the preview.
    HookFor<std::function<void(frmPrintInfoSetUp&)>> printDialog_ = HookFor<std::function<void(frmPrintInfoSetUp&)>>::Keeping(SetPrintDialogRunner);
    HookFor<std::shared_ptr<preview::PrintTarget>> printTarget_ = HookFor<std::shared_ptr<preview::PrintTarget>>::Keeping(preview::SetPrintTarget);
};

}  // namespace testenv
