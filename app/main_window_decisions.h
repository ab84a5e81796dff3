// What the main window does with each message, decided without the platform.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "shared/app_state.h"

// Mouse messages the tray icon reports in its callback's lParam.
constexpr std::uint32_t TRAY_LEFT_BUTTON_DOWN = 0x0201;   // WM_LBUTTONDOWN
constexpr std::uint32_t TRAY_RIGHT_BUTTON_DOWN = 0x0204;  // WM_RBUTTONDOWN

// The shell's "TaskbarCreated" broadcast, once its id has been registered;
// before that the id is 0, which is also WM_NULL and must not match.
bool IsTaskbarCreated(std::uint32_t message, const AppStateRecord& state);

// Either button going down on the icon opens the menu; releases, double
// clicks and moves do not.
bool TrayMouseOpensMenu(std::uint32_t mouseMessage);

// The toggle hot key: hides a shown taskbar and shows a hidden one, and
// records which way the next press goes; without a taskbar it does nothing.
void OnToggleHotKey(std::int32_t hotKeyId, AppStateRecord& state, Platform& platform);

// The main window is being destroyed: the edge is stored and the hot key
// let go; the taskbar stays as it is.
void OnMainWindowDestroyed(AppStateRecord& state, Platform& platform);
