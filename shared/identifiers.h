// Identifiers shared between the main window, the tray menu and the dialogs.
#pragma once

#include <cstdint>

constexpr std::int32_t HOTKEY_ID_TOGGLE = 2136;  // the one global hot key
constexpr std::uint32_t WM_TRAY_NOTIFY = 2135;   // the tray icon's callback message
constexpr std::uint16_t CMD_SETTINGS = 32772;    // tray menu "Settings..."
constexpr std::uint16_t CMD_ABOUT = 57664;       // tray menu "About ..."
constexpr std::uint16_t CMD_EXIT = 57665;        // tray menu "Exit"
