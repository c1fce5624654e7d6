#include "report/frmPreview.h"

#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "core/frmAnalyze.h"
#include "diagram/UpDownControl.h"
#include "platform/Database.h"
#include "platform/Runtime.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "platform/preview/PreviewWidget.h"
#include "platform/preview/Printing.h"
#include "report/PageFormat.h"
#include "report/PreviewEntry.h"
#include "report/PreviewSettingsFile.h"
#include "report/WindowControls.h"
#include "report/frmPreviewInfoSetUp.h"
#include "report/frmPrintInfoSetUp.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>

using report::ControlKind;
using report::ControlLayout;

namespace {

constexpr double kZoomStep = 15;
constexpr double kDesignWidth = 12000;
constexpr double kDesignHeight = 9000;
const QString kSettingsSection = QStringLiteral("Preview");

// The window's controls. Frame(0) holds the page and zoom controls, Frame(1)
// (waiting below it, out of view) the choice of the diagram in the layout
// mode; Picture1 is the side panel of the layout mode.
const ControlLayout kControls[] = {
    {ControlKind::Panel, "Picture2", nullptr, nullptr, nullptr, 0, 0, 11800, 1380},
    {ControlKind::Frame, "Frame(0)", "Picture2", " 画面操作 ", nullptr, 0, 0, 8700, 1330},
    {ControlKind::Text, "txtinp", "Frame(0)", "", "表示したいページを入力して右の[表示]ボタンをクリックします", 150, 330, 700, 330},
    {ControlKind::Button, "cmdP指定", "Frame(0)", "表示", "左のテキストボックスに入力したページを表示します", 900, 320, 700, 350},
    {ControlKind::PictureButton, "cmdMF", "Frame(0)", nullptr, "プレビューするページを最初のページに変更します", 1750, 320, 450, 350},
    {ControlKind::PictureButton, "cmdMP", "Frame(0)", nullptr,
     "プレビューするページを、現在のページより1つ前のページに変更します。画面上で直接、[Shift] + [右クリック]でも同様の処理ができます。",
     2220, 320, 450, 350},
    {ControlKind::PictureButton, "cmdMN", "Frame(0)", nullptr,
     "プレビューするページを、現在のページより1つ後のページに変更します。画面上で直接、[Shift] + [左クリック]でも同様の処理ができます。",
     2690, 320, 450, 350},
    {ControlKind::PictureButton, "cmdML", "Frame(0)", nullptr, "最後のページを表示します", 3160, 320, 450, 350},
    {ControlKind::Label, "lblAPCaption", "Frame(0)", "全ページ数", nullptr, 3850, 380, 1000, 240},
    {ControlKind::SunkenLabel, "lblAP", "Frame(0)", "", "全ページ数", 4900, 330, 800, 330},
    {ControlKind::Label, "lblCPCaption", "Frame(0)", "現在のページ", nullptr, 5900, 380, 1100, 240},
    {ControlKind::SunkenLabel, "lblCP", "Frame(0)", "", "現在表示されているページ数", 7050, 330, 800, 330},
    {ControlKind::Button, "cmd基準", "Frame(0)", "基準表示", "画面内にページ枠を基準にしてプレビューを表示します", 150, 830, 1300, 380},
    {ControlKind::Button, "cmd全体(0)", "Frame(0)", "全体表示", "画面内にページ全体を基準にしてプレビューを表示します", 1500, 830, 1300, 380},
    {ControlKind::Button, "cmd拡大(0)", "Frame(0)", "拡大",
     "プレビューを拡大します。画面上で[左ダブルクリック]することにより同様の処理が可能です。", 2850, 830, 1300, 380},
    {ControlKind::Button, "cmd縮小(0)", "Frame(0)", "縮小",
     "プレビューを縮小します。画面上で[右ダブルクリック]することにより同様の処理が可能です。", 4200, 830, 1300, 380},

    {ControlKind::Frame, "Frame(1)", "Picture2", " 表示位置調整", nullptr, 0, 1400, 8700, 1330},
    {ControlKind::Option, "opnHeni", "Frame(1)", "変位図", "変位図を表示します", 150, 300, 1100, 300},
    {ControlKind::Option, "opnOurk", "Frame(1)", "応力図", "応力図を表示します", 150, 650, 1100, 300},
    {ControlKind::Check, "lblchkCase", "Frame(1)", "荷重ケース数", nullptr, 1350, 300, 1400, 300},
    {ControlKind::Text, "txtCase", "Frame(1)", "", nullptr, 2800, 300, 450, 300},
    {ControlKind::Spin, "upnCase", "Frame(1)", nullptr, nullptr, 3260, 300, 240, 300},
    {ControlKind::Button, "cmdCase指定", "Frame(1)", "表示", nullptr, 3600, 285, 700, 330},
    {ControlKind::Button, "cmd全体(1)", "Frame(1)", "全体表示", "図を表示しているプレビュー全体を表示します", 4500, 285, 1300, 330},
    {ControlKind::Button, "cmd拡大(1)", "Frame(1)", "拡大", "図を表示しているプレビューを拡大します", 5850, 285, 1300, 330},
    {ControlKind::Button, "cmd縮小(1)", "Frame(1)", "縮小", "図を表示しているプレビューを縮小します", 7200, 285, 1300, 330},
    {ControlKind::Check, "chkDrawJnt", "Frame(1)", "節点番号", "図に節点Noを記入しない場合はチェックを無効にして下さい", 1350, 700, 1150, 300},
    {ControlKind::Check, "chkDrawEle", "Frame(1)", "部材番号", "図に要素Noを記入しない場合はチェックを無効にして下さい", 2550, 700, 1150, 300},
    {ControlKind::Check, "chkDrawMat", "Frame(1)", "形状番号", "図に形状Noを記入しない場合はチェックを無効にして下さい", 3750, 700, 1150, 300},
    {ControlKind::Check, "chkDrawCoord", "Frame(1)", "座標軸", nullptr, 4950, 700, 1000, 300},
    {ControlKind::Check, "chkDrawEleOnly", "Frame(1)", "ラーメン図のみ",
     "変位図、応力図を表示せずラーメン図のみ表示する場合にチェックを有効にして下さい", 6000, 700, 1700, 300},

    {ControlKind::Button, "cmdPreviewInfoSetUp", "Picture2", "表示内容指定", nullptr, 8850, 90, 1400, 420},
    {ControlKind::Button, "cmdMentPreview", "Picture2", "表示位置調整",
     "変位図や応力図の表示する位置や大きさを、調整する画面に切り換わります", 10330, 90, 1400, 420},
    {ControlKind::Button, "cmdPrint", "Picture2", "印刷", nullptr, 8850, 580, 1400, 420},
    {ControlKind::Button, "cmdClose", "Picture2", "閉じる", "メインメニューに戻ります", 10330, 580, 1400, 420},

    {ControlKind::Panel, "Picture1", nullptr, nullptr, nullptr, 0, 0, 2900, 7200},
    {ControlKind::Frame, "fra表示位置", "Picture1", "表示位置", nullptr, 60, 60, 2760, 1380},
    {ControlKind::Label, "lblX", "fra表示位置", "横方向", nullptr, 120, 300, 1000, 240},
    {ControlKind::Text, "txtX", "fra表示位置", "500", "横方向のラーメン図表示位置を調整します。", 1250, 270, 1000, 300},
    {ControlKind::Spin, "UpDownX", "fra表示位置", nullptr, "図の水平方向調整値を10ずつ変化させます", 2270, 270, 240, 300},
    {ControlKind::Label, "lblY", "fra表示位置", "縦方向", nullptr, 120, 660, 1000, 240},
    {ControlKind::Text, "txtY", "fra表示位置", "500", "縦方向のラーメン図表示位置を調整します。", 1250, 630, 1000, 300},
    {ControlKind::Spin, "UpDownY", "fra表示位置", nullptr, "図の垂直方向調整値を10ずつ変化させます", 2270, 630, 240, 300},
    {ControlKind::Label, "lblzoom", "fra表示位置", "拡大", nullptr, 120, 1020, 1000, 240},
    {ControlKind::Text, "txtzoom", "fra表示位置", "1500", "ラーメン図の表示倍率を調整します。", 1250, 990, 1000, 300},
    {ControlKind::Spin, "UpDownzoom", "fra表示位置", nullptr, "図の表示倍率を1ずつ変化させます", 2270, 990, 240, 300},

    {ControlKind::Frame, "fra座標方向インジケータ", "Picture1", "座標方向インジケータ", nullptr, 60, 1500, 2760, 1380},
    {ControlKind::Label, "lblCoordX", "fra座標方向インジケータ", "横方向", nullptr, 120, 300, 1000, 240},
    {ControlKind::Text, "txtCoordX", "fra座標方向インジケータ", "0", "座標インジケータの横方向表示位置を調整します。", 1250, 270, 1000, 300},
    {ControlKind::Spin, "UpDownCoordX", "fra座標方向インジケータ", nullptr, "座標軸の水平方向調整値を10ずつ変化させます", 2270, 270, 240, 300},
    {ControlKind::Label, "lblCoordY", "fra座標方向インジケータ", "縦方向", nullptr, 120, 660, 1000, 240},
    {ControlKind::Text, "txtCoordY", "fra座標方向インジケータ", "0", "座標インジケータの縦方向表示位置を調整します。", 1250, 630, 1000, 300},
    {ControlKind::Spin, "UpDownCoordY", "fra座標方向インジケータ", nullptr, "座標軸の垂直方向調整値を10ずつ変化させます", 2270, 630, 240, 300},
    {ControlKind::Label, "lblCoordSize", "fra座標方向インジケータ", "拡大", nullptr, 120, 1020, 1000, 240},
    {ControlKind::Text, diagram::kAxisSizeBox, "fra座標方向インジケータ", "1", "座標インジケータのサイズを調整します。", 1250, 990, 1000, 300},
    {ControlKind::Spin, "UpDownCoordSize", "fra座標方向インジケータ", nullptr, "座標軸の表示サイズを1ずつ変化させます", 2270, 990, 240, 300},

    {ControlKind::Frame, "fra視点設定", "Picture1", "視点設定", "3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", 60, 2940, 2760, 1380},
    {ControlKind::Label, "lblrf", "fra視点設定", "ｒ （ ＞0 ）", nullptr, 120, 300, 1100, 240},
    {ControlKind::Text, "txtrf", "fra視点設定", "1000", "建物原点から視点までの距離", 1250, 270, 1000, 300},
    {ControlKind::Spin, "UpDownrf", "fra視点設定", nullptr, "左のLookFromのｒ値を100ずつ変化させます", 2270, 270, 240, 300},
    {ControlKind::Label, "lblθf", "fra視点設定", "θ（0～180）", nullptr, 120, 660, 1100, 240},
    {ControlKind::Text, "txtθf", "fra視点設定", "90",
     "目の縦位置を指定します。　真上（Ｚ軸方向）を ０°とし、時計回りで水平方向を ９０°とします。", 1250, 630, 1000, 300},
    {ControlKind::Spin, "UpDownθf", "fra視点設定", nullptr, "左のLookFromのθ値を10ずつ変化させます", 2270, 630, 240, 300},
    {ControlKind::Label, "lblφf", "fra視点設定", "φ（0～360）", nullptr, 120, 1020, 1100, 240},
    {ControlKind::Text, "txtφf", "fra視点設定", "0",
     "目の横位置を指定します。　Ｘ軸方向を ０°とし、上から見て反時計回りでＹ軸方向を ９０°とします。", 1250, 990, 1000, 300},
    {ControlKind::Spin, "UpDownφf", "fra視点設定", nullptr, "左のLookFromのφ値を10ずつ変化させます", 2270, 990, 240, 300},

    {ControlKind::Frame, "fraLookAt", "Picture1", " Look At ", "3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", 60, 4380, 2760, 1380},
    {ControlKind::Label, "lblra", "fraLookAt", "ｒ （ ＞0 ）", nullptr, 120, 300, 1100, 240},
    {ControlKind::Text, "txtra", "fraLookAt", "0", "点Aのｒ方向、3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", 1250, 270, 1000, 300},
    {ControlKind::Spin, "UpDownra", "fraLookAt", nullptr, "左のLookAtのｒ値を100ずつ変化させます", 2270, 270, 240, 300},
    {ControlKind::Label, "lblθa", "fraLookAt", "θ（0～180）", nullptr, 120, 660, 1100, 240},
    {ControlKind::Text, "txtθa", "fraLookAt", "0", "点Aのθ方向、3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", 1250, 630, 1000, 300},
    {ControlKind::Spin, "UpDownθa", "fraLookAt", nullptr, "左のLookAtのθ値を10ずつ変化させます", 2270, 630, 240, 300},
    {ControlKind::Label, "lblφa", "fraLookAt", "φ（0～360）", nullptr, 120, 1020, 1100, 240},
    {ControlKind::Text, "txtφa", "fraLookAt", "0", "点Aのφ方向、3次元球極系において点F(LookFrom)から点A(LookAt)を見ているとします", 1250, 990, 1000, 300},
    {ControlKind::Spin, "UpDownφa", "fraLookAt", nullptr, "左のLookAtのφ値を10ずつ変化させます", 2270, 990, 240, 300},

    {ControlKind::PictureButton, "cmdMCenter", "Picture1", nullptr,
     "ラーメン図、変位図、応力図のすべての表示位置を、センター表示で統一します", 120, 5880, 500, 460},
    {ControlKind::Button, "cmdConstZoom", "Picture1", "現在の倍率に合す",
     "ラーメン図、変位図、応力図のすべての表示倍率を、現在の表示倍率で統一します", 700, 5880, 2100, 460},
    {ControlKind::Button, "cmdDRAW", "Picture1", "再描画", "入力されている調整値に従い、ラーメン図を再描画します", 120, 6440, 1300, 460},
    {ControlKind::Check, "chkSyncPreview", "Picture1", "同時処理",
     "オンにしておくと、上の調整値のいずれかが入力されるたびに、ラーメン図を再描画します", 1520, 6520, 1300, 300},
};

// Range and step of each spin control of the side panel: minimum, maximum,
// and the step of the up arrow.
struct SpinRange {
    const char* name;
    double minimum, maximum, upStep;
};
const SpinRange kSpinRanges[] = {
    {"UpDownX", -32767, 32767, 10},       {"UpDownY", -32767, 32767, -10},     {"UpDownzoom", 1, 32767, 100},
    {"UpDownCoordX", 0, 32767, 10},       {"UpDownCoordY", 0, 32767, -10},     {"UpDownCoordSize", 0, 32767, 0.1},
    {"UpDownrf", 0, 32767, 100},          {"UpDownθf", 0, 180, -10},           {"UpDownφf", 0, 360, 10},
    {"UpDownra", 0, 32767, 100},          {"UpDownθa", 0, 180, 10},            {"UpDownφa", 0, 360, 10},
    {"upnCase", 1, 16, 1},
};

// The controls whose texts or values make up the window's view boxes.
const char* const kCheckBoxes[] = {"chkSyncPreview", "chkDrawJnt", "chkDrawEle", "chkDrawMat", "chkDrawCoord",
                                   "chkDrawEleOnly"};

QIcon PageIcon(QStyle* style, QStyle::StandardPixmap pixmap) { return style->standardIcon(pixmap); }

// The picture of cmdMCenter: a cross in a circle.
QIcon CentreIcon()
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawEllipse(QRectF(4, 4, 16, 16));
    p.drawLine(QPointF(12, 1), QPointF(12, 23));
    p.drawLine(QPointF(1, 12), QPointF(23, 12));
    return QIcon(pm);
}

