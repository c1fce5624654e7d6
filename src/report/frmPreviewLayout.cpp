// The diagram layout mode of the report window: entering and leaving it,
// the choice of the diagram and its case, the commands on the placement
// rows, and the entry boxes of the side panel with their arrows, keys and
// range checks.
#include "report/frmPreview.h"

#include "core/Messages.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "diagram/UpDownControl.h"
#include "diagram/ViewBoxMoves.h"
#include "platform/Runtime.h"
#include "platform/Ui.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PageFormat.h"
#include "report/WindowControls.h"

#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <optional>

namespace {

constexpr int16_t kTrue = -1;

// The entry boxes of the side panel, in the order of the window's pointers:
// the spin control beside each, whether it holds a placement (stepped and
// stored as such) or a view or axis value, its key filter (digits only, or
// digits and minus; none for the axis boxes), whether leaving it checks its
// range; the arrow keys move as in the frame diagram window.
struct EntryBoxRule {
    const char* box;
    const char* spin;
    bool placement;
    bool filtered;
    bool minus;
    bool rangeCheck;
};
const EntryBoxRule kEntryBoxes[] = {
    {"txtX", "UpDownX", true, true, true, true},
    {"txtY", "UpDownY", true, true, true, true},
    {"txtzoom", "UpDownzoom", true, true, false, true},
    {"txtCoordX", "UpDownCoordX", false, false, false, false},
    {"txtCoordY", "UpDownCoordY", false, false, false, false},
    {diagram::kAxisSizeBox, "UpDownCoordSize", false, false, false, false},
    {"txtrf", "UpDownrf", false, true, false, true},
    {"txtθf", "UpDownθf", false, true, false, true},
    {"txtφf", "UpDownφf", false, true, false, true},
    {"txtra", "UpDownra", false, true, false, true},
    {"txtθa", "UpDownθa", false, true, false, true},
    {"txtφa", "UpDownφa", false, true, false, true},
};

const EntryBoxRule* RuleOf(const QLineEdit* box)
{
    for (const EntryBoxRule& r : kEntryBoxes)
        if (box->objectName() == QString::fromUtf8(r.box)) return &r;
    return nullptr;
}

// The number a box starts with, or none unless its text begins with one
// right away: blanks, then a digit, or a sign or point directly before one
// ("- 5" and ". 5" hold none, though Val reads them). What follows is read
// as Val reads it.
std::optional<double> NumberRightAtStart(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
    if (i < text.size() && text[i] == u'.') ++i;
    if (i >= text.size() || !text[i].isDigit()) return std::nullopt;
    return rt::Val(text);
}

constexpr double kCentredShown = -1.002;   // the text shown for a stored centring marker
constexpr float kTypedMinusOne = -1.001f;  // a typed -1, kept apart from the marker

// The offset stored for the number in a placement box: -1 typed becomes an
// ordinary offset; the centring marker as shown stands for itself.
float StoredOffset(double typed)
{
    if (typed == -1) return kTypedMinusOne;
    if (typed == kCentredShown) return report::kCentreMarker;
    return static_cast<float>(typed);
}

}  // namespace

using report::PlacementKey;
using report::PlacementRow;
using report::PlacementTable;

void frmPreview::BindLayoutControls()
{
    QLineEdit** boxes[] = {&txtX, &txtY, &txtzoom, &txtCoordX, &txtCoordY, &txtCoordSize,
                           &txtrf, &txtθf, &txtφf, &txtra, &txtθa, &txtφa};
    static_assert(std::size(boxes) == std::size(kEntryBoxes));
    for (size_t i = 0; i < std::size(kEntryBoxes); ++i) {
        *boxes[i] = report::Control<QLineEdit>(this, QString::fromUtf8(kEntryBoxes[i].box));
        (*boxes[i])->installEventFilter(this);
    }
    // Two states only: a greyed box cannot arise.
    for (QCheckBox* check : findChildren<QCheckBox*>()) check->setTristate(false);
}

void frmPreview::ConnectLayoutHandlers()
{
    connect(cmdMentPreview, &QPushButton::clicked, this, [this] { cmdMentPreview_Click(); });
    connect(mnuMentPreview, &QAction::triggered, this, [this] { mnuMentPreview_Click(); });
    for (QRadioButton* option : {opnHeni, opnOurk})
        connect(option, &QRadioButton::clicked, this, [this] { DiagramChoiceClicked(); });
    for (QCheckBox* check : {chkDrawJnt, chkDrawEle, chkDrawMat, chkDrawCoord, chkDrawEleOnly})
        connect(check, &QCheckBox::clicked, this, [this] { DiagramChoiceClicked(); });
    connect(upnCase, &diagram::UpDownControl::UpClick, this, [this] { upnCase_UpClick(); });
    connect(upnCase, &diagram::UpDownControl::DownClick, this, [this] { upnCase_DownClick(); });
    connect(cmdCase指定, &QPushButton::clicked, this, [this] { cmdCase指定_Click(); });
    connect(cmdDRAW, &QPushButton::clicked, this, [this] { cmdDRAW_Click(); });
    connect(cmdConstZoom, &QPushButton::clicked, this, [this] { cmdConstZoom_Click(); });
    connect(cmdMCenter, &QToolButton::clicked, this, [this] { cmdMCenter_Click(); });
    for (const EntryBoxRule& rule : kEntryBoxes) {
        auto* box = report::Control<QLineEdit>(this, QString::fromUtf8(rule.box));
        auto* spin = report::Control<diagram::UpDownControl>(this, QString::fromUtf8(rule.spin));
        connect(spin, &diagram::UpDownControl::UpClick, this, [this, box] { SpinClicked(box, true); });
        connect(spin, &diagram::UpDownControl::DownClick, this, [this, box] { SpinClicked(box, false); });
    }
}

