// The read-only lookup windows opened beside an input screen: one model table
// in display order on a connection of their own, centred on the input screen,
// width held fixed. The family differs only in table, caption and columns.
#pragma once

#include "platform/DataGrid.h"
#include "platform/Database.h"
#include "platform/Forms.h"

#include <QString>
#include <vector>

class QStatusBar;

struct LookupConfig {
    QString formName;
    int16_t code = 0;
    QString table;
    std::vector<dao::GridColumn> columns;
    QString emptyMessage;
    double clientWidthTw = 0;
    double clientHeightTw = 0;
    double gridLeftTw = 120;
    double gridWidthTw = 0;
};

class LookupWindow : public forms::Form {
public:
    explicit LookupWindow(LookupConfig config, QWidget* parent = nullptr);

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
    LookupConfig config_;
};

class frm節点座標参照 : public LookupWindow {
public:
    frm節点座標参照();
};

class frm要素情報参照 : public LookupWindow {
public:
    frm要素情報参照();
};

class frm節点拘束形状参照 : public LookupWindow {
public:
    frm節点拘束形状参照();
};

class frm要素端部形状参照 : public LookupWindow {
public:
    frm要素端部形状参照();
};
