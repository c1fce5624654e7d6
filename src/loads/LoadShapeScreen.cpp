#include "loads/LoadShapeScreen.h"

#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "database/Schema.h"
#include "platform/Ui.h"
#include "core/NumberText.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

const QColor kUsedColour(0xC0, 0xFF, 0xC0);     // &HC0FFC0
const QColor kUnusedColour(0xE0, 0xE0, 0xE0);   // &HE0E0E0
const QString kAllCases = QStringLiteral("全表示");

// How many of P1..P7 a load type uses, from P1 upward; -1 for a type that
// leaves the boxes as they are.
int UsedParameterCount(int type)
{
    switch (type) {
    case 3: return 1;
    case 8: return 2;
    case 4: case 14: case 5: case 15: return 4;
    case 1: case 6: case 16: case 7: case 17: case 9: case 19: return 6;
    case 2: case 10: case 20: return 7;
    default: return -1;
    }
}

// Types the analysis places no load for are warned of as unusable.
bool TypeIsRefused(double t)
{
    return t < 1 || (t >= 11 && t <= 13) || t > 20 || t == 9 || t == 18 || t == 19;
}

// Runs `body` with `busy` set, giving back its earlier value afterwards.
template <class F>
void WithBusy(bool& busy, F body)
{
    const bool was = busy;
    busy = true;
    try {
        body();
    } catch (...) {
        busy = was;
        throw;
    }
    busy = was;
}

}  // namespace

const ListScreenDescription& LoadShapeScreen()
{
    static const ListScreenDescription d = [] {
        ListScreenDescription s{
            .screen = {.code = ScreenLoadShapes, .formName = "frm荷重形状", .table = "荷重形状", .gridRows = 15,
                       .create = [] { return new frm荷重形状(); }},
            .columns = {{"No_", "形状番号", "0", false}, {"TYP", "タイプ", "0", false}, {"Case", "ケース", "0", false},
                        {"座標系", "座標系", "", false}},
            .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .format = "0", .field = "No_"},
                      {.name = "txtTYP", .noMinus = true, .noDot = true, .format = "0", .field = "TYP"},
                      {.name = "txtCase", .noMinus = true, .noDot = true, .format = "0", .field = "Case"}},
            .otherFields = {{.control = "cbo座標系", .field = "座標系", .conversion = FieldConversion::Trimmed}},
            .check = &CheckLoadShapeInput,
            .duplicateOnInsert = "形状番号：%1\r\n入力した形状番号はすでに使用されているので新たに登録できません",
            .duplicateOnUpdate = "形状番号：%1\r\n入力した形状番号は他の荷重形状データですでに使用されています",
            .deleteAllTitle = "荷重形状",
            .neighbours = {{.name = "cmdReferType", .caption = "荷重形状図参照", .opens = ScreenLoadTypeFigure,
                            .toolTip = "荷重形状図を表示します"}},
            .registerCaption = "登録（&R）",
            .gridWidthTw = 10500,
            .boxWidthTw = 900,
        };
        const std::vector<dao::GridColumn> parameterColumns = SlotColumns(7, "P", "0.000");
        s.columns.insert(s.columns.end(), parameterColumns.begin(), parameterColumns.end());
        s.columns.push_back({"順", "順", "", true});
        // The parameter boxes carry no label of their own: the screen places its captions.
        const std::vector<EntryBoxDescription> parameters = SlotBoxes({.name = "txtP", .format = "0.000", .newValue = "0.000"}, 1, 7);
        s.boxes.insert(s.boxes.end(), parameters.begin(), parameters.end());
        return s;
    }();
    return d;
}

