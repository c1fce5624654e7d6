#include "platform/SettingsText.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace reg::text {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// UTF-8 as it stands: a byte order mark at the start is a character of the
// text, not dropped.
QString FromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

int HexValue(char16_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int OctalValue(char c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

bool IsAsciiLetterOrDigit(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

QByteArray HexDigitsUpper(uint value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

// A section's or key's name as written: "/" (a level of sections) as "\",
// letters, digits, "_", "-" and "." as they are, every other character as
// %XX or %UXXXX.
QByteArray EscapedName(const QString& name)
{
    QByteArray out;
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == '/')
            out += '\\';
        else if (IsAsciiLetterOrDigit(c) || c == '_' || c == '-' || c == '.')
            out += static_cast<char>(c);
        else if (c <= 0xFF)
            out += '%' + HexDigitsUpper(c, 2);
        else
            out += "%U" + HexDigitsUpper(c, 4);
    }
    return out;
}

QString UnescapedName(QByteArrayView bytes)
{
    const QString text = FromUtf8(bytes);
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c == u'%' && i + 1 < text.size()) {
            const bool wide = text[i + 1] == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const int digits = wide ? 4 : 2;
            if (first + digits <= text.size()) {
                uint value = 0;
                bool ok = true;
                for (qsizetype k = first; k < first + digits && ok; ++k) {
                    const int h = HexValue(text[k].unicode());
                    ok = h >= 0;
                    value = value * 16 + static_cast<uint>(std::max(h, 0));
                }
                if (ok) {
                    out += QChar(static_cast<char16_t>(value));
                    i = first + digits;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// One line of the text, its line break excluded.
struct Line {
    enum class Kind { Blank, Section, Value, Other };
    Kind kind = Kind::Other;
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;        // the first byte after the line break
    QString section;           // a section: its name; a value: its section's
    QString name;              // a value: its full name
    qsizetype valueBegin = 0;  // a value: the bytes after "=", without the
    qsizetype valueEnd = 0;    // blanks around them and a comment after
};

// The name of a section header "[...]" that begins at `from`.
QString SectionName(const QByteArray& text, qsizetype from, qsizetype end)
{
    qsizetype close = from + 1;
    while (close < end && text[close] != ']' && text[close] != ';') ++close;
    const QByteArray name = text.mid(from + 1, close - from - 1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0) return QString();
    if (name.compare("%general", Qt::CaseInsensitive) == 0) return QString::fromLatin1(name.mid(1));
    return UnescapedName(name);
}

// Sorts `line` into its kind. A "=" or ";" inside quotes or after "\"
// neither ends the key nor begins a comment.
void Classify(const QByteArray& text, Line& line, QString& section)
{
    qsizetype i = line.begin;
    while (i < line.end && IsBlank(text[i])) ++i;
    if (i == line.end) {
        line.kind = Line::Kind::Blank;
        return;
    }
    if (text[i] == ';') return;
    if (text[i] == '[') {
        section = SectionName(text, i, line.end);
        line.kind = Line::Kind::Section;
        line.section = section;
        return;
    }
    qsizetype equals = -1;
    qsizetype valueEnd = line.end;
    bool inQuotes = false;
    for (qsizetype j = i; j < line.end; ++j) {
        const char c = text[j];
        if (c == '\\') {
            ++j;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '=' && !inQuotes && equals < 0) {
            equals = j;
        } else if (c == ';' && !inQuotes) {
            if (equals < 0) return;  // a comment cuts the key
            valueEnd = j;
            break;
        }
    }
    if (equals < 0) return;
    const QByteArray key = text.mid(i, equals - i).trimmed();
    if (key.isEmpty()) return;
    qsizetype valueBegin = equals + 1;
    while (valueBegin < valueEnd && IsBlank(text[valueBegin])) ++valueBegin;
    while (valueEnd > valueBegin && IsBlank(text[valueEnd - 1])) --valueEnd;
    line.kind = Line::Kind::Value;
    line.section = section;
    line.name = section.isEmpty() ? UnescapedName(key) : section + u'/' + UnescapedName(key);
    line.valueBegin = valueBegin;
    line.valueEnd = valueEnd;
}

std::vector<Line> Lines(const QByteArray& text)
{
    std::vector<Line> lines;
    QString section;
    qsizetype pos = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        qsizetype end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        line.end = end;
        line.next = end;
        if (line.next < text.size())
            line.next += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        Classify(text, line, section);
        pos = line.next;
        lines.push_back(std::move(line));
    }
    return lines;
}

// The line break that ends the last line of `text` that has one ("\r\n",
// "\n" or "\r"), else "\n": a line added after it takes the same.
QByteArray LastLineBreakIn(QByteArrayView text)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i] == '\n') return i > 0 && text[i - 1] == '\r' ? "\r\n" : "\n";
        if (text[i] == '\r') return "\r";
    }
    return "\n";
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// True when a value of full name `name` belongs under the section `section`.
bool Holds(const QString& section, const QString& name)
{
    if (section.isEmpty()) return !name.contains(u'/');
    return name.size() > section.size() + 1 && name.startsWith(section + u'/', Qt::CaseInsensitive);
}

// True when the last line of `text` (before its final line break) is blank.
bool EndsWithBlankLine(const QByteArray& text)
{
    qsizetype end = text.size();
    if (end > 0 && text[end - 1] == '\n') --end;
    if (end > 0 && text[end - 1] == '\r') --end;
    qsizetype begin = end;
    while (begin > 0 && text[begin - 1] != '\n' && text[begin - 1] != '\r') --begin;
    for (qsizetype i = begin; i < end; ++i)
        if (!IsBlank(text[i])) return false;
    return true;
}

QByteArray SectionHeader(const QString& section)
{
    if (section.isEmpty()) return "[General]";
    if (section.compare(QStringLiteral("general"), Qt::CaseInsensitive) == 0) return "[%General]";
    return '[' + EscapedName(section) + ']';
}

}  // namespace

