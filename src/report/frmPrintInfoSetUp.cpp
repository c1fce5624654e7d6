#include "report/frmPrintInfoSetUp.h"

#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "diagram/UpDownControl.h"
#include "platform/Runtime.h"
#include "platform/Ui.h"
#include "platform/preview/PreviewWidget.h"
#include "platform/preview/Printing.h"
#include "report/ReportContext.h"
#include "report/WindowControls.h"
#include "report/frmPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

using report::ControlKind;
using report::ControlLayout;

namespace {

const ControlLayout kControls[] = {
    {ControlKind::Label, "Label2", nullptr, "プリンタ名", nullptr, 240, 260, 1000, 240},
    {ControlKind::Combo, "cboPrinter", nullptr, nullptr, "印刷に使用するプリンタを選択します", 1300, 200, 5300, 330},
    {ControlKind::Label, "Label1", nullptr, "印刷範囲", nullptr, 240, 760, 1000, 240},
    {ControlKind::Option, "opnAllPage", nullptr, "全て", "表紙から最終ページまで全て印刷します", 480, 1060, 1400, 300},
    {ControlKind::Option, "OpnCurrentPage", nullptr, "現在頁",
     "現在プレビューで選択されているページ（右のテキストボックスに表示されているページ）のみを印刷します", 480, 1420, 1400, 300},
    {ControlKind::SunkenLabel, "lblCurrentPage", nullptr, "", "現在プレビューに表示されているページ数", 1900, 1400, 700, 330},
    {ControlKind::Option, "opnSelectPage", nullptr, "頁指定", nullptr, 480, 1780, 1400, 300},
    {ControlKind::Text, "txtFromPage", nullptr, "", "印刷するページ範囲の、最初のページ数を入力します", 1900, 1760, 700, 330},
    {ControlKind::Label, "lblFromPage", nullptr, "頁から", nullptr, 2680, 1800, 2900, 240},
    {ControlKind::Text, "txtToPage", nullptr, "", "印刷するページ範囲の、最後のページ数を入力します", 1900, 2160, 700, 330},
    {ControlKind::Label, "Label4", nullptr, "頁まで", nullptr, 2680, 2200, 900, 240},
    {ControlKind::Check, "chkStartPage", nullptr, " 開始頁番号を指定する",
     "ドキュメントに印刷するページの、最初のページ数を指定する場合はチェックを有効にします", 240, 2700, 2600, 300},
    {ControlKind::Text, "txtStartPage", nullptr, "", "ドキュメントに印刷するページの、最初のページ数を指定します", 2900, 2680, 700, 330},
    {ControlKind::Label, "Label7", nullptr, "頁", nullptr, 3680, 2720, 300, 240},
    {ControlKind::Label, "Label3", nullptr, "印刷するドキュメントの内容はそのままで、印刷する頁数を変更します。", nullptr, 480, 3080, 5100, 240},
    {ControlKind::Label, "Label5", nullptr, "印刷部数", nullptr, 240, 3600, 1000, 240},
    {ControlKind::Text, "txtCopy", nullptr, "", "印刷するドキュメントの印刷部数を入力します", 1300, 3560, 900, 330},
    {ControlKind::Spin, "UpDown", nullptr, nullptr, "印刷部数を1ずつ変化させます", 2210, 3560, 240, 330},
    {ControlKind::Button, "cmdOK", nullptr, "印刷", "印刷処理を実行します", 3600, 4200, 1400, 420},
    {ControlKind::Button, "cmdCancel", nullptr, "ｷｬﾝｾﾙ.", "印刷しないで印刷プレビューに戻ります", 5200, 4200, 1400, 420},
};

constexpr int kMaxCopies = 32767;

}  // namespace

QString frmPrintInfoSetUp::PdfDestination() { return QStringLiteral("PDF ファイル"); }

QString frmPrintInfoSetUp::NoPrinterEntry() { return QStringLiteral("** プリンタがインストールされていません **"); }

