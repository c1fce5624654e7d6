#include "screens/SectionScreens.h"

#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "platform/Runtime.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QLabel>
#include <QLineEdit>

namespace {

const QColor kUsedColour(0xC0, 0xFF, 0xC0);     // &HC0FFC0
const QColor kUnusedColour(0xE0, 0xE0, 0xE0);   // &HE0E0E0

const QString kInsertUsed = QStringLiteral("材料番号：%1\r\n入力した材料番号はすでに使用されているので新たに登録できません");
const QString kUpdateUsed = QStringLiteral("材料番号：%1\r\n入力した材料番号は他の材料データですでに使用されています");

// Places the common-value captions under the modulus boxes, which are the
// last two boxes of both screens.
void PlaceCommonValues(SectionScreen* s, QLabel* caption, QLineEdit* e, QLineEdit* g, double top)
{
    forms::PlaceTw(s->lblCommonE, forms::Tw(e->x()), top, forms::Tw(e->width()), 300);
    forms::PlaceTw(s->lblCommonγ, forms::Tw(g->x()), top, forms::Tw(g->width()), 300);
    forms::PlaceTw(caption, forms::Tw(e->x()) - 840, top + 15, 780, 270);
}

// Section properties show one decimal, and every further digit they hold:
// a small section (a torsion constant of 0.0127 cm4) must not be rounded away
// when its row is shown or its box is left.
const char* const kSectionProperty = "0.0######";

ListScreenConfig Material1Config()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm材料定数1");
    c.code = ScreenSectionProperties;
    // The grid shows the fields in stored order; ν is never written here.
    c.columns = {{"No_", "形状番号", "", false}, {"E", "E", "0", false},       {"ν", "ν", "", true},
                 {"γ", "G", "0", false},         {"A", "A", kSectionProperty, false}, {"Ixx", "Ixx", kSectionProperty, false},
                 {"Iyy", "Iyy", kSectionProperty, false}, {"Izz", "Izz", kSectionProperty, false}, {"順", "順", "", true}};
    c.numberLabelName = QStringLiteral("lblMatNo");
    c.numberLabelCaption = QStringLiteral("形状番号(1～") + rt::StrInt(999) + QStringLiteral(")");
    c.boxes = {{"txtNo", "", true, true, "0", "", "No_"},
               {"txtA", "A (cm2)", true, false, kSectionProperty, "0.0", "A"},
               {"txtIxx", "Ixx (cm4)", true, false, kSectionProperty, "0.0", "Ixx"},
               {"txtIyy", "Iyy (cm4)", true, false, kSectionProperty, "0.0", "Iyy"},
               {"txtK", "Izz (cm4)", true, false, kSectionProperty, "0.0", "Izz"},
               {"txtE", "", true, true, "0", "", "E"},
               {"txtγ", "", true, true, "0", "", "γ"}};
    c.boxes[5].labelName = QStringLiteral("lblYe");
    c.boxes[6].labelName = QStringLiteral("lblG");
    c.add = &AddMaterial1Record;
    c.update = &UpdateMaterial1Record;
    c.duplicateOnInsert = kInsertUsed;
    c.duplicateOnUpdate = kUpdateUsed;
    c.deleteAllTitle = QStringLiteral("部材形状１");
    c.neighbours = {{"cmdRefer要素情報", "部材形状の参照", "frm要素情報参照", ScreenMemberLookup}};
    c.registerCaption = QStringLiteral("登録（&R）");
    c.gridWidthTw = 8400;
    c.boxWidthTw = 1200;
    c.extraHeightTw = 2280;
    return c;
}

