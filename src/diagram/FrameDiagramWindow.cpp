#include "diagram/FrameDiagramWindow.h"

#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "database/WorkingFiles.h"
#include "diagram/FrameSearchLists.h"
#include "diagram/UpDownControl.h"
#include "diagram/ViewBoxMoves.h"
#include "input/InputRecordOps.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "platform/preview/PreviewWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <cmath>

using diagram::UpDownControl;

namespace {

const QString kPlacementSection = QStringLiteral("Input\\Ramen");
// The canvas takes the window less the panel beside it and a strip below.
constexpr double kCanvasLeft = 3030, kCanvasTop = 60;
constexpr double kWidthBesideCanvas = 3150, kHeightBesideCanvas = 770;
constexpr double kDesignWidth = 12000, kDesignHeight = 8400;

// The twelve view boxes: their group, caption, spin control with its step and
// limits, and the tool tips of the box (shared with its label) and the spin.
struct ViewBoxLayout {
    const char* box;
    const char* spin;
    int frame;            // index into kViewFrames
    const char* label;
    int increment, min, max;
    int upSign;           // +1: the up click raises the value, -1 lowers it
    const char* boxTip;
    const char* spinTip;
};

struct FrameLayout {
    const char* name;
    const char* caption;
    const char* tip;
};

const FrameLayout kViewFrames[] = {
    {"Frame2", " Look At ", "3次元座標系において(LookFrom)から点(LookAt)を見ているとします。"},
    {"Frame1", "視点", "3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします"},
    {"Frame5", "表示位置", nullptr},
    {"Frame4", "座標方向インジケータ", nullptr},
};

const ViewBoxLayout kViewBoxes[] = {
    {"txtra", "UpDownra", 0, "ｒ （ ＞0 ）", 100, 0, 32767, +1,
     "点Aのｒ方向、3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", "左のLookAtのｒ値を100ずつ変化させます"},
    {"txtθa", "UpDownθa", 0, "θ（0～180）", 10, 0, 180, +1,
     "点Aのθ方向、3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", "左のLookAtのθ値を10ずつ変化させます"},
    {"txtφa", "UpDownφa", 0, "φ（0～360）", 10, 0, 360, +1,
     "点Aのφ方向、3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", "左のLookAtのφ値を10ずつ変化させます"},
    {"txtrf", "UpDownrf", 1, "ｒ （ ＞0 ）", 100, 0, 32767, +1, "建物原点から視点までの距離。",
     "左のLookFromのｒ値を100ずつ変化させます"},
    {"txtθf", "UpDownθf", 1, "θ（0～180）", 10, 0, 180, -1,
     "目の縦位置を指定します。　真上（Ｚ軸方向）を ０°とし、時計回りで水平方向を ９０°とします。",
     "左のLookFromのθ値を10ずつ変化させます"},
    {"txtφf", "UpDownφf", 1, "φ（0～360）", 10, 0, 360, +1,
     "目の横位置を指定します。　Ｘ軸方向を ０°とし、上から見て反時計回りでＹ軸方向を ９０°とします。",
     "左のLookFromのφ値を10ずつ変化させます"},
    {"txtX", "UpDownX", 2, "横方向", 10, -32767, 32767, +1, "横方向のラーメン図表示位置を調整します。",
     "図の水平方向調整値を10ずつ変化させます"},
    {"txtY", "UpDownY", 2, "縦方向", 10, -32767, 32767, -1, "縦方向のラーメン図表示位置を調整します。",
     "図の垂直方向調整値を10ずつ変化させます"},
    {"txtzoom", "UpDownzoom", 2, "拡大", 100, 0, 32767, +1, "ラーメン図の表示倍率を調整します",
     "図の表示倍率を100ずつ変化させます"},
    {"txtCoordX", "UpDownCoordX", 3, "横方向", 10, 0, 32767, +1, "座標インジケータの横方向表示位置を調整します。",
     "座標軸の水平方向調整値を10ずつ変化させます"},
    {"txtCoordY", "UpDownCoordY", 3, "縦方向", 10, 0, 32767, -1, "座標インジケータの縦方向表示位置を調整します。",
     "座標軸の垂直方向調整値を10ずつ変化させます"},
    {diagram::kAxisSizeBox, "UpDownCoordSize", 3, "サイズ", 1, 0, 32767, +1, "座標インジケータのサイズを調整します。",
     "座標軸の表示サイズを0.1ずつ変化させます"},
};

struct ToolTipEntry {
    const char* control;
    const char* tip;
};

const ToolTipEntry kToolTips[] = {
    {"chkDrawJnt", "オンにすると、ラーメン図に節点番号が描画されます"},
    {"chkDrawEle", "オンにすると、ラーメン図に部材番号、材料番号が描画されます"},
    {"chkDrawCoord", "オンにすると、ラーメン図に座標軸が描画されます"},
    {"chkSyncPreview", "オンにしておくと、上の調整値のいずれかが入力されるたびに、ラーメン図を再描画します"},
    {"cmdDRAW", "入力されている調整値に従い、ラーメン図を再描画します"},
    {"vsp", "ダブルクリックでプレビューの拡大、縮小、、またドラッグで表示範囲を変更できます"},
    {"cmd節点", "左のテキストボックスに入力された節点を検索します"},
    {"cbo節点番号", "下のリストボックスに表示する節点番号の範囲を指定します"},
    {"lst節点番号", "表示されている節点番号をクリックすることにより検索できます"},
    {"cmd拘束", "入力されている拘束条件に一致する全ての節点を検索します"},
    {"cmd要素", "左のテキストボックスに入力された部材を検索します"},
    {"cbo要素番号", "下のリストボックスに表示する部材番号の範囲を指定します"},
    {"lst要素番号", "表示されている部材番号をクリックすることにより検索できます"},
    {"cmd材料番号", "入力されている形状番号に一致する全ての部材を検索します"},
    {"lbliNo", "選択されている部材のi 端節点番号"},
    {"lbljNo", "選択されている部材のj 端節点番号"},
    {"cmd端部状態", "入力されている拘束条件に一致する全ての部材を検索します"},
    {"lbl検索条件", "下のリストボックスの部材番号はこの検索条件に一致する部材の番号です"},
};

QString U(const char* text) { return QString::fromUtf8(text); }

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

// A label that shows a value, framed like a read-only box.
QLabel* MakeValueLabel(QWidget* parent, const QString& name)
{
    QLabel* l = MakeLabel(parent, name, QString());
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption)
{
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    return g;
}

}  // namespace