frmPrintInfoSetUp::frmPrintInfoSetUp(QWidget* owner) : forms::Form(QStringLiteral("frmPrintInfoSetUp"), owner)
{
    setWindowFlag(Qt::Dialog);
    SetClientSizeTw(6900, 4800);
    report::BuildControls(this, kControls);
    cboPrinter = report::Control<QComboBox>(this, QStringLiteral("cboPrinter"));
    opnAllPage = report::Control<QRadioButton>(this, QStringLiteral("opnAllPage"));
    OpnCurrentPage = report::Control<QRadioButton>(this, QStringLiteral("OpnCurrentPage"));
    lblCurrentPage = report::Control<QLabel>(this, QStringLiteral("lblCurrentPage"));
    opnSelectPage = report::Control<QRadioButton>(this, QStringLiteral("opnSelectPage"));
    txtFromPage = report::Control<QLineEdit>(this, QStringLiteral("txtFromPage"));
    lblFromPage = report::Control<QLabel>(this, QStringLiteral("lblFromPage"));
    txtToPage = report::Control<QLineEdit>(this, QStringLiteral("txtToPage"));
    chkStartPage = report::Control<QCheckBox>(this, QStringLiteral("chkStartPage"));
    txtStartPage = report::Control<QLineEdit>(this, QStringLiteral("txtStartPage"));
    txtCopy = report::Control<QLineEdit>(this, QStringLiteral("txtCopy"));
    UpDown = report::Control<diagram::UpDownControl>(this, QStringLiteral("UpDown"));
    cmdOK = report::Control<QPushButton>(this, QStringLiteral("cmdOK"));
    cmdCancel = report::Control<QPushButton>(this, QStringLiteral("cmdCancel"));
    lblCurrentPage->setStyleSheet(QStringLiteral("QLabel { background: #E0E0E0; }"));
    UpDown->SetSteps(1, 1, kMaxCopies);
    opnAllPage->setChecked(true);

    for (QLineEdit* box : {txtFromPage, txtToPage, txtStartPage, txtCopy}) {
        box->setAlignment(Qt::AlignRight);
        box->installEventFilter(this);
    }
    for (QRadioButton* option : {opnAllPage, OpnCurrentPage, opnSelectPage}) {
        option->installEventFilter(this);
        connect(option, &QRadioButton::toggled, this, [this, option](bool on) {
            if (on) EnablePageRange(option == opnSelectPage);
        });
    }
    connect(chkStartPage, &QCheckBox::toggled, this, [this] { EnableStartPageBox(); });
    connect(UpDown, &diagram::UpDownControl::UpClick, this, [this] { StepCopies(1); });
    connect(UpDown, &diagram::UpDownControl::DownClick, this, [this] { StepCopies(-1); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    CancelWithEscape(this, cmdCancel);
}

void frmPrintInfoSetUp::Form_Load()
{
    SetWindowCaption(ScreenPrintSettings, this);
    ClearToolTipsIfOff(this);
    FillPrinterList();
    FillFromPrintRequest();
}

void frmPrintInfoSetUp::FillPrinterList()
{
    cboPrinter->clear();
    // The printer of the preview the dialog belongs to is chosen at first.
    const auto* owner = qobject_cast<const frmPreview*>(parentWidget());
    const QString current = owner ? owner->vsp->PrinterDevice() : QString();
    int chosen = -1;
    try {
        const QStringList names = preview::CurrentPrintTarget().PrinterNames();
        for (const QString& name : names) {
            if (name == current) chosen = cboPrinter->count();
            cboPrinter->addItem(name.trimmed());
        }
    } catch (...) {
    }
    cboPrinter->addItem(PdfDestination());
    // When the last print of the session went into a file, the file is the choice again.
    if (Program().PrintRequest.PrinterName == PdfDestination()) chosen = cboPrinter->count() - 1;
    cboPrinter->setCurrentIndex(chosen >= 0 ? chosen : 0);
}

void frmPrintInfoSetUp::FillFromPrintRequest()
{
    const PrintRequestRecord& r = Program().PrintRequest;
    lblCurrentPage->setText(QString::number(r.CurrentPage));
    txtFromPage->setText(QString::number(r.FromPage));
    txtToPage->setText(QString::number(r.ToPage));
    txtStartPage->setText(QString::number(r.StartPage));
    txtCopy->setText(QString::number(r.Copies));
    EnablePageRange(false);
    EnableStartPageBox();
    if (Program().ScreenCode == ScreenFramePreview) lblFromPage->setText(QStringLiteral("頁から"));
    else if (Program().ScreenCode == ScreenResultsPreview) lblFromPage->setText(QStringLiteral("頁から（表紙はゼロ頁とします）"));
}

void frmPrintInfoSetUp::EnablePageRange(bool enable)
{
    report::EnableEntryBox(txtFromPage, enable);
    report::EnableEntryBox(txtToPage, enable);
}

void frmPrintInfoSetUp::EnableStartPageBox() { report::EnableEntryBox(txtStartPage, chkStartPage->isChecked()); }

void frmPrintInfoSetUp::StepCopies(int delta)
{
    const double v = std::round(rt::Val(txtCopy->text())) + delta;
    if (v < UpDown->Min() || v > UpDown->Max()) return;
    txtCopy->setText(QString::number(static_cast<int>(v)));
}

void frmPrintInfoSetUp::cmdOK_Click()
{
    Program().PrintRequest.Confirmed = -1;
    Unload();
}

void frmPrintInfoSetUp::cmdCancel_Click()
{
    Program().PrintRequest.Confirmed = 0;
    Unload();
}

void frmPrintInfoSetUp::Form_QueryUnload(bool& cancel, int unloadMode)
{
    if (!ValidatePrintRequest(unloadMode)) cancel = true;
}

void frmPrintInfoSetUp::Refuse(const QString& message, QLineEdit* box)
{
    ui::Beep();
    if (!message.isEmpty())
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(message, ui::Icon::Information | ui::Buttons::OK, AppTitle));
    SelectEntryBox(box);
}

bool frmPrintInfoSetUp::ValidatePrintRequest(int unloadMode)
{
    PrintRequestRecord& r = Program().PrintRequest;
    if (unloadMode == forms::UnloadFromCloseBox) r.Confirmed = 0;
    if (r.Confirmed == 0) return true;

    const QString printer = report::TrimBlanks(cboPrinter->currentText());
    if (printer.isEmpty() || printer == NoPrinterEntry()) {
        ui::Beep();
        Program().MsgResult =
            static_cast<int16_t>(ui::MsgBox(QStringLiteral("プリンタ名が不正です"), ui::Icon::Information | ui::Buttons::OK, AppTitle));
        return false;
    }
    r.PrinterName = cboPrinter->currentText();
    const double copies = std::round(rt::Val(txtCopy->text()));
    // A file holds at least one copy: a print into a file of none would end
    // as a success that wrote nothing.
    if (copies > kMaxCopies || (r.PrinterName == PdfDestination() && copies < 1)) {
        Refuse(QString(), txtCopy);
        return false;
    }
    r.Copies = static_cast<int16_t>(std::max(copies, -32768.0));
    r.StartPageRequested = chkStartPage->isChecked() ? -1 : 0;
    if (r.StartPageRequested != 0) {
        // The box is read only when its number is asked for.
        const QString text = txtStartPage->text();
        if (!rt::IsNumeric(text) || !rt::FitsInteger(rt::Val(text)) || rt::Val(text) != std::round(rt::Val(text))) {
            Refuse(QString(), txtStartPage);
            return false;
        }
        r.StartPage = rt::CInt(rt::Val(text));
    }

    const auto lowest = static_cast<int16_t>(1 - frmPreview::PageShift());
    if (opnAllPage->isChecked()) {
        r.FromPage = lowest;
        r.ToPage = r.TotalPages;
    } else if (OpnCurrentPage->isChecked()) {
        r.FromPage = r.ToPage = r.CurrentPage;
    } else if (opnSelectPage->isChecked()) {
        const double f = rt::Val(txtFromPage->text());
        const double t = rt::Val(txtToPage->text());
        QString message;
        if (f > t) message = QStringLiteral("指定ページが不正です");
        else if (f < lowest) message = QStringLiteral("指定ページが最低ページ数より小さいです");
        else if (t > r.TotalPages) message = QStringLiteral("指定ページが最大ページ数を越えています");
        if (!message.isEmpty()) {
            Refuse(message, txtToPage);
            return false;
        }
        r.FromPage = rt::CInt(f);
        r.ToPage = rt::CInt(t);
    }
    return true;
}

bool frmPrintInfoSetUp::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* option = qobject_cast<QRadioButton*>(watched); option && event->type() == QEvent::FocusIn) {
        option->setChecked(true);
        EnablePageRange(option == opnSelectPage);
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::MouseButtonRelease) SelectEntryBox(box);
    if (box && event->type() == QEvent::KeyPress) {
        const int16_t ascii = KeyAsciiOf(static_cast<QKeyEvent*>(event));
        if (ascii == 0) return forms::Form::eventFilter(watched, event);
        const bool digit = ascii >= '0' && ascii <= '9';
        const bool pass = digit || ascii == 8 || ascii == ' ' || (box == txtStartPage && ascii == '-');
        if (!pass) {
            ui::Beep();
            return true;
        }
    }
    return forms::Form::eventFilter(watched, event);
}
