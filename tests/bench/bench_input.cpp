// Opening the node screen on a 300-node project, and adding a row to it.
// Prints the median and the worst of several runs, in milliseconds.
#include "app/WindowRegistry.h"
#include "core/WindowHelpers.h"
#include "common/TestEnv.h"
#include "core/MakeDatabase.h"
#include "input/InputStart.h"
#include "platform/Database.h"
#include "platform/Ui.h"
#include "screens/NodeScreen.h"
#include "core/ProgramState.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void Report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %7.2f ms   worst %7.2f ms   (%zu runs)\n", what, ms[ms.size() / 2], ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root(QDir::tempPath() + "/zelkova-bench-XXXXXX");
    qputenv("XDG_CONFIG_HOME", (root.path() + "/config").toLocal8Bit());
    QDir::setCurrent(root.path());
    QApplication app(argc, argv);
    ProgramStateScope programState;
    RegisterProgramWindows();
    ui::SetCurrent(std::make_shared<ui::ScriptedServices>());
    SetShowMainMenuHandler([] {});
    Program().WarnOnCancel = false;

    int16_t mode = 0;
    MakeDatabase(mode);
    {
        dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
        std::vector<std::vector<rt::Variant>> rows;
        for (int i = 1; i <= 300; ++i)
            rows.push_back({rt::Variant::Integer(int16_t(i)), rt::Variant::Double(i * 0.5), rt::Variant::Double(i % 7),
                            rt::Variant::Double(i % 11), rt::Variant::Integer(int16_t(i))});
        db->AppendRows("節点座標1", {"No_", "X", "Y", "Z", "順"}, rows);
        db->Close();
    }

    const int runs = 15;
    std::vector<double> open, add;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        Program().ScreenCode = ScreenNodeCoordinates;
        StartInputForm();
        QCoreApplication::processEvents();
        open.push_back(t.nsecsElapsed() / 1e6);

        auto* s = dynamic_cast<frm節点座標1*>(Program().CurrentInputForm.data());
        // Row 299 is deleted first, so the proposal of a new row is free.
        s->ScreenRecordset->FindFirst("no_ = 299");
        s->Box("txtNo")->setText("299");
        s->ScreenDatabase->Execute("DELETE FROM \"節点座標1\" WHERE \"No_\" = 299");
        s->Box("txtX")->setText("1.5");
        t.restart();
        s->cmd追加_Click();
        QCoreApplication::processEvents();
        add.push_back(t.nsecsElapsed() / 1e6);
        s->cmdCancel_Click();   // back to the 300 nodes
    }
    Report("open the node screen (300 nodes)", open);
    Report("add a row (300 nodes)", add);
    return 0;
}
