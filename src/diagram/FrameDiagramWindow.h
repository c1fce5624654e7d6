// The frame diagram window: the model drawn in perspective on the page of a
// print-preview control, beside a panel of three tabs: the view controls
// ("表示調整") and the searches for nodes ("節点情報") and members ("部材情報"),
// which mark what they find in red on the drawing.
//
// One instance, opened modeless beside the list input screens; it reads the
// working database on a connection of its own and never writes it. Its view
// is kept as record 1 of the view file, its placement and canvas zoom in the
// settings section "Input\Ramen".
#pragma once

#include "diagram/ViewGeometry.h"
#include "diagram/ViewParameterFile.h"
#include "platform/Database.h"
#include "platform/Forms.h"

#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
namespace preview { class PreviewWidget; }
namespace diagram { class UpDownControl; }

class frmラーメン図 : public forms::Form {
public:
    frmラーメン図();
    ~frmラーメン図() override;

    // ---- controls ---------------------------------------------------------
    QTabWidget* SSTab1 = nullptr;
    preview::PreviewWidget* vsp = nullptr;   // the canvas

    // View tab: the twelve boxes and their spin controls are reached by name
    // (ViewBox, Spin); the switches and the button directly.
    QCheckBox* chkDrawJnt = nullptr;
    QCheckBox* chkDrawEle = nullptr;
    QCheckBox* chkDrawCoord = nullptr;
    QCheckBox* chkSyncPreview = nullptr;
    QPushButton* cmdDRAW = nullptr;
    QLineEdit* ViewBox(const QString& name) const;
    diagram::UpDownControl* Spin(const QString& name) const;

    // Node tab.
    QLineEdit* txt節点番号 = nullptr;
    QPushButton* cmd節点 = nullptr;
    QComboBox* cbo節点番号 = nullptr;
    QListWidget* lst節点番号 = nullptr;
    QLineEdit* txtxt1 = nullptr;
    QLineEdit* txtyt1 = nullptr;
    QLineEdit* txtzt1 = nullptr;
    QLineEdit* txtθxt1 = nullptr;
    QLineEdit* txtθyt1 = nullptr;
    QLineEdit* txtθzt1 = nullptr;
    QPushButton* cmd拘束 = nullptr;

    // Member tab.
    QLineEdit* txt要素番号 = nullptr;
    QPushButton* cmd要素 = nullptr;
    QComboBox* cbo要素番号 = nullptr;
    QListWidget* lst要素番号 = nullptr;
    QLineEdit* txt材料番号 = nullptr;
    QPushButton* cmd材料番号 = nullptr;
    QLabel* lbliNo = nullptr;
    QLabel* lbljNo = nullptr;
    QLineEdit* txtixMWR = nullptr;
    QLineEdit* txtiyMWR = nullptr;
    QLineEdit* txtizMWR = nullptr;
    QLineEdit* txtjxMWR = nullptr;
    QLineEdit* txtjyMWR = nullptr;
    QLineEdit* txtjzMWR = nullptr;
    QPushButton* cmd端部状態 = nullptr;
    QLabel* lbl検索条件 = nullptr;

    // ---- the drawing --------------------------------------------------------
    // Builds the drawing anew from the database and the view boxes; also what
    // "再描画" does. A failing step asks whether to stop; stopping closes the
    // window.
    void cmdDRAW_Click();
    // The axis indicator at the position of txtCoordX and txtCoordY, with the
    // drawing's zoom; fails when the size box is not a number or a tip
    // cannot be projected.
    diagram::Status Draw_Coordinates(float zoom);

    // ---- the search panel ---------------------------------------------------
    void cmd節点_Click();
    void cmd拘束_Click();
    void cmd要素_Click();
    void cmd材料番号_Click();
    void cmd端部状態_Click();

    // ---- state --------------------------------------------------------------
    // True while the window loads and while a search changes the panel's
    // lists: the switch, list and combo box handlers then do nothing.
    bool DiagramLoading = false;
    // Fit scale of the nodes' plan extent into the canvas, taken when the
    // window loads; the zoom box is a multiple of it (0: none).
    int32_t DiagramBaseScale = 0;

