#include "report/PreviewEntry.h"

#include "core/NotAvailable.h"

bool ShowPreviewWindow()
{
    // The print preview is not part of this build yet.
    ShowWindowNotAvailable(QStringLiteral("印刷プレビュー"));
    return false;
}
