// Reaching the controls of the input screens by name, and the one instance of
// each screen window. Controls of a control array are named "txtP(1)".
#pragma once

#include "core/ProgramState.h"

#include <QString>
#include <functional>
#include <map>

class QWidget;
class QLineEdit;
class QLabel;
class QComboBox;
namespace forms { class Form; }

// "txtP(1)" for an element of a control array, the name itself for index < 0.
QString ControlName(const QString& name, int index = -1);
// The control of `window` with that name (nullptr when it has none).
QWidget* FindControl(QWidget* window, const QString& name, int index = -1);
QLineEdit* FindEntryBox(QWidget* window, const QString& name, int index = -1);

// The tab stop of a control: in the Tab order or reached only by a click or
// by code. Controls that take no focus at all are left alone.
void SetTabStop(QWidget* w, bool on);

// Text of a text box, combo box (its edit text) or label; ErrItemNotFound (3265)
// when the window has no such control, so a missing box never reads as empty.
QString ControlText(QWidget* window, const QString& name, int index = -1);
void SetControlText(QWidget* window, const QString& name, const QString& text, int index = -1);

// The texts of a window's controls by name, as ControlText reads them.
using BoxTexts = std::map<QString, QString>;
// Every named text box, combo box and label of `window` with its text.
BoxTexts ReadControlTexts(QWidget* window);
// Puts each text into the control of that name (ErrItemNotFound when none).
void WriteControlTexts(QWidget* window, const BoxTexts& texts);

// Makes a window known by its screen code and its window name, with the way
// its one program-wide instance is made.
void RegisterWindow(ScreenCodes code, const QString& formName, std::function<forms::Form*()> create);
// The program-wide instance of a window, created on first use; nullptr when
// no window is registered for the code or the name.
forms::Form* WindowInstance(ScreenCodes code);
forms::Form* ScreenInstance(const QString& formName);
bool HasScreenFactory(const QString& formName);
