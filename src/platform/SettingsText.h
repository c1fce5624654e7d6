// The text of the settings file, read and edited line by line.
//
// The file is in the INI form it has always had: a section "[Input]" and
// under it values "InputLeft=1200" or "Ramen\Zoom=1.5" (a sub-section's
// value); names escaped as %XX and %UXXXX; values with C escapes ("\n",
// "\x1f"), in quotes when they hold ";", "," or "=" or begin or end with a
// blank, a leading "@" doubled; ";" begins a comment. A text of several
// items separated by commas (a list, as a hand edit may hold) reads as the
// items joined by ", ".
//
// An edit replaces the value of a line it changes where the line stands,
// adds a new value at the end of its section (a new section at the end of
// the text), and removes a value's line whole. Every other line (other
// values, comments, blank lines, lines that are not values) stays byte for
// byte in its place.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace reg::text {

// A value's full name: its section's levels and its key joined by "/"
// ("Input/Ramen/Zoom").
struct Change {
    QString name;
    std::optional<QString> value;  // none: the value is removed
};

// Every value of `text` in the order of its lines, by full name as spelt
// there. Names are matched without regard to case: where a name has several
// lines, the last one holds.
QList<std::pair<QString, QString>> Values(const QByteArray& text);

// `text` with `changes` applied, in their order; at most one change per name
// (without regard to case). A changed value's line takes the first place
// where the name stands; its other lines go.
QByteArray WithChanges(const QByteArray& text, const QList<Change>& changes);

// The form of a value after "=", and the value such a form reads as.
QByteArray EscapedValue(const QString& value);
QString UnescapedValue(QByteArrayView form);

}  // namespace reg::text
