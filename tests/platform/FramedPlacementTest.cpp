// Windows placed before they have a frame, with no shown window to take one
// from: once the platform frames them (Qt's offscreen platform: 2 pixels on
// every side), they are placed again by the frame they got, unless they were
// moved meanwhile.
#include "platform/Forms.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TEST(FramedPlacement, AWindowIsPlacedAgainByTheFrameItGets)
{
    const QRect screen(0, 32, 1366, 736);
    forms::SetAvailableScreenArea(screen);
    const std::optional<double> none;
    struct Case {
        const char* what;
        bool fixedSize;                               // as the main menu
        std::function<void(forms::Form&)> place;
        QRect frame;
        QSize client;
    };
    const Case cases[] = {
        {"screen-sized, as on a first opening", false,
         [&](forms::Form& w) { w.PlaceOnScreenTw(none, none, none, none, screen); }, screen, {1362, 732}},
        {"stored larger than the screen", false,
         [&](forms::Form& w) { w.PlaceOnScreenTw(0, 0, 27000, 16500, screen); }, screen, {1362, 732}},
        {"stored within the screen", false,
         [&](forms::Form& w) { w.PlaceOnScreenTw(1500, 1500, 9000, 6000, screen); }, {100, 100, 604, 404}, {600, 400}},
        {"centred, as on a first opening", true, [&](forms::Form& w) { w.MoveOnScreenTw(none, none, screen); },
         {306, 149, 753, 502}, {749, 498}},
        {"centred, then moved by the program", true,
         [&](forms::Form& w) {
             w.MoveOnScreenTw(none, none, screen);
             w.move(40, 50);
         },
         {40, 50, 753, 502}, {749, 498}},
        {"stored below the screen", true, [&](forms::Form& w) { w.MoveOnScreenTw(1500, 15000, screen); },
         {100, 266, 753, 502}, {749, 498}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto w = std::make_unique<forms::Form>(QStringLiteral("frmTest"));
        w->resize(800, 600);
        if (c.fixedSize) w->setFixedSize(749, 498);
        c.place(*w);
        w->show();
        QApplication::processEvents();
        const QRect frame = w->frameGeometry();
        EXPECT_EQ(frame, c.frame) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        EXPECT_EQ(w->size(), c.client) << w->width() << "x" << w->height();
    }
    forms::SetAvailableScreenArea(QRect());
}

}  // namespace
