#include "platform/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMargins>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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

std::vector<QRect>& AvailableAreasStandIn()
{
    static std::vector<QRect> areas;
    return areas;
}

std::vector<QRect> WithoutEmptyAreas(std::vector<QRect> areas)
{
    areas.erase(std::remove_if(areas.begin(), areas.end(), [](const QRect& a) { return a.isEmpty(); }), areas.end());
    return areas;
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

bool LiesWholeOnAScreen(const std::vector<QRect>& areas, const QRect& frame)
{
    return std::any_of(areas.begin(), areas.end(), [&](const QRect& area) { return area.contains(frame); });
}

qint64 OverlapOf(const QRect& area, const QRect& frame)
{
    const QRect common = area.intersected(frame);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// The square of the distance between the nearest points of two rectangles
// that do not overlap.
qint64 SquaredGapBetween(const QRect& area, const QRect& frame)
{
    const qint64 dx = std::max({0, area.left() - frame.right(), frame.left() - area.right()});
    const qint64 dy = std::max({0, area.top() - frame.bottom(), frame.top() - area.bottom()});
    return dx * dx + dy * dy;
}

// A window placed before the window manager framed it was placed by a frame
// it could only guess; once the real frame is known (the window is shown and
// framed), it is placed again, once, by the same ask and the frame it got:
// the frames of windows differ (one that cannot be resized may lack the
// border at its bottom), and one that has none to go by is centred by its
// inside.
class PlaceCheckOnceFramed : public QObject {
public:
    static constexpr const char* kName = "placeCheckOnceFramed";

    static void Watch(QWidget* window, const PlaceAsked& asked)
    {
        if (window->isVisible() && !DecorationOf(window).isNull()) return;
        auto* check = window->findChild<PlaceCheckOnceFramed*>(QLatin1String(kName), Qt::FindDirectChildrenOnly);
        if (!check) {
            check = new PlaceCheckOnceFramed(window);
            window->installEventFilter(check);
        }
        // A later placement before the frame is known replaces the earlier.
        check->asked_ = asked;
        check->placed_ = window->frameGeometry();
        check->placedClient_ = window->size();
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
        // Checked once the showing is over: a platform may first put the
        // window's inside where its frame was asked to be, then move it.
        QTimer::singleShot(0, window, [window, asked = asked_, placed = placed_, client = placedClient_] {
            PlaceAgain(window, asked, placed, client);
        });
        return false;
    }

    static void PlaceAgain(QWidget* window, PlaceAsked asked, const QRect& placed, const QSize& placedClient)
    {
        // A window closed, minimised or made to fill the screen meanwhile is
        // left as it is.
        const Qt::WindowStates left = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
        if (!window->isVisible() || (window->windowState() & left)) return;
        const QMargins margins = DecorationOf(window);
        const QRect frame = window->frameGeometry();
        const bool sized = !asked.smallest.isEmpty();
        // Moved or resized since it was placed (by the program, or by the
        // platform's inside-for-frame step that is not over): only kept on
        // the screens, where it now lies.
        const bool moved = frame.topLeft() != placed.topLeft() && window->geometry().topLeft() != placed.topLeft();
        if (moved || (sized && window->size() != placedClient)) {
            asked = {frame.left(), frame.top(), {}, {}, window->size(), asked.smallest, {}};
        } else if (!sized) {
            asked.client = window->size();
        }
        const QRect wanted = PlacedFrame(AvailableScreenAreas(), margins, asked);
        if (wanted.topLeft() != frame.topLeft()) window->move(wanted.topLeft());
        if (sized && wanted.size() != frame.size()) window->resize(wanted.size().shrunkBy(margins));
    }

    PlaceAsked asked_;
    QRect placed_;
    QSize placedClient_;
};

std::optional<int> PxIfAny(std::optional<double> twips)
{
    return twips ? std::optional<int>(Px(*twips)) : std::nullopt;
}

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

std::vector<QRect> AvailableScreenAreas()
{
    if (!AvailableAreasStandIn().empty()) return AvailableAreasStandIn();
    std::vector<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) areas.push_back(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) areas.push_back(screen->availableGeometry());
    areas = WithoutEmptyAreas(std::move(areas));
    if (areas.empty()) areas.push_back(QRect(0, 0, 1024, 768));
    return areas;
}

QRect AvailableScreenArea() { return AvailableScreenAreas().front(); }

std::vector<QRect> SetAvailableScreenAreas(std::vector<QRect> areas)
{
    return std::exchange(AvailableAreasStandIn(), WithoutEmptyAreas(std::move(areas)));
}

void SetAvailableScreenArea(const QRect& area) { SetAvailableScreenAreas({area}); }

QRect HoldingScreenArea(const std::vector<QRect>& areas, const QRect& frame)
{
    for (const QRect& area : areas)
        if (area.contains(frame)) return area;
    const QRect* holding = nullptr;
    qint64 most = 0;
    for (const QRect& area : areas) {
        if (const qint64 overlap = OverlapOf(area, frame); overlap > most) {
            most = overlap;
            holding = &area;
        }
    }
    if (holding) return *holding;
    qint64 nearest = 0;
    for (const QRect& area : areas) {
        if (const qint64 gap = SquaredGapBetween(area, frame); !holding || gap < nearest) {
            nearest = gap;
            holding = &area;
        }
    }
    return holding ? *holding : QRect();
}

QPoint KeptWithin(const QRect& area, const QSize& frameSize, const QPoint& topLeft)
{
    return {std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - frameSize.width())),
            std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frameSize.height()))};
}

