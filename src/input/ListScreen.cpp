#include "input/ListScreen.h"

#include "input/InputControls.h"
#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputStart.h"
#include "input/InputValidation.h"
#include "platform/Forms.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/NotAvailable.h"
#include "core/NumberText.h"
#include "core/WindowHelpers.h"
#include "database/Schema.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

// The pictures of the reorder buttons: a triangle, with a bar for the ends.
QIcon ArrowIcon(bool up, bool bar)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 0, 128));
    p.setPen(Qt::NoPen);
    QPolygon tri;
    if (up) tri << QPoint(10, 5) << QPoint(3, 15) << QPoint(17, 15);
    else tri << QPoint(10, 15) << QPoint(3, 5) << QPoint(17, 5);
    p.drawPolygon(tri);
    if (bar) p.drawRect(up ? QRect(3, 1, 14, 3) : QRect(3, 16, 14, 3));
    return QIcon(pm);
}

const QColor kEntryColour(0xC0, 0xFF, 0xC0);   // &HC0FFC0
const QColor kLockedColour(0xC0, 0xC0, 0xFF);  // &HFFC0C0

}  // namespace

ListScreen::ListScreen(ListScreenDescription description, QWidget* parent)
    : InputScreen(description.screen.formName, parent), description_(std::move(description))
{
    Data1 = new dao::DataControl(QStringLiteral("Data1"), this);
    DBGrid = new dao::DataGrid(QStringLiteral("DBGrid"), this);
    DBGrid->SetColumns(description_.columns);
    DBGrid->SetDataSource(Data1);
    ShowColumnsInOrder(DBGrid, Data1, description_.columns);
    connect(DBGrid, &dao::DataGrid::RowColChange, this, [this] { DBGrid_RowColChange(); });

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromUtf8(name));
        return b;
    };
    cmdMF = button("cmdMF", QString());
    cmdMU = button("cmdMU", QString());
    cmdMD = button("cmdMD", QString());
    cmdML = button("cmdML", QString());
    cmdMF->setIcon(ArrowIcon(true, true));
    cmdMU->setIcon(ArrowIcon(true, false));
    cmdMD->setIcon(ArrowIcon(false, false));
    cmdML->setIcon(ArrowIcon(false, true));
    cmd追加 = button("cmd追加", QStringLiteral("追加(&A)"));
    cmd修正 = button("cmd修正", QStringLiteral("修正(&E)"));
    cmd削除 = button("cmd削除", QStringLiteral("一行削除"));
    cmdAllDelete = button("cmdAllDelete", QStringLiteral("全削除"));
    cmdReferRAMEN = button("cmdReferRAMEN", QStringLiteral("フレーム図"));
    Cmd登録 = button("Cmd登録", description_.registerCaption.isEmpty() ? QStringLiteral("登録(&R)") : description_.registerCaption);
    cmdCancel = button("cmdCancel", description_.cancelCaption.isEmpty() ? QStringLiteral("ｷｬﾝｾﾙ(&Q)") : description_.cancelCaption);
    for (const NeighbourButton& nb : description_.neighbours) {
        QPushButton* b = new QPushButton(nb.caption, this);
        b->setObjectName(nb.name);
        neighbourButtons_.push_back(b);
        connect(b, &QPushButton::clicked, this, [this, nb] { OpenNeighbour(nb); });
    }

    connect(cmd追加, &QPushButton::clicked, this, [this] { cmd追加_Click(); });
    connect(cmd修正, &QPushButton::clicked, this, [this] { cmd修正_Click(); });
    connect(cmd削除, &QPushButton::clicked, this, [this] { cmd削除_Click(); });
    connect(cmdAllDelete, &QPushButton::clicked, this, [this] { cmdAllDelete_Click(); });
    connect(cmdMF, &QPushButton::clicked, this, [this] { MoveRecord(QStringLiteral("F")); });
    connect(cmdMU, &QPushButton::clicked, this, [this] { MoveRecord(QStringLiteral("P")); });
    connect(cmdMD, &QPushButton::clicked, this, [this] { MoveRecord(QStringLiteral("N")); });
    connect(cmdML, &QPushButton::clicked, this, [this] { MoveRecord(QStringLiteral("L")); });
    connect(Cmd登録, &QPushButton::clicked, this, [this] { Cmd登録_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdReferRAMEN, &QPushButton::clicked, this, [this] { cmdReferRAMEN_Click(); });

    if (!description_.numberLabelName.isEmpty()) {
        NumberLabel = new QLabel(this);
        NumberLabel->setObjectName(description_.numberLabelName);
        NumberLabel->setAlignment(Qt::AlignCenter);
    }
    for (const EntryBoxDescription& boxDescription : description_.boxes) {
        auto* box = new QLineEdit(this);
        box->setObjectName(boxDescription.name);
        box->setAlignment(Qt::AlignRight);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, boxDescription.hidden ? kLockedColour : kEntryColour);
        box->setPalette(pal);
        if (boxDescription.hidden) {
            // Held for the record procedures only: locked and out of sight.
            box->setReadOnly(true);
            box->setVisible(false);
        }
        box->installEventFilter(this);
        MakeNumericEntryBox(box, boxDescription.noMinus, boxDescription.noDot);
        // Any change the user makes to a box's text is an edit to be saved.
        connect(box, &QLineEdit::textEdited, this, [this] { Modified = true; });
        Boxes.push_back(box);
    }
    LayoutControls();
}

