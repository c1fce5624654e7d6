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

QString Key(const PrintFont& font)
{
    return font.name + u'\x1f' + QString::number(font.size, 'g', 10) + u'\x1f' +
           QChar(u'0' + (font.bold ? 1 : 0) + (font.italic ? 2 : 0) + (font.underline ? 4 : 0) +
                 (font.strikeout ? 8 : 0));
}

const FontEntry& Entry(const PrintFont& font)
{
    // Fonts are only made on the user-interface thread.
    static QHash<QString, std::shared_ptr<FontEntry>> cache;
    const QString key = Key(font);
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return **it;

    QFont qfont(FaceFor(font.name));
    // QFont takes whole pixels: sizes are kept to the twip (1/20 point).
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * TwipsPerPoint))));
    qfont.setHintingPreference(QFont::PreferNoHinting);
    qfont.setKerning(false);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeout);
    auto entry = std::make_shared<FontEntry>(FontEntry{qfont, QFontMetricsF(qfont)});
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

const QFont& FontFor(const PrintFont& font) { return Entry(font).font; }

double TextWidth(const PrintFont& font, const QString& text)
{
    return Entry(font).metrics.horizontalAdvance(text);
}

double LineHeight(const PrintFont& font) { return Entry(font).metrics.lineSpacing(); }

double Ascent(const PrintFont& font) { return Entry(font).metrics.ascent(); }

}  // namespace preview
