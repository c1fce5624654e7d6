#include "loads/LoadCombinationEntry.h"

#include "loads/LoadCombinationWindow.h"

#include <memory>

namespace {

std::function<void(frm01荷重組合せ&)>& ModalRunner()
{
    static std::function<void(frm01荷重組合せ&)> runner;
    return runner;
}

}  // namespace

bool LoadCombinationWindowAvailable() { return true; }

void SetLoadCombinationModalRunner(std::function<void(frm01荷重組合せ&)> runner) { ModalRunner() = std::move(runner); }

void ShowLoadCombinationWindow()
{
    // A fresh window for every opening: it starts from the table each time.
    auto window = std::make_unique<frm01荷重組合せ>();
    if (ModalRunner()) {
        window->Load();
        if (window->IsLoaded()) ModalRunner()(*window);
    } else {
        window->ShowModal();
    }
    if (window->IsLoaded()) window->Unload();
}