// The progress window of a results report build.
class ProgressWindow : public report::BuildProgress {
public:
    void Begin(int maximum) override
    {
        frmAnalyze* f = AnalyzeForm();
        f->Command1->setText(QStringLiteral("ｷｬﾝｾﾙ"));
        f->Label1->setText(QStringLiteral("処理中．．．"));
        f->Bar->setValue(0);
        // No user input gets through while the build waits for the first paint.
        f->ShowAndAwaitFirstPaint(QEventLoop::ExcludeUserInputEvents);
        f->ProgressBar1->setVisible(false);
        f->ProgressBar2->setVisible(false);
        f->Bar->setMaximum(maximum);
    }
    void Set(int value) override
    {
        frmAnalyze* f = AnalyzeForm();
        f->Bar->setValue(std::min(value, f->Bar->maximum()));
        f->Refresh();
    }
    void End() override { ReleaseAnalyzeForm(); }
};

}  // namespace

frmPreview::frmPreview() : forms::Form(QStringLiteral("frmPreview"))
{
    SetClientSizeTw(kDesignWidth, kDesignHeight);
    BuildWindow();
    BuildMenus();
    ConnectHandlers();
}

void frmPreview::BuildWindow()
{
    vsp = new preview::PreviewWidget(this);
    vsp->setObjectName(QStringLiteral("vsp"));
    report::BuildControls(this, kControls);

    Picture1 = report::FindControlOrDie(this, QStringLiteral("Picture1"));
    Picture2 = report::FindControlOrDie(this, QStringLiteral("Picture2"));
    for (int i = 0; i < 2; ++i) {
        Frame[i] = report::Control<QGroupBox>(this, QStringLiteral("Frame(%1)").arg(i));
        cmd全体[i] = report::Control<QPushButton>(this, QStringLiteral("cmd全体(%1)").arg(i));
        cmd拡大[i] = report::Control<QPushButton>(this, QStringLiteral("cmd拡大(%1)").arg(i));
        cmd縮小[i] = report::Control<QPushButton>(this, QStringLiteral("cmd縮小(%1)").arg(i));
        frameTop_[i] = Frame[i]->y();
    }
    txtinp = report::Control<QLineEdit>(this, QStringLiteral("txtinp"));
    cmdP指定 = report::Control<QPushButton>(this, QStringLiteral("cmdP指定"));
    cmdMF = report::Control<QToolButton>(this, QStringLiteral("cmdMF"));
    cmdMP = report::Control<QToolButton>(this, QStringLiteral("cmdMP"));
    cmdMN = report::Control<QToolButton>(this, QStringLiteral("cmdMN"));
    cmdML = report::Control<QToolButton>(this, QStringLiteral("cmdML"));
    lblAP = report::Control<QLabel>(this, QStringLiteral("lblAP"));
    lblCP = report::Control<QLabel>(this, QStringLiteral("lblCP"));
    cmd基準 = report::Control<QPushButton>(this, QStringLiteral("cmd基準"));
    cmdPrint = report::Control<QPushButton>(this, QStringLiteral("cmdPrint"));
    cmdPreviewInfoSetUp = report::Control<QPushButton>(this, QStringLiteral("cmdPreviewInfoSetUp"));
    cmdMentPreview = report::Control<QPushButton>(this, QStringLiteral("cmdMentPreview"));
    cmdClose = report::Control<QPushButton>(this, QStringLiteral("cmdClose"));
    opnHeni = report::Control<QRadioButton>(this, QStringLiteral("opnHeni"));
    opnOurk = report::Control<QRadioButton>(this, QStringLiteral("opnOurk"));
    lblchkCase = report::Control<QCheckBox>(this, QStringLiteral("lblchkCase"));
    txtCase = report::Control<QLineEdit>(this, QStringLiteral("txtCase"));
    upnCase = report::Control<diagram::UpDownControl>(this, QStringLiteral("upnCase"));
    cmdCase指定 = report::Control<QPushButton>(this, QStringLiteral("cmdCase指定"));
    chkDrawJnt = report::Control<QCheckBox>(this, QStringLiteral("chkDrawJnt"));
    chkDrawEle = report::Control<QCheckBox>(this, QStringLiteral("chkDrawEle"));
    chkDrawMat = report::Control<QCheckBox>(this, QStringLiteral("chkDrawMat"));
    chkDrawCoord = report::Control<QCheckBox>(this, QStringLiteral("chkDrawCoord"));
    chkDrawEleOnly = report::Control<QCheckBox>(this, QStringLiteral("chkDrawEleOnly"));
    chkSyncPreview = report::Control<QCheckBox>(this, QStringLiteral("chkSyncPreview"));
    cmdDRAW = report::Control<QPushButton>(this, QStringLiteral("cmdDRAW"));
    cmdConstZoom = report::Control<QPushButton>(this, QStringLiteral("cmdConstZoom"));
    cmdMCenter = report::Control<QToolButton>(this, QStringLiteral("cmdMCenter"));
    BindLayoutControls();

    QStyle* st = style();
    cmdMF->setIcon(PageIcon(st, QStyle::SP_MediaSkipBackward));
    cmdMP->setIcon(PageIcon(st, QStyle::SP_MediaSeekBackward));
    cmdMN->setIcon(PageIcon(st, QStyle::SP_MediaSeekForward));
    cmdML->setIcon(PageIcon(st, QStyle::SP_MediaSkipForward));
    cmdMCenter->setIcon(CentreIcon());
    for (const SpinRange& r : kSpinRanges)
        report::Control<diagram::UpDownControl>(this, QString::fromUtf8(r.name))->SetSteps(r.upStep, r.minimum, r.maximum);
    txtCase->setReadOnly(true);
    txtCase->setAlignment(Qt::AlignRight);
    txtinp->installEventFilter(this);
    // The layout panel waits hidden until the layout mode shows it.
    Picture1->setVisible(false);
}

