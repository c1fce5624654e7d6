#include "common/DocumentText.h"

#include "platform/preview/PreviewFonts.h"

#include <cmath>

namespace testenv {

namespace {

// The table font: cells are its half-width advance.
preview::PrintFont TableFont()
{
    preview::PrintFont f;
    f.name = QStringLiteral("ＭＳ ゴシック");
    f.size = 8;
    return f;
}

constexpr double kSameSpot = 0.5;   // twips

}  // namespace

QString OrientationName(const preview::Page& page)
{
    return page.settings.orientation == preview::Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait");
}

QString HeaderParts(const QString& text) { return preview::SplitHeaderText(text).join(QLatin1Char('|')); }

int TextCells(const QString& text)
{
    int cells = 0;
    for (QChar c : text) {
        const ushort u = c.unicode();
        cells += (u < 0x100 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
    }
    return cells;
}

QStringList PageLines(const preview::Document& doc, int index)
{
    const preview::Page& page = doc.pages[index];
    const double margin = page.settings.margin;
    const double cell = preview::TextWidth(TableFont(), QStringLiteral(" "));
    QStringList lines;
    int slot = -1;          // line slot of the current line
    double lineY = 0;
    double endX = 0;
    int column = 0;
    auto cellOf = [&](double x) { return static_cast<int>(std::lround((x - margin) / cell)); };
    for (const preview::DrawOp& op : page.ops) {
        if (op.kind != preview::OpKind::Text) continue;
        const preview::PrintFont& font = doc.fonts[op.font];
        const bool newLine = slot < 0 || std::fabs(op.y1 - lineY) > kSameSpot;
        if (newLine) {
            const int target = static_cast<int>(std::lround((op.y1 - margin) / preview::LineHeight(font)));
            // Empty lines between printed ones.
            while (slot + 1 < target) {
                lines << QString();
                ++slot;
            }
            lines << QString();
            slot = std::max(slot + 1, target);
            lineY = op.y1;
            column = 0;
            endX = margin;
        }
        if (std::fabs(op.x1 - endX) > kSameSpot) {
            const int target = cellOf(op.x1);
            if (target > column) {
                lines.last() += QString(target - column, u' ');
                column = target;
            }
        }
        lines.last() += op.text;
        column += TextCells(op.text);
        endX = op.x1 + op.x2;
    }
    return lines;
}

}  // namespace testenv
