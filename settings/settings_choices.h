// What the Settings dialog shows and what its OK stores, apart from the
// controls that show it.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "settings/hot_key.h"
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

// The hot key that the choices name.
HotKeyChoice ChosenHotKey(const SettingsChoices& chosen);

// What OK came to: applied, or nothing changed because the system refused
// the hot key that it tried.
struct OkOutcome {
    bool applied;
    HotKeyChoice refused;  // when not applied
};

// OK: first replaces the toggle hot key on state.mainWindow by the chosen
// one. When the system refuses it, the hot key held before stays, nothing
// else changes, and the refused combination is reported. Otherwise stores
// the choices and hands Force to state; when the settings key can be
// neither opened nor created, stores nothing and registers Ctrl+Shift+A
// instead. Then, only when the start-at-logon box differs from how it was
// at opening (state.startupAtOpen), adds or removes the program's Run value.
OkOutcome ApplySettingsChoices(const SettingsChoices& chosen, AppStateRecord& state,
                               Platform& platform);

// What the Settings dialog tells the user when OK's hot key is refused: the
// combination, that it is taken, and what to do.
constexpr std::size_t REFUSED_MESSAGE_SIZE = 160;
void RefusedHotKeyMessage(HotKeyChoice refused, char (&text)[REFUSED_MESSAGE_SIZE]);

// Adds the Run value holding the program's full path in quotes (a path
// with blanks would otherwise be ambiguous to the shell), or removes it. A
// path that cannot be read whole is never stored. Path and value are wide,
// so that a folder the ANSI code page cannot spell is stored as it is.
void SetStartAtLogon(bool on, Platform& platform);
