// What each kind of instance does with its command-line switches.
#pragma once

#include "app/app_state.h"
#include "app/command_line.h"
#include "platform/platform.h"

// A second instance acts on the first of "-show", "-hide", "-multi",
// "-nomulti" that it finds, and on nothing else.
enum class SecondInstanceAction {
    None,
    ShowTaskbar,
    HideTaskbar,
    AllowMultimon,   // "-multi": taskbars on every display
    ForbidMultimon,  // "-nomulti": a taskbar on the primary display only
};

// The resident instance shows ("-show" wins) or hides, and separately may
// be asked to leave at once ("-exit").
enum class StartToggle { None, ShowTaskbar, HideTaskbar };

struct ResidentSwitches {
    StartToggle toggle;
    bool exit;
};

SecondInstanceAction SecondInstanceActionFor(const SwitchText& text);
ResidentSwitches ResidentSwitchesFor(const SwitchText& text);

// Carries out a second instance's switch; the process then exits with 0.
void RunSecondInstance(const char* commandLine, AppStateRecord& state, Platform& platform);

// Carries out the resident instance's start-up switch and sets which way the
// next toggle press goes. Returns false when "-exit" asks the instance not
// to stay resident.
bool ApplyResidentSwitches(const char* commandLine, AppStateRecord& state, Platform& platform);
