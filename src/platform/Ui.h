// The user-interface services the program calls directly: message boxes,
// beep, the hourglass pointer, the file dialogs and starting an external
// program. One real implementation shows Qt dialogs; a scripted one answers
// from a queue and records what was shown, for tests and the probe.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>
#include <memory>

class QCoreApplication;
class QWidget;

namespace ui {

// A message box's style is one button set combined (|) with one icon.
namespace Buttons {
constexpr int OK = 0, OKCancel = 1, YesNoCancel = 3, YesNo = 4;
}
namespace Icon {
constexpr int None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64;
}
// The button the user pressed.
namespace Answer {
constexpr int OK = 1, Cancel = 2, Yes = 6, No = 7;
}

struct FileDialogRequest {
    QString title;
    QString filter;          // "description|pattern" pairs, the description without the pattern
    QString initialPath;     // folder, or a full file path
    QString defaultExtension;
    QString fileName;        // initial file name (save)
    bool mustExist = false;  // open
    bool confirmOverwrite = false;  // save
};

// The filters a file dialog shows for `filter`: "Text|*.txt|All|*.*" gives
// "Text (*.txt)" and "All (*.*)"; ";"-separated patterns are shown
// blank-separated.
QStringList FileDialogNameFilters(const QString& filter);

class Services {
public:
    virtual ~Services() = default;
    // Shows a modal message; returns Answer::OK, Answer::Yes or Answer::No.
    virtual int MsgBox(const QString& text, int style, const QString& title) = 0;
    virtual void Beep() = 0;
    // The hourglass pointer on (true) or back to the default (false).
    virtual void SetBusy(bool busy) = 0;
    // Empty text when cancelled or when the dialog cannot be shown.
    virtual QString GetOpenFile(const FileDialogRequest& request) = 0;
    virtual QString GetSaveFile(const FileDialogRequest& request) = 0;
    // Starts a program as a normal window with the focus; false on failure.
    virtual bool StartProgram(const QString& path) = 0;
};

// The services in force (the real ones unless a test or the probe set others).
// Setting others (nullptr: the real ones) returns the ones they replace.
Services& Current();
std::shared_ptr<Services> SetCurrent(std::shared_ptr<Services> services);

// Shortcuts used throughout the program.
int MsgBox(const QString& text, int style = Buttons::OK, const QString& title = QString());
void Beep();

// Installs Qt's Japanese catalogue ("qtbase_ja") so the standard dialogs read
// as on a Japanese system; main() calls it once after creating the application.
void InstallJapaneseTranslations(QCoreApplication& app);

// The text of an icon for logs: "information", "question", "exclamation",
// "critical" or "none".
QString IconName(int style);

class RealServices : public Services {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    void Beep() override;
    void SetBusy(bool busy) override;
    QString GetOpenFile(const FileDialogRequest& request) override;
    QString GetSaveFile(const FileDialogRequest& request) override;
    bool StartProgram(const QString& path) override;

private:
    int busyDepth_ = 0;
};

// Answers from queues; unanswered message boxes get Yes (Yes/No) or OK.
// Every message shown is recorded as "message=<icon>|<text>".
class ScriptedServices : public Services {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    void Beep() override { ++beeps; }
    void SetBusy(bool busy) override { this->busy = busy; }
    QString GetOpenFile(const FileDialogRequest& request) override;
    QString GetSaveFile(const FileDialogRequest& request) override;
    bool StartProgram(const QString& path) override;

    std::deque<int> answers;          // Answer::Yes / No / OK, taken in turn
    std::deque<QString> openFiles;    // answers of the open dialog ("" cancels)
    std::deque<QString> saveFiles;    // answers of the save dialog
    QStringList messages;             // "message=<icon>|<text>" in order
    QStringList startedPrograms;
    std::vector<FileDialogRequest> dialogs;
    bool startSucceeds = false;
    int beeps = 0;
    bool busy = false;
    // Called after every message is recorded (the probe prints it at once).
    std::function<void(const QString&)> onMessage;
};

}  // namespace ui