void frmPreview::BuildMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuFile = menuBar->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuEdit = menuBar->addMenu(QStringLiteral("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    auto item = [this](QMenu* menu, const char* name, const char* caption, Qt::Key key = Qt::Key_unknown) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        if (key != Qt::Key_unknown) {
            a->setShortcut(QKeySequence(key));
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);   // the key works while the menu is closed
        }
        return a;
    };
    mnuPreviewInfoSetUp = item(mnuFile, "mnuPreviewInfoSetUp", "表示内容指定");
    mnuMentPreview = item(mnuFile, "mnuMentPreview", "表示位置調整");
    mnuPrint = item(mnuFile, "mnuPrint", "印刷");
    mnuFile->addSeparator();
    mnuBack = item(mnuFile, "mnuBack", "閉じる");

    mnuControl = item(mnuEdit, "mnuControl", "コントロールパネルを表示する");
    mnuControl->setCheckable(true);
    mnuControl->setChecked(true);
    mnuEdit->addSeparator();
    mnuMF = item(mnuEdit, "mnuMF", "最初のページへ...", Qt::Key_F5);
    mnuMP = item(mnuEdit, "mnuMP", "前のページへ...", Qt::Key_F6);
    mnuMN = item(mnuEdit, "mnuMN", "次のページへ", Qt::Key_F7);
    mnuML = item(mnuEdit, "mnuML", "最後のページへ...", Qt::Key_F8);
    mnuEdit->addSeparator();
    mnu全体 = item(mnuEdit, "mnu全体", "全体表示", Qt::Key_F1);
    mnu表示 = item(mnuEdit, "mnu表示", "基準表示", Qt::Key_F2);
    mnu拡大 = item(mnuEdit, "mnu拡大", "拡大", Qt::Key_F3);
    mnu縮小 = item(mnuEdit, "mnu縮小", "縮小", Qt::Key_F4);
}

