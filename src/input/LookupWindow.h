// The read-only lookup windows opened beside an input screen: one model table
// in display order on a connection of their own, centred on the input screen,
// width held fixed. The family differs only in table, caption and columns,
// which each table's screen describes.
#pragma once

#include "platform/DataGrid.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "core/ProgramState.h"

#include <QString>
#include <vector>

class QStatusBar;

struct LookupDescription {
    ScreenCodes code{};
    QString formName{};
    QString table{};
    std::vector<dao::GridColumn> columns{};
    QString emptyMessage{};
    double clientWidthTw = 0;
    double clientHeightTw = 0;
    double gridLeftTw = 120;
    double gridWidthTw = 0;
};

class LookupWindow : public forms::Form {
public:
    explicit LookupWindow(LookupDescription description, QWidget* parent = nullptr);

    dao::DataControl* Data1 = nullptr;
    dao::DataGrid* DBGrid = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    dao::DatabasePtr LookupDatabase;
    dao::RecordsetPtr LookupRecordset;
    // The width (twips) the window is held at.
    int FixedWidth = 0;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;

private:
    LookupDescription description_;
};

// Makes the lookup window known by its code and name; each opening shows its
// one instance.
void RegisterLookupWindow(const LookupDescription& description);
