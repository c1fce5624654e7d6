// The program-wide state: one structure that the windows and procedures of
// the program read and write, all on the one user-interface thread. Its owner
// (the start-up, or a test) creates it with a ProgramStateScope; Program()
// reaches the one in force.
#pragma once

#include "database/WorkingFiles.h"
#include "platform/Database.h"

#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace forms { class Form; }

// Screen and command codes.
enum ScreenCodes : int16_t {
    ScreenMainMenu = 10102,
    ScreenBasicData = 10201,
    ScreenNodeCoordinates = 10202,
    ScreenSectionProperties = 10203,
    ScreenSectionShapes = 10204,
    ScreenMembers = 10205,
    ScreenRestraintTypes = 10206,
    ScreenRestraintPlacement = 10207,
    ScreenMemberEndTypes = 10208,
    ScreenMemberEndPlacement = 10209,
    ScreenLoadShapes = 10210,
    ScreenLoadPlacement = 10211,
    ScreenLoadShapeLookup = 10212,
    ScreenRestraintTypeLookup = 10213,
    ScreenNodeLookup = 10214,
    ScreenMemberLookup = 10215,
    ScreenMemberEndTypeLookup = 10216,
    ScreenLoadTypeFigure = 10217,
    ScreenSectionTypeFigure = 10218,
    ScreenFrameDiagram = 10219,
    ScreenDesignCommonItems = 10232,
    ScreenDesignLoadCombinations = 10233,
    ScreenAnalysis = 10301,
    ScreenFramePreview = 10401,
    ScreenResultsPreview = 10402,
    ScreenPreviewSettings = 10403,
    ScreenPrintSettings = 10404,
};

// The title of every message box: empty.
inline const QString AppTitle;

struct ReportHeaderRecord {
    QString ProjectName;   // always 50 characters
    QString Designer;
    QString Remarks;
};

// The display contents of the results report, kept in the file "pif".
// Booleans are 16-bit: -1 True, 0 False.
struct PreviewInfoRecord {
    int16_t Confirmed = 0;          // the display-contents dialog was last closed with OK
    int16_t ByLoadCase = -1;        // chapters 1.6 and 2 per load case
    int16_t PerNodeMember = 0;      // chapters 1.6 and 2 per node and member
    int16_t CombineCases = 0;       // chapter 3 and the combined diagrams
    std::array<int16_t, 10> CaseSelected{};   // case i + 1 takes part in the combination
    std::array<float, 10> CaseFactor{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int16_t ShowDisplacement = 0;   // 0 off, 1 on
    float DisplacementScale = 1;
    int16_t ShowStress = 0;
    float StressScale = 1;

    bool operator==(const PreviewInfoRecord&) const = default;
};

// The print dialog's answers. Page numbers are those the user sees (the
// cover of the results report is page 0).
struct PrintRequestRecord {
    int16_t Confirmed = 0;
    QString PrinterName;
    int16_t TotalPages = 0;
    int16_t CurrentPage = 0;
    int16_t ToPage = 0;
    int16_t FromPage = 0;
    int16_t StartPageRequested = 0;
    int16_t StartPage = 0;          // number carried by FromPage in a renumbered print
    int16_t Copies = 1;
};

struct ProgramState {
    // ---- shell, database and input ----
    QString ProgramVersion;                 // "1.41"
    int16_t MsgResult = 0;                  // answer of the last message box
    dao::DatabasePtr SharedDatabase;        // the main menu's connection
    dao::RecordsetPtr SharedRecordset;
    dao::RecordsetPtr WorkRecordset;        // scratch recordset of the input checks
    int16_t ScreenCode = 0;                 // the last input or preview command
    bool MenuUpdating = false;
    bool MainMenuSwitching = false;
    QPointer<forms::Form> CurrentInputForm;
    QString InputTableName;
    int16_t GridRowCount = 0;
    bool UnitIsSI = false;
    bool WarnOnCancel = false;
    ReportHeaderRecord ReportHeader;
    // Set while the open screen's backup copy, taken when it opened, is in
    // place: only that copy may ever replace the working file. A copy left by
    // an earlier session, or a window opened without one, touches no file.
    bool InputBackupTaken = false;
    // True while the end of an input screen unloads the windows.
    bool InputEnding = false;
    // The stored analysis flag before the open screen marked the results
    // stale: a cancel that puts the screen's backup back puts it back too
    // (absent when it was absent).
    bool ResultsFlagWasStored = false;
    QString ResultsFlagBefore;

    // ---- progress window handshake ----
    bool StartAck = false;
    bool FinishAck = false;

    // ---- report preview: the preview window, its dialogs and the report build ----
    PreviewInfoRecord PreviewInfo;
    PrintRequestRecord PrintRequest;
    int16_t LoadCaseCount = 0;              // of the project, read when the preview opens
    bool PageNumberingOn = false;           // footers carry page numbers
    // Number of the next page's footer; -1 on entry to a build asks for the
    // numbering of a print with a start page. 32 bits, so that numbers past
    // 32767 print.
    int32_t PageCounter = 0;
    int16_t NodeUpperIndex = 0;             // last row index of the report's node list
    int16_t MemberUpperIndex = 0;           // and of its member list
    int32_t ZoomBaseUnit = 0;               // twips per metre at which the plan fits the preview

    // ---- node and member maps, refilled by each user ----
    std::vector<int16_t> NodeNo;            // node number of each row (display order)
    std::vector<int16_t> MemberNo;          // member number of each row
    std::array<int16_t, 301> NodeRow{};     // node number -> row
    std::array<int16_t, 501> MemberRow{};   // member number -> row

    // ---- view geometry: set by each frame drawing, read by the report ----
    // The perspective view matrix, element (row, column); rows belong to a
    // point's x, z, y and 1.
    std::array<std::array<float, 4>, 4> ViewMatrix{};
    // The box around the nodes (index 0 X, 1 Y, 2 Z) and its space diagonal.
    std::array<float, 3> ModelMinCorner{};
    std::array<float, 3> ModelMaxCorner{};
    float ModelDiagonal = 0;
};

// The state in force. Using it before an owner created one is a programming
// error and ends the program.
ProgramState& Program();

// Installs a fresh state for its lifetime and puts back the previous one after.
class ProgramStateScope {
public:
    ProgramStateScope();
    ~ProgramStateScope();
    ProgramStateScope(const ProgramStateScope&) = delete;
    ProgramStateScope& operator=(const ProgramStateScope&) = delete;
    ProgramState& State() { return state_; }

private:
    ProgramState state_;
    ProgramState* previous_;
};

// Releases the shared objects: the shared connection and recordset, the
// scratch recordset, the node and member maps and the current input window.
// Returns normally in every case; may be called with nothing open.
void CloseSharedData();
