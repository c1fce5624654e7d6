#include "platform/preview/PageRenderer.h"

#include "platform/preview/PreviewFonts.h"

#include <QPainter>

#include <cmath>

namespace preview {

namespace {

// Header and footer sit in the margins, this far from the body; the border
// rules halfway between.
constexpr double HeaderGap = 120;

QPen MakePen(const Pen& pen)
{
    // Width 0 is a cosmetic pen: one device pixel at any scale.
    QPen p(ToQColor(pen.colour), pen.width > 0 ? pen.width : 0.0, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
    return p;
}

void DrawTextLine(QPainter& painter, const PrintFont& font, double x, double top, const QString& text)
{
    painter.setFont(FontFor(font));
    painter.drawText(QPointF(x, top + Ascent(font)), text);
}

void DrawOperation(QPainter& painter, const Document& doc, const DrawOp& op)
{
    switch (op.kind) {
    case OpKind::Text:
        painter.setPen(Qt::black);
        DrawTextLine(painter, doc.fonts[op.font], op.x1, op.y1, op.text);
        break;
    case OpKind::Line:
        // Smoothing blurs lines along the pixel grid into two grey rows.
        painter.setRenderHint(QPainter::Antialiasing, op.x1 != op.x2 && op.y1 != op.y2);
        painter.setPen(MakePen(op.pen));
        painter.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
        break;
    case OpKind::Rectangle:
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(MakePen(op.pen));
        painter.setBrush(ToQColor(op.brush));
        painter.drawRect(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized());
        break;
    case OpKind::Circle: {
        const QPointF centre(op.x1, op.y1);
        const double r = op.x2;
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (op.pen.width > 0) {
            // A wide outline as two discs: stroking is slow for the
            // thousands of end dots of a diagram, and looks the same.
            const double half = op.pen.width / 2;
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToQColor(op.pen.colour));
            painter.drawEllipse(centre, r + half, r + half);
            if (r > half) {
                painter.setBrush(ToQColor(op.brush));
                painter.drawEllipse(centre, r - half, r - half);
            }
        } else {
            painter.setPen(MakePen(op.pen));
            painter.setBrush(ToQColor(op.brush));
            painter.drawEllipse(centre, r, r);
        }
        break;
    }
    case OpKind::TextBox: {
        const QRectF box = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(MakePen(op.pen));
        if (op.filled)
            painter.setBrush(ToQColor(op.brush));
        else
            painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        const PrintFont& font = doc.fonts[op.font];
        painter.setPen(Qt::black);
        DrawTextLine(painter, font, box.center().x() - TextWidth(font, op.text) / 2,
                     box.center().y() - LineHeight(font) / 2, op.text);
        break;
    }
    }
}

// Left part at the left margin, centre part centred on the body, right part
// ending at the right margin.
void DrawHeaderLine(QPainter& painter, const PageSettings& s, const QString& text, double top)
{
    const QStringList parts = SplitHeaderText(text);
    const PrintFont& font = s.headerFont;
    const double left = s.margin;
    const double right = s.Width() - s.margin;
    if (!parts[0].isEmpty()) DrawTextLine(painter, font, left, top, parts[0]);
    if (!parts[1].isEmpty())
        DrawTextLine(painter, font, (left + right - TextWidth(font, parts[1])) / 2, top, parts[1]);
    if (!parts[2].isEmpty()) DrawTextLine(painter, font, right - TextWidth(font, parts[2]), top, parts[2]);
}

void DrawPageFrame(QPainter& painter, const PageSettings& s)
{
    const double h = LineHeight(s.headerFont);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    if (!s.headerText.isEmpty()) DrawHeaderLine(painter, s, s.headerText, s.margin - HeaderGap - h);
    if (!s.footerText.isEmpty()) DrawHeaderLine(painter, s, s.footerText, s.Height() - s.margin + HeaderGap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    const double left = s.margin, right = s.Width() - s.margin;
    if (s.border & BorderBelowHeader) {
        const double y = s.margin - HeaderGap / 2;
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }
    if (s.border & BorderAboveFooter) {
        const double y = s.Height() - s.margin + HeaderGap / 2;
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }
}

}  // namespace

void RenderPage(QPainter& painter, const Document& doc, int index)
{
    if (index < 0 || index >= static_cast<int>(doc.pages.size())) return;
    const Page& page = doc.pages[index];
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const DrawOp& op : page.ops) DrawOperation(painter, doc, op);
    DrawPageFrame(painter, page.settings);
    painter.restore();
}

QImage RenderPageImage(const Document& doc, int index, double pixelsPerTwip)
{
    if (index < 0 || index >= static_cast<int>(doc.pages.size())) return QImage();
    const PageSettings& s = doc.pages[index].settings;
    QImage image(static_cast<int>(std::ceil(s.Width() * pixelsPerTwip)),
                 static_cast<int>(std::ceil(s.Height() * pixelsPerTwip)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    RenderPage(painter, doc, index);
    return image;
}

}  // namespace preview
