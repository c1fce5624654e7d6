#include "report/PreviewEntry.h"

#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/Ui.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"
#include "report/frmPrintInfoSetUp.h"

#include <QPointer>

#include <utility>

namespace {

PreviewServices& Services()
{
    static PreviewServices services;
    return services;
}

QPointer<frmPreview> g_preview;
std::function<void(frmPreviewInfoSetUp&)> g_infoRunner;
std::function<void(frmPrintInfoSetUp&)> g_printRunner;

// Loads the dialog and lets the user, or the runner, answer it.
template <class Dialog>
void RunDialog(Dialog& dialog, const std::function<void(Dialog&)>& runner)
{
    // Centred on the window it belongs to, or on that window's screen while
    // the window is not shown yet.
    CentreOver(&dialog, dialog.parentWidget());
    if (!runner) {
        dialog.ShowModal();
        return;
    }
    dialog.Load();
    if (!dialog.IsLoaded()) return;
    runner(dialog);
    if (dialog.IsLoaded()) dialog.close();
}

}  // namespace

PreviewServices SetPreviewServices(PreviewServices services) { return std::exchange(Services(), std::move(services)); }

const PreviewServices& CurrentPreviewServices() { return Services(); }

bool ShowPreviewWindow()
{
    if (g_preview) {
        // A window left from an earlier opening never serves a new one.
        delete g_preview.data();
    }
    auto* window = new frmPreview();
    g_preview = window;
    window->Show();
    if (window->LoadFailed()) {
        delete window;
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(
            ui::MsgBox(QStringLiteral("プレビューを開けませんでした。"), ui::Icon::Exclamation, AppTitle));
        return false;
    }
    return window->prpLoaded();
}

frmPreview* CurrentPreviewWindow() { return g_preview && g_preview->IsLoaded() ? g_preview.data() : nullptr; }

std::function<void(frmPreviewInfoSetUp&)> SetPreviewInfoDialogRunner(std::function<void(frmPreviewInfoSetUp&)> runner)
{
    return std::exchange(g_infoRunner, std::move(runner));
}

std::function<void(frmPrintInfoSetUp&)> SetPrintDialogRunner(std::function<void(frmPrintInfoSetUp&)> runner)
{
    return std::exchange(g_printRunner, std::move(runner));
}

void RunPreviewInfoDialog(frmPreviewInfoSetUp& dialog) { RunDialog(dialog, g_infoRunner); }

void RunPrintDialog(frmPrintInfoSetUp& dialog) { RunDialog(dialog, g_printRunner); }