void frmPreview::ConnectHandlers()
{
    connect(cmdP指定, &QPushButton::clicked, this, [this] { cmdP指定_Click(); });
    connect(cmdMF, &QToolButton::clicked, this, [this] { cmdMF_Click(); });
    connect(cmdMP, &QToolButton::clicked, this, [this] { cmdMP_Click(); });
    connect(cmdMN, &QToolButton::clicked, this, [this] { cmdMN_Click(); });
    connect(cmdML, &QToolButton::clicked, this, [this] { cmdML_Click(); });
    connect(cmd基準, &QPushButton::clicked, this, [this] { cmd基準_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(cmd全体[i], &QPushButton::clicked, this, [this, i] { cmd全体_Click(i); });
        connect(cmd拡大[i], &QPushButton::clicked, this, [this, i] { cmd拡大_Click(i); });
        connect(cmd縮小[i], &QPushButton::clicked, this, [this, i] { cmd縮小_Click(i); });
    }
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdPreviewInfoSetUp, &QPushButton::clicked, this, [this] { cmdPreviewInfoSetUp_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(chkSyncPreview, &QCheckBox::clicked, this, [this] {
        if (!formLoading_) UpdateDrawButton();
    });

    connect(mnuPreviewInfoSetUp, &QAction::triggered, this, [this] { cmdPreviewInfoSetUp_Click(); });
    connect(mnuPrint, &QAction::triggered, this, [this] { cmdPrint_Click(); });
    connect(mnuBack, &QAction::triggered, this, [this] { cmdClose_Click(); });
    connect(mnuControl, &QAction::triggered, this, [this] { mnuControl_Click(); });
    connect(mnuMF, &QAction::triggered, this, [this] { cmdMF_Click(); });
    connect(mnuMP, &QAction::triggered, this, [this] { cmdMP_Click(); });
    connect(mnuMN, &QAction::triggered, this, [this] { cmdMN_Click(); });
    connect(mnuML, &QAction::triggered, this, [this] { cmdML_Click(); });
    connect(mnu全体, &QAction::triggered, this, [this] { cmd全体_Click(0); });
    connect(mnu表示, &QAction::triggered, this, [this] { cmd基準_Click(); });
    connect(mnu拡大, &QAction::triggered, this, [this] { cmd拡大_Click(0); });
    connect(mnu縮小, &QAction::triggered, this, [this] { cmd縮小_Click(0); });

    ConnectLayoutHandlers();

    // Every page change, by the buttons or by the control's own gestures.
    connect(vsp, &preview::PreviewWidget::PreviewPageChanged, this, [this](int page) { OnPreviewPageChanged(page); });
}

bool frmPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* box = qobject_cast<QLineEdit*>(watched); box && box != txtinp && HandleEntryBoxEvent(box, event))
        return true;
    if (watched == txtinp && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int16_t ascii = KeyAsciiOf(key);
        if (ascii != 0 && FilterNumericKey(ascii, true, true) == 0) return true;
    }
    if (watched == txtinp && event->type() == QEvent::MouseButtonRelease) SelectEntryBox(txtinp);
    return forms::Form::eventFilter(watched, event);
}

