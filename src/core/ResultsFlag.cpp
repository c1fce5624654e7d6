#include "core/ResultsFlag.h"

#include "core/ProgramState.h"
#include "platform/Settings.h"
#include "platform/Ui.h"

bool StoreResultsStale(const QString& refused)
{
    const reg::WriteResult result =
        reg::SaveSettingAtOnce(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
    if (result == reg::WriteResult::Written) return true;
    const QString message =
        result == reg::WriteResult::Busy
            ? QStringLiteral("別に起動している ZELKOVA が設定ファイル %2 を使用中のため、%1。\r\n"
                             "しばらく待ってから、もう一度実行して下さい。")
            : QStringLiteral("設定を保存できないため、%1。\r\n"
                             "設定ファイル %2 のあるフォルダの空き容量と書き込みの権限を確認して下さい。");
    ui::Beep();
    Program().MsgResult = ui::MsgBox(message.arg(refused, reg::FilePath()), ui::Icon::Exclamation, AppTitle);
    return false;
}
