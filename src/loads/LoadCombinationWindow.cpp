#include "loads/LoadCombinationWindow.h"

#include "input/InputStart.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/Messages.h"
#include "core/WindowHelpers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <cmath>

using rt::Variant;

namespace {

const QString kTable = QStringLiteral("VUP01荷重名称組合せ");
const QString kCRLF = QStringLiteral("\r\n");
const QString kLong = QStringLiteral("長期");
const QString kShort = QStringLiteral("短期");
// OK and Cancel buttons of a message box.
constexpr int kOKCancel = 1;

const char* const kTermCaseFields[4] = {"A1CNo", "A2CNo", "A3CNo", "A4CNo"};
const char* const kTermFactorFields[4] = {"A1CPw", "A2CPw", "A3CPw", "A4CPw"};

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h,
                  bool wrap = false)
{
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty()) label->setObjectName(name);
    label->setWordWrap(wrap);
    forms::PlaceTw(label, l, t, w, h);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, double l, double t, double w,
                        double h = 390)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    forms::PlaceTw(b, l, t, w, h);
    return b;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, double l, double t, double w)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    forms::PlaceTw(box, l, t, w, 330);
    return box;
}

// A drop-down list to pick from: a duration class or a load typed in would
// be stored as typed, or name no case and be lost at the next opening.
QComboBox* MakeCombo(QWidget* parent, const QString& name, double l, double t, double w)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(false);
    forms::PlaceTw(c, l, t, w, 330);
    return c;
}

// The class a combination is stored with: none is taken as long-term.
QString StoredClass(const QString& cls) { return cls.isEmpty() ? kLong : cls; }

bool IsEmptyRecordset(const dao::RecordsetPtr& rs) { return rs->BOF() && rs->EOF_(); }

QString TextOrEmpty(const dao::RecordsetPtr& rs, const char* field)
{
    return rs->Field(QString::fromUtf8(field)).toStringOrEmpty();
}

Variant TextOrNull(const QString& text) { return text.isEmpty() ? Variant::Null() : Variant::Text(text); }

// "長期" unless the class is exactly "短期".
int ClassItem(const QString& cls) { return cls == kShort ? 1 : 0; }

void FillClasses(QComboBox* box)
{
    box->clear();
    box->addItem(kLong);
    box->addItem(kShort);
}

}  // namespace

// ---- FactorSpinButtons --------------------------------------------------------

