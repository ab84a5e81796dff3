// What each kind of instance does with its command-line switches.
#pragma once

#include "app/command_line.h"
#include "platform/platform.h"
#include "shared/app_state.h"

// A second instance acts on the first of "-show", "-hide", "-toggle",
// "-multi", "-nomulti" that it finds, and on nothing else.
enum class SecondInstanceAction {
    None,
    ShowTaskbar,
    HideTaskbar,
    ToggleTaskbar,   // "-toggle": shows a hidden taskbar, hides a shown one
    AllowMultimon,   // "-multi": taskbars on every display
    ForbidMultimon,  // "-nomulti": a taskbar on the primary display only
};

// The resident instance shows ("-show" wins), hides ("-hide" wins over
// "-toggle") or toggles, and separately may be asked to leave at once
// ("-exit").
enum class StartToggle { None, ShowTaskbar, HideTaskbar, ToggleTaskbar };

struct ResidentSwitches {
    StartToggle toggle;
    bool exit;
};

SecondInstanceAction SecondInstanceActionFor(const SwitchText& text);
ResidentSwitches ResidentSwitchesFor(const SwitchText& text);

// A start that only writes the multi-display policy: "-exit" with "-multi" or
// "-nomulti" and neither "-show" nor "-hide". The copy that a refused policy
// write starts is one, and it must never stay resident: it may come after
// the instance that started it has ended. For such a command line this
// writes the policy as a second instance would, never relaunching, and
// returns true; the process then ends with 0 before it takes the instance
// mutex or makes any window. Any other command line: false, nothing done.
bool RunPolicyWriteOnly(const SwitchText& text, Platform& platform);

// Carries out a second instance's switch; the process then exits with 0.
// "-show" and "-hide" are first sent to the resident instance's window
// (state.userAskedMsg), found by state.windowClassName and windowTitle, as
// what the user asked. "-toggle" is the resident instance's to carry out;
// only when none answers that it did does the second instance toggle.
void RunSecondInstance(const SwitchText& text, AppStateRecord& state, Platform& platform);

// A start's "-toggle" goes by the taskbar as the user left it, so it is
// decided before the instance adds its icon, which a shell may show its
// taskbar for (Wine's does): it becomes a show or a hide, or nothing
// without a taskbar. Other switches are returned as they are.
ResidentSwitches DecideStartToggle(ResidentSwitches switches, Platform& platform);

// Carries out the resident instance's start-up switch, records it as what
// the user asked for and, unless the instance leaves, starts the guard to
// match. Returns false when "-exit" asks the instance not to stay resident.
bool ApplyResidentSwitches(const ResidentSwitches& switches, AppStateRecord& state,
                           Platform& platform);
