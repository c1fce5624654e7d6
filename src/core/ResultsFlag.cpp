#include "core/ResultsFlag.h"

#include "core/ProgramState.h"
#include "platform/Settings.h"
#include "platform/Ui.h"

bool StoreResultsStale(const QString& refused)
{
    if (reg::SaveSettingAtOnce(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False")))
        return true;
    ui::Beep();
    Program().MsgResult = ui::MsgBox(QStringLiteral("設定を保存できないため、%1。\r\n"
                                                    "設定ファイル %2 のあるフォルダの空き容量と書き込みの権限を確認して下さい。")
                                         .arg(refused, reg::FilePath()),
                                     ui::Icon::Exclamation, AppTitle);
    return false;
}