// ---- load and close ---------------------------------------------------------

void frmPreview::Form_Load()
{
    prpLoaded_ = false;
    formLoading_ = true;
    Program().PageCounter = 0;
    try {
        LoadSteps();
    } catch (...) {
        // The caller destroys the window and tells the user.
        loadFailed_ = true;
        CloseSharedData();
        return;
    }
    if (loadStopped_) return;
    formLoading_ = false;
    prpLoaded_ = true;
}

void frmPreview::LoadSteps()
{
    // The main menu closed the shared data before the window opened: the
    // shared connection is the window's own until CloseSharedData.
    Program().SharedDatabase = dao::Database::Open(kWorkingDatabase);
    if (!CheckModelPresent()) {
        loadStopped_ = true;
        Unload();
        return;
    }
    Picture1->setVisible(false);
    ReadUnitFlag(Program().UnitIsSI);
    ReadLoadCaseCount(Program().LoadCaseCount);
    RestoreWindowPlacement();
    loadedView_ = diagram::LoadViewParameters(diagram::kPreviewRecord);
    ApplyViewBoxes(diagram::ViewToBoxes(loadedView_, diagram::kPreviewRecord));
    SetControlsForScreen();
    InitPrintPreviewControl();
    ClearToolTipsIfOff(this);

    const auto nodes = diagram::ReadNodeCoordinates(*Program().SharedDatabase);
    if (!nodes) rt::Raise(rt::ErrDatabaseIO, nodes.error());
    bounds_ = diagram::ComputeModelBounds(*nodes);
    UpdateDrawButton();
    Form_Resize();
    Program().ZoomBaseUnit = diagram::ComputeFitScale(*nodes, rt::CLng(forms::Tw(vsp->width())),
                                                      rt::CLng(forms::Tw(vsp->height())));

    if (Program().ScreenCode == ScreenFramePreview) {
        mnuPreviewInfoSetUp->setEnabled(false);
        cmdPreviewInfoSetUp->setEnabled(false);
        SetWindowCaption(ScreenFramePreview, this);
        MakePreviewDocument(report::kModeFrame);
    } else if (Program().ScreenCode == ScreenResultsPreview) {
        SetWindowCaption(ScreenResultsPreview, this);
        cmdPreviewInfoSetUp_Click();
    }
}

bool frmPreview::CheckModelPresent()
{
    ProgramState& p = Program();
    auto lastIndex = [&](const QString& table) {
        dao::RecordsetPtr rs = p.SharedDatabase->OpenRecordset(table);
        const int count = rs->RecordCount();
        rs->Close();
        return count;
    };
    const int nodes = lastIndex(QStringLiteral("節点座標1"));
    const int members = lastIndex(QStringLiteral("要素情報"));
    p.NodeUpperIndex = static_cast<int16_t>(std::clamp(nodes - 1, 0, 32767));
    p.MemberUpperIndex = static_cast<int16_t>(std::clamp(members - 1, 0, 32767));
    if (nodes > 0 && members > 0) return true;
    ui::Beep();
    p.MsgResult = static_cast<int16_t>(
        ui::MsgBox(QStringLiteral("節点データ、または部材データが登録されていません。このままラーメン図のプレビューの作成を続けると\r\n"
                                  "予期せぬエラーが発生してアプリケーションが終了することもあります。プレビューの作成を終了しますか？"),
                   ui::Icon::Question | ui::Buttons::YesNo, AppTitle));
    return p.MsgResult != ui::Answer::Yes;
}

void frmPreview::SetControlsForScreen()
{
    if (Program().ScreenCode == ScreenFramePreview) {
        txtCase->setText(QString());
        for (QWidget* w : std::initializer_list<QWidget*>{txtCase, lblchkCase, cmdCase指定, upnCase, chkDrawEleOnly, opnHeni, opnOurk})
            w->setEnabled(false);
    } else if (Program().ScreenCode == ScreenResultsPreview) {
        txtCase->setText(QStringLiteral(" 1"));
        opnHeni->setChecked(true);
    }
}

void frmPreview::InitPrintPreviewControl()
{
    vsp->SetPageMargins(1000);
    vsp->SetFontStyleFlags(false, false, false, false);
    vsp->SetHeaderFontSize(11);
    vsp->SetHeaderFontName(QStringLiteral("ＭＳ Ｐゴシック"));
    vsp->SetPageStyle(7);
    vsp->SetPenWidth(0);
    vsp->SetZoomMaximum(250);
    vsp->SetZoomMinimum(37);
    vsp->SetZoomStep(kZoomStep);
    vsp->SetZoomPercent(reg::GetNumber(kSettingsSection, QStringLiteral("VSPrinterZoom"), 95));
}

void frmPreview::UpdateDrawButton() { cmdDRAW->setEnabled(!chkSyncPreview->isChecked()); }

