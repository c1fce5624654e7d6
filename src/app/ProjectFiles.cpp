#include "app/ProjectFiles.h"

#include "core/MakeDatabase.h"
#include "core/ResultsFlag.h"
#include "database/WorkingFiles.h"

#include "platform/Database.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "platform/lzh/LzhArchive.h"
#include "app/MainMenuCommands.h"
#include "app/frmMainmenu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include <sqlite3.h>


namespace {

const QString kSaveFolderName = QStringLiteral("保存データ");
// The dialog shows the pattern after the description, once.
const QString kArchiveFilter = QStringLiteral("圧縮ファイル|*.lzh");

// The default archive folder: 保存データ in the parent of the working folder.
QString DefaultProjectFolder()
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(QStringLiteral("../") + kSaveFolderName));
}

// True while this process holds the file open (any connection to it).
bool FileIsOpen(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty()) return false;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    if (!fds.exists()) return true;  // cannot tell: assume it is in use
    for (const QString& fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == canonical) return true;
    }
    return false;
}

void ShowProjectFileMessage(const QString& text)
{
    ui::Beep();
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(text, ui::Icon::Exclamation, AppTitle));
}

QString OpenFailureText(lzh::Status status)
{
    const QString head = QStringLiteral("工事データを読み込めませんでした。\r\n");
    switch (status) {
    case lzh::Status::NotAnArchive:
        return head + QStringLiteral("選択されたファイルは圧縮ファイル（LZH形式）ではありません。");
    case lzh::Status::NoSuchMember:
        return head + QStringLiteral("選択された圧縮ファイルには工事データ（Zelkova.mdb）が含まれていません。");
    case lzh::Status::Damaged:
    case lzh::Status::CrcError:
        return head + QStringLiteral("選択された圧縮ファイルは壊れています。");
    case lzh::Status::UnsupportedMethod:
        return head + QStringLiteral("選択された圧縮ファイルの圧縮形式には対応していません。");
    case lzh::Status::CannotOpen:
        return head + QStringLiteral("選択されたファイルを開けません。");
    case lzh::Status::TooLarge:
        return head + QStringLiteral("選択された圧縮ファイルの工事データが大きすぎます。");
    default:
        return head + QStringLiteral("作業フォルダに書き込めません。");
    }
}

QString SaveFailureText(lzh::Status status)
{
    const QString head = QStringLiteral("工事データを保存できませんでした。\r\n");
    switch (status) {
    case lzh::Status::NotAnArchive:
    case lzh::Status::Damaged:
        return head + QStringLiteral("保存先のファイルは圧縮ファイル（LZH形式）ではないか、壊れています。\r\n"
                                     "このファイルは書き換えていません。別のファイル名で保存して下さい。");
    case lzh::Status::CannotOpen:
        return head + QStringLiteral("保存先のファイル、または現在の工事データを読み込めません。");
    case lzh::Status::TooLarge:
        return head + QStringLiteral("工事データ、または保存先のファイルが大きすぎます。");
    default:
        return head + QStringLiteral("保存先のフォルダに書き込めません。");
    }
}

// The menu is disabled with the hourglass while a command's file steps run.
class MenuBusy {
public:
    MenuBusy()
    {
        MainMenuForm().SetEnabledState(false);
        ui::Current().SetBusy(true);
    }
    ~MenuBusy()
    {
        ui::Current().SetBusy(false);
        MainMenuForm().SetEnabledState(true);
    }
};

}  // namespace

void GetProjectFolder(QString& path)
{
    const QString fallback = DefaultProjectFolder();
    try {
        if (!QFileInfo(fallback).isDir()) QDir().mkpath(fallback);
        path = reg::GetSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataPass"), fallback);
        if (!QFileInfo(path).isFile()) path = fallback;
    } catch (...) {
        path = fallback;
    }
}

lzh::Status RunLhaCommand(const QString& archive, const QString& command, const QString& workFile)
{
    lzh::Status status = lzh::Status::BadCommand;
    const QString letter = command.trimmed();
    if (letter == QLatin1String("a")) {
        status = lzh::AddMember(archive, workFile, lzh::kProjectMember);
    } else if (letter == QLatin1String("e")) {
        status = lzh::ExtractMember(archive, workFile, lzh::kProjectMember);
    }
    Program().MsgResult = static_cast<int16_t>(status);
    return status;
}

void ChangeToFolder(const QString& path)
{
    QDir::setCurrent(path);
}

