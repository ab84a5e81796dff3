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

TEST(WorkAreaWithStrip, TakesTheTaskbarsThicknessOnTheEdge) {
    constexpr Rect FULL = {0, 0, 1920, 1080};
    struct Case {
        const char* name;
        Rect taskbar;
        TaskbarEdge edge;
        Rect expected;
    };
    const Case cases[] = {
        {"bottom", {0, 1040, 1920, 1080}, TaskbarEdge::Bottom, {0, 0, 1920, 1040}},
        {"left", {0, 0, 60, 1080}, TaskbarEdge::Left, {60, 0, 1920, 1080}},
        {"right", {1860, 0, 1920, 1080}, TaskbarEdge::Right, {0, 0, 1860, 1080}},
        {"top", {0, 0, 1920, 40}, TaskbarEdge::Top, {0, 40, 1920, 1080}},
        {"unseen is bottom", {0, 1040, 1920, 1080}, TaskbarEdge::NotSeen, {0, 0, 1920, 1040}},
        {"9 is bottom", {0, 1040, 1920, 1080}, TaskbarEdge{9}, {0, 0, 1920, 1040}},
        {"0xFFFFFFFF is bottom",
         {0, 1040, 1920, 1080},
         TaskbarEdge{0xFFFFFFFFu},
         {0, 0, 1920, 1040}},
        // A hidden taskbar keeps its rectangle, wherever it lies.
        {"off-screen taskbar", {0, 1080, 1920, 1120}, TaskbarEdge::Bottom, {0, 0, 1920, 1040}},
        {"empty taskbar", {0, 0, 0, 0}, TaskbarEdge::Left, FULL},
    };
    for (const Case& c : cases) {
        const Rect area = WorkAreaWithStrip(FULL, c.taskbar, c.edge);
        EXPECT_EQ(area, c.expected)
            << c.name << ": taskbar " << ToText(c.taskbar) << " gave " << ToText(area);
    }
}

TEST(WorkAreaWithStrip, SaturatesInsteadOfOverflowing) {
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
        {"left past the maximum",
         {MAX - 5, 0, 0, 0},
         {MIN, 0, MAX, 0},
         TaskbarEdge::Left,
         {MAX, 0, 0, 0}},
        {"bottom past the minimum",
         {0, 0, 0, MIN + 5},
         {0, MIN, 0, MAX},
         TaskbarEdge::Bottom,
         {0, 0, 0, MIN}},
        {"right past the maximum",
         {0, 0, MAX, 0},
         {MAX, 0, MIN, 0},
         TaskbarEdge::Right,
         {0, 0, MAX, 0}},
    };
    for (const Case& c : cases) {
        const Rect area = WorkAreaWithStrip(c.workArea, c.taskbar, c.edge);
        EXPECT_EQ(area, c.expected) << c.name << ": gave " << ToText(area);
    }
}

}  // namespace