QByteArray EscapedValue(const QString& value)
{
    // A leading "@" marks a typed value in this format: a text's is doubled.
    const QString text = value.startsWith(u'@') ? u'@' + value : value;
    QByteArray out;
    bool needsQuotes = false;
    bool escapeNextIfHex = false;  // a hex digit would lengthen the escape before it
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == ';' || c == ',' || c == '=') needsQuotes = true;
        if (escapeNextIfHex && HexValue(c) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case u'\0': out += "\\0"; escapeNextIfHex = true; break;
        case u'\a': out += "\\a"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        case u'\v': out += "\\v"; break;
        case u'"':
        case u'\\':
            out += '\\';
            out += static_cast<char>(c);
            break;
        default:
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += QStringView(text).sliced(i, 2).toUtf8();
                ++i;
            } else if (c < 0x20 || c == 0x7F || c == 0xFEFF || QChar::isSurrogate(c)) {
                // Control characters, a byte order mark (taken for the start of
                // a text by some readers) and half a surrogate pair.
                out += "\\x" + QByteArray::number(c, 16);
                escapeNextIfHex = true;
            } else if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += QStringView(text).sliced(i, 1).toUtf8();
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' '))) {
        out.prepend('"');
        out.append('"');
    }
    return out;
}

QString UnescapedValue(QByteArrayView form)
{
    QStringList items;
    QString current;
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;         // the current item had quotes
    qsizetype keepFrom = 0;      // blanks before this index are the item's own
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < form.size() && IsBlank(form[i])) ++i;
        keepFrom = current.size();
    };
    const auto chopTrailingBlanks = [&] {
        if (quoted) return;
        qsizetype n = current.size();
        while (n > keepFrom && (current[n - 1] == u' ' || current[n - 1] == u'\t')) --n;
        current.truncate(n);
    };
    skipBlanks();
    while (i < form.size()) {
        const char c = form[i];
        if (c == '\\') {
            ++i;
            if (i >= form.size()) break;
            const char e = form[i++];
            static constexpr char kSimple[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'},  {'n', '\n'},
                                                  {'r', '\r'}, {'t', '\t'}, {'v', '\v'},  {'"', '"'},
                                                  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
            const auto* simple = std::find_if(std::begin(kSimple), std::end(kSimple), [e](const char* p) { return p[0] == e; });
            if (simple != std::end(kSimple)) {
                current += QLatin1Char((*simple)[1]);
            } else if (e == 'x') {
                if (i < form.size() && HexValue(static_cast<unsigned char>(form[i])) >= 0) {
                    char16_t value = 0;
                    for (int h; i < form.size() && (h = HexValue(static_cast<unsigned char>(form[i]))) >= 0; ++i)
                        value = static_cast<char16_t>((value << 4) + h);
                    current += QChar(value);
                }
            } else if (OctalValue(e) >= 0) {
                char16_t value = static_cast<char16_t>(OctalValue(e));
                for (int o; i < form.size() && (o = OctalValue(form[i])) >= 0; ++i)
                    value = static_cast<char16_t>((value << 3) + o);
                current += QChar(value);
            }
            // Any other escaped character is dropped.
            keepFrom = current.size();
            continue;
        }
        if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) skipBlanks();
            continue;
        }
        if (c == ',' && !inQuotes) {
            chopTrailingBlanks();
            isList = true;
            items << current;
            current.clear();
            quoted = false;
            ++i;
            skipBlanks();
            continue;
        }
        qsizetype j = i + 1;
        while (j < form.size() && form[j] != '\\' && form[j] != '"' && form[j] != ',') ++j;
        current += FromUtf8(form.sliced(i, j - i));
        i = j;
    }
    chopTrailingBlanks();
    if (isList) {
        items << current;
        for (QString& item : items)
            if (item.startsWith(QLatin1String("@@"))) item.remove(0, 1);
        return items.join(QStringLiteral(", "));
    }
    if (current.startsWith(QLatin1String("@@"))) return current.mid(1);
    if (current.endsWith(u')')) {
        if (current.startsWith(QLatin1String("@String("))) return current.mid(8).chopped(1);
        if (current.startsWith(QLatin1String("@ByteArray("))) return current.mid(11).chopped(1);
        if (current == QLatin1String("@Invalid()")) return QString();
    }
    return current;
}