void CompactWorkingDatabase()
{
    // Another copy of the program working here may be compacting: its
    // "Zelkova2.mdb" is left alone, and so is the database it compacts.
    const CompactionLock lock(5000);
    if (lock.HeldElsewhere()) return;
    // Only a file this compaction has just written may replace the database.
    if (QFileInfo::exists(kCompactDatabase) && !QFile::remove(kCompactDatabase)) return;
    if (!QFileInfo::exists(kWorkingDatabase) || FileIsOpen(kWorkingDatabase)) return;

    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(kWorkingDatabase).constData(), &db, SQLITE_OPEN_READWRITE,
                              nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_busy_timeout(db, 5000);
        const QByteArray sql = "VACUUM INTO '" + QFile::encodeName(kCompactDatabase).replace('\'', "''") + "'";
        ok = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    if (db) ok = sqlite3_close(db) == SQLITE_OK && ok;
    // The compacted file takes the old one's place with its permissions.
    ok = ok && QFileInfo(kCompactDatabase).size() > 0 && ReplaceWorkingDatabase(kCompactDatabase, true);
    if (!ok) QFile::remove(kCompactDatabase);
}

void OpenProject()
{
    QString folder;
    GetProjectFolder(folder);

    ui::FileDialogRequest request;
    request.title = QStringLiteral("工事データを読み込む");
    request.filter = kArchiveFilter;
    request.mustExist = true;
    request.initialPath = folder;
    const QString chosen = ui::Current().GetOpenFile(request);
    if (chosen.isEmpty()) return;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    const QString name = QFileInfo(chosen).fileName();

    // The working folder stays where it is: the project is the database there.
    MenuBusy busy;
    CloseSharedData();

    // The archive's database goes to a temporary file first; only a complete,
    // verified project database replaces the working one.
    const QString opening = UnusedTemporaryName(kOpeningPrefix);
    lzh::Status status = RunLhaCommand(path, QStringLiteral("e"), opening);
    if (status == lzh::Status::Ok && !IsProjectDatabase(opening)) {
        QFile::remove(opening);
        ShowProjectFileMessage(QStringLiteral("工事データを読み込めませんでした。\r\n"
                                              "選択された圧縮ファイルの Zelkova.mdb はこのプログラムの工事データではありません。"));
        return;
    }
    // The results of the project before are not those of the one opened: the
    // flag says so on disk before the database is replaced.
    if (status == lzh::Status::Ok && !StoreResultsStale(QStringLiteral("工事データを読み込めません"))) {
        QFile::remove(opening);
        return;
    }
    if (status == lzh::Status::Ok && !ReplaceWorkingDatabase(opening, true)) status = lzh::Status::WriteError;
    if (status != lzh::Status::Ok) {
        QFile::remove(opening);
        ShowProjectFileMessage(OpenFailureText(status));
        return;
    }

    // A project saved before the section-design tables existed gains them
    // here, as it would at the next start, instead of reading as damaged.
    try {
        int16_t upgrade = 1;
        MakeDatabase(upgrade);
    } catch (...) {
        CloseSharedData();
    }
    RefreshMainMenu();
    reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataPass"), path);
    reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataName"), name);
    if (QFileInfo::exists(kViewParameterFile)) QFile::remove(kViewParameterFile);
}

void SaveProject()
{
    QString folder;
    GetProjectFolder(folder);

    ui::FileDialogRequest request;
    request.title = QStringLiteral("工事データを保存する");
    request.defaultExtension = QStringLiteral("lzh");
    request.fileName = reg::GetSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataName"),
                                       MainMenuForm().lblConstructionName->text().trimmed());
    request.filter = kArchiveFilter;
    request.confirmOverwrite = true;
    request.initialPath = folder;
    const QString chosen = ui::Current().GetSaveFile(request);
    if (chosen.isEmpty()) return;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    const QString name = QFileInfo(chosen).fileName();

    MenuBusy busy;
    CloseSharedData();
    CompactWorkingDatabase();
    const lzh::Status status = RunLhaCommand(path, QStringLiteral("a"));
    if (status != lzh::Status::Ok) {
        ShowProjectFileMessage(SaveFailureText(status));
        return;
    }
    reg::SaveSetting(QStringLiteral("MainMenu"), QStringLiteral("DataPass"), path);
    reg::SaveSetting(QStringLiteral("MainMenu"), QStringLiteral("DataName"), name);
}
