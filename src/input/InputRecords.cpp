#include "input/InputRecords.h"

#include "input/InputControls.h"
#include "platform/Forms.h"
#include "core/ProgramState.h"

#include <vector>

using rt::Variant;

namespace {

enum class Conv { Number, Text, Trimmed };

struct FieldSource {
    QString field;
    QString box;
    int index;   // element of a control array, -1 for a single box
    Conv conv;
};

struct TableSpec {
    QString screen;
    std::vector<FieldSource> fields;
};

// fld_01.. from a control array, first element to fld_01.
void AddArray(std::vector<FieldSource>& f, const QString& box, int first, int count)
{
    for (int k = 0; k < count; ++k)
        f.push_back({QStringLiteral("fld_%1").arg(k + 1, 2, 10, QLatin1Char('0')), box, first + k, Conv::Number});
}

enum TableId { Node, Element, Material1, Material2, EndShape, EndPlacement, RestraintShape, RestraintPlacement,
               LoadShape, LoadPlacement };

const TableSpec& Mapping(TableId id)
{
    static const std::vector<TableSpec> mappings = [] {
        auto N = Conv::Number;
        auto T = Conv::Text;
        std::vector<TableSpec> s(10);
        s[Node] = {"frm節点座標1", {{"No_", "txtNo", -1, N}, {"X", "txtX", -1, N}, {"Y", "txtY", -1, N}, {"Z", "txtZ", -1, N}}};
        s[Element] = {"frm要素情報",
                      {{"No_", "txtNo", -1, N}, {"iTan", "txtIT", -1, N}, {"jTan", "txtJT", -1, N}, {"材料番号", "txt材料番号", -1, N}}};
        s[Material1] = {"frm材料定数1",
                        {{"No_", "txtNo", -1, N}, {"E", "txtE", -1, N}, {"γ", "txtγ", -1, N}, {"Ixx", "txtIxx", -1, N},
                         {"Iyy", "txtIyy", -1, N}, {"A", "txtA", -1, N}, {"Izz", "txtK", -1, N}}};
        s[Material2] = {"frm材料定数2", {{"No_", "txtNo", -1, N}, {"TYP", "txtTYP", -1, N}}};
        AddArray(s[Material2].fields, "txtP", 1, 5);
        s[Material2].fields.insert(s[Material2].fields.end(),
                                   {{"φx", "txtφx", -1, N}, {"φy", "txtφy", -1, N}, {"E", "txtE", -1, N}, {"γ", "txtγ", -1, N}});
        s[EndShape] = {"frm要素端部形状",
                       {{"No_", "txtNo", -1, N}, {"xMWR", "txtxMWR", -1, T}, {"yMWR", "txtyMWR", -1, T}, {"zMWR", "txtzMWR", -1, T},
                        {"xHKU", "txtxHKU", -1, T}, {"yHKU", "txtyHKU", -1, T}, {"zHKU", "txtzHKU", -1, T}}};
        s[EndPlacement] = {"frm要素端部配置",
                           {{"No_", "txtNo", -1, N}, {"i端部形状", "txtI端部形状", -1, N}, {"j端部形状", "txtJ端部形状", -1, N}}};
        AddArray(s[EndPlacement].fields, "txt要素番号", 0, 10);
        s[RestraintShape] = {"frm節点拘束形状",
                             {{"No_", "txtNo", -1, N}, {"u", "txtu", -1, T}, {"v", "txtv", -1, T}, {"w", "txtw", -1, T},
                              {"θx", "txtθx", -1, T}, {"θy", "txtθy", -1, T}, {"θz", "txtθz", -1, T}}};
        s[RestraintPlacement] = {"frm節点拘束配置", {{"No_", "txtNo", -1, N}, {"拘束形状", "txt拘束形状", -1, N}}};
        AddArray(s[RestraintPlacement].fields, "txt節点番号", 0, 10);
        s[LoadShape] = {"frm荷重形状", {{"No_", "txtNo", -1, N}, {"TYP", "txtTYP", -1, N}, {"Case", "txtCase", -1, N},
                                        {"座標系", "cbo座標系", -1, Conv::Trimmed}}};
        AddArray(s[LoadShape].fields, "txtP", 1, 7);
        s[LoadPlacement] = {"frm荷重配置", {{"No_", "txtNo", -1, N}, {"荷重形状", "txt荷重形状", -1, N}}};
        AddArray(s[LoadPlacement].fields, "txt", 1, 10);
        return s;
    }();
    return mappings[id];
}

Variant BoxValue(QWidget* form, const FieldSource& f)
{
    const QString text = ControlText(form, f.box, f.index);
    switch (f.conv) {
    case Conv::Number: return Variant::Double(rt::Val(text));
    case Conv::Text: return Variant::Text(text);
    case Conv::Trimmed: return Variant::Text(text.trimmed());
    }
    return Variant();
}

forms::Form* Screen(const TableSpec& mapping)
{
    forms::Form* f = ScreenInstance(mapping.screen);
    if (!f) rt::Raise(rt::ErrObjectNotFound, mapping.screen);
    return f;
}

void WriteFields(dao::RecordsetPtr& rs, const TableSpec& mapping)
{
    forms::Form* form = Screen(mapping);
    for (const FieldSource& f : mapping.fields) rs->SetField(f.field, BoxValue(form, f));
}

void AddRecord(dao::RecordsetPtr& rs, TableId id)
{
    const TableSpec& mapping = Mapping(id);
    // The new row and its display order are written together or not at all.
    WriteTransaction tx(rs->Connection());
    rs->AddNew();
    try {
        WriteFields(rs, mapping);
        // A list holds at most 32767 rows: CInt raises Overflow past that.
        const int16_t n = rt::CInt(static_cast<double>(GetLastOrderNo()) + 1);
        rs->SetField(QStringLiteral("順"), Variant::Integer(n));
        rs->Update();
    } catch (...) {
        try { rs->CancelUpdate(); } catch (...) {}
        throw;
    }
    tx.Commit();
}

void UpdateRecord(dao::RecordsetPtr& rs, TableId id)
{
    const TableSpec& mapping = Mapping(id);
    rs->Edit();
    try {
        const Variant order = rs->Field(QStringLiteral("順"));
        WriteFields(rs, mapping);
        rs->SetField(QStringLiteral("順"), order);
        rs->Update();
    } catch (...) {
        try { rs->CancelUpdate(); } catch (...) {}
        throw;
    }
}

}  // namespace

