// The work-area arithmetic of the taskbar's edge.
#pragma once

#include "platform/desktop.h"
#include "shared/taskbar_edge.h"

// The edge that the work area leaves free for the taskbar, tested left, top,
// right, bottom; `previous` when the work area already spans the screen.
TaskbarEdge EdgeFromWorkArea(const Rect& workArea, ScreenSize screen, TaskbarEdge previous);

// The work area limited to what the taskbar's rectangle leaves free on
// `edge` (any value but left, right and top is the bottom). It clips rather
// than subtracts, so that a work area that the shell has already narrowed
// again, or an auto-hiding taskbar lying mostly off screen, gives up no
// strip that nothing fills. A taskbar rectangle that is all zero (it could
// not be read) or would leave no work area leaves the work area as it is.
Rect WorkAreaBesideTaskbar(const Rect& workArea, const Rect& taskbar, TaskbarEdge edge);