FactorSpinButtons::FactorSpinButtons(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy)
{
    Up = new QToolButton(this);
    Up->setArrowType(Qt::UpArrow);
    Up->setAutoRepeat(true);
    Down = new QToolButton(this);
    Down->setArrowType(Qt::DownArrow);
    Down->setAutoRepeat(true);
    connect(Up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(Down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void FactorSpinButtons::Step(int delta)
{
    // The step starts from the number the box shows (a factor typed by hand
    // counts, an older spin value does not), rounded half to even.
    const QString text = buddy_->text().trimmed();
    double start = rt::IsNumeric(text) ? std::nearbyint(rt::Val(text)) : 0;
    if (!std::isfinite(start)) start = start > 0 ? 10 : 0;
    const int value = std::clamp(static_cast<int>(std::clamp(start, 0.0, 10.0)) + delta, 0, 10);
    buddy_->setText(rt::CStrInt(value));
}

// ---- frm01荷重組合せ -----------------------------------------------------------

const InputScreenDescription& LoadCombinationScreen()
{
    static const InputScreenDescription d{.code = ScreenDesignLoadCombinations, .formName = "frm01荷重組合せ",
                                          .table = "VUP01荷重名称組合せ", .create = [] { return new frm01荷重組合せ(); },
                                          .ownPlacement = true};
    return d;
}

frm01荷重組合せ::frm01荷重組合せ() : InputScreen(QStringLiteral("frm01荷重組合せ"))
{
    SetCaption(QStringLiteral("荷重名・荷重の組合せ（断面設計用）"));

    // Case frame.
    Frame1 = new QGroupBox(QStringLiteral("荷重ケース番号と荷重名称"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    forms::PlaceTw(Frame1, 120, 120, 4260, 6840);
    List荷重ケース = new QListWidget(Frame1);
    List荷重ケース->setObjectName(QStringLiteral("List荷重ケース"));
    forms::PlaceTw(List荷重ケース, 120, 330, 4020, 2700);
    Label1 = MakeLabel(Frame1, QStringLiteral("Label1"), QString(), 120, 3120, 4020, 1680, true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lbl荷重ケース名 = MakeLabel(Frame1, QStringLiteral("Lbl荷重ケース名"), QString(), 120, 4980, 1080, 300);
    Text荷重ケース名 = MakeBox(Frame1, QStringLiteral("Text荷重ケース名"), 1200, 4950, 2940);
    Cmbケース長短 = MakeCombo(Frame1, QStringLiteral("Cmbケース長短"), 1200, 5400, 1200);
    Cmd荷重名登録 = MakeButton(Frame1, QStringLiteral("Cmd荷重名登録"), QStringLiteral("↑登録"), 2700, 5370, 1440);
    cmdCase1行cls = MakeButton(Frame1, QStringLiteral("cmdCase1行cls"), QStringLiteral("1行ｸﾘｱｰ"), 1200, 6120, 1380);
    cmdCase全行cls = MakeButton(Frame1, QStringLiteral("cmdCase全行cls"), QStringLiteral("全ｸﾘｱｰ"), 2760, 6120, 1380);

    // Combination frame.
    Frame2 = new QGroupBox(QStringLiteral("荷重の組合せ"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    forms::PlaceTw(Frame2, 4500, 120, 6135, 6840);
    Lbl組合せ注意1 = MakeLabel(Frame2, QStringLiteral("Lbl組合せ注意1"), QString(), 120, 300, 5895, 780, true);
    Lbl組合せ注意1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label15 = MakeLabel(Frame2, QStringLiteral("Label15"), QString(), 120, 1140, 3300, 270);
    Label16 = MakeLabel(Frame2, QStringLiteral("Label16"), QStringLiteral("現在"), 3900, 1140, 540, 270);
    Lb1InpAssemNo = MakeLabel(Frame2, QStringLiteral("Lb1InpAssemNo"), QString(), 4440, 1140, 420, 270);
    Lb1InpAssemNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label17 = MakeLabel(Frame2, QStringLiteral("Label17"), QStringLiteral("組"), 4920, 1140, 300, 270);
    List荷重組合せ = new QListWidget(Frame2);
    List荷重組合せ->setObjectName(QStringLiteral("List荷重組合せ"));
    forms::PlaceTw(List荷重組合せ, 120, 1470, 5340, 1860);
    CmdToUp = MakeButton(Frame2, QStringLiteral("CmdToUp"), QStringLiteral("↑"), 5520, 1470, 480);
    CmdToDown = MakeButton(Frame2, QStringLiteral("CmdToDown"), QStringLiteral("↓"), 5520, 1920, 480);
    cmdAssemNew = MakeButton(Frame2, QStringLiteral("cmdAssemNew"), QStringLiteral("新規"), 120, 3420, 1200);
    cmdAssem1行del = MakeButton(Frame2, QStringLiteral("cmdAssem1行del"), QStringLiteral("1行削除"), 1440, 3420, 1200);
    cmdAssem全行del = MakeButton(Frame2, QStringLiteral("cmdAssem全行del"), QStringLiteral("全削除"), 2760, 3420, 1200);

    Label9 = MakeLabel(Frame2, QStringLiteral("Label9"), QStringLiteral("組合せ荷重名"), 120, 3960, 1500, 270);
    Lbl組合せ名 = MakeLabel(Frame2, QStringLiteral("Lbl組合せ名"), QString(), 120, 4290, 1080, 300);
    Text荷重組合せ名 = MakeBox(Frame2, QStringLiteral("Text荷重組合せ名"), 1200, 4260, 2580);
    Cmb組合せ長短 = MakeCombo(Frame2, QStringLiteral("Cmb組合せ長短"), 3840, 4260, 1080);
    Cmd組合せ登録 = MakeButton(Frame2, QStringLiteral("Cmd組合せ登録"), QStringLiteral("↑登録"), 4980, 4230, 1020);
    Label10 = MakeLabel(Frame2, QStringLiteral("Label10"), QStringLiteral("荷重名"), 600, 4710, 1200, 270);
    Label11 = MakeLabel(Frame2, QStringLiteral("Label11"), QStringLiteral("倍率"), 3360, 4710, 900, 270);
    for (int t = 0; t < 4; ++t) {
        const double top = 5010 + t * 390;
        MakeLabel(Frame2, QString(), t == 0 ? QStringLiteral("＝") : QStringLiteral("＋"), 240, top + 30, 300, 270);
        Cmb荷重名[t] = MakeCombo(Frame2, QStringLiteral("Cmb荷重名(%1)").arg(t), 600, top, 2460);
        MakeLabel(Frame2, QString(), QStringLiteral("×"), 3120, top + 30, 240, 270);
        txt倍率[t] = MakeBox(Frame2, QStringLiteral("txt倍率(%1)").arg(t), 3360, top, 900);
        txt倍率[t]->setAlignment(Qt::AlignRight);
        倍率UpDown[t] = new FactorSpinButtons(txt倍率[t], Frame2);
        倍率UpDown[t]->setObjectName(QStringLiteral("倍率UpDown(%1)").arg(t));
        forms::PlaceTw(倍率UpDown[t], 4260, top, 240, 330);
        倍率UpDown[t]->Up->setGeometry(0, 0, 16, 11);
        倍率UpDown[t]->Down->setGeometry(0, 11, 16, 11);
    }
    Label12 = MakeLabel(Frame2, QStringLiteral("Label12"), QStringLiteral("不要な組合せ入力行は、倍率を 0 にしてください"),
                        120, 6600, 5895, 240);

    // Window buttons.
    Cmd上書き保存 = MakeButton(this, QStringLiteral("Cmd上書き保存"), QStringLiteral("上書き保存"), 5940, 7140, 1500, 450);
    Cmd上書き保存->setToolTip(QStringLiteral("現在の入力内容を上書き保存"));
    Cmd登録 = MakeButton(this, QStringLiteral("Cmd登録"), QStringLiteral("登録"), 7560, 7140, 1500, 450);
    Cmd登録->setToolTip(QStringLiteral("入力内容を上書き保存して終了"));
    Cmd中止 = MakeButton(this, QStringLiteral("Cmd中止"), QStringLiteral("中止"), 9135, 7140, 1500, 450);
    Cmd中止->setToolTip(QStringLiteral("入力内容を保存しないで終了"));

    SetClientSizeTw(10755, 7740);
    setFixedSize(size());

    // A click, or a move of the selection by key, shows the line; selections
    // the window makes itself show their line where the window says so.
    auto listEvents = [this](QListWidget* list, void (frm01荷重組合せ::*handler)()) {
        connect(list, &QListWidget::itemClicked, this, [this, handler] { (this->*handler)(); });
        connect(list, &QListWidget::currentRowChanged, this, [this, handler](int row) {
            if (!selecting_ && row >= 0) (this->*handler)();
        });
    };
    listEvents(List荷重ケース, &frm01荷重組合せ::List荷重ケース_Click);
    listEvents(List荷重組合せ, &frm01荷重組合せ::List荷重組合せ_Click);

    const std::pair<QPushButton*, void (frm01荷重組合せ::*)()> buttons[] = {
        {Cmd荷重名登録, &frm01荷重組合せ::Cmd荷重名登録_Click},
        {cmdCase1行cls, &frm01荷重組合せ::cmdCase1行cls_Click},
        {cmdCase全行cls, &frm01荷重組合せ::cmdCase全行cls_Click},
        {cmdAssemNew, &frm01荷重組合せ::cmdAssemNew_Click},
        {cmdAssem1行del, &frm01荷重組合せ::cmdAssem1行del_Click},
        {cmdAssem全行del, &frm01荷重組合せ::cmdAssem全行del_Click},
        {Cmd組合せ登録, &frm01荷重組合せ::Cmd組合せ登録_Click},
        {CmdToUp, &frm01荷重組合せ::CmdToUp_Click},
        {CmdToDown, &frm01荷重組合せ::CmdToDown_Click},
        {Cmd上書き保存, &frm01荷重組合せ::Cmd上書き保存_Click},
        {Cmd中止, &frm01荷重組合せ::Cmd中止_Click},
        {Cmd登録, &frm01荷重組合せ::Cmd登録_Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
}

// ---- loading -------------------------------------------------------------------

std::vector<std::pair<QString, QString>> frm01荷重組合せ::OwnToolTips() const
{
    return {{Cmd上書き保存->objectName(), Cmd上書き保存->toolTip()},
            {Cmd登録->objectName(), QStringLiteral("入力内容を上書き保存して終了")},
            {Cmd中止->objectName(), Cmd中止->toolTip()}};
}

void frm01荷重組合せ::Form_Load()
{
    BeginInput();
    modified_ = false;
    loading_ = true;
    // Centred on the screen of the main menu that opens it.
    CentreOver(this, nullptr);

    bool loaded = false;
    try {
        loaded = LoadFromDatabase();
    } catch (const std::exception&) {
        // The table cannot be read: nothing is shown that could be saved over it.
        ShowDatabaseAccessMessage();
    }
    loading_ = false;
    if (WindowRecordset) {
        try { WindowRecordset->Close(); } catch (...) {}
        WindowRecordset.reset();
    }
    if (WindowDatabase) {
        try { WindowDatabase->Close(); } catch (...) {}
        WindowDatabase.reset();
    }
    modified_ = false;
    if (!loaded) {
        MarkEnding();
        Unload();
    }
}

bool frm01荷重組合せ::LoadFromDatabase()
{
    WindowDatabase = dao::Database::Open(kWorkingDatabase);
    if (!ReadCaseCount()) return false;
    WindowRecordset = WindowDatabase->OpenRecordset(kTable);
    MatchCaseRowsToCaseCount();
    if (!ListCases()) return false;
    ShowCaseEntry();
    ListCombinations();
    PrepareCombinationEntry();
    ShowCombinationNotes();
    return true;
}

bool frm01荷重組合せ::ReadCaseCount()
{
    WindowRecordset = WindowDatabase->OpenRecordset(QStringLiteral("基本データ"));
    if (IsEmptyRecordset(WindowRecordset)) {
        Program().MsgResult = int16_t(ui::MsgBox(QStringLiteral("基本データが正常に読み込めませんでした。処理を中止します。"),
                                       ui::Icon::Critical));
        return false;
    }
    WindowRecordset->MoveFirst();
    const Variant cases = WindowRecordset->Field(QStringLiteral("Case"));
    // The copy in memory holds ten cases, the most the basic data allow.
    caseCount_ = cases.isNull() ? 0 : std::clamp<int16_t>(cases.toInteger(), 0, MaxCases);
    WindowRecordset->Close();
    return true;
}

void frm01荷重組合せ::MatchCaseRowsToCaseCount()
{
    // The case rows follow the basic data's count, which may have changed
    // since the table was last saved.
    WindowRecordset->Filter = QStringLiteral("CaseNo < 100");
    dao::RecordsetPtr selection = WindowRecordset->OpenRecordset();
    const int16_t found = IsEmptyRecordset(selection) ? 0 : int16_t(selection->RecordCount());
    SyncBaseCaseRows(found, selection);
    selection->Close();
}

bool frm01荷重組合せ::ListCases()
{
    dao::RecordsetPtr selection = WindowRecordset->OpenRecordset();
    if (IsEmptyRecordset(selection)) {
        Program().MsgResult = int16_t(ui::MsgBox(QStringLiteral("元になる荷重ケースのデータが見つかりませんでした。処理を中止します。"),
                                       ui::Icon::Critical));
        return false;
    }
    selection->Sort = QStringLiteral("順 ASC");
    selection = selection->OpenRecordset();
    List荷重ケース->clear();
    int16_t i = 0;
    for (selection->MoveFirst(); !selection->EOF_() && i < MaxCases; selection->MoveNext()) {
        CaseRow& row = cases_[++i];
        row.label = QStringLiteral("Case ") + rt::CStrInt(selection->Field(QStringLiteral("CaseNo")).toInteger());
        QString line = row.label + QStringLiteral("：　");
        row.name = TextOrEmpty(selection, "CaseName");
        if (!row.name.isEmpty()) line += row.name;
        row.cls = TextOrEmpty(selection, "CaseCnd");
        if (!row.cls.isEmpty()) line += QStringLiteral("（") + row.cls + QStringLiteral("）");
        List荷重ケース->addItem(line);
    }
    selection->Close();
    return true;
}

void frm01荷重組合せ::ShowCaseEntry()
{
    Label1->setText(QStringLiteral("各荷重ケースに、荷重ケース名および長期/短期の区別を入力してください。") + kCRLF +
                    QStringLiteral("但し、必ず入力しなければいけないものではありません。") + kCRLF +
                    QStringLiteral("入力の有無による結果(表示･印刷)のちがいは、組合せ荷重の荷重ケース名が") +
                    QStringLiteral("ケース番号になるかケース名になるかだけです。"));
    FillClasses(Cmbケース長短);
    if (List荷重ケース->count() > 0) {
        SelectListRow(List荷重ケース, 0);
        List荷重ケース_Click();
    }
}

void frm01荷重組合せ::ListCombinations()
{
    // Rows above 1000 are an earlier save's leftovers, not combinations; the
    // next save removes them.
    WindowRecordset->Filter = QStringLiteral("CaseNo > 100 AND CaseNo < 1000");
    dao::RecordsetPtr selection = WindowRecordset->OpenRecordset();
    // Every stored combination is read, also beyond the number new ones stop at.
    combinationCount_ = IsEmptyRecordset(selection) ? 0 : int16_t(selection->RecordCount());
    combinations_.assign(static_cast<size_t>(combinationCount_) + 1, CombinationRow());
    if (combinationCount_ > 0) {
        List荷重組合せ->clear();
        selection->Sort = QStringLiteral("順 ASC");
        selection = selection->OpenRecordset();
        int16_t k = 0;
        for (selection->MoveFirst(); !selection->EOF_() && k < combinationCount_; selection->MoveNext()) {
            CombinationRow& row = combinations_[++k];
            row.label = QStringLiteral("ASM ") + rt::CStrInt(selection->Field(QStringLiteral("CaseNo")).toInteger() - 100);
            QString line = row.label + QStringLiteral("：　");
            row.name = TextOrEmpty(selection, "CaseName");
            if (!row.name.isEmpty()) line += row.name;
            row.cls = TextOrEmpty(selection, "CaseCnd");
            if (!row.cls.isEmpty()) line += QStringLiteral("（") + row.cls + QStringLiteral("）");
            for (int t = 0; t < 4; ++t) {
                const Variant no = selection->Field(QString::fromUtf8(kTermCaseFields[t]));
                const Variant pw = selection->Field(QString::fromUtf8(kTermFactorFields[t]));
                const int16_t index = no.isNull() ? 0 : no.toInteger();
                const float factor = pw.isNull() ? 0.0f : pw.toSingle();
                Term& term = row.terms[t];
                if (factor > 0 && index >= 0 && index <= caseCount_ - 1) {
                    line += t == 0 ? QStringLiteral("＝") : QStringLiteral("＋");
                    term.load = DisplayName(int16_t(index + 1));
                    term.factor = rt::CStrSingle(factor);
                    term.index = index;
                    line += term.load + QStringLiteral("×") + term.factor;
                } else if (factor > 0) {
                    term.factor = QStringLiteral("0");
                }
            }
            List荷重組合せ->addItem(line);
        }
    }
    selection->Close();
}

void frm01荷重組合せ::PrepareCombinationEntry()
{
    FillClasses(Cmb組合せ長短);
    RefreshLoadNameCombos();
    for (QLineEdit* box : txt倍率) box->setText(QStringLiteral("1"));
    loading_ = false;

    if (List荷重組合せ->count() == 0) {
        Lbl組合せ名->clear();
        Text荷重組合せ名->clear();
        Cmb組合せ長短->setCurrentIndex(0);
    } else {
        SelectListRow(List荷重組合せ, 0);
        List荷重組合せ_Click();
    }
}

void frm01荷重組合せ::ShowCombinationNotes()
{
    Label15->setText(QStringLiteral("荷重の組合せは") + QStringLiteral("10") + QStringLiteral("組まで入力できます｡"));
    Lbl組合せ注意1->setText(QStringLiteral("断面設計は、ここで入力された荷重の組合せ内容に従って行われます。") + kCRLF +
                           QStringLiteral("従って、荷重の組合せは必ず入力してください。") +
                           QStringLiteral("荷重の組合せが入力されていない場合、断面設計は行われません。"));
    Lb1InpAssemNo->setText(rt::CStrInt(combinationCount_));
}

void frm01荷重組合せ::SyncBaseCaseRows(int16_t count, dao::RecordsetPtr& selection)
{
    if (caseCount_ > count) {
        for (int16_t n = int16_t(count + 1); n <= caseCount_; ++n) {
            selection->AddNew();
            selection->SetField(QStringLiteral("CaseNo"), Variant::Integer(n));
            selection->SetField(QStringLiteral("CaseName"), Variant::Null());
            selection->SetField(QStringLiteral("CaseCnd"), Variant::Null());
            for (int t = 0; t < 4; ++t) {
                selection->SetField(QString::fromUtf8(kTermCaseFields[t]), Variant::Integer(0));
                selection->SetField(QString::fromUtf8(kTermFactorFields[t]), Variant::Single(0));
            }
            selection->SetField(QStringLiteral("順"), Variant::Single(n));
            selection->Update();
        }
    } else if (caseCount_ < count) {
        // The rows kept are cases 1 to the number of cases, whatever order
        // the rows were stored in.
        selection->Sort = QStringLiteral("CaseNo ASC, 順 ASC");
        selection = selection->OpenRecordset();
        selection->MoveFirst();
        for (int16_t i = 1; i <= count && !selection->EOF_(); ++i) {
            if (i > caseCount_) selection->Delete();
            selection->MoveNext();
        }
    }
}

QString frm01荷重組合せ::DisplayName(int16_t caseRow) const
{
    if (caseRow < 1 || caseRow > MaxCases) return QString();
    const CaseRow& c = cases_[caseRow];
    return c.name.isEmpty() ? c.label : c.name;
}

void frm01荷重組合せ::SetListLine(QListWidget* list, int row, const QString& text)
{
    if (row == list->count()) list->addItem(text);
    else if (QListWidgetItem* item = list->item(row)) item->setText(text);
}

void frm01荷重組合せ::SelectListRow(QListWidget* list, int row)
{
    selecting_ = true;
    if (row < 0) {
        list->setCurrentRow(-1);
        list->clearSelection();
    } else {
        list->setCurrentRow(row);
    }
    selecting_ = false;
}

void frm01荷重組合せ::RefreshLoadNameCombos()
{
    // The cases keep their places in the lists: each box stays on the case it
    // showed, under its new name, so that the combination shown keeps its terms.
    for (QComboBox* box : Cmb荷重名) {
        const int shown = box->currentIndex();
        box->clear();
        for (int16_t i = 1; i <= caseCount_; ++i) box->addItem(DisplayName(i));
        box->setCurrentIndex(shown >= 0 && shown < box->count() ? shown : 0);
    }
    if (loading_ || List荷重組合せ->count() == 0) return;
    for (int16_t k = 1; k <= combinationCount_; ++k) {
        for (Term& term : combinations_[k].terms) {
            // A typed load that names no case keeps its text.
            if (term.index >= 0 && term.index < caseCount_) term.load = DisplayName(int16_t(term.index + 1));
        }
        BuildCombinationLine(k, false);
    }
}

void frm01荷重組合せ::BuildCombinationLine(int16_t k, bool takeControls)
{
    if (k < 1) return;
    if (static_cast<size_t>(k) >= combinations_.size()) combinations_.resize(static_cast<size_t>(k) + 1);
    CombinationRow& row = combinations_[k];
    if (takeControls) {
        row.label = QStringLiteral("ASM ") + rt::CStrInt(k);
        row.name = Text荷重組合せ名->text().trimmed();
        row.cls = StoredClass(Cmb組合せ長短->currentText());
    }
    QString line = row.label + QStringLiteral("：　") + row.name + QStringLiteral("（") + row.cls + QStringLiteral("）");
    for (int t = 0; t < 4; ++t) {
        Term& term = row.terms[t];
        if (takeControls) {
            term.load = Cmb荷重名[t]->currentText().trimmed();
            term.index = int16_t(Cmb荷重名[t]->currentIndex());
            term.factor = txt倍率[t]->text().trimmed();
        }
        if (rt::Val(term.factor) > 0) {
            line += (t == 0 ? QStringLiteral("＝") : QStringLiteral("＋")) + term.load + QStringLiteral("×") + term.factor;
        } else if (takeControls) {
            term.load.clear();
            term.factor.clear();
        }
    }
    SetListLine(List荷重組合せ, k - 1, line);
}

// ---- showing -------------------------------------------------------------------

void frm01荷重組合せ::List荷重ケース_Click()
{
    const int row = List荷重ケース->currentRow();
    if (row < 0 || row >= MaxCases) return;
    currentCase_ = int16_t(row + 1);
    const CaseRow& c = cases_[currentCase_];
    Lbl荷重ケース名->setText(c.label);
    Text荷重ケース名->setText(c.name);
    Cmbケース長短->setCurrentIndex(ClassItem(c.cls));
}

void frm01荷重組合せ::List荷重組合せ_Click()
{
    if (loading_) return;
    const int row = List荷重組合せ->currentRow();
    if (row < 0 || row >= combinationCount_) return;
    currentCombination_ = int16_t(row + 1);
    const CombinationRow& c = combinations_[currentCombination_];
    Lbl組合せ名->setText(c.label);
    Text荷重組合せ名->setText(c.name);
    Cmb組合せ長短->setCurrentIndex(ClassItem(c.cls));
    for (int t = 0; t < 4; ++t) {
        const Term& term = c.terms[t];
        if (term.load.isEmpty()) {
            Cmb荷重名[t]->setCurrentIndex(0);
            txt倍率[t]->setText(QStringLiteral("0"));
            continue;
        }
        const int item = Cmb荷重名[t]->findText(term.load, Qt::MatchExactly);
        if (item >= 0) {
            Cmb荷重名[t]->setCurrentIndex(item);
            txt倍率[t]->setText(term.factor);
        }
    }
}

// ---- case editing ----------------------------------------------------------------

void frm01荷重組合せ::Cmd荷重名登録_Click()
{
    if (currentCase_ < 1) {
        ui::Beep();
        return;
    }
    CaseRow& c = cases_[currentCase_];
    c.name = Text荷重ケース名->text().trimmed();
    c.cls = Cmbケース長短->currentText();
    SetListLine(List荷重ケース, currentCase_ - 1,
                c.label + QStringLiteral("：　") + c.name + QStringLiteral("（") + c.cls + QStringLiteral("）"));
    RefreshLoadNameCombos();
    modified_ = true;
}

void frm01荷重組合せ::ResetCaseEntry()
{
    Text荷重ケース名->clear();
    Cmbケース長短->setCurrentIndex(1);
    RefreshLoadNameCombos();
    modified_ = true;
}

void frm01荷重組合せ::cmdCase1行cls_Click()
{
    if (currentCase_ >= 1 && !cases_[currentCase_].name.isEmpty()) {
        Program().MsgResult = int16_t(ui::MsgBox(QStringLiteral("選択されている荷重ケース名がクリアーされます。いいですか"),
                                       ui::Icon::Information | ui::Buttons::YesNo));
        if (Program().MsgResult == ui::Answer::Yes) {
            CaseRow& c = cases_[currentCase_];
            c.name.clear();
            c.cls.clear();
            SetListLine(List荷重ケース, currentCase_ - 1, c.label + QStringLiteral("：　"));
        }
    }
    ResetCaseEntry();
}

void frm01荷重組合せ::cmdCase全行cls_Click()
{
    bool anyName = false;
    for (int16_t i = 1; i <= caseCount_; ++i) anyName = anyName || !cases_[i].name.isEmpty();
    if (anyName) {
        Program().MsgResult = int16_t(ui::MsgBox(QStringLiteral("全ての荷重ケース名がクリアーされます。いいですか"),
                                       ui::Icon::Information | ui::Buttons::YesNo));
        if (Program().MsgResult == ui::Answer::Yes) {
            for (int16_t i = 1; i <= caseCount_; ++i) {
                cases_[i].name.clear();
                cases_[i].cls.clear();
                SetListLine(List荷重ケース, i - 1, cases_[i].label + QStringLiteral("：　"));
            }
        }
    }
    ResetCaseEntry();
}

// ---- combination editing -------------------------------------------------------------

void frm01荷重組合せ::cmdAssemNew_Click()
{
    // The copy holds ten combinations; an eleventh is refused with the limit.
    if (combinationCount_ >= MaxCombinations) {
        ui::Beep();
        Program().MsgResult = int16_t(ui::MsgBox(Label15->text(), ui::Icon::Information));
        return;
    }
    currentCombination_ = int16_t(combinationCount_ + 1);
    Lbl組合せ名->setText(QStringLiteral("ASM ") + rt::CStrInt(currentCombination_) + QStringLiteral("：　"));
    modified_ = true;
}

void frm01荷重組合せ::Cmd組合せ登録_Click()
{
    if (Lbl組合せ名->text().isEmpty()) {
        Program().MsgResult = int16_t(ui::MsgBox(QStringLiteral("組合せ荷重を入力できる状態ではありません。") + kCRLF +
                                           QStringLiteral("[新規]ボタンをクリックするか、入力済みの「組合せ荷重」をクリックしたあと") +
                                           kCRLF + QStringLiteral("組合せ荷重データを設定してください。"),
                                       ui::Icon::Information));
        return;
    }
    if (Text荷重組合せ名->text().trimmed().isEmpty()) {
        Program().MsgResult = int16_t(ui::MsgBox(QStringLiteral("組合せ荷重名が入力されていません。"), ui::Icon::Information));
        return;
    }
    // A row beyond the next free one cannot be written without a gap in the list.
    if (currentCombination_ < 1 || currentCombination_ > combinationCount_ + 1) {
        ui::Beep();
        return;
    }
    BuildCombinationLine(currentCombination_, true);
    if (currentCombination_ > combinationCount_) combinationCount_ = currentCombination_;
    Lb1InpAssemNo->setText(rt::CStrInt(combinationCount_));
    modified_ = true;
}

QString frm01荷重組合せ::AppendProvisionalDeleteNote(const QString& text)
{
    return text + kCRLF + kCRLF + QStringLiteral("■ここで削除すると、一旦、仮の削除状態になります。") + kCRLF +
           QStringLiteral("　実際には、その後、[登録]または[上書き保存]ボタンをクリックする事により、完全に") + kCRLF +
           QStringLiteral("　削除されます｡ ") + kCRLF + kCRLF +
           QStringLiteral("■従って、ここで削除した後でも、[登録]または[上書き保存]ボタンをクリックする以前") + kCRLF +
           QStringLiteral("　であれば､[キャンセル]ボタンで一度入力画面を閉じ、再度入力画面を開くことで元に戻") + kCRLF +
           QStringLiteral("　すことはできます。") + kCRLF + kCRLF +
           QStringLiteral("■[登録]または[上書き保存]ボタンをクリックすることにより、一度完全に削除したデータ") + kCRLF +
           QStringLiteral("　を元に戻すことはできません。") + kCRLF;
}

void frm01荷重組合せ::ClearCombinationEntry()
{
    currentCombination_ = 0;
    Lbl組合せ名->clear();
    Text荷重組合せ名->clear();
}

void frm01荷重組合せ::cmdAssem1行del_Click()
{
    const int a = List荷重組合せ->currentRow();
    QListWidgetItem* line = a >= 0 ? List荷重組合せ->item(a) : nullptr;
    // Without a selected line there is nothing to delete.
    if (!line || !line->isSelected() || a >= combinationCount_) {
        ui::Beep();
        return;
    }
    Program().MsgResult = int16_t(ui::MsgBox(AppendProvisionalDeleteNote(QStringLiteral("「") + line->text() +
                                                               QStringLiteral("」を１行削除します。")) +
                                       kCRLF + QStringLiteral("削除しますか？"),
                                   ui::Icon::Information | kOKCancel));
    if (Program().MsgResult != ui::Answer::OK) return;

    // The rows below move up; the labels stay with their rows.
    for (int16_t r = int16_t(a + 1); r < combinationCount_; ++r) {
        const QString label = combinations_[r].label;
        combinations_[r] = combinations_[r + 1];
        combinations_[r].label = label;
    }
    combinations_[combinationCount_] = CombinationRow();
    --combinationCount_;
    SelectListRow(List荷重組合せ, -1);
    List荷重組合せ->clear();
    for (int16_t k = 1; k <= combinationCount_; ++k) BuildCombinationLine(k, false);
    if (a - 1 >= 0) {
        SelectListRow(List荷重組合せ, a - 1);
        List荷重組合せ_Click();
    } else {
        // No line is selected: nothing stands in the entry area to be registered.
        ClearCombinationEntry();
    }
    Lb1InpAssemNo->setText(rt::CStrInt(combinationCount_));
    modified_ = true;
}

void frm01荷重組合せ::cmdAssem全行del_Click()
{
    Program().MsgResult = int16_t(ui::MsgBox(AppendProvisionalDeleteNote(QStringLiteral("全ての荷重組合せデータを削除します。")) + kCRLF +
                                       QStringLiteral("全削除をしますか？"),
                                   ui::Icon::Information | kOKCancel));
    if (Program().MsgResult != ui::Answer::OK) return;
    combinations_.assign(1, CombinationRow());
    combinationCount_ = 0;
    Lb1InpAssemNo->setText(rt::CStrInt(combinationCount_));
    SelectListRow(List荷重組合せ, -1);
    List荷重組合せ->clear();
    ClearCombinationEntry();
    for (QComboBox* box : Cmb荷重名) box->setCurrentIndex(0);
    for (QLineEdit* box : txt倍率) box->setText(QStringLiteral("1"));
    Cmb組合せ長短->setCurrentIndex(0);
    modified_ = true;
}

// ---- saving and closing -------------------------------------------------------------

bool frm01荷重組合せ::SaveLoadNamesAndCombinations()
{
    // One transaction: the table ends either as it was or fully rewritten.
    try {
        WindowDatabase = dao::Database::Open(kWorkingDatabase);
        dao::WriteTransaction writing(*WindowDatabase);
        SaveRows();
        writing.Commit();
    } catch (const std::exception&) {
        CloseInputRecordsets(WindowDatabase, WindowRecordset);
        ShowDatabaseAccessMessage();
        return false;
    }
    CloseInputRecordsets(WindowDatabase, WindowRecordset);
    return true;
}

void frm01荷重組合せ::SaveRows()
{
    // The rows of the last save are numbered out of the way first and removed
    // last: the new rows are written beside them, never over them.
    MarkSavedRows();
    WriteCaseRows();
    WriteCombinationRows();
    DeleteMarkedRows();
}

void frm01荷重組合せ::MarkSavedRows()
{
    WindowRecordset = WindowDatabase->OpenRecordset(kTable);
    if (!IsEmptyRecordset(WindowRecordset)) {
        for (WindowRecordset->MoveFirst(); !WindowRecordset->EOF_(); WindowRecordset->MoveNext()) {
            const Variant no = WindowRecordset->Field(QStringLiteral("CaseNo"));
            // A row without a number belongs to no case and no combination.
            if (no.isNull()) {
                WindowRecordset->Delete();
                continue;
            }
            WindowRecordset->Edit();
            WindowRecordset->SetField(QStringLiteral("CaseNo"), Variant::Integer(rt::CInt(no.toDouble() + 1000)));
            WindowRecordset->Update();
        }
    }
    WindowRecordset->Close();
}

void frm01荷重組合せ::WriteCaseRows()
{
    WindowRecordset = WindowDatabase->OpenRecordset(kTable);
    for (int16_t n = 1; n <= caseCount_; ++n) {
        WindowRecordset->AddNew();
        WindowRecordset->SetField(QStringLiteral("CaseNo"), Variant::Integer(n));
        WindowRecordset->SetField(QStringLiteral("CaseName"), TextOrNull(cases_[n].name));
        WindowRecordset->SetField(QStringLiteral("CaseCnd"), TextOrNull(cases_[n].cls));
        WindowRecordset->SetField(QStringLiteral("順"), Variant::Single(n));
        WindowRecordset->Update();
    }
}

void frm01荷重組合せ::WriteCombinationRows()
{
    // Every combination is kept: one stored without a class is long-term.
    for (int16_t k = 1; k <= combinationCount_; ++k) {
        const CombinationRow& c = combinations_[k];
        WindowRecordset->AddNew();
        WindowRecordset->SetField(QStringLiteral("CaseNo"), Variant::Integer(int16_t(100 + k)));
        WindowRecordset->SetField(QStringLiteral("CaseName"), TextOrNull(c.name));
        WindowRecordset->SetField(QStringLiteral("CaseCnd"), Variant::Text(StoredClass(c.cls)));
        for (int t = 0; t < 4; ++t) {
            WindowRecordset->SetField(QString::fromUtf8(kTermCaseFields[t]), Variant::Integer(c.terms[t].index));
            WindowRecordset->SetField(QString::fromUtf8(kTermFactorFields[t]), Variant::Single(rt::CSng(rt::Val(c.terms[t].factor))));
        }
        WindowRecordset->SetField(QStringLiteral("順"), Variant::Single(float(100 + k)));
        WindowRecordset->Update();
    }
    WindowRecordset->Close();
}

void frm01荷重組合せ::DeleteMarkedRows()
{
    WindowRecordset = WindowDatabase->OpenRecordset(kTable);
    WindowRecordset->Filter = QStringLiteral("CaseNo > 1000");
    dao::RecordsetPtr marked = WindowRecordset->OpenRecordset();
    if (!IsEmptyRecordset(marked)) {
        for (marked->MoveFirst(); !marked->EOF_(); marked->MoveNext()) marked->Delete();
    }
    marked->Close();
    WindowRecordset->Close();
}

void frm01荷重組合せ::EndWindow(bool cancelled)
{
    MarkEnding();
    CloseInputRecordsets(WindowDatabase, WindowRecordset);
    EndInputForm(cancelled);
}

void frm01荷重組合せ::Cmd登録_Click()
{
    if (modified_ && !SaveLoadNamesAndCombinations()) return;
    EndWindow(false);
}

void frm01荷重組合せ::Cmd中止_Click()
{
    if (modified_ && ConfirmCancelInput(1) == 7) return;
    EndWindow(true);
}

void frm01荷重組合せ::Cmd上書き保存_Click()
{
    // A save renews the backup: a later "中止" goes back to this state.
    if (modified_ && (!SaveLoadNamesAndCombinations() || !RefreshInputBackup())) return;
    modified_ = false;
}

void frm01荷重組合せ::Form_QueryUnload(bool& cancel, int unloadMode)
{
    // The close box leaves as "中止" does, with the close box's question.
    if (unloadMode != forms::UnloadFromCloseBox || Ending()) return;
    if (modified_ && ConfirmCancelInput(0) == 7) {
        cancel = true;
        return;
    }
    EndWindow(true);
}