QLineEdit* ListScreen::Box(const QString& name) const
{
    for (QLineEdit* b : Boxes)
        if (b->objectName() == name) return b;
    return nullptr;
}

QLineEdit* ListScreen::FirstShownBox() const
{
    for (size_t i = 0; i < Boxes.size(); ++i)
        if (!description_.boxes[i].hidden) return Boxes[i];
    return Boxes[0];
}

void ListScreen::LayoutControls()
{
    const double gridW = description_.gridWidthTw;
    const double gridH = (Program().GridRowCount > 0 ? Program().GridRowCount : 11) * DBGrid->RowHeight() + 140;
    forms::PlaceTw(DBGrid, 120, 120, gridW, gridH);
    const double moveX = 120 + gridW + 90;
    forms::PlaceTw(cmdMF, moveX, 120, 480, 450);
    forms::PlaceTw(cmdMU, moveX, 660, 480, 450);
    forms::PlaceTw(cmdMD, moveX, 1200, 480, 450);
    forms::PlaceTw(cmdML, moveX, 1740, 480, 450);
    const double cmdX = moveX + 600;
    double y = 120;
    for (QPushButton* b : {cmd追加, cmd修正, cmd削除, cmdAllDelete}) {
        forms::PlaceTw(b, cmdX, y, 1500, 420);
        y += 480;
    }
    y += 120;
    forms::PlaceTw(cmdReferRAMEN, cmdX, y, 1500, 420);
    for (QPushButton* b : neighbourButtons_) {
        y += 480;
        forms::PlaceTw(b, cmdX, y, 1500, 420);
    }

    // Entry boxes in one row under the grid, each with its label above it,
    // and a group caption above a run of boxes that belong together.
    bool groups = false;
    bool notesBelow = false;
    for (const EntryBoxDescription& boxDescription : description_.boxes) {
        groups = groups || !boxDescription.group.isEmpty();
        notesBelow = notesBelow || !boxDescription.noteBelow.isEmpty();
    }
    const double groupY = 120 + gridH + 150;
    const double labelY = groups ? groupY + 300 : groupY;
    const double boxY = labelY + 300;
    double x = 300;
    QString runGroup;
    double runLeft = 0, runRight = 0;
    auto closeRun = [&] {
        if (runGroup.isEmpty()) return;
        auto* g = new QLabel(runGroup, this);
        g->setAlignment(Qt::AlignCenter);
        forms::PlaceTw(g, runLeft, groupY, runRight - runLeft, 270);
    };
    for (size_t i = 0; i < Boxes.size(); ++i) {
        const EntryBoxDescription& boxDescription = description_.boxes[i];
        if (boxDescription.hidden) continue;
        if (boxDescription.group != runGroup) {
            closeRun();
            if (!runGroup.isEmpty() && !boxDescription.group.isEmpty()) x += 150;
            runGroup = boxDescription.group;
            runLeft = x;
        }
        const double w = boxDescription.widthTw > 0 ? boxDescription.widthTw : description_.boxWidthTw;
        if (i == 0 && NumberLabel) {
            forms::PlaceTw(NumberLabel, x - 150, labelY, w + 300, 270);
        } else if (!boxDescription.label.isEmpty() || !boxDescription.labelName.isEmpty()) {
            auto* l = new QLabel(boxDescription.label, this);
            if (!boxDescription.labelName.isEmpty()) l->setObjectName(boxDescription.labelName);
            l->setAlignment(Qt::AlignCenter);
            forms::PlaceTw(l, x, labelY, w, 270);
        }
        forms::PlaceTw(Boxes[i], x, boxY, w, 330);
        if (!boxDescription.noteBelow.isEmpty()) {
            auto* l = new QLabel(boxDescription.noteBelow, this);
            forms::PlaceTw(l, x, boxY + 390, 6000, 270);
        }
        runRight = x + w;
        x += w + 90;
    }
    closeRun();
    double bottom = boxY + 330;
    double lineY = boxY + (notesBelow ? 750 : 420);
    auto noteLine = [&](const QString& name, const QString& caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        forms::PlaceTw(l, 120, lineY, std::max(x, 4000.0), 270);
        bottom = lineY + 270;
        lineY += 330;
    };
    if (!description_.note.isEmpty()) noteLine(QStringLiteral("Label1"), description_.note);
    for (const NoteLabel& n : description_.notes) noteLine(n.name, n.caption);
    extraTopTw_ = bottom;
    bottom += description_.extraHeightTw;
    const double endY = std::max(bottom + 150, y + 600);
    forms::PlaceTw(Cmd登録, cmdX, endY - 1020 > y + 480 ? endY - 1020 : y + 600, 1500, 420);
    forms::PlaceTw(cmdCancel, cmdX, Cmd登録->y() * 15.0 + 480, 1500, 420);
    SetClientSizeTw(std::max(cmdX + 1620, x + 120), std::max(endY, Cmd登録->y() * 15.0 + 1020));
}

