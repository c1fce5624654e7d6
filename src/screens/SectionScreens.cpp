#include "screens/SectionScreens.h"

#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "platform/Runtime.h"
#include "core/NumberText.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QLabel>
#include <QLineEdit>

namespace {

const QColor kUsedColour(0xC0, 0xFF, 0xC0);     // &HC0FFC0
const QColor kUnusedColour(0xE0, 0xE0, 0xE0);   // &HE0E0E0

const char* const kInsertUsed = "材料番号：%1\r\n入力した材料番号はすでに使用されているので新たに登録できません";
const char* const kUpdateUsed = "材料番号：%1\r\n入力した材料番号は他の材料データですでに使用されています";

const NeighbourButton kMemberLookupButton{.name = "cmdRefer要素情報", .caption = "部材形状の参照", .opens = ScreenMemberLookup,
                                          .toolTip = "[部材情報]で入力したデータを表示します"};

// The moduli boxes, last on both screens; their labels carry the unit.
const EntryBoxDescription kYoungBox{.name = "txtE", .noMinus = true, .noDot = true, .format = "0", .field = "E", .labelName = "lblYe"};
const EntryBoxDescription kShearBox{.name = "txtγ", .noMinus = true, .noDot = true, .format = "0", .field = "γ", .labelName = "lblG"};

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

// A modulus of 0 or less takes the common value; false when that is not positive.
bool TakeCommonModulus(CheckRun& c, const char* box, float common)
{
    if (c.Value(box) > 0) return true;
    if (common <= 0) return false;
    c.WriteBack(box, SingleKeepingDigits(common, QStringLiteral("0.000")));
    return true;
}

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

}  // namespace

const ListScreenDescription& SectionPropertiesScreen()
{
    static const ListScreenDescription d{
        .screen = {.code = ScreenSectionProperties, .formName = "frm材料定数1", .table = "材料定数1", .gridRows = 12,
                   .create = [] { return new frm材料定数1(); }},
        // The grid shows the properties before the moduli, as the entry boxes
        // do; ν is never written here.
        .columns = {{"No_", "形状番号", "", false},
                    {"A", "A", kSectionProperty, false},
                    {"Ixx", "Ixx", kSectionProperty, false},
                    {"Iyy", "Iyy", kSectionProperty, false},
                    {"Izz", "Izz", kSectionProperty, false},
                    {"E", "E", "0", false},
                    {"γ", "G", "0", false},
                    {"ν", "ν", "", true},
                    {"順", "順", "", true}},
        .numberLabelName = "lblMatNo",
        .numberLabelCaption = QStringLiteral("形状番号(1～") + rt::StrInt(999) + QStringLiteral(")"),
        .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .format = "0", .field = "No_"},
                  {.name = "txtA", .label = "A (cm2)", .noMinus = true, .format = kSectionProperty, .newValue = "0.0", .field = "A"},
                  {.name = "txtIxx", .label = "Ixx (cm4)", .noMinus = true, .format = kSectionProperty, .newValue = "0.0", .field = "Ixx"},
                  {.name = "txtIyy", .label = "Iyy (cm4)", .noMinus = true, .format = kSectionProperty, .newValue = "0.0", .field = "Iyy"},
                  {.name = "txtK", .label = "Izz (cm4)", .noMinus = true, .format = kSectionProperty, .newValue = "0.0", .field = "Izz"},
                  kYoungBox,
                  kShearBox},
        .check = &CheckMaterial1Input,
        .duplicateOnInsert = kInsertUsed,
        .duplicateOnUpdate = kUpdateUsed,
        .deleteAllTitle = "部材形状１",
        .neighbours = {kMemberLookupButton},
        .registerCaption = "登録（&R）",
        .gridWidthTw = 8400,
        .boxWidthTw = 1200,
        .extraHeightTw = 2280,
    };
    return d;
}

