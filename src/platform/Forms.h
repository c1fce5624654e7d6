// Windows as the program uses them: a window class with load, show and
// unload events, one collection of loaded windows in load order, and
// placement in twips (15 twips to a pixel).
#pragma once

#include <QMargins>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QEventLoop;

namespace forms {

constexpr int TwipsPerPixel = 15;
int Px(double twips);            // twips to pixels, rounded
double Tw(int pixels);           // pixels to twips

// Places a control by its design position in twips (left, top, width, height).
void PlaceTw(QWidget* w, double left, double top, double width, double height);

// The parts of the desktop's screens that windows may take: each screen less
// the desktop's panels, the primary screen's first.
std::vector<QRect> AvailableScreenAreas();
// The primary screen's part: where a window that has no place of its own
// opens.
QRect AvailableScreenArea();
// Stands in other screens (a test's): their areas, the primary's first; none,
// or one empty area, gives the real ones back. Returns the stand-in areas it
// replaces (none when the real ones were in force).
std::vector<QRect> SetAvailableScreenAreas(std::vector<QRect> areas);
void SetAvailableScreenArea(const QRect& area);

// Where windows go on a desktop of several screens, given the screens'
// available areas (the primary's first). A frame that lies whole within one
// area stays where it is; any other is brought within the area that holds it.
//
// The area that holds a frame: one that contains it whole, else the one it
// overlaps most, else the one nearest to it (the earlier one of equals).
// Empty when there are no areas.
QRect HoldingScreenArea(const std::vector<QRect>& areas, const QRect& frame);
// Where a frame of `frameSize` that should lie at `topLeft` goes within
// `area`: moved in just as far as keeps it within, its top and left edges
// first (a frame larger than the area keeps those in it).
QPoint KeptWithin(const QRect& area, const QSize& frameSize, const QPoint& topLeft);
// Where `frame` goes: its own place when it lies whole on a screen, else kept
// within the area that holds it.
QPoint KeptOnScreens(const std::vector<QRect>& areas, const QRect& frame);
// The same for a frame whose size may change: it grows to `smallest` where
// it is smaller, and is cut to the area that holds it where it is larger.
QRect SizedAndKeptOnScreens(const std::vector<QRect>& areas, const QRect& frame, const QSize& smallest);

// The available area of the screen that holds the window's frame (its
// planned one while it is not shown); the primary screen's for none.
QRect ScreenAreaOf(const QWidget* window);

// How a window is asked to be placed, in pixels. The top-left corner of its
// frame lies at `left`, `top`; an edge not given centres the frame over
// `centreOver`, the window then being as large inside as `centredClient`
// (`client` when that is empty). A window that may change size (`smallest`
// not empty) is `client` large inside, cut to the screen that holds it and
// never smaller than `smallest`; any other is `client` large. The frame is
// then kept within `keepIn`, or, without one, on the screens: where it lies
// when that is whole on a screen, else within the screen that holds it.
struct PlaceAsked {
    std::optional<int> left, top;
    QRect centreOver;
    QSize centredClient;
    QSize client;
    QSize smallest;
    QRect keepIn;
};
// Where the frame of a window placed as asked goes, given the screens'
// available areas (the primary's first) and the margins of its frame.
QRect PlacedFrame(const std::vector<QRect>& areas, const QMargins& margins, const PlaceAsked& asked);

// Places a window as asked (its present size when `client` is empty) by the
// frame it is expected to wear. A window whose frame is not known yet (not
// shown, or not yet framed by the window manager) is placed again by the same
// ask once it has its frame, unless it was moved or resized meanwhile; then it
// is only kept on the screens.
void Place(QWidget* window, PlaceAsked asked);
// The size of a window's frame: its own once the window manager has framed
// it, else its size in the frame that shown windows wear.
QSize ExpectedFrameSize(const QWidget* window);
// Moves a window so that the top-left corner of its frame lies at `topLeft`
// (pixels), kept within the screen that holds `other` (the frame of the
// window it is placed over), wherever it would lie; its size stays.
void MoveWithinScreenOf(QWidget* window, QPoint topLeft, const QRect& other);
// Centres a window's frame over `centreOver` and keeps it within `keepIn`;
// its size stays.
void CentreWithin(QWidget* window, const QRect& centreOver, const QRect& keepIn);

// Unload modes passed to Form_QueryUnload.
enum UnloadMode : int { UnloadFromCloseBox = 0, UnloadFromCode = 1, UnloadFromSession = 2, UnloadFromTaskManager = 3 };

class Form : public QWidget {
    Q_OBJECT
public:
    // `name` is the window class name ("frmMainmenu"), also its objectName.
    explicit Form(const QString& name, QWidget* parent = nullptr);
    ~Form() override;