// ---- entering and leaving ------------------------------------------------------

void frmPreview::cmdMentPreview_Click()
{
    SaveViewState();
    SetLayoutMode(true);
    MakePreviewDocument(report::kModeLayout);
    cmd全体_Click(1);
}

void frmPreview::mnuMentPreview_Click()
{
    // The control panel comes into view first.
    mnuControl->setChecked(true);
    mnuControl_Click();
    cmdMentPreview_Click();
}

void frmPreview::SetLayoutMode(bool on)
{
    layoutMode_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdPrint, cmdPreviewInfoSetUp, cmdMentPreview}) w->setVisible(!on);
    // The menus go with their items and function keys.
    for (QMenu* menu : {mnuFile, mnuEdit}) {
        menu->menuAction()->setEnabled(!on);
        menu->setEnabled(!on);
    }
    for (QAction* a : mnuEdit->actions())
        if (!a->shortcut().isEmpty()) a->setEnabled(!on);
    cmdClose->setText(on ? QStringLiteral("戻る") : QStringLiteral("閉じる"));
    cmdClose->setToolTip(on ? QStringLiteral("通常の画面に戻ります") : QStringLiteral("メインメニューに戻ります"));
    Frame[0]->move(Frame[0]->x(), frameTop_[on ? 1 : 0]);
    Frame[1]->move(Frame[1]->x(), frameTop_[on ? 0 : 1]);
    if (Program().ScreenCode == ScreenResultsPreview) {
        const bool single = Program().PreviewInfo.CombineCases != kTrue;
        report::EnableEntryBox(txtCase, single);
        for (QWidget* w : std::initializer_list<QWidget*>{lblchkCase, cmdCase指定, upnCase}) w->setEnabled(single);
    }
    Picture1->setVisible(on);
    Form_Resize();
    repaint();
}

// ---- the diagram shown ---------------------------------------------------------

PlacementKey frmPreview::ShownDiagram() const
{
    if (Program().ScreenCode != ScreenResultsPreview) return report::kFramePlacement;
    const double typed = Program().PreviewInfo.CombineCases == kTrue ? 0 : rt::Val(txtCase->text());
    return {opnHeni->isChecked(), static_cast<int16_t>(std::clamp(typed, 0.0, 10.0))};
}

void frmPreview::DiagramChoiceClicked()
{
    if (formLoading_ || !InLayoutMode()) return;
    MakePreviewDocument(report::kModeLayout);
}

void frmPreview::upnCase_UpClick()
{
    const double next = rt::Val(txtCase->text()) + upnCase->Increment();
    if (next > Program().LoadCaseCount) return;
    txtCase->setText((QStringLiteral("  ") + rt::CStrDouble(next)).right(2));
}

void frmPreview::upnCase_DownClick()
{
    const double next = rt::Val(txtCase->text()) - upnCase->Increment();
    if (next < 1) return;
    txtCase->setText((QStringLiteral("  ") + rt::CStrDouble(next)).right(2));
}

// ---- commands on the placement rows ----------------------------------------------

bool frmPreview::RunPlacementCommand(const std::function<void(PlacementTable&)>& body)
{
    ProgramState& p = Program();
    if (!p.SharedDatabase) return false;
    try {
        dao::WriteTransaction transaction(*p.SharedDatabase);
        {
            PlacementTable table(*p.SharedDatabase);
            body(table);
        }
        transaction.Commit();
        return true;
    } catch (const std::exception&) {
        ui::Beep();
        ShowDatabaseAccessMessage();
        SetBusyPointer(false);
        SetEnabledState(true);
        return false;
    }
}

std::vector<PlacementKey> frmPreview::EveryPlacementKey() const
{
    std::vector<PlacementKey> keys{report::kFramePlacement};
    for (int16_t c = 0; c <= Program().LoadCaseCount; ++c) {
        keys.push_back({false, c});
        keys.push_back({true, c});
    }
    return keys;
}

void frmPreview::cmdCase指定_Click()
{
    std::optional<PlacementRow> row;
    if (!RunPlacementCommand([&](PlacementTable& t) { row = t.Find(ShownDiagram()); })) return;
    if (!row) {
        txtX->setText(QStringLiteral("20"));
        txtY->setText(QStringLiteral("20"));
        txtzoom->setText(QStringLiteral(" -1"));
    } else {
        auto shown = [](float offset) {
            return offset == report::kCentreMarker ? QStringLiteral("-1.002") : rt::CStrSingle(offset);
        };
        txtX->setText(shown(row->xx));
        txtY->setText(shown(row->yy));
        txtzoom->setText(rt::CStrSingle(row->zoom));
    }
    ApplyDiagramPlacement();
}

