// The main menu's entry to the print-preview window, and what the window
// needs from the layers above it.
#pragma once

#include "report/ReportDriver.h"

#include <QString>
#include <functional>

class frmPreview;
class frmPreviewInfoSetUp;
class frmPrintInfoSetUp;

// Services of the program that the preview window uses: the compaction of
// the working database when it closes, the folder offered for a PDF file,
// and the procedures that print the report's sections.
struct PreviewServices {
    std::function<void()> compactDatabase;
    std::function<QString()> archiveFolder;
    report::ReportChapters chapters = report::StandardChapters();
};
// Returns the services it replaces.
PreviewServices SetPreviewServices(PreviewServices services);
const PreviewServices& CurrentPreviewServices();

// Shows frmPreview without blocking for ScreenCode (10401 or 10402) and
// returns its prpLoaded: true when the preview took over from the main
// menu. A load that fails closes the window's connection, destroys the
// window and shows "プレビューを開けませんでした。".
bool ShowPreviewWindow();

// The preview window while it is loaded, else nullptr.
frmPreview* CurrentPreviewWindow();

// How the two modal dialogs are run: by default they are shown and wait for
// the user; a runner set here gets the loaded dialog instead and answers it
// (the probe and tests). A dialog still loaded when its runner returns is
// closed as by its close box. nullptr restores the default. Each returns
// the runner it replaces.
std::function<void(frmPreviewInfoSetUp&)> SetPreviewInfoDialogRunner(std::function<void(frmPreviewInfoSetUp&)> runner);
std::function<void(frmPrintInfoSetUp&)> SetPrintDialogRunner(std::function<void(frmPrintInfoSetUp&)> runner);
void RunPreviewInfoDialog(frmPreviewInfoSetUp& dialog);
void RunPrintDialog(frmPrintInfoSetUp& dialog);
