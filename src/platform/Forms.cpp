#include "platform/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMargins>
#include <QEventLoop>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace forms {

namespace {

std::vector<Form*>& Collection()
{
    static std::vector<Form*> forms;
    return forms;
}

std::function<void()>& LastWindowHandler()
{
    static std::function<void()> handler = [] { QCoreApplication::quit(); };
    return handler;
}

QRect& AvailableAreaStandIn()
{
    static QRect area;
    return area;
}

// The window manager's frame around a window, as far as it is known.
QMargins DecorationOf(const QWidget* window)
{
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The frame a window will wear: its own once it has had one, else that of a
// shown window (the window manager dresses them alike), else none.
QMargins ExpectedDecoration(const QWidget* window)
{
    if (const QMargins own = DecorationOf(window); !own.isNull()) return own;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == window || !w->isVisible() || w->windowFlags().testFlag(Qt::FramelessWindowHint)) continue;
        if (const QMargins m = DecorationOf(w); !m.isNull()) return m;
    }
    return {};
}

// Where a frame of `frameSize` goes when it should lie at `topLeft`: moved in
// just as far as keeps it within `area`, its top and left edges first.
QPoint KeptWithin(const QRect& area, const QSize& frameSize, const QPoint& topLeft)
{
    return {std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - frameSize.width())),
            std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frameSize.height()))};
}

// A window placed before the window manager framed it was kept within the
// screen by a frame it could only guess; once the real frame is known (the
// window is shown and framed), the place is checked again, once.
class PlaceCheckOnceFramed : public QObject {
public:
    static constexpr const char* kName = "placeCheckOnceFramed";

    static void Watch(QWidget* window)
    {
        if (!window->isVisible() || DecorationOf(window).isNull()) {
            if (!window->findChild<QObject*>(QLatin1String(kName), Qt::FindDirectChildrenOnly))
                window->installEventFilter(new PlaceCheckOnceFramed(window));
        }
    }

private:
    explicit PlaceCheckOnceFramed(QWidget* window) : QObject(window) { setObjectName(QLatin1String(kName)); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize) return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isVisible() || DecorationOf(window).isNull()) return false;
        window->removeEventFilter(this);
        setObjectName(QString());   // a placement before it is gone watches afresh
        deleteLater();
        const QRect frame = window->frameGeometry();
        const QPoint kept = KeptWithin(AvailableScreenArea(), frame.size(), frame.topLeft());
        if (kept != frame.topLeft()) window->move(kept);
        return false;
    }
};

std::function<void()>& EndHandler()
{
    static std::function<void()> handler = [] {
        QCoreApplication::exit(0);
        std::exit(0);
    };
    return handler;
}

}  // namespace

int Px(double twips) { return int(std::lround(twips / TwipsPerPixel)); }
double Tw(int pixels) { return double(pixels) * TwipsPerPixel; }

void PlaceTw(QWidget* w, double left, double top, double width, double height)
{
    int wd = Px(width);
    // One-line labels were drawn in a narrower face than ours; they grow
    // rather than lose their last characters.
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
        wd = std::max(wd, label->sizeHint().width());
    w->setGeometry(Px(left), Px(top), wd, Px(height));
}

QRect AvailableScreenArea()
{
    if (!AvailableAreaStandIn().isEmpty()) return AvailableAreaStandIn();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void SetAvailableScreenArea(const QRect& area) { AvailableAreaStandIn() = area; }

void MoveWithinScreenArea(QWidget* window, QPoint topLeft)
{
    if (!window) return;
    const QMargins frame = ExpectedDecoration(window);
    const QSize frameSize = window->size().grownBy(frame);
    window->move(KeptWithin(AvailableScreenArea(), frameSize, topLeft));
    PlaceCheckOnceFramed::Watch(window);
}

Form::Form(const QString& name, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
}

Form::~Form()
{
    auto& c = Collection();
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
    if (modalLoop_) modalLoop_->quit();
}

void Form::Load()
{
    if (loaded_) return;
    loaded_ = true;
    Collection().push_back(this);
    Form_Load();
}

void Form::Show()
{
    Load();
    if (!loaded_) return;   // the load handler unloaded the window again
    show();
    raise();
    activateWindow();
}

void Form::ShowModal()
{
    Load();
    if (!loaded_) return;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    if (loaded_) loop.exec();
    modalLoop_ = nullptr;
    setWindowModality(Qt::NonModal);
}

bool Form::Unload() { return RunUnload(UnloadFromCode); }

bool Form::RunUnload(int mode)
{
    if (!loaded_ || unloading_) return true;
    unloading_ = true;
    bool cancel = false;
    Form_QueryUnload(cancel, mode);
    if (!cancel && loaded_) Form_Unload(cancel);
    unloading_ = false;
    if (cancel) return false;
    if (!loaded_) return true;  // unloaded from inside its own handlers
    loaded_ = false;
    hide();
    auto& c = Collection();
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
    if (modalLoop_) modalLoop_->quit();
    if (c.empty()) {
        auto handler = LastWindowHandler();
        if (handler) handler();
    }
    return true;
}

void Form::closeEvent(QCloseEvent* event)
{
    // The close box: the window decides through its unload question.
    if (!loaded_) {
        event->accept();
        return;
    }
    if (RunUnload(UnloadFromCloseBox))
        event->accept();
    else
        event->ignore();
}

void Form::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void Form::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}

