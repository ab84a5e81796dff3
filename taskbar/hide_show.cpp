#include "taskbar/hide_show.h"

#include "taskbar/edge_arithmetic.h"
#include "taskbar/multimon_policy.h"

namespace {

constexpr std::int32_t MAY_RELAUNCH = 0;

enum class Policy { Switch, Leave };

// The elevation prompt of a relaunch belongs to the main window. It exists
// whenever Force is on: only the resident instance loads Force, while its
// window is being created, and its hot key and start-up switches come after
// the window has been made (a first run's Settings dialog, the one message
// loop within the creation, runs once state.mainWindow has been set); a
// second instance never loads Force, so it never relaunches.
void SwitchPolicy(std::uint32_t value, const AppStateRecord& state, Platform& platform) {
    if (state.forceAllDisplays != 0) {
        SetTaskbarNoMultimon(value, MAY_RELAUNCH, state.mainWindow, platform);
    }
}

class SetEachShown final : public WindowVisitor {
public:
    SetEachShown(Desktop& desktop, bool shown) : desktop_(desktop), shown_(shown) {}
    void Visit(WindowHandle window) override { desktop_.SetShown(window, shown_); }

private:
    Desktop& desktop_;
    bool shown_;
};

// Shows or hides the secondary taskbars (one per further display), the
// taskbar and the Start button, in that order, skipping any that does not
// exist.
void SetTaskbarWindowsShown(WindowHandle taskbar, bool shown, Desktop& desktop) {
    SetEachShown setEach(desktop, shown);
    desktop.VisitTopWindows(SECONDARY_TASKBAR_CLASS, "", setEach);
    desktop.SetShown(taskbar, shown);
    if (WindowHandle start = desktop.FindTopWindow(START_BUTTON_CLASS, START_BUTTON_TITLE)) {
        desktop.SetShown(start, shown);
    }
}

// Hides or shows the taskbar that was found; whether it shows is read when
// showing needs it, unless the caller has read it already.
void HideShowFound(WindowHandle taskbar, std::optional<bool> shownNow, std::int32_t show,
                   Policy policy, AppStateRecord& state, Platform& platform) {
    Desktop& desktop = platform.desktop;
    const Rect bar = desktop.WindowRect(taskbar);
    const Rect workArea = desktop.WorkArea();
    const ScreenSize screen = desktop.PrimaryScreenSize();

    if (show != 0) {
        if (!(shownNow ? *shownNow : desktop.IsShown(taskbar))) {
            desktop.SetWorkArea(WorkAreaBesideTaskbar(workArea, bar, state.lastTaskbarEdge));
        }
        if (policy == Policy::Switch) {
            SwitchPolicy(0, state, platform);
        }
        SetTaskbarWindowsShown(taskbar, true, desktop);
    } else {
        state.lastTaskbarEdge = EdgeFromWorkArea(workArea, screen, state.lastTaskbarEdge);
        desktop.SetWorkArea(Rect{0, 0, screen.width, screen.height});
        if (policy == Policy::Switch) {
            SwitchPolicy(1, state, platform);
        }
        SetTaskbarWindowsShown(taskbar, false, desktop);
    }
}

}  // namespace

void HideShowTaskbar(std::int32_t show, AppStateRecord& state, Platform& platform) {
    const WindowHandle taskbar = platform.desktop.FindTopWindow(TASKBAR_CLASS, "");
    if (taskbar == nullptr) {
        return;
    }
    HideShowFound(taskbar, std::nullopt, show, Policy::Switch, state, platform);
}

std::optional<bool> ToggleTaskbar(AppStateRecord& state, Platform& platform) {
    const WindowHandle taskbar = platform.desktop.FindTopWindow(TASKBAR_CLASS, "");
    if (taskbar == nullptr) {
        return std::nullopt;
    }
    const bool showing = !platform.desktop.IsShown(taskbar);
    HideShowFound(taskbar, !showing, showing ? 1 : 0, Policy::Switch, state, platform);
    return showing;
}

void RehideTaskbar(AppStateRecord& state, Platform& platform) {
    if (const WindowHandle taskbar = platform.desktop.FindTopWindow(TASKBAR_CLASS, "")) {
        HideShowFound(taskbar, std::nullopt, 0, Policy::Leave, state, platform);
    }
}

// Taken as hidden: the strip is clipped to what the taskbar leaves free, so
// a work area that the shell has narrowed already stays as it is.
void ShowTaskbarAndItsStrip(AppStateRecord& state, Platform& platform) {
    if (const WindowHandle taskbar = platform.desktop.FindTopWindow(TASKBAR_CLASS, "")) {
        HideShowFound(taskbar, false, 1, Policy::Switch, state, platform);
    }
}