// Keys and focus moves of one entry box: which keys pass besides the digits,
// the blank and Backspace, and where Up, Down (and Enter), Left and Right
// move the focus (no moves: the keys act as in a plain text box).
struct frmラーメン図::BoxRule {
    enum Kind { View, Number, Restraint, EndCondition };
    const char* name;
    Kind kind;
    bool minus;
    bool dot;
    diagram::FocusMoves moves;   // the view boxes' moves are the shared ones
};

namespace {

using Rule = frmラーメン図::BoxRule;
}  // namespace

const frmラーメン図::BoxRule kBoxRules[] = {
    {"txtra", Rule::View, false, false, {}},
    {"txtθa", Rule::View, false, false, {}},
    {"txtφa", Rule::View, false, false, {}},
    {"txtrf", Rule::View, false, false, {}},
    {"txtθf", Rule::View, false, false, {}},
    {"txtφf", Rule::View, false, false, {}},
    {"txtX", Rule::View, true, false, {}},
    {"txtY", Rule::View, true, false, {}},
    {"txtzoom", Rule::View, false, false, {}},
    {"txtCoordX", Rule::View, true, false, {}},
    {"txtCoordY", Rule::View, true, false, {}},
    {diagram::kAxisSizeBox, Rule::View, false, true, {}},
    {"txt節点番号", Rule::Number, false, false, {"txtθzt1", "txtxt1", "txtθzt1", "txtxt1"}},
    {"txtxt1", Rule::Restraint, false, true, {"txt節点番号", "txtyt1", "txt節点番号", "txtyt1"}},
    {"txtyt1", Rule::Restraint, false, true, {"txtxt1", "txtzt1", "txtxt1", "txtzt1"}},
    {"txtzt1", Rule::Restraint, false, true, {"txtyt1", "txtθxt1", "txtyt1", "txtθxt1"}},
    {"txtθxt1", Rule::Restraint, false, true, {"txtzt1", "txtθyt1", "txtzt1", "txtθyt1"}},
    {"txtθyt1", Rule::Restraint, false, true, {"txtθxt1", "txtθzt1", "txtθxt1", "txtθzt1"}},
    {"txtθzt1", Rule::Restraint, false, true, {"txtθyt1", "txt節点番号", "txtθyt1", "txt節点番号"}},
    {"txt要素番号", Rule::Number, false, false, {"txtjzMWR", "txt材料番号", "txt材料番号", "txt材料番号"}},
    {"txt材料番号", Rule::Number, false, false, {"txt要素番号", "txtixMWR", "txt要素番号", "txtixMWR"}},
    {"txtixMWR", Rule::EndCondition, false, true, {"txt材料番号", "txtiyMWR", "txtjxMWR", "txtjxMWR"}},
    {"txtiyMWR", Rule::EndCondition, false, true, {"txtixMWR", "txtizMWR", "txtjyMWR", "txtjyMWR"}},
    {"txtizMWR", Rule::EndCondition, false, true, {"txtiyMWR", "txt要素番号", "txtjzMWR", "txtjzMWR"}},
    {"txtjxMWR", Rule::EndCondition, false, true, {"txt材料番号", "txtjyMWR", "txtixMWR", "txtixMWR"}},
    {"txtjyMWR", Rule::EndCondition, false, true, {"txtjxMWR", "txtjzMWR", "txtiyMWR", "txtiyMWR"}},
    {"txtjzMWR", Rule::EndCondition, false, true, {"txtjyMWR", "txt要素番号", "txtizMWR", "txtizMWR"}},
};

