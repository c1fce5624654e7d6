#include "loads/LoadTypeLegend.h"

#include "input/InputRecordOps.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>

#include <cmath>

namespace {

QString Blanks(int n) { return QString(n, QLatin1Char(' ')); }

struct LegendPair {
    QString si;
    QString gravitational;
};

const std::array<LegendPair, 10>& LegendTexts()
{
    static const std::array<LegendPair, 10> texts = {{
    {QStringLiteral("P1～P3 ：kN") + Blanks(2) + QStringLiteral("P4～P6 ：kN・m P7　= 0 　　　　　　　　　　X　絶対系のみ "),
     QStringLiteral("P1～P3 ：t") + Blanks(3) + QStringLiteral("P4～P6 ：t・m") + Blanks(2) + QStringLiteral("P7　= 0 　　　　　　　　　　X　絶対系のみ ")},
    {QStringLiteral("P1，P2 ：kN　") + Blanks(5) + QStringLiteral("P4，P5 ：kN") + Blanks(4) + QStringLiteral("　 P3，P6 ：kN・m　　　P7") + Blanks(5) + QStringLiteral("：kN・m 　　Y、Z　部材系のみ"),
     QStringLiteral("P1，P2 ：t 　") + Blanks(5) + QStringLiteral("P4，P5 ：t") + Blanks(5) + QStringLiteral("　 P3，P6 ：t・m　 　　P7") + Blanks(5) + QStringLiteral("：t・m") + Blanks(2) + QStringLiteral("　　Y、Z　部材系のみ")},
    {QStringLiteral("P1 ：kN/m") + Blanks(20) + QStringLiteral("P2～P7 = 0"),
     QStringLiteral("P1 ：t/m") + Blanks(21) + QStringLiteral("P2～P7 = 0")},
    {QStringLiteral("P1　") + Blanks(3) + QStringLiteral("：kN/m P2～P4 ：m") + Blanks(18) + QStringLiteral("P5～P7 = 0"),
     QStringLiteral("P1　") + Blanks(3) + QStringLiteral("：t/m") + Blanks(2) + QStringLiteral("P2～P4 ：m") + Blanks(18) + QStringLiteral("P5～P7 = 0")},
    {QStringLiteral("P1，P2 ： kN/m") + Blanks(3) + QStringLiteral("P3，P4 ： m") + Blanks(23) + QStringLiteral("P5～P7 = 0"),
     QStringLiteral("P1，P2 ： t/m") + Blanks(4) + QStringLiteral("P3，P4 ： m") + Blanks(23) + QStringLiteral("P5～P7 = 0")},
    {QStringLiteral("P1，P2 ：kN/m P3～P6 ：m") + Blanks(19) + QStringLiteral("P7 = 0"),
     QStringLiteral("P1，P2 ：t/m") + Blanks(2) + QStringLiteral("P3～P6 ：m") + Blanks(19) + QStringLiteral("P7 = 0")},
    {QStringLiteral("P1～P3 ：kN") + Blanks(2) + QStringLiteral("P4～P6 ：m") + Blanks(19) + QStringLiteral("P7 = 0"),
     QStringLiteral("P1～P3 ：t") + Blanks(3) + QStringLiteral("P4～P6 ：m") + Blanks(19) + QStringLiteral("P7 = 0")},
    {QStringLiteral("P1 ：kN") + Blanks(6) + QStringLiteral("P2 ：P1本数") + Blanks(16) + QStringLiteral("P3～P7 = 0"),
     QStringLiteral("P1 ：t") + Blanks(7) + QStringLiteral("P2 ：P1本数") + Blanks(16) + QStringLiteral("P3～P7 = 0")},
    {QStringLiteral("P1～P3 ：kN・m P4～P6 ： m") + Blanks(19) + QStringLiteral("P7 = 0"),
     QStringLiteral("P1～P3 ：t・m") + Blanks(2) + QStringLiteral("P4～P6 ： m") + Blanks(19) + QStringLiteral("P7 = 0")},
    {QStringLiteral("P1　") + Blanks(5) + QStringLiteral("：kN/m2 P2 (≦3) ：本数") + Blanks(2) + QStringLiteral("P3") + Blanks(7) + QStringLiteral("：kN/m") + Blanks(2) + QStringLiteral("P4～P7") + Blanks(3) + QStringLiteral("：m 　P4は常に実長"),
     QStringLiteral("P1　") + Blanks(5) + QStringLiteral("：t/m2") + Blanks(2) + QStringLiteral("P2 (≦3) ：本数") + Blanks(2) + QStringLiteral("P3") + Blanks(7) + QStringLiteral("：t/m") + Blanks(3) + QStringLiteral("P4～P7") + Blanks(3) + QStringLiteral("：m 　P4は常に実長")},
    }};
    return texts;
}

const char* const kHeadings[] = {"タイプ１", "タイプ２", "タイプ３", "タイプ４，１４", "タイプ５，１５",
                                 "タイプ６，１６", "タイプ７，１７", "タイプ８", "タイプ９，１９", "タイプ１０，２０"};

// Panel geometry (twips).
constexpr double kPanelWidth = 1875;
constexpr double kPicture = 1455;
constexpr double kHeadingTop = 90;
constexpr double kPictureTop = 420;
constexpr double kLegendTop = kPictureTop + kPicture + 90;
constexpr double kLegendHeight = 1650;

// ---- drawing helpers (a 100 x 100 drawing space) ----

void Arrow(QPainter& p, QPointF from, QPointF to, double head = 4)
{
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPolygonF tip;
    tip << to << to - QPointF(head * std::cos(a - 0.45), head * std::sin(a - 0.45))
        << to - QPointF(head * std::cos(a + 0.45), head * std::sin(a + 0.45));
    const QBrush old = p.brush();
    p.setBrush(p.pen().color());
    p.drawPolygon(tip);
    p.setBrush(old);
}

// A moment: an arc of about 270 degrees round `c` with an arrow head at its end.
void Moment(QPainter& p, QPointF c, double r)
{
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.drawArc(box, 45 * 16, 270 * 16);
    const double end = (45 + 270) * M_PI / 180.0;
    const QPointF tip(c.x() + r * std::cos(end), c.y() - r * std::sin(end));
    const QPointF back(tip.x() - 3 * std::sin(end), tip.y() - 3 * std::cos(end));
    Arrow(p, back, tip, 3.5);
}

void Text(QPainter& p, QPointF at, const QString& t)
{
    p.drawText(QRectF(at.x() - 12, at.y() - 6, 24, 12), Qt::AlignCenter, t);
}

void Member(QPainter& p, double y, double x0 = 10, double x1 = 90)
{
    const QPen old = p.pen();
    QPen thick = old;
    thick.setWidthF(2.2);
    p.setPen(thick);
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.setPen(old);
}

// A dimension line at height y through the given stations, labelled between them.
void Dimensions(QPainter& p, double y, const std::vector<double>& xs, const QStringList& labels)
{
    p.drawLine(QPointF(xs.front(), y), QPointF(xs.back(), y));
    for (double x : xs) p.drawLine(QPointF(x, y - 2.5), QPointF(x, y + 2.5));
    for (int i = 0; i + 1 < static_cast<int>(xs.size()) && i < labels.size(); ++i)
        Text(p, QPointF((xs[i] + xs[i + 1]) / 2, y + 6), labels[i]);
}

// Arrows hanging from the outline `top(x)` down to the member at y.
template <class F>
void LoadArrows(QPainter& p, double x0, double x1, double y, F top, int count = 6)
{
    for (int i = 0; i <= count; ++i) {
        const double x = x0 + (x1 - x0) * i / count;
        const double t = top(x);
        if (y - t > 4) Arrow(p, QPointF(x, t), QPointF(x, y - 1), 3);
    }
}

// Width of a text in character cells of the fixed-pitch font: one for a
// half-width character, two for a full-width one.
int Cells(const QString& t)
{
    int n = 0;
    for (QChar c : t) n += c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 1 : 2;
    return n;
}

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); }

}  // namespace

