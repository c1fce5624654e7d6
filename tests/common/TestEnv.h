// Test support: every test process runs in a temporary working folder of its
// own with its own settings location, and with scripted user answers.
#pragma once

#include "platform/Ui.h"

#include <QDir>
#include <QRect>
#include <QString>
#include <QStringList>
#include <limits>
#include <memory>

#include "common/QtPrint.h"

namespace testenv {

// The working folder of this test process (the current folder).
QString WorkDir();
// A fresh empty sub-folder of the working folder.
QString MakeDir(const QString& name);
// The scripted services installed for this process.
ui::ScriptedServices& Script();
// Installs a fresh script (drops queued answers and recorded messages).
ui::ScriptedServices& ResetScript();
// The names of the files in `dir`, hidden ones and symbolic links included,
// sorted by name.
QStringList FilesIn(const QString& dir = QStringLiteral("."));
// Reads a whole file (empty when it cannot be read).
QByteArray ReadFile(const QString& path);
// Writes `bytes` as the whole file; false unless every byte was written.
bool WriteFile(const QString& path, const QByteArray& bytes);
// SHA-256 of a file, hex.
QString FileHash(const QString& path);
// The settings file of this test ("ZELKOVA/ZELKOVA.conf" in its settings folder).
QString SettingsFilePath();
// The value of the first line "key=value" (a word) in the settings file as
// it is on disk, as a crash would leave it; "<absent>" when there is none.
QString SettingOnDisk(const QString& key);
// Stores a window's placement under `keys` of `section`, or removes them
// all when `values` is empty, as on a first opening.
void StorePlacement(const QString& section, const QStringList& keys, const QStringList& values);

// A window's left and top edges stored in twips (none stored, as on a first
// opening, when `left` is null), the screen area that should then hold it,
// and where its frame should lie there: at the given left (top) edge, or,
// with kFarEdge, ending at the area's right (bottom) edge, or, with kCentred,
// centred in the area.
constexpr int kFarEdge = std::numeric_limits<int>::min();
constexpr int kCentred = kFarEdge + 1;
struct StoredPlace {
    const char* what;
    QRect screen;
    const char* left;
    const char* top;
    int frameLeft, frameTop;
};
// The values the case stores: none for a first opening.
inline QStringList StoredValues(const StoredPlace& c) { return c.left ? QStringList{c.left, c.top} : QStringList{}; }
// Checks that `frame` lies whole within the case's screen, at the edges it names.
void ExpectFrameAt(const StoredPlace& c, const QRect& frame);

// Changes into `dir` (stays when it is empty) and back to the folder before
// when it goes.
class InFolder {
public:
    explicit InFolder(const QString& dir) : before_(QDir::currentPath())
    {
        if (!dir.isEmpty()) QDir::setCurrent(dir);
    }
    ~InFolder() { QDir::setCurrent(before_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    QString before_;
};

}  // namespace testenv