// ---- construction ----------------------------------------------------------------

frmラーメン図::frmラーメン図() : forms::Form(QStringLiteral("frmラーメン図"))
{
    SetClientSizeTw(kDesignWidth, kDesignHeight);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    forms::PlaceTw(SSTab1, 60, 60, 2910, kDesignHeight - 180);
    // Narrow tabs, so that the three captions fit the panel's width.
    SSTab1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    SSTab1->setUsesScrollButtons(false);
    auto* viewTab = new QWidget;
    auto* nodeTab = new QWidget;
    auto* memberTab = new QWidget;
    SSTab1->addTab(viewTab, QStringLiteral("表示調整"));
    SSTab1->addTab(nodeTab, QStringLiteral("節点情報"));
    SSTab1->addTab(memberTab, QStringLiteral("部材情報"));

    vsp = new preview::PreviewWidget(this);
    vsp->setObjectName(QStringLiteral("vsp"));
    forms::PlaceTw(vsp, kCanvasLeft, kCanvasTop, kDesignWidth - kWidthBesideCanvas,
                   kDesignHeight - kHeightBesideCanvas);

    BuildViewTab(viewTab);
    BuildNodeTab(nodeTab);
    BuildMemberTab(memberTab);

    for (const BoxRule& rule : kBoxRules) {
        QLineEdit* box = findChild<QLineEdit*>(U(rule.name));
        // Numbers to the right, condition words in the middle.
        box->setAlignment(rule.kind == BoxRule::Restraint || rule.kind == BoxRule::EndCondition ? Qt::AlignCenter
                                                                                               : Qt::AlignRight);
        box->installEventFilter(this);
        boxes_.push_back(box);
        rules_.push_back(&rule);
    }
}

frmラーメン図::~frmラーメン図() = default;

