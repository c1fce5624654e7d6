#include "screens/BasicDataScreen.h"

#include "input/InputRecords.h"
#include "input/InputStart.h"
#include "input/InputValidation.h"
#include "screens/UnitConversion.h"
#include "platform/Ui.h"
#include "core/NumberText.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

using rt::Variant;

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h)
{
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty()) label->setObjectName(name);
    forms::PlaceTw(label, l, t, w, h);
    return label;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, double l, double t, double w, bool number)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    if (number) box->setAlignment(Qt::AlignRight);
    forms::PlaceTw(box, l, t, w, 330);
    return box;
}

// The boxes and the fields of the one row, in the order they are written.
const std::vector<FieldBinding>& BasicDataFields()
{
    static const std::vector<FieldBinding> fields = {
        {.control = "txt工事名", .field = "工事名", .conversion = FieldConversion::Trimmed},
        {.control = "txt設計者", .field = "設計者", .conversion = FieldConversion::Text},
        {.control = "txtNote", .field = "Note", .conversion = FieldConversion::Text},
        {.control = "txtCase", .field = "Case"},
        {.control = "txtE", .field = "E"},
        {.control = "txtγ", .field = "γ"},
    };
    return fields;
}

}  // namespace

const InputScreenDescription& BasicDataScreen()
{
    static const InputScreenDescription d{.code = ScreenBasicData, .formName = "frm基本データ", .table = "基本データ", .gridRows = 11,
                                          .create = [] { return new frm基本データ(); }};
    return d;
}

FieldValues BasicDataValues(const BoxTexts& texts, bool unitIsSI)
{
    FieldValues values = ValuesFromTexts(BasicDataFields(), texts);
    values.emplace_back(QStringLiteral("Unit"), Variant::Boolean(unitIsSI));
    return values;
}

CheckVerdict CheckBasicDataInput(const CheckInputs& in)
{
    CheckRun c(in);
    const QString name = c.Text("txt工事名").trimmed();
    if (name.isEmpty()) return c.Refuse(QStringLiteral("工事名が入力されていません"));
    // The name that marks a project as absent cannot be a project's name.
    if (name == QStringLiteral("**********")) return c.Refuse(QStringLiteral("工事名が不正です。他の工事名を入力して下さい。"));
    if (c.Text("txt設計者").trimmed().isEmpty()) c.WriteBack("txt設計者", QStringLiteral(" "));
    if (c.Text("txtNote").trimmed().isEmpty()) c.WriteBack("txtNote", QStringLiteral(" "));
    if (!c.IsInteger("txtCase") || c.Value("txtCase") < 1 || c.Value("txtCase") > 10) return c.Invalid();
    if (!c.IsSingle("txtE") || c.Value("txtE") < 0) return c.Invalid();
    if (!c.IsSingle("txtγ") || c.Value("txtγ") < 0) return c.Invalid();
    return c.Accept();
}

