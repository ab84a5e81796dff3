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

// A second start's word of what the user asked (USER_ASKED_MESSAGE), once
// its id has been registered.
bool IsUserAsked(std::uint32_t message, const AppStateRecord& state);

// Either button going down on the icon opens the menu; releases, double
// clicks and moves do not.
bool TrayMouseOpensMenu(std::uint32_t mouseMessage);

// The toggle hot key: hides a shown taskbar and shows a hidden one, as what
// the user asked for; without a taskbar it does nothing.
void OnToggleHotKey(std::int32_t hotKeyId, AppStateRecord& state, Platform& platform);

// A second start is about to show or hide the taskbar itself: what the user
// asked for, recorded before it happens; or it asks this instance to toggle
// the taskbar, as the hot key does. Returns whether the request is known:
// those of a later version change nothing.
bool OnUserAsked(std::uintptr_t asked, AppStateRecord& state, Platform& platform);

// The main window is being destroyed: the edge is stored, the hot key let
// go and the guard stopped; the taskbar stays as it is.
void OnMainWindowDestroyed(AppStateRecord& state, Platform& platform);
