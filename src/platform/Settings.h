// Per-user settings of the application ZELKOVA, as the registry held them:
// sections ("Public", "Mainmenu", "Input", "Input\Ramen", "Preview") of named
// text values. Section and value names are matched without regard to case, so
// "Mainmenu"/"MainMenu" and "ChkToolTipText"/"ChkToolTiptext" each reach one
// stored value. Booleans are written as "True"/"False". The values live in
// memory; the file "ZELKOVA/ZELKOVA.conf" of the configuration folder is read
// at the first access, and each write puts this run's changes into the file
// as it is then, so that what another run stored meanwhile stays. The
// program makes the file's bytes itself and changes only the lines of its
// own values; every other line of the file stays as it is.
//
// Where "ZELKOVA.conf" is a symbolic link, the settings are in the file it
// points to (at the end of a chain of links), which a write makes when it is
// not there yet; the link stays. Copies of the program whose settings
// folders link to one file write it in turn too. Only a file is read or written: anything
// else of that name (a folder, a pipe, a device) is left as it is, and the
// program runs on its defaults.
#pragma once

#include <QString>

#include <optional>

namespace reg {

// How a write that cannot wait ended.
enum class WriteResult {
    Written,
    Busy,      // another running copy of the program kept the file all along
    Failed,    // the folder or the file cannot be written (full, read-only)
    NotAFile,  // the settings file is a folder, a pipe or a device, left as it is
    LinkLoop,  // the settings file's links lead round in a loop, or on for
               // more links than the system follows, to no file
};

// The stored text, or `defaultValue` when the value is absent.
QString GetSetting(const QString& section, const QString& key, const QString& defaultValue = QString());
// Stores the value; it reaches the file from the event loop, or with the
// next write when another copy of the program is writing the file then.
void SaveSetting(const QString& section, const QString& key, const QString& value);
// Stores the value and writes the settings to disk at once, waiting a few
// seconds while another copy of the program writes the file. Unless written,
// the value then is as it was, in memory too, and is not written later.
WriteResult SaveSettingAtOnce(const QString& section, const QString& key, const QString& value);
// Removes one value; one that is absent here is removed from the file too,
// should another run have stored it meanwhile.
void DeleteSetting(const QString& section, const QString& key);
bool HasSetting(const QString& section, const QString& key);

// Typed reads: a stored text that does not parse reads as the default.
bool GetBool(const QString& section, const QString& key, bool defaultValue);
void SaveBool(const QString& section, const QString& key, bool value);
double GetNumber(const QString& section, const QString& key, double defaultValue);
// The stored number, or none when there is no value or it does not parse.
std::optional<double> GetNumberIfStored(const QString& section, const QString& key);
// A whole number that fits a 16-bit Integer, else the default.
int GetInteger(const QString& section, const QString& key, int defaultValue);

// Writes pending changes to disk now, waiting a few seconds while another
// copy of the program writes the file (at the program's end, where nothing
// would write them later, and in tests). The file is replaced whole or not at
// all, and needs nothing outside its folder: false when it could not be
// written, the file then is as it was and the changes stay pending for the
// next write.
bool Sync();
// Writes pending changes now unless another copy of the program is writing
// the file; then they stay pending and are written shortly, without waiting.
bool SyncIfFree();

// The settings file, for messages: where "ZELKOVA.conf" is a symbolic link,
// the file it points to, made yet or not.
QString FilePath();

// Writes pending changes and lets go of the settings, so that the next access
// reads the file of the configuration folder then in force ($XDG_CONFIG_HOME):
// each test works on settings of its own.
void Reopen();

}  // namespace reg
