#include "analysis/RunAnalysis.h"

#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "analysis/SolveFrame.h"
#include "analysis/frmAnalyze.h"
#include "platform/Runtime.h"
#include "platform/Settings.h"
#include "platform/Ui.h"

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
