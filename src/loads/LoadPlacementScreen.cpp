#include "loads/LoadPlacementScreen.h"

#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "platform/Ui.h"
#include "shell/Globals.h"
#include "shell/WindowHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

ListScreenConfig LoadPlacementConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm荷重配置");
    c.code = ScreenLoadPlacement;
    c.columns = {{"No_", "No_", "0", true}, {"荷重形状", "荷重番号", "0", false}};
    for (int i = 1; i <= 10; ++i)
        c.columns.push_back({QStringLiteral("fld_%1").arg(i, 2, 10, QLatin1Char('0')), QString::number(i), "0", false});
    c.columns.push_back({"順", "順", "", true});
    c.boxes = {{"txtNo", "", true, true, "0", "", "No_"}, {"txt荷重形状", "", true, true, "0", "", "荷重形状"}};
    for (int i = 1; i <= 10; ++i)
        c.boxes.push_back({QStringLiteral("txt(%1)").arg(i), "", true, true, "0", "0",
                           QStringLiteral("fld_%1").arg(i, 2, 10, QLatin1Char('0'))});
    c.check = [] { return CheckLoadPlacementInput(); };
    c.add = &AddLoadPlacementRecord;
    c.update = &UpdateLoadPlacementRecord;
    c.deleteAllTitle = QStringLiteral("荷重形状配置");
    c.neighbours = {{"cmdRefer荷重形状データ", "荷重形状の参照", "frm荷重形状参照", ScreenLoadShapeLookup}};
    c.gridWidthTw = 7500;
    c.boxWidthTw = 600;
    return c;
}

}  // namespace

frm荷重配置::frm荷重配置() : ListScreen(LoadPlacementConfig())
{
    txt荷重形状 = Box(QStringLiteral("txt荷重形状"));
    cmdRefer荷重形状データ = neighbourButtons_.front();
    Cmd登録->setText(QStringLiteral("登録（&R）"));
    // The row number is the screen's own: out of sight and out of the tab order.
    QLineEdit* no = Boxes[0];
    QPalette pal = no->palette();
    pal.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xFF));   // &HFFC0C0
    no->setPalette(pal);
    no->setFocusPolicy(Qt::NoFocus);
    PlaceControls();
}

void frm荷重配置::PlaceControls()
{
    auto label = [this](const QString& text, double x, double y, double w, Qt::Alignment align = Qt::AlignCenter) {
        auto* l = new QLabel(text, this);
        l->setAlignment(align);
        forms::PlaceTw(l, x, y, w, 270);
        return l;
    };
    const double gridW = config_.gridWidthTw;
    const double gridH = GridRowCount * DBGrid->RowHeight() + 140;
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
    y += 480;
    forms::PlaceTw(cmdRefer荷重形状データ, cmdX, y, 1500, 420);

    // Shape number, then the ten targets under their group heading.
    const double headY = 120 + gridH + 150;
    const double labelY = headY + 300;
    const double boxY = labelY + 300;
    const double w = config_.boxWidthTw;
    label(QStringLiteral("< 形状番号 >"), 120, labelY, 1200);
    forms::PlaceTw(txt荷重形状, 270, boxY, 900, 330);
    const double targetsX = 1440;
    label(QStringLiteral("< 節点番号　または　部材番号 >"), targetsX, headY, 10 * (w + 60) - 60);
    for (int i = 1; i <= 10; ++i) {
        const double x = targetsX + (i - 1) * (w + 60);
        label(QString::number(i), x, labelY, w);
        forms::PlaceTw(txt(i), x, boxY, w, 330);
    }
    const double rowEnd = targetsX + 10 * (w + 60);
    QLabel* hint = label(QStringLiteral("配置する荷重がタイプ１の時は<節点番号>を、タイプ１以外の時は<部材番号>を入力します。"), 120,
                         boxY + 450, std::max(rowEnd, gridW) - 120, Qt::AlignLeft | Qt::AlignVCenter);
    hint->setObjectName(QStringLiteral("Label1"));
    const double bottom = boxY + 450 + 270;
    // Outside the visible area.
    forms::PlaceTw(Boxes[0], -2000, boxY, 600, 330);

    const double endY = std::max(bottom + 150, y + 1200);
    forms::PlaceTw(Cmd登録, cmdX, endY - 1020, 1500, 420);
    forms::PlaceTw(cmdCancel, cmdX, endY - 540, 1500, 420);
    SetClientSizeTw(std::max(cmdX + 1620, rowEnd + 120), endY);
}

void frm荷重配置::AfterLoad()
{
    if (AtStart() && AtEnd()) txt荷重形状->setText(QStringLiteral("1"));
}

