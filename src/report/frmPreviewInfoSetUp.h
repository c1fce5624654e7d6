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
    // Writes the factor box into the line being edited.
    void txtZoomVal_LostFocus();
    void txtZoomVal_GotFocus();
    void FillFromPreviewInfo();
    // False when "pif" could not be written; Program().PreviewInfo holds the
    // answers either way.
    bool StorePreviewInfo();
    // A factor or scale that holds no number (an emptied box) or one beyond a
    // Single would be stored as 0: OK then beeps and keeps the dialog open
    // with the focus on the box, the factor box showing the line's factor.
    // True when it refused.
    bool RefuseTextWithoutNumber();

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool formLoading_ = false;
    int16_t editedLineIndex_ = -1;
    bool factorEditOpen_ = false;
};