    QString Name() const { return objectName(); }

    // Loads the window (runs Form_Load) unless it is loaded already; the
    // window joins the collection of loaded windows.
    void Load();
    // Loads if needed and shows without blocking.
    void Show();
    // Loads if needed, shows modally and returns when the window is unloaded.
    void ShowModal();
    // Asks Form_QueryUnload with UnloadFromCode; unless cancelled, runs
    // Form_Unload, hides the window and takes it out of the collection.
    // Returns false when the unload was cancelled.
    bool Unload();
    bool IsLoaded() const { return loaded_; }

    // Geometry of the outer window in twips.
    double LeftTw() const;
    double TopTw() const;
    double WidthTw() const;
    double HeightTw() const;
    void MoveTw(double left, double top);
    // Moves the window by a stored place in twips (left and top of its
    // frame), where it lies when the frame then lies whole on a screen, or
    // else as near to it as keeps the frame within the screen that holds it;
    // an edge that has none stored centres the window, at its present size,
    // in `area`. Its size stays.
    void MoveOnScreenTw(std::optional<double> left, std::optional<double> top, const QRect& area);
    // Client area size in twips (the design size of the window).
    void SetClientSizeTw(double width, double height);
    // Places the window by a stored placement in twips (left and top of its
    // frame, width and height of its client area), never beyond the screens,
    // where a part of it could not be reached: a frame that does not lie
    // whole on a screen has its size cut to the screen that holds it (never
    // below 200 by 200 pixels), then moves in until no edge of it lies
    // outside that screen's available area. A missing edge centres the
    // window, at its present size, in `area`; a missing width or height is
    // the area's.
    void PlaceOnScreenTw(std::optional<double> left, std::optional<double> top, std::optional<double> width,
                         std::optional<double> height, const QRect& area);
    bool IsMinimized() const { return isMinimized(); }

    // The caption (window title).
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    QString Caption() const { return windowTitle(); }

    // The window's enabled state and its mouse pointer (hourglass or default).
    void SetEnabledState(bool enabled);
    void SetBusyPointer(bool busy);

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(bool& cancel, int unloadMode) {}
    virtual void Form_Unload(bool& cancel) {}

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool RunUnload(int mode);
    bool loaded_ = false;
    bool unloading_ = false;
    QEventLoop* modalLoop_ = nullptr;
};

// The loaded windows, in load order (index 0 loaded first).
const std::vector<Form*>& LoadedForms();
// Finds a loaded window by its class name, or nullptr.
Form* FindLoadedForm(const QString& name);

// Unloads every loaded window but "frmMainmenu", newest first; errors ignored.
void UnloadOtherForms();
// The same for every loaded window, the main menu included.
void UnloadAllForms();

// Insert positions of SetWindowTopMost.
constexpr int kTopMost = -1;
constexpr int kNotTopMost = -2;
// -1 puts the window into the topmost band, -2 takes it out; a shown window
// comes to the front of its band. Neither shows a hidden window, activates,
// moves or re-creates it. Any other value does nothing.
void SetTopMost(QWidget* window, int insertAfter);

// Called when the last loaded window has been unloaded (the program ends
// then); the default quits the application's event loop. Returns the handler
// it replaces.
std::function<void()> SetLastWindowHandler(std::function<void()> handler);
// The handler in force (to set it aside while one window replaces another).
std::function<void()> GetLastWindowHandler();

// Ends the program at once: no further unload handler runs.
void EndProgram();
// Returns the handler it replaces.
std::function<void()> SetEndProgramHandler(std::function<void()> handler);

// Lets window messages through (a wait loop's body).
void DoEvents();

}  // namespace forms
