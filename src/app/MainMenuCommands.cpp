#include "app/MainMenuCommands.h"

#include "app/ProjectFiles.h"
#include "app/RunAnalysis.h"
#include "input/InputStart.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "report/PreviewEntry.h"
#include "core/ProgramState.h"
#include "core/Messages.h"
#include "core/WindowHelpers.h"
#include "app/frmMainmenu.h"

#include <QLabel>
#include <QListWidget>
#include <QCheckBox>

namespace {

const char* const kNoProject = "**********";

// The tables whose rows mark the input items, in item order.
const char* const kItemTables[] = {
    "基本データ", "節点座標1", "材料定数1", "材料定数2", "要素情報", "節点拘束形状", "節点拘束配置",
    "要素端部形状", "要素端部配置", "荷重形状", "荷重配置", "VUP01断面設計共通事項", "VUP01荷重名称組合せ",
};

int InputItemCount() { return MainMenuForm().lstInputMenu->count(); }

bool IsInputCode(int16_t code)
{
    return (code >= 10201 && code <= 10200 + InputItemCount()) || code == ScreenDesignCommonItems
           || code == ScreenDesignLoadCombinations;
}

void ShowNoScreenForItem(const QString& item)
{
    ui::Beep();
    Program().MsgResult = ui::MsgBox(QStringLiteral("「%1」を入力する画面はありません。").arg(item), ui::Icon::Information, AppTitle);
}

}  // namespace

void ShowEmptyProject(frmMainmenu& menu)
{
    menu.lblConstructionName->setText(QString::fromUtf8(kNoProject));
    menu.lblnote->setText(QString());
    menu.lblDesign->setText(QString());
    menu.lblUnit->setText(QStringLiteral("SI"));
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
}

namespace {

void RestoreMenu(frmMainmenu& menu)
{
    menu.SetBusyPointer(false);
    ui::Current().SetBusy(false);
    menu.SetEnabledState(true);
}

}  // namespace

void RunMenuCommand(int16_t code)
{
    if (!CanRunMenuCommand(code)) return;
    CaptureReportHeader();
    frmMainmenu& menu = MainMenuForm();
    if (code == ScreenDesignCommonItems) {
        // No screen edits the common items of section design.
        ShowNoScreenForItem(QStringLiteral("断面設計共通事項"));
        return;
    }
    if (IsInputCode(code)) {
        menu.SetBusyPointer(true);
        CloseSharedData();
        Program().ScreenCode = code;
        bool opened = false;
        try {
            opened = StartInputForm();
        } catch (...) {
            opened = false;
        }
        if (!opened) {
            // No screen took over: the menu stays in charge.
            RestoreMenu(menu);
            return;
        }
        Program().MainMenuSwitching = true;
        menu.Unload();
        return;
    }
    if (code == ScreenAnalysis) {
        menu.SetEnabledState(false);
        menu.SetBusyPointer(true);
        try {
            RunAnalysis();
        } catch (...) {
        }
        SetWindowTopMost(&menu, forms::kTopMost);
        SetWindowTopMost(&menu, forms::kNotTopMost);
        RestoreMenu(menu);
        return;
    }
    if (code == ScreenFramePreview || code == ScreenResultsPreview) {
        // From here on a failing step is passed over: the menu stays usable.
        menu.SetBusyPointer(true);
        CloseSharedData();
        Program().ScreenCode = code;
        PreviewServices services = CurrentPreviewServices();
        services.compactDatabase = CompactWorkingDatabase;
        services.archiveFolder = [] {
            QString folder;
            GetProjectFolder(folder);
            return folder;
        };
        SetPreviewServices(std::move(services));
        // The preview shows itself without blocking; its prpLoaded says
        // whether it took over or stopped while loading.
        bool prpLoaded = false;
        try {
            prpLoaded = ShowPreviewWindow();
        } catch (...) {
            prpLoaded = false;
        }
        if (prpLoaded) {
            Program().MainMenuSwitching = true;
            menu.Unload();
        } else {
            RestoreMenu(menu);
        }
    }
}