CheckVerdict CheckLoadShapeInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsNumeric("txtNo")) return c.Invalid();
    const double no = c.Value("txtNo");
    if (no < 1 || no > 9999) return c.Refuse(TypeNumberRangeMessage(true));
    // The separator line of the list is no coordinate system.
    if (c.Text("cbo座標系").contains(QLatin1Char('-'))) return c.Invalid();
    if (!c.IsInteger("txtCase") || c.Value("txtCase") < 1 || c.Value("txtCase") > 10) return c.Invalid();
    for (int i = 1; i <= 7; ++i)
        if (!c.IsSingle(ControlName("txtP", i))) return c.Invalid();

    // The load type goes into a 16-bit field and selects the rules below:
    // only a whole number that fits is a type.
    if (!c.IsInteger("txtTYP")) return c.Invalid();
    const double typ = c.Value("txtTYP");
    if (typ != std::floor(typ)) return c.Invalid();

    const QString system = c.Text("cbo座標系").trimmed();
    if (typ == 1 && system != QStringLiteral("X 絶対系"))
        return c.Refuse(QStringLiteral("荷重タイプに １を指定する場合は、座標系は \"X 絶対系\" を指定して下さい。"));
    if (typ == 2 && system != QStringLiteral("y 部材系") && system != QStringLiteral("z 部材系"))
        return c.Refuse(QStringLiteral("荷重タイプに ２を指定する場合は、座標系は \"y 部材系\" または \"z 部材系\" を指定して下さい。"));

    // A case above the model's count asks to raise the count first.
    const int16_t loadCase = rt::CInt(c.Value("txtCase"));
    const double shown = c.Value("lblCase");
    const int count = rt::FitsInteger(shown) ? rt::CInt(shown) : 0;
    if (loadCase > count) {
        const QString typed = c.Text("txtCase");
        c.Ask(QStringLiteral("入力した荷重ケース数（") + typed + QStringLiteral("）が「基本データ」で入力した荷重ケース数（") +
                  c.Text("lblCase") + QStringLiteral("）を超えています。\r\n\r\n「基本データ」の荷重ケース数を") + typed +
                  QStringLiteral("に変更しますか？\r\n\r\n「いいえ」の場合は再入力となります。"),
              loadCase);
        c.WriteBack("lblCase", rt::Format(loadCase, QStringLiteral("0")));
    }

    if (typ == 10 || typ == 20) {
        const double bars = c.Value("txtP(2)");
        if (bars < 0 || bars > 3)
            return c.Refuse(QStringLiteral("入力した本数が入力可能範囲を超えています。入力できる本数は３本までです。"));
    }

    // The parameters the type does not use are cleared.
    const int used = UsedParameterCount(rt::CInt(typ));
    if (used >= 0)
        for (int i = used + 1; i <= 7; ++i) c.WriteBack(ControlName("txtP", i), QStringLiteral("0.000"));
    return c.Accept();
}

frm荷重形状::frm荷重形状() : ListScreen(LoadShapeScreen())
{
    txtTYP = Box(QStringLiteral("txtTYP"));
    txtCase = Box(QStringLiteral("txtCase"));
    for (QPushButton* b : neighbourButtons_)
        if (b->objectName() == QLatin1String("cmdReferType")) cmdReferType = b;

    cbo座標系 = new QComboBox(this);
    cbo座標系->setObjectName(QStringLiteral("cbo座標系"));
    connect(cbo座標系, &QComboBox::activated, this, [this] {
        if (!Busy) Modified = true;
    });
    cbo荷重ケース数 = new QComboBox(this);
    cbo荷重ケース数->setObjectName(QStringLiteral("cbo荷重ケース数"));
    cbo荷重ケース数->setEditable(true);
    cbo荷重ケース数->setInsertPolicy(QComboBox::NoInsert);
    connect(cbo荷重ケース数, &QComboBox::activated, this, [this] { cbo荷重ケース数_Click(); });
    lblCase = new QLabel(this);
    lblCase->setObjectName(QStringLiteral("lblCase"));
    lblCase->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCase->setFrameShape(QFrame::Panel);
    lblCase->setFrameShadow(QFrame::Sunken);
    PlaceControls();
}

