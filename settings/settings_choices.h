// What the Settings dialog shows and what its OK stores, apart from the
// controls that show it.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "shared/app_state.h"

inline constexpr const char* RUN_KEY_PATH = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RUN_VALUE_NAME = "ShCloak";

struct SettingsChoices {
    bool ctrlShift;                // the modifier: Ctrl+Shift, or else Win
    std::uint32_t ctrlShiftIndex;  // position in the Ctrl+Shift letter list
    std::uint32_t winIndex;        // position in the Win letter list
    bool force;
    bool startAtLogon;

    friend bool operator==(const SettingsChoices&, const SettingsChoices&) = default;
};

// The stored settings over the defaults (Ctrl+Shift, "a", "x", both boxes
// clear), indices clamped to their lists. The boxes follow what is stored,
// not what is live.
SettingsChoices StoredSettingsChoices(Registry& registry);

// OK: replaces the toggle hot key on state.mainWindow by the chosen one,
// stores the choices and hands Force to state; when the settings key can be
// neither opened nor created, stores nothing and registers Ctrl+Shift+A.
// Then, only when the start-at-logon box differs from how it was at opening
// (state.startupAtOpen), adds or removes the program's Run value.
void ApplySettingsChoices(const SettingsChoices& chosen, AppStateRecord& state, Platform& platform);

// Adds the Run value holding the program's full path in quotes (a path
// with blanks would otherwise be ambiguous to the shell), or removes it. A
// path that cannot be read whole is never stored. Path and value are wide,
// so that a folder the ANSI code page cannot spell is stored as it is.
void SetStartAtLogon(bool on, Platform& platform);