// ---- load -----------------------------------------------------------------

void ListScreen::Form_Load()
{
    BeginInput();
    Busy = true;
    SetWindowCaption(description_.screen.code, this);
    ScreenDatabase = dao::Database::Open(kWorkingDatabase);
    ScreenRecordset = ScreenDatabase->OpenRecordset(Program().InputTableName);
    if (ScreenRecordset->BOF() && ScreenRecordset->EOF_()) {
        Data1->SetRecordset(ScreenRecordset);
        PrepareNew();
        for (size_t i = 0; i < Boxes.size(); ++i)
            if (description_.boxes[i].keepOnNew) Boxes[i]->setText(description_.boxes[i].newValue);
    } else {
        BindSortedRecordset(ScreenRecordset, Data1);
        if (HasCurrentRow()) ShowRecord();
    }
    if (NumberLabel) NumberLabel->setText(description_.numberLabelCaption);
    AfterLoad();
    Busy = false;
    Modified = false;
}

bool ListScreen::AtStart() const { return !ScreenRecordset || ScreenRecordset->BOF(); }
bool ListScreen::AtEnd() const { return !ScreenRecordset || ScreenRecordset->EOF_(); }

int16_t ListScreen::BoxNumber() const
{
    const double v = rt::Val(Boxes[0]->text());
    return rt::FitsInteger(v) ? rt::CInt(v) : 0;
}

// ---- row procedures ---------------------------------------------------------

