// Messages that several windows show with the same words.
#pragma once

// "データベースにアクセスできません。" with its two advice lines, exclamation
// icon, OK; the answer goes to MsgResult. No beep precedes it.
void ShowDatabaseAccessMessage();

// The main menu's message for a partly damaged database, with its beep.
void ShowDamagedDatabaseMessage();
