#include "app/frmMainmenu.h"

#include "core/MakeDatabase.h"
#include "platform/Runtime.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "app/AboutBox.h"
#include "core/ProgramState.h"
#include "app/InfoPage.h"
#include "app/MainMenuCommands.h"
#include "core/Messages.h"
#include "app/ProjectFiles.h"
#include "core/WindowHelpers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

using forms::PlaceTw;

namespace {

const char* const kInputItems[] = {
    "  1　基本データ",
    "  2　節 点 座 標",
    "  3　部材形状 1（断面性能直接入力）",
    "  4　部材形状 2（断面形状入力）",
    "  5　部 材 配 置",
    "  6　支 点 条 件",
    "  7　支 点 条 件 配 置",
    "  8　部 材 端 部 拘 束 条 件",
    "  9　部 材 端 部 拘 束 条 件 配 置",
    " 10　荷 重 形 状",
    " 11　荷 重 形 状 配 置",
    " 12　断面設計共通事項（断面設計用）",
    " 13　荷重の組合せ条件（断面設計用）",
};

const char* const kCancelWarningText =
    "各入力項目を<ｷｬﾝｾﾙ>ボタンで終える場合は、データに入力、訂正または削除等の修正が加えられていても、その内容は記録されず破棄されます。"
    "\r\n\r\n"
    "ここでは、それぞれの入力項目で<ｷｬﾝｾﾙ>ボタンがクリックされた時に、その旨警告メッセージを表示するかどうかを指定します。"
    "\r\n\r\n"
    "警告メッセージを表示させる場合は「<ｷｬﾝｾﾙ>時警告表示」にチェックを入れてください。";

QPointer<frmMainmenu> g_menu;

template <class W>
W* Make(QWidget* parent, const char* name)
{
    W* w = new W(parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* tip, double l, double t,
                    double wd, double h)
{
    QPushButton* b = Make<QPushButton>(parent, name);
    b->setText(QString::fromUtf8(caption));
    if (tip) b->setToolTip(QString::fromUtf8(tip));
    PlaceTw(b, l, t, wd, h);
    return b;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption, double l, double t, double wd, double h)
{
    QLabel* lb = Make<QLabel>(parent, name);
    lb->setText(QString::fromUtf8(caption));
    PlaceTw(lb, l, t, wd, h);
    return lb;
}

QGroupBox* Frame(QWidget* parent, const char* name, double l, double t, double wd, double h)
{
    QGroupBox* g = Make<QGroupBox>(parent, name);
    PlaceTw(g, l, t, wd, h);
    return g;
}

}  // namespace

frmMainmenu& MainMenuForm()
{
    if (!g_menu) g_menu = new frmMainmenu();
    return *g_menu;
}

bool MainMenuLoaded() { return g_menu && g_menu->IsLoaded(); }

QStringList frmMainmenu::InputItemTexts()
{
    QStringList out;
    for (const char* t : kInputItems) out << QString::fromUtf8(t);
    return out;
}

frmMainmenu::frmMainmenu() : forms::Form(QStringLiteral("frmMainmenu"))
{
    SetClientSizeTw(11235, 7470);
    // The design size: larger, the window would show the frames that lie
    // beyond it and leave the status bar short.
    setFixedSize(size());

    Image1 = Make<QFrame>(this, "Image1");
    Image1->setFrameShape(QFrame::Panel);
    Image1->setFrameShadow(QFrame::Sunken);
    Image1->setStyleSheet(QStringLiteral("#Image1 { background: #f4f1e8; }"));
    PlaceTw(Image1, 360, 120, 6135, 1815);

    Label1 = Label(this, "Label1", "工事名　：", 585, 360, 750, 180);
    Label1->setToolTip(QStringLiteral("現在選択されている工事データの工事名"));
    lblConstructionName = Label(this, "lblConstructionName", "", 1560, 360, 4575, 255);
    Label2 = Label(this, "Label2", "設計者　：", 585, 720, 750, 180);
    lblDesign = Label(this, "lblDesign", "", 1560, 735, 4575, 255);
    Label4 = Label(this, "Label4", "備　考　：", 645, 1125, 690, 180);
    lblnote = Label(this, "lblnote", "", 1560, 1125, 4575, 255);
    Label5 = Label(this, "Label5", "単位系　：", 600, 1500, 750, 180);
    lblUnit = Label(this, "lblUnit", "", 1560, 1500, 2415, 255);
    for (QLabel* l : {Label1, Label2, Label4, Label5, lblConstructionName, lblDesign, lblnote, lblUnit})
        l->setAttribute(Qt::WA_TranslucentBackground);
    Label8 = Label(this, "Label8", "入力項目メニュー", 360, 2400, 1350, 180);

    lstInputMenu = Make<QListWidget>(this, "lstInputMenu");
    lstInputMenu->setToolTip(QStringLiteral("ダブルクリックすると、選択されているデータに関する入力画面が表示されます"));
    PlaceTw(lstInputMenu, 360, 2640, 5055, 3210);
    lstInputMenu->installEventFilter(this);

    txtInputMenu = Make<QLineEdit>(this, "txtInputMenu");
    txtInputMenu->setToolTip(QStringLiteral("現在選択されている入力項目です"));
    txtInputMenu->setStyleSheet(QStringLiteral("background: #E0E0E0;"));
    PlaceTw(txtInputMenu, 8760, 480, 3735, 270);

    cmdInputData = Button(this, "cmdInputData", "入力",
                          "現在選択されている入力項目を入力する画面を表示します。リスト画面をダブルクリックすることもできます。",
                          5640, 3000, 1815, 375);
    cmdRamen = Button(this, "cmdRamen", "フレーム図表示",
                      "現在選択されている工事データのラーメン図を表示します。ラーメン図の印刷もここから実行します", 5640, 3480,
                      1815, 375);
    cmdAnalyze = Button(this, "cmdAnalyze", "応力計算開始", "現在選択されている工事データに対して応力計算を実行します",
                        5640, 3960, 1815, 375);
    cmdPreview = Button(this, "cmdPreview", "結果の表示・印刷",
                        "現在選択されている工事データの計算結果、変位図、応力図を表示します。計算結果や図の印刷もここから実行します。",
                        5640, 4440, 1815, 375);
    cmdMemberDesign = Button(this, "cmdMemberDesign", "断面設計開始", "断面設計はこのバージョンでは使用できません", 5640,
                             5040, 1815, 375);
    cmdMDPreview = Button(this, "cmdMDPreview", "結果の表示・印刷", "断面設計はこのバージョンでは使用できません", 5640,
                          5520, 1815, 375);
    cmdOpen = Button(this, "cmdOpen", "読み込み(&O)", "ZELKOVAが保管したデータを読み込みます", 6720, 600, 1335, 375);
    cmdSave = Button(this, "cmdSave", "保管(&S)", "現在の工事データを保管します", 6720, 1080, 1335, 375);
    cmdClear = Button(this, "cmdClear", "クリア(&N)",
                      "現在選択されているデータをクリアします。保管してあるデータには影響ありません。", 6720, 1560, 1335, 375);
    cmdバージョン情報 = Button(this, "cmdバージョン情報", "ﾊﾞｰｼﾞｮﾝ情報(&V)", "バージョン情報を表示します", 9000, 5880,
                               1935, 375);
    cmdEnd = Button(this, "cmdEnd", "終了(&X)", "アプリケーションを終了します", 9000, 6360, 1935, 375);

    Frame1 = Frame(this, "Frame1", 7920, 2640, 3015, 2895);
    Text1 = Make<QPlainTextEdit>(Frame1, "Text1");
    Text1->setReadOnly(true);
    PlaceTw(Text1, 120, 720, 2775, 1935);
    chkCancelMesege = Make<QCheckBox>(Frame1, "chkCancelMesege");
    chkCancelMesege->setText(QStringLiteral("<ｷｬﾝｾﾙ>時 警告表示"));
    PlaceTw(chkCancelMesege, 120, 240, 2295, 375);

    // These two frames lie right of the window's client area, as designed.
    Frame2 = Frame(this, "Frame2", 12120, 1560, 3255, 1935);
    chkInputCancel = Make<QCheckBox>(Frame2, "chkInputCancel");
    chkInputCancel->setText(QStringLiteral("ｷｬﾝｾﾙ時に確認ﾒｯｾｰｼﾞを出す"));
    chkInputCancel->setToolTip(
        QStringLiteral("データ入力画面で、キャンセルをクリックした場合、キャンセル処理を実行するかどうか？を選択します"));
    PlaceTw(chkInputCancel, 120, 240, 2655, 255);
    chkInputDelete = Make<QCheckBox>(Frame2, "chkInputDelete");
    chkInputDelete->setText(QStringLiteral("削除時に確認ﾒｯｾｰｼを出す"));
    chkInputDelete->setToolTip(
        QStringLiteral("データ入力時にデータを削除するごとに確認画面を出すかどうか？を選択します"));
    PlaceTw(chkInputDelete, 120, 600, 2535, 180);
    Label7 = Label(Frame2, "Label7",
                   "各入力画面にあるキャンセルボタン及び削除ボタンをクリックしたときに確認メッセージを出すかどうかを指定します。",
                   360, 960, 2775, 735);
    Label7->setWordWrap(true);

    Frame3 = Frame(this, "Frame3", 12120, 120, 2895, 1455);
    chkToolTipText = Make<QCheckBox>(Frame3, "chkToolTipText");
    chkToolTipText->setText(QStringLiteral("簡易説明の自動表示"));
    chkToolTipText->setToolTip(QStringLiteral(
        "オンにしておくと、各コントロール上に一定時間ポインタを置いておくと、そのコントロールに関する簡易説明が表示されます"));
    PlaceTw(chkToolTipText, 120, 240, 1935, 255);
    Label6 = Label(Frame3, "Label6",
                   "ボタン等コントロールにマウスが乗ったときそのコントロールの簡易説明を表示するかしないかを指定します。", 360,
                   600, 2415, 735);
    Label6->setWordWrap(true);

    StatusBar1 = Make<QStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    PlaceTw(StatusBar1, 0, 7125, 11235, 345);
    infoPanel = Make<QLabel>(StatusBar1, "StatusBar1_Panel1");
    infoPanel->setCursor(Qt::PointingHandCursor);
    infoPanel->installEventFilter(this);
    revisionPanel = Make<QLabel>(StatusBar1, "StatusBar1_Panel2");
    revisionPanel->installEventFilter(this);
    StatusBar1->addWidget(infoPanel, 1);
    StatusBar1->addPermanentWidget(revisionPanel);

    connect(lstInputMenu, &QListWidget::currentRowChanged, this, [this] { lstInputMenu_Click(); });
    connect(lstInputMenu, &QListWidget::itemDoubleClicked, this, [this] { lstInputMenu_DblClick(); });
    connect(lstInputMenu, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { lstInputMenu_ItemCheck(lstInputMenu->row(item)); });
    connect(cmdInputData, &QPushButton::clicked, this, [this] { cmdInputData_Click(); });
    connect(cmdRamen, &QPushButton::clicked, this, [this] { cmdRamen_Click(); });
    connect(cmdAnalyze, &QPushButton::clicked, this, [this] { cmdAnalyze_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(cmdOpen, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    connect(cmdバージョン情報, &QPushButton::clicked, this, [this] { cmdバージョン情報_Click(); });
    connect(chkToolTipText, &QCheckBox::stateChanged, this, [this] { chkToolTipText_Click(); });
    connect(chkInputCancel, &QCheckBox::stateChanged, this, [this] { chkInputCancel_Click(); });
    connect(chkInputDelete, &QCheckBox::stateChanged, this, [this] { chkInputDelete_Click(); });
    connect(chkCancelMesege, &QCheckBox::stateChanged, this, [this] { chkCancelMesege_Click(); });
    // The two section-design buttons have no action.
}

void frmMainmenu::Form_Load()
{
    Program().MenuUpdating = true;
    SetWindowCaption(ScreenMainMenu, this);
    revisionPanel->setText(QStringLiteral("rev. ") + QStringLiteral("080329"));
    infoPanel->setText(InfoPageTitle());
    RestoreMainMenuPosition();
    InitOptionCheckBoxes();
    ApplyMainMenuToolTips();
    FillInputMenu();
    Program().MenuUpdating = false;
    Program().MainMenuSwitching = false;
    cmdMemberDesign->setEnabled(true);
    cmdMDPreview->setEnabled(true);
    cmdMemberDesign->setText(QStringLiteral("断面設計開始"));
    cmdMDPreview->setText(QStringLiteral("結果の表示・印刷"));
    Text1->setPlainText(QString::fromUtf8(kCancelWarningText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    {
        // Setting the box must not change the option it shows.
        bool keep = Program().WarnOnCancel;
        chkCancelMesege->setChecked(Program().WarnOnCancel);
        Program().WarnOnCancel = keep;
    }
    SetEnabledState(true);
    SetBusyPointer(false);
}

void frmMainmenu::RestoreMainMenuPosition()
{
    // By default centred, frame and all, in the part of the primary screen
    // that the panels leave free. A place stored on a monitor that is gone
    // would leave the window out of reach: it is brought onto a screen.
    MoveOnScreenTw(reg::GetNumberIfStored(QStringLiteral("Mainmenu"), QStringLiteral("MainMenuLeft")),
                   reg::GetNumberIfStored(QStringLiteral("Mainmenu"), QStringLiteral("MainMenuTop")),
                   forms::AvailableScreenArea());
}

void frmMainmenu::SaveMainMenuSettings()
{
    if (!IsMinimized()) {
        reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("MainMenuLeft"), rt::CStrSingle(float(LeftTw())));
        reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("MainMenuTop"), rt::CStrSingle(float(TopTw())));
    }
    reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("LstInputIndex"),
                     rt::CStrInt(lstInputMenu->currentRow()));
}

void frmMainmenu::InitOptionCheckBoxes()
{
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!w->toolTip().isEmpty()) w->setProperty("tag", w->toolTip());
    }
    chkToolTipText->setChecked(reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkToolTipText"), true));
    chkInputDelete->setChecked(reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkDelete"), true));
    chkInputCancel->setChecked(reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkCancel"), true));
}

void frmMainmenu::FillInputMenu()
{
    lstInputMenu->clear();
    for (const QString& text : InputItemTexts()) {
        auto* item = new QListWidgetItem(text, lstInputMenu);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    RefreshMainMenu();
    int index = reg::GetInteger(QStringLiteral("Mainmenu"), QStringLiteral("LstInputIndex"), 0);
    if (index < 0 || index >= lstInputMenu->count()) index = 0;
    lstInputMenu->setCurrentRow(index);
    ShowSelectedInputItem();
}

void frmMainmenu::ShowSelectedInputItem()
{
    QListWidgetItem* item = lstInputMenu->currentItem();
    QString text = item ? item->text() : QString();
    txtInputMenu->setText(QStringLiteral("      ") + text.mid(1));
}

void frmMainmenu::lstInputMenu_Click()
{
    if (!Program().MenuUpdating) ShowSelectedInputItem();
}

void frmMainmenu::lstInputMenu_DblClick()
{
    int index = lstInputMenu->currentRow();
    if (index < 0) return;
    int code = index + 10201 + (index > 10 ? 20 : 0);
    RunMenuCommand(int16_t(code));
}

void frmMainmenu::lstInputMenu_KeyPress(int keyAscii)
{
    if (keyAscii == 13) lstInputMenu_DblClick();
}

void frmMainmenu::lstInputMenu_ItemCheck(int index)
{
    if (Program().MenuUpdating || index < 0) return;
    // Only the program sets the marks: the user's change is undone.
    Program().MenuUpdating = true;
    QListWidgetItem* item = lstInputMenu->item(index);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    Program().MenuUpdating = false;
}

void frmMainmenu::cmdInputData_Click() { lstInputMenu_DblClick(); }
void frmMainmenu::cmdRamen_Click() { RunMenuCommand(ScreenFramePreview); }
void frmMainmenu::cmdAnalyze_Click() { RunMenuCommand(ScreenAnalysis); }
void frmMainmenu::cmdPreview_Click() { RunMenuCommand(ScreenResultsPreview); }
void frmMainmenu::cmdOpen_Click() { OpenProject(); }
void frmMainmenu::cmdSave_Click() { SaveProject(); }
void frmMainmenu::cmdバージョン情報_Click() { ShowAboutBox(); }
void frmMainmenu::cmdEnd_Click() { Unload(); }

void frmMainmenu::cmdClear_Click()
{
    lstInputMenu->setFocus();
    ui::Beep();
    Program().MsgResult = ui::MsgBox(QStringLiteral("クリアを実行すると、保存していないデータは残りません。\r\n"
                                          "クリアを実行してもいいですか？"),
                           ui::Icon::Question | ui::Buttons::YesNo, AppTitle);
    if (Program().MsgResult == ui::Answer::No) return;
    SetEnabledState(false);
    SetBusyPointer(true);
    CloseSharedData();
    bool made = true;
    try {
        int16_t mode = 0;
        MakeDatabase(mode);
    } catch (...) {
        made = false;
        CloseSharedData();
    }
    // A clear that failed has left the old project in place: the menu shows it.
    RefreshMainMenu();
    if (!made) {
        SetBusyPointer(false);
        ShowDatabaseAccessMessage();
    }
    SetBusyPointer(false);
    SetEnabledState(true);
}

void frmMainmenu::chkToolTipText_Click()
{
    if (Program().MenuUpdating) return;
    reg::SaveBool(QStringLiteral("Public"), QStringLiteral("ChkToolTiptext"), chkToolTipText->isChecked());
    ApplyMainMenuToolTips();
}

void frmMainmenu::chkInputCancel_Click()
{
    if (Program().MenuUpdating) return;
    reg::SaveBool(QStringLiteral("Public"), QStringLiteral("ChkCancel"), chkInputCancel->isChecked());
}

void frmMainmenu::chkInputDelete_Click()
{
    if (Program().MenuUpdating) return;
    reg::SaveBool(QStringLiteral("Public"), QStringLiteral("ChkDelete"), chkInputDelete->isChecked());
}

void frmMainmenu::chkCancelMesege_Click() { Program().WarnOnCancel = chkCancelMesege->isChecked(); }

void frmMainmenu::StatusBar1_PanelClick(QLabel* panel)
{
    if (panel && panel == infoPanel) ShowInfoPage();
}

void frmMainmenu::Form_QueryUnload(bool& cancel, int unloadMode)
{
    SaveMainMenuSettings();
    if ((unloadMode == forms::UnloadFromCloseBox || unloadMode == forms::UnloadFromCode) && !Program().MainMenuSwitching) {
        ui::Beep();
        Program().MsgResult = ui::MsgBox(QStringLiteral("プログラムを終了してもいいですか？"), ui::Icon::Question | ui::Buttons::YesNo,
                               AppTitle);
        if (Program().MsgResult == ui::Answer::No) {
            cancel = true;
            return;
        }
        CloseSharedData();
        // The program's end writes what another copy keeps from being written now.
        reg::SyncIfFree();
        forms::EndProgram();
    }
}

bool frmMainmenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstInputMenu && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            lstInputMenu_KeyPress(13);
            return true;
        }
    }
    if ((watched == infoPanel || watched == revisionPanel) && event->type() == QEvent::MouseButtonRelease) {
        StatusBar1_PanelClick(static_cast<QLabel*>(watched));
        return false;
    }
    return forms::Form::eventFilter(watched, event);
}