QStringList WrapLegendText(const QString& text, int width)
{
    // Words with the blanks before them; a run of two cells or more of blanks
    // separates the items of the legend, a single blank the words of an item.
    struct Word {
        QString gap;
        QString text;
    };
    std::vector<Word> words;
    int i = 0;
    while (i < text.size()) {
        Word w;
        while (i < text.size() && IsBlank(text[i])) w.gap += text[i++];
        while (i < text.size() && !IsBlank(text[i])) w.text += text[i++];
        if (!w.text.isEmpty()) words.push_back(w);
    }
    // Units to place: whole items where they fit on a line, else their words.
    std::vector<Word> units;
    for (size_t k = 0; k < words.size();) {
        size_t end = k + 1;
        while (end < words.size() && Cells(words[end].gap) < 2) ++end;
        Word item{words[k].gap, words[k].text};
        for (size_t m = k + 1; m < end; ++m) item.text += words[m].gap + words[m].text;
        if (Cells(item.text) <= width) units.push_back(item);
        else units.insert(units.end(), words.begin() + static_cast<std::ptrdiff_t>(k), words.begin() + static_cast<std::ptrdiff_t>(end));
        k = end;
    }
    QStringList lines;
    QString line;
    for (const Word& u : units) {
        if (line.isEmpty()) line = u.text;
        else if (Cells(line + u.gap + u.text) <= width) line += u.gap + u.text;
        else {
            lines << line;
            line = u.text;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

LegendLabel::LegendLabel(QWidget* parent) : QLabel(parent) {}

void LegendLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    int y = fm.ascent();
    for (const QString& l : WrapLegendText(text(), kLegendCells)) {
        p.drawText(0, y, l);
        y += fm.lineSpacing();
    }
}

LoadTypePicture::LoadTypePicture(int panel, QWidget* parent) : QWidget(parent), panel_(panel)
{
    setObjectName(QStringLiteral("Picture%1").arg(panel, 3, 10, QLatin1Char('0')));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void LoadTypePicture::paintEvent(QPaintEvent*)
{
    if (width() < 20) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width() / 100.0, height() / 100.0);
    QPen pen(QColor(0, 0, 128));
    pen.setWidthF(0.8);
    p.setPen(pen);
    QFont f = p.font();
    f.setPixelSize(8);
    p.setFont(f);
    const QColor red(192, 0, 0);

    switch (panel_) {
    case 1: {   // global axes with forces and moments
        const QPointF o(30, 68);
        Arrow(p, o, QPointF(90, 68));
        Arrow(p, o, QPointF(30, 8));
        Arrow(p, o, QPointF(62, 40));
        Text(p, QPointF(93, 62), "X");
        Text(p, QPointF(36, 6), "Z");
        Text(p, QPointF(68, 35), "Y");
        p.setPen(QPen(red, 1.2));
        Arrow(p, QPointF(68, 68), QPointF(82, 68));
        Arrow(p, QPointF(30, 30), QPointF(30, 16));
        Arrow(p, QPointF(50, 56), QPointF(57, 49));
        Text(p, QPointF(75, 76), "P1");
        Text(p, QPointF(20, 22), "P2");
        Text(p, QPointF(46, 45), "P3");
        Moment(p, QPointF(60, 68), 5);
        Moment(p, QPointF(30, 44), 5);
        Moment(p, QPointF(40, 58), 5);
        Text(p, QPointF(60, 82), "P4");
        Text(p, QPointF(18, 44), "P6");
        Text(p, QPointF(28, 80), "P5");
        break;
    }
    case 2: {   // member with end forces, end moments and a curve
        Member(p, 48, 18, 82);
        p.setPen(QPen(red, 1.2));
        Arrow(p, QPointF(3, 48), QPointF(16, 48));
        Arrow(p, QPointF(18, 28), QPointF(18, 46));
        Moment(p, QPointF(18, 48), 7);
        Arrow(p, QPointF(84, 48), QPointF(97, 48));
        Arrow(p, QPointF(82, 28), QPointF(82, 46));
        Moment(p, QPointF(82, 48), 7);
        Text(p, QPointF(8, 42), "P1");
        Text(p, QPointF(26, 26), "P2");
        Text(p, QPointF(10, 60), "P3");
        Text(p, QPointF(92, 42), "P4");
        Text(p, QPointF(74, 26), "P5");
        Text(p, QPointF(90, 60), "P6");
        QPainterPath curve(QPointF(18, 70));
        curve.cubicTo(QPointF(38, 92), QPointF(62, 92), QPointF(82, 70));
        p.setPen(QPen(QColor(0, 0, 128), 0.8));
        p.drawPath(curve);
        Text(p, QPointF(50, 92), "P7");
        break;
    }
    case 3: {   // uniform load over the whole member
        Member(p, 72);
        p.setPen(QPen(red, 0.9));
        p.drawLine(QPointF(10, 40), QPointF(90, 40));
        LoadArrows(p, 10, 90, 72, [](double) { return 40.0; }, 8);
        Text(p, QPointF(50, 32), "P1");
        break;
    }
    case 4: {   // triangular load
        Member(p, 70);
        p.setPen(QPen(red, 0.9));
        QPolygonF tri;
        tri << QPointF(26, 70) << QPointF(50, 32) << QPointF(80, 70);
        p.drawPolyline(tri);
        LoadArrows(p, 26, 80, 70, [](double x) { return x <= 50 ? 70 - (x - 26) * 38 / 24 : 32 + (x - 50) * 38 / 30; }, 6);
        Text(p, QPointF(50, 24), "P1");
        // Each distance is measured from the left end.
        p.setPen(QPen(QColor(0, 0, 128), 0.6));
        const std::pair<double, const char*> dims[] = {{26, "P2"}, {50, "P3"}, {80, "P4"}};
        double y = 78;
        for (const auto& [x, name] : dims) {
            Dimensions(p, y, {10, x}, {});
            Text(p, QPointF(x + 8, y), name);
            y += 8;
        }
        break;
    }
    case 5: {   // linearly varying load
        Member(p, 70);
        p.setPen(QPen(red, 0.9));
        p.drawLine(QPointF(30, 50), QPointF(84, 30));
        p.drawLine(QPointF(30, 50), QPointF(30, 70));
        p.drawLine(QPointF(84, 30), QPointF(84, 70));
        LoadArrows(p, 30, 84, 70, [](double x) { return 50 - (x - 30) * 20 / 54; }, 6);
        Text(p, QPointF(24, 44), "P1");
        Text(p, QPointF(86, 22), "P2");
        p.setPen(QPen(QColor(0, 0, 128), 0.6));
        Dimensions(p, 84, {10, 30, 84}, {"P3", "P4"});
        break;
    }
    case 6: {   // rising, varying and falling load
        Member(p, 70);
        p.setPen(QPen(red, 0.9));
        QPolygonF outline;
        outline << QPointF(24, 70) << QPointF(40, 44) << QPointF(66, 32) << QPointF(86, 70);
        p.drawPolyline(outline);
        LoadArrows(p, 24, 86, 70, [](double x) {
            if (x <= 40) return 70 - (x - 24) * 26 / 16;
            if (x <= 66) return 44 - (x - 40) * 12 / 26;
            return 32 + (x - 66) * 38 / 20;
        }, 8);
        Text(p, QPointF(38, 36), "P1");
        Text(p, QPointF(68, 24), "P2");
        p.setPen(QPen(QColor(0, 0, 128), 0.6));
        Dimensions(p, 80, {10, 24}, {"P3"});
        Dimensions(p, 90, {24, 40, 66, 86}, {"P4", "P5", "P6"});
        break;
    }
    case 7:     // three concentrated loads
    case 8: {   // equal loads at equal spacing
        Member(p, 66);
        p.setPen(QPen(red, 1.2));
        const std::vector<double> xs = panel_ == 7 ? std::vector<double>{30, 52, 78} : std::vector<double>{30, 50, 70};
        for (int i = 0; i < 3; ++i) {
            Arrow(p, QPointF(xs[i], 30), QPointF(xs[i], 64));
            Text(p, QPointF(xs[i], 22), panel_ == 7 ? QStringLiteral("P%1").arg(i + 1) : QStringLiteral("P1"));
        }
        p.setPen(QPen(QColor(0, 0, 128), 0.6));
        if (panel_ == 7) Dimensions(p, 82, {10, 30, 52, 78}, {"P4", "P5", "P6"});
        else Dimensions(p, 82, {10, 30, 50, 70, 90}, {});
        break;
    }
    case 9: {   // three concentrated moments
        Member(p, 56);
        p.setPen(QPen(red, 1.2));
        const double xs[] = {30, 52, 78};
        for (int i = 0; i < 3; ++i) {
            Moment(p, QPointF(xs[i], 56), 7);
            Text(p, QPointF(xs[i], 40), QStringLiteral("P%1").arg(i + 1));
        }
        p.setPen(QPen(QColor(0, 0, 128), 0.6));
        Dimensions(p, 80, {10, 30, 52, 78}, {"P4", "P5", "P6"});
        break;
    }
    case 10: {  // floor area over the member in three panels
        Member(p, 70);
        p.setPen(QPen(QColor(0, 0, 128), 0.7));
        p.drawRect(QRectF(10, 26, 80, 44));
        p.drawLine(QPointF(36, 26), QPointF(36, 70));
        p.drawLine(QPointF(62, 26), QPointF(62, 70));
        Text(p, QPointF(23, 38), "P1");
        QPen dashed(red, 0.9, Qt::DashLine);
        p.setPen(dashed);
        for (double x : {49.0, 76.0}) Arrow(p, QPointF(x, 32), QPointF(x, 66), 3);
        p.setPen(QPen(red, 0.9));
        Text(p, QPointF(56, 30), "P3");
        p.setBrush(QColor(0, 0, 128));
        p.setPen(Qt::NoPen);
        for (double x : {10.0, 36.0, 62.0, 90.0}) {
            QPolygonF t;
            t << QPointF(x, 71) << QPointF(x - 3, 76) << QPointF(x + 3, 76);
            p.drawPolygon(t);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 128), 0.6));
        p.drawLine(QPointF(4, 26), QPointF(4, 70));
        Text(p, QPointF(5, 18), "P4");
        Dimensions(p, 86, {10, 36, 62, 90}, {"P5", "P6", "P7"});
        break;
    }
    default: break;
    }
}

