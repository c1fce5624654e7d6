#include "input/LookupWindow.h"

#include "input/InputRecordOps.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QStatusBar>

LookupWindow::LookupWindow(LookupConfig config, QWidget* parent) : forms::Form(config.formName, parent), config_(std::move(config))
{
    // A sizable window without minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Data1 = new dao::DataControl(QStringLiteral("Data1"), this);
    DBGrid = new dao::DataGrid(QStringLiteral("DBGrid"), this);
    DBGrid->SetColumns(config_.columns);
    DBGrid->SetDataSource(Data1);
    forms::PlaceTw(DBGrid, config_.gridLeftTw, 120, config_.gridWidthTw, 2400);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    SetClientSizeTw(config_.clientWidthTw, config_.clientHeightTw);
    FixedWidth = static_cast<int>(config_.gridLeftTw + config_.gridWidthTw + 270);
}

void LookupWindow::Form_Load()
{
    SetWindowCaption(config_.code, this);
    // The window takes its held width first so that it is centred at that width.
    Form_Resize();
    int width = FixedWidth;
    int height = 0;
    CenterOnInputForm(this, width, height);
    FixedWidth = width;

    LookupDatabase = dao::Database::Open(kWorkingDatabase);
    LookupRecordset = LookupDatabase->OpenRecordset(config_.table);
    if (LookupRecordset->BOF() && LookupRecordset->EOF_()) {
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(config_.emptyMessage, ui::Icon::Information, AppTitle));
    } else {
        LookupRecordset->Sort = QStringLiteral("順 ASC");
        LookupRecordset = LookupRecordset->OpenRecordset();
        LookupRecordset->MoveFirst();
    }
    Data1->SetRecordset(LookupRecordset);
}

void LookupWindow::Form_Resize()
{
    // Only the height follows the user; the width snaps back.
    try {
        const int frameExtra = frameGeometry().width() - width();
        const int client = forms::Px(FixedWidth) - frameExtra;
        if (client > 0 && width() != client) resize(client, height());
        const double gridHeight = HeightTw() - 670;
        if (gridHeight > 0) DBGrid->SetHeightTw(gridHeight);
        StatusBar1->setGeometry(0, height() - StatusBar1->sizeHint().height(), width(), StatusBar1->sizeHint().height());
    } catch (...) {}
}

void LookupWindow::Form_Unload(bool&)
{
    Data1->SetRecordset(nullptr);
    try {
        if (LookupRecordset) LookupRecordset->Close();
    } catch (...) {}
    try {
        if (LookupDatabase) LookupDatabase->Close();
    } catch (...) {}
    LookupRecordset.reset();
    LookupDatabase.reset();
}

namespace {

LookupConfig NodeLookup()
{
    LookupConfig c;
    c.formName = QStringLiteral("frm節点座標参照");
    c.code = ScreenNodeLookup;
    c.table = QStringLiteral("節点座標1");
    c.columns = {{"No_", "節点番号", "", false},
                 {"X", "X", "0.000", false},
                 {"Y", "Y", "0.000", false},
                 {"Z", "Z", "0.000", false},
                 {"順", "順", "", true}};
    c.emptyMessage = QStringLiteral("節点データが登録されていません");
    c.clientWidthTw = 4815;
    c.clientHeightTw = 2685;
    c.gridWidthTw = 4575;
    return c;
}

LookupConfig MemberLookup()
{
    LookupConfig c;
    c.formName = QStringLiteral("frm要素情報参照");
    c.code = ScreenMemberLookup;
    c.table = QStringLiteral("要素情報");
    c.columns = {{"No_", "部材番号", "", false},
                 {"iTan", "i 端", "", false},
                 {"jTan", "j 端", "", false},
                 {"材料番号", "形状番号", "", false},
                 {"順", "順", "", true}};
    c.emptyMessage = QStringLiteral("部材データが登録されていません");
    c.clientWidthTw = 4485;
    c.clientHeightTw = 2685;
    c.gridWidthTw = 4260;
    return c;
}

LookupConfig RestraintTypeLookup()
{
    LookupConfig c;
    c.formName = QStringLiteral("frm節点拘束形状参照");
    c.code = ScreenRestraintTypeLookup;
    c.table = QStringLiteral("節点拘束形状");
    c.columns = {{"No_", "形状番号", "", false},
                 {"u", "X方向", "", false},
                 {"v", "Y方向", "", false},
                 {"w", "Z方向", "", false},
                 {"θx", "θx方向", "", false},
                 {"θy", "θy方向", "", false},
                 {"θz", "θz方向", "", false},
                 {"順", "順", "", true}};
    c.emptyMessage = QStringLiteral("節点拘束条件に関するデータが登録されていません");
    c.clientWidthTw = 6900;
    c.clientHeightTw = 2670;
    c.gridWidthTw = 6645;
    return c;
}

LookupConfig MemberEndTypeLookup()
{
    LookupConfig c;
    c.formName = QStringLiteral("frm要素端部形状参照");
    c.code = ScreenMemberEndTypeLookup;
    c.table = QStringLiteral("要素端部形状");
    c.columns = {{"No_", "形状番号", "", false},
                 {"xHKU", "x軸方向", "", true},
                 {"yHKU", "y軸方向", "", true},
                 {"zHKU", "z軸方向", "", true},
                 {"xMWR", "x軸回り", "", false},
                 {"yMWR", "y軸回り", "", false},
                 {"zMWR", "z軸回り", "", false},
                 {"順", "順", "", true}};
    c.emptyMessage = QStringLiteral("部材端部条件に関するデータが登録されていません");
    c.clientWidthTw = 4440;
    c.clientHeightTw = 2670;
    c.gridWidthTw = 4140;
    return c;
}

}  // namespace

frm節点座標参照::frm節点座標参照() : LookupWindow(NodeLookup()) {}
frm要素情報参照::frm要素情報参照() : LookupWindow(MemberLookup()) {}
frm節点拘束形状参照::frm節点拘束形状参照() : LookupWindow(RestraintTypeLookup()) {}
frm要素端部形状参照::frm要素端部形状参照() : LookupWindow(MemberEndTypeLookup()) {}