void frm荷重形状::PlaceControls()
{
    auto label = [this](const QString& text, double x, double y, double w, double h = 270,
                        Qt::Alignment align = Qt::AlignCenter) {
        auto* l = new QLabel(text, this);
        l->setAlignment(align);
        forms::PlaceTw(l, x, y, w, h);
        return l;
    };
    const double gridW = description_.gridWidthTw;
    const double gridTop = 540;
    const double gridH = Program().GridRowCount * DBGrid->RowHeight() + 140;
    label(QStringLiteral("表示荷重ケース番号"), 120, 150, 1800, 270, Qt::AlignLeft | Qt::AlignVCenter);
    forms::PlaceTw(cbo荷重ケース数, 1920, 120, 1200, 330);
    forms::PlaceTw(DBGrid, 120, gridTop, gridW, gridH);

    const double moveX = 120 + gridW + 90;
    forms::PlaceTw(cmdMF, moveX, gridTop, 480, 450);
    forms::PlaceTw(cmdMU, moveX, gridTop + 540, 480, 450);
    forms::PlaceTw(cmdMD, moveX, gridTop + 1080, 480, 450);
    forms::PlaceTw(cmdML, moveX, gridTop + 1620, 480, 450);
    const double cmdX = moveX + 600;
    double y = gridTop;
    for (QPushButton* b : {cmd追加, cmd修正, cmd削除, cmdAllDelete}) {
        forms::PlaceTw(b, cmdX, y, 1500, 420);
        y += 480;
    }
    y += 120;
    forms::PlaceTw(cmdReferRAMEN, cmdX, y, 1500, 420);
    y += 480;
    forms::PlaceTw(cmdReferType, cmdX, y, 1500, 420);

    // The entry row: number, type, case, coordinate system, P1..P7.
    const double labelY = gridTop + gridH + 150;
    const double boxY = labelY + 300;
    const double w = description_.boxWidthTw;
    double x = 120;
    const char* captions[] = {"形状番号", "ﾀｲﾌﾟ", "ｹｰｽ"};
    for (int i = 0; i < 3; ++i) {
        label(QString::fromUtf8(captions[i]), x, labelY, w);
        forms::PlaceTw(Boxes[static_cast<size_t>(i)], x, boxY, w, 330);
        x += w + 60;
    }
    label(QStringLiteral("座標系"), x, labelY, 1380);
    forms::PlaceTw(cbo座標系, x, boxY, 1380, 330);
    x += 1380 + 60;
    for (int i = 1; i <= 7; ++i) {
        label(QStringLiteral("P%1 ").arg(i), x, labelY, w);
        forms::PlaceTw(txtP(i), x, boxY, w, 330);
        x += w + 60;
    }
    const double rowEnd = x;

    // The model's load-case count and the note on relative positions.
    const double caseY = boxY + 480;
    forms::PlaceTw(lblCase, 120 + 2 * (w + 60), caseY, w, 300);
    label(QStringLiteral("([基本データ]で入力したケース数)"), 120 + 3 * (w + 60), caseY + 15, 3600, 270,
          Qt::AlignLeft | Qt::AlignVCenter);
    QLabel* hint = label(QStringLiteral("位置に関するデータを、部材長を１とした時の割合で入力する場合は、タイプ番号に 10 を加え、14～17，19～20を入力して下さい。"),
                         120, caseY + 420, rowEnd - 120, 300, Qt::AlignLeft | Qt::AlignVCenter);
    hint->setObjectName(QStringLiteral("Label1"));
    const double bottom = caseY + 420 + 300;

    forms::PlaceTw(Cmd登録, cmdX, bottom - 900, 1500, 420);
    forms::PlaceTw(cmdCancel, cmdX, bottom - 420, 1500, 420);
    SetClientSizeTw(std::max(cmdX + 1620, rowEnd + 120), bottom + 150);
}

// ---- load ---------------------------------------------------------------------

void frm荷重形状::Form_Load()
{
    BeginInput();
    Busy = true;
    SetWindowCaption(description_.screen.code, this);
    ScreenDatabase = dao::Database::Open(kWorkingDatabase);
    ScreenRecordset = ScreenDatabase->OpenRecordset(Program().InputTableName);
    FillCaseFilterList();
    ShowBasicDataCaseCount();
    FillCoordinateSystemList();
    if (ScreenRecordset->BOF() && ScreenRecordset->EOF_()) {
        Data1->SetRecordset(ScreenRecordset);
        PrepareNew();
        txtTYP->setText(QStringLiteral("1"));
        txtCase->setText(QStringLiteral("1"));
        cbo座標系->setCurrentIndex(3);
    } else {
        BindSortedRecordset(ScreenRecordset, Data1);
        if (HasCurrentRow()) ShowRecord();
    }
    EnableMoveButtons(true);
    MarkUsedLoadParameters();
    Busy = false;
    Modified = false;
}

void frm荷重形状::FillCoordinateSystemList()
{
    cbo座標系->clear();
    cbo座標系->addItems({QStringLiteral("z 部材系"), QStringLiteral("y 部材系"), QStringLiteral("--------"),
                         QStringLiteral("X 絶対系"), QStringLiteral("Y 絶対系"), QStringLiteral("Z 絶対系")});
    cbo座標系->setCurrentIndex(0);
}

void frm荷重形状::FillCaseFilterList()
{
    cbo荷重ケース数->clear();
    cbo荷重ケース数->addItem(kAllCases);
    if (!(ScreenRecordset->BOF() && ScreenRecordset->EOF_())) {
        for (int c = 1; c <= 10; ++c) {
            ScreenRecordset->FindFirst(QStringLiteral("case = %1").arg(c));
            if (!ScreenRecordset->NoMatch()) cbo荷重ケース数->addItem(QStringLiteral(" %1").arg(c));
        }
    }
    cbo荷重ケース数->setCurrentIndex(0);
}

