#include "input/InputRecords.h"

#include "input/InputStart.h"
#include "platform/Runtime.h"
#include "core/ProgramState.h"

using rt::Variant;

namespace {

Variant Converted(const QString& text, FieldConversion conversion)
{
    switch (conversion) {
    case FieldConversion::Number: return Variant::Double(rt::Val(text));
    case FieldConversion::Text: return Variant::Text(text);
    case FieldConversion::Trimmed: return Variant::Text(text.trimmed());
    }
    return Variant();
}

void WriteFields(dao::RecordsetPtr& rs, const FieldValues& values)
{
    for (const auto& [field, value] : values) rs->SetField(field, value);
}

}  // namespace

FieldValues ValuesFromTexts(const std::vector<FieldBinding>& bindings, const BoxTexts& texts)
{
    FieldValues values;
    for (const FieldBinding& b : bindings) {
        auto it = texts.find(b.control);
        if (it == texts.end()) rt::Raise(rt::ErrItemNotFound, b.control);
        values.emplace_back(b.field, Converted(it->second, b.conversion));
    }
    return values;
}

FieldValues ValuesFromControls(QWidget* window, const std::vector<FieldBinding>& bindings)
{
    BoxTexts texts;
    for (const FieldBinding& b : bindings) texts[b.control] = ControlText(window, b.control);
    return ValuesFromTexts(bindings, texts);
}

int16_t GetLastOrderNo()
{
    if (!Program().WorkRecordset || (Program().WorkRecordset->BOF() && Program().WorkRecordset->EOF_())) return 0;
    Program().WorkRecordset->Sort = QStringLiteral("順 ASC");
    Program().WorkRecordset = Program().WorkRecordset->OpenRecordset();
    Program().WorkRecordset->MoveLast();
    return Program().WorkRecordset->Field(QStringLiteral("順")).toInteger();
}

void AddRecord(dao::RecordsetPtr& rs, const FieldValues& values)
{
    // The new row and its display order are written together or not at all.
    dao::WriteTransaction tx(rs->Connection());
    rs->AddNew();
    try {
        WriteFields(rs, values);
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

void UpdateRecord(dao::RecordsetPtr& rs, const FieldValues& values)
{
    rs->Edit();
    try {
        const Variant order = rs->Field(QStringLiteral("順"));
        WriteFields(rs, values);
        rs->SetField(QStringLiteral("順"), order);
        rs->Update();
    } catch (...) {
        try { rs->CancelUpdate(); } catch (...) {}
        throw;
    }
}

void SaveBasicData(dao::RecordsetPtr& rs, const FieldValues& values)
{
    // The old row goes and the new one comes in one transaction: the table
    // never ends without its row.
    dao::WriteTransaction tx(rs->Connection());
    if (!(rs->BOF() && rs->EOF_())) rs->MoveFirst();
    while (!rs->EOF_()) {
        rs->Delete();
        rs->MoveNext();
    }
    rs->AddNew();
    try {
        WriteFields(rs, values);
        rs->Update();
    } catch (...) {
        try { rs->CancelUpdate(); } catch (...) {}
        throw;
    }
    tx.Commit();
}
