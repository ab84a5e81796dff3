// The settings key of the current user: its layout, the load at start and
// the edge saved at exit.
#pragma once

#include "platform/platform.h"
#include "shared/app_state.h"

inline constexpr const char* SETTINGS_KEY_PATH = "SOFTWARE\\Quillfen\\Shelfcloak";

// All values are 4-byte REG_DWORDs.
inline constexpr const char* VALUE_FORCE = "Force";      // nonzero: force on
inline constexpr const char* VALUE_SYSTEM = "System";    // nonzero: Ctrl+Shift, 0: Win
inline constexpr const char* VALUE_STARTUP = "StartUp";  // the start-at-logon box
inline constexpr const char* VALUE_WIN_KEY = "WinKey";   // index into WIN_KEY_LETTERS
inline constexpr const char* VALUE_CTRL_SHIFT_KEY =
    "CtrlShiftKey";  // index into CTRL_SHIFT_KEY_LETTERS
inline constexpr const char* VALUE_LAST_EDGE = "LastSeenTaskbarPosition";  // a TaskbarEdge

// Runs while the main window is created. Reads Force and the last edge into
// state and registers the toggle hot key on window as stored; without a
// stored modifier no hot key is registered. On a first run (the key cannot
// be opened for reading) registers Ctrl+Shift+A instead, makes window the
// main window if none is set yet, and runs the Settings dialog before
// returning.
void LoadSettingsAndRegisterHotKey(WindowHandle window, AppStateRecord& state, Platform& platform);

// Runs when the main window is destroyed: stores state.lastTaskbarEdge,
// creating the key when needed; stores nothing when it can do neither.
void SaveLastTaskbarEdge(const AppStateRecord& state, Platform& platform);