void frmラーメン図::BuildViewTab(QWidget* tab)
{
    // Look At on top; "フレーム図" encloses the eye and the drawing's position.
    QGroupBox* frames[4];
    frames[0] = MakeFrame(tab, U(kViewFrames[0].name), U(kViewFrames[0].caption));
    forms::PlaceTw(frames[0], 60, 60, 2730, 1260);
    QGroupBox* frame6 = MakeFrame(tab, QStringLiteral("Frame6"), QStringLiteral("フレーム図"));
    forms::PlaceTw(frame6, 60, 1380, 2730, 2910);
    frames[1] = MakeFrame(frame6, U(kViewFrames[1].name), U(kViewFrames[1].caption));
    forms::PlaceTw(frames[1], 60, 240, 2610, 1260);
    frames[2] = MakeFrame(frame6, U(kViewFrames[2].name), U(kViewFrames[2].caption));
    forms::PlaceTw(frames[2], 60, 1560, 2610, 1260);
    frames[3] = MakeFrame(tab, U(kViewFrames[3].name), U(kViewFrames[3].caption));
    forms::PlaceTw(frames[3], 60, 4350, 2730, 1260);

    int rowInFrame[4] = {0, 0, 0, 0};
    for (const ViewBoxLayout& layout : kViewBoxes) {
        QGroupBox* frame = frames[layout.frame];
        const double top = 270 + 330 * rowInFrame[layout.frame]++;
        const double inner = layout.frame == 1 || layout.frame == 2 ? 0 : 60;   // nested frames are narrower
        QLabel* label = MakeLabel(frame, QStringLiteral("lbl") + U(layout.box).mid(3), U(layout.label));
        forms::PlaceTw(label, 120, top + 30, 1080, 240);
        auto* box = new QLineEdit(frame);
        box->setObjectName(U(layout.box));
        forms::PlaceTw(box, 1230 + inner, top, 960, 300);
        auto* spin = new UpDownControl(layout.increment, layout.min, layout.max, frame);
        spin->setObjectName(U(layout.spin));
        forms::PlaceTw(spin, 2190 + inner, top, 240, 300);
        spins_.push_back(spin);
        // The axis size steps by a tenth of its spin control's increment.
        const float upStep = static_cast<float>(layout.upSign)
                             * (U(layout.box) == QLatin1String(diagram::kAxisSizeBox)
                                    ? static_cast<float>(layout.increment * 0.1)
                                    : static_cast<float>(layout.increment));
        connect(spin, &UpDownControl::UpClick, this,
                [this, box, spin, upStep] { StepValue(box, upStep, spin->Max(), spin->Min()); });
        connect(spin, &UpDownControl::DownClick, this,
                [this, box, spin, upStep] { StepValue(box, -upStep, spin->Max(), spin->Min()); });
    }

    QGroupBox* frame3 = MakeFrame(tab, QStringLiteral("Frame3"), QStringLiteral("表示項目"));
    forms::PlaceTw(frame3, 60, 5670, 2730, 1110);
    auto makeSwitch = [this](QWidget* parent, const char* name, const char* caption) {
        auto* c = new QCheckBox(U(caption), parent);
        c->setObjectName(U(name));
        connect(c, &QCheckBox::clicked, this, [this] { SwitchClicked(); });
        return c;
    };
    chkDrawJnt = makeSwitch(frame3, "chkDrawJnt", "節点No表示");
    forms::PlaceTw(chkDrawJnt, 180, 270, 2400, 270);
    chkDrawEle = makeSwitch(frame3, "chkDrawEle", "部材No、形状No表示");
    forms::PlaceTw(chkDrawEle, 180, 540, 2400, 270);
    chkDrawCoord = makeSwitch(frame3, "chkDrawCoord", "座標軸表示");
    forms::PlaceTw(chkDrawCoord, 180, 810, 2400, 270);

    chkSyncPreview = new QCheckBox(QStringLiteral("同時処理"), tab);
    chkSyncPreview->setObjectName(QStringLiteral("chkSyncPreview"));
    forms::PlaceTw(chkSyncPreview, 120, 6900, 1260, 330);
    connect(chkSyncPreview, &QCheckBox::clicked, this, [this] {
        if (!DiagramLoading) UpdateDrawButton();
    });
    cmdDRAW = MakeButton(tab, QStringLiteral("cmdDRAW"), QStringLiteral("再描画"));
    forms::PlaceTw(cmdDRAW, 1500, 6870, 1290, 390);
    connect(cmdDRAW, &QPushButton::clicked, this, [this] { cmdDRAW_Click(); });
}

// The head of a search tab: the number box with its label and its button
// "表示", the range combo box and the list of found numbers under them.
void frmラーメン図::BuildSearchHead(QWidget* tab, const SearchHeadNames& names, void (frmラーメン図::*onShow)(),
                                 double listHeight, QLineEdit*& box, QPushButton*& show, QComboBox*& ranges,
                                 QListWidget*& list)
{
    forms::PlaceTw(MakeLabel(tab, U(names.label), U(names.caption)), 90, 150, 660, 240);
    box = new QLineEdit(tab);
    box->setObjectName(U(names.box));
    forms::PlaceTw(box, 780, 120, 840, 300);
    show = MakeButton(tab, U(names.button), QStringLiteral("表示"));
    forms::PlaceTw(show, 1710, 105, 1050, 330);
    ranges = new QComboBox(tab);
    ranges->setObjectName(U(names.combo));
    forms::PlaceTw(ranges, 60, 540, 2700, 330);
    list = new QListWidget(tab);
    list->setObjectName(U(names.list));
    forms::PlaceTw(list, 60, 930, 2700, listHeight);

    connect(show, &QPushButton::clicked, this, [this, onShow] { (this->*onShow)(); });
    connect(ranges, &QComboBox::currentIndexChanged, this, [this, list](int index) {
        if (!DiagramLoading) FillNumberList(index, list);
    });
    // A mouse click shows the clicked number when the button is released; the
    // keys show the number they move to.
    connect(list, &QListWidget::currentRowChanged, this, [this, list] {
        if (QApplication::mouseButtons() == Qt::NoButton) ListClicked(list);
    });
    connect(list, &QListWidget::itemClicked, this, [this, list] { ListClicked(list); });
}

