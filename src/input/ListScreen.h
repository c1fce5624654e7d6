// The list input screen: a grid of the table in display order, entry boxes
// for one row, add, update, delete, delete-all, the four reorder buttons,
// register, cancel and the frame-diagram button. Each list screen is this
// window with its description: table, grid columns, entry boxes with their
// fields, check, messages and extra buttons.
#pragma once

#include "input/InputRecords.h"
#include "input/InputScreen.h"
#include "input/InputStart.h"
#include "input/InputValidation.h"
#include "platform/DataGrid.h"
#include "core/ProgramState.h"

#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

struct EntryBoxDescription {
    QString name{};          // objectName, "txtP(1)" for an element of a control array
    QString label{};         // caption of the label above it
    bool noMinus = false;    // FilterNumericKey flags
    bool noDot = false;
    QString format{};        // shown and LostFocus format; empty: no reformatting
    QString newValue{};      // text of a new row (empty: the next free number for txtNo)
    // The field it shows and is written to, and how its text is written.
    QString field{};
    FieldConversion conversion = FieldConversion::Number;
    QString (*lostFocus)(const QString&) = nullptr;   // LostFocus in place of the format
    QString nullText{};      // shown for an empty (Null) field
    bool hidden = false;     // locked and never shown, outside the ring (placement row numbers)
    bool keepOnNew = false;  // a new row keeps the text; newValue fills it on an empty table at load
    QString group{};         // caption over a run of boxes with the same group
    QString noteBelow{};     // a line of explanation under the box
    double widthTw = 0;      // 0: the screen's box width
    QString labelName{};     // objectName of its label (empty: an anonymous label)
};

// A fixed label under the entry boxes.
struct NoteLabel {
    QString name{};
    QString caption{};
};

// A button that opens a neighbouring window (lookup window or figure).
struct NeighbourButton {
    QString name{};
    QString caption{};
    ScreenCodes opens{};     // the window it opens, by its screen code
    QString toolTip{};
    bool selectNumberFirst = false;   // the number box takes the focus before it opens
};

// A type number on a placement row that must name a row of another table;
// the refusal reads head, the typed text, a line break and tail.
struct TypeReference {
    QString box{};
    QString table{};
    QString messageHead{};
    QString messageTail{};
};

// Everything that makes one list screen: the framework builds the window,
// shows and writes its rows and runs its checks from this.
struct ListScreenDescription {
    InputScreenDescription screen{};
    // The grid: every field of the table, 順 hidden (shared with the table's
    // lookup window).
    std::vector<dao::GridColumn> columns{};
    QString numberLabelName{};      // "lblJntNo"
    QString numberLabelCaption{};   // set at load
    std::vector<EntryBoxDescription> boxes{};   // focus-ring order, txtNo first
    // Controls outside the ring that are written with the row.
    std::vector<FieldBinding> otherFields{};
    InputCheck check = nullptr;
    // Tested by insert and update before anything else; a refusal writes nothing.
    std::vector<TypeReference> typeReferences{};
    // Placement screens: the screen assigns the row number; a new row whose
    // number is in use takes the largest + 1 without a message, an update
    // never tests it. Row numbers above the limit are refused.
    bool assignsNumbers = false;
    int rowNumberLimit = 32767;
    QString duplicateOnInsert{};    // "%1" is the text of txtNo
    QString duplicateOnUpdate{};
    QString deleteAllTitle{};
    QString note{};                 // a line of explanation under the boxes ("Label1")
    std::vector<NoteLabel> notes{};  // further lines under the boxes, in order
    std::vector<NeighbourButton> neighbours{};
    QString registerCaption{};      // empty: "登録(&R)"
    QString cancelCaption{};        // empty: "ｷｬﾝｾﾙ(&Q)"
    // 追加, 修正 and a confirmed 一行削除 end with the number box selected.
    bool focusNumberAfterEdit = false;
    double gridWidthTw = 5400;
    double boxWidthTw = 1200;
    double extraHeightTw = 0;       // room under the entry boxes for a screen's own controls
};

// The map of controls to fields by which a row is shown and written.
std::vector<FieldBinding> FieldBindings(const ListScreenDescription& description);

// The boxes `pattern.name`(first) .. of `count` slots showing fld_01
// onwards, each a copy of `pattern` labelled `labelFormat` with the slot
// number (no label when it is empty).
std::vector<EntryBoxDescription> SlotBoxes(const EntryBoxDescription& pattern, int first, int count, const QString& labelFormat = QString());
// Grid columns fld_01 .. of `count` slots captioned "1", "2", ... (or
// `prefix` and the number) in `format`.
std::vector<dao::GridColumn> SlotColumns(int count, const QString& prefix = QString(), const QString& format = QString());
// The ten targets of a placement row: boxes `name`(first) .. captioned 1 to
// 10 under `group`, showing fld_01 to fld_10, their grid columns and the
// hidden 順 column after them.
void AddPlacementTargets(ListScreenDescription& description, const QString& name, int first, const QString& group);
// The columns with the caption of one field replaced.
std::vector<dao::GridColumn> Recaptioned(std::vector<dao::GridColumn> columns, const QString& field, const QString& caption);

class ListScreen : public InputScreen {
public:
    explicit ListScreen(ListScreenDescription description, QWidget* parent = nullptr);

    const ListScreenDescription& Description() const { return description_; }

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

    std::vector<std::pair<QString, QString>> OwnToolTips() const override;

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
    // failure is reported and the screen stays usable, on the row it was on
    // and with the entries as the user left them.
    void RunLocked(const std::function<void()>& body);

    // The entries and the row before a handler ran.
    struct EntryState {
        BoxTexts texts;
        bool onRow = false;
        int16_t key = 0;
        bool modified = false;
    };
    EntryState CurrentEntryState();
    void RecoverAfterFailure(const EntryState& before);

    bool AtStart() const;
    bool AtEnd() const;
    bool HasCurrentRow() const { return !AtStart() && !AtEnd(); }
    int16_t BoxNumber() const;   // txtNo rounded half to even
    void OpenNeighbour(const NeighbourButton& b);
    // The description's check on the boxes as they stand, with its verdict
    // shown; true when the entry passed.
    virtual bool RunCheck();
    // The values of the row the boxes hold.
    FieldValues RowValues();
    // False (after its message) when a type number names no row.
    bool TypesExist();

    ListScreenDescription description_;
    bool locked_ = false;
    double extraTopTw_ = 0;
    std::vector<QPushButton*> neighbourButtons_;
};

// Shows the grid's columns in the order of `columns`, whatever order the
// table stores its fields in, after every rebinding of the data control.
void ShowColumnsInOrder(dao::DataGrid* grid, dao::DataControl* data, const std::vector<dao::GridColumn>& columns);

// Makes the given grid columns as wide as their contents and captions, the
// others sharing the rest, after every rebinding of the data control.
void FitGridColumnsToCaptions(dao::DataGrid* grid, dao::DataControl* data, std::vector<int> columns);
