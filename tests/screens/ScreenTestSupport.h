// Driving screens through their real widgets (common/WidgetEvents.h) and
// opening them as the user has them.
#pragma once

#include "common/Hooks.h"
#include "common/TestEnv.h"
#include "common/WidgetEvents.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"

#include <QPushButton>
#include <functional>

namespace screentest {

// A new, empty project; `onMenu` runs where the main menu would be shown,
// until what this returns ends.
using MainMenuHook = testenv::HookFor<std::function<void()>>;
[[nodiscard]] inline MainMenuHook PrepareScreenTest(std::function<void()> onMenu = [] {})
{
    inputtest::MakeEmptyDatabase();
    Program().ProgramVersion = "1.41";
    Program().WarnOnCancel = false;
    return MainMenuHook(SetShowMainMenuHandler, std::move(onMenu));
}

// Opens the input screen of `code` through the framework, makes it the active
// window and gives it a fresh script.
template <class Screen>
void OpenScreen(int16_t code, Screen*& s, ui::ScriptedServices*& script)
{
    Program().ScreenCode = code;
    ASSERT_TRUE(StartInputForm());
    s = dynamic_cast<Screen*>(Program().CurrentInputForm.data());
    ASSERT_NE(s, nullptr);
    s->activateWindow();
    QApplication::setActiveWindow(s);
    script = &testenv::ResetScript();
}

}  // namespace screentest