void ListScreen::PrepareNew()
{
    if (Program().WorkRecordset) {
        try { Program().WorkRecordset->Close(); } catch (...) {}
    }
    Program().WorkRecordset = ScreenRecordset->Clone();
    int16_t max = 0;
    GetMaxFieldValue(max, Program().WorkRecordset, QStringLiteral("no_"));
    Program().WorkRecordset->Close();
    Program().WorkRecordset.reset();
    for (size_t i = 0; i < Boxes.size(); ++i) {
        const EntryBoxDescription& boxDescription = description_.boxes[i];
        if (i == 0) Boxes[i]->setText(rt::Format(ProposedNumber(max), QStringLiteral("0")));
        else if (!boxDescription.keepOnNew) Boxes[i]->setText(boxDescription.newValue);
    }
}

void ListScreen::ShowRecord()
{
    if (!description_.boxes[0].hidden) {
        QPalette pal = Boxes[0]->palette();
        pal.setColor(QPalette::Base, kEntryColour);
        Boxes[0]->setPalette(pal);
        Boxes[0]->setReadOnly(false);
    }
    for (size_t i = 0; i < Boxes.size(); ++i) {
        const EntryBoxDescription& boxDescription = description_.boxes[i];
        // Every digit the stored value holds is shown, so that saving the row
        // again stores the same value.
        const rt::Variant v = ScreenRecordset->Field(boxDescription.field);
        if (v.isNull()) Boxes[i]->setText(boxDescription.nullText);
        // A number, or a text in a box with a format (a number kept as text).
        else if (v.isNumber() || !boxDescription.format.isEmpty()) Boxes[i]->setText(StoredValueText(v, boxDescription.format));
        else Boxes[i]->setText(v.toString());
    }
}

bool ListScreen::InsertRow()
{
    if (!TypesExist()) return false;
    const int16_t n = BoxNumber();
    // A proposed row number past the last one counts as taken.
    const bool pastLast = description_.assignsNumbers && !rt::FitsInteger(rt::Val(Boxes[0]->text()));
    if (!IsKeyUnused(ScreenDatabase, QStringLiteral("no_"), Program().InputTableName, n) || pastLast) {
        if (!description_.assignsNumbers) {
            ui::Beep();
            Program().MsgResult = static_cast<int16_t>(ui::MsgBox(description_.duplicateOnInsert.arg(Boxes[0]->text()), ui::Icon::Information, AppTitle));
            return false;
        }
        // A placement row takes the next free number without a word (the
        // table is still open from the test); past the last row number there
        // is none.
        int16_t max = 0;
        GetMaxFieldValue(max, Program().WorkRecordset, QStringLiteral("no_"));
        if (max >= description_.rowNumberLimit) {
            bool result = true;
            ShowInvalidInputMessage(result);
            return false;
        }
        Boxes[0]->setText(QString::number(max + 1));
    }
    ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
    if (Program().WorkRecordset) {
        try { Program().WorkRecordset->Close(); } catch (...) {}
    }
    Program().WorkRecordset = ScreenRecordset->Clone();
    // A list holds at most 32767 rows: a further row cannot be numbered.
    if (GetLastOrderNo() >= 32767) {
        Program().WorkRecordset->Close();
        Program().WorkRecordset.reset();
        Data1->SetRecordset(ScreenRecordset);
        bool result = true;
        ShowInvalidInputMessage(result);
        return false;
    }
    AddRecord(ScreenRecordset, RowValues());
    Program().WorkRecordset->Close();
    Program().WorkRecordset.reset();
    Data1->SetRecordset(ScreenRecordset);
    Modified = false;
    return true;
}

bool ListScreen::UpdateRow()
{
    if (!TypesExist()) return false;
    const int16_t n = BoxNumber();
    const int16_t current = ScreenRecordset->Field(QStringLiteral("No_")).toInteger();
    if (!description_.assignsNumbers && current != n && !IsKeyUnused(ScreenDatabase, QStringLiteral("no_"), Program().InputTableName, n)) {
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(description_.duplicateOnUpdate.arg(Boxes[0]->text()), ui::Icon::Information, AppTitle));
        return false;
    }
    const int scroll = DBGrid->Scroll();
    const int16_t old = current;
    ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
    ScreenRecordset->FindFirst(QStringLiteral("no_ =%1").arg(old));
    if (ScreenRecordset->NoMatch()) {
        // The row is no longer there: nothing is changed.
        ui::Beep();
        BindScreenRecordset(false);
        return false;
    }
    UpdateRecord(ScreenRecordset, RowValues());
    BindScreenRecordset(false);
    DBGrid->SetScroll(scroll);
    ScreenRecordset->FindFirst(QStringLiteral("no_ =%1").arg(n));
    Data1->SyncPosition();
    RowUpdated();
    Modified = false;
    return true;
}