QList<std::pair<QString, QString>> Values(const QByteArray& text)
{
    QList<std::pair<QString, QString>> values;
    for (const Line& line : Lines(text))
        if (line.kind == Line::Kind::Value)
            values.append({line.name, UnescapedValue(QByteArrayView(text).sliced(line.valueBegin, line.valueEnd - line.valueBegin))});
    return values;
}

QByteArray WithChanges(const QByteArray& text, const QList<Change>& changes)
{
    const std::vector<Line> lines = Lines(text);
    std::vector<bool> removed(lines.size(), false);
    struct Edit {
        qsizetype begin;
        qsizetype end;
        QByteArray bytes;
    };
    std::vector<Edit> edits;
    QList<const Change*> added;

    for (const Change& change : changes) {
        bool placed = false;
        for (size_t k = 0; k < lines.size(); ++k) {
            const Line& line = lines[k];
            if (line.kind != Line::Kind::Value || !SameName(line.name, change.name)) continue;
            if (change.value && !placed) {
                edits.push_back({line.valueBegin, line.valueEnd, EscapedValue(*change.value)});
                placed = true;
            } else {
                removed[k] = true;
                edits.push_back({line.begin, line.next, {}});
            }
        }
        if (change.value && !placed) added << &change;
    }

    // New values: at the end of the most particular section that holds
    // them ("Input\Ramen" before "Input"), its last block where it has several.
    // Every line keeps its own line break; a new line takes that of the line
    // before it.
    struct NewSection {
        QString name;
        QList<QByteArray> lines;
    };
    QList<NewSection> newSections;
    for (const Change* change : added) {
        qsizetype header = -1;
        for (size_t k = 0; k < lines.size(); ++k) {
            const Line& line = lines[k];
            if (line.kind == Line::Kind::Section && Holds(line.section, change->name) &&
                (header < 0 || line.section.size() >= lines[static_cast<size_t>(header)].section.size()))
                header = static_cast<qsizetype>(k);
        }
        if (header >= 0) {
            const Line& head = lines[static_cast<size_t>(header)];
            size_t last = static_cast<size_t>(header);
            for (size_t k = last + 1; k < lines.size() && lines[k].kind != Line::Kind::Section; ++k)
                if (lines[k].kind != Line::Kind::Blank && !removed[k]) last = k;
            const QString key = head.section.isEmpty() ? change->name : change->name.mid(head.section.size() + 1);
            const QByteArray line = EscapedName(key) + '=' + EscapedValue(*change->value);
            const Line& before = lines[last];
            if (before.next > before.end) {
                // After the line break of the line before, ending as it does.
                edits.push_back({before.next, before.next, line + text.mid(before.end, before.next - before.end)});
            } else {
                // The text's last line, without a break: it gets the one of the
                // line before it, and the new line ends the text as it did.
                const QByteArray lineBreak = LastLineBreakIn(QByteArrayView(text).first(before.end));
                edits.push_back({before.end, before.end, lineBreak + line});
            }
            continue;
        }
        const qsizetype slash = change->name.indexOf(u'/');
        const QString section = slash < 0 ? QString() : change->name.left(slash);
        const QString key = change->name.mid(slash + 1);
        auto it = std::find_if(newSections.begin(), newSections.end(),
                               [&section](const NewSection& s) { return SameName(s.name, section); });
        if (it == newSections.end()) it = newSections.insert(newSections.end(), NewSection{section, {}});
        it->lines << EscapedName(key) + '=' + EscapedValue(*change->value);
    }

    // Edits never overlap. Where several begin at one place, insertions come
    // in the order they were recorded, and before a line that goes from there.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end == a.begin && b.end > b.begin;
    });
    QByteArray out;
    out.reserve(text.size() + 256);
    qsizetype pos = 0;
    for (const Edit& edit : edits) {
        out += QByteArrayView(text).sliced(pos, edit.begin - pos);
        out += edit.bytes;
        pos = edit.end;
    }
    out += QByteArrayView(text).sliced(pos);

    for (const NewSection& section : newSections) {
        const QByteArray lineBreak = LastLineBreakIn(out);
        if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += lineBreak;
        if (!out.isEmpty() && !EndsWithBlankLine(out)) out += lineBreak;
        out += SectionHeader(section.name) + lineBreak;
        for (const QByteArray& line : section.lines) out += line + lineBreak;
    }
    return out;
}

}  // namespace reg::text
