#include "core/ResultsFlag.h"

#include "core/ProgramState.h"
#include "platform/Settings.h"
#include "platform/Ui.h"

bool StoreResultsStale(const QString& refused)
{
    const reg::WriteResult result =
        reg::SaveSettingAtOnce(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
    if (result == reg::WriteResult::Written) return true;
    QString message;
    switch (result) {
    case reg::WriteResult::Busy:
        message = QStringLiteral("別に起動している ZELKOVA が設定ファイル %2 を使用中のため、%1。\r\n"
                                 "しばらく待ってから、もう一度実行して下さい。");
        break;
    case reg::WriteResult::NotAFile:
        message = QStringLiteral("設定ファイル %2 がファイルではない（フォルダやパイプなどである）ため、%1。\r\n"
                                 "その名前のものを別の場所に移してから、もう一度実行して下さい。");
        break;
    case reg::WriteResult::LinkLoop:
        message = QStringLiteral("設定ファイル %2 のリンクが輪になっていて、ファイルにたどり着けないため、%1。\r\n"
                                 "リンクを直してから、もう一度実行して下さい。");
        break;
    case reg::WriteResult::Failed:
    case reg::WriteResult::Written:
        message = QStringLiteral("設定を保存できないため、%1。\r\n"
                                 "設定ファイル %2 のあるフォルダの空き容量と書き込みの権限を確認して下さい。");
        break;
    }
    ui::Beep();
    Program().MsgResult = ui::MsgBox(message.arg(refused, reg::FilePath()), ui::Icon::Exclamation, AppTitle);
    return false;
}