void frmラーメン図::BuildNodeTab(QWidget* tab)
{
    BuildSearchHead(tab, {"Label26", "接点No", "txt節点番号", "cmd節点", "cbo節点番号", "lst節点番号"},
                    &frmラーメン図::cmd節点_Click, 3000,
                    txt節点番号, cmd節点, cbo節点番号, lst節点番号);

    QGroupBox* frame9 = MakeFrame(tab, QStringLiteral("Frame9"), QStringLiteral("拘束条件"));
    forms::PlaceTw(frame9, 60, 4050, 2700, 1320);
    QLineEdit** boxes[] = {&txtxt1, &txtyt1, &txtzt1, &txtθxt1, &txtθyt1, &txtθzt1};
    const char* names[] = {"txtxt1", "txtyt1", "txtzt1", "txtθxt1", "txtθyt1", "txtθzt1"};
    const char* captions[] = {"x", "y", "z", "θx", "θy", "θz"};
    for (int i = 0; i < 6; ++i) {
        const double left = i < 3 ? 120 : 1440;
        const double top = 270 + 330 * (i % 3);
        forms::PlaceTw(MakeLabel(frame9, QStringLiteral("lblRestraint%1").arg(i), U(captions[i])), left, top + 30, 300,
                       240);
        *boxes[i] = new QLineEdit(frame9);
        (*boxes[i])->setObjectName(U(names[i]));
        forms::PlaceTw(*boxes[i], left + 330, top, 840, 300);
    }
    cmd拘束 = MakeButton(tab, QStringLiteral("cmd拘束"), QStringLiteral("同節点の検索"));
    forms::PlaceTw(cmd拘束, 1140, 5460, 1620, 390);

    connect(cmd拘束, &QPushButton::clicked, this, [this] { cmd拘束_Click(); });
}