void frmPreview::RestoreWindowPlacement()
{
    // By default the window's design size is centred on the screen of the
    // main menu that opens it, then takes that screen's size.
    RestoreSizedPlacement(this, kSettingsSection,
                          {QStringLiteral("PreviewLeft"), QStringLiteral("PreviewTop"), QStringLiteral("PreviewWidth"),
                           QStringLiteral("PreviewHeight")},
                          WorkingScreenArea());
}

void frmPreview::SaveWindowPlacement()
{
    if (IsMinimized()) return;
    auto save = [](const char* key, double v) {
        reg::SaveSetting(kSettingsSection, QString::fromUtf8(key), rt::CStrSingle(static_cast<float>(v)));
    };
    save("PreviewLeft", LeftTw());
    save("PreviewTop", TopTw());
    save("PreviewWidth", forms::Tw(width()));
    save("PreviewHeight", forms::Tw(height()));
    reg::SaveSetting(kSettingsSection, QStringLiteral("VSPrinterZoom"), rt::CStrDouble(vsp->ZoomPercent()));
}

void frmPreview::Form_Resize()
{
    if (!vsp) return;
    const double menuH = forms::Tw(menuBar->sizeHint().height());
    menuBar->setGeometry(0, 0, width(), menuBar->sizeHint().height());
    const double w = forms::Tw(width());
    const double h = forms::Tw(height()) - menuH;
    const double left = !Picture1->isHidden() ? forms::Tw(Picture1->width()) : 0;
    const double vspW = std::max(0.0, w - left - 100);
    double vspH = 0;
    if (!Picture2->isHidden()) {
        vspH = std::max(0.0, h - forms::Tw(Picture2->height()) - 300);
        Picture2->move(forms::Px(std::max(0.0, w - forms::Tw(Picture2->width()) - 200)), forms::Px(menuH + vspH + 50));
    } else {
        vspH = std::max(0.0, h - 100);
    }
    Picture1->move(0, forms::Px(menuH));
    forms::PlaceTw(vsp, left, menuH, vspW, vspH);
    vsp->SetScrollStepLarge(vspH / 5);
    vsp->SetScrollStepSmall(vspH / 20);
}

void frmPreview::Form_QueryUnload(bool& cancel, int unloadMode)
{
    if (loadStopped_ || loadFailed_) {
        // The window never took over: the main menu stays as it is.
        CloseSharedData();
        return;
    }
    if (building_) {
        cancel = true;
        return;
    }
    if (unloadMode == forms::UnloadFromCloseBox) {
        CloseSharedData();
        try { forms::UnloadOtherForms(); } catch (...) {}
    }
    try {
        if (CurrentPreviewServices().compactDatabase) CurrentPreviewServices().compactDatabase();
    } catch (...) {}
    try { SaveWindowPlacement(); } catch (...) {}
    try { diagram::SaveViewBoxes(diagram::kPreviewRecord, ViewBoxesOfWindow(), loadedView_); } catch (...) {}
    try { ShowMainMenuAgain(); } catch (...) {}
}

void frmPreview::Form_Unload(bool&)
{
    prpLoaded_ = false;
    deleteLater();
}

void frmPreview::cmdClose_Click()
{
    if (!InLayoutMode()) {
        CloseSharedData();
        forms::UnloadAllForms();
        return;
    }
    SetLayoutMode(false);
    MakePreviewDocument(ScreenMode());
    RestoreViewState();
}

// ---- view boxes ---------------------------------------------------------------

