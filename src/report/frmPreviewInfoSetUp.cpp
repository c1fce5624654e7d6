#include "report/frmPreviewInfoSetUp.h"

#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/Runtime.h"
#include "platform/Ui.h"
#include "platform/preview/PreviewFonts.h"
#include "report/PreviewSettingsFile.h"
#include "report/ReportContext.h"
#include "report/WindowControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

using report::ControlKind;
using report::ControlLayout;

namespace {

using report::kFactorField;
using report::kFactorFormat;

const QString kContentsNotKept =
    report::kContentsNotStored + QStringLiteral("\r\n指定した内容で表示しますが、次回は前回保存した内容に戻ります。");

const ControlLayout kControls[] = {
    {ControlKind::Frame, "Frame1", nullptr, "　荷重ケースごとの応力計算の表示形式　", "計算結果の表示形式を指定します", 120, 120, 4200, 1000},
    {ControlKind::Option, "opnPerSeBu", "Frame1", "節点、部材毎に表示", "計算結果の表示形式を指定します", 240, 300, 3600, 300},
    {ControlKind::Option, "OpnPerKajyu", "Frame1", "荷重ケース別に表示", "計算結果の表示形式を指定します", 240, 620, 3600, 300},
    {ControlKind::Frame, "Frame2", nullptr, " ｹｰｽ毎の倍率の設定 ", nullptr, 120, 1220, 4200, 3300},
    {ControlKind::Label, "Label1", "Frame2", "ｹｰｽ数", nullptr, 240, 330, 600, 240},
    {ControlKind::SunkenLabel, "lblCaseNo", "Frame2", "", "選択されている荷重ケース数", 900, 300, 500, 300},
    {ControlKind::Label, "Label2", "Frame2", "倍率", nullptr, 1700, 330, 500, 240},
    {ControlKind::Text, "txtZoomVal", "Frame2", "", "荷重ケースを何倍にして組み合わせるか？を入力します", 2250, 300, 1500, 300},
    {ControlKind::List, "lstCaseZoom", "Frame2", nullptr,
     "組み合わせる荷重ケースにチェックを付けます。組み合わせる倍率は、その荷重ケースを選択して上のテキストボックスで指定します。",
     240, 750, 3700, 2400},
    {ControlKind::Frame, "Frame3", nullptr, " 図の選択 ", nullptr, 120, 4620, 4200, 1300},
    {ControlKind::Label, "Label4", "Frame3", "表示倍率", nullptr, 2250, 250, 1200, 240},
    {ControlKind::Check, "chkHnz", "Frame3", "変位図", "チェックをつけると変位図を表示します", 240, 520, 1600, 300},
    {ControlKind::Text, "txtHnzZoom", "Frame3", "", "ラーメン図に対して変位図の表現加減を入力します", 2250, 500, 1500, 300},
    {ControlKind::Check, "chkOuz", "Frame3", "応力図", "チェックをつけると応力図を表示します", 240, 880, 1600, 300},
    {ControlKind::Text, "txtOuzZoom", "Frame3", "", "ラーメン図に対して応力図の表現加減を入力します", 2250, 860, 1500, 300},
    {ControlKind::Button, "cmdOK", nullptr, "表示", "このダイアログで指定した内容に基ずき計算結果を表示します", 720, 6060, 1400, 420},
    {ControlKind::Button, "cmdCancel", nullptr, "ｷｬﾝｾﾙ.", "何もしないで印刷プレビューに戻ります", 2400, 6060, 1400, 420},
};

// -1 for a checked box, 0 otherwise.
int16_t Flag(bool on) { return on ? int16_t(-1) : int16_t(0); }

// The number a factor or scale text is stored as: its leading number, as a
// Single. None when the text holds no number or one beyond a Single: it
// would be stored as 0 though no 0 was typed.
std::optional<float> StoredNumber(const QString& text)
{
    const std::optional<double> v = rt::LeadingNumberAsVal(text);
    if (!v || !rt::FitsSingle(*v)) return std::nullopt;
    return static_cast<float>(*v);
}

// Characters 11 to 20 of a case line.
QString FactorField(const QListWidgetItem* line) { return line->text().mid(10, kFactorField); }

// The text reformatted as a factor, unchanged when it is not a number.
QString FactorText(const QString& text)
{
    return rt::IsNumeric(text) ? rt::Format(rt::Val(text), kFactorFormat) : text;
}

}  // namespace