bool ListScreen::RunCheck() { return RunInputCheck(this, description_.check); }

FieldValues ListScreen::RowValues() { return ValuesFromControls(this, FieldBindings(description_)); }

bool ListScreen::TypesExist()
{
    for (const TypeReference& ref : description_.typeReferences) {
        QLineEdit* box = Box(ref.box);
        const double v = rt::Val(box->text());
        // The check has passed: the number fits its Integer field.
        if (!IsKeyUnused(ScreenDatabase, QStringLiteral("no_"), ref.table, rt::FitsInteger(v) ? rt::CInt(v) : int16_t(0)))
            continue;
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(ref.messageHead + box->text() + QStringLiteral("\r\n") + ref.messageTail,
                                                               ui::Icon::Information, AppTitle));
        return false;
    }
    return true;
}

std::vector<std::pair<QString, QString>> ListScreen::OwnToolTips() const
{
    std::vector<std::pair<QString, QString>> tips;
    for (const NeighbourButton& nb : description_.neighbours)
        if (!nb.toolTip.isEmpty()) tips.emplace_back(nb.name, nb.toolTip);
    return tips;
}

// ---- window lock --------------------------------------------------------------

void ListScreen::RunLocked(const std::function<void()>& body)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() != this) focus = nullptr;
    const bool outer = !locked_;
    EntryState before;
    try { before = CurrentEntryState(); } catch (...) {}
    locked_ = true;
    Busy = true;
    SetEnabledState(false);
    try {
        // A connection lost by an earlier failure is opened again first.
        if (!ScreenDatabase || !ScreenRecordset || !ScreenRecordset->IsOpen()) {
            ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
            Data1->SetRecordset(ScreenRecordset);
        }
        body();
    } catch (const std::exception&) {
        RecoverAfterFailure(before);
        ShowDatabaseAccessMessage();
    }
    Busy = false;
    SetEnabledState(true);
    if (outer) {
        if (focus) focus->setFocus();
        locked_ = false;
    }
    if (Data1) Data1->SyncPosition();
}

ListScreen::EntryState ListScreen::CurrentEntryState()
{
    EntryState state;
    for (const FieldBinding& b : FieldBindings(description_)) state.texts[b.control] = ControlText(this, b.control);
    state.onRow = HasCurrentRow();
    if (state.onRow) state.key = ScreenRecordset->Field(QStringLiteral("No_")).toInteger();
    state.modified = Modified;
    return state;
}

void ListScreen::RecoverAfterFailure(const EntryState& before)
{
    // Put the screen back on a fresh connection, on the row it was on, so
    // that it stays usable; what the user typed stays in the boxes.
    try {
        if (Program().WorkRecordset) {
            try { Program().WorkRecordset->Close(); } catch (...) {}
            Program().WorkRecordset.reset();
        }
        ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
        Data1->SetRecordset(ScreenRecordset);
        if (!(ScreenRecordset->BOF() && ScreenRecordset->EOF_())) {
            if (before.onRow) {
                ScreenRecordset->FindFirst(QStringLiteral("no_ = %1").arg(before.key));
            } else {
                ScreenRecordset->MoveLast();
                ScreenRecordset->MoveNext();
            }
        }
    } catch (...) {
        Data1->SetRecordset(ScreenRecordset);
    }
    try { WriteControlTexts(this, before.texts); } catch (...) {}
    Modified = before.modified;
}

// ---- handlers ---------------------------------------------------------------------

