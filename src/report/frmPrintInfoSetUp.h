// The print dialog: printer, range of pages, an optional start page number
// and the number of copies, left in Program().PrintRequest. The printers are
// the system's, followed by the entry that prints into a PDF file.
#pragma once

#include "platform/Forms.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace diagram { class UpDownControl; }

class frmPrintInfoSetUp : public forms::Form {
    Q_OBJECT
public:
    explicit frmPrintInfoSetUp(QWidget* owner = nullptr);

    // The printer list's entry for a PDF file.
    static QString PdfDestination();
    static QString NoPrinterEntry();

    QComboBox* cboPrinter = nullptr;
    QRadioButton* opnAllPage = nullptr;
    QRadioButton* OpnCurrentPage = nullptr;
    QLabel* lblCurrentPage = nullptr;
    QRadioButton* opnSelectPage = nullptr;
    QLineEdit* txtFromPage = nullptr;
    QLabel* lblFromPage = nullptr;
    QLineEdit* txtToPage = nullptr;
    QCheckBox* chkStartPage = nullptr;
    QLineEdit* txtStartPage = nullptr;
    QLineEdit* txtCopy = nullptr;
    diagram::UpDownControl* UpDown = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();
    void FillPrinterList();
    void FillFromPrintRequest();
    void EnablePageRange(bool enable);
    void EnableStartPageBox();
    // Runs when the dialog is about to close; false keeps it open.
    bool ValidatePrintRequest(int unloadMode);

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StepCopies(int delta);
    // Beep, the message, and the focus in `box` with its text selected.
    void Refuse(const QString& message, QLineEdit* box);
};
