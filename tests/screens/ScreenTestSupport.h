// Driving screens through their real widgets: synthesised key presses and
// mouse clicks delivered as the window system delivers them.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

namespace screentest {

inline void SendKey(QWidget* w, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Types text character by character.
inline void Type(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        int key = c.unicode();
        if (c.isLetter()) key = c.toUpper().unicode();
        SendKey(w, key, QString(c));
    }
}

// Replaces the whole text of an entry box by typing, as a user who selected it.
inline void Retype(class QLineEdit* box, const QString& text);

inline void Click(QWidget* w, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0) at = w->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

inline void FocusOut(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

}  // namespace screentest

#include <QLineEdit>

inline void screentest::Retype(QLineEdit* box, const QString& text)
{
    Click(box);      // a click selects the whole text
    box->selectAll();
    Type(box, text);
}

// ---- opening a screen as the user has it ------------------------------------

#include "core/WindowHelpers.h"
#include "common/TestEnv.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "core/ProgramState.h"

#include <functional>

namespace screentest {

// A new, empty project; `onMenu` runs where the main menu would be shown.
inline void PrepareScreenTest(std::function<void()> onMenu = [] {})
{
    inputtest::MakeEmptyDatabase();
    Program().ProgramVersion = "1.41";
    SetShowMainMenuHandler(std::move(onMenu));
    Program().WarnOnCancel = false;
}

// Opens the input screen of `code` through the framework, makes it the active
// window and gives it a fresh script.
template <class Screen>
void OpenScreen(int16_t code, Screen*& s, ui::ScriptedServices*& script)
{
    Program().ScreenCode = code;
    ASSERT_TRUE(StartInputForm());
    s = dynamic_cast<Screen*>(Program().CurrentInputForm.data());
    ASSERT_NE(s, nullptr);
    s->activateWindow();
    QApplication::setActiveWindow(s);
    script = &testenv::ResetScript();
}

}  // namespace screentest
