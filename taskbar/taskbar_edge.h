// Which screen edge the taskbar sat on, and the work-area arithmetic for it.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

// Persisted as a 32-bit number; any value may come back from storage, and
// every value other than Left, Right and Top is handled as Bottom.
enum class TaskbarEdge : std::uint32_t {
    NotSeen = 0,
    Left = 1,
    Right = 2,
    Top = 3,
    Bottom = 4,
};

// The edge that the work area leaves free for the taskbar, tested left, top,
// right, bottom; `previous` when the work area already spans the screen.
TaskbarEdge EdgeFromWorkArea(const Rect& workArea, ScreenSize screen, TaskbarEdge previous);

// The work area narrowed by the taskbar's thickness on `edge`.
Rect WorkAreaWithStrip(Rect workArea, const Rect& taskbar, TaskbarEdge edge);
