#include "shell/AboutBox.h"

#include "shell/NotAvailable.h"

// The about box and the web window are not part of this build yet.
void ShowAboutBox() { ShowWindowNotAvailable(QStringLiteral("バージョン情報")); }
void ShowInfoPage() { ShowWindowNotAvailable(QStringLiteral("インフォメーション")); }
