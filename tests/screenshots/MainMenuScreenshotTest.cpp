// Pictures of the main menu at its design size and of a message box whose
// lines the program breaks itself, for a person to look at.
#include "app/Main.h"
#include "app/frmMainmenu.h"
#include "common/Screenshot.h"
#include "common/TestEnv.h"
#include "platform/Ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(Screenshots, MainMenuAndAMessageOfThreeLines)
{
    testenv::ResetScript();
    forms::SetLastWindowHandler(nullptr);
    ASSERT_TRUE(Main());
    testenv::SaveScreenshot(&MainMenuForm(), "main-menu.png");

    ui::RealServices real;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        testenv::SaveScreenshot(box, "message-three-lines.png");
        box->button(QMessageBox::Ok)->click();
    });
    real.MsgBox(QStringLiteral("ヤング係数が不正です。\r\n"
                               "ヤング係数にゼロを入力すると［基本データ］で入力されているヤング係数に置き換わりますが\r\n"
                               "そちらもゼロが入力されています。"),
                ui::Icon::Information, QString());
}

}  // namespace
