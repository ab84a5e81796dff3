// The settings key of the current user, and its one owner: the value
// names, what each stands for when absent, how a read value is taken, the
// reads at start and when the Settings dialog opens, and the writes at OK
// and at Exit.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "settings/hot_key.h"
#include "shared/app_state.h"

inline constexpr const char* SETTINGS_KEY_PATH = "SOFTWARE\\Quillfen\\Shelfcloak";

// All values are 4-byte REG_DWORDs, read whatever type they have.
inline constexpr const char* VALUE_FORCE = "Force";  // nonzero: Force on
// Nonzero: the hot key uses Ctrl+Shift; 0: Win. Absent: no hot key at start.
inline constexpr const char* VALUE_USES_CTRL_SHIFT = "System";
// The start-at-logon box as OK left it; the Run value itself is apart.
inline constexpr const char* VALUE_START_AT_LOGON_BOX = "StartUp";
inline constexpr const char* VALUE_WIN_LETTER = "WinKey";  // into WIN_KEY_LETTERS
inline constexpr const char* VALUE_CTRL_SHIFT_LETTER =
    "CtrlShiftKey";  // into CTRL_SHIFT_KEY_LETTERS
inline constexpr const char* VALUE_LAST_EDGE = "LastSeenTaskbarPosition";  // a TaskbarEdge
// Nonzero: a hidden taskbar is kept hidden until the user shows it.
// Absent, as in every settings key from before it: off.
inline constexpr const char* VALUE_STAY_HIDDEN = "StayHidden";

// The letters that absent or unreadable letter values stand for.
constexpr std::uint32_t DEFAULT_WIN_LETTER = 9;         // "x"
constexpr std::uint32_t DEFAULT_CTRL_SHIFT_LETTER = 0;  // "a"
// Ctrl+Shift+A: the hot key of a first run, and of settings that cannot be
// stored.
inline constexpr HotKeyChoice DEFAULT_HOT_KEY = {true, DEFAULT_CTRL_SHIFT_LETTER};

// What the Settings dialog shows, and what its OK stores.
struct SettingsChoices {
    bool ctrlShift = true;             // the modifier: Ctrl+Shift, or else Win
    std::uint32_t ctrlShiftIndex = 0;  // position in the Ctrl+Shift letter list
    std::uint32_t winIndex = 0;        // position in the Win letter list
    bool force = false;
    bool startAtLogon = false;
    bool stayHidden = false;

    friend bool operator==(const SettingsChoices&, const SettingsChoices&) = default;
};

enum class SettingsLoad { Stored, FirstRun };

// Runs while the main window is created. Reads Force, StayHidden and the
// last edge into state and registers the toggle hot key on window as
// stored; without a stored modifier no hot key is registered, and a refused
// one stays silent, as there is nothing yet to show it on. On a first run (the key cannot be
// opened for reading) registers Ctrl+Shift+A instead; the Settings dialog,
// which the caller then runs, registers the user's choice on the same
// window, the main window by then.
SettingsLoad LoadSettingsAndRegisterHotKey(WindowHandle window, AppStateRecord& state,
                                           Platform& platform);

// What the Settings dialog shows when it opens: the stored settings over
// the defaults (Ctrl+Shift, "a", "x", every box clear), letters clamped to
// their lists. The boxes follow what is stored, not what is live.
SettingsChoices StoredSettingsChoices(Registry& registry);

// OK's write of every choice, in a key it creates when needed. False, with
// nothing written, when the key can be neither opened nor created.
bool StoreSettingsChoices(const SettingsChoices& chosen, Registry& registry);

// Runs when the main window is destroyed: stores state.lastTaskbarEdge,
// creating the key when needed; stores nothing when it can do neither.
void SaveLastTaskbarEdge(const AppStateRecord& state, Platform& platform);