frmPreviewInfoSetUp::frmPreviewInfoSetUp(QWidget* owner) : forms::Form(QStringLiteral("frmPreviewInfoSetUp"), owner)
{
    setWindowFlag(Qt::Dialog);
    SetClientSizeTw(4440, 6660);
    report::BuildControls(this, kControls);
    opnPerSeBu = report::Control<QRadioButton>(this, QStringLiteral("opnPerSeBu"));
    OpnPerKajyu = report::Control<QRadioButton>(this, QStringLiteral("OpnPerKajyu"));
    lstCaseZoom = report::Control<QListWidget>(this, QStringLiteral("lstCaseZoom"));
    lblCaseNo = report::Control<QLabel>(this, QStringLiteral("lblCaseNo"));
    txtZoomVal = report::Control<QLineEdit>(this, QStringLiteral("txtZoomVal"));
    chkHnz = report::Control<QCheckBox>(this, QStringLiteral("chkHnz"));
    txtHnzZoom = report::Control<QLineEdit>(this, QStringLiteral("txtHnzZoom"));
    chkOuz = report::Control<QCheckBox>(this, QStringLiteral("chkOuz"));
    txtOuzZoom = report::Control<QLineEdit>(this, QStringLiteral("txtOuzZoom"));
    cmdOK = report::Control<QPushButton>(this, QStringLiteral("cmdOK"));
    cmdCancel = report::Control<QPushButton>(this, QStringLiteral("cmdCancel"));

    // The lines are columns of fixed width.
    QFont fixed(preview::FaceFor(QStringLiteral("ＭＳ ゴシック")));
    fixed.setPointSizeF(10);
    lstCaseZoom->setFont(fixed);
    for (QLineEdit* box : {txtZoomVal, txtHnzZoom, txtOuzZoom}) {
        box->setAlignment(Qt::AlignRight);
        box->installEventFilter(this);
    }

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    CancelWithEscape(this, cmdCancel);
    connect(lstCaseZoom, &QListWidget::currentRowChanged, this, [this] { lstCaseZoom_Click(); });
    connect(lstCaseZoom, &QListWidget::itemClicked, this, [this] { lstCaseZoom_Click(); });
    // Checking a line makes it the current line, as a click on it does.
    connect(lstCaseZoom, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!formLoading_ && lstCaseZoom->currentItem() != item) lstCaseZoom->setCurrentItem(item);
    });
    connect(chkHnz, &QCheckBox::clicked, this, [this] {
        if (!formLoading_ && chkHnz->isChecked()) SelectEntryBox(txtHnzZoom);
    });
    connect(chkOuz, &QCheckBox::clicked, this, [this] {
        if (!formLoading_ && chkOuz->isChecked()) SelectEntryBox(txtOuzZoom);
    });
}

QString frmPreviewInfoSetUp::CaseLine(const QString& caseNo, const QString& factorText)
{
    return QString(6, u' ') + (QStringLiteral("  ") + caseNo).right(2) + QStringLiteral("  ")
           + (QString(kFactorField, u' ') + factorText).right(kFactorField);
}

void frmPreviewInfoSetUp::Form_Load()
{
    formLoading_ = true;
    SetWindowCaption(ScreenPreviewSettings, this);
    ClearToolTipsIfOff(this);
    FillFromPreviewInfo();
    formLoading_ = false;
}

void frmPreviewInfoSetUp::FillFromPreviewInfo()
{
    PreviewInfoRecord& info = Program().PreviewInfo;
    report::LoadPreviewInfo(info);
    OpnPerKajyu->setChecked(info.ByLoadCase != 0);
    opnPerSeBu->setChecked(info.PerNodeMember != 0);
    lstCaseZoom->clear();
    const int cases = std::clamp<int>(Program().LoadCaseCount, 0, 10);
    for (int i = 0; i < cases; ++i) {
        auto* item = new QListWidgetItem(CaseLine(QString::number(i + 1), report::CaseFactorText(info.CaseFactor[i])),
                                         lstCaseZoom);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(info.CaseSelected[i] != 0 ? Qt::Checked : Qt::Unchecked);
        lstCaseZoom->setCurrentRow(i);
    }
    chkHnz->setChecked(info.ShowDisplacement != 0);
    chkOuz->setChecked(info.ShowStress != 0);
    txtHnzZoom->setText(rt::Format(info.DisplacementScale, kFactorFormat));
    txtOuzZoom->setText(rt::Format(info.StressScale, kFactorFormat));
    factorRefused_ = false;
    if (QListWidgetItem* current = lstCaseZoom->currentItem()) {
        lblCaseNo->setText(rt::Format(rt::Val(current->text().left(8)), QStringLiteral("0")));
        txtZoomVal->setText(rt::Format(rt::Val(current->text().mid(8)), kFactorFormat));
    } else {
        lblCaseNo->setText(QString());
        txtZoomVal->setText(QString());
    }
}

void frmPreviewInfoSetUp::lstCaseZoom_Click()
{
    if (formLoading_) return;
    QListWidgetItem* current = lstCaseZoom->currentItem();
    if (!current) return;
    lblCaseNo->setText(report::TrimBlanks(current->text().left(8)));
    txtZoomVal->setText(report::TrimBlanks(current->text().right(kFactorField)));
    factorRefused_ = false;
}

void frmPreviewInfoSetUp::txtZoomVal_GotFocus()
{
    editedLineIndex_ = static_cast<int16_t>(lstCaseZoom->currentRow());
    factorEditOpen_ = true;
}

