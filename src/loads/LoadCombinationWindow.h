// The load names and combinations window for section design: names and
// duration classes of the load cases, and up to ten combinations of up to four
// cases with their factors. Edits work on a copy in memory; "登録" and
// "上書き保存" write the whole copy to table VUP01荷重名称組合せ.
#pragma once

#include "input/InputScreen.h"
#include "input/InputStart.h"
#include "platform/Database.h"

#include <QString>
#include <cstdint>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

// Two arrow buttons that step a whole number from 0 to 10 and write it into
// the text box they belong to.
class FactorSpinButtons : public QWidget {
public:
    FactorSpinButtons(QLineEdit* buddy, QWidget* parent);
    // One step up (+1) or down (-1) from the number the box shows, rounded
    // half to even and taken as 0 when the box holds no number.
    void Step(int delta);
    QToolButton* Up;
    QToolButton* Down;

private:
    QLineEdit* buddy_;
};

// The window as the main menu's item 13 opens it, through the input-screen
// start: on a backup of the working database, in place of the menu.
const InputScreenDescription& LoadCombinationScreen();

class frm01荷重組合せ : public InputScreen {
public:
    frm01荷重組合せ();

    static constexpr int16_t MaxCases = 10;
    // New combinations stop here; more stored by other means are kept.
    static constexpr int16_t MaxCombinations = 10;

    // Case frame.
    QGroupBox* Frame1;
    QListWidget* List荷重ケース;
    QLabel* Label1;
    QLabel* Lbl荷重ケース名;
    QLineEdit* Text荷重ケース名;
    QComboBox* Cmbケース長短;
    QPushButton* Cmd荷重名登録;
    QPushButton* cmdCase1行cls;
    QPushButton* cmdCase全行cls;

    // Combination frame.
    QGroupBox* Frame2;
    QLabel* Lbl組合せ注意1;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Lb1InpAssemNo;
    QLabel* Label17;
    QListWidget* List荷重組合せ;
    QPushButton* CmdToUp;
    QPushButton* CmdToDown;
    QPushButton* cmdAssemNew;
    QPushButton* cmdAssem1行del;
    QPushButton* cmdAssem全行del;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Lbl組合せ名;
    QLineEdit* Text荷重組合せ名;
    QComboBox* Cmb荷重名[4];
    QLineEdit* txt倍率[4];
    FactorSpinButtons* 倍率UpDown[4];
    QComboBox* Cmb組合せ長短;
    QPushButton* Cmd組合せ登録;
    QLabel* Label12;

    // Window buttons.
    QPushButton* Cmd登録;
    QPushButton* Cmd中止;
    QPushButton* Cmd上書き保存;

    // The window's own connection, open only while it loads and saves.
    dao::DatabasePtr WindowDatabase;
    dao::RecordsetPtr WindowRecordset;

    // Event handlers.
    void List荷重ケース_Click();
    void cmdCase1行cls_Click();
    void cmdCase全行cls_Click();
    void Cmd荷重名登録_Click();
    void List荷重組合せ_Click();
    void cmdAssemNew_Click();
    void cmdAssem1行del_Click();
    void cmdAssem全行del_Click();
    void Cmd組合せ登録_Click();
    void CmdToDown_Click() { modified_ = true; }
    void CmdToUp_Click() { modified_ = true; }
    void Cmd上書き保存_Click();
    void Cmd中止_Click();
    void Cmd登録_Click();

    bool Modified() const { return modified_; }
    std::vector<std::pair<QString, QString>> OwnToolTips() const override;
    int16_t CaseCount() const { return caseCount_; }
    int16_t CombinationCount() const { return combinationCount_; }
    int16_t CurrentCombinationRow() const { return currentCombination_; }

    // The text followed by the explanation that a delete here is provisional.
    static QString AppendProvisionalDeleteNote(const QString& text);

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;

private:
    struct CaseRow {
        QString label, name, cls;
    };
    struct Term {
        QString load, factor;
        int16_t index = 0;   // zero-based case index, -1 for a load text not in the list
    };
    struct CombinationRow {
        QString label, name, cls;
        Term terms[4];
    };

    void SyncBaseCaseRows(int16_t count, dao::RecordsetPtr& selection);
    void RefreshLoadNameCombos();
    void BuildCombinationLine(int16_t k, bool takeControls);
    // Writes the copy in memory to the table; false (with the message shown)
    // when the database could not be written, the table then as it was.
    bool SaveLoadNamesAndCombinations();
    void SaveRows();
    // Adds 1000 to the number of every stored row (a row without a number goes).
    void MarkSavedRows();
    // One row per case of the copy, then one per named combination; the
    // recordset stays open from the first to the second.
    void WriteCaseRows();
    void WriteCombinationRows();
    void DeleteMarkedRows();

    // Reads the table into the copy and the lists; false (after its message)
    // when the basic data or the case rows cannot be read.
    bool LoadFromDatabase();
    bool ReadCaseCount();
    void MatchCaseRowsToCaseCount();
    bool ListCases();
    void ShowCaseEntry();
    void ListCombinations();
    void PrepareCombinationEntry();
    void ShowCombinationNotes();
    QString DisplayName(int16_t caseRow) const;   // 1-based
    void SetListLine(QListWidget* list, int row, const QString& text);
    void SelectListRow(QListWidget* list, int row);
    void ResetCaseEntry();
    void ClearCombinationEntry();
    // Ends the window: closes its connection and leaves through EndInputForm.
    void EndWindow(bool cancelled);

    int16_t caseCount_ = 0;
    CaseRow cases_[MaxCases + 1];                    // rows 1..10
    int16_t combinationCount_ = 0;
    std::vector<CombinationRow> combinations_;      // rows 1..count (0 unused)
    int16_t currentCase_ = 0;
    int16_t currentCombination_ = 0;
    bool modified_ = false;
    bool loading_ = false;
    bool selecting_ = false;   // the program is setting a list's selection
};
