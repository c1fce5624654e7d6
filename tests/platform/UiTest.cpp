#include "platform/Ui.h"
#include "common/QtPrint.h"

#include "common/TestEnv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(Ui, IconNames)
{
    EXPECT_EQ(ui::IconName(ui::Icon::Information), "information");
    EXPECT_EQ(ui::IconName(ui::Icon::Question | ui::Buttons::YesNo), "question");
    EXPECT_EQ(ui::IconName(ui::Icon::Exclamation), "exclamation");
    EXPECT_EQ(ui::IconName(ui::Icon::Critical), "critical");
    EXPECT_EQ(ui::IconName(ui::Buttons::OK), "none");
}

TEST(Ui, ScriptedMessagesAreRecordedAndAnswered)
{
    ui::ScriptedServices& s = testenv::ResetScript();
    QStringList seen;
    s.onMessage = [&](const QString& m) { seen << m; };

    // With no answers queued: Yes for a Yes/No box, OK otherwise.
    EXPECT_EQ(ui::MsgBox("保存しますか？", ui::Icon::Question | ui::Buttons::YesNo), ui::Answer::Yes);
    EXPECT_EQ(ui::MsgBox("入力が不正です。", ui::Icon::Information), ui::Answer::OK);
    // Queued answers are taken in turn by every box.
    s.answers = {ui::Answer::No, ui::Answer::OK};
    EXPECT_EQ(ui::MsgBox("a", ui::Buttons::YesNo), ui::Answer::No);
    EXPECT_EQ(ui::MsgBox("b", ui::Icon::Critical), ui::Answer::OK);
    EXPECT_EQ(ui::MsgBox("c", ui::Buttons::YesNo), ui::Answer::Yes);
    const QStringList want = {"message=question|保存しますか？", "message=information|入力が不正です。",
                              "message=none|a", "message=critical|b", "message=none|c"};
    EXPECT_EQ(s.messages, want);
    EXPECT_EQ(seen, want);

    ui::Beep();
    ui::Current().SetBusy(true);
    EXPECT_EQ(s.beeps, 1);
    EXPECT_TRUE(s.busy);
}

TEST(Ui, ScriptedDialogsPopTheirQueues)
{
    ui::ScriptedServices& s = testenv::ResetScript();
    s.openFiles = {"/x/a.lzh"};
    s.saveFiles = {"/x/b.lzh", ""};
    ui::FileDialogRequest r;
    r.title = "開く";
    r.filter = "LZH|*.lzh";
    EXPECT_EQ(ui::Current().GetOpenFile(r), "/x/a.lzh");
    EXPECT_EQ(ui::Current().GetOpenFile(r), "");  // queue empty: cancelled
    EXPECT_EQ(ui::Current().GetSaveFile(r), "/x/b.lzh");
    EXPECT_EQ(ui::Current().GetSaveFile(r), "");
    ASSERT_EQ(s.dialogs.size(), 4u);
    EXPECT_EQ(s.dialogs[0].title, "開く");
    EXPECT_EQ(s.dialogs[3].filter, "LZH|*.lzh");

    EXPECT_FALSE(ui::Current().StartProgram("/bin/msinfo"));
    s.startSucceeds = true;
    EXPECT_TRUE(ui::Current().StartProgram("/bin/other"));
    EXPECT_EQ(s.startedPrograms, QStringList({"/bin/msinfo", "/bin/other"}));
}

TEST(Ui, RealMessageBoxShowsJapaneseYesNo)
{
    ui::RealServices real;
    QString icon, yes, no, title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon() == QMessageBox::Question ? "question" : "other";
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        title = box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(real.MsgBox("削除しますか？", ui::Icon::Question | ui::Buttons::YesNo, "題"), ui::Answer::No);
    EXPECT_EQ(icon, "question");
    EXPECT_TRUE(yes.startsWith("はい")) << yes.toStdString();
    EXPECT_TRUE(no.startsWith("いいえ")) << no.toStdString();
    EXPECT_EQ(title, "題");

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->button(QMessageBox::Yes), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(real.MsgBox("接続できません。", ui::Icon::Exclamation, ""), ui::Answer::OK);
}

// Lines the program breaks itself stay whole: the box is as wide as its
// longest line and no word is broken across two lines.
TEST(Ui, RealMessageBoxKeepsEachLineWhole)
{
    ui::RealServices real;
    const QString longest = "ヤング係数にゼロを入力すると［基本データ］で入力されているヤング係数に置き換わりますが";
    const QString text = "ヤング係数が不正です。\r\n" + longest + "\r\nそちらもゼロが入力されています。<ｷｬﾝｾﾙ>";
    int labelWidth = 0, lineWidth = 0, lineHeight = 0, labelHeight = 0;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        QCoreApplication::processEvents();
        labelWidth = label->contentsRect().width();
        labelHeight = label->contentsRect().height();
        lineWidth = label->fontMetrics().horizontalAdvance(longest);
        lineHeight = label->fontMetrics().lineSpacing();
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(real.MsgBox(text, ui::Icon::Information, ""), ui::Answer::OK);
    EXPECT_GE(labelWidth, lineWidth);
    EXPECT_LT(labelHeight, 4 * lineHeight);   // three lines, none wrapped
    EXPECT_TRUE(shown.contains("&lt;ｷｬﾝｾﾙ&gt;") || shown.contains("<ｷｬﾝｾﾙ>")) << shown.toStdString();
}

TEST(Ui, RealBusyPointerIsAState)
{
    ui::RealServices real;
    real.SetBusy(true);
    real.SetBusy(true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    real.SetBusy(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    real.SetBusy(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Ui, RealFileDialogTakesFilterAndInitialPath)
{
    ui::RealServices real;
    const QString dir = testenv::MakeDir("保存データ");
    ui::FileDialogRequest r;
    r.title = "工事データを保存";
    r.filter = "LZH ファイル|*.lzh;*.LZH|すべてのファイル|*.*";
    r.initialPath = dir + "/Zelkova.lzh";
    r.defaultExtension = "lzh";
    QStringList filters;
    QString shownDir, title, suffix;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        filters = d->nameFilters();
        shownDir = d->directory().absolutePath();
        title = d->windowTitle();
        suffix = d->defaultSuffix();
        d->reject();
    });
    EXPECT_EQ(real.GetSaveFile(r), "");
    EXPECT_EQ(filters, QStringList({"LZH ファイル (*.lzh *.LZH)", "すべてのファイル (*.*)"}));
    EXPECT_EQ(shownDir, dir);
    EXPECT_EQ(title, "工事データを保存");
    EXPECT_EQ(suffix, "lzh");

    // A folder as the initial path; accepting gives the chosen file.
    r.initialPath = dir;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        shownDir = d->directory().absolutePath();
        d->selectFile("new");
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(real.GetSaveFile(r), dir + "/new.lzh");
    EXPECT_EQ(shownDir, dir);
}

TEST(Ui, JapaneseCatalogueTranslatesStandardButtons)
{
    ui::InstallJapaneseTranslations(*QCoreApplication::instance());
    const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
    if (yes == "&Yes") GTEST_SKIP() << "qtbase_ja is not installed";
    EXPECT_TRUE(yes.contains("はい")) << yes.toStdString();
}