ListScreenConfig Material2Config()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm材料定数2");
    c.code = ScreenSectionShapes;
    c.columns = {{"No_", "形状番号", "", false}, {"TYP", "タイプ", "", false}};
    for (int i = 1; i <= 5; ++i)
        c.columns.push_back({QStringLiteral("fld_0%1").arg(i), QStringLiteral("P%1").arg(i), "0.000", false});
    c.columns.insert(c.columns.end(), {{"φx", "φy", "0.000", false},
                                       {"φy", "φz", "0.000", false},
                                       {"E", "Ye", "0", false},
                                       {"γ", "G", "0", false},
                                       {"順", "順", "", true}});
    c.numberLabelName = QStringLiteral("lblMatNo");
    c.numberLabelCaption = QStringLiteral("形状番号(") + rt::StrInt(1001) + QStringLiteral("～)");
    c.boxes = {{"txtNo", "", true, true, "0", "", "No_"}, {"txtTYP", "ﾀｲﾌﾟ", true, true, "0", "1", "TYP"}};
    c.boxes[0].widthTw = 1380;   // room for the range caption above it
    for (int i = 1; i <= 5; ++i)
        c.boxes.push_back({QStringLiteral("txtP(%1)").arg(i), QStringLiteral("P%1(mm)").arg(i), true, false, "0.000", "0.000",
                           QStringLiteral("fld_0%1").arg(i)});
    c.boxes.insert(c.boxes.end(), {{"txtφx", "φy", true, false, "0.000", "1.000", "φx"},
                                   {"txtφy", "φz", true, false, "0.000", "1.000", "φy"},
                                   {"txtE", "", true, true, "0", "", "E"},
                                   {"txtγ", "", true, true, "0", "", "γ"}});
    for (size_t k : {c.boxes.size() - 2, c.boxes.size() - 1}) c.boxes[k].widthTw = 1110;
    c.boxes[c.boxes.size() - 2].labelName = QStringLiteral("lblYe");
    c.boxes[c.boxes.size() - 1].labelName = QStringLiteral("lblG");
    c.add = &AddMaterial2Record;
    c.update = &UpdateMaterial2Record;
    c.duplicateOnInsert = kInsertUsed;
    c.duplicateOnUpdate = kUpdateUsed;
    c.deleteAllTitle = QStringLiteral("部材形状２");
    c.neighbours = {{"cmdRefer部材形状図", "部材形状図参照", "frm部材形状図", ScreenSectionTypeFigure},
                    {"cmdRefer要素情報", "部材形状の参照", "frm要素情報参照", ScreenMemberLookup}};
    c.registerCaption = QStringLiteral("登録（&R）");
    c.focusNumberAfterEdit = true;
    c.gridWidthTw = 9600;
    c.boxWidthTw = 870;
    c.extraHeightTw = 1500;
    return c;
}

}  // namespace

// ---- shared ------------------------------------------------------------------------

SectionScreen::SectionScreen(ListScreenConfig config) : ListScreen(std::move(config))
{
    lblCommonE = new QLabel(this);
    lblCommonE->setObjectName(QStringLiteral("lblCommonE"));
    lblCommonγ = new QLabel(this);
    lblCommonγ->setObjectName(QStringLiteral("lblCommonγ"));
    for (QLabel* l : {lblCommonE, lblCommonγ}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setAutoFillBackground(true);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, kUnusedColour);
        l->setPalette(pal);
    }
    auto* caption = new QLabel(QStringLiteral("共通値"), this);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceCommonValues(this, caption, Box(QStringLiteral("txtE")), Box(QStringLiteral("txtγ")), ExtraTopTw() + 60);
}

QLabel* SectionScreen::AddStaticText(const QString& text, double left, double top, double width)
{
    auto* l = new QLabel(text, this);
    forms::PlaceTw(l, left, top, width, 255);
    return l;
}

void SectionScreen::Form_Load()
{
    // The common moduli and the unit captions come before the first row is
    // shown, since a new row takes the common values.
    CommonE = 0;
    CommonG = 0;
    ReadCommonModuli(CommonE, CommonG);
    ShowModulusUnitLabels();
    ListScreen::Form_Load();
    Busy = true;
    lblCommonE->setText(rt::Format(CommonE, QStringLiteral("0")));
    lblCommonγ->setText(rt::Format(CommonG, QStringLiteral("0")));
    Busy = false;
}

void SectionScreen::ShowModulusUnitLabels()
{
    ReadUnitFlag(Program().UnitIsSI);
    auto* ye = findChild<QLabel*>(QStringLiteral("lblYe"));
    auto* g = findChild<QLabel*>(QStringLiteral("lblG"));
    ye->setText(Program().UnitIsSI ? QStringLiteral("Ye (kN/cm2)") : QStringLiteral("Ye (t/cm2)"));
    g->setText(Program().UnitIsSI ? QStringLiteral("G (kN/cm2)") : QStringLiteral("G (t/cm2)"));
}

void SectionScreen::PrepareNew()
{
    ListScreen::PrepareNew();
    Box(QStringLiteral("txtE"))->setText(rt::Format(CommonE, QStringLiteral("0")));
    Box(QStringLiteral("txtγ"))->setText(rt::Format(CommonG, QStringLiteral("0")));
}

void SectionScreen::BoxLostFocus(size_t i, QLineEdit* box)
{
    // A Young's modulus left at 0 (or empty) takes the common value.
    if (box->objectName() == QStringLiteral("txtE") && rt::Val(box->text()) == 0)
        box->setText(rt::Format(CommonE, QStringLiteral("0")));
    ListScreen::BoxLostFocus(i, box);
}