void frmPreview::ApplyDiagramPlacement()
{
    const PlacementKey key = ShownDiagram();
    const double x = rt::Val(txtX->text()), y = rt::Val(txtY->text());
    const float zoom = static_cast<float>(rt::Val(txtzoom->text()));
    const bool stored = RunPlacementCommand([&](PlacementTable& t) {
        std::optional<PlacementRow> row = t.Find(key);
        if (!row) {
            row = PlacementRow{key, report::kCentreMarker, report::kCentreMarker, -1};
            t.Add(*row);
        }
        // The centring marker as shown keeps the stored value.
        if (x != kCentredShown) row->xx = StoredOffset(x);
        if (y != kCentredShown) row->yy = StoredOffset(y);
        row->zoom = zoom;
        t.Update(*row);
    });
    if (stored) MakePreviewDocument(report::kModeLayout);
}

void frmPreview::cmdConstZoom_Click()
{
    const std::optional<double> x = NumberRightAtStart(txtX->text()), y = NumberRightAtStart(txtY->text()),
                                zoom = NumberRightAtStart(txtzoom->text());
    if (!x || !y || !zoom) {
        ui::Beep();
        return;
    }
    RunPlacementCommand([&](PlacementTable& t) {
        for (const PlacementKey& key : EveryPlacementKey()) {
            if (t.Find(key)) t.Update({key, StoredOffset(*x), StoredOffset(*y), static_cast<float>(*zoom)});
            else t.Add({key, report::kCentreMarker, report::kCentreMarker, static_cast<float>(*zoom)});
        }
    });
}

void frmPreview::cmdMCenter_Click()
{
    const bool stored = RunPlacementCommand([&](PlacementTable& t) {
        for (const PlacementKey& key : EveryPlacementKey()) {
            if (std::optional<PlacementRow> row = t.Find(key)) {
                row->xx = report::kCentreMarker;
                row->yy = report::kCentreMarker;
                t.Update(*row);
            } else {
                t.Add({key, report::kCentreMarker, report::kCentreMarker, -1});
            }
        }
    });
    if (stored) MakePreviewDocument(report::kModeLayout);
}

// ---- the entry boxes ---------------------------------------------------------------

void frmPreview::SpinClicked(QLineEdit* box, bool up)
{
    const EntryBoxRule* rule = RuleOf(box);
    if (!rule) return;
    const auto* spin = report::Control<diagram::UpDownControl>(this, QString::fromUtf8(rule->spin));
    const double step = up ? spin->Increment() : -spin->Increment();
    const auto min = static_cast<int16_t>(spin->Min()), max = static_cast<int16_t>(spin->Max());
    if (rule->placement) StepTextValue(box, static_cast<int16_t>(step), min, max);
    else StepViewValue(box, static_cast<float>(step), max, min);
}

void frmPreview::StepTextValue(QLineEdit* box, int16_t step, int16_t min, int16_t max)
{
    if (diagram::StepBoxValue(box, step, min, max) && chkSyncPreview->isChecked()) ApplyDiagramPlacement();
}

void frmPreview::StepViewValue(QLineEdit* box, float step, int16_t max, int16_t min)
{
    if (diagram::StepBoxValue(box, step, min, max) && chkSyncPreview->isChecked())
        MakePreviewDocument(report::kModeLayout);
}

bool frmPreview::HandleEntryBoxEvent(QLineEdit* box, QEvent* event)
{
    const EntryBoxRule* rule = RuleOf(box);
    if (!rule) return false;
    auto named = [this](const char* name) { return report::Control<QLineEdit>(this, QString::fromUtf8(name)); };
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const diagram::FocusMoves& moves = diagram::ViewBoxMoves(rule->box); moves.up) {
            const int16_t code = KeyCodeOf(key->key());
            if (code != 0) {
                MoveFocusByKey(code, named(moves.up), named(moves.down), named(moves.left), named(moves.right), nullptr);
                return true;
            }
        }
        if (rule->filtered) {
            const int16_t ascii = KeyAsciiOf(key);
            if (ascii != 0 && FilterNumericKey(ascii, !rule->minus, true) == 0) return true;
        }
        return false;
    }
    case QEvent::FocusOut: {
        // Leaving the box for another control of the window; not a build
        // that disables the window, nor a message box or menu that opens.
        const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
        if (!rule->rangeCheck || building_ || checkingBox_ || !isEnabled() || !InLayoutMode()
            || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        checkingBox_ = true;
        diagram::ClampToUpDownRange(box, *report::Control<diagram::UpDownControl>(this, QString::fromUtf8(rule->spin)));
        if (chkSyncPreview->isChecked()) cmdDRAW_Click();
        checkingBox_ = false;
        return false;
    }
    case QEvent::MouseButtonRelease:
        SelectEntryBox(box);
        return false;
    default:
        return false;
    }
}
