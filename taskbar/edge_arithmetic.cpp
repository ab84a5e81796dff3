#include "taskbar/edge_arithmetic.h"

#include <algorithm>

TaskbarEdge EdgeFromWorkArea(const Rect& workArea, ScreenSize screen, TaskbarEdge previous) {
    if (workArea.left != 0) {
        return TaskbarEdge::Left;
    }
    if (workArea.top != 0) {
        return TaskbarEdge::Top;
    }
    if (workArea.right < screen.width) {
        return TaskbarEdge::Right;
    }
    if (workArea.bottom < screen.height) {
        return TaskbarEdge::Bottom;
    }
    return previous;
}

Rect WorkAreaBesideTaskbar(const Rect& workArea, const Rect& taskbar, TaskbarEdge edge) {
    Rect clipped = workArea;
    switch (edge) {
        case TaskbarEdge::Left:
            clipped.left = std::max(workArea.left, taskbar.right);
            break;
        case TaskbarEdge::Right:
            clipped.right = std::min(workArea.right, taskbar.left);
            break;
        case TaskbarEdge::Top:
            clipped.top = std::max(workArea.top, taskbar.bottom);
            break;
        default:
            clipped.bottom = std::min(workArea.bottom, taskbar.top);
            break;
    }
    // Rectangles come from another process and may be anything. One that
    // could not be read (all zero) clips nothing on the left or the top, and
    // would leave no work area at the bottom or the right, as would a
    // taskbar that has moved to another edge: then nothing changes.
    const bool nothingLeft = clipped.right <= clipped.left || clipped.bottom <= clipped.top;
    return nothingLeft ? workArea : clipped;
}
