// Where the arrow keys are to move the focus from each of the nine view
// boxes, as the frame diagram window and the preview's layout mode show them,
// and the walk round them that both windows' tests take.
#pragma once

#include "common/WidgetEvents.h"

#include <QApplication>
#include <QLineEdit>
#include <functional>
#include <utility>

#include <gtest/gtest.h>

namespace testenv {

struct ViewBoxRingStep {
    const char* from;
    const char* up;
    const char* down;   // Enter moves here too
    const char* left;
    const char* right;
};

inline constexpr ViewBoxRingStep kViewBoxRing[] = {
    {"txtrf", "txtCoordSize", "txtθf", "txtCoordSize", "txtθf"},
    {"txtθf", "txtrf", "txtφf", "txtrf", "txtφf"},
    {"txtφf", "txtθf", "txtX", "txtθf", "txtX"},
    {"txtX", "txtφf", "txtY", "txtφf", "txtCoordX"},
    {"txtY", "txtX", "txtzoom", "txtX", "txtCoordY"},
    {"txtzoom", "txtY", "txtCoordX", "txtY", "txtCoordSize"},
    {"txtCoordX", "txtzoom", "txtCoordY", "txtX", "txtCoordY"},
    {"txtCoordY", "txtCoordX", "txtCoordSize", "txtY", "txtCoordSize"},
    {"txtCoordSize", "txtCoordY", "txtrf", "txtzoom", "txtrf"},
};

// In each box of the ring, focused afresh, each arrow key and Enter move the
// focus to the box the table names (`box` finds a box by its name); in the
// look-at box "txtra" the arrows move the cursor. With `beeps` (the count of
// beeps), the focus is also checked by name and no key is to beep.
inline void WalkViewBoxRing(const std::function<QLineEdit*(const char*)>& box, const int* beeps = nullptr)
{
    for (const ViewBoxRingStep& c : kViewBoxRing) {
        SCOPED_TRACE(c.from);
        const std::pair<int, const char*> moves[] = {
            {Qt::Key_Up, c.up}, {Qt::Key_Down, c.down}, {Qt::Key_Return, c.down}, {Qt::Key_Left, c.left}, {Qt::Key_Right, c.right}};
        for (const auto& [key, target] : moves) {
            box(c.from)->setFocus();
            const int beepsBefore = beeps ? *beeps : 0;
            screentest::SendKey(box(c.from), key, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
            EXPECT_EQ(QApplication::focusWidget(), box(target)) << c.from << " -> " << target;
            if (beeps) {
                EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
                          QString::fromUtf8(target));
                EXPECT_EQ(*beeps, beepsBefore);
            }
        }
    }
    QLineEdit* ra = box("txtra");
    ra->setText(QStringLiteral("100"));
    ra->setFocus();
    ra->setCursorPosition(3);
    screentest::SendKey(ra, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), ra);
    EXPECT_EQ(ra->cursorPosition(), 2);
}

}  // namespace testenv