void ListScreen::cmd追加_Click()
{
    RunLocked([this] {
        if (RunCheck()) {
            InsertRow();
            PrepareNew();
        }
        if (!AtEnd()) {
            ScreenRecordset->MoveLast();
            ScreenRecordset->MoveNext();
        }
    });
    if (description_.focusNumberAfterEdit) SelectEntryBox(Boxes[0]);
}

void ListScreen::cmd修正_Click()
{
    RunLocked([this] {
        if (!HasCurrentRow()) {
            ui::Beep();
            Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("修正するデータが選択されていません"), ui::Icon::Information, AppTitle));
            return;
        }
        if (RunCheck()) UpdateRow();
    });
    if (description_.focusNumberAfterEdit) SelectEntryBox(Boxes[0]);
}

void ListScreen::cmd削除_Click()
{
    if (ConfirmDeleteRecord(AtStart(), AtEnd()) == 7) return;
    RunLocked([this] {
        const int scroll = DBGrid->Scroll();
        Data1->SetRecordset(nullptr);
        ScreenRecordset->MoveNext();
        const int next = ScreenRecordset->EOF_() ? -1 : ScreenRecordset->Field(QStringLiteral("No_")).toInteger();
        ScreenRecordset->MovePrevious();
        const int16_t cur = ScreenRecordset->Field(QStringLiteral("No_")).toInteger();
        ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
        ScreenRecordset->FindFirst(QStringLiteral("no_ = %1").arg(cur));
        if (ScreenRecordset->NoMatch()) {
            ui::Beep();
            BindScreenRecordset(false);
            return;
        }
        DeleteRecordAndRenumber(ScreenRecordset);
        BindScreenRecordset(ScreenRecordset->RecordCount() == 0);
        DBGrid->SetScroll(scroll);
        const bool empty = ScreenRecordset->BOF() && ScreenRecordset->EOF_();
        if (next == -1) {
            if (!empty) ScreenRecordset->MoveLast();
        } else {
            ScreenRecordset->FindFirst(QStringLiteral("No_ = %1").arg(next));
        }
        if (empty) {
            PrepareNew();
            RowsEmptied();
        } else if (HasCurrentRow()) {
            ShowRecord();
        }
    });
    if (description_.focusNumberAfterEdit) SelectEntryBox(Boxes[0]);
}

void ListScreen::cmdAllDelete_Click()
{
    if (ConfirmDeleteAll(description_.deleteAllTitle, AtStart(), AtEnd()) == 7) return;
    RunLocked([this] {
        ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
        DeleteAllRecords(ScreenRecordset);
        ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
        BindScreenRecordset(false);
        PrepareNew();
        RowsEmptied();
    });
}

void ListScreen::BindScreenRecordset(bool emptied)
{
    // An emptied table is read afresh so that it stands at its start and end.
    if (emptied) ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
    Data1->SetRecordset(ScreenRecordset);
}

void ListScreen::MoveRecord(const QString& direction)
{
    RunLocked([this, direction] {
        ReorderRecord(direction, ScreenDatabase, ScreenRecordset, Data1, DBGrid);
        if (HasCurrentRow()) ShowRecord();
    });
}

void ListScreen::MoveByArrowKey(int16_t keyCode)
{
    RunLocked([this, keyCode] {
        if (keyCode == Key::Up) {
            if (AtStart()) {
                ui::Beep();
                return;
            }
            if (!RunCheck()) return;
            if (HasCurrentRow()) UpdateRow();
            ScreenRecordset->MovePrevious();
            if (ScreenRecordset->BOF()) ScreenRecordset->MoveNext();
            else ShowRecord();
        } else if (keyCode == Key::Down) {
            if (AtEnd()) {
                if (!RunCheck()) return;
                InsertRow();
                PrepareNew();
                if (!AtEnd()) {
                    ScreenRecordset->MoveLast();
                    ScreenRecordset->MoveNext();
                }
            } else {
                if (!RunCheck()) return;
                UpdateRow();
                ScreenRecordset->MoveNext();
                if (AtEnd()) PrepareNew();
                else ShowRecord();
            }
        }
    });
}

