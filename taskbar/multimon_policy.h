// The shell's per-user policy of a taskbar on the primary display only.
#pragma once

#include <cstdint>

#include "platform/platform.h"

inline constexpr const char* POLICY_KEY_PATH = "Software\\Policies\\Microsoft\\Windows\\Explorer";
inline constexpr const char* POLICY_VALUE_NAME = "TaskbarNoMultimon";

// Stores TaskbarNoMultimon = value (1: primary display only, 0: all
// displays), creating the key when missing. When the write is refused with
// access denied and noRelaunch is zero, starts the program's own file
// elevated with the switches that repeat the write and end the copy
// ("-nomulti -exit" or "-multi -exit"), and does not wait for it; but only
// when elevation keeps the user's own account, so that the copy writes the
// user's own hive.
// The owner window is brought to the foreground and owns the elevation
// prompt: without one, Windows only flashes a button on the taskbar, which
// may well be hidden, and the copy waits for an answer no one can give.
void SetTaskbarNoMultimon(std::uint32_t value, std::int32_t noRelaunch, WindowHandle owner,
                          Platform& platform);
