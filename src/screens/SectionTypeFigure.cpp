#include "screens/SectionTypeFigure.h"

#include "input/InputRecordOps.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kSectionFill(255, 255, 132);
constexpr int kSize = 95;
constexpr double kC = 47.5;   // centre of the picture

void Label(QPainter& p, const QPointF& at, const QString& text)
{
    const QRectF r(at.x() - 12, at.y() - 6, 24, 12);
    p.drawText(r, Qt::AlignCenter, text);
}

// A dimension line with arrow heads from a to b, its name beside the middle.
void Dimension(QPainter& p, QPointF a, QPointF b, const QString& name, QPointF labelOffset)
{
    p.setPen(QPen(Qt::black, 0.8));
    p.drawLine(a, b);
    const QPointF d = (b - a) / std::max(1.0, std::hypot(b.x() - a.x(), b.y() - a.y()));
    const QPointF n(-d.y(), d.x());
    for (auto [tip, dir] : {std::pair{a, d}, std::pair{b, -d}}) {
        QPolygonF head;
        head << tip << tip + dir * 4 + n * 1.8 << tip + dir * 4 - n * 1.8;
        p.setBrush(Qt::black);
        p.drawPolygon(head);
    }
    p.setBrush(Qt::NoBrush);
    Label(p, (a + b) / 2 + labelOffset, name);
}

// A pointer from a label to a spot on the section (thicknesses and radii).
void Leader(QPainter& p, QPointF spot, QPointF labelAt, const QString& name)
{
    p.setPen(QPen(Qt::black, 0.6));
    p.drawLine(spot, labelAt);
    Label(p, labelAt + QPointF(labelAt.x() < spot.x() ? -7 : 7, 0), name);
}

void Axes(QPainter& p)
{
    p.setPen(QPen(Qt::black, 0.6, Qt::DashLine));
    p.drawLine(QPointF(kC, 10), QPointF(kC, 80));
    p.drawLine(QPointF(14, kC), QPointF(84, kC));
    p.setPen(Qt::black);
    p.drawText(QRectF(kC + 1, 2, 10, 10), Qt::AlignCenter, QStringLiteral("y"));
    p.drawText(QRectF(84, kC - 10, 10, 10), Qt::AlignCenter, QStringLiteral("Z"));
}

QPainterPath HSection(bool turned)
{
    // Depth 44, flange width 40, web 6, flanges 6, in the upright position.
    QPainterPath h;
    const double d = 44, w = 40, tw = 6, tf = 6;
    h.addRect(kC - w / 2, kC - d / 2, w, tf);
    h.addRect(kC - w / 2, kC + d / 2 - tf, w, tf);
    h.addRect(kC - tw / 2, kC - d / 2 + tf, tw, d - 2 * tf);
    h = h.simplified();
    if (!turned) return h;
    QTransform t;
    t.translate(kC, kC).rotate(90).translate(-kC, -kC);
    return t.map(h);
}

}  // namespace

