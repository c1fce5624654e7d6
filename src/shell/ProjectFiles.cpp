#include "shell/ProjectFiles.h"

#include "shell/NotAvailable.h"

// Project archives are not part of this build yet.
void OpenProject() { ShowWindowNotAvailable(QStringLiteral("工事データを読み込む")); }
void SaveProject() { ShowWindowNotAvailable(QStringLiteral("工事データを保存する")); }
