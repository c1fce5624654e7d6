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
