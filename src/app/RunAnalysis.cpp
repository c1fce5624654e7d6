#include "app/RunAnalysis.h"

#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/ScratchFiles.h"
#include "analysis/SolveFrame.h"
#include "core/ProgramState.h"
#include "core/ResultsFlag.h"
#include "core/frmAnalyze.h"
#include "platform/Runtime.h"
#include "platform/Settings.h"
#include "platform/Ui.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

void AnalysisProgressWindow::Milestone() { AnalyzeForm()->AdvanceBar(ProgressStep); }
void AnalysisProgressWindow::Bar1(int max, int value) { AnalyzeForm()->SetBar1(max, value); }
void AnalysisProgressWindow::Bar2(bool visible, int max, int value) { AnalyzeForm()->SetBar2(visible, max, value); }

AnalysisProgressWindow& AnalysisProgress()
{
    static AnalysisProgressWindow window;
    return window;
}

namespace {
bool ScriptedInterface() { return dynamic_cast<ui::ScriptedServices*>(&ui::Current()) != nullptr; }
}

void ShowAnalysisProgress(const QString& phase)
{
    if (phase == QStringLiteral("START")) {
        frmAnalyze* f = AnalyzeForm();
        f->Command1->setText(QStringLiteral("キャンセル"));
        f->Label1->setText(QStringLiteral("計算中．．．"));
        // A report build may have left other bar settings behind.
        f->Bar->setMaximum(200);
        f->Bar->setValue(0);
        f->ProgressBar1->setValue(0);
        f->ShowAndAwaitFirstPaint(QEventLoop::AllEvents, true);
        f->ProgressBar2->setVisible(false);
        AnalysisProgress().ProgressStep = rt::CInt(f->Bar->maximum() / 25.0);
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
    DeleteScratchFiles();
    Program().NodeNo.clear();
    Program().MemberNo.clear();
    Program().NodeRow.fill(0);
    Program().MemberRow.fill(0);
    ReleaseAnalyzeForm();
}

void ShowAnalysisFailure(const AnalysisFailure& failure)
{
    if (failure.beep) ui::Beep();
    if (failure.icon == AnalysisFailure::Icon::Information)
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(failure.text, ui::Icon::Information, AppTitle));
    else
        ui::MsgBox(failure.text, ui::Icon::Exclamation, AppTitle);
}

void RunAnalysis()
{
    // The result tables are rewritten from here on: until the run ends well
    // they are not current, also after a crash.
    if (!StoreResultsStale(QStringLiteral("計算を実行できません"))) return;
    ShowAnalysisProgress(QStringLiteral("START"));
    bool finished = false;
    try {
        AnalysisState run;
        run.progress = &AnalysisProgress();
        ReadCaseCountForAnalysis(run);
        LoadStructureModel(run);
        BuildLoadVectors(run);
        SolveFrame(run);
        finished = true;
    } catch (const AnalysisFailure& failure) {
        ShowAnalysisFailure(failure);
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