frm基本データ::frm基本データ() : InputScreen(QStringLiteral("frm基本データ"))
{
    MakeLabel(this, QString(), QStringLiteral("工事名"), 240, 270, 1200, 270);
    txt工事名 = MakeBox(this, QStringLiteral("txt工事名"), 1560, 240, 6600, false);
    MakeLabel(this, QString(), QStringLiteral("設計者"), 240, 720, 1200, 270);
    txt設計者 = MakeBox(this, QStringLiteral("txt設計者"), 1560, 690, 3900, false);
    MakeLabel(this, QString(), QStringLiteral("備考"), 240, 1170, 1200, 270);
    txtNote = MakeBox(this, QStringLiteral("txtNote"), 1560, 1140, 6600, false);

    lblCase = MakeLabel(this, QStringLiteral("lblCase"), QString(), 240, 1740, 3000, 270);
    txtCase = MakeBox(this, QStringLiteral("txtCase"), 3360, 1710, 900, true);
    MakeLabel(this, QString(), QStringLiteral("共通ヤング係数　Ye"), 240, 2190, 3000, 270);
    txtE = MakeBox(this, QStringLiteral("txtE"), 3360, 2160, 1500, true);
    lblPYe = MakeLabel(this, QStringLiteral("lblPYe"), QString(), 4980, 2190, 1500, 270);
    MakeLabel(this, QString(), QStringLiteral("共通せん断弾性係数   G"), 240, 2640, 3000, 270);
    txtγ = MakeBox(this, QStringLiteral("txtγ"), 3360, 2610, 1500, true);
    lblPG = MakeLabel(this, QStringLiteral("lblPG"), QString(), 4980, 2640, 1500, 270);
    Label5 = MakeLabel(this, QStringLiteral("Label5"), QStringLiteral("G = Ye / 2 / (1 + ν)　ν：ポアソン比"), 600, 3060, 5400, 270);
    Label4 = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("【Gの参考値】"), 600, 3390, 1800, 270);
    Label11 = MakeLabel(this, QStringLiteral("Label11"), QString(), 2400, 3390, 5400, 270);

    Frame2 = new QGroupBox(QStringLiteral("重力定数指定"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    forms::PlaceTw(Frame2, 240, 3900, 4200, 1560);
    opnSelectG[0] = new QRadioButton(QStringLiteral("9.80665 m/s2"), Frame2);
    opnSelectG[0]->setObjectName(QStringLiteral("opnSelectG(0)"));
    forms::PlaceTw(opnSelectG[0], 240, 330, 2400, 300);
    opnSelectG[1] = new QRadioButton(QStringLiteral("10 m/s2"), Frame2);
    opnSelectG[1]->setObjectName(QStringLiteral("opnSelectG(1)"));
    forms::PlaceTw(opnSelectG[1], 240, 690, 2400, 300);
    txtGravity = MakeBox(Frame2, QStringLiteral("txtGravity"), 240, 1080, 1500, true);
    MakeLabel(Frame2, QString(), QStringLiteral("m/s2"), 1860, 1110, 900, 270);

    Label3 = MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("現在の単位系"), 4800, 3990, 1500, 270);
    lblCurrentUnit = MakeLabel(this, QStringLiteral("lblCurrentUnit"), QString(), 6360, 3990, 900, 270);
    cmdDataTrans = new QPushButton(this);
    cmdDataTrans->setObjectName(QStringLiteral("cmdDataTrans"));
    forms::PlaceTw(cmdDataTrans, 4800, 4410, 2700, 450);

    Cmd登録 = new QPushButton(QStringLiteral("登録"), this);
    Cmd登録->setObjectName(QStringLiteral("Cmd登録"));
    forms::PlaceTw(Cmd登録, 4800, 5760, 1500, 450);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    forms::PlaceTw(cmdCancel, 6420, 5760, 1500, 450);
    SetClientSizeTw(8400, 6450);

    for (QLineEdit* b : {txt工事名, txt設計者, txtNote, txtCase, txtE, txtγ, txtGravity}) b->installEventFilter(this);
    // The three texts keep the input method; the numbers do not take it.
    for (QLineEdit* b : {txtCase, txtE, txtγ}) MakeNumericEntryBox(b, true, true);
    MakeNumericEntryBox(txtGravity, true, false);
    connect(cmdDataTrans, &QPushButton::clicked, this, [this] { cmdDataTrans_Click(); });
    connect(Cmd登録, &QPushButton::clicked, this, [this] { Cmd登録_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(opnSelectG[0], &QRadioButton::clicked, this, [this] { opnSelectG_Click(0); });
    connect(opnSelectG[1], &QRadioButton::clicked, this, [this] { opnSelectG_Click(1); });
}

void frm基本データ::Form_Load()
{
    BeginInput();
    SetWindowCaption(ScreenBasicData, this);
    LoadBasicData();
    SelectEntryBox(txt工事名);
}

void frm基本データ::LoadBasicData()
{
    ScreenDatabase = dao::Database::Open(kWorkingDatabase);
    ScreenRecordset = ScreenDatabase->OpenRecordset(Program().InputTableName);
    if (ScreenRecordset->BOF() && ScreenRecordset->EOF_()) {
        Program().UnitIsSI = true;
        txt工事名->clear();
        txt設計者->clear();
        txtNote->clear();
        txtCase->setText(rt::Format(1, QStringLiteral("0")));
        txtE->setText(rt::Format(21000, QStringLiteral("0")));
        txtγ->setText(rt::Format(8100, QStringLiteral("0")));
    } else {
        const dao::RecordsetPtr& rs = ScreenRecordset;
        const Variant unit = rs->Field(QStringLiteral("Unit"));
        Program().UnitIsSI = unit.isNull() ? true : rt::ReadBool(unit.toString(), true);
        txt工事名->setText(rs->Field(QStringLiteral("工事名")).toStringOrEmpty());
        const QString designer = rs->Field(QStringLiteral("設計者")).toStringOrEmpty();
        const QString note = rs->Field(QStringLiteral("Note")).toStringOrEmpty();
        txt設計者->setText(designer == QStringLiteral(" ") ? QString() : designer);
        txtNote->setText(note == QStringLiteral(" ") ? QString() : note);
        // Every digit a stored modulus holds: registering unchanged stores it unchanged.
        auto number = [&](const char* field) { return StoredValueText(rs->Field(QString::fromUtf8(field)), QStringLiteral("0")); };
        txtCase->setText(number("Case"));
        txtE->setText(number("E"));
        txtγ->setText(number("γ"));
    }
    CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
    lblCase->setText(QStringLiteral("荷重ケース数 (1 ～ ") + rt::CStrInt(10) + QStringLiteral(")"));
    opnSelectG[0]->setChecked(true);
    txtGravity->setText(rt::Format(rt::Val(QStringLiteral("9.80665")), QStringLiteral("0.00000")));
    ShowUnitLabels();
}

void frm基本データ::ShowUnitLabels()
{
    lblCurrentUnit->setText(Program().UnitIsSI ? QStringLiteral(" SI") : QStringLiteral(" CGS"));
    cmdDataTrans->setText(Program().UnitIsSI ? QStringLiteral("CGS単位に変換") : QStringLiteral("SI単位に変換"));
    const QString unit = Program().UnitIsSI ? QStringLiteral("(kN/cm2)") : QStringLiteral("(t/cm2)");
    lblPYe->setText(unit);
    lblPG->setText(unit);
    const double rc = Program().UnitIsSI ? 900 : 90;
    const double s = Program().UnitIsSI ? 8100 : 810;
    Label11->setText(QStringLiteral("RCの場合は ") + rt::Format(rc, QStringLiteral("0")) + QStringLiteral("、Sの場合は ") +
                     rt::Format(s, QStringLiteral("0")) + lblPYe->text());
}

void frm基本データ::Cmd登録_Click()
{
    if (!RunInputCheck(this, &CheckBasicDataInput)) return;
    try {
        // Every box is read before the table is touched.
        const FieldValues values = BasicDataValues(ReadControlTexts(this), Program().UnitIsSI);
        ScreenDatabase = dao::Database::Open(kWorkingDatabase);
        ScreenRecordset = ScreenDatabase->OpenRecordset(Program().InputTableName);
        SaveBasicData(ScreenRecordset, values);
    } catch (const std::exception&) {
        // The row was not replaced (the write rolls back whole): the screen stays.
        CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
        ShowDatabaseAccessMessage();
        return;
    }
    CommitInput();
}

void frm基本データ::opnSelectG_Click(int index)
{
    txtGravity->setText(rt::Format(index == 0 ? 9.80665 : 10.0, QStringLiteral("0.00000")));
}

void frm基本データ::ConvertUnits()
{
    // A constant of 0 or less would divide by zero or reverse every value.
    const QString gravityText = txtGravity->text();
    bool valid = rt::IsNumeric(gravityText);
    double g = 0;
    if (valid) {
        try {
            g = rt::Val(gravityText);
        } catch (const std::exception&) {
            valid = false;   // too large to be read at all
        }
    }
    if (!valid || !std::isfinite(g) || g <= 0 || !rt::FitsSingle(g) || !std::isfinite(1.0f / static_cast<float>(g))) {
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("入力した重力定数の値が不正です"), ui::Icon::Information, AppTitle));
        return;
    }
    ui::Beep();
    const QString target = Program().UnitIsSI ? QStringLiteral(" m/s2 でCGS単位に変換します。よろしいですか？")
                                    : QStringLiteral(" m/s2 でSI単位に変換します。よろしいですか？");
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("重力定数：") + gravityText + target +
                                                    QStringLiteral("\r\n単位変換した後は現在のデータに対して計算処理を実行して下さい。"),
                                                ui::Icon::Question | ui::Buttons::YesNo, AppTitle));
    if (Program().MsgResult == ui::Answer::No) return;

    SetEnabledState(false);
    const bool oldUnit = Program().UnitIsSI;
    const QString oldE = txtE->text();
    const QString oldG = txtγ->text();

    Program().UnitIsSI = !Program().UnitIsSI;
    ShowUnitLabels();
    // Stale for good, and on disk at once: a cancel of the screen keeps it.
    MarkResultsStaleForGood();
    // The moduli are scaled as the tables' are, and keep their digits.
    const float m = Program().UnitIsSI ? 10.0f : 0.1f;
    txtE->setText(SingleAtItsPrecision(static_cast<float>(rt::Val(txtE->text()) * m), QStringLiteral("0")));
    txtγ->setText(SingleAtItsPrecision(static_cast<float>(rt::Val(txtγ->text()) * m), QStringLiteral("0")));

    try {
        ConvertTables(g);
    } catch (const std::exception&) {
        // Nothing of the model changed: put the screen back as it was.
        Program().UnitIsSI = oldUnit;
        ShowUnitLabels();
        txtE->setText(oldE);
        txtγ->setText(oldG);
        SetEnabledState(true);
        ShowDatabaseAccessMessage();
        return;
    }
    SetEnabledState(true);
}

