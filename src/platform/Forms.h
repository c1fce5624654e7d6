// Windows as the program uses them: a window class with load, show and
// unload events, one collection of loaded windows in load order, and
// placement in twips (15 twips to a pixel).
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QEventLoop;

namespace forms {

constexpr int TwipsPerPixel = 15;
int Px(double twips);            // twips to pixels, rounded
double Tw(int pixels);           // pixels to twips

// Places a control by its design position in twips (left, top, width, height).
void PlaceTw(QWidget* w, double left, double top, double width, double height);

// The part of the screen that windows may take: the primary screen less the
// desktop's panels.
QRect AvailableScreenArea();
// Stands in another area (a test's screen); an empty one gives the real back.
void SetAvailableScreenArea(const QRect& area);
// Moves a window so that the top-left corner of its frame lies at `topLeft`
// (pixels), or as near to it as keeps the whole frame within the available
// screen area; its size stays. A frame larger than the area keeps its top
// and left edges in it. A window whose frame is not known yet (not shown, or
// not yet framed by the window manager) is checked again once it is.
void MoveWithinScreenArea(QWidget* window, QPoint topLeft);

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
    // Moves the window by a stored or default place in twips (left and top
    // of its frame), kept whole within the available screen area.
    void MoveOnScreenTw(double left, double top);
    // Client area size in twips (the design size of the window).
    void SetClientSizeTw(double width, double height);
    // Places the window by a stored or default placement in twips (left and
    // top of its frame, width and height of its client area), never beyond
    // the available screen area, where a part of it could not be reached:
    // a larger size is cut to the area (never below 200 by 200 pixels), then
    // the window moves in until no edge of its frame lies outside.
    void PlaceOnScreenTw(double left, double top, double width, double height);
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
// then); the default quits the application's event loop.
void SetLastWindowHandler(std::function<void()> handler);
// The handler in force (to set it aside while one window replaces another).
std::function<void()> GetLastWindowHandler();

// Ends the program at once: no further unload handler runs.
void EndProgram();
void SetEndProgramHandler(std::function<void()> handler);

// Lets window messages through (a wait loop's body).
void DoEvents();

}  // namespace forms
