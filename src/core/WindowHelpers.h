// Small procedures every window uses: captions by screen code, entry-box
// focus and selection, arrow-key movement, the numeric keystroke filter, the
// tool-tip option, two reads of the basic data, and the search of a
// placement table for a row that lists a number.
#pragma once

#include "platform/Database.h"

#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class QLineEdit;
class QWidget;

// The title of a screen code, or a null text when the code has none.
QString WindowTitle(int16_t code);
// The caption "ZELKOVA  ver " + ProgramVersion + title; an unknown code
// leaves the caption unchanged.
void SetWindowCaption(int16_t code, QWidget* window);

// -1 topmost, -2 not topmost; other values do nothing.
void SetWindowTopMost(QWidget* window, int insertAfter);

// Focus and select the whole text; never fails.
void SelectEntryBox(QLineEdit* box);

// Key codes as the key-down events give them.
namespace Key {
enum : int16_t { Return = 13, Left = 37, Up = 38, Right = 39, Down = 40 };
}
// The key-down code of a Qt key (Up, Down, Left, Right, Return/Enter), else 0.
int16_t KeyCodeOf(int qtKey);
// Up -> up box, Down or Enter -> down box, Right -> right box, Left -> left box.
void MoveFocusByKey(int16_t keyCode, QLineEdit* up, QLineEdit* down, QLineEdit* left, QLineEdit* right,
                    QLineEdit* enter);

class QKeyEvent;
// The character code a key press gives an entry box's key-press handler:
// Backspace 8, Esc 27, an ASCII character its code, any other character -1,
// and 0 for keys that type nothing (Delete, Home, Tab, Shift+Tab and the
// like): a box's key filter never sees the focus keys, and refuses Esc.
int16_t KeyAsciiOf(const QKeyEvent* event);
// A key with Ctrl, Alt or Meta: a shortcut of the box (copy, paste, select
// all, undo), not a character typed.
bool IsEditingShortcut(const QKeyEvent* event);

// A character a box for numbers holds: a digit, a blank, a minus sign unless
// noMinus, a decimal point unless noDot.
bool IsNumericCharacter(char16_t c, bool noMinus, bool noDot);
// The character to keep, or 0 to swallow it (with a beep for refused characters).
int16_t FilterNumericKey(int16_t keyAscii, bool noMinus, bool noDot);

// Makes `box` a box for numbers: its input method is off, and text that
// reaches it other than by a key press (the input method, a paste by Ctrl+V,
// Shift+Insert, the context menu or the middle button) passes the numeric
// filter as typed text does: a refused character beeps and a paste holding
// one is refused whole. Drops are not taken.
void MakeNumericEntryBox(QLineEdit* box, bool noMinus, bool noDot);

// Esc unloads the window, wherever its focus is.
namespace forms { class Form; }
void CloseWithEscape(forms::Form* window);
// Esc in a dialog does what its cancel button does, wherever its focus is,
// before the key filter of an entry box can refuse it.
class QAbstractButton;
void CancelWithEscape(QWidget* window, QAbstractButton* cancel);

// The part of the screen where the user works, that the panels leave free:
// windows that open "centred on the screen" open there. It is the screen that
// holds `opener`, the window that opens them, when that is shown or placed
// already; else the one that holds the main menu while it is shown; else the
// primary screen.
QRect WorkingScreenArea(const QWidget* opener = nullptr);
// Places a window that has no place of its own centred on `over`, whole
// within the screen that holds `over` as far as it fits; or, when `over` is
// missing, not shown or the window itself, centred in the working screen
// area of `over` (see WorkingScreenArea).
void CentreOver(QWidget* window, QWidget* over);
// Places a window whose size may change by its placement stored under `keys`
// (left, top, width and height, in twips) of `section`: an edge that has none
// stored centres the window at its present size in `area`, a width or height
// that has none is the area's; kept whole on the screens.
void RestoreSizedPlacement(forms::Form* window, const QString& section, const std::array<QString, 4>& keys,
                           const QRect& area);
// Centred on the main menu, or on the active window when the menu is not
// shown, or else on the screen.
void CentreOnMainMenu(QWidget* window);

// Empties every tool tip of the window when the tool-tip option is off.
void ClearToolTipsIfOff(QWidget* window);

// How the main menu is shown again when a window that replaced it closes.
// The start-up installs the main menu's own way (InstallMainMenuShower); a
// test may put another in its place, and nullptr puts the installed one back.
// Each returns the one it replaces.
std::function<void()> InstallMainMenuShower(std::function<void()> show);
std::function<void()> SetShowMainMenuHandler(std::function<void()> handler);
void ShowMainMenuAgain();

// Case of the first 基本データ row through SharedDatabase; unchanged when empty.
void ReadLoadCaseCount(int16_t& caseCount);
// Unit of the first 基本データ row on a connection of its own; True when empty.
void ReadUnitFlag(bool& unitIsSI);

// Stands `rs` on the first row that lists `number` in the lowest fld_ column
// that any row uses for it; NoMatch tells whether one was found.
void FindRowListingNumber(dao::RecordsetPtr& rs, int16_t number);