double Form::LeftTw() const { return Tw(frameGeometry().x()); }
double Form::TopTw() const { return Tw(frameGeometry().y()); }
double Form::WidthTw() const { return Tw(frameGeometry().width()); }
double Form::HeightTw() const { return Tw(frameGeometry().height()); }

void Form::MoveTw(double left, double top) { move(Px(left), Px(top)); }

void Form::MoveOnScreenTw(double left, double top) { MoveWithinScreenArea(this, {Px(left), Px(top)}); }

void Form::SetClientSizeTw(double width, double height) { resize(Px(width), Px(height)); }

void Form::PlaceOnScreenTw(double left, double top, double width, double height)
{
    constexpr int kSmallestSide = 200;
    const QRect area = AvailableScreenArea();
    const QMargins frame = ExpectedDecoration(this);
    const int frameWidth = frame.left() + frame.right(), frameHeight = frame.top() + frame.bottom();
    const int w = std::clamp(Px(width), kSmallestSide, std::max(area.width() - frameWidth, kSmallestSide));
    const int h = std::clamp(Px(height), kSmallestSide, std::max(area.height() - frameHeight, kSmallestSide));
    move(KeptWithin(area, {w + frameWidth, h + frameHeight}, {Px(left), Px(top)}));
    resize(w, h);
    PlaceCheckOnceFramed::Watch(this);
}

void Form::SetEnabledState(bool enabled) { setEnabled(enabled); }

void Form::SetBusyPointer(bool busy)
{
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

const std::vector<Form*>& LoadedForms() { return Collection(); }

Form* FindLoadedForm(const QString& name)
{
    for (Form* f : Collection())
        if (f->objectName() == name) return f;
    return nullptr;
}

namespace {

// Unloads the loaded windows newest first, but the one named `kept` (none
// when empty); a window that leaves the collection does not shift the ones
// still to be visited because we walk a copy.
void UnloadFormsBut(QLatin1String kept)
{
    std::vector<Form*> snapshot = Collection();
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        Form* f = *it;
        auto& c = Collection();
        if (std::find(c.begin(), c.end(), f) == c.end()) continue;
        if (!kept.isEmpty() && f->objectName() == kept) continue;
        try {
            f->Unload();
        } catch (...) {
        }
    }
}

}  // namespace

void UnloadOtherForms() { UnloadFormsBut(QLatin1String("frmMainmenu")); }

void UnloadAllForms() { UnloadFormsBut(QLatin1String()); }

void SetTopMost(QWidget* window, int insertAfter)
{
    if (!window) return;
    if (insertAfter != kTopMost && insertAfter != kNotTopMost) return;
    window = window->window();
    const bool top = insertAfter == kTopMost;
    // The widget's own flag is only recorded: setting it through the widget
    // would destroy and re-create the native window, which then flickers,
    // loses its identity and is shown even when it was hidden. The native
    // window, when there is one, changes its state in place.
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, top);
    window->overrideWindowFlags(flags);
    if (QWindow* native = window->windowHandle()) native->setFlag(Qt::WindowStaysOnTopHint, top);
    // Entering or leaving the band, a shown window comes to the front of it.
    if (window->isVisible()) window->raise();
}

void SetLastWindowHandler(std::function<void()> handler) { LastWindowHandler() = std::move(handler); }

std::function<void()> GetLastWindowHandler() { return LastWindowHandler(); }

void EndProgram()
{
    auto handler = EndHandler();
    if (handler) handler();
}

void SetEndProgramHandler(std::function<void()> handler) { EndHandler() = std::move(handler); }

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }

}  // namespace forms
