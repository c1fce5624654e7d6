#include "input/InputControls.h"

#include "platform/Forms.h"
#include "platform/Runtime.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <map>

QString ControlName(const QString& name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

QWidget* FindControl(QWidget* window, const QString& name, int index)
{
    if (!window) return nullptr;
    const QString full = ControlName(name, index);
    if (window->objectName() == full) return window;
    return window->findChild<QWidget*>(full);
}

QLineEdit* FindEntryBox(QWidget* window, const QString& name, int index)
{
    return qobject_cast<QLineEdit*>(FindControl(window, name, index));
}

QString ControlText(QWidget* window, const QString& name, int index)
{
    QWidget* w = FindControl(window, name, index);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    rt::Raise(rt::ErrItemNotFound, ControlName(name, index));
}

void SetControlText(QWidget* window, const QString& name, const QString& text, int index)
{
    QWidget* w = FindControl(window, name, index);
    if (auto* e = qobject_cast<QLineEdit*>(w)) { e->setText(text); return; }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) c->setEditText(text);
        else c->setCurrentIndex(c->findText(text));
        return;
    }
    if (auto* l = qobject_cast<QLabel*>(w)) { l->setText(text); return; }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) { b->setText(text); return; }
    if (auto* g = qobject_cast<QGroupBox*>(w)) { g->setTitle(text); return; }
    rt::Raise(rt::ErrItemNotFound, ControlName(name, index));
}

BoxTexts ReadControlTexts(QWidget* window)
{
    BoxTexts texts;
    if (!window) return texts;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        // Parts of composite controls carry Qt's own names or none.
        if (name.isEmpty() || name.startsWith(QStringLiteral("qt_")) || texts.count(name)) continue;
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w))
            texts[name] = ControlText(window, name);
    }
    return texts;
}

void WriteControlTexts(QWidget* window, const BoxTexts& texts)
{
    for (const auto& [name, text] : texts) SetControlText(window, name, text);
}

namespace {
std::map<QString, std::function<forms::Form*()>>& Factories()
{
    static std::map<QString, std::function<forms::Form*()>> f;
    return f;
}
std::map<QString, QPointer<forms::Form>>& Instances()
{
    static std::map<QString, QPointer<forms::Form>> i;
    return i;
}
// The instance if it exists, without creating it.
forms::Form* ExistingScreenInstance(const QString& formName)
{
    auto it = Instances().find(formName);
    return it == Instances().end() ? nullptr : it->second.data();
}

std::map<int16_t, QString>& WindowNames()
{
    static std::map<int16_t, QString> n;
    return n;
}
}  // namespace

forms::Form* ScreenInstance(const QString& formName)
{
    if (forms::Form* f = ExistingScreenInstance(formName)) return f;
    auto it = Factories().find(formName);
    if (it == Factories().end() || !it->second) return nullptr;
    forms::Form* f = it->second();
    Instances()[formName] = f;
    return f;
}

void RegisterWindow(ScreenCodes code, const QString& formName, std::function<forms::Form*()> create)
{
    WindowNames()[code] = formName;
    Factories()[formName] = std::move(create);
}

forms::Form* WindowInstance(ScreenCodes code)
{
    auto it = WindowNames().find(code);
    return it == WindowNames().end() ? nullptr : ScreenInstance(it->second);
}

bool HasScreenFactory(const QString& formName)
{
    return Factories().count(formName) > 0 || ExistingScreenInstance(formName) != nullptr;
}

void SetTabStop(QWidget* w, bool on)
{
    if (!w || w->focusPolicy() == Qt::NoFocus) return;   // labels, frames: no tab stop
    w->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}
