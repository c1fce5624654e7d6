// Driving screens through their real widgets: synthesised key presses and
// mouse clicks delivered as the window system delivers them.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

namespace screentest {

inline void Key(QWidget* w, int key, const QString& text = QString())
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
        Key(w, key, QString(c));
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