    // The page position of a node row, when the last drawing could place it.
    struct ScreenPoint {
        float x = 0, y = 0;
        bool placed = false;
    };
    // A member row of the last drawing; all 0 for a row left empty.
    struct MemberRowData {
        int16_t no = 0, iNode = 0, jNode = 0, shape = 0;
    };
    const std::vector<ScreenPoint>& ScreenPoints() const { return screenPoints_; }
    const std::vector<MemberRowData>& MemberRows() const { return members_; }
    // The drawings built since the window was created, and why steps of the
    // last one failed.
    int DrawingCount() const { return drawingCount_; }
    const QStringList& DrawingFailures() const { return drawFailures_; }
    // The full result of the last node and member list search or show.
    const QStringList& NodeResults() const { return nodeResults_; }
    const QStringList& MemberResults() const { return memberResults_; }

    // Keys and focus moves of an entry box (defined with the window's table).
    struct BoxRule;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class DrawingRun;

    void BuildViewTab(QWidget* tab);
    struct SearchHeadNames {
        const char* label;
        const char* caption;
        const char* box;
        const char* button;
        const char* combo;
        const char* list;
    };
    void BuildSearchHead(QWidget* tab, const SearchHeadNames& names, void (frmラーメン図::*onShow)(),
                         double listHeight, QLineEdit*& box, QPushButton*& show, QComboBox*& ranges,
                         QListWidget*& list);
    void BuildNodeTab(QWidget* tab);
    void BuildMemberTab(QWidget* tab);
    void ApplyToolTips();

    // Life cycle.
    void RestoreWindowPlacement();
    void SaveWindowPlacement();
    void SetupCanvas();
    void InitNumberRanges();
    void ReleaseData();
    void ResetSearchPanel();
    void LoadViewBoxes();
    diagram::ViewBoxes CurrentViewBoxes() const;
    void EnsureDatabase();

    // The drawing.
    bool DrawModel(DrawingRun& run);
    bool ReadNodes(DrawingRun& run, std::vector<diagram::NodeCoordinate>& nodes);
    bool ReadMembers(DrawingRun& run, const std::vector<diagram::NodeCoordinate>& nodes);
    void PlaceNodes(DrawingRun& run, const std::vector<diagram::HomogeneousRow>& points,
                    const std::vector<bool>& valid, float offsetX, float offsetY, float& zoom);
    void DrawLabels(DrawingRun& run);
    void TakeClosingPath();
    int NodeRowOf(int number) const;
    int MemberRowOf(int number) const;
    bool DrawMember(int number);
    bool MarkNode(int number);
    void MeasureLabel(const QString& text, double& width, double& height);

    // View tab.
    void ViewBoxLostFocus(const BoxRule& rule, QLineEdit* box);
    void StepValue(QLineEdit* box, float step, double max, double min);
    void UpdateDrawButton();
    void RedrawIfSynchronised();
    void SwitchClicked();

    // Search panel.
    void ShowNode(bool fromButton);
    void ShowMember(bool fromButton);
    void ShowMemberEnds(int number);
    bool OpenPlacementListing(const QString& types, const QString& placements, int number);
    struct ConditionBox {
        QLineEdit* box;
        const char* field;
    };
    void ShowConditionType(const QString& typeField, std::initializer_list<ConditionBox> boxes);
    void ChooseListedMember();
    void FillNumberList(int range, QListWidget* list);
    void ListClicked(QListWidget* list);
    void SetNodeRestraintFree();
    void ClearNodeRestraint();
    void SetMemberEndsRigid();
    void ClearIEnd();
    void ClearJEnd();
    void ShowMemberInfo(std::optional<int16_t> member);

    // Boxes reached by name, with their key and focus rules.
    std::vector<QLineEdit*> boxes_;
    std::vector<const BoxRule*> rules_;
    std::vector<diagram::UpDownControl*> spins_;
    QLineEdit* Box(const char* name) const;

    // The database and recordsets of the window.
    dao::DatabasePtr DiagramDatabase;
    dao::RecordsetPtr NodeRecordset;
    dao::RecordsetPtr MemberRecordset;
    dao::RecordsetPtr ConditionTypeRecordset;
    dao::RecordsetPtr ConditionPlacementRecordset;

    // The last drawing.
    int NodeLastRow = 0;
    int MemberLastRow = 0;
    std::vector<MemberRowData> members_;
    std::vector<ScreenPoint> screenPoints_;
    diagram::ViewParameters loadedView_;
    bool drawing_ = false;
    int drawingCount_ = 0;
    QStringList drawFailures_;

    QStringList nodeResults_;
    QStringList memberResults_;
};