const ListScreenDescription& SectionShapesScreen()
{
    static const ListScreenDescription d = [] {
        ListScreenDescription s{
            .screen = {.code = ScreenSectionShapes, .formName = "frm材料定数2", .table = "材料定数2", .gridRows = 14,
                       .create = [] { return new frm材料定数2(); }},
            .columns = {{"No_", "形状番号", "", false}, {"TYP", "タイプ", "", false}},
            .numberLabelName = "lblMatNo",
            .numberLabelCaption = QStringLiteral("形状番号(") + rt::StrInt(1001) + QStringLiteral("～)"),
            // The number box is wider: the range caption stands above it.
            .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .format = "0", .field = "No_", .widthTw = 1380},
                      {.name = "txtTYP", .label = "ﾀｲﾌﾟ", .noMinus = true, .noDot = true, .format = "0", .newValue = "1", .field = "TYP"}},
            .check = &CheckMaterial2Input,
            .duplicateOnInsert = kInsertUsed,
            .duplicateOnUpdate = kUpdateUsed,
            .deleteAllTitle = "部材形状２",
            .neighbours = {{.name = "cmdRefer部材形状図", .caption = "部材形状図参照", .opens = ScreenSectionTypeFigure},
                           kMemberLookupButton},
            .registerCaption = "登録（&R）",
            .focusNumberAfterEdit = true,
            .gridWidthTw = 9600,
            .boxWidthTw = 870,
            .extraHeightTw = 1500,
        };
        const std::vector<dao::GridColumn> dimensionColumns = SlotColumns(5, "P", "0.000");
        s.columns.insert(s.columns.end(), dimensionColumns.begin(), dimensionColumns.end());
        s.columns.insert(s.columns.end(), {{"φx", "φy", "0.000", false},
                                           {"φy", "φz", "0.000", false},
                                           {"E", "Ye", "0", false},
                                           {"γ", "G", "0", false},
                                           {"順", "順", "", true}});
        const std::vector<EntryBoxDescription> dimensions =
            SlotBoxes({.name = "txtP", .noMinus = true, .format = "0.000", .newValue = "0.000"}, 1, 5, "P%1(mm)");
        s.boxes.insert(s.boxes.end(), dimensions.begin(), dimensions.end());
        EntryBoxDescription young = kYoungBox, shear = kShearBox;
        young.widthTw = shear.widthTw = 1110;
        s.boxes.insert(s.boxes.end(),
                       {{.name = "txtφx", .label = "φy", .noMinus = true, .format = "0.000", .newValue = "1.000", .field = "φx"},
                        {.name = "txtφy", .label = "φz", .noMinus = true, .format = "0.000", .newValue = "1.000", .field = "φy"},
                        young,
                        shear});
        return s;
    }();
    return d;
}

CheckVerdict CheckMaterial1Input(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsInteger("txtNo")) return c.Invalid();
    if (c.Value("txtNo") > 999)
        return c.Refuse(QStringLiteral("[材料定数1]で入力できる形状番号は") + rt::StrInt(999) + QStringLiteral("以下です。"));
    if (!c.IsSingle("txtE")) return c.Invalid();
    if (!TakeCommonModulus(c, "txtE", in.commonE)) {
        return c.Refuse(QStringLiteral("ヤング係数が不正です。\r\n"
                                       "ヤング係数にゼロを入力すると［基本データ］で入力されているヤング係数に置き換わりますが\r\n"
                                       "そちらもゼロが入力されています。"));
    }
    if (!c.IsSingle("txtγ")) return c.Invalid();
    if (!TakeCommonModulus(c, "txtγ", in.commonG)) {
        return c.Refuse(QStringLiteral("せん断弾性係数が不正です。\r\n"
                                       "せん断弾性係数にゼロを入力すると［基本データ］で入力されているせん断弾性係数に置き換わりますが\r\n"
                                       "そちらもゼロが入力されています。"));
    }
    if (!c.IsSingle("txtA") || c.Value("txtA") <= 0) return c.Invalid();
    for (const char* b : {"txtIxx", "txtIyy", "txtK"})
        if (!c.IsSingle(b) || c.Value(b) < 0) return c.Invalid();
    return c.Accept();
}

