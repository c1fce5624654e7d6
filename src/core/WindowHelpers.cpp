#include "core/WindowHelpers.h"

#include "database/Schema.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
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
    // X gives Delete the text DEL (127), yet it types nothing.
    if (event->key() == Qt::Key_Delete) return 0;
    // The focus keys belong to the window, never to a box's filter.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) return 0;
    // Esc is a key a box's filter refuses (whatever text the platform gives it).
    if (event->key() == Qt::Key_Escape) return 27;
    if (event->text().isEmpty()) return 0;
    const QChar c = event->text().at(0);
    return c.unicode() < 128 ? static_cast<int16_t>(c.unicode()) : int16_t(-1);
}

bool IsEditingShortcut(const QKeyEvent* event)
{
    return (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

bool IsNumericCharacter(char16_t c, bool noMinus, bool noDot)
{
    return (c >= u'0' && c <= u'9') || c == u' ' || (c == u'-' && !noMinus) || (c == u'.' && !noDot);
}

int16_t FilterNumericKey(int16_t keyAscii, bool noMinus, bool noDot)
{
    // Backspace is a key of the box, not a character it holds.
    if (keyAscii == 8) return keyAscii;
    if (keyAscii > 0 && IsNumericCharacter(static_cast<char16_t>(keyAscii), noMinus, noDot)) return keyAscii;
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
        rs->FindFirst(schema::SlotFieldName(k) + QStringLiteral(" = ") + QString::number(number));
        if (!rs->NoMatch()) return;
    }
}

namespace {
std::function<void()> g_installedMainMenuShower;
std::function<void()> g_mainMenuShower;
}  // namespace

std::function<void()> InstallMainMenuShower(std::function<void()> show)
{
    return std::exchange(g_installedMainMenuShower, std::move(show));
}

std::function<void()> SetShowMainMenuHandler(std::function<void()> handler)
{
    return std::exchange(g_mainMenuShower, std::move(handler));
}

void ShowMainMenuAgain()
{
    if (g_mainMenuShower) g_mainMenuShower();
    else if (g_installedMainMenuShower) g_installedMainMenuShower();
}

// ---- numeric boxes ------------------------------------------------------------

namespace {

// Text that reaches a numeric box other than by a key press.
class NumericEntryGuard : public QObject {
public:
    NumericEntryGuard(QLineEdit* box, bool noMinus, bool noDot) : QObject(box), box_(box), noMinus_(noMinus), noDot_(noDot) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_) return false;
        switch (event->type()) {
        case QEvent::InputMethod: {
            // Each committed character as if typed; composition is not shown.
            const QString commit = static_cast<QInputMethodEvent*>(event)->commitString();
            QString kept;
            for (QChar c : commit) {
                const int16_t ascii = c.unicode() < 128 ? static_cast<int16_t>(c.unicode()) : int16_t(-1);
                if (FilterNumericKey(ascii, noMinus_, noDot_) != 0) kept += c;
            }
            if (!kept.isEmpty() && !box_->isReadOnly()) box_->insert(kept);
            return true;
        }
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
                Paste(QClipboard::Clipboard);
                return true;
            }
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton) return false;
            Paste(QClipboard::Selection);
            return true;
        case QEvent::ContextMenu: {
            QMenu* menu = box_->createStandardContextMenu();
            for (QAction* a : menu->actions()) {
                if (a->objectName() != QLatin1String("edit-paste")) continue;
                QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
                QObject::connect(a, &QAction::triggered, box_, [this] { Paste(QClipboard::Clipboard); });
            }
            menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            delete menu;
            return true;
        }
        default:
            return false;
        }
    }

private:
    // The text of the clipboard without the line end a copied cell brings;
    // refused whole, with a beep, when the box would refuse a character of it.
    void Paste(QClipboard::Mode mode)
    {
        if (box_->isReadOnly()) return;
        const QString text = QGuiApplication::clipboard()->text(mode).trimmed();
        if (text.isEmpty()) return;
        for (QChar c : text) {
            if (!IsNumericCharacter(c.unicode(), noMinus_, noDot_)) {
                ui::Beep();
                return;
            }
        }
        box_->insert(text);
    }

    QLineEdit* box_;
    bool noMinus_;
    bool noDot_;
};

// Esc in a window: once no control has taken it, or, watching the whole
// application, before any control of the window (and any key filter of its
// boxes) sees it.
class EscapeHandler : public QObject {
public:
    enum class Order { AfterControls, BeforeControls };
    EscapeHandler(QWidget* window, Order order, std::function<void()> onEscape)
        : QObject(window), window_(window), order_(order), onEscape_(std::move(onEscape))
    {
        if (order_ == Order::BeforeControls) qApp->installEventFilter(this);
        else window_->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !InWindow(watched)) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
        onEscape_();
        return true;
    }

private:
    bool InWindow(QObject* watched) const
    {
        if (watched == window_) return true;
        return order_ == Order::BeforeControls && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->window() == window_;
    }

    QWidget* window_;
    Order order_;
    std::function<void()> onEscape_;
};

}  // namespace

void MakeNumericEntryBox(QLineEdit* box, bool noMinus, bool noDot)
{
    if (!box) return;
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setInputMethodHints(noMinus && noDot ? Qt::ImhDigitsOnly : Qt::ImhFormattedNumbersOnly);
    box->setAcceptDrops(false);
    box->installEventFilter(new NumericEntryGuard(box, noMinus, noDot));
}

void CloseWithEscape(forms::Form* window)
{
    if (window) new EscapeHandler(window, EscapeHandler::Order::AfterControls, [window] { window->Unload(); });
}

void CancelWithEscape(QWidget* window, QAbstractButton* cancel)
{
    if (!window || !cancel) return;
    new EscapeHandler(window, EscapeHandler::Order::BeforeControls, [cancel] { cancel->click(); });
}

QRect WorkingScreenArea(const QWidget* opener)
{
    if (opener && (opener->isVisible() || opener->testAttribute(Qt::WA_Moved))) return forms::ScreenAreaOf(opener);
    const forms::Form* menu = forms::FindLoadedForm(QStringLiteral("frmMainmenu"));
    return forms::ScreenAreaOf(menu && menu->isVisible() ? menu : nullptr);
}

void CentreOver(QWidget* window, QWidget* over)
{
    if (!window) return;
    if (over == window) over = nullptr;
    // Centred over a window that reaches past its screen's edge, it is moved
    // back in whole, on the screen of that window.
    if (over && over->isVisible()) {
        forms::CentreWithin(window, over->frameGeometry(), forms::ScreenAreaOf(over));
        return;
    }
    const QRect area = WorkingScreenArea(over);
    forms::CentreWithin(window, area, area);
}

void RestoreSizedPlacement(forms::Form* window, const QString& section, const std::array<QString, 4>& keys,
                           const QRect& area)
{
    if (!window) return;
    window->PlaceOnScreenTw(reg::GetNumberIfStored(section, keys[0]), reg::GetNumberIfStored(section, keys[1]),
                            reg::GetNumberIfStored(section, keys[2]), reg::GetNumberIfStored(section, keys[3]), area);
}

void CentreOnMainMenu(QWidget* window)
{
    forms::Form* menu = forms::FindLoadedForm(QStringLiteral("frmMainmenu"));
    CentreOver(window, menu && menu != window && menu->isVisible() ? menu : QApplication::activeWindow());
}