QPixmap SectionTypePicture(int type)
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = p.font();
    f.setPixelSize(8);
    p.setFont(f);
    const QPen outline(Qt::black, 1);
    auto fill = [&](const QPainterPath& path) {
        p.setPen(outline);
        p.setBrush(kSectionFill);
        p.drawPath(path);
        p.setBrush(Qt::NoBrush);
    };
    QPainterPath s;
    switch (type) {
    case 1:   // solid rectangle: P1 height along y, P2 width along Z
        s.addRect(kC - 16, kC - 24, 32, 48);
        fill(s);
        Axes(p);
        Dimension(p, {20, kC - 24}, {20, kC + 24}, QStringLiteral("P1"), {-8, 0});
        Dimension(p, {kC - 16, 82}, {kC + 16, 82}, QStringLiteral("P2"), {0, 8});
        break;
    case 2:   // H-section, flanges above and below, web along y
        fill(HSection(false));
        Axes(p);
        Dimension(p, {17, kC - 22}, {17, kC + 22}, QStringLiteral("P1"), {-8, 0});
        Dimension(p, {kC - 20, 80}, {kC + 20, 80}, QStringLiteral("P2"), {0, 8});
        Leader(p, {kC + 3, kC + 10}, {80, 62}, QStringLiteral("P3"));
        Leader(p, {kC + 18, kC - 19}, {80, 14}, QStringLiteral("P4"));
        Leader(p, {kC - 3.5, kC - 16}, {28, 10}, QStringLiteral("P5"));
        break;
    case 3:   // the H-section turned: web along Z
        fill(HSection(true));
        Axes(p);
        Dimension(p, {kC - 22, 80}, {kC + 22, 80}, QStringLiteral("P1"), {0, 8});
        Dimension(p, {17, kC - 20}, {17, kC + 20}, QStringLiteral("P2"), {-8, 0});
        Leader(p, {kC + 10, kC - 3}, {80, 30}, QStringLiteral("P3"));
        Leader(p, {kC + 19, kC + 18}, {82, 74}, QStringLiteral("P4"));
        Leader(p, {kC - 16, kC - 3.5}, {28, 12}, QStringLiteral("P5"));
        break;
    case 4: {   // rectangular hollow section with radiused corners
        QPainterPath outer, inner;
        outer.addRoundedRect(kC - 18, kC - 24, 36, 48, 7, 7);
        inner.addRoundedRect(kC - 13, kC - 19, 26, 38, 3, 3);
        fill(outer.subtracted(inner));
        Axes(p);
        Dimension(p, {18, kC - 24}, {18, kC + 24}, QStringLiteral("P1"), {-8, 0});
        Dimension(p, {kC - 18, 82}, {kC + 18, 82}, QStringLiteral("P2"), {0, 8});
        Leader(p, {kC + 15.5, kC + 8}, {80, 62}, QStringLiteral("P3"));
        Leader(p, {kC + 16, kC - 22}, {80, 14}, QStringLiteral("P4"));
        break;
    }
    case 5: {   // circular tube
        QPainterPath outer, inner;
        outer.addEllipse(QPointF(kC, kC), 24, 24);
        inner.addEllipse(QPointF(kC, kC), 18, 18);
        fill(outer.subtracted(inner));
        Axes(p);
        Dimension(p, {kC - 24, 82}, {kC + 24, 82}, QStringLiteral("P1"), {0, 8});
        Leader(p, {kC + 15, kC - 15}, {82, 12}, QStringLiteral("P2"));
        break;
    }
    case 6:   // solid circle
        s.addEllipse(QPointF(kC, kC), 24, 24);
        fill(s);
        Axes(p);
        Dimension(p, {kC - 24, 82}, {kC + 24, 82}, QStringLiteral("P1"), {0, 8});
        break;
    default:
        break;
    }
    p.end();
    return pm;
}

frm部材形状図::frm部材形状図() : forms::Form(QStringLiteral("frm部材形状図"))
{
    setWindowFlag(Qt::Window);
    CloseWithEscape(this);
    // Six boxes 1455 twips square, 1440 twips apart, each under its caption.
    const double left = 120, captionTop = 120, boxTop = 420;
    for (int t = 1; t <= 6; ++t) {
        const double x = left + (t - 1) * 1440;
        auto* caption = new QLabel(QStringLiteral("タイプ %1").arg(t), this);
        caption->setAlignment(Qt::AlignCenter);
        forms::PlaceTw(caption, x, captionTop, 1455, 270);
        auto* box = new QLabel(this);
        box->setObjectName(QStringLiteral("picType(%1)").arg(t));
        box->setAutoFillBackground(true);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Window, Qt::white);
        box->setPalette(pal);
        box->setFrameShape(QFrame::Box);
        box->setAlignment(Qt::AlignCenter);
        box->setPixmap(SectionTypePicture(t));
        forms::PlaceTw(box, x, boxTop, 1455, 1455);
    }
    SetClientSizeTw(left + 5 * 1440 + 1455 + 120, boxTop + 1455 + 150);
}

void frm部材形状図::Form_Load()
{
    SetWindowCaption(ScreenSectionTypeFigure, this);
    int width = 0, height = 0;
    CenterOnInputForm(this, width, height);
}
