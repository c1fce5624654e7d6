// The main menu: the current project, the input items with their marks, the
// command buttons, the user options and the status bar.
#pragma once

#include "platform/Forms.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

class frmMainmenu : public forms::Form {
    Q_OBJECT
public:
    frmMainmenu();

    // Controls, named as the window's design names them.
    QFrame* Image1;
    QLabel* Label1;
    QLabel* lblConstructionName;
    QLabel* Label2;
    QLabel* lblDesign;
    QLabel* Label4;
    QLabel* lblnote;
    QLabel* Label5;
    QLabel* lblUnit;
    QLabel* Label8;
    QListWidget* lstInputMenu;
    QLineEdit* txtInputMenu;
    QPushButton* cmdInputData;
    QPushButton* cmdRamen;
    QPushButton* cmdAnalyze;
    QPushButton* cmdPreview;
    QPushButton* cmdMemberDesign;
    QPushButton* cmdMDPreview;
    QPushButton* cmdOpen;
    QPushButton* cmdSave;
    QPushButton* cmdClear;
    QPushButton* cmdバージョン情報;
    QPushButton* cmdEnd;
    QGroupBox* Frame1;
    QPlainTextEdit* Text1;
    QCheckBox* chkCancelMesege;
    QGroupBox* Frame2;
    QCheckBox* chkInputCancel;
    QCheckBox* chkInputDelete;
    QLabel* Label7;
    QGroupBox* Frame3;
    QCheckBox* chkToolTipText;
    QLabel* Label6;
    QStatusBar* StatusBar1;
    QLabel* infoPanel;       // the information-page panel
    QLabel* revisionPanel;   // the last panel

    // Event handlers.
    void lstInputMenu_Click();
    void lstInputMenu_DblClick();
    void lstInputMenu_KeyPress(int keyAscii);
    void lstInputMenu_ItemCheck(int index);
    void cmdInputData_Click();
    void cmdRamen_Click();
    void cmdAnalyze_Click();
    void cmdPreview_Click();
    void cmdOpen_Click();
    void cmdSave_Click();
    void cmdClear_Click();
    void cmdEnd_Click();
    void cmdバージョン情報_Click();
    void chkToolTipText_Click();
    void chkInputCancel_Click();
    void chkInputDelete_Click();
    void chkCancelMesege_Click();
    void StatusBar1_PanelClick(QLabel* panel);

    // The item texts of the input list, index 0..12.
    static QStringList InputItemTexts();

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RestoreMainMenuPosition();
    void SaveMainMenuSettings();
    void InitOptionCheckBoxes();
    void FillInputMenu();
    void ShowSelectedInputItem();
};

// The one program-wide instance, created on first use.
frmMainmenu& MainMenuForm();
// True while the instance exists and is loaded.
bool MainMenuLoaded();