// ---- sections by properties -----------------------------------------------------------

frm材料定数1::frm材料定数1() : SectionScreen(Material1Config())
{
    config_.check = [this] { return CheckMaterial1Input(CommonE, CommonG); };
    const double top = ExtraTopTw() + 480;
    const QStringList legend = {QStringLiteral("Ye ： ヤング係数"),
                                QStringLiteral("G  ： せん断弾性係数"),
                                QStringLiteral("A  ： 断面積"),
                                QStringLiteral("Ixx  ： サンブナンねじり (部材系 x 軸まわりの断面２次モーメント)"),
                                QStringLiteral("Iyy  ： 部材系 y 軸まわりの断面２次モーメント"),
                                QStringLiteral("Izz  ： 部材系 z 軸まわりの断面２次モーメント")};
    for (int k = 0; k < legend.size(); ++k) AddStaticText(legend[k], 300, top + k * 285, 7200);
}

// ---- sections by shape ------------------------------------------------------------------

namespace {
// Dimension boxes used by each section type (P1 first).
constexpr bool kUsedDimensions[7][5] = {
    {false, false, false, false, false},
    {true, true, false, false, false},   // 1 solid rectangle
    {true, true, true, true, true},     // 2 H-section
    {true, true, true, true, true},     // 3 H-section turned
    {true, true, true, true, false},    // 4 box section
    {true, true, false, false, false},  // 5 pipe
    {true, false, false, false, false}, // 6 solid circle
};
}  // namespace

frm材料定数2::frm材料定数2() : SectionScreen(Material2Config())
{
    config_.check = [this] { return CheckMaterial2Input(CommonE, CommonG); };
    const double top = ExtraTopTw() + 480;
    AddStaticText(QStringLiteral("Ye　：　ヤング係数"), 300, top, 3000);
    AddStaticText(QStringLiteral(" G  ：　せん断弾性係数"), 300, top + 285, 3000);
    // The rule the saving check applies to a zero G.
    auto* note = AddStaticText(QString(), 300, top + 570, 9600);
    note->setObjectName(QStringLiteral("lblNoteG"));
    note->setText(QStringLiteral("Gはゼロが入力された場合、共通値となります。共通値もゼロの場合は、タイプが１または６のとき900(重力単位90)、"
                                 "それ以外のとき8100(重力単位810)となります。"));
    note->setWordWrap(true);
    forms::PlaceTw(note, 300, top + 570, 9600, 480);
}

double frm材料定数2::ProposedNumber(int16_t max) const
{
    // The numbers of this table begin at 1001.
    return max < 1001 ? static_cast<double>(max) + 1001 : static_cast<double>(max) + 1;
}

void frm材料定数2::MarkUsedSectionParameters()
{
    const QString t = Box(QStringLiteral("txtTYP"))->text();
    const double v = rt::Val(t);
    // Empty, unreadable or oversized text: the boxes keep their state.
    if (!rt::IsNumeric(t) || !rt::FitsInteger(v)) return;
    const int type = rt::CInt(v);
    if (type < 1 || type > 6) return;
    for (int k = 0; k < 5; ++k) {
        QLineEdit* b = Box(QStringLiteral("txtP(%1)").arg(k + 1));
        QPalette pal = b->palette();
        pal.setColor(QPalette::Base, kUsedDimensions[type][k] ? kUsedColour : kUnusedColour);
        b->setPalette(pal);
        b->setEnabled(kUsedDimensions[type][k]);
    }
}

void frm材料定数2::ShowRecord()
{
    ListScreen::ShowRecord();
    MarkUsedSectionParameters();
}

void frm材料定数2::PrepareNew()
{
    SectionScreen::PrepareNew();
    MarkUsedSectionParameters();
}

QLineEdit* frm材料定数2::NextInRing(size_t i, bool forward) const
{
    // The ring passes over the dimension boxes the type does not use.
    const size_t n = Boxes.size();
    size_t k = i;
    for (size_t step = 0; step < n; ++step) {
        k = forward ? (k + 1) % n : (k + n - 1) % n;
        if (Boxes[k]->isEnabledTo(this)) return Boxes[k];
    }
    return Boxes[i];
}

void frm材料定数2::BoxLostFocus(size_t i, QLineEdit* box)
{
    SectionScreen::BoxLostFocus(i, box);
    if (box->objectName() == QStringLiteral("txtTYP")) MarkUsedSectionParameters();
}
