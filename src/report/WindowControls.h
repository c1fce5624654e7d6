// The report windows are described as tables of their controls: kind,
// name, the control it lies in, caption, tool tip and design position in
// twips. BuildControls makes them; Control<T> finds one by name.
#pragma once

#include <QString>
#include <QWidget>
#include <span>

class QLineEdit;

namespace report {

enum class ControlKind {
    Panel,           // a plain container (picture box)
    Frame,           // a captioned group
    Button,
    PictureButton,   // a button showing a picture in place of a caption
    Label,
    SunkenLabel,     // a label with a sunken border (a value shown)
    Text,            // a one-line entry box
    Check,
    Option,
    Spin,            // up and down arrows (diagram::UpDownControl), in the Tab order
    List,
    Combo,
};

struct ControlLayout {
    ControlKind kind;
    const char* name;
    const char* parent;   // nullptr: the window itself
    const char* caption;
    const char* toolTip;
    double left, top, width, height;
};

void BuildControls(QWidget* window, std::span<const ControlLayout> layouts);

// The control of that name; a missing control ends the program (a fault
// of the window's description).
QWidget* FindControlOrDie(const QWidget* window, const QString& name);
template <class T>
T* Control(const QWidget* window, const QString& name)
{
    T* control = qobject_cast<T*>(FindControlOrDie(window, name));
    if (!control) qFatal("control %s has another kind", qPrintable(name));
    return control;
}

// Grey (E0E0E0) for a disabled entry box, white for an enabled one.
void EnableEntryBox(QLineEdit* box, bool enabled);

}  // namespace report
