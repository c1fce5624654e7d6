#include "input/LookupWindow.h"

#include "input/InputControls.h"
#include "input/InputRecordOps.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QStatusBar>

LookupWindow::LookupWindow(LookupDescription description, QWidget* parent)
    : forms::Form(description.formName, parent), description_(std::move(description))
{
    // A sizable window without minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    CloseWithEscape(this);
    Data1 = new dao::DataControl(QStringLiteral("Data1"), this);
    DBGrid = new dao::DataGrid(QStringLiteral("DBGrid"), this);
    DBGrid->SetColumns(description_.columns);
    DBGrid->SetDataSource(Data1);
    forms::PlaceTw(DBGrid, description_.gridLeftTw, 120, description_.gridWidthTw, 2400);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    SetClientSizeTw(description_.clientWidthTw, description_.clientHeightTw);
    FixedWidth = static_cast<int>(description_.gridLeftTw + description_.gridWidthTw + 270);
}

void LookupWindow::Form_Load()
{
    SetWindowCaption(description_.code, this);
    // The window takes its held width first so that it is centred at that width.
    Form_Resize();
    int width = FixedWidth;
    int height = 0;
    CenterOnInputForm(this, width, height);
    FixedWidth = width;

    LookupDatabase = dao::Database::Open(kWorkingDatabase);
    LookupRecordset = LookupDatabase->OpenRecordset(description_.table);
    if (LookupRecordset->BOF() && LookupRecordset->EOF_()) {
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(description_.emptyMessage, ui::Icon::Information, AppTitle));
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

void RegisterLookupWindow(const LookupDescription& description)
{
    RegisterWindow(description.code, description.formName, [description] { return new LookupWindow(description); });
}
