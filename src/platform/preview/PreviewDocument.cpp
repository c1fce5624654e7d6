#include "platform/preview/PreviewDocument.h"

namespace preview {

QColor ToQColor(uint32_t colour)
{
    if (colour & 0x80000000u) {
        constexpr uint32_t ButtonFace = 0x0F;
        return (colour & 0xFFu) == ButtonFace ? QColor(0xF0, 0xF0, 0xF0) : QColor(Qt::black);
    }
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QStringList SplitHeaderText(const QString& text)
{
    QStringList parts = text.split(u'|');
    while (parts.size() < 3) parts << QString();
    return parts.mid(0, 3);
}

int Document::FontIndex(const PrintFont& font)
{
    for (size_t i = 0; i < fonts.size(); ++i)
        if (fonts[i] == font) return static_cast<int>(i);
    fonts.push_back(font);
    return static_cast<int>(fonts.size() - 1);
}

}  // namespace preview
