// Hiding and showing the shell's taskbar windows, with the work area.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"
#include "shared/app_state.h"

// The shell's windows, as FindWindowA looks them up (class, exact title).
inline constexpr const char* TASKBAR_CLASS = "Shell_TrayWnd";
inline constexpr const char* SECONDARY_TASKBAR_CLASS = "Shell_SecondaryTrayWnd";
inline constexpr const char* START_BUTTON_CLASS = "Button";
inline constexpr const char* START_BUTTON_TITLE = "Start";
// The taskbar's windows, each of which the shell may show by itself: the
// taskbar, a secondary display's taskbar, the Start button.
inline constexpr WindowName TASKBAR_WINDOWS[] = {
    {TASKBAR_CLASS, ""},
    {SECONDARY_TASKBAR_CLASS, ""},
    {START_BUTTON_CLASS, START_BUTTON_TITLE},
};

// Hides (show == 0) or shows the taskbar windows, the taskbars of every
// display among them. Hiding records the edge
// the taskbar sat on in state.lastTaskbarEdge and widens the work area to the
// whole primary screen; showing gives the taskbar's strip back on that edge,
// by limiting the work area to what the taskbar's rectangle leaves free, and
// only when the taskbar is hidden at that moment. The work area changes
// before any window, and the multi-display policy (when
// state.forceAllDisplays is nonzero) between the two. Without a taskbar
// nothing happens.
void HideShowTaskbar(std::int32_t show, AppStateRecord& state, Platform& platform);

// Shows the taskbar when it is hidden and hides it when it shows, as
// HideShowTaskbar does. Returns whether it showed it; empty, with nothing
// done, when there is no taskbar.
std::optional<bool> ToggleTaskbar(AppStateRecord& state, Platform& platform);

// Hides the taskbar windows again after the shell showed them, as a hide
// does but leaving the multi-display policy as the user's hide set it:
// another write could ask for consent at every show.
void RehideTaskbar(AppStateRecord& state, Platform& platform);

// Shows the taskbar as the hot key does, giving its strip back although the
// shell may have shown the taskbar itself a moment ago.
void ShowTaskbarAndItsStrip(AppStateRecord& state, Platform& platform);