void ListScreen::DBGrid_RowColChange()
{
    if (Busy) return;
    SetEnabledState(false);
    try {
        if (HasCurrentRow()) ShowRecord();
    } catch (const std::exception&) {
        SetEnabledState(true);
        ShowDatabaseAccessMessage();
        return;
    }
    SetEnabledState(true);
    SelectEntryBox(FirstShownBox());
}

void ListScreen::Cmd登録_Click()
{
    if (Modified) {
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("選択されているレコードが変更されています。\r\n変更を保存しますか？"),
                                                    ui::Icon::Question | ui::Buttons::YesNo, AppTitle));
        if (Program().MsgResult == ui::Answer::Yes) {
            RunLocked([this] {
                const double v = rt::Val(Boxes[0]->text());
                bool found = false;
                if (rt::FitsInteger(v) && !(AtStart() && AtEnd())) {
                    ScreenRecordset->FindFirst(QStringLiteral("no_ = ") + QString::number(v, 'g', 15));
                    found = !ScreenRecordset->NoMatch();
                }
                if (!found) {
                    if (RunCheck()) InsertRow();
                } else {
                    if (RunCheck()) UpdateRow();
                }
            });
            if (Modified) return;
        }
    }
    CommitInput();
}

void ListScreen::cmdReferRAMEN_Click()
{
    OpenNeighbour({.name = QStringLiteral("cmdReferRAMEN"), .opens = ScreenFrameDiagram});
}

void ListScreen::OpenNeighbour(const NeighbourButton& b)
{
    if (b.selectNumberFirst) SelectEntryBox(Boxes[0]);
    forms::Form* w = nullptr;
    try {
        w = WindowInstance(b.opens);
        if (w) w->Show();
    } catch (...) {
        // The neighbour window's own failures do not concern this screen.
    }
    if (!w) ShowWindowNotAvailable(WindowTitle(b.opens).trimmed());
}

// ---- entry boxes ------------------------------------------------------------------

QLineEdit* ListScreen::NextInRing(size_t i, bool forward) const
{
    const size_t n = Boxes.size();
    // Hidden boxes are not in the ring.
    for (size_t k = 1; k < n; ++k) {
        const size_t j = forward ? (i + k) % n : (i + n - k) % n;
        if (!description_.boxes[j].hidden) return Boxes[j];
    }
    return Boxes[i];
}

void ListScreen::BoxLostFocus(size_t i, QLineEdit* box)
{
    const EntryBoxDescription& boxDescription = description_.boxes[i];
    // Only a number is rewritten: other texts stay as typed.
    if (boxDescription.lostFocus) {
        if (rt::IsNumeric(box->text())) box->setText(boxDescription.lostFocus(box->text()));
    } else if (!boxDescription.format.isEmpty()) {
        const QString shown = NumericTextKeepingDigits(box->text(), boxDescription.format);
        if (shown != box->text()) box->setText(shown);
    }
}

bool ListScreen::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return InputScreen::eventFilter(watched, event);
    size_t i = 0;
    while (i < Boxes.size() && Boxes[i] != box) ++i;
    if (i == Boxes.size()) return InputScreen::eventFilter(watched, event);
    const EntryBoxDescription& boxDescription = description_.boxes[i];

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        const int16_t code = KeyCodeOf(ke->key());
        // KeyDown: the ring and the arrow protocol.
        if (code == Key::Right || code == Key::Return) {
            SelectEntryBox(NextInRing(i, true));
            if (code == Key::Return) Modified = true;   // Enter reaches KeyPress too
            return true;
        }
        if (code == Key::Left) {
            SelectEntryBox(NextInRing(i, false));
            return true;
        }
        if (code == Key::Up || code == Key::Down) {
            MoveByArrowKey(code);
            return true;
        }
        // Tab moves the focus before any KeyPress; the box's own shortcuts
        // (copy, paste, select all, undo) type nothing.
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab || IsEditingShortcut(ke)) return false;
        // KeyPress: every character key passes the numeric filter.
        const int16_t ascii = KeyAsciiOf(ke);
        if (ascii == 0) return false;   // Delete, Home, Tab and the like: no KeyPress
        Modified = true;
        if (FilterNumericKey(ascii, boxDescription.noMinus, boxDescription.noDot) == 0) return true;
        return false;
    }
    case QEvent::FocusOut:
        // LostFocus; the window lock takes the focus away without it.
        if (!locked_) BoxLostFocus(i, box);
        return false;
    case QEvent::MouseButtonRelease:
        SelectEntryBox(box);
        return false;
    default:
        return false;
    }
}

