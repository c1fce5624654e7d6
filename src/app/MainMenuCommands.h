// The main menu's command dispatcher and the refresh of the main menu from
// the working database.
#pragma once

#include <cstdint>

void RunMenuCommand(int16_t code);
bool CanRunMenuCommand(int16_t code);
void CaptureReportHeader();
void RefreshMainMenu();
void MarkInputItem(int16_t index);
void ApplyMainMenuToolTips();

class frmMainmenu;
// The labels of a menu without a project; the results count as not valid.
void ShowEmptyProject(frmMainmenu& menu);