void frm荷重配置::PrepareNew()
{
    if (WorkRecordset) {
        try { WorkRecordset->Close(); } catch (...) {}
    }
    WorkRecordset = ScreenRecordset->Clone();
    int16_t max = 0;
    GetMaxFieldValue(max, WorkRecordset, QStringLiteral("no_"));
    WorkRecordset->Close();
    WorkRecordset.reset();
    Boxes[0]->setText(rt::Format(static_cast<double>(max) + 1, QStringLiteral("0")));
    // The shape stays, so that the next row defaults to the last shape used.
    for (int i = 1; i <= 10; ++i) txt(i)->setText(QStringLiteral("0"));
}

void frm荷重配置::ShowRecord()
{
    for (size_t i = 0; i < Boxes.size(); ++i) {
        const rt::Variant v = ScreenRecordset->Field(config_.boxes[i].field);
        Boxes[i]->setText(v.isNull() ? QString() : rt::Format(v.toDouble(), QStringLiteral("0")));
    }
}

bool frm荷重配置::ShapeExists()
{
    const double v = rt::Val(txt荷重形状->text());
    const int16_t shape = rt::FitsInteger(v) ? rt::CInt(v) : 0;
    if (!IsKeyUnused(ScreenDatabase, QStringLiteral("no_"), QStringLiteral("荷重形状"), shape)) return true;
    ui::Beep();
    MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("荷重形状：") + txt荷重形状->text() +
                                                    QStringLiteral("\r\n入力した荷重形状は[荷重形状]に登録されていません"),
                                                ui::vbInformation, AppTitle));
    return false;
}

bool frm荷重配置::InsertRow()
{
    if (!ShapeExists()) return false;
    const double v = rt::Val(Boxes[0]->text());
    const bool fits = rt::FitsInteger(v);
    if (!fits || !IsKeyUnused(ScreenDatabase, QStringLiteral("no_"), InputTableName, rt::CInt(v))) {
        // A number in use (or past the last one) is replaced by the next free one.
        if (fits) {
            int16_t max = 0;
            GetMaxFieldValue(max, WorkRecordset, QStringLiteral("no_"));
            Boxes[0]->setText(rt::Format(static_cast<double>(max) + 1, QStringLiteral("0")));
        }
        if (!rt::FitsInteger(rt::Val(Boxes[0]->text()))) {
            // Row numbers end at 32767.
            bool result = true;
            ShowInvalidInputMessage(result);
            return false;
        }
    }
    ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
    if (WorkRecordset) {
        try { WorkRecordset->Close(); } catch (...) {}
    }
    WorkRecordset = ScreenRecordset->Clone();
    const bool full = GetLastOrderNo() >= 32767;
    if (!full) config_.add(ScreenRecordset);
    WorkRecordset->Close();
    WorkRecordset.reset();
    Data1->SetRecordset(ScreenRecordset);
    if (full) {
        bool result = true;
        ShowInvalidInputMessage(result);
        return false;
    }
    Modified = false;
    return true;
}

bool frm荷重配置::UpdateRow()
{
    if (!ShapeExists()) return false;
    const int scroll = DBGrid->Scroll();
    const int16_t old = ScreenRecordset->Field(QStringLiteral("No_")).toInteger();
    ReopenInputRecordset(ScreenRecordset, ScreenDatabase, Data1);
    ScreenRecordset->FindFirst(QStringLiteral("no_ =%1").arg(old));
    if (ScreenRecordset->NoMatch()) {
        ui::Beep();
        Data1->SetRecordset(ScreenRecordset);
        return false;
    }
    config_.update(ScreenRecordset);
    Data1->SetRecordset(ScreenRecordset);
    DBGrid->SetScroll(scroll);
    ScreenRecordset->FindFirst(QStringLiteral("no_ =%1").arg(BoxNumber()));
    Data1->SyncPosition();
    Modified = false;
    return true;
}

void frm荷重配置::cmd削除_Click()
{
    const int before = ScreenRecordset ? ScreenRecordset->RecordCount() : 0;
    ListScreen::cmd削除_Click();
    if (ScreenRecordset && ScreenRecordset->RecordCount() < before) SelectEntryBox(txt荷重形状);
}

void frm荷重配置::DBGrid_RowColChange()
{
    if (Busy) return;
    ListScreen::DBGrid_RowColChange();
    SelectEntryBox(txt荷重形状);
}

QLineEdit* frm荷重配置::NextInRing(size_t i, bool forward) const
{
    // txt荷重形状, txt(1)..txt(10); the row number is not in the ring.
    const size_t first = 1, last = Boxes.size() - 1;
    if (i < first) return Boxes[first];
    if (forward) return i == last ? Boxes[first] : Boxes[i + 1];
    return i == first ? Boxes[last] : Boxes[i - 1];
}
