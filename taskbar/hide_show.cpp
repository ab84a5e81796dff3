#include "taskbar/hide_show.h"

#include "taskbar/edge_arithmetic.h"
#include "taskbar/multimon_policy.h"

namespace {

constexpr std::int32_t MAY_RELAUNCH = 0;

// Shows or hides the secondary taskbar, the taskbar and the Start button, in
// that order, skipping any that does not exist.
void SetTaskbarWindowsShown(WindowHandle taskbar, bool shown, Desktop& desktop) {
    if (WindowHandle secondary = desktop.FindTopWindow(SECONDARY_TASKBAR_CLASS, "")) {
        desktop.SetShown(secondary, shown);
    }
    desktop.SetShown(taskbar, shown);
    if (WindowHandle start = desktop.FindTopWindow(START_BUTTON_CLASS, START_BUTTON_TITLE)) {
        desktop.SetShown(start, shown);
    }
}

}  // namespace

void HideShowTaskbar(std::int32_t show, AppStateRecord& state, Platform& platform) {
    Desktop& desktop = platform.desktop;
    const WindowHandle taskbar = desktop.FindTopWindow(TASKBAR_CLASS, "");
    if (taskbar == nullptr) {
        return;
    }
    const Rect bar = desktop.WindowRect(taskbar);
    const Rect workArea = desktop.WorkArea();
    const ScreenSize screen = desktop.PrimaryScreenSize();

    if (show != 0) {
        if (!desktop.IsShown(taskbar)) {
            desktop.SetWorkArea(WorkAreaBesideTaskbar(workArea, bar, state.lastTaskbarEdge));
        }
        if (state.forceAllDisplays != 0) {
            SetTaskbarNoMultimon(0, MAY_RELAUNCH, platform);
        }
        SetTaskbarWindowsShown(taskbar, true, desktop);
    } else {
        state.lastTaskbarEdge = EdgeFromWorkArea(workArea, screen, state.lastTaskbarEdge);
        desktop.SetWorkArea(Rect{0, 0, screen.width, screen.height});
        if (state.forceAllDisplays != 0) {
            SetTaskbarNoMultimon(1, MAY_RELAUNCH, platform);
        }
        SetTaskbarWindowsShown(taskbar, false, desktop);
    }
}
