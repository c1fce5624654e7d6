// The display-contents dialog: the arrangement of the results (per node and
// member or per load case), the load cases combined in chapter 3 with their
// factors, and the displacement and stress diagrams with their scales. It
// fills itself from "pif" and, when confirmed, stores its answers there and
// in Program().PreviewInfo.
#pragma once

#include "platform/Forms.h"

#include <QString>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class frmPreviewInfoSetUp : public forms::Form {
    Q_OBJECT
public:
    explicit frmPreviewInfoSetUp(QWidget* owner = nullptr);

    QRadioButton* opnPerSeBu = nullptr;
    QRadioButton* OpnPerKajyu = nullptr;
    QListWidget* lstCaseZoom = nullptr;
    QLabel* lblCaseNo = nullptr;
    QLineEdit* txtZoomVal = nullptr;
    QCheckBox* chkHnz = nullptr;
    QLineEdit* txtHnzZoom = nullptr;
    QCheckBox* chkOuz = nullptr;
    QLineEdit* txtOuzZoom = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // One line of the case list: the case right-aligned in characters 7 and
    // 8, the factor text right-aligned in characters 11 to 20.
    static QString CaseLine(const QString& caseNo, const QString& factorText);

    void cmdOK_Click();
    void cmdCancel_Click();
    void lstCaseZoom_Click();
    // Writes the factor box into the line being edited. A factor wider than
    // the line's field is not written: the line keeps its factor, the box
    // the text typed, and "表示" refuses it. `announce` beeps at once.
    void txtZoomVal_LostFocus(bool announce = true);
    void txtZoomVal_GotFocus();
    void FillFromPreviewInfo();
    // False when "pif" could not be written; Program().PreviewInfo holds the
    // answers either way.
    bool StorePreviewInfo();
    // A factor the factor box could not write into its line (too wide for
    // the field), or a factor or scale that holds no number (an emptied box)
    // or one beyond a Single and would be stored as 0: OK then beeps and
    // keeps the dialog open with the focus on the box. The factor box shows
    // the text refused, or the factor of the line refused.
    // True when it refused.
    bool RefuseEntryNotStorable();

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool formLoading_ = false;
    int16_t editedLineIndex_ = -1;
    bool factorEditOpen_ = false;
    // The factor box holds a text that line editedLineIndex_ could not take.
    bool factorRefused_ = false;
};
