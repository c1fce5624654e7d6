// The address of the program's information page (shown in the main menu's
// status bar and in the web window).
#pragma once
#include <QString>

QString InfoPageAddress();
