// Where windows go on a desktop of one or more screens, by the rule over the
// screens' available areas alone: no window is opened here.
#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Two screens side by side, the taller one right of the primary and reaching
// above it; one above the other; and two with panels (at the top of the
// primary, at the bottom of the other), so that no area starts at 0,0 but
// the primary's left edge.
const std::vector<QRect> kSideBySide = {{0, 0, 1366, 768}, {1366, -200, 1920, 1080}};
const std::vector<QRect> kStacked = {{0, 0, 1920, 1080}, {200, -900, 1600, 900}};
const std::vector<QRect> kPanels = {{0, 32, 1366, 736}, {1366, 0, 1920, 1040}};

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// Each case: the screens, the frame as stored, where it goes with its size
// kept, and where it goes when its size may be cut to the screen (frames
// never smaller than 200 x 200).
TEST(ScreenPlacement, AFrameOnAScreenStaysAndAnyOtherGoesWholeOntoTheScreenThatHoldsIt)
{
    struct Case {
        const char* what;
        const std::vector<QRect>& screens;
        QRect frame;
        QPoint kept;
        QRect sized;
    };
    const Case cases[] = {
        {"on the primary", kSideBySide, {100, 80, 749, 498}, {100, 80}, {100, 80, 749, 498}},
        {"on the second screen", kSideBySide, {2000, -150, 749, 498}, {2000, -150}, {2000, -150, 749, 498}},
        {"filling the second screen", kSideBySide, {1366, -200, 1920, 1080}, {1366, -200}, {1366, -200, 1920, 1080}},
        {"straddling, more on the second", kSideBySide, {1166, 100, 749, 498}, {1366, 100}, {1366, 100, 749, 498}},
        {"straddling, more on the primary", kSideBySide, {900, 100, 749, 498}, {617, 100}, {617, 100, 749, 498}},
        {"above the primary, beside the second's top", kSideBySide, {900, -180, 300, 200}, {900, 0}, {900, 0, 300, 200}},
        {"on neither, below the primary", kSideBySide, {100, 900, 749, 498}, {100, 270}, {100, 270, 749, 498}},
        {"on neither, right of the second", kSideBySide, {4000, 300, 749, 498}, {2537, 300}, {2537, 300, 749, 498}},
        {"on neither, far below both", kSideBySide, {1400, 3000, 749, 498}, {1400, 382}, {1400, 382, 749, 498}},
        {"larger than the primary, below it", kSideBySide, {-400, 900, 1600, 1000}, {0, 0}, {0, 0, 1366, 768}},
        {"larger than the second, right of it", kSideBySide, {3500, 0, 2400, 1200}, {1366, -200}, {1366, -200, 1920, 1080}},
        {"smaller than allowed, at the second's edge", kSideBySide, {3200, 0, 100, 100}, {3186, 0}, {3086, 0, 200, 200}},
        {"on the upper screen", kStacked, {300, -800, 749, 498}, {300, -800}, {300, -800, 749, 498}},
        {"straddling, more on the upper", kStacked, {300, -300, 749, 498}, {300, -498}, {300, -498, 749, 498}},
        {"beside the upper, above the lower", kStacked, {1850, -400, 300, 200}, {1500, -400}, {1500, -400, 300, 200}},
        {"above both", kStacked, {-500, -3000, 749, 498}, {200, -900}, {200, -900, 749, 498}},
        {"under the primary's panel", kPanels, {100, 10, 749, 498}, {100, 32}, {100, 32, 749, 498}},
        {"below the primary's panel", kPanels, {100, 40, 749, 498}, {100, 40}, {100, 40, 749, 498}},
        {"over the second's panel", kPanels, {2000, 700, 749, 498}, {2000, 542}, {2000, 542, 749, 498}},
        {"larger than the primary, on it", kPanels, {-50, 0, 1600, 1000}, {0, 32}, {0, 32, 1366, 736}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(forms::KeptOnScreens(c.screens, c.frame), c.kept);
        const QRect sized = forms::SizedAndKeptOnScreens(c.screens, c.frame, {200, 200});
        EXPECT_EQ(sized, c.sized) << Text(sized);
    }
}

// A window placed as asked, in the frame the window manager gives it: a frame
// with a title bar of 20 pixels and a border of 1, 5 at the bottom where the
// window can be resized (the window manager leaves that border off a window
// that cannot). Its frame, never its inside, is centred and kept within the
// screen, and a window that may change size is cut to the screen by its
// frame, whichever frame it wears.
TEST(ScreenPlacement, AWindowIsPlacedByTheFrameItWears)
{
    const QMargins resizable(1, 20, 1, 5), fixed(1, 20, 1, 1);
    const std::vector<QRect> laptop = {{0, 0, 1366, 768}};
    // A window of its screen's size, its design size of 800 x 600 centred.
    forms::PlaceAsked screenSized;
    screenSized.centreOver = laptop[0];
    screenSized.centredClient = {800, 600};
    screenSized.client = {1366, 768};
    screenSized.smallest = {200, 200};
    forms::PlaceAsked storedTooLarge = screenSized;
    storedTooLarge.left = 1400;
    storedTooLarge.top = -150;
    storedTooLarge.client = {2000, 1200};
    forms::PlaceAsked storedSmall = storedTooLarge;
    storedSmall.left = 3200;
    storedSmall.top = 0;
    storedSmall.client = {100, 100};
    // The main menu: 749 x 498, centred on its screen, or stored.
    forms::PlaceAsked menu;
    menu.centreOver = laptop[0];
    menu.client = {749, 498};
    forms::PlaceAsked menuOnSecond = menu;
    menuOnSecond.centreOver = kSideBySide[1];
    forms::PlaceAsked menuTopStored = menu;
    menuTopStored.top = 700;
    forms::PlaceAsked menuStored = menu;
    menuStored.left = 800;
    menuStored.top = 400;
    // A dialog of 300 x 200 centred over a window in the primary's corner,
    // kept on the primary.
    forms::PlaceAsked dialog;
    dialog.centreOver = {1200, 600, 300, 200};
    dialog.client = {300, 200};
    dialog.keepIn = kSideBySide[0];

    struct Case {
        const char* what;
        const std::vector<QRect>& screens;
        const forms::PlaceAsked& asked;
        QMargins margins;
        QRect frame;
    };
    const Case cases[] = {
        {"screen-sized, resizable frame", laptop, screenSized, resizable, {0, 0, 1366, 768}},
        {"screen-sized, frame without the lower border", laptop, screenSized, fixed, {0, 0, 1366, 768}},
        {"screen-sized, no frame", laptop, screenSized, {}, {0, 0, 1366, 768}},
        {"stored larger than the second screen", kSideBySide, storedTooLarge, resizable, {1366, -200, 1920, 1080}},
        {"stored smaller than allowed, at the second's edge", kSideBySide, storedSmall, resizable, {3084, 0, 202, 225}},
        {"centred by its frame", laptop, menu, fixed, {307, 124, 751, 519}},
        {"centred, no frame", laptop, menu, {}, {308, 135, 749, 498}},
        {"centred on the second screen", kSideBySide, menuOnSecond, fixed, {1950, 80, 751, 519}},
        {"top stored beyond the screen, left centred", laptop, menuTopStored, fixed, {307, 249, 751, 519}},
        {"stored over the edge of both screens", kSideBySide, menuStored, fixed, {615, 249, 751, 519}},
        {"centred over a window, kept on its screen", kSideBySide, dialog, fixed, {1064, 547, 302, 221}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect frame = forms::PlacedFrame(c.screens, c.margins, c.asked);
        EXPECT_EQ(frame, c.frame) << Text(frame);
    }
}

// The screen that holds a frame overlapping none is the nearest one: by the
// gap between their edges, not by their centres.
TEST(ScreenPlacement, TheNearestScreenIsTheOneWhoseEdgeIsNearest)
{
    const std::vector<QRect> screens = {{0, 0, 3000, 1000}, {3000, 1100, 400, 300}};
    // 50 pixels from the small one, 150 from the wide one.
    EXPECT_EQ(forms::HoldingScreenArea(screens, {2900, 1150, 50, 50}), screens[1]);
    // 40 pixels below the wide one, 50 across and 10 up from the small one,
    // whose centre is far nearer.
    EXPECT_EQ(forms::HoldingScreenArea(screens, {2900, 1040, 50, 50}), screens[0]);
    EXPECT_EQ(forms::HoldingScreenArea({}, {0, 0, 10, 10}), QRect());
    EXPECT_EQ(forms::KeptOnScreens({}, {5, 6, 10, 10}), QPoint(5, 6));
}

}  // namespace
