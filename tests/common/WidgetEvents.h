// Driving widgets through their real events: synthesised key presses, mouse
// clicks and focus changes delivered as the window system delivers them.
#pragma once

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

namespace screentest {

// A key as X gives it: its code, its text and its modifiers.
inline void SendKey(QWidget* w, int key, const QString& text = QString(),
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
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

inline void Click(QWidget* w, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0) at = w->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// Replaces the whole text of an entry box by typing, as a user who selected it.
inline void Retype(QLineEdit* box, const QString& text)
{
    Click(box);      // a click selects the whole text
    box->selectAll();
    Type(box, text);
}

inline void FocusIn(QWidget* w)
{
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w, &in);
}

inline void FocusOut(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

}  // namespace screentest
