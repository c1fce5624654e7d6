// A program-wide hook (a handler, a dialog runner, the print target, the
// screens' areas, the user-answer script) that a test helper installs for as
// long as it lives: when it ends, the hook it replaced is back. A hook that
// reaches into the helper can then never be called once the helper is gone.
#pragma once

#include <optional>
#include <utility>

namespace testenv {

template <typename Hook>
class HookFor {
public:
    // Installs a hook and returns the one it replaces.
    using Setter = Hook (*)(Hook);

    HookFor() = default;   // installs nothing
    HookFor(Setter set, Hook hook) : set_(set), before_(set(std::move(hook))) {}
    ~HookFor() { PutBack(); }

    // Changes nothing now, but puts the hook in force now back at its end,
    // whatever is installed meanwhile.
    static HookFor Keeping(Setter set)
    {
        HookFor kept(set, Hook{});
        set(*kept.before_);
        return kept;
    }

    HookFor(const HookFor&) = delete;
    HookFor& operator=(const HookFor&) = delete;
    HookFor(HookFor&& other) noexcept : set_(other.set_), before_(std::exchange(other.before_, std::nullopt)) {}
    HookFor& operator=(HookFor&& other) noexcept
    {
        if (this != &other) {
            PutBack();
            set_ = other.set_;
            before_ = std::exchange(other.before_, std::nullopt);
        }
        return *this;
    }

    // Installs another hook in place of this one's; the hook this one replaced
    // still comes back at its end.
    void Replace(Hook hook)
    {
        if (before_) set_(std::move(hook));
    }

    // Puts the hook this one replaced back now.
    void PutBack()
    {
        if (before_) set_(std::exchange(before_, std::nullopt).value());
    }

private:
    Setter set_ = nullptr;
    std::optional<Hook> before_;
};

template <typename Hook, typename Value>
HookFor(Hook (*)(Hook), Value) -> HookFor<Hook>;

}  // namespace testenv