CheckVerdict CheckMaterial2Input(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsInteger("txtNo")) return c.Invalid();
    const double no = c.Value("txtNo");
    if (no < 1001 || no > 9999)
        return c.Refuse(QStringLiteral("[材料定数2]で入力できる形状番号は ") + rt::StrInt(1001) + QStringLiteral(" から ") +
                        rt::CStrInt(9999) + QStringLiteral(" です。"));
    if (!c.IsInteger("txtTYP") || c.Value("txtTYP") < 1 || c.Value("txtTYP") > 6) return c.Invalid();
    for (int i = 1; i <= 5; ++i) {
        const QString p = ControlName("txtP", i);
        if (!c.IsSingle(p) || c.Value(p) < 0) return c.Invalid();
    }
    for (const char* b : {"txtφx", "txtφy"})
        if (!c.IsSingle(b) || c.Value(b) <= 0) return c.Invalid();

    // A zero modulus takes the common value, or else the usual value of the
    // material: solid sections (types 1 and 6) are taken for reinforced
    // concrete, the others for steel.
    const double typ = c.Value("txtTYP");
    const bool concrete = typ == 1 || typ == 6;
    const bool si = in.unitIsSI;
    if (!c.IsSingle("txtE")) return c.Invalid();
    if (c.Value("txtE") <= 0) {
        const double usual = concrete ? (si ? 2100 : 210) : (si ? 21000 : 2100);
        c.WriteBack("txtE", in.commonE > 0 ? SingleKeepingDigits(in.commonE, QStringLiteral("0")) : rt::Format(usual, QStringLiteral("0")));
    }
    if (!c.IsSingle("txtγ")) return c.Invalid();
    if (c.Value("txtγ") <= 0) {
        const double usual = concrete ? (si ? 900 : 90) : (si ? 8100 : 810);
        c.WriteBack("txtγ", in.commonG > 0 ? SingleKeepingDigits(in.commonG, QStringLiteral("0")) : rt::Format(usual, QStringLiteral("0")));
    }

    // The dimensions the type does not use are cleared.
    const int type = rt::CInt(typ);
    for (int i = 1; i <= 5; ++i)
        if (!kUsedDimensions[type][i - 1]) c.WriteBack(ControlName("txtP", i), QStringLiteral("0.000"));
    return c.Accept();
}

// ---- shared ------------------------------------------------------------------------

SectionScreen::SectionScreen(ListScreenDescription description) : ListScreen(std::move(description))
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
    lblCommonE->setText(SingleKeepingDigits(CommonE, QStringLiteral("0")));
    lblCommonγ->setText(SingleKeepingDigits(CommonG, QStringLiteral("0")));
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
    Box(QStringLiteral("txtE"))->setText(SingleKeepingDigits(CommonE, QStringLiteral("0")));
    Box(QStringLiteral("txtγ"))->setText(SingleKeepingDigits(CommonG, QStringLiteral("0")));
}

bool SectionScreen::RunCheck() { return RunInputCheck(this, description_.check, CommonE, CommonG); }

void SectionScreen::BoxLostFocus(size_t i, QLineEdit* box)
{
    // A Young's modulus left at 0 (or empty) takes the common value.
    if (box->objectName() == QStringLiteral("txtE") && rt::Val(box->text()) == 0)
        box->setText(SingleKeepingDigits(CommonE, QStringLiteral("0")));
    ListScreen::BoxLostFocus(i, box);
}

// ---- sections by properties -----------------------------------------------------------

frm材料定数1::frm材料定数1() : SectionScreen(SectionPropertiesScreen())
{
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


frm材料定数2::frm材料定数2() : SectionScreen(SectionShapesScreen())
{
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