bool CanRunMenuCommand(int16_t code)
{
    frmMainmenu& menu = MainMenuForm();
    if ((code >= 10202 && code <= 10200 + InputItemCount()) || code == ScreenFramePreview) {
        QString name = menu.lblConstructionName->text();
        if (name.isEmpty() || name == QString::fromUtf8(kNoProject)) {
            ui::Beep();
            Program().MsgResult = ui::MsgBox(QStringLiteral("工事データが選択されていません。\r\n"
                                                  "保管されているデータを読み込むか、または新たに[基本データ]で工事データを作成して下さい。"),
                                   ui::Icon::Information | ui::Buttons::OK, AppTitle);
            return false;
        }
        return true;
    }
    if (code == ScreenResultsPreview) {
        if (!reg::GetBool(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), false)) {
            ui::Beep();
            Program().MsgResult = ui::MsgBox(QStringLiteral("現在工事データが選択されていないか、または選択されている最新の工事データに対して\r\n"
                                                  "計算処理が実行されていないので計算結果が表示できません。[解析]を実行して下さい。"),
                                   ui::Icon::Information, AppTitle);
            return false;
        }
        return true;
    }
    return true;
}

void CaptureReportHeader()
{
    frmMainmenu& menu = MainMenuForm();
    Program().ReportHeader.ProjectName = rt::FixedText(menu.lblConstructionName->text(), 50);
    Program().ReportHeader.Designer = rt::FixedText(menu.lblDesign->text(), 50);
    Program().ReportHeader.Remarks = rt::FixedText(menu.lblnote->text(), 50);
}

void RefreshMainMenu()
{
    frmMainmenu& menu = MainMenuForm();
    Program().MenuUpdating = true;
    const int selected = menu.lstInputMenu->currentRow();
    auto finish = [&] {
        if (selected >= 0) menu.lstInputMenu->setCurrentRow(selected);
        Program().MenuUpdating = false;
    };

    // The basic data: a file that cannot be read shows as an empty project.
    bool readable = true;
    try {
        Program().SharedDatabase = dao::Database::Open(kWorkingDatabase);
        Program().SharedRecordset = Program().SharedDatabase->OpenRecordset(QStringLiteral("基本データ"));
        if (Program().SharedRecordset->BOF() && Program().SharedRecordset->EOF_()) {
            ShowEmptyProject(menu);
        } else {
            menu.lblConstructionName->setText(Program().SharedRecordset->Field(QStringLiteral("工事名")).toStringOrEmpty());
            menu.lblnote->setText(Program().SharedRecordset->Field(QStringLiteral("Note")).toStringOrEmpty());
            menu.lblDesign->setText(Program().SharedRecordset->Field(QStringLiteral("設計者")).toStringOrEmpty());
            bool si = true;
            try {
                si = Program().SharedRecordset->Field(QStringLiteral("Unit")).toBool();
            } catch (const rt::Error&) {
                si = true;
            }
            menu.lblUnit->setText(si ? QStringLiteral("SI") : QStringLiteral("CGS"));
        }
    } catch (...) {
        readable = false;
    }

    for (int i = 0; i < menu.lstInputMenu->count(); ++i) menu.lstInputMenu->item(i)->setCheckState(Qt::Unchecked);

    if (!readable) {
        ShowEmptyProject(menu);
        finish();
        ShowDamagedDatabaseMessage();
        return;
    }

    try {
        for (int16_t index = 0; index < 13; ++index) {
            if (Program().SharedRecordset) Program().SharedRecordset->Close();
            Program().SharedRecordset = Program().SharedDatabase->OpenRecordset(QString::fromUtf8(kItemTables[index]));
            MarkInputItem(index);
        }
    } catch (...) {
        finish();
        ShowDamagedDatabaseMessage();
        return;
    }
    CloseSharedData();
    finish();
}

void MarkInputItem(int16_t index)
{
    QListWidgetItem* item = MainMenuForm().lstInputMenu->item(index);
    if (!item) return;
    bool hasRows = Program().SharedRecordset && !(Program().SharedRecordset->BOF() && Program().SharedRecordset->EOF_());
    bool marked = item->checkState() == Qt::Checked || hasRows;
    item->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
}

void ApplyMainMenuToolTips()
{
    frmMainmenu& menu = MainMenuForm();
    menu.SetEnabledState(false);
    bool on = reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkToolTipText"), true);
    for (QWidget* w : menu.findChildren<QWidget*>()) {
        QVariant tag = w->property("tag");
        if (!tag.isValid()) continue;
        w->setToolTip(on ? tag.toString() : QString());
    }
    menu.chkToolTipText->setToolTip(menu.chkToolTipText->property("tag").toString());
    menu.SetEnabledState(true);
}
