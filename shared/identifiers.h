// Identifiers shared between the main window and the code that decides for
// it; the resources' own ids are in res/resource.h.
#pragma once

#include <cstdint>

constexpr std::int32_t HOTKEY_ID_TOGGLE = 2136;  // the one global hot key
constexpr std::uint32_t WM_TRAY_NOTIFY = 2135;   // the tray icon's callback message
// The guard's report that the shell showed one of the taskbar's windows;
// lParam holds the event's time.
constexpr std::uint32_t WM_TASKBAR_SHOWN = 2137;
