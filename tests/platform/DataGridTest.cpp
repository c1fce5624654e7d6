// The data control and the read-only grid over a recordset.
#include "common/TestEnv.h"
#include "platform/DataGrid.h"
#include "platform/Forms.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <gtest/gtest.h>

using rt::Variant;

namespace {

dao::DatabasePtr MakeTable()
{
    dao::DatabasePtr db = dao::Database::Create("grid.mdb");
    db->CreateTable({"T", {{"No_", dao::FieldType::Integer}, {"X", dao::FieldType::Single}, {"順", dao::FieldType::Integer}}});
    db->AppendRows("T", {"No_", "X", "順"},
                   {{Variant::Integer(5), Variant::Double(1.25), Variant::Integer(2)},
                    {Variant::Integer(7), Variant(), Variant::Integer(1)},
                    {Variant::Integer(9), Variant::Double(-3), Variant::Integer(3)}});
    return db;
}

TEST(DataGrid, ShowsTheRecordsetInItsOrderAndFollowsItsPosition)
{
    dao::DatabasePtr db = MakeTable();
    dao::RecordsetPtr rs = db->OpenRecordset("T");
    rs->Sort = "順 ASC";
    rs = rs->OpenRecordset();

    forms::Form window("frmTest");
    dao::DataControl data("Data1", &window);
    auto* grid = new dao::DataGrid("DBGrid", &window);
    grid->SetColumns({{"No_", "番号", "0", false}, {"X", "X", "0.000", false}, {"順", "順", "", true}});
    grid->SetDataSource(&data);
    forms::PlaceTw(grid, 0, 0, 6000, 3000);
    EXPECT_EQ(grid->RowCount(), 0);   // unbound

    data.SetRecordset(rs);
    ASSERT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->CellText(0, "No_"), "7");
    EXPECT_EQ(grid->CellText(0, "X"), "");          // Null shows empty
    EXPECT_EQ(grid->CellText(1, "X"), "1.250");
    EXPECT_EQ(grid->CellText(2, "x"), "-3.000");    // names without regard to case
    EXPECT_TRUE(grid->isColumnHidden(2));
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "番号");
    EXPECT_EQ(grid->CurrentRow(), 0);

    rs->MoveLast();
    data.SyncPosition();
    EXPECT_EQ(grid->CurrentRow(), 2);
    rs->MoveNext();   // past the last row: nothing highlighted
    data.SyncPosition();
    EXPECT_EQ(grid->CurrentRow(), -1);

    int changes = 0;
    QObject::connect(grid, &dao::DataGrid::RowColChange, [&] { ++changes; });
    window.show();
    const QRect r = grid->visualRect(grid->model()->index(1, 0));
    QMouseEvent press(QEvent::MouseButtonPress, r.center(), grid->viewport()->mapToGlobal(r.center()), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &press);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(rs->Field("No_").toInteger(), 5);
    EXPECT_EQ(grid->CurrentRow(), 1);

    grid->SetRowHeight(300);
    EXPECT_EQ(grid->RowHeight(), 300);
    grid->SetHeightTw(11 * 300 + 140);
    EXPECT_NEAR(grid->HeightTw(), 11 * 300 + 140, 15);

    data.SetRecordset(nullptr);
    EXPECT_EQ(grid->RowCount(), 0);
    rs->Close();
    db->Close();
}

}  // namespace
