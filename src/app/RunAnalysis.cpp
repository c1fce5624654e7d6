#include "app/RunAnalysis.h"

#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/SolveFrame.h"
#include "analysis/ScratchFiles.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "core/frmAnalyze.h"
#include "platform/Runtime.h"
#include "platform/Settings.h"
#include "platform/Ui.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

namespace {

// Passes the engine's progress to the progress window.
class ProgressWindowSink : public AnalysisProgressSink {
public:
    void Milestone() override { AnalyzeForm()->AdvanceBar(ProgressStep); }
    void Bar1(int max, int value) override { AnalyzeForm()->SetBar1(max, value); }
    void Bar2(bool visible, int max, int value) override { AnalyzeForm()->SetBar2(visible, max, value); }
};
ProgressWindowSink g_windowSink;

}  // namespace

namespace {
bool ScriptedInterface() { return dynamic_cast<ui::ScriptedServices*>(&ui::Current()) != nullptr; }
}

void ShowAnalysisProgress(const QString& phase)
{
    if (phase == QStringLiteral("START")) {
        frmAnalyze* f = AnalyzeForm();
        f->Load();
        f->SetCaption(QStringLiteral("ZELKOVA ver") + Program().ProgramVersion);
        f->Command1->setText(QStringLiteral("キャンセル"));
        f->Label1->setText(QStringLiteral("計算中．．．"));
        // A report build may have left other bar settings behind.
        f->Bar->setMaximum(200);
        f->Bar->setValue(0);
        f->ProgressBar1->setValue(0);
        f->Show();
        SetWindowTopMost(f, forms::kTopMost);
        Program().StartAck = false;
        f->repaint();
        QElapsedTimer waited;
        waited.start();
        // The first paint; a platform that never paints (no screen) does not hold the run.
        while (!Program().StartAck && waited.elapsed() < 2000) {
            forms::DoEvents();
            if (!Program().StartAck) QThread::msleep(5);
        }
        f->ProgressBar2->setVisible(false);
        ProgressStep = rt::CInt(f->Bar->maximum() / 25.0);
        SetAnalysisProgressSink(&g_windowSink);
    } else if (phase == QStringLiteral("FINISH")) {
        frmAnalyze* f = AnalyzeForm();
        ui::Beep();
        f->Command1->setText(QStringLiteral("OK"));
        f->Label1->setText(QStringLiteral("計算終了。[OK]ボタンをクリックして下さい。"));
        f->Bar->setValue(f->Bar->maximum());
        f->Refresh(true);
        Program().FinishAck = false;
        if (ScriptedInterface()) f->Command1_Click();   // the script answers OK
        while (!Program().FinishAck) {
            forms::DoEvents();
            if (!f->isVisible()) break;   // the window went away: nothing left to confirm
            if (!Program().FinishAck) QThread::msleep(10);   // the user's turn: do not spin
        }
    }
}

void FinishAnalysis()
{
    SetAnalysisProgressSink(nullptr);
    DeleteScratchFiles();
    Program().NodeNo.clear();
    Program().MemberNo.clear();
    Program().NodeRow.fill(0);
    Program().MemberRow.fill(0);
    LoadShapeRowMap.clear();
    CloseLoadTables();
    ReleaseAnalyzeForm();
}

void RunAnalysis()
{
    ShowAnalysisProgress(QStringLiteral("START"));
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
    bool finished = false;
    try {
        ReadCaseCountForAnalysis();
        LoadStructureModel();
        BuildLoadVectors();
        SolveFrame();
        finished = true;
    } catch (const AnalysisAbort&) {
        // The check has shown its message.
    } catch (const rt::Error& e) {
        ui::MsgBox(QStringLiteral("計算中にエラーが発生したので計算を終了します") + QStringLiteral("\r\n") + e.description(),
                   ui::Icon::Exclamation);
    } catch (const std::exception& e) {
        ui::MsgBox(QStringLiteral("計算中にエラーが発生したので計算を終了します") + QStringLiteral("\r\n")
                       + QString::fromLocal8Bit(e.what()),
                   ui::Icon::Exclamation);
    }
    if (finished) {
        reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("True"));
        ShowAnalysisProgress(QStringLiteral("FINISH"));
    }
    FinishAnalysis();
}
