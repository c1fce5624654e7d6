#include "report/WindowControls.h"

#include "diagram/UpDownControl.h"
#include "platform/Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace report {

namespace {

QWidget* Make(ControlKind kind, QWidget* parent, const QString& caption)
{
    switch (kind) {
    case ControlKind::Panel: return new QWidget(parent);
    case ControlKind::Frame: return new QGroupBox(caption, parent);
    case ControlKind::Button: return new QPushButton(caption, parent);
    case ControlKind::PictureButton: {
        auto* b = new QToolButton(parent);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        return b;
    }
    case ControlKind::Label: return new QLabel(caption, parent);
    case ControlKind::SunkenLabel: {
        auto* l = new QLabel(caption, parent);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    }
    case ControlKind::Text: return new QLineEdit(caption, parent);
    case ControlKind::Check: return new QCheckBox(caption, parent);
    case ControlKind::Option: return new QRadioButton(caption, parent);
    case ControlKind::Spin:
        // The window's description sets the steps and the limits.
        return new diagram::UpDownControl(1, 0, 100, parent, diagram::UpDownControl::ArrowFocus::Tab);
    case ControlKind::List: return new QListWidget(parent);
    case ControlKind::Combo: return new QComboBox(parent);
    }
    return new QWidget(parent);
}

}  // namespace

void BuildControls(QWidget* window, std::span<const ControlLayout> layouts)
{
    for (const ControlLayout& s : layouts) {
        QWidget* parent = s.parent ? FindControlOrDie(window, QString::fromUtf8(s.parent)) : window;
        QWidget* w = Make(s.kind, parent, QString::fromUtf8(s.caption ? s.caption : ""));
        w->setObjectName(QString::fromUtf8(s.name));
        if (s.toolTip) w->setToolTip(QString::fromUtf8(s.toolTip));
        forms::PlaceTw(w, s.left, s.top, s.width, s.height);
    }
}

QWidget* FindControlOrDie(const QWidget* window, const QString& name)
{
    QWidget* w = window->findChild<QWidget*>(name);
    if (!w) qFatal("the window has no control %s", qPrintable(name));
    return w;
}

void EnableEntryBox(QLineEdit* box, bool enabled)
{
    box->setEnabled(enabled);
    box->setStyleSheet(enabled ? QStringLiteral("QLineEdit { background: #FFFFFF; }")
                               : QStringLiteral("QLineEdit { background: #E0E0E0; }"));
}

}  // namespace report
