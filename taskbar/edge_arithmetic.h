// The work-area arithmetic of the taskbar's edge.
#pragma once

#include "platform/desktop.h"
#include "shared/taskbar_edge.h"

// The edge that the work area leaves free for the taskbar, tested left, top,
// right, bottom; `previous` when the work area already spans the screen.
TaskbarEdge EdgeFromWorkArea(const Rect& workArea, ScreenSize screen, TaskbarEdge previous);

// The work area narrowed by the taskbar's thickness on `edge`.
Rect WorkAreaWithStrip(Rect workArea, const Rect& taskbar, TaskbarEdge edge);