void frm基本データ::ConvertTables(double gravity)
{
    ScreenDatabase = dao::Database::Open(kWorkingDatabase);
    try {
        ConvertModelUnits(*ScreenDatabase, Program().UnitIsSI, gravity);
    } catch (...) {
        CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
        throw;
    }
    CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
}

bool frm基本データ::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return InputScreen::eventFilter(watched, event);
    QLineEdit* ring[] = {txt工事名, txt設計者, txtNote, txtCase, txtE, txtγ};
    int i = 0;
    while (i < 6 && ring[i] != box) ++i;
    const bool text = box == txt工事名 || box == txt設計者 || box == txtNote;

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        const int16_t code = KeyCodeOf(ke->key());
        if (i < 6 && (code == Key::Down || code == Key::Return)) {
            SelectEntryBox(ring[(i + 1) % 6]);
            return true;
        }
        if (i < 6 && code == Key::Up) {
            SelectEntryBox(ring[(i + 5) % 6]);
            return true;
        }
        if (code == Key::Return) return true;   // swallowed without a sound
        if (text || ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab || IsEditingShortcut(ke)) return false;
        const int16_t ascii = KeyAsciiOf(ke);
        if (ascii == 0) return false;
        return FilterNumericKey(ascii, true, box != txtGravity) == 0;
    }
    case QEvent::FocusOut:
        if (!isEnabled()) return false;
        if (text) {
            box->setText(box->text().trimmed());
        } else {
            const QString shown = NumericTextKeepingDigits(box->text(), box == txtGravity ? QStringLiteral("0.00000") : QStringLiteral("0"));
            if (shown != box->text()) box->setText(shown);
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (!text) SelectEntryBox(box);
        return false;
    default:
        return false;
    }
}
