// The report window: the print preview of the results report (10402) or of
// the frame diagram (10401), with the control panel for pages and zoom, the
// display-contents and print dialogs, and the side panel of the diagram
// layout. It opens its own connection to the working database when it
// loads; when it closes, the database is compacted and the main menu comes
// back.
#pragma once

#include "diagram/ViewGeometry.h"
#include "diagram/ViewParameterFile.h"
#include "platform/Forms.h"
#include "report/ReportDriver.h"
#include "report/diagrams/DiagramPlacement.h"

#include <functional>
#include <vector>

#include <QString>
#include <cstdint>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace diagram { class UpDownControl; }
namespace preview { class PreviewWidget; }

class frmPreview : public forms::Form {
    Q_OBJECT
public:
    frmPreview();

    // True once the load has run to its end: the window took over from the
    // main menu.
    bool prpLoaded() const { return prpLoaded_; }
    void setPrpLoaded(bool loaded) { prpLoaded_ = loaded; }
    // The load stopped at the model question, or failed.
    bool LoadStopped() const { return loadStopped_; }
    bool LoadFailed() const { return loadFailed_; }
    // True while a document is being built.
    bool Building() const { return building_; }

    // ---- controls ----
    preview::PreviewWidget* vsp = nullptr;
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuPreviewInfoSetUp = nullptr;
    QAction* mnuMentPreview = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuBack = nullptr;
    QAction* mnuControl = nullptr;
    QAction* mnuMF = nullptr;
    QAction* mnuMP = nullptr;
    QAction* mnuMN = nullptr;
    QAction* mnuML = nullptr;
    QAction* mnu全体 = nullptr;
    QAction* mnu表示 = nullptr;
    QAction* mnu拡大 = nullptr;
    QAction* mnu縮小 = nullptr;

    QWidget* Picture1 = nullptr;     // side panel of the layout mode
    QWidget* Picture2 = nullptr;     // control panel
    QGroupBox* Frame[2] = {};
    QLineEdit* txtinp = nullptr;
    QPushButton* cmdP指定 = nullptr;
    QToolButton* cmdMF = nullptr;
    QToolButton* cmdMP = nullptr;
    QToolButton* cmdMN = nullptr;
    QToolButton* cmdML = nullptr;
    QLabel* lblAP = nullptr;
    QLabel* lblCP = nullptr;
    QPushButton* cmd基準 = nullptr;
    QPushButton* cmd全体[2] = {};
    QPushButton* cmd拡大[2] = {};
    QPushButton* cmd縮小[2] = {};
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPreviewInfoSetUp = nullptr;
    QPushButton* cmdMentPreview = nullptr;
    QPushButton* cmdClose = nullptr;
    QRadioButton* opnHeni = nullptr;
    QRadioButton* opnOurk = nullptr;
    QCheckBox* lblchkCase = nullptr;
    QLineEdit* txtCase = nullptr;
    diagram::UpDownControl* upnCase = nullptr;
    QPushButton* cmdCase指定 = nullptr;
    QCheckBox* chkDrawJnt = nullptr;
    QCheckBox* chkDrawEle = nullptr;
    QCheckBox* chkDrawMat = nullptr;
    QCheckBox* chkDrawCoord = nullptr;
    QCheckBox* chkDrawEleOnly = nullptr;
    QCheckBox* chkSyncPreview = nullptr;
    QPushButton* cmdDRAW = nullptr;
    QPushButton* cmdConstZoom = nullptr;
    QToolButton* cmdMCenter = nullptr;
    // The entry boxes of the side panel.
    QLineEdit* txtX = nullptr;
    QLineEdit* txtY = nullptr;
    QLineEdit* txtzoom = nullptr;
    QLineEdit* txtCoordX = nullptr;
    QLineEdit* txtCoordY = nullptr;
    QLineEdit* txtCoordSize = nullptr;
    QLineEdit* txtrf = nullptr;
    QLineEdit* txtθf = nullptr;
    QLineEdit* txtφf = nullptr;
    QLineEdit* txtra = nullptr;
    QLineEdit* txtθa = nullptr;
    QLineEdit* txtφa = nullptr;

    // ---- the document ----
    // Builds the document of `mode` with the window disabled and the
    // hourglass shown; a failure drops the document and shows its messages.
    report::BuildOutcome MakePreviewDocument(const QString& mode);
    // The mode of the document shown ("" when there is none).
    QString DocumentMode() const { return documentMode_; }
    void ShowPageCounts(const QString& mode);
    // After a failed build: no document, page 1, the counts, the window
    // usable again, the combination cleared in the display contents; false
    // when "pif" could not be written and so still holds the combination.
    bool ResetPreviewCombination();
    void SaveViewState();
    void RestoreViewState();
    // The context of a build: the window's connection, display contents,
    // units, cases, view boxes and model bounds.
    report::ReportContext MakeReportContext();

