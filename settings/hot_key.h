// The toggle hot key: a modifier choice and a letter index into its table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/hot_keys.h"
#include "shared/app_state.h"

// The letters offered with each modifier, in alphabetical order, as the
// Settings dialog's sorted lists show them; a setting stores an index.
inline constexpr char WIN_KEY_LETTERS[] = "bghjklquwxyz";
inline constexpr char CTRL_SHIFT_KEY_LETTERS[] = "abcdefghijklmnopqrstuvwxyz";
constexpr std::uint32_t WIN_KEY_LETTER_COUNT = sizeof WIN_KEY_LETTERS - 1;
constexpr std::uint32_t CTRL_SHIFT_KEY_LETTER_COUNT = sizeof CTRL_SHIFT_KEY_LETTERS - 1;

enum class HotKeyModifiers : std::uint32_t {
    CtrlShift = 0x0002 | 0x0004,  // MOD_CONTROL | MOD_SHIFT
    Win = 0x0008,                 // MOD_WIN
};

// A toggle hot key as the settings keep it: the modifier and an index into
// that modifier's letter table (any number; it is clamped).
struct HotKeyChoice {
    bool ctrlShift;
    std::uint32_t index;
};

// An index beyond its table (any stored number may come back) selects the
// table's last letter.
std::uint32_t ClampWinKeyIndex(std::uint32_t index);
std::uint32_t ClampCtrlShiftKeyIndex(std::uint32_t index);

// The combination for a choice: the letter as the active keyboard layout
// types it, or, when the layout types no such letter, its own key.
KeyCombination ToggleKeyFor(HotKeyChoice choice, HotKeys& hotKeys);

// Registers HOTKEY_ID_TOGGLE on window and, when the system accepts it,
// records it in state.toggleKeyHeld. Returns whether it was accepted. An
// earlier registration is not removed first.
bool RegisterToggleHotKey(WindowHandle window, HotKeyChoice choice, AppStateRecord& state,
                          HotKeys& hotKeys);

// Replaces the toggle hot key on state.mainWindow by the choice. When the
// system refuses it (another program, or Windows itself, holds it), the
// combination held before is registered again and false returned. The
// combination already held is always accepted.
bool ReplaceToggleHotKey(HotKeyChoice choice, AppStateRecord& state, HotKeys& hotKeys);

// Lets the toggle hot key go from state.mainWindow, so that any program
// may register the combination again.
void ReleaseToggleHotKey(AppStateRecord& state, HotKeys& hotKeys);

// "Ctrl+Shift+Q" or "Win+X": the choice as a user reads it.
constexpr std::size_t HOT_KEY_NAME_SIZE = sizeof "Ctrl+Shift+Q";
void NameHotKey(HotKeyChoice choice, char (&name)[HOT_KEY_NAME_SIZE]);
