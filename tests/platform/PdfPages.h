// Reads back what the tests need of a PDF written by Qt: each page's media
// box and its text, line by line, through the fonts' ToUnicode maps.
// Enough for Qt's own output, not a general PDF reader.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QtEndian>
#include <vector>

namespace previewtest {

struct PdfPage {
    QSizeF mediaBox;   // points
    QString text;      // one line per baseline; blanks as spaces
};

namespace pdfdetail {

inline QByteArray StreamOf(const QString& object)
{
    static const QRegularExpression re(QStringLiteral("stream\\r?\\n(.*)\\r?\\nendstream"),
                                       QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = re.match(object);
    if (!m.hasMatch()) return QByteArray();
    const QByteArray data = m.captured(1).toLatin1();
    if (!object.contains(QStringLiteral("/FlateDecode"))) return data;
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size() * 4), sized.data());
    return qUncompress(sized + data);
}

inline QString Utf16Hex(const QString& hex)
{
    QString out;
    for (int i = 0; i + 4 <= hex.size(); i += 4) out += QChar(static_cast<char16_t>(hex.mid(i, 4).toUInt(nullptr, 16)));
    return out;
}

// Glyph code to text, from a ToUnicode map's bfchar and bfrange entries.
inline QHash<uint, QString> ReadCMap(const QString& cmap)
{
    QHash<uint, QString> map;
    static const QRegularExpression list(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*\\[([^\\]]*)\\]"));
    static const QRegularExpression range(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    static const QRegularExpression one(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    static const QRegularExpression item(QStringLiteral("<([0-9A-Fa-f]+)>"));
    const int ranges = cmap.indexOf(QStringLiteral("beginbfrange"));
    const int chars = cmap.indexOf(QStringLiteral("beginbfchar"));
    if (ranges >= 0) {
        const QString body = cmap.mid(ranges, cmap.indexOf(QStringLiteral("endbfrange"), ranges) - ranges);
        for (auto it = list.globalMatch(body); it.hasNext();) {
            const auto m = it.next();
            uint code = m.captured(1).toUInt(nullptr, 16);
            for (auto u = item.globalMatch(m.captured(3)); u.hasNext();) map[code++] = Utf16Hex(u.next().captured(1));
        }
        QString rest = body;
        rest.remove(list);
        for (auto it = range.globalMatch(rest); it.hasNext();) {
            const auto m = it.next();
            const uint first = m.captured(1).toUInt(nullptr, 16), last = m.captured(2).toUInt(nullptr, 16);
            const uint base = m.captured(3).toUInt(nullptr, 16);
            for (uint c = first; c <= last && c - first < 0x10000; ++c)
                map[c] = QString(QChar(static_cast<char16_t>(base + (c - first))));
        }
    }
    if (chars >= 0) {
        const QString body = cmap.mid(chars, cmap.indexOf(QStringLiteral("endbfchar"), chars) - chars);
        for (auto it = one.globalMatch(body); it.hasNext();) {
            const auto m = it.next();
            map[m.captured(1).toUInt(nullptr, 16)] = Utf16Hex(m.captured(2));
        }
    }
    return map;
}

}  // namespace pdfdetail

inline std::vector<PdfPage> ReadPdfPages(const QByteArray& pdf)
{
    using namespace pdfdetail;
    const QString all = QString::fromLatin1(pdf);
    QMap<int, QString> objects;
    static const QRegularExpression obj(QStringLiteral("(\\d+) 0 obj\\b(.*?)\\bendobj"),
                                        QRegularExpression::DotMatchesEverythingOption);
    for (auto it = obj.globalMatch(all); it.hasNext();) {
        const auto m = it.next();
        objects[m.captured(1).toInt()] = m.captured(2);
    }
    auto ref = [&](const QString& body, const QString& key) {
        const QRegularExpression re(QRegularExpression::escape(key) + QStringLiteral("\\s+(\\d+) 0 R"));
        const auto m = re.match(body);
        return m.hasMatch() ? objects.value(m.captured(1).toInt()) : QString();
    };

    std::vector<PdfPage> pages;
    QString kids;
    for (const QString& body : objects)
        if (body.contains(QStringLiteral("/Type /Pages"))) {
            static const QRegularExpression k(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]"));
            kids = k.match(body).captured(1);
        }
    static const QRegularExpression kidRef(QStringLiteral("(\\d+) 0 R"));
    for (auto kid = kidRef.globalMatch(kids); kid.hasNext();) {
        const QString page = objects.value(kid.next().captured(1).toInt());
        PdfPage out;
        static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*([\\d.]+) ([\\d.]+) ([\\d.]+) ([\\d.]+)\\s*\\]"));
        const auto b = box.match(page);
        out.mediaBox = QSizeF(b.captured(3).toDouble() - b.captured(1).toDouble(),
                              b.captured(4).toDouble() - b.captured(2).toDouble());
        // Font resource names to their glyph maps.
        QHash<QString, QHash<uint, QString>> fonts;
        static const QRegularExpression fontRef(QStringLiteral("/(F\\d+)\\s+(\\d+) 0 R"));
        for (auto f = fontRef.globalMatch(ref(page, QStringLiteral("/Resources"))); f.hasNext();) {
            const auto m = f.next();
            const QString cmap = QString::fromLatin1(StreamOf(ref(objects.value(m.captured(2).toInt()), QStringLiteral("/ToUnicode"))));
            fonts[m.captured(1)] = ReadCMap(cmap);
        }
        const QString content = QString::fromLatin1(StreamOf(ref(page, QStringLiteral("/Contents"))));
        // Qt writes each run of one script as a text object of its own,
        // placed by its first Td; runs on one baseline make one line.
        static const QRegularExpression ops(
            QStringLiteral("\\bBT\\b|([-\\d.]+) ([-\\d.]+) Td|/(F\\d+) [\\d.]+ Tf|<([0-9A-Fa-f]+)> Tj"));
        QString font;
        bool placed = true;
        QString baseline;
        for (auto t = ops.globalMatch(content); t.hasNext();) {
            const auto m = t.next();
            if (m.captured(0) == QStringLiteral("BT")) {
                placed = false;
            } else if (!m.captured(2).isEmpty()) {
                if (!placed && m.captured(2) != baseline) {
                    if (!out.text.isEmpty()) out.text += u'\n';
                    baseline = m.captured(2);
                }
                placed = true;
            } else if (!m.captured(3).isEmpty()) {
                font = m.captured(3);
            } else {
                const QString hex = m.captured(4);
                for (int i = 0; i + 4 <= hex.size(); i += 4) out.text += fonts[font].value(hex.mid(i, 4).toUInt(nullptr, 16));
            }
        }
        out.text.replace(u'\t', u' ');
        pages.push_back(out);
    }
    return pages;
}

}  // namespace previewtest
