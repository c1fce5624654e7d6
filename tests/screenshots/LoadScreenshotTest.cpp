// Pictures of the load windows with data, written where ZELKOVA_SCREENSHOTS
// points (run under a real X server to look at them), otherwise into the
// test's own folder; the test checks only that the windows render.
#include "core/WindowHelpers.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "loads/LoadPlacementScreen.h"
#include "loads/LoadShapeScreen.h"
#include "loads/LoadTypeLegend.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include "common/Screenshot.h"

using namespace inputtest;

namespace {

using V = rt::Variant;

TEST(Screenshots, LoadWindows)
{
    MakeEmptyDatabase();
    Program().ProgramVersion = "1.41";
    SetShowMainMenuHandler([] {});
    AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
               {{V::Text("〇〇橋 補強設計"), V::Text("山田 太郎"), V::Text("第2案"), V::Text("True"), V::Integer(3),
                 V::Double(21000), V::Double(8100)}});
    std::vector<std::vector<V>> shapes;
    const char* systems[] = {"X 絶対系", "z 部材系", "y 部材系", "Z 絶対系"};
    for (int i = 1; i <= 8; ++i)
        shapes.push_back({V::Integer(int16_t(i)), V::Integer(int16_t(i == 1 ? 1 : i == 2 ? 2 : i)), V::Integer(int16_t(1 + i % 3)),
                          V::Text(systems[i == 1 ? 0 : i == 2 ? 1 : i % 4]), V::Double(-10.5 * i), V::Double(i > 3 ? 1.5 : 0),
                          V::Double(i > 3 ? 2.0 : 0), V::Double(i > 3 ? 3.0 : 0), V::Double(0), V::Double(0), V::Double(0),
                          V::Integer(int16_t(i))});
    AppendRows("荷重形状", {"No_", "TYP", "Case", "座標系", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "fld_06", "fld_07", "順"},
               shapes);
    QStringList fields{"No_", "荷重形状"};
    for (int i = 1; i <= 10; ++i) fields << QString("fld_%1").arg(i, 2, 10, QChar('0'));
    fields << "順";
    std::vector<std::vector<V>> rows;
    for (int r = 1; r <= 6; ++r) {
        std::vector<V> row{V::Integer(int16_t(r)), V::Integer(int16_t(r))};
        for (int k = 1; k <= 10; ++k) row.push_back(V::Integer(int16_t(k <= r ? r * 10 + k : 0)));
        row.push_back(V::Integer(int16_t(r)));
        rows.push_back(row);
    }
    AppendRows("荷重配置", fields, rows);

    Program().ScreenCode = ScreenLoadShapes;
    ASSERT_TRUE(StartInputForm());
    auto* shape = dynamic_cast<frm荷重形状*>(Program().CurrentInputForm.data());
    shape->DBGrid->ClickRow(4);
    testenv::SaveScreenshot(shape, "load-shape-screen.png");
    shape->cmdReferType->click();
    auto* legend = dynamic_cast<frm荷重形状図*>(forms::FindLoadedForm("frm荷重形状図"));
    ASSERT_NE(legend, nullptr);
    testenv::SaveScreenshot(legend, "load-type-legend.png");
    legend->VSViewPort1->horizontalScrollBar()->setValue(legend->VSViewPort1->horizontalScrollBar()->maximum());
    testenv::SaveScreenshot(legend, "load-type-legend-right.png");
    shape->Cmd登録_Click();

    Program().ScreenCode = ScreenLoadPlacement;
    ASSERT_TRUE(StartInputForm());
    auto* placement = dynamic_cast<frm荷重配置*>(Program().CurrentInputForm.data());
    placement->DBGrid->ClickRow(2);
    testenv::SaveScreenshot(placement, "load-placement-screen.png");
    placement->cmdRefer荷重形状データ->click();
    testenv::SaveScreenshot(forms::FindLoadedForm("frm荷重形状参照"), "load-shape-lookup.png");
    EndInputForm(true);
}

}  // namespace
