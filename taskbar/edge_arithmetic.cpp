#include "taskbar/edge_arithmetic.h"

#include <cstdint>
#include <limits>

namespace {

// Adds without overflowing: rectangles come from other processes and may be
// anything, and a saturated result is as good as any for a nonsensical one.
std::int32_t Add(std::int32_t a, std::int64_t b) {
    const std::int64_t sum = a + b;
    if (sum > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (sum < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(sum);
}

std::int64_t Width(const Rect& r) {
    return std::int64_t{r.right} - r.left;
}
std::int64_t Height(const Rect& r) {
    return std::int64_t{r.bottom} - r.top;
}

}  // namespace

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

Rect WorkAreaWithStrip(Rect workArea, const Rect& taskbar, TaskbarEdge edge) {
    switch (edge) {
        case TaskbarEdge::Left:
            workArea.left = Add(workArea.left, Width(taskbar));
            break;
        case TaskbarEdge::Right:
            workArea.right = Add(workArea.right, -Width(taskbar));
            break;
        case TaskbarEdge::Top:
            workArea.top = Add(workArea.top, Height(taskbar));
            break;
        default:
            workArea.bottom = Add(workArea.bottom, -Height(taskbar));
            break;
    }
    return workArea;
}
