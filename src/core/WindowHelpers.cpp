#include "core/WindowHelpers.h"

#include "platform/Forms.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <utility>

namespace {

// Every title begins with an ideographic space; the analysis command and the
// preview of the results share one.
const std::pair<ScreenCodes, const char*> kTitles[] = {
    {ScreenMainMenu, "　メインメニュー"},
    {ScreenBasicData, "　1．基本データ"},
    {ScreenNodeCoordinates, "　2．節点座標"},
    {ScreenSectionProperties, "　3．部材形状1"},
    {ScreenSectionShapes, "　4．部材形状2"},
    {ScreenMembers, "　5．部材形状配置"},
    {ScreenRestraintTypes, "　6．節点拘束条件"},
    {ScreenRestraintPlacement, "　7．節点拘束条件配置"},
    {ScreenMemberEndTypes, "　8．部材端部拘束条件"},
    {ScreenMemberEndPlacement, "　 9．部材端部拘束条件配置"},
    {ScreenLoadShapes, "　10．荷重形状"},
    {ScreenLoadPlacement, "　11．荷重形状配置"},
    {ScreenLoadShapeLookup, "　荷重形状データ"},
    {ScreenRestraintTypeLookup, "　節点拘束条件データ"},
    {ScreenNodeLookup, "　節点座標データ"},
    {ScreenMemberLookup, "　部材配置データ"},
    {ScreenMemberEndTypeLookup, "　部材端拘束条件データ"},
    {ScreenLoadTypeFigure, "　荷重形状図"},
    {ScreenSectionTypeFigure, "　部材形状図"},
    {ScreenFrameDiagram, "　フレーム図"},
    {ScreenAnalysis, "　印刷プレビュー　解析結果"},
    {ScreenFramePreview, "　印刷プレビュー　フレーム図"},
    {ScreenResultsPreview, "　印刷プレビュー　解析結果"},
    {ScreenPreviewSettings, "　表示内容指定"},
    {ScreenPrintSettings, "　印刷設定"},
};

}  // namespace

QString WindowTitle(int16_t code)
{
    for (const auto& [c, title] : kTitles)
        if (c == code) return QString::fromUtf8(title);
    return QString();
}

void SetWindowCaption(int16_t code, QWidget* window)
{
    QString title = WindowTitle(code);
    if (title.isNull()) return;
    window->setWindowTitle(QStringLiteral("ZELKOVA  ver ") + Program().ProgramVersion + title);
}

void SetWindowTopMost(QWidget* window, int insertAfter) { forms::SetTopMost(window, insertAfter); }

void SelectEntryBox(QLineEdit* box)
{
    if (!box) return;
    box->setFocus();
    box->setSelection(0, int(box->text().size()));
}

int16_t KeyCodeOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Return;
    default: return 0;
    }
}

void MoveFocusByKey(int16_t keyCode, QLineEdit* up, QLineEdit* down, QLineEdit* left, QLineEdit* right,
                    QLineEdit* enter)
{
    (void)enter;  // Enter moves like Down.
    switch (keyCode) {
    case Key::Up: SelectEntryBox(up); break;
    case Key::Down:
    case Key::Return: SelectEntryBox(down); break;
    case Key::Right: SelectEntryBox(right); break;
    case Key::Left: SelectEntryBox(left); break;
    default: break;
    }
}

int16_t KeyAsciiOf(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace) return 8;
    if (event->text().isEmpty()) return 0;
    const QChar c = event->text().at(0);
    return c.unicode() < 128 ? static_cast<int16_t>(c.unicode()) : int16_t(-1);
}

int16_t FilterNumericKey(int16_t keyAscii, bool noMinus, bool noDot)
{
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8 || keyAscii == 32) return keyAscii;
    if (keyAscii == '-' && !noMinus) return keyAscii;
    if (keyAscii == '.' && !noDot) return keyAscii;
    if (keyAscii == 13) return 0;
    ui::Beep();
    return 0;
}

void ClearToolTipsIfOff(QWidget* window)
{
    if (!window) return;
    if (reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkToolTiptext"), true)) return;
    window->setToolTip(QString());
    for (QWidget* w : window->findChildren<QWidget*>()) w->setToolTip(QString());
}

void ReadLoadCaseCount(int16_t& caseCount)
{
    if (!Program().SharedDatabase) rt::Raise(rt::ErrObjectClosed, QStringLiteral("データベースが開かれていません。"));
    dao::RecordsetPtr rs = Program().SharedDatabase->OpenRecordset(QStringLiteral("基本データ"));
    if (!(rs->BOF() && rs->EOF_())) caseCount = rs->Field(QStringLiteral("Case")).toInteger();
    rs->Close();
}

void ReadUnitFlag(bool& unitIsSI)
{
    unitIsSI = true;
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    dao::RecordsetPtr rs = db->OpenRecordset(QStringLiteral("基本データ"));
    if (!(rs->BOF() && rs->EOF_())) unitIsSI = rs->Field(QStringLiteral("Unit")).toBool();
    rs->Close();
    db->Close();
}

void FindRowListingNumber(dao::RecordsetPtr& rs, int16_t number)
{
    if (rs->BOF() && rs->EOF_()) return;
    for (int k = 1; k <= 10; ++k) {
        rs->FindFirst(QStringLiteral("fld_") + rt::Format(k, QStringLiteral("00")) + QStringLiteral(" = ")
                      + QString::number(number));
        if (!rs->NoMatch()) return;
    }
}

namespace {
std::function<void()> g_installedMainMenuShower;
std::function<void()> g_mainMenuShower;
}  // namespace

void InstallMainMenuShower(std::function<void()> show) { g_installedMainMenuShower = std::move(show); }

void SetShowMainMenuHandler(std::function<void()> handler) { g_mainMenuShower = std::move(handler); }

void ShowMainMenuAgain()
{
    if (g_mainMenuShower) g_mainMenuShower();
    else if (g_installedMainMenuShower) g_installedMainMenuShower();
}
