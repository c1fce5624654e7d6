#include "core/Messages.h"

#include "platform/Ui.h"
#include "core/ProgramState.h"

void ShowDatabaseAccessMessage()
{
    Program().MsgResult = ui::MsgBox(QStringLiteral("データベースにアクセスできません。\r\n"
                                          "もしデータベースをオープンしている場合はデータベースを閉じて、もう一度処理を実行して下さい。\r\n"
                                          "それでもエラーが発生する場合はメインメニューで[クリア]を実行して下さい。"),
                           ui::Icon::Exclamation, AppTitle);
}

void ShowDamagedDatabaseMessage()
{
    ui::Beep();
    Program().MsgResult = ui::MsgBox(QStringLiteral("現在の工事データのデータベースの一部が破損しています。\r\n"
                                          "[クリア]を実行して新たにデータベースを作成してください。\r\n"
                                          "尚その場合、破損していない入力データもクリアされます。"),
                           ui::Icon::Exclamation, AppTitle);
}