QPoint KeptOnScreens(const std::vector<QRect>& areas, const QRect& frame)
{
    if (areas.empty() || LiesWholeOnAScreen(areas, frame)) return frame.topLeft();
    return KeptWithin(HoldingScreenArea(areas, frame), frame.size(), frame.topLeft());
}

QRect SizedAndKeptOnScreens(const std::vector<QRect>& areas, const QRect& frame, const QSize& smallest)
{
    const QRect grown(frame.topLeft(), frame.size().expandedTo(smallest));
    if (areas.empty() || LiesWholeOnAScreen(areas, grown)) return grown;
    const QRect area = HoldingScreenArea(areas, grown);
    const QSize size = grown.size().boundedTo(area.size()).expandedTo(smallest);
    return {KeptWithin(area, size, grown.topLeft()), size};
}

QRect ScreenAreaOf(const QWidget* window)
{
    if (!window) return AvailableScreenArea();
    return HoldingScreenArea(AvailableScreenAreas(), window->frameGeometry());
}

QRect PlacedFrame(const std::vector<QRect>& areas, const QMargins& margins, const PlaceAsked& asked)
{
    const bool sized = !asked.smallest.isEmpty();
    const QSize smallest = asked.smallest.grownBy(margins);
    QSize size = asked.client.grownBy(margins);
    if (sized) size = size.expandedTo(smallest);
    const QSize centred = asked.centredClient.isEmpty() ? size : asked.centredClient.grownBy(margins);
    const QRect& over = asked.centreOver;
    const QPoint topLeft(asked.left ? *asked.left : over.center().x() - (centred.width() - 1) / 2,
                         asked.top ? *asked.top : over.center().y() - (centred.height() - 1) / 2);
    const std::vector<QRect> within = asked.keepIn.isEmpty() ? areas : std::vector<QRect>{asked.keepIn};
    if (sized) return SizedAndKeptOnScreens(within, {topLeft, size}, smallest);
    return {KeptOnScreens(within, {topLeft, size}), size};
}

void Place(QWidget* window, PlaceAsked asked)
{
    if (!window) return;
    if (asked.client.isEmpty()) asked.client = window->size();
    const QMargins margins = ExpectedDecoration(window);
    const QRect frame = PlacedFrame(AvailableScreenAreas(), margins, asked);
    window->move(frame.topLeft());
    if (!asked.smallest.isEmpty()) window->resize(frame.size().shrunkBy(margins));
    PlaceCheckOnceFramed::Watch(window, asked);
}

QSize ExpectedFrameSize(const QWidget* window) { return window->size().grownBy(ExpectedDecoration(window)); }

void MoveWithinScreenOf(QWidget* window, QPoint topLeft, const QRect& other)
{
    PlaceAsked asked;
    asked.left = topLeft.x();
    asked.top = topLeft.y();
    asked.keepIn = HoldingScreenArea(AvailableScreenAreas(), other);
    Place(window, asked);
}

void CentreWithin(QWidget* window, const QRect& centreOver, const QRect& keepIn)
{
    PlaceAsked asked;
    asked.centreOver = centreOver;
    asked.keepIn = keepIn;
    Place(window, asked);
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

void Form::MoveOnScreenTw(std::optional<double> left, std::optional<double> top, const QRect& area)
{
    PlaceAsked asked;
    asked.left = PxIfAny(left);
    asked.top = PxIfAny(top);
    asked.centreOver = area;
    Place(this, asked);
}

void Form::SetClientSizeTw(double width, double height) { resize(Px(width), Px(height)); }

void Form::PlaceOnScreenTw(std::optional<double> left, std::optional<double> top, std::optional<double> width,
                           std::optional<double> height, const QRect& area)
{
    constexpr int kSmallestSide = 200;
    PlaceAsked asked;
    asked.left = PxIfAny(left);
    asked.top = PxIfAny(top);
    asked.centreOver = area;
    asked.centredClient = size();
    asked.client = QSize(width ? Px(*width) : area.width(), height ? Px(*height) : area.height());
    asked.smallest = QSize(kSmallestSide, kSmallestSide);
    Place(this, asked);
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

std::function<void()> SetLastWindowHandler(std::function<void()> handler)
{
    return std::exchange(LastWindowHandler(), std::move(handler));
}

std::function<void()> GetLastWindowHandler() { return LastWindowHandler(); }

void EndProgram()
{
    auto handler = EndHandler();
    if (handler) handler();
}

std::function<void()> SetEndProgramHandler(std::function<void()> handler)
{
    return std::exchange(EndHandler(), std::move(handler));
}

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }

}  // namespace forms
