// The program's information page (opened from the main menu's status bar and
// shown in the web window): its address and the title the user sees.
#pragma once
#include <QString>

QString InfoPageAddress();
// The page's own title, as its <title> gives it.
QString InfoPageTitle();
// Makes the page, a resource of the program, readable (idempotent).
void RegisterInfoPage();
