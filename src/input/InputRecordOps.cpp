#include "input/InputRecordOps.h"

#include "input/InputControls.h"
#include "input/InputRecords.h"
#include "input/InputStart.h"
#include "input/ListScreen.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "core/NumberText.h"
#include "core/ProgramState.h"

#include <QLineEdit>
#include <vector>

using rt::Variant;

// ---- deleting ------------------------------------------------------------------

int16_t ConfirmDeleteRecord(bool bof, bool eof)
{
    if (bof || eof) {
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(
            ui::MsgBox(QStringLiteral("削除するデータが選択されていません"), ui::Icon::Information, AppTitle));
        return 7;
    }
    if (!reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkDelete"), true)) return 6;
    SetEntryBoxesTabStop(false);
    ui::Beep();
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("選択しているデータを削除してもいいですか？"),
                                                ui::Icon::Question | ui::Buttons::YesNo, AppTitle));
    SetEntryBoxesTabStop(true);
    return Program().MsgResult;
}

namespace {
// 順 = 1, 2, ... n from the current row on, in the recordset's order.
void RenumberFromFirst(dao::RecordsetPtr& rs)
{
    if (rs->RecordCount() == 0) return;
    rs->MoveFirst();
    int i = 1;
    while (!rs->EOF_()) {
        rs->Edit();
        rs->SetField(QStringLiteral("順"), Variant::Integer(rt::CInt(i)));
        rs->Update();
        rs->MoveNext();
        ++i;
    }
}
}  // namespace

void DeleteRecordAndRenumber(dao::RecordsetPtr& rs)
{
    if (rs->BOF() && rs->EOF_()) {
        ui::Beep();
        return;
    }
    // The delete and the renumbering stand or fall together.
    dao::WriteTransaction tx(rs->Connection());
    rs->Delete();
    RenumberFromFirst(rs);
    tx.Commit();
}

int16_t ConfirmDeleteAll(const QString& title, bool bof, bool eof)
{
    if (bof && eof) {
        ui::Beep();
        return 7;
    }
    SetEntryBoxesTabStop(false);
    ui::Beep();
    const int answer = ui::MsgBox(title + QStringLiteral(" ") + QStringLiteral("に関する全てのデータを削除してもいいですか？"),
                                  ui::Icon::Question | ui::Buttons::YesNo, AppTitle);
    SetEntryBoxesTabStop(true);
    return static_cast<int16_t>(answer);
}

void DeleteAllRecords(dao::RecordsetPtr& rs)
{
    dao::WriteTransaction tx(rs->Connection());
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        while (!rs->EOF_()) {
            rs->Delete();
            rs->MoveNext();
        }
    }
    tx.Commit();
    try { rs->MovePrevious(); } catch (...) {}
}

void SetEntryBoxesTabStop(bool value)
{
    if (auto* screen = dynamic_cast<ListScreen*>(Program().CurrentInputForm.data()))
        for (QLineEdit* box : screen->Boxes) SetTabStop(box, value);
}

// ---- reordering ----------------------------------------------------------------

void ReorderRecord(const QString& direction, dao::DatabasePtr& db, dao::RecordsetPtr& rs, dao::DataControl* data1,
                   dao::DataGrid* grid)
{
    if (rs->BOF() || rs->EOF_()) {
        ui::Beep();
        return;
    }
    if (direction == QLatin1String("F") || direction == QLatin1String("P")) {
        rs->MovePrevious();
        if (rs->BOF()) {
            ui::Beep();
            rs->MoveNext();
            if (data1) data1->SyncPosition();
            return;
        }
        rs->MoveNext();
    } else if (direction == QLatin1String("L") || direction == QLatin1String("N")) {
        rs->MoveNext();
        if (rs->EOF_()) {
            ui::Beep();
            rs->MovePrevious();
            if (data1) data1->SyncPosition();
            return;
        }
        rs->MovePrevious();
    }

    const int16_t key = rs->Field(QStringLiteral("No_")).toInteger();
    const int scroll = grid ? grid->Scroll() : 0;

    ReopenInputRecordset(rs, db, data1);
    if (rs->BOF() && rs->EOF_()) {
        if (data1) data1->SetRecordset(rs);
        return;
    }
    rs->FindFirst(QStringLiteral("no_ = %1").arg(key));
    if (rs->NoMatch()) {
        // The row is gone (another window changed the table): nothing moves.
        ui::Beep();
        if (data1) data1->SetRecordset(rs);
        return;
    }

    const int m = rs->FieldCount() - 1;   // the fields before 順
    const bool ends = direction == QLatin1String("F") || direction == QLatin1String("L");
    const bool swap = direction == QLatin1String("P") || direction == QLatin1String("N");
    {
        dao::WriteTransaction tx(db.get());
        if (ends) {
            // The moved row takes the first or the last place and the others
            // keep their order: 順 is written 1..n at once, never past n.
            const dao::Recordset::Bookmark moved = rs->GetBookmark();
            std::vector<dao::Recordset::Bookmark> order;
            rs->MoveFirst();
            while (!rs->EOF_()) {
                if (rs->GetBookmark() != moved) order.push_back(rs->GetBookmark());
                rs->MoveNext();
            }
            if (direction == QLatin1String("F")) order.insert(order.begin(), moved);
            else order.push_back(moved);
            for (size_t i = 0; i < order.size(); ++i) {
                rs->SetBookmark(order[i]);
                rs->Edit();
                rs->SetField(QStringLiteral("順"), Variant::Integer(rt::CInt(static_cast<double>(i + 1))));
                rs->Update();
            }
            rs->Sort = QStringLiteral("順 ASC");
            rs = rs->OpenRecordset();
        } else if (swap) {
            const dao::Recordset::Bookmark here = rs->GetBookmark();
            if (direction == QLatin1String("P")) rs->MovePrevious();
            else rs->MoveNext();
            const dao::Recordset::Bookmark there = rs->GetBookmark();
            std::vector<Variant> b, a;
            for (int i = 0; i < m; ++i) b.push_back(rs->Field(i));
            rs->SetBookmark(here);
            for (int i = 0; i < m; ++i) a.push_back(rs->Field(i));
            rs->Edit();
            for (int i = 0; i < m; ++i) rs->SetField(i, b[i]);
            rs->Update();
            rs->SetBookmark(there);
            rs->Edit();
            for (int i = 0; i < m; ++i) rs->SetField(i, a[i]);
            rs->Update();
        }
        tx.Commit();
    }

    if (data1) data1->SetRecordset(rs);
    if (direction == QLatin1String("F")) {
        rs->MoveFirst();
    } else if (direction == QLatin1String("L")) {
        rs->MoveLast();
    } else if (swap) {
        if (grid) grid->SetScroll(scroll);
        rs->FindFirst(QStringLiteral("no_ =%1").arg(key));
    }
    if (data1) data1->SyncPosition();
}