WriteTransaction::WriteTransaction(dao::Database* db) : db_(db)
{
    if (db_ && !db_->InTransaction()) {
        db_->BeginTrans();
        own_ = true;
    }
}

WriteTransaction::~WriteTransaction()
{
    if (own_ && !done_) {
        try { db_->Rollback(); } catch (...) {}
    }
}

void WriteTransaction::Commit()
{
    if (own_ && !done_) db_->CommitTrans();
    done_ = true;
}

int16_t GetLastOrderNo()
{
    if (!Program().WorkRecordset || (Program().WorkRecordset->BOF() && Program().WorkRecordset->EOF_())) return 0;
    Program().WorkRecordset->Sort = QStringLiteral("順 ASC");
    Program().WorkRecordset = Program().WorkRecordset->OpenRecordset();
    Program().WorkRecordset->MoveLast();
    return Program().WorkRecordset->Field(QStringLiteral("順")).toInteger();
}

void SaveBasicData(dao::RecordsetPtr& rs)
{
    forms::Form* form = ScreenInstance(QStringLiteral("frm基本データ"));
    if (!form) rt::Raise(rt::ErrObjectNotFound, QStringLiteral("frm基本データ"));
    // Read every box first, so a failure leaves the table as it was.
    const QString name = ControlText(form, QStringLiteral("txt工事名")).trimmed();
    const QString designer = ControlText(form, QStringLiteral("txt設計者"));
    const QString note = ControlText(form, QStringLiteral("txtNote"));
    const double cases = rt::Val(ControlText(form, QStringLiteral("txtCase")));
    const double e = rt::Val(ControlText(form, QStringLiteral("txtE")));
    const double g = rt::Val(ControlText(form, QStringLiteral("txtγ")));

    // The old row goes and the new one comes in one transaction: the table
    // never ends without its row.
    WriteTransaction tx(rs->Connection());
    if (!(rs->BOF() && rs->EOF_())) rs->MoveFirst();
    while (!rs->EOF_()) {
        rs->Delete();
        rs->MoveNext();
    }
    rs->AddNew();
    try {
        rs->SetField(QStringLiteral("工事名"), Variant::Text(name));
        rs->SetField(QStringLiteral("設計者"), Variant::Text(designer));
        rs->SetField(QStringLiteral("Note"), Variant::Text(note));
        rs->SetField(QStringLiteral("Case"), Variant::Double(cases));
        rs->SetField(QStringLiteral("E"), Variant::Double(e));
        rs->SetField(QStringLiteral("γ"), Variant::Double(g));
        rs->SetField(QStringLiteral("Unit"), Variant::Boolean(Program().UnitIsSI));
        rs->Update();
    } catch (...) {
        try { rs->CancelUpdate(); } catch (...) {}
        throw;
    }
    tx.Commit();
}

void AddNodeRecord(dao::RecordsetPtr& rs) { AddRecord(rs, Node); }
void AddElementRecord(dao::RecordsetPtr& rs) { AddRecord(rs, Element); }
void AddMaterial1Record(dao::RecordsetPtr& rs) { AddRecord(rs, Material1); }
void AddMaterial2Record(dao::RecordsetPtr& rs) { AddRecord(rs, Material2); }
void AddEndShapeRecord(dao::RecordsetPtr& rs) { AddRecord(rs, EndShape); }
void AddEndPlacementRecord(dao::RecordsetPtr& rs) { AddRecord(rs, EndPlacement); }
void AddRestraintShapeRecord(dao::RecordsetPtr& rs) { AddRecord(rs, RestraintShape); }
void AddRestraintPlacementRecord(dao::RecordsetPtr& rs) { AddRecord(rs, RestraintPlacement); }
void AddLoadShapeRecord(dao::RecordsetPtr& rs) { AddRecord(rs, LoadShape); }
void AddLoadPlacementRecord(dao::RecordsetPtr& rs) { AddRecord(rs, LoadPlacement); }

void UpdateNodeRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, Node); }
void UpdateElementRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, Element); }
void UpdateMaterial1Record(dao::RecordsetPtr& rs) { UpdateRecord(rs, Material1); }
void UpdateMaterial2Record(dao::RecordsetPtr& rs) { UpdateRecord(rs, Material2); }
void UpdateEndShapeRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, EndShape); }
void UpdateEndPlacementRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, EndPlacement); }
void UpdateRestraintShapeRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, RestraintShape); }
void UpdateRestraintPlacementRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, RestraintPlacement); }
void UpdateLoadShapeRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, LoadShape); }
void UpdateLoadPlacementRecord(dao::RecordsetPtr& rs) { UpdateRecord(rs, LoadPlacement); }
