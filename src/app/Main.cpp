#include "app/Main.h"

#include "core/MakeDatabase.h"
#include "database/MakeDatabase.h"
#include "database/Schema.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/Messages.h"
#include "app/WindowRegistry.h"
#include "app/frmMainmenu.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>

#include <cstdio>

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
    Program().MsgResult = ui::MsgBox(QStringLiteral("工事データのデータベース（Zelkova.mdb）を開くことができません。\r\n"
                                          "新しいデータベースを作成しますか？\r\n"
                                          "（現在のファイルは「%1」という名前で残します。）\r\n"
                                          "[いいえ]を選択するとプログラムを終了します。")
                               .arg(aside),
                           ui::Buttons::YesNo | ui::Icon::Exclamation, AppTitle);
    if (Program().MsgResult != ui::Answer::Yes) return false;
    // The file itself is moved aside, be it a link to a file that is gone.
    if (std::rename(QFile::encodeName(kWorkingDatabase).constData(), QFile::encodeName(aside).constData()) != 0) {
        ShowDatabaseAccessMessage();
        return false;
    }
    return RunMakeDatabase(0);
}

// The copy an input screen keeps of the database, left behind when the
// program ended while the screen was open: the user decides whether it comes
// back.
void OfferBackupOfACrashedInputScreen()
{
    if (!QFileInfo(kBackupDatabase).isFile()) return;
    // A copy cut short (the program ended while the screen was opening) can
    // give nothing back, and the database was not edited yet.
    if (!IsProjectDatabase(kBackupDatabase)) {
        QFile::remove(kBackupDatabase);
        return;
    }
    ui::Beep();
    Program().MsgResult = ui::MsgBox(QStringLiteral("前回、入力画面の編集中にプログラムが終了しました。\r\n"
                                                    "編集前のデータに戻しますか？\r\n"
                                                    "[いいえ]を選択すると、編集途中のデータをそのまま使います。"),
                                     ui::Buttons::YesNo | ui::Icon::Question, AppTitle);
    if (Program().MsgResult == ui::Answer::Yes) {
        if (!ReplaceWorkingDatabase(kBackupDatabase, true)) ShowDatabaseAccessMessage();
        return;
    }
    // The edits stay; results computed before them no longer fit the model.
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
    if (!QFile::remove(kBackupDatabase)) ShowDatabaseAccessMessage();
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
    RegisterProgramWindows();
}

bool Main()
{
    Program().ProgramVersion = QStringLiteral("1.41");
    Program().WarnOnCancel = false;

    RemoveLeftoverTemporaries();
    OfferBackupOfACrashedInputScreen();

    // A link to a file that is gone counts as a file that cannot be opened.
    const QFileInfo working(kWorkingDatabase);
    if (!working.exists() && !working.isSymLink()) {
        if (!RunMakeDatabase(0)) return false;
    } else {
        bool opened = false;
        try {
            Program().SharedDatabase = dao::Database::Open(kWorkingDatabase);
            opened = true;
        } catch (...) {
        }
        if (!opened) {
            if (!ReplaceUnreadableDatabase()) return false;
        } else {
            bool complete = true;
            try {
                for (const QString& table : schema::StartupTableNames()) {
                    Program().SharedRecordset = Program().SharedDatabase->OpenRecordset(table);
                    Program().SharedRecordset->Close();
                    Program().SharedRecordset.reset();
                }
                // A grade table left empty is filled by the upgrade pass.
                for (const schema::DefaultRows* grades : {&schema::SteelGradeRows(), &schema::BarGradeRows()})
                    if (IsEmptyGradeTable(*Program().SharedDatabase, *grades)) complete = false;
            } catch (...) {
                complete = false;
            }
            if (complete) {
                Program().SharedDatabase->Close();
                Program().SharedDatabase.reset();
            } else {
                Program().SharedRecordset.reset();
                if (!RunMakeDatabase(1)) return false;
            }
        }
    }
    frmMainmenu& menu = MainMenuForm();
    menu.Load();
    menu.Show();
    return true;
}