QString frm荷重形状図::LegendText(int panel, bool si)
{
    const LegendPair& t = LegendTexts().at(static_cast<size_t>(panel - 1));
    return si ? t.si : t.gravitational;
}

frm荷重形状図::frm荷重形状図() : forms::Form(QStringLiteral("frm荷重形状図"))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    CloseWithEscape(this);
    VSViewPort1 = new QScrollArea(this);
    VSViewPort1->setObjectName(QStringLiteral("VSViewPort1"));
    VSViewPort1->setWidgetResizable(false);
    auto* content = new QWidget;
    content->setAutoFillBackground(true);

    QFont legendFont;
    legendFont.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                            QStringLiteral("IPAGothic"), QStringLiteral("monospace")});
    legendFont.setStyleHint(QFont::TypeWriter);
    legendFont.setPointSize(9);

    for (int i = 1; i <= 10; ++i) {
        // The panel of types 9 and 19 is folded to a sliver at the place of
        // the last panel, so nine panels show.
        const bool folded = i == 9;
        const int slot = i == 10 ? 8 : (folded ? 8 : i - 1);
        const double left = 120 + slot * kPanelWidth;
        const double width = folded ? 15 : kPicture;
        auto* heading = new QLabel(QString::fromUtf8(kHeadings[i - 1]), content);
        heading->setAlignment(Qt::AlignCenter);
        forms::PlaceTw(heading, left, kHeadingTop, folded ? 15 : kPanelWidth - 120, 270);
        auto* picture = new LoadTypePicture(i, content);
        forms::PlaceTw(picture, left + (folded ? 0 : (kPanelWidth - 120 - kPicture) / 2), kPictureTop, width, folded ? 15 : kPicture);
        Pictures[static_cast<size_t>(i - 1)] = picture;
        auto* legend = new LegendLabel(content);
        legend->setObjectName(QStringLiteral("lbl_%1").arg(i, 2, 10, QLatin1Char('0')));
        legend->setFont(legendFont);
        // Each item of the legend text starts a line of its own, at the same
        // places in either unit system.
        const double lineWidth = forms::Tw(QFontMetrics(legendFont).horizontalAdvance(QString(kLegendCells, QLatin1Char('0'))) + 4);
        legend->setTextFormat(Qt::PlainText);
        legend->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        forms::PlaceTw(legend, left, kLegendTop, folded ? 15 : std::min(kPanelWidth - 60, lineWidth), kLegendHeight);
        Legends[static_cast<size_t>(i - 1)] = legend;
        if (folded) {
            // Folded to its design width: no growing to fit the text.
            for (QWidget* w : {static_cast<QWidget*>(heading), static_cast<QWidget*>(legend)})
                w->setGeometry(w->x(), w->y(), forms::Px(15), w->height());
            heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            heading->lower();
            picture->lower();
            legend->lower();
        }
    }
    const double contentWidth = 120 + 9 * kPanelWidth;
    const double contentHeight = kLegendTop + kLegendHeight + 90;
    forms::PlaceTw(content, 0, 0, contentWidth, contentHeight);
    VSViewPort1->setWidget(content);

    const double viewWidth = 5 * kPanelWidth + 240;
    const double viewHeight = contentHeight + 330;   // room for the scroll bar
    forms::PlaceTw(VSViewPort1, 0, 0, viewWidth, viewHeight);
    auto* note1 = new QLabel(QStringLiteral("TYP 1，2 ： 矢印方向の荷重はプラスの入力値"), this);
    auto* note2 = new QLabel(QStringLiteral("TYP 3，4，5，13，14，15： 矢印方向の荷重はマイナスの入力値"), this);
    forms::PlaceTw(note1, 240, viewHeight + 90, viewWidth - 240, 270);
    forms::PlaceTw(note2, 240, viewHeight + 390, viewWidth - 240, 270);
    SetClientSizeTw(viewWidth, viewHeight + 780);
}

void frm荷重形状図::Form_Load()
{
    SetWindowCaption(ScreenLoadTypeFigure, this);
    int width = 0;
    int height = 0;
    CenterOnInputForm(this, width, height);
    ReadUnitFlag(Program().UnitIsSI);
    for (int i = 1; i <= 10; ++i) Legends[static_cast<size_t>(i - 1)]->setText(LegendText(i, Program().UnitIsSI));
}
