// Adding and updating list records: the values of a row come from the boxes
// of a screen through its map of boxes to fields; none of these procedures
// checks anything.
#pragma once

#include "input/InputControls.h"
#include "platform/Database.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

// How a box's text becomes its field's value.
enum class FieldConversion {
    Number,    // the numeric value of the text (rt::Val)
    Text,      // the text as it stands
    Trimmed,   // the text without its leading and trailing spaces
};

// One field of a row and the control whose text it is written from.
struct FieldBinding {
    QString control{};
    QString field{};
    FieldConversion conversion = FieldConversion::Number;
};

// The values of a row, field by field, in the order they are written.
using FieldValues = std::vector<std::pair<QString, rt::Variant>>;

// Converts the texts of the bound controls (ErrItemNotFound for a control
// the texts lack).
FieldValues ValuesFromTexts(const std::vector<FieldBinding>& bindings, const BoxTexts& texts);
// The same, reading the controls of `window`.
FieldValues ValuesFromControls(QWidget* window, const std::vector<FieldBinding>& bindings);

// The largest 順 in WorkRecordset (0 when it has no rows); WorkRecordset
// becomes its copy sorted "順 ASC".
int16_t GetLastOrderNo();

// Appends a row with 順 after the last row; WorkRecordset holds a clone of
// rs taken before the call.
void AddRecord(dao::RecordsetPtr& rs, const FieldValues& values);
// Rewrites the current row of rs; its 順 stays.
void UpdateRecord(dao::RecordsetPtr& rs, const FieldValues& values);
// Replaces every row of 基本データ by one row of these values.
void SaveBasicData(dao::RecordsetPtr& rs, const FieldValues& values);