void frm荷重形状::RefreshCaseFilterList()
{
    WithBusy(Busy, [this] {
        const QString text = cbo荷重ケース数->currentText();
        if (Program().WorkRecordset) {
            try { Program().WorkRecordset->Close(); } catch (...) {}
        }
        Program().WorkRecordset = ScreenDatabase->OpenRecordset(Program().InputTableName);
        QStringList items{kAllCases};
        if (!(Program().WorkRecordset->BOF() && Program().WorkRecordset->EOF_())) {
            for (int c = 1; c <= 10; ++c) {
                Program().WorkRecordset->FindFirst(QStringLiteral("case = %1").arg(c));
                if (!Program().WorkRecordset->NoMatch()) items << QString::number(c);
            }
        }
        Program().WorkRecordset->Close();
        Program().WorkRecordset.reset();
        cbo荷重ケース数->clear();
        cbo荷重ケース数->addItems(items);
        cbo荷重ケース数->setEditText(text);
    });
}

QString frm荷重形状::FilterText() const { return cbo荷重ケース数->currentText(); }

void frm荷重形状::OpenFiltered()
{
    ScreenRecordset = ScreenDatabase->OpenRecordset(Program().InputTableName);
    if (ScreenRecordset->BOF() && ScreenRecordset->EOF_()) return;
    const QString text = FilterText();
    if (text != kAllCases) {
        // A typed text that is no whole number shows every case.
        const double v = rt::Val(text);
        if (rt::IsNumeric(text) && rt::FitsInteger(v)) {
            ScreenRecordset->Filter = QStringLiteral("case = %1").arg(rt::CInt(v));
            ScreenRecordset = ScreenRecordset->OpenRecordset();
        }
    }
    if (!(ScreenRecordset->BOF() && ScreenRecordset->EOF_())) {
        ScreenRecordset->Sort = QStringLiteral("順 ASC");
        ScreenRecordset = ScreenRecordset->OpenRecordset();
    }
}

void frm荷重形状::ApplyCaseFilter(const QString& caseText)
{
    WithBusy(Busy, [this, &caseText] {
        Data1->SetRecordset(nullptr);
        if (ScreenRecordset) {
            try { ScreenRecordset->Close(); } catch (...) {}
        }
        if (cbo荷重ケース数->currentText() != caseText) cbo荷重ケース数->setEditText(caseText);
        OpenFiltered();
        Data1->SetRecordset(ScreenRecordset);
        if (!(ScreenRecordset->BOF() && ScreenRecordset->EOF_())) ScreenRecordset->MoveFirst();
        Data1->SyncPosition();
    });
}

void frm荷重形状::cbo荷重ケース数_Click()
{
    if (Busy) return;
    RunLocked([this] {
        const QString text = FilterText();
        EnableMoveButtons(text == kAllCases);
        ApplyCaseFilter(text);
        Modified = true;
    });
}

void frm荷重形状::ShowBasicDataCaseCount()
{
    dao::RecordsetPtr rs = ScreenDatabase->OpenRecordset(QStringLiteral("基本データ"));
    if (!(rs->BOF() && rs->EOF_())) {
        const rt::Variant v = rs->Field(QStringLiteral("Case"));
        lblCase->setText(v.isNull() ? QString() : rt::Format(v.toDouble(), QStringLiteral("0")));
    }
    rs->Close();
}

void frm荷重形状::EnableMoveButtons(bool enable)
{
    for (QPushButton* b : {cmdMF, cmdML, cmdMU, cmdMD}) b->setEnabled(enable);
}

void frm荷重形状::MarkUsedLoadParameters()
{
    const QString text = txtTYP->text();
    if (!rt::IsNumeric(text) || !rt::FitsInteger(rt::Val(text))) return;
    const int used = UsedParameterCount(rt::CInt(rt::Val(text)));
    if (used < 0) return;
    for (int i = 1; i <= 7; ++i) {
        QLineEdit* box = txtP(i);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, i <= used ? kUsedColour : kUnusedColour);
        box->setPalette(pal);
        box->setEnabled(box->palette().color(QPalette::Base) == kUsedColour);
    }
}

// ---- rows ---------------------------------------------------------------------

