// Adding and updating list records.
// Each procedure copies the entry boxes of its screen's one window instance
// into the recordset it is given; none of them checks anything.
#pragma once

#include "platform/Database.h"

#include <cstdint>

// The largest 順 in WorkRecordset (0 when it has no rows); WorkRecordset
// becomes its copy sorted "順 ASC".
int16_t GetLastOrderNo();

// Replaces every row of 基本データ by one row from frm基本データ.
void SaveBasicData(dao::RecordsetPtr& rs);

void AddNodeRecord(dao::RecordsetPtr& rs);
void AddElementRecord(dao::RecordsetPtr& rs);
void AddMaterial1Record(dao::RecordsetPtr& rs);
void AddMaterial2Record(dao::RecordsetPtr& rs);
void AddEndShapeRecord(dao::RecordsetPtr& rs);
void AddEndPlacementRecord(dao::RecordsetPtr& rs);
void AddRestraintShapeRecord(dao::RecordsetPtr& rs);
void AddRestraintPlacementRecord(dao::RecordsetPtr& rs);
void AddLoadShapeRecord(dao::RecordsetPtr& rs);
void AddLoadPlacementRecord(dao::RecordsetPtr& rs);

void UpdateNodeRecord(dao::RecordsetPtr& rs);
void UpdateElementRecord(dao::RecordsetPtr& rs);
void UpdateMaterial1Record(dao::RecordsetPtr& rs);
void UpdateMaterial2Record(dao::RecordsetPtr& rs);
void UpdateEndShapeRecord(dao::RecordsetPtr& rs);
void UpdateEndPlacementRecord(dao::RecordsetPtr& rs);
void UpdateRestraintShapeRecord(dao::RecordsetPtr& rs);
void UpdateRestraintPlacementRecord(dao::RecordsetPtr& rs);
void UpdateLoadShapeRecord(dao::RecordsetPtr& rs);
void UpdateLoadPlacementRecord(dao::RecordsetPtr& rs);

// Runs `body` inside a transaction of the recordset's connection (unless one
// is open already): committed when it returns, rolled back whole when it throws.
class WriteTransaction {
public:
    explicit WriteTransaction(dao::Database* db);
    ~WriteTransaction();
    void Commit();

private:
    dao::Database* db_;
    bool own_ = false;
    bool done_ = false;
};
