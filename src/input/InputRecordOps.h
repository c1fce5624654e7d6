// Deleting, reordering and the shared record helpers of the list screens.
#pragma once

#include "platform/DataGrid.h"
#include "platform/Database.h"

#include <QString>
#include <cstdint>

namespace forms { class Form; }

// ---- deleting ----
int16_t ConfirmDeleteRecord(bool bof, bool eof);
void DeleteRecordAndRenumber(dao::RecordsetPtr& rs);
int16_t ConfirmDeleteAll(const QString& title, bool bof, bool eof);
void DeleteAllRecords(dao::RecordsetPtr& rs);
// Makes every entry box of the open list screen a tab stop, or none.
void SetEntryBoxesTabStop(bool value);

// ---- reordering ----
// direction "F" first, "P" one up, "N" one down, "L" last.
void ReorderRecord(const QString& direction, dao::DatabasePtr& db, dao::RecordsetPtr& rs, dao::DataControl* data1,
                   dao::DataGrid* grid);

// ---- shared helpers ----
void BindSortedRecordset(dao::RecordsetPtr& rs, dao::DataControl* data1);
void ReopenInputRecordset(dao::RecordsetPtr& rs, dao::DatabasePtr& db, dao::DataControl* data1);
void CenterOnInputForm(forms::Form* window, int& width, int& height);
void ReadCommonModuli(float& e, float& g);
// A condition component as it is kept: a numeric text of 0 becomes the
// free (pinned) word, exactly 1 the fixed (rigid) word, any other number that
// number with three decimals; a text that is not a number stays as it is.
QString NormalizeRestraintText(const QString& text);
QString NormalizeEndConditionText(const QString& text);
void GetMaxFieldValue(int16_t& result, dao::RecordsetPtr& rs, const QString& fieldName);
bool IsKeyUnused(const dao::DatabasePtr& db, const QString& fieldName, const QString& tableName, int16_t value);

// The largest 順 of a table (0 when empty): a list is full at 32767.
int16_t LargestOrderNo(const dao::DatabasePtr& db, const QString& tableName);