void frmラーメン図::BuildMemberTab(QWidget* tab)
{
    BuildSearchHead(tab, {"Label10", "部材No", "txt要素番号", "cmd要素", "cbo要素番号", "lst要素番号"},
                    &frmラーメン図::cmd要素_Click, 1950,
                    txt要素番号, cmd要素, cbo要素番号, lst要素番号);

    forms::PlaceTw(MakeLabel(tab, QStringLiteral("Label34"), QStringLiteral("検索条件")), 90, 3000, 660, 240);
    lbl検索条件 = MakeValueLabel(tab, QStringLiteral("lbl検索条件"));
    forms::PlaceTw(lbl検索条件, 900, 2970, 1860, 300);

    forms::PlaceTw(MakeLabel(tab, QStringLiteral("Label11"), QStringLiteral("形状No")), 90, 3420, 660, 240);
    txt材料番号 = new QLineEdit(tab);
    txt材料番号->setObjectName(QStringLiteral("txt材料番号"));
    forms::PlaceTw(txt材料番号, 780, 3390, 600, 300);
    cmd材料番号 = MakeButton(tab, QStringLiteral("cmd材料番号"), QStringLiteral("同部材の検索"));
    forms::PlaceTw(cmd材料番号, 1440, 3375, 1320, 330);

    forms::PlaceTw(MakeLabel(tab, QStringLiteral("Label12"), QStringLiteral("i 端")), 90, 3840, 330, 240);
    lbliNo = MakeValueLabel(tab, QStringLiteral("lbliNo"));
    forms::PlaceTw(lbliNo, 480, 3810, 840, 300);
    forms::PlaceTw(MakeLabel(tab, QStringLiteral("Label27"), QStringLiteral("j 端")), 1440, 3840, 330, 240);
    lbljNo = MakeValueLabel(tab, QStringLiteral("lbljNo"));
    forms::PlaceTw(lbljNo, 1830, 3810, 930, 300);

    QGroupBox* frame8 = MakeFrame(tab, QStringLiteral("Frame8"), QStringLiteral("拘束条件（軸回り）"));
    forms::PlaceTw(frame8, 60, 4260, 2700, 1590);
    forms::PlaceTw(MakeLabel(frame8, QStringLiteral("lblIEnd"), QStringLiteral("i 端")), 720, 270, 600, 240);
    forms::PlaceTw(MakeLabel(frame8, QStringLiteral("lblJEnd"), QStringLiteral("j 端")), 1800, 270, 600, 240);
    QLineEdit** boxes[] = {&txtixMWR, &txtiyMWR, &txtizMWR, &txtjxMWR, &txtjyMWR, &txtjzMWR};
    const char* names[] = {"txtixMWR", "txtiyMWR", "txtizMWR", "txtjxMWR", "txtjyMWR", "txtjzMWR"};
    const char* axes[] = {"x", "y", "z"};
    for (int i = 0; i < 6; ++i) {
        const double top = 570 + 330 * (i % 3);
        if (i < 3)
            forms::PlaceTw(MakeLabel(frame8, QStringLiteral("lblAxis%1").arg(i), U(axes[i])), 150, top + 30, 300, 240);
        *boxes[i] = new QLineEdit(frame8);
        (*boxes[i])->setObjectName(U(names[i]));
        forms::PlaceTw(*boxes[i], i < 3 ? 450 : 1530, top, 960, 300);
    }
    cmd端部状態 = MakeButton(tab, QStringLiteral("cmd端部状態"), QStringLiteral("同部材の検索"));
    forms::PlaceTw(cmd端部状態, 1140, 5940, 1620, 390);

    connect(cmd材料番号, &QPushButton::clicked, this, [this] { cmd材料番号_Click(); });
    connect(cmd端部状態, &QPushButton::clicked, this, [this] { cmd端部状態_Click(); });
}

void frmラーメン図::ApplyToolTips()
{
    for (const FrameLayout& f : kViewFrames)
        if (f.tip) findChild<QWidget*>(U(f.name))->setToolTip(U(f.tip));
    for (const ViewBoxLayout& layout : kViewBoxes) {
        const QString tip = U(layout.boxTip);
        ViewBox(U(layout.box))->setToolTip(tip);
        // The look-at boxes carry their tips alone; every other box shares its tip with its label.
        if (layout.frame != 0) findChild<QLabel*>(QStringLiteral("lbl") + U(layout.box).mid(3))->setToolTip(tip);
        Spin(U(layout.spin))->setToolTip(U(layout.spinTip));
    }
    for (const ToolTipEntry& t : kToolTips) findChild<QWidget*>(U(t.control))->setToolTip(U(t.tip));
}

QLineEdit* frmラーメン図::Box(const char* name) const
{
    const QString n = U(name);
    for (QLineEdit* b : boxes_)
        if (b->objectName() == n) return b;
    return nullptr;
}

QLineEdit* frmラーメン図::ViewBox(const QString& name) const
{
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (rules_[i]->kind == BoxRule::View && boxes_[i]->objectName() == name) return boxes_[i];
    return nullptr;
}

UpDownControl* frmラーメン図::Spin(const QString& name) const
{
    for (UpDownControl* s : spins_)
        if (s->objectName() == name) return s;
    return nullptr;
}

// ---- life cycle ------------------------------------------------------------------

void frmラーメン図::Form_Load()
{
    DiagramLoading = true;
    try {
        ResetSearchPanel();
        SSTab1->setCurrentIndex(0);
        SetWindowCaption(ScreenFrameDiagram, this);
        RestoreWindowPlacement();
        LoadViewBoxes();
        SetupCanvas();
        ApplyToolTips();
        ClearToolTipsIfOff(this);
        UpdateDrawButton();
        EnsureDatabase();
        const diagram::Outcome<std::vector<diagram::NodeCoordinate>> nodes = diagram::ReadNodeCoordinates(*DiagramDatabase);
        if (!nodes) return;
        DiagramBaseScale = diagram::ComputeFitScale(*nodes, static_cast<int32_t>(forms::Tw(vsp->width())),
                                                    static_cast<int32_t>(forms::Tw(vsp->height())));
        cmdDRAW_Click();
        if (!IsLoaded()) return;   // the drawing closed the window
        InitNumberRanges();
        DiagramLoading = false;
    } catch (const std::exception&) {
        // A failing step ends the loading; the window stays without its handlers.
    }
}