diagram::ViewBoxes frmPreview::ViewBoxesOfWindow() const
{
    diagram::ViewBoxes boxes;
    for (QLineEdit* box : Picture1->findChildren<QLineEdit*>()) boxes.push_back({box->objectName(), box->text()});
    for (const char* name : kCheckBoxes) {
        auto* check = report::Control<QCheckBox>(this, QString::fromUtf8(name));
        boxes.push_back({check->objectName(), check->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    }
    boxes.push_back({QStringLiteral("txtCase"), txtCase->text()});
    boxes.push_back({QStringLiteral("opnHeni"), opnHeni->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    boxes.push_back({QStringLiteral("opnOurk"), opnOurk->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    return boxes;
}

void frmPreview::ApplyViewBoxes(const diagram::ViewBoxes& boxes)
{
    for (const diagram::ViewBox& b : boxes) SetBoxText(b.control, b.text);
}

void frmPreview::SetBoxText(const QString& control, const QString& text)
{
    QWidget* w = findChild<QWidget*>(control);
    if (auto* box = qobject_cast<QLineEdit*>(w); box && box->parentWidget() && Picture1->isAncestorOf(box))
        box->setText(text);
    else if (auto* check = qobject_cast<QCheckBox*>(w))
        check->setChecked(text.trimmed() == QLatin1String("1"));
}

// ---- building the document ----------------------------------------------------

report::ReportContext frmPreview::MakeReportContext()
{
    ProgramState& p = Program();
    report::ReportContext ctx(*vsp, *p.SharedDatabase);
    ctx.info = p.PreviewInfo;
    ctx.header = p.ReportHeader;
    ctx.unitIsSI = p.UnitIsSI;
    ctx.loadCaseCount = p.LoadCaseCount;
    ctx.screenCode = p.ScreenCode;
    ctx.boxes = ViewBoxesOfWindow();
    ctx.bounds = bounds_;
    ctx.zoomBaseUnit = p.ZoomBaseUnit;
    return ctx;
}

report::BuildOutcome frmPreview::MakePreviewDocument(const QString& mode)
{
    if (!Program().SharedDatabase) return report::BuildOutcome::Failed;
    SetEnabledState(false);
    SetBusyPointer(true);
    building_ = true;
    report::ReportContext ctx = MakeReportContext();
    ProgressWindow progress;
    const report::BuildResult result =
        report::BuildReportDocument(ctx, mode, &progress, CurrentPreviewServices().chapters);
    building_ = false;

    if (result.outcome == report::BuildOutcome::Succeeded) {
        documentMode_ = mode;
        // A layout picture shows the placement it used.
        for (const char* name : {"txtX", "txtY", "txtzoom"}) {
            const QString text = ctx.BoxText(QString::fromUtf8(name));
            if (!text.isEmpty()) SetBoxText(QString::fromUtf8(name), text);
        }
        ShowPageCounts(mode);
        SetBusyPointer(false);
        SetEnabledState(true);
        return result.outcome;
    }

    documentMode_.clear();
    if (result.outcome == report::BuildOutcome::Cancelled) {
        vsp->DiscardDocument();
        lblAP->setText(QString::number(vsp->PageCount()));
        lblCP->setText(QString::number(vsp->PreviewPage()));
        SetBusyPointer(false);
        SetEnabledState(true);
        return result.outcome;
    }
    if (!result.message.text.isEmpty()) report::ShowReportMessage(result.message);
    const bool cleared = ResetPreviewCombination();
    report::ShowReportMessage({report::BuildFailedMessage(), ui::Icon::Information, true});
    if (!cleared) {
        // The next opening of the display contents reads the file, which
        // still holds the combination the build failed with.
        report::ShowReportMessage({report::kContentsNotStored
                                       + QStringLiteral("\r\n次回の表示内容指定には、今回の荷重ケースの組み合わせが残ります。"),
                                   ui::Icon::Exclamation, true});
    }
    return result.outcome;
}

QString frmPreview::ScreenMode() const
{
    if (Program().ScreenCode == ScreenFramePreview) return report::kModeFrame;
    if (Program().ScreenCode == ScreenResultsPreview) return report::kModeResults;
    return QString();
}

int frmPreview::PageShift() { return Program().ScreenCode == ScreenResultsPreview ? 1 : 0; }

void frmPreview::ShowCurrentPage(int page)
{
    if (!ScreenMode().isEmpty()) lblCP->setText(QString::number(page - PageShift()));
}

void frmPreview::RefreshZoom()
{
    const double zoom = std::round(vsp->ZoomPercent());
    vsp->SetZoomPercent(43);
    vsp->SetZoomPercent(zoom);
}

void frmPreview::ShowPageCounts(const QString& mode)
{
    // Only the screen's own document numbers the pages; a layout picture
    // leaves the counts as they are.
    if (mode.isEmpty() || mode != ScreenMode()) return;
    lblAP->setText(QString::number(vsp->PageCount() - PageShift()));
    ShowCurrentPage(vsp->PreviewPage());
}

void frmPreview::OnPreviewPageChanged(int page)
{
    // A document being built shows its counts when it is done.
    if (!building_ && documentMode_ == ScreenMode()) ShowCurrentPage(page);
}

bool frmPreview::ResetPreviewCombination()
{
    vsp->DiscardDocument();
    RefreshZoom();
    vsp->SetPreviewPage(1);
    lblAP->setText(QString::number(vsp->PageCount()));
    lblCP->setText(QString::number(vsp->PreviewPage()));
    SetBusyPointer(false);
    SetEnabledState(true);
    return report::ClearStoredCombination(Program().PreviewInfo);
}

void frmPreview::SaveViewState()
{
    SetEnabledState(false);
    savedPreviewPage_ = static_cast<int16_t>(std::clamp(vsp->PreviewPage(), 1, 32767));
    savedZoomPercent_ = static_cast<int16_t>(std::lround(vsp->ZoomPercent()));
    savedScrollLeft_ = vsp->ScrollLeft();
    savedScrollTop_ = vsp->ScrollTop();
    SetEnabledState(true);
}

void frmPreview::RestoreViewState()
{
    SetEnabledState(false);
    SetBusyPointer(true);
    // A rebuilt document opens on its first page; one that became shorter
    // than the page remembered shows its last page.
    vsp->SetPreviewPage(std::min<int>(savedPreviewPage_, vsp->PageCount()));
    vsp->SetZoomPercent(savedZoomPercent_);
    vsp->SetScrollLeft(savedScrollLeft_);
    vsp->SetScrollTop(savedScrollTop_);
    ShowCurrentPage(vsp->PreviewPage());
    SetBusyPointer(false);
    SetEnabledState(true);
}

// ---- pages and zoom -------------------------------------------------------------

void frmPreview::GoToPage(long long page)
{
    if (page > vsp->PageCount() || page < 1) {
        ui::Beep();
        return;
    }
    SetEnabledState(false);
    // Another page shows from its top (the control sees to that), scrolled
    // sideways as before: the zoom refresh would centre the old position.
    const double left = vsp->ScrollLeft();
    RefreshZoom();
    vsp->SetPreviewPage(static_cast<int>(page));
    vsp->SetScrollLeft(left);
    ShowCurrentPage(static_cast<int>(page));
    SetEnabledState(true);
}

void frmPreview::cmdP指定_Click()
{
    if (!rt::IsNumeric(txtinp->text())) {
        ui::Beep();
        return;
    }
    const double number = rt::Val(txtinp->text());
    txtinp->setText(rt::Format(number, QStringLiteral("0")));
    const double rounded = std::round(number);
    // A number no page can carry is refused like any page outside the document.
    if (!(std::fabs(rounded) < 1e15)) {
        ui::Beep();
        return;
    }
    const long long page = static_cast<long long>(rounded) + PageShift();
    if (!rt::FitsInteger(static_cast<double>(page))) {
        ui::Beep();
        return;
    }
    GoToPage(page);
}

void frmPreview::cmdMF_Click() { GoToPage(1); }
void frmPreview::cmdMP_Click() { GoToPage(static_cast<long long>(vsp->PreviewPage()) - 1); }
void frmPreview::cmdMN_Click() { GoToPage(static_cast<long long>(vsp->PreviewPage()) + 1); }
void frmPreview::cmdML_Click() { GoToPage(vsp->PageCount()); }
void frmPreview::cmd基準_Click() { ZoomPreview(QStringLiteral("PAGEWIDTH")); }
void frmPreview::cmd全体_Click(int) { ZoomPreview(QStringLiteral("WHOLE")); }
void frmPreview::cmd拡大_Click(int) { ZoomPreview(QStringLiteral("PLUS")); }
void frmPreview::cmd縮小_Click(int) { ZoomPreview(QStringLiteral("MINUS")); }

void frmPreview::ZoomPreview(const QString& kind)
{
    if (kind == QLatin1String("PLUS") && vsp->ZoomPercent() + kZoomStep > vsp->ZoomMaximum()) {
        ui::Beep();
        vsp->SetZoomPercent(vsp->ZoomMaximum());
        return;
    }
    if (kind == QLatin1String("MINUS") && vsp->ZoomPercent() - kZoomStep < vsp->ZoomMinimum()) {
        ui::Beep();
        vsp->SetZoomPercent(vsp->ZoomMinimum());
        return;
    }
    const int mode = vsp->ZoomMode();
    double z = vsp->ZoomPercent();
    if (kind == QLatin1String("WHOLE")) {
        vsp->SetZoomMode(preview::ZoomWholePage);
        z = std::round(vsp->ZoomPercent());
    } else if (kind == QLatin1String("PAGEWIDTH")) {
        vsp->SetZoomMode(preview::ZoomPageWidth);
        z = std::round(vsp->ZoomPercent());
    } else if (kind == QLatin1String("PLUS")) {
        z = std::round(vsp->ZoomPercent() + kZoomStep);
    } else if (kind == QLatin1String("MINUS")) {
        z = std::round(vsp->ZoomPercent() - kZoomStep);
    } else {
        return;
    }
    vsp->SetZoomMode(mode);
    vsp->SetZoomPercent(z);
}

void frmPreview::mnuControl_Click()
{
    Picture2->setVisible(mnuControl->isChecked());
    Form_Resize();
}

// ---- display contents -------------------------------------------------------------

void frmPreview::cmdPreviewInfoSetUp_Click()
{
    frmPreviewInfoSetUp dialog(this);
    RunPreviewInfoDialog(dialog);
    if (Program().PreviewInfo.Confirmed != -1) return;
    const QString mode = ScreenMode();
    if (mode.isEmpty()) return;
    SaveViewState();
    MakePreviewDocument(mode);
    RestoreViewState();
}

// ---- printing -----------------------------------------------------------------

void frmPreview::InitPrintRequest()
{
    PrintRequestRecord& r = Program().PrintRequest;
    auto labelNumber = [](const QLabel* label) {
        const double v = std::round(rt::Val(label->text()));
        return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
    };
    r.Confirmed = 0;
    r.TotalPages = labelNumber(lblAP);
    r.CurrentPage = labelNumber(lblCP);
    if (!ScreenMode().isEmpty()) r.FromPage = r.ToPage = r.StartPage = static_cast<int16_t>(1 - PageShift());
    r.Copies = 1;
}

void frmPreview::cmdPrint_Click()
{
    if (vsp->PageCount() == 0) {
        ui::Beep();
        return;
    }
    QString pdfPath;
    if (!ChoosePrintDestination(pdfPath)) return;

    SetEnabledState(false);
    SetBusyPointer(true);
    const QString device = vsp->PrinterDevice();
    bool saved = false;
    bool ok = true;
    try {
        vsp->SetPrintOption(1);
        if (pdfPath.isEmpty()) vsp->SetPrinterDevice(Program().PrintRequest.PrinterName);
        if (Program().PrintRequest.StartPageRequested != 0) ok = RenumberForPrint(saved);
        ok = ok && PrintDocument(pdfPath);
    } catch (...) {
        ok = false;
    }
    RecoverAfterPrint(saved, ok, device);
}

bool frmPreview::ChoosePrintDestination(QString& pdfPath)
{
    InitPrintRequest();
    {
        frmPrintInfoSetUp dialog(this);
        RunPrintDialog(dialog);
    }
    const PrintRequestRecord& request = Program().PrintRequest;
    if (request.Confirmed == 0) return false;
    pdfPath.clear();
    if (request.PrinterName != frmPrintInfoSetUp::PdfDestination()) return true;
    ui::FileDialogRequest ask;
    ask.title = QStringLiteral("PDF ファイルに印刷");
    ask.filter = QStringLiteral("PDF ファイル|*.pdf");
    ask.initialPath = CurrentPreviewServices().archiveFolder ? CurrentPreviewServices().archiveFolder() : QString();
    ask.defaultExtension = QStringLiteral("pdf");
    ask.fileName = report::TrimBlanks(Program().ReportHeader.ProjectName).replace(u'/', u'_');
    ask.confirmOverwrite = true;
    pdfPath = ui::Current().GetSaveFile(ask);
    return !pdfPath.isEmpty();
}

bool frmPreview::RenumberForPrint(bool& saved)
{
    // Whatever has the work file's name goes first: a link, not the file it
    // points to.
    QFile::remove(kPrintDocumentFile);
    if (!vsp->SaveDocument(kPrintDocumentFile)) return false;
    saved = true;
    SaveViewState();
    Program().PageCounter = -1;
    // A failed rebuild prints nothing.
    const bool rebuilt = MakePreviewDocument(ScreenMode()) == report::BuildOutcome::Succeeded;
    SetEnabledState(false);
    SetBusyPointer(true);
    return rebuilt;
}

// The preview gets its own document back, whether the print went through or
// not; a document that cannot be read back is a failed print.
void frmPreview::RecoverAfterPrint(bool saved, bool ok, const QString& printerDevice)
{
    if (saved) {
        if (!vsp->LoadDocument(kPrintDocumentFile)) ok = false;
        documentMode_ = ScreenMode();
        ShowPageCounts(documentMode_);
        RestoreViewState();
    }
    if (saved || !ok) QFile::remove(kPrintDocumentFile);
    vsp->SetPrinterDevice(printerDevice);
    if (ok) {
        SetWindowTopMost(this, forms::kTopMost);
        SetWindowTopMost(this, forms::kNotTopMost);
    }
    Program().PageCounter = 0;
    SetEnabledState(true);
    SetBusyPointer(false);
    if (!ok) {
        ui::Beep();
        Program().MsgResult =
            static_cast<int16_t>(ui::MsgBox(QStringLiteral("印刷中にエラーが発生しました。"), ui::Icon::Exclamation, AppTitle));
    }
}

// The requested pages, each copy the whole range, on the printer or into
// one PDF file.
bool frmPreview::PrintDocument(const QString& pdfPath)
{
    const PrintRequestRecord& r = Program().PrintRequest;
    const int first = r.FromPage + PageShift();
    const int last = r.ToPage + PageShift();
    if (pdfPath.isEmpty()) {
        for (int copy = 1; copy <= r.Copies; ++copy)
            if (!vsp->PrintPages(first, last)) return false;
        return true;
    }
    return preview::ExportPdf(vsp->CurrentDocument(), first, last, r.Copies, pdfPath);
}