void frm荷重形状::PrepareNew()
{
    if (Program().WorkRecordset) {
        try { Program().WorkRecordset->Close(); } catch (...) {}
    }
    Program().WorkRecordset = ScreenDatabase->OpenRecordset(Program().InputTableName);
    int16_t max = 0;
    GetMaxFieldValue(max, Program().WorkRecordset, QStringLiteral("no_"));
    Program().WorkRecordset->Close();
    Program().WorkRecordset.reset();
    Boxes[0]->setText(rt::Format(static_cast<double>(max) + 1, QStringLiteral("0")));
    for (int i = 1; i <= 7; ++i) txtP(i)->setText(QStringLiteral("0.000"));
}

void frm荷重形状::ShowRecord()
{
    auto whole = [this](const char* field) {
        const rt::Variant v = ScreenRecordset->Field(QString::fromUtf8(field));
        return v.isNull() ? QString() : rt::Format(v.toDouble(), QStringLiteral("0"));
    };
    Boxes[0]->setText(whole("No_"));
    txtTYP->setText(whole("TYP"));
    txtCase->setText(whole("Case"));
    MarkUsedLoadParameters();
    WithBusy(Busy, [this] {
        const QString system = ScreenRecordset->Field(QStringLiteral("座標系")).toStringOrEmpty().trimmed();
        for (int i = 0; i < cbo座標系->count(); ++i)
            if (cbo座標系->itemText(i).trimmed() == system) {
                cbo座標系->setCurrentIndex(i);
                break;
            }
    });
    for (int i = 1; i <= 7; ++i) {
        const rt::Variant v = ScreenRecordset->Field(schema::SlotFieldName(i));
        txtP(i)->setText(StoredValueText(v, QStringLiteral("0.000")));
    }
}

bool frm荷重形状::InsertRow()
{
    const int16_t n = BoxNumber();
    if (!IsKeyUnused(ScreenDatabase, QStringLiteral("no_"), Program().InputTableName, n)) {
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(description_.duplicateOnInsert.arg(Boxes[0]->text()), ui::Icon::Information, AppTitle));
        return false;
    }
    ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
    if (Program().WorkRecordset) {
        try { Program().WorkRecordset->Close(); } catch (...) {}
    }
    Program().WorkRecordset = ScreenRecordset->Clone();
    const bool full = GetLastOrderNo() >= 32767;   // a further row cannot be numbered
    if (!full) AddRecord(ScreenRecordset, RowValues());
    Program().WorkRecordset->Close();
    Program().WorkRecordset.reset();
    ScreenRecordset->Close();
    OpenFiltered();
    Data1->SetRecordset(ScreenRecordset);
    if (full) {
        bool result = true;
        ShowInvalidInputMessage(result);
        return false;
    }
    RefreshCaseFilterList();
    Modified = false;
    return true;
}

void frm荷重形状::BindScreenRecordset(bool) { ApplyCaseFilter(FilterText()); }

void frm荷重形状::RowsEmptied() { RefreshCaseFilterList(); }

void frm荷重形状::RowUpdated() { RefreshCaseFilterList(); }

// ---- entry boxes ------------------------------------------------------------------

QLineEdit* frm荷重形状::NextInRing(size_t i, bool forward) const
{
    // txtNo, txtTYP, txtCase, then the enabled parameter boxes.
    const size_t firstP = 3, lastP = 9;
    if (forward) {
        if (i < 2) return Boxes[i + 1];
        for (size_t k = std::max(i + 1, firstP); k <= lastP; ++k)
            if (Boxes[k]->isEnabled()) return Boxes[k];
        return Boxes[0];
    }
    if (i == 1 || i == 2) return Boxes[i - 1];
    const size_t from = i == 0 ? lastP : i - 1;
    for (size_t k = from; k >= firstP; --k)
        if (Boxes[k]->isEnabled()) return Boxes[k];
    return Boxes[2];
}

bool frm荷重形状::eventFilter(QObject* watched, QEvent* event)
{
    const bool handled = ListScreen::eventFilter(watched, event);
    if (watched == txtTYP && event->type() == QEvent::FocusOut && !locked_ && !Ending() && isVisible()) {
        // Switching to another window, or the screen going, is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) TypeBoxLeft();
    }
    return handled;
}

void frm荷重形状::TypeBoxLeft()
{
    const double t = rt::Val(txtTYP->text());
    const double whole = std::nearbyint(t);
    if (TypeIsRefused(whole)) {
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("タイプ ") + rt::Format(whole, QStringLiteral("0")) +
                                                        QStringLiteral(" は使用できません。"),
                                                    ui::Icon::Information, QCoreApplication::applicationName()));
        return;
    }
    MarkUsedLoadParameters();
}