void frmラーメン図::Form_Resize()
{
    if (!vsp) return;
    const double width = WidthTw() - kWidthBesideCanvas;
    const double height = HeightTw() - kHeightBesideCanvas;
    // A window too small for a canvas keeps the canvas as it was.
    if (width > 0) vsp->resize(forms::Px(width), vsp->height());
    if (height > 0) vsp->resize(vsp->width(), forms::Px(height));
}

void frmラーメン図::Form_Unload(bool&)
{
    SaveWindowPlacement();
    // A box that is not a number keeps the stored record as it was; the
    // window closes all the same.
    (void)diagram::SaveViewBoxes(diagram::kDiagramWindowRecord, CurrentViewBoxes(), loadedView_);
    ReleaseData();
}

void frmラーメン図::RestoreWindowPlacement()
{
    // By default the window's design size is centred on the screen of the
    // input screen that opens it, then takes that screen's size.
    SetClientSizeTw(kDesignWidth, kDesignHeight);
    RestoreSizedPlacement(this, kPlacementSection,
                          {QStringLiteral("RamenLeft"), QStringLiteral("RamenTop"), QStringLiteral("RamenWidth"),
                           QStringLiteral("RamenHeight")},
                          WorkingScreenArea(Program().CurrentInputForm.data()));
    // A hidden window hears of its new size only when shown; the canvas needs it now.
    Form_Resize();
}

void frmラーメン図::SaveWindowPlacement()
{
    reg::SaveSetting(kPlacementSection, QStringLiteral("VSPrinterZoom"), rt::CStrDouble(vsp->ZoomPercent()));
    if (IsMinimized()) return;
    reg::SaveSetting(kPlacementSection, QStringLiteral("RamenLeft"), rt::CStrDouble(LeftTw()));
    reg::SaveSetting(kPlacementSection, QStringLiteral("RamenTop"), rt::CStrDouble(TopTw()));
    reg::SaveSetting(kPlacementSection, QStringLiteral("RamenWidth"), rt::CStrDouble(forms::Tw(width())));
    reg::SaveSetting(kPlacementSection, QStringLiteral("RamenHeight"), rt::CStrDouble(forms::Tw(height())));
}

void frmラーメン図::SetupCanvas()
{
    vsp->SetBrushColor(preview::kWhite);
    vsp->SetOrientation(preview::Landscape);
    vsp->SetFontName(QStringLiteral("ＭＳ ゴシック"));
    vsp->SetFontSize(12);
    vsp->SetZoomPercent(reg::GetNumber(kPlacementSection, QStringLiteral("VSPrinterZoom"), vsp->ZoomPercent()));
}

void frmラーメン図::EnsureDatabase()
{
    if (!DiagramDatabase || !DiagramDatabase->IsOpen()) DiagramDatabase = dao::Database::Open(kWorkingDatabase);
}

void frmラーメン図::InitNumberRanges()
{
    EnsureDatabase();
    NodeRecordset = DiagramDatabase->OpenRecordset(QStringLiteral("節点座標1"));
    MemberRecordset = DiagramDatabase->OpenRecordset(QStringLiteral("要素情報"));
    int16_t largest = 0;
    GetMaxFieldValue(largest, NodeRecordset, QStringLiteral("no_"));
    cbo節点番号->clear();
    cbo節点番号->addItems(diagram::NumberRangeItems(largest));
    cbo節点番号->setCurrentIndex(0);
    GetMaxFieldValue(largest, MemberRecordset, QStringLiteral("no_"));
    cbo要素番号->clear();
    cbo要素番号->addItems(diagram::NumberRangeItems(largest));
    cbo要素番号->setCurrentIndex(0);
}

void frmラーメン図::ReleaseData()
{
    Program().NodeRow.fill(0);
    Program().MemberRow.fill(0);
    screenPoints_.clear();
    members_.clear();
    for (dao::RecordsetPtr* rs : {&NodeRecordset, &MemberRecordset, &ConditionTypeRecordset, &ConditionPlacementRecordset}) {
        try {
            if (*rs && (*rs)->IsOpen()) (*rs)->Close();
        } catch (...) {
        }
        rs->reset();
    }
    try {
        if (DiagramDatabase && DiagramDatabase->IsOpen()) DiagramDatabase->Close();
    } catch (...) {
    }
    DiagramDatabase.reset();
}