void frmPreviewInfoSetUp::txtZoomVal_LostFocus(bool announce)
{
    factorEditOpen_ = false;
    factorRefused_ = false;
    if (editedLineIndex_ < 0 || editedLineIndex_ >= lstCaseZoom->count()) return;
    QListWidgetItem* item = lstCaseZoom->item(editedLineIndex_);
    const QString text = FactorText(txtZoomVal->text());
    if (text.size() > kFactorField) {
        // The field holds ten characters: the line keeps its factor, and the
        // box keeps what was typed until it is mended or another line chosen.
        factorRefused_ = true;
        if (announce) ui::Beep();
        return;
    }
    formLoading_ = true;
    txtZoomVal->setText(text);
    item->setText(CaseLine(lblCaseNo->text(), text));
    formLoading_ = false;
}

bool frmPreviewInfoSetUp::StorePreviewInfo()
{
    PreviewInfoRecord& info = Program().PreviewInfo;
    info.ByLoadCase = Flag(OpnPerKajyu->isChecked());
    info.PerNodeMember = Flag(opnPerSeBu->isChecked());
    info.CaseFactor.fill(0.0f);
    info.CaseSelected.fill(0);
    info.CombineCases = 0;
    for (int k = 0; k < std::min(lstCaseZoom->count(), 10); ++k) {
        QListWidgetItem* item = lstCaseZoom->item(k);
        info.CaseSelected[k] = Flag(item->checkState() == Qt::Checked);
        info.CaseFactor[k] = StoredNumber(FactorField(item)).value_or(0.0f);
        if (info.CaseSelected[k] != 0) info.CombineCases = -1;
    }
    info.ShowDisplacement = chkHnz->isChecked() ? 1 : 0;
    info.ShowStress = chkOuz->isChecked() ? 1 : 0;
    info.DisplacementScale = StoredNumber(txtHnzZoom->text()).value_or(0.0f);
    info.StressScale = StoredNumber(txtOuzZoom->text()).value_or(0.0f);
    return report::WritePreviewInfo(info);
}

void frmPreviewInfoSetUp::cmdOK_Click()
{
    // A factor typed and not yet left is taken as if the box lost the focus;
    // a refusal below gives the one beep.
    if (factorEditOpen_) txtZoomVal_LostFocus(false);
    if (RefuseEntryNotStorable()) return;
    Program().PreviewInfo.Confirmed = -1;
    Unload();
}

bool frmPreviewInfoSetUp::RefuseEntryNotStorable()
{
    QLineEdit* box = nullptr;
    if (factorRefused_ && editedLineIndex_ >= 0 && editedLineIndex_ < lstCaseZoom->count()) {
        // The text stays for the user to mend; the line it was meant for is
        // the current one.
        formLoading_ = true;
        lstCaseZoom->setCurrentRow(editedLineIndex_);
        formLoading_ = false;
        lblCaseNo->setText(report::TrimBlanks(lstCaseZoom->item(editedLineIndex_)->text().left(8)));
        box = txtZoomVal;
    }
    for (int k = 0; k < std::min(lstCaseZoom->count(), 10) && !box; ++k) {
        if (StoredNumber(FactorField(lstCaseZoom->item(k)))) continue;
        // The line's factor is mended in the factor box.
        lstCaseZoom->setCurrentRow(k);
        lstCaseZoom_Click();
        box = txtZoomVal;
    }
    for (QLineEdit* scale : {txtHnzZoom, txtOuzZoom})
        if (!box && !StoredNumber(scale->text())) box = scale;
    if (!box) return false;
    ui::Beep();
    SelectEntryBox(box);
    // The box may have kept the focus: it now edits the line shown.
    if (box == txtZoomVal) txtZoomVal_GotFocus();
    return true;
}

void frmPreviewInfoSetUp::cmdCancel_Click()
{
    Program().PreviewInfo.Confirmed = 0;
    Unload();
}

void frmPreviewInfoSetUp::Form_QueryUnload(bool&, int unloadMode)
{
    if (unloadMode == forms::UnloadFromCloseBox) Program().PreviewInfo.Confirmed = 0;
    if (Program().PreviewInfo.Confirmed == -1 && !StorePreviewInfo()) {
        // The report shows the choice all the same; the user learns that the
        // next opening brings back the contents kept before.
        report::ShowReportMessage({kContentsNotKept, ui::Icon::Exclamation, true});
    }
}

bool frmPreviewInfoSetUp::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return forms::Form::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int16_t ascii = KeyAsciiOf(static_cast<QKeyEvent*>(event));
        if (ascii != 0 && FilterNumericKey(ascii, true, false) == 0) {
            // Enter in the factor box writes the factor into its line; the
            // box keeps the focus, and the edit goes on.
            if (ascii == 13 && box == txtZoomVal) {
                txtZoomVal_LostFocus();
                factorEditOpen_ = true;
            }
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        SelectEntryBox(box);
        break;
    case QEvent::FocusIn:
        if (box == txtZoomVal) txtZoomVal_GotFocus();
        break;
    case QEvent::FocusOut:
        // Leaving the factor box for "表示", whose click refuses a factor
        // the line cannot take with its own beep.
        if (box == txtZoomVal) txtZoomVal_LostFocus(QApplication::focusWidget() != cmdOK);
        else box->setText(FactorText(box->text()));
        break;
    default:
        break;
    }
    return forms::Form::eventFilter(watched, event);
}
