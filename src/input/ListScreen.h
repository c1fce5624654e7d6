// The list input screen: a grid of the table in display order, entry boxes
// for one row, add, update, delete, delete-all, the four reorder buttons,
// register, cancel and the frame-diagram button. Each list screen is this
// window with its configuration: table, grid columns, entry boxes, check,
// add and update procedures, messages and extra buttons.
#pragma once

#include "input/InputScreen.h"
#include "platform/DataGrid.h"

#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class ListScreen;

struct EntryBoxSpec {
    QString name;          // objectName, "txtP(1)" for an element of a control array
    QString label;         // caption of the label above it
    bool noMinus = false;  // FilterNumericKey flags
    bool noDot = false;
    QString format;        // LostFocus format; empty: no reformatting
    QString newValue;      // text of a new row (empty: the next free number for txtNo)
    QString field;         // the field it shows (empty: the field at its own position)
    // Condition components and placement rows.
    void (*lostFocus)(QLineEdit*) = nullptr;   // LostFocus in place of the format
    QString nullText;      // shown for an empty (Null) field
    bool hidden = false;   // locked and never shown, outside the ring (placement row numbers)
    bool keepOnNew = false;   // a new row keeps the text; newValue fills it on an empty table at load
    QString group;         // caption over a run of boxes with the same group
    QString noteBelow;     // a line of explanation under the box
    double widthTw = 0;    // 0: the screen's box width
    QString labelName;     // objectName of its label (empty: an anonymous label)
};

// A fixed label under the entry boxes.
struct NoteLabel {
    QString name;
    QString caption;
};

// A button that opens a neighbouring window (lookup window or figure).
struct NeighbourButton {
    QString name;
    QString caption;
    QString formName;      // the window it opens
    int16_t windowCode;    // its screen code (for the not-available message)
    bool selectNumberFirst = false;   // the number box takes the focus before it opens
};

struct ListScreenConfig {
    QString formName;
    int16_t code = 0;
    std::vector<dao::GridColumn> columns;
    QString numberLabelName;      // "lblJntNo"
    QString numberLabelCaption;   // set at load
    std::vector<EntryBoxSpec> boxes;   // focus-ring order, txtNo first
    std::function<bool()> check;
    void (*add)(dao::RecordsetPtr&) = nullptr;
    void (*update)(dao::RecordsetPtr&) = nullptr;
    QString duplicateOnInsert;    // "%1" is the text of txtNo
    QString duplicateOnUpdate;
    QString deleteAllTitle;
    QString note;                 // a line of explanation under the boxes
    std::vector<NeighbourButton> neighbours;
    double gridWidthTw = 5400;
    double boxWidthTw = 1200;
    std::vector<NoteLabel> notes;  // further lines under the boxes, in order
    // Placement screens: the screen assigns the row number; a new row whose
    // number is in use takes the largest + 1 without a message, an update
    // never tests it. Row numbers above the limit are refused.
    bool assignsNumbers = false;
    int rowNumberLimit = 32767;
    // Run first by insert and update; false (after its own message) writes nothing.
    std::function<bool(ListScreen&)> typeTest;
    QString registerCaption;      // empty: "登録(&R)"
    QString cancelCaption;        // empty: "ｷｬﾝｾﾙ(&Q)"
    // 追加, 修正 and a confirmed 一行削除 end with the number box selected.
    bool focusNumberAfterEdit = false;
    double extraHeightTw = 0;     // room under the entry boxes for a screen's own controls
};

class ListScreen : public InputScreen {
public:
    explicit ListScreen(ListScreenConfig config, QWidget* parent = nullptr);

    const ListScreenConfig& Config() const { return config_; }

    // Controls.
    dao::DataControl* Data1 = nullptr;
    dao::DataGrid* DBGrid = nullptr;
    QPushButton* cmd追加 = nullptr;
    QPushButton* cmd修正 = nullptr;
    QPushButton* cmd削除 = nullptr;
    QPushButton* cmdAllDelete = nullptr;
    QPushButton* cmdMF = nullptr;
    QPushButton* cmdMU = nullptr;
    QPushButton* cmdMD = nullptr;
    QPushButton* cmdML = nullptr;
    QPushButton* Cmd登録 = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdReferRAMEN = nullptr;
    QLabel* NumberLabel = nullptr;
    std::vector<QLineEdit*> Boxes;   // in ring order
    QLineEdit* Box(const QString& name) const;
    // The first box shown (txtNo on keyed screens, the type box on placement screens).
    QLineEdit* FirstShownBox() const;

    // Screen state.
    bool Busy = false;
    bool Modified = false;

    // Handlers (public so that tests and the probe can drive them as clicks do).
    void cmd追加_Click();
    void cmd修正_Click();
    virtual void cmd削除_Click();
    virtual void cmdAllDelete_Click();
    void Cmd登録_Click();
    void cmdCancel_Click() { CancelInput(); }
    void cmdReferRAMEN_Click();
    virtual void DBGrid_RowColChange();
    void MoveRecord(const QString& direction);
    void MoveByArrowKey(int16_t keyCode);

    // Row procedures.
    virtual void PrepareNew();
    virtual void ShowRecord();
    // False when nothing was written.
    virtual bool InsertRow();
    virtual bool UpdateRow();

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Places the controls (twips); the default puts the grid at the top left,
    // the boxes in a row under it and the buttons on the right.
    virtual void LayoutControls();
    // Extra steps at the end of Form_Load.
    virtual void AfterLoad() {}
    // Shows ScreenRecordset in the grid again after a change; `emptied` when a
    // delete took its last row (a screen with a filter applies it here).
    virtual void BindScreenRecordset(bool emptied);
    // The grid has no row left to show after a delete.
    virtual void RowsEmptied() {}
    // A row was changed and is current again.
    virtual void RowUpdated() {}
    // The box that Right/Enter (forward) or Left leads to from box i; the
    // default runs the ring of the entry boxes.
    virtual QLineEdit* NextInRing(size_t i, bool forward) const;
    // LostFocus of box i; the default runs the box's own LostFocus, or else
    // rewrites a numeric text in the box's format.
    virtual void BoxLostFocus(size_t i, QLineEdit* box);
    // The number a new row is given when the largest in the table is `max`.
    virtual double ProposedNumber(int16_t max) const { return static_cast<double>(max) + 1; }
    // Top of the room reserved under the entry boxes (extraHeightTw), in twips.
    double ExtraTopTw() const { return extraTopTw_; }

    // Runs a handler under the window lock: the window is disabled and Busy
    // set while it runs, and both are released on every exit. A database
    // failure is reported and the screen stays usable.
    void RunLocked(const std::function<void()>& body);
    void RecoverAfterFailure();

    bool AtStart() const;
    bool AtEnd() const;
    bool HasCurrentRow() const { return !AtStart() && !AtEnd(); }
    int16_t BoxNumber() const;   // txtNo rounded half to even
    void OpenNeighbour(const NeighbourButton& b);

    ListScreenConfig config_;
    bool locked_ = false;
    double extraTopTw_ = 0;
    std::vector<QPushButton*> neighbourButtons_;
};

// Makes the given grid columns as wide as their contents and captions, the
// others sharing the rest, after every rebinding of the data control.
void FitGridColumnsToCaptions(dao::DataGrid* grid, dao::DataControl* data, std::vector<int> columns);