void frmラーメン図::ResetSearchPanel()
{
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (rules_[i]->kind != BoxRule::View) boxes_[i]->clear();
    for (QComboBox* c : {cbo節点番号, cbo要素番号}) c->clear();
    for (QListWidget* l : {lst節点番号, lst要素番号}) l->clear();
    for (QLabel* l : {lbliNo, lbljNo, lbl検索条件}) l->clear();
    nodeResults_.clear();
    memberResults_.clear();
}

void frmラーメン図::LoadViewBoxes()
{
    loadedView_ = diagram::LoadViewParameters(diagram::kDiagramWindowRecord);
    for (const diagram::ViewBox& b : diagram::ViewToBoxes(loadedView_, diagram::kDiagramWindowRecord)) {
        if (QLineEdit* box = ViewBox(b.control)) box->setText(b.text);
        else if (auto* check = findChild<QCheckBox*>(b.control)) check->setChecked(b.text == QLatin1String("1"));
    }
}

diagram::ViewBoxes frmラーメン図::CurrentViewBoxes() const
{
    diagram::ViewBoxes boxes;
    for (const ViewBoxLayout& layout : kViewBoxes) boxes.push_back({U(layout.box), ViewBox(U(layout.box))->text()});
    for (const QCheckBox* c : {chkSyncPreview, chkDrawJnt, chkDrawEle, chkDrawCoord})
        boxes.push_back({c->objectName(), c->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    return boxes;
}

// ---- entry boxes -------------------------------------------------------------------

bool frmラーメン図::eventFilter(QObject* watched, QEvent* event)
{
    size_t i = 0;
    while (i < boxes_.size() && boxes_[i] != watched) ++i;
    if (i == boxes_.size()) return forms::Form::eventFilter(watched, event);
    QLineEdit* box = boxes_[i];
    const BoxRule& rule = *rules_[i];

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        const int16_t code = KeyCodeOf(ke->key());
        const diagram::FocusMoves& moves = rule.kind == BoxRule::View ? diagram::ViewBoxMoves(rule.name) : rule.moves;
        if (code != 0 && moves.up) {
            MoveFocusByKey(code, Box(moves.up), Box(moves.down), Box(moves.left), Box(moves.right), Box(moves.down));
            return true;
        }
        const int16_t ascii = KeyAsciiOf(ke);
        if (ascii == 0) return false;   // keys without a character: editing and Tab
        return FilterNumericKey(ascii, !rule.minus, !rule.dot) == 0;
    }
    case QEvent::FocusOut: {
        // The window losing the activation, the drawing disabling it and the
        // window closing are no leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (drawing_ || !IsLoaded() || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        switch (rule.kind) {
        case BoxRule::View: ViewBoxLostFocus(rule, box); break;
        case BoxRule::Number:
            if (rt::IsNumeric(box->text())) box->setText(rt::Format(rt::Val(box->text()), QStringLiteral("0")));
            break;
        case BoxRule::Restraint: box->setText(NormalizeRestraintText(box->text())); break;
        case BoxRule::EndCondition: box->setText(NormalizeEndConditionText(box->text())); break;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        SelectEntryBox(box);
        return false;
    default:
        return false;
    }
}

// ---- view tab ----------------------------------------------------------------------

void frmラーメン図::ViewBoxLostFocus(const BoxRule& rule, QLineEdit* box)
{
    for (const ViewBoxLayout& layout : kViewBoxes) {
        if (qstrcmp(layout.box, rule.name) != 0) continue;
        diagram::ClampToUpDownRange(box, *Spin(U(layout.spin)));
        RedrawIfSynchronised();
    }
}

void frmラーメン図::StepValue(QLineEdit* box, float step, double max, double min)
{
    if (diagram::StepBoxValue(box, step, min, max)) RedrawIfSynchronised();
}

void frmラーメン図::UpdateDrawButton() { cmdDRAW->setEnabled(!chkSyncPreview->isChecked()); }

void frmラーメン図::RedrawIfSynchronised()
{
    if (chkSyncPreview->isChecked()) cmdDRAW_Click();
}

void frmラーメン図::SwitchClicked()
{
    if (!DiagramLoading) RedrawIfSynchronised();
}