    // ---- pages and zoom ----
    // Pages of the document before the one the user calls page 1: the
    // results report's cover is page 0.
    static int PageShift();
    void GoToPage(long long page);
    void ZoomPreview(const QString& kind);
    void cmdP指定_Click();
    void cmdMF_Click();
    void cmdMP_Click();
    void cmdMN_Click();
    void cmdML_Click();
    void cmd基準_Click();
    void cmd全体_Click(int index);
    void cmd拡大_Click(int index);
    void cmd縮小_Click(int index);
    void mnuControl_Click();

    // ---- commands ----
    void cmdPreviewInfoSetUp_Click();
    void cmdPrint_Click();
    void cmdClose_Click();
    void InitPrintRequest();

    // ---- the diagram layout mode ----
    bool InLayoutMode() const { return layoutMode_; }
    void cmdMentPreview_Click();
    void mnuMentPreview_Click();
    // Enters or leaves the layout mode: the side panel, the diagram choice in
    // place of the page controls, the menus, and the close button's caption
    // and tip all follow the mode.
    void SetLayoutMode(bool on);
    // The placement row of the diagram shown: the frame diagram, or the
    // diagram and case chosen (case 0 while the cases are combined).
    report::PlacementKey ShownDiagram() const;
    void DiagramChoiceClicked();
    void upnCase_UpClick();
    void upnCase_DownClick();
    void cmdCase指定_Click();
    void ApplyDiagramPlacement();
    void cmdDRAW_Click() { ApplyDiagramPlacement(); }
    void cmdConstZoom_Click();
    void cmdMCenter_Click();

    // ---- the entry boxes of the side panel ----
    // One arrow step of a placement box (txtX, txtY, txtzoom) or of a view
    // or axis box; a step that leaves the range changes nothing.
    void StepTextValue(QLineEdit* box, int16_t step, int16_t min, int16_t max);
    void StepViewValue(QLineEdit* box, float step, int16_t max, int16_t min);
    // The arrows of the spin control beside a box.
    void SpinClicked(QLineEdit* box, bool up);

    bool CheckModelPresent();
    void SaveWindowPlacement();
    void RestoreWindowPlacement();
    void InitPrintPreviewControl();
    void SetControlsForScreen();
    void UpdateDrawButton();

    // The view, placement and label boxes by control name.
    diagram::ViewBoxes ViewBoxesOfWindow() const;
    void ApplyViewBoxes(const diagram::ViewBoxes& boxes);

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void Form_Unload(bool& cancel) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void ConnectHandlers();
    void LoadSteps();
    void OnPreviewPageChanged(int page);
    // The document the screen code shows: the frame diagram or the results
    // report; empty for a code of no preview.
    QString ScreenMode() const;
    // `page` of the document in lblCP as the user numbers it.
    void ShowCurrentPage(int page);
    // Sets the zoom away and back to its whole percent, which draws the page again.
    void RefreshZoom();
    void SetBoxText(const QString& control, const QString& text);
    void BindLayoutControls();
    void ConnectLayoutHandlers();
    // The keys, clicks and focus changes of the side panel's boxes; true
    // when the event is taken.
    bool HandleEntryBoxEvent(QLineEdit* box, QEvent* event);
    // Runs a command on the placement rows; a database error is answered
    // with the database-access message and the window stays usable.
    bool RunPlacementCommand(const std::function<void(report::PlacementTable&)>& body);
    // The frame diagram's row and the rows of both kinds for cases 0 to
    // LoadCaseCount, in this order.
    std::vector<report::PlacementKey> EveryPlacementKey() const;
    // The three steps of the print command. The print dialog, and for a PDF
    // file its file dialog: false when the user did not confirm; `pdfPath`
    // stays empty for a printer.
    bool ChoosePrintDestination(QString& pdfPath);
    // Keeps the document shown in "DocFile" (`saved` once it is there) and
    // rebuilds it numbered from the start page; false when the renumbered
    // document cannot be printed.
    bool RenumberForPrint(bool& saved);
    // The document shown and the printer come back, the window is usable
    // again, and a failed print (`ok` false) is told to the user.
    void RecoverAfterPrint(bool saved, bool ok, const QString& printerDevice);
    bool PrintDocument(const QString& pdfPath);

    bool prpLoaded_ = false;
    bool loadStopped_ = false;
    bool loadFailed_ = false;
    bool formLoading_ = false;
    bool building_ = false;
    bool checkingBox_ = false;
    bool layoutMode_ = false;
    // The design tops of Frame(0) and Frame(1), which trade places in the
    // layout mode.
    int frameTop_[2] = {};
    QString documentMode_;

    int16_t savedPreviewPage_ = 1;
    int16_t savedZoomPercent_ = 95;
    double savedScrollLeft_ = 0;
    double savedScrollTop_ = 0;

    diagram::ViewParameters loadedView_;
    diagram::ModelBounds bounds_;
};