// ---- shared helpers --------------------------------------------------------------

void BindSortedRecordset(dao::RecordsetPtr& rs, dao::DataControl* data1)
{
    rs->Sort = QStringLiteral("順 ASC");
    rs = rs->OpenRecordset();
    if (data1) data1->SetRecordset(rs);
    if (!(rs->BOF() && rs->EOF_())) rs->MoveFirst();
    if (data1) data1->SyncPosition();
}

void ReopenInputRecordset(dao::RecordsetPtr& rs, dao::DatabasePtr& db, dao::DataControl* data1)
{
    if (data1) data1->SetRecordset(nullptr);
    if (rs) {
        try { rs->Close(); } catch (...) {}
        rs.reset();
    }
    if (db) {
        try { db->Close(); } catch (...) {}
        db.reset();
    }
    db = dao::Database::Open(kWorkingDatabase);
    rs = db->OpenRecordset(Program().InputTableName);
    if (!(rs->BOF() && rs->EOF_())) {
        rs->Sort = QStringLiteral("順 ASC");
        rs = rs->OpenRecordset();
    }
}

void CenterOnInputForm(forms::Form* window, int& width, int& height)
{
    forms::Form* input = Program().CurrentInputForm.data();
    if (!window || !input) return;
    // Centred by the frame it will wear, and kept on the input screen's screen.
    const QSize frame = forms::ExpectedFrameSize(window);
    const double left = input->LeftTw() + (input->WidthTw() - forms::Tw(frame.width())) * 0.5;
    const double top = input->TopTw() + (input->HeightTw() - forms::Tw(frame.height())) * 0.5;
    forms::MoveWithinScreenOf(window, {forms::Px(left), forms::Px(top)}, input->frameGeometry());
    try {
        if (auto* grid = qobject_cast<dao::DataGrid*>(FindControl(window, QStringLiteral("DBGrid"))))
            width = rt::CInt(grid->LeftTw() + grid->WidthTw() + 270);
        else
            width = rt::CInt(window->WidthTw());
        height = rt::CInt(window->HeightTw());
    } catch (...) {}
}

void ReadCommonModuli(float& e, float& g)
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    dao::RecordsetPtr rs = db->OpenRecordset(QStringLiteral("基本データ"));
    if (!(rs->BOF() && rs->EOF_())) {
        const Variant fe = rs->Field(QStringLiteral("E"));
        const Variant fg = rs->Field(QStringLiteral("γ"));
        if (!fe.isNull()) e = fe.toSingle();
        if (!fg.isNull()) g = fg.toSingle();
    }
    rs->Close();
    db->Close();
}

namespace {
QString NormalizedCondition(const QString& text, const QString& zero, const QString& one)
{
    if (!rt::IsNumeric(text)) return text;
    const double v = rt::Val(text);
    if (v == 0) return zero;
    if (v == 1) return one;
    // At least three decimals, and every digit typed: a small spring must not
    // become "0.000", which reads as the free or pinned word next time.
    return NumberKeepingDigits(v, QStringLiteral("0.000"));
}
}  // namespace

QString NormalizeRestraintText(const QString& text)
{
    return NormalizedCondition(text, QStringLiteral("自由"), QStringLiteral("拘束"));
}

QString NormalizeEndConditionText(const QString& text)
{
    return NormalizedCondition(text, QStringLiteral("ピン"), QStringLiteral("剛"));
}

void GetMaxFieldValue(int16_t& result, dao::RecordsetPtr& rs, const QString& fieldName)
{
    if (rs->BOF() && rs->EOF_()) {
        result = 0;
        return;
    }
    rs->Sort = fieldName + QStringLiteral(" ASC");
    rs = rs->OpenRecordset();
    rs->MoveLast();
    result = rs->Field(fieldName).toInteger();
}

bool IsKeyUnused(const dao::DatabasePtr& db, const QString& fieldName, const QString& tableName, int16_t value)
{
    if (Program().WorkRecordset) {
        try { Program().WorkRecordset->Close(); } catch (...) {}
    }
    Program().WorkRecordset = db->OpenRecordset(tableName);
    Program().WorkRecordset->FindFirst(fieldName + QStringLiteral(" = ") + QString::number(value));
    return Program().WorkRecordset->NoMatch();
}

int16_t LargestOrderNo(const dao::DatabasePtr& db, const QString& tableName)
{
    dao::RecordsetPtr rs = db->OpenRecordset(tableName);
    int16_t result = 0;
    if (!(rs->BOF() && rs->EOF_())) GetMaxFieldValue(result, rs, QStringLiteral("順"));
    rs->Close();
    return result;
}