void ShowColumnsInOrder(dao::DataGrid* grid, dao::DataControl* data, const std::vector<dao::GridColumn>& columns)
{
    auto apply = [grid, columns] {
        auto* model = qobject_cast<dao::RecordsetModel*>(grid->model());
        if (!model) return;
        QHeaderView* header = grid->horizontalHeader();
        int place = 0;
        for (const dao::GridColumn& c : columns) {
            for (int logical = 0; logical < header->count(); ++logical) {
                if (model->FieldOf(logical).compare(c.field, Qt::CaseInsensitive) != 0) continue;
                header->moveSection(header->visualIndex(logical), place++);
                break;
            }
        }
    };
    QObject::connect(data, &dao::DataControl::Rebound, grid, apply);
    apply();
}

void FitGridColumnsToCaptions(dao::DataGrid* grid, dao::DataControl* data, std::vector<int> columns)
{
    auto apply = [grid, columns] {
        QHeaderView* header = grid->horizontalHeader();
        for (int c : columns)
            if (c < header->count()) header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    };
    // The grid reloads (and its header forgets the modes) on every rebinding;
    // this connection comes after the grid's own.
    QObject::connect(data, &dao::DataControl::Rebound, grid, apply);
    apply();
}

// ---- descriptions ------------------------------------------------------------------

std::vector<FieldBinding> FieldBindings(const ListScreenDescription& description)
{
    std::vector<FieldBinding> bindings;
    for (const EntryBoxDescription& b : description.boxes) bindings.push_back({.control = b.name, .field = b.field, .conversion = b.conversion});
    bindings.insert(bindings.end(), description.otherFields.begin(), description.otherFields.end());
    return bindings;
}

std::vector<EntryBoxDescription> SlotBoxes(const EntryBoxDescription& pattern, int first, int count, const QString& labelFormat)
{
    std::vector<EntryBoxDescription> boxes;
    for (int k = 0; k < count; ++k) {
        EntryBoxDescription b = pattern;
        b.name = ControlName(pattern.name, first + k);
        b.field = schema::SlotFieldName(k + 1);
        if (!labelFormat.isEmpty()) b.label = labelFormat.arg(k + 1);
        boxes.push_back(b);
    }
    return boxes;
}

std::vector<dao::GridColumn> SlotColumns(int count, const QString& prefix, const QString& format)
{
    std::vector<dao::GridColumn> columns;
    for (int k = 1; k <= count; ++k) columns.push_back({schema::SlotFieldName(k), prefix + QString::number(k), format, false});
    return columns;
}

void AddPlacementTargets(ListScreenDescription& description, const QString& name, int first, const QString& group)
{
    const std::vector<EntryBoxDescription> targets =
        SlotBoxes({.name = name, .noMinus = true, .noDot = true, .format = "0", .newValue = "0", .group = group}, first, 10, "%1");
    description.boxes.insert(description.boxes.end(), targets.begin(), targets.end());
    const std::vector<dao::GridColumn> columns = SlotColumns(10);
    description.columns.insert(description.columns.end(), columns.begin(), columns.end());
    description.columns.push_back({"順", "順", "", true});
}

std::vector<dao::GridColumn> Recaptioned(std::vector<dao::GridColumn> columns, const QString& field, const QString& caption)
{
    for (dao::GridColumn& c : columns)
        if (c.field == field) c.caption = caption;
    return columns;
}
