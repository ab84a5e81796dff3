#include "taskbar/edge_arithmetic.h"

#include <cstdint>
#include <limits>

#include "gtest/gtest.h"

#include "tests/fakes/fake_desktop.h"

namespace {

constexpr ScreenSize FULL_HD = {1920, 1080};

TEST(EdgeFromWorkArea, NamesTheEdgeTheWorkAreaLeavesFree) {
    struct Case {
        const char* name;
        Rect workArea;
        TaskbarEdge previous;
        TaskbarEdge expected;
    };
    const Case cases[] = {
        {"bottom, 40 high", {0, 0, 1920, 1040}, TaskbarEdge::NotSeen, TaskbarEdge::Bottom},
        {"left, 60 wide", {60, 0, 1920, 1080}, TaskbarEdge::NotSeen, TaskbarEdge::Left},
        {"right, 60 wide", {0, 0, 1860, 1080}, TaskbarEdge::NotSeen, TaskbarEdge::Right},
        {"top, 40 high", {0, 40, 1920, 1080}, TaskbarEdge::NotSeen, TaskbarEdge::Top},
        {"whole screen keeps left", {0, 0, 1920, 1080}, TaskbarEdge::Left, TaskbarEdge::Left},
        {"whole screen keeps unseen",
         {0, 0, 1920, 1080},
         TaskbarEdge::NotSeen,
         TaskbarEdge::NotSeen},
        {"whole screen keeps a stored 9", {0, 0, 1920, 1080}, TaskbarEdge{9}, TaskbarEdge{9}},
        {"larger than the screen keeps top",
         {0, 0, 2000, 1200},
         TaskbarEdge::Top,
         TaskbarEdge::Top},
        // The tests run left, top, right, bottom and stop at the first that holds.
        {"left before top", {60, 40, 1920, 1080}, TaskbarEdge::Bottom, TaskbarEdge::Left},
        {"negative left is left", {-10, 0, 1920, 1080}, TaskbarEdge::Bottom, TaskbarEdge::Left},
        {"top before right", {0, 40, 1860, 1080}, TaskbarEdge::NotSeen, TaskbarEdge::Top},
        {"right before bottom", {0, 0, 1860, 1040}, TaskbarEdge::NotSeen, TaskbarEdge::Right},
    };
    for (const Case& c : cases) {
        const TaskbarEdge edge = EdgeFromWorkArea(c.workArea, FULL_HD, c.previous);
        EXPECT_EQ(edge, c.expected) << c.name << ": work area " << ToText(c.workArea)
                                    << " gave edge " << static_cast<std::uint32_t>(edge);
    }
}

TEST(WorkAreaBesideTaskbar, LeavesTheTaskbarWhatItCoversOnTheEdgeAndNoMore) {
    constexpr Rect FULL = {0, 0, 1920, 1080};
    constexpr auto MAX = std::numeric_limits<std::int32_t>::max();
    constexpr auto MIN = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* name;
        Rect workArea;
        Rect taskbar;
        TaskbarEdge edge;
        Rect expected;
    };
    const Case cases[] = {
        {"bottom", FULL, {0, 1040, 1920, 1080}, TaskbarEdge::Bottom, {0, 0, 1920, 1040}},
        {"left", FULL, {0, 0, 60, 1080}, TaskbarEdge::Left, {60, 0, 1920, 1080}},
        {"right", FULL, {1860, 0, 1920, 1080}, TaskbarEdge::Right, {0, 0, 1860, 1080}},
        {"top", FULL, {0, 0, 1920, 40}, TaskbarEdge::Top, {0, 40, 1920, 1080}},
        {"unseen is bottom", FULL, {0, 1040, 1920, 1080}, TaskbarEdge::NotSeen, {0, 0, 1920, 1040}},
        {"9 is bottom", FULL, {0, 1040, 1920, 1080}, TaskbarEdge{9}, {0, 0, 1920, 1040}},
        {"0xFFFFFFFF is bottom",
         FULL,
         {0, 1040, 1920, 1080},
         TaskbarEdge{0xFFFFFFFFu},
         {0, 0, 1920, 1040}},
        // The shell recomputed the work area while the taskbar was hidden
        // (a display change, a resume): no second strip.
        {"recomputed at the bottom",
         {0, 0, 1920, 1040},
         {0, 1040, 1920, 1080},
         TaskbarEdge::Bottom,
         {0, 0, 1920, 1040}},
        {"recomputed on the left",
         {60, 0, 1920, 1080},
         {0, 0, 60, 1080},
         TaskbarEdge::Left,
         {60, 0, 1920, 1080}},
        // An auto-hiding taskbar lies mostly off screen.
        {"auto-hiding, 2 pixels showing",
         FULL,
         {0, 1078, 1920, 1118},
         TaskbarEdge::Bottom,
         {0, 0, 1920, 1078}},
        {"wholly off screen", FULL, {0, 1080, 1920, 1120}, TaskbarEdge::Bottom, FULL},
        // Nonsense leaves the work area as it is, rather than empty.
        {"unreadable, on the left", FULL, {0, 0, 0, 0}, TaskbarEdge::Left, FULL},
        {"unreadable, at the bottom", FULL, {0, 0, 0, 0}, TaskbarEdge::Bottom, FULL},
        {"moved to the left, remembered at the bottom",
         FULL,
         {0, 0, 60, 1080},
         TaskbarEdge::Bottom,
         FULL},
        {"as large as the screen", FULL, FULL, TaskbarEdge::Top, FULL},
        {"extreme work area",
         {MIN, MIN, MAX, MAX},
         {0, 1040, 1920, 1080},
         TaskbarEdge::Bottom,
         {MIN, MIN, MAX, 1040}},
    };
    for (const Case& c : cases) {
        const Rect area = WorkAreaBesideTaskbar(c.workArea, c.taskbar, c.edge);
        EXPECT_EQ(area, c.expected)
            << c.name << ": work area " << ToText(c.workArea) << ", taskbar " << ToText(c.taskbar)
            << " gave " << ToText(area);
    }
}

}  // namespace
