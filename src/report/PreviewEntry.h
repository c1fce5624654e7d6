// The main menu's entry to the print-preview window.
#pragma once

// Shows frmPreview without blocking for ScreenCode (10401 or 10402) and
// returns its prpLoaded: true when the preview stays open.
bool ShowPreviewWindow();
