// Start-up of the program.
#pragma once

class QApplication;

// Translations, fonts and resources of the application object.
void InitApplication(QApplication& app);

// The program's entry: fixes the version and the table-name list, makes sure
// a usable "Zelkova.mdb" exists in the current folder, and loads and shows
// the main menu. Returns false when the program is to end at once (the user
// declined a new database, or none could be made).
bool Main();
