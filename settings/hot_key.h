// The toggle hot key: a modifier choice and a letter index into its table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/hot_keys.h"

// The letters offered with each modifier, in alphabetical order, as the
// Settings dialog's sorted lists show them; a setting stores an index.
inline constexpr char WIN_KEY_LETTERS[] = "bghjklquwxyz";
inline constexpr char CTRL_SHIFT_KEY_LETTERS[] = "abcdefghijklmnopqrstuvwxyz";
constexpr std::uint32_t WIN_KEY_LETTER_COUNT = sizeof WIN_KEY_LETTERS - 1;
constexpr std::uint32_t CTRL_SHIFT_KEY_LETTER_COUNT = sizeof CTRL_SHIFT_KEY_LETTERS - 1;

constexpr std::uint32_t DEFAULT_WIN_KEY_INDEX = 9;         // "x"
constexpr std::uint32_t DEFAULT_CTRL_SHIFT_KEY_INDEX = 0;  // "a"

enum class HotKeyModifiers : std::uint32_t {
    CtrlShift = 0x0002 | 0x0004,  // MOD_CONTROL | MOD_SHIFT
    Win = 0x0008,                 // MOD_WIN
};

// An index beyond its table (any stored number may come back) selects the
// table's last letter.
std::uint32_t ClampWinKeyIndex(std::uint32_t index);
std::uint32_t ClampCtrlShiftKeyIndex(std::uint32_t index);

// Registers HOTKEY_ID_TOGGLE on window: Ctrl+Shift (useCtrlShift nonzero) or
// Win plus the letter at the clamped index, as the active keyboard layout
// types it. An earlier registration is not removed first.
void RegisterToggleHotKey(WindowHandle window, std::int32_t useCtrlShift, std::uint32_t index,
                          HotKeys& hotKeys);
