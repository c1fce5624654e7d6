#include "shell/Main.h"

#include "database/MakeDatabase.h"
#include "database/Schema.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "shell/Globals.h"
#include "shell/Messages.h"
#include "shell/frmMainmenu.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>

namespace {

// Runs a pass of MakeDatabase; a failure is reported and ends the start-up.
bool RunMakeDatabase(int16_t mode)
{
    try {
        MakeDatabase(mode);
        return true;
    } catch (...) {
        CloseSharedData();
        ShowDatabaseAccessMessage();
        return false;
    }
}

// A working file that is not a database of ours: offer a new database and
// keep the old file under a new name, or end the program.
bool ReplaceUnreadableDatabase()
{
    CloseSharedData();
    QString aside;
    for (int n = 0; aside.isEmpty() || QFileInfo::exists(aside); ++n) {
        aside = QStringLiteral("Zelkova-%1%2.mdb")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))
                    .arg(n ? QStringLiteral("-%1").arg(n) : QString());
    }
    ui::Beep();
    MsgResult = ui::MsgBox(QStringLiteral("工事データのデータベース（Zelkova.mdb）を開くことができません。\r\n"
                                          "新しいデータベースを作成しますか？\r\n"
                                          "（現在のファイルは「%1」という名前で残します。）\r\n"
                                          "[いいえ]を選択するとプログラムを終了します。")
                               .arg(aside),
                           ui::Buttons::YesNo | ui::Icon::Exclamation, AppTitle);
    if (MsgResult != ui::Answer::Yes) return false;
    if (!QFile::rename(kWorkingDatabase, aside)) {
        ShowDatabaseAccessMessage();
        return false;
    }
    return RunMakeDatabase(0);
}

}  // namespace

void InitApplication(QApplication& app)
{
    // Message boxes without a title of their own show the program's name.
    app.setApplicationName(QStringLiteral("ZELKOVA"));
    ui::InstallJapaneseTranslations(app);
    // A Japanese face for the whole program; the fixed-pitch one serves the tables.
    QFont font(QStringLiteral("IPAPGothic"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    app.setFont(font);
    app.setQuitOnLastWindowClosed(false);
}

bool Main()
{
    ProgramVersion = QStringLiteral("1.41");
    WarnOnCancel = false;
    int16_t count = 0;
    for (const QString& name : schema::StartupTableNames()) TableNames[size_t(++count)] = name;
    TableCount = count;

    if (!QFileInfo::exists(kWorkingDatabase)) {
        if (!RunMakeDatabase(0)) return false;
    } else {
        bool opened = false;
        try {
            SharedDatabase = dao::Database::Open(kWorkingDatabase);
            opened = true;
        } catch (...) {
        }
        if (!opened) {
            if (!ReplaceUnreadableDatabase()) return false;
        } else {
            bool complete = true;
            try {
                for (int16_t index = 1; index <= TableCount; ++index) {
                    SharedRecordset = SharedDatabase->OpenRecordset(TableNames[size_t(index)]);
                    SharedRecordset->Close();
                    SharedRecordset.reset();
                }
            } catch (...) {
                complete = false;
            }
            if (complete) {
                SharedDatabase->Close();
                SharedDatabase.reset();
            } else {
                SharedRecordset.reset();
                if (!RunMakeDatabase(1)) return false;
            }
        }
    }
    frmMainmenu& menu = MainMenuForm();
    menu.Load();
    menu.Show();
    return true;
}
