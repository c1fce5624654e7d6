// The program-wide state: one block of variables that every part of the
// program reads and writes, all on the one user-interface thread.
#pragma once

#include "platform/Database.h"

#include <QString>
#include <QPointer>
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

// The working files, relative names in the working folder.
inline const QString kWorkingDatabase = QStringLiteral("Zelkova.mdb");
inline const QString kBackupDatabase = QStringLiteral("ZelkovaMT.mdb");
inline const QString kCompactDatabase = QStringLiteral("Zelkova2.mdb");

struct ReportHeaderRecord {
    QString ProjectName;   // always 50 characters
    QString Designer;
    QString Remarks;
};

// ---- shell, database and input state --------------------------------------
extern QString ProgramVersion;            // "1.41"
extern int16_t MsgResult;                 // answer of the last message box
extern const QString AppTitle;            // title of every message box: empty
extern std::array<QString, 51> TableNames; // indexes 1..29
extern int16_t TableCount;                // 29
extern dao::DatabasePtr SharedDatabase;
extern dao::RecordsetPtr SharedRecordset;
extern dao::RecordsetPtr SharedRecordset2;
extern dao::RecordsetPtr WorkRecordset;
extern int16_t ScreenCode;
extern bool MenuUpdating;
extern bool MainMenuSwitching;
extern QPointer<forms::Form> CurrentInputForm;
extern QString InputTableName;
extern int16_t GridRowCount;
extern bool UnitIsSI;
extern bool WarnOnCancel;
extern ReportHeaderRecord ReportHeader;

// ---- analysis and report state shared with the viewer and the report ------
extern bool StartAck;
extern bool FinishAck;
extern std::vector<int16_t> NodeNo;       // node number of each row (display order)
extern std::vector<int16_t> MemberNo;     // member number of each row
extern std::array<int16_t, 301> NodeRow;  // node number -> row
extern std::array<int16_t, 501> MemberRow;// member number -> row
extern int16_t CurrentTableCode;
extern int16_t LoadCaseCount;
extern int16_t NodeUpperIndex;
extern int16_t MemberUpperIndex;

// Releases the shared objects: the main menu's connection and recordsets,
// the scratch recordset, the report geometry arrays and the node and member
// maps. Returns normally in every case; may be called with nothing open.
void CloseSharedData();

// Hooks by which later parts of the program release arrays of their own
// when CloseSharedData runs (the report geometry registers here).
void AddSharedDataReleaser(void (*release)());
