#include "platform/preview/PreviewFonts.h"

#include <QFontMetricsF>
#include <QHash>

#include <cmath>
#include <memory>

namespace preview {

namespace {

struct FontEntry {
    QFont font;
    QFontMetricsF metrics;
};

QString Key(const FontSpec& spec)
{
    return spec.name + u'\x1f' + QString::number(spec.size, 'g', 10) + u'\x1f' +
           QChar(u'0' + (spec.bold ? 1 : 0) + (spec.italic ? 2 : 0) + (spec.underline ? 4 : 0) +
                 (spec.strikeout ? 8 : 0));
}

const FontEntry& Entry(const FontSpec& spec)
{
    // Fonts are only made on the user-interface thread.
    static QHash<QString, std::shared_ptr<FontEntry>> cache;
    const QString key = Key(spec);
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return **it;

    QFont font(FaceFor(spec.name));
    // QFont takes whole pixels: sizes are kept to the twip (1/20 point).
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(spec.size * TwipsPerPoint))));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeout);
    auto entry = std::make_shared<FontEntry>(FontEntry{font, QFontMetricsF(font)});
    cache.insert(key, entry);
    return *entry;
}

}  // namespace

QString FaceFor(const QString& fontName)
{
    if (fontName == QStringLiteral("ＭＳ ゴシック")) return QStringLiteral("IPAGothic");
    if (fontName == QStringLiteral("ＭＳ Ｐゴシック")) return QStringLiteral("IPAPGothic");
    return fontName;
}

const QFont& FontFor(const FontSpec& spec) { return Entry(spec).font; }

double TextWidth(const FontSpec& spec, const QString& text)
{
    return Entry(spec).metrics.horizontalAdvance(text);
}

double LineHeight(const FontSpec& spec) { return Entry(spec).metrics.lineSpacing(); }

double Ascent(const FontSpec& spec) { return Entry(spec).metrics.ascent(); }

}  // namespace preview
