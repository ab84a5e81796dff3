// The real engine over the real Win32 layer, in this process, against
// Wine's taskbar (Wine keeps the work area per process, so it is read back
// here).
#include <windows.h>

#include "gtest/gtest.h"

#include "app/app_state.h"
#include "platform/win32/win32_platform.h"
#include "taskbar/hide_show.h"
#include "tests/support/desktop_state.h"

namespace {

constexpr RECT WHOLE_SCREEN = {0, 0, 1280, 800};
constexpr RECT ABOVE_TASKBAR = {0, 0, 1280, 780};

RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool TaskbarShown() {
    const HWND taskbar = FindWindowA("Shell_TrayWnd", "");
    return taskbar != nullptr && IsWindowVisible(taskbar);
}

::testing::AssertionResult WorkAreaIs(const RECT& expected) {
    const RECT area = WorkArea();
    if (EqualRect(&area, &expected)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "work area " << area.left << "," << area.top << "," << area.right << ","
           << area.bottom << ", expected " << expected.left << "," << expected.top << ","
           << expected.right << "," << expected.bottom;
}

class EngineOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TaskbarShown()) << "the desktop's taskbar must be up and shown";
        ASSERT_TRUE(WorkAreaIs(ABOVE_TASKBAR)) << "the desktop must start as Wine sets it up";
    }

    DesktopStateGuard restore_;
    AppStateRecord state_ = {};
};

TEST_F(EngineOnWine, HideTakesTheWholeScreenAndShowGivesTheStripBackAtTheBottom) {
    HideShowTaskbar(0, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(WHOLE_SCREEN));
    EXPECT_FALSE(TaskbarShown());
    EXPECT_EQ(state_.lastTaskbarEdge, TaskbarEdge::Bottom);

    HideShowTaskbar(1, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(ABOVE_TASKBAR));
    EXPECT_TRUE(TaskbarShown());
}

TEST_F(EngineOnWine, ARepeatedShowLeavesTheWorkAreaAsOneShowLeftIt) {
    HideShowTaskbar(0, state_, Win32Platform());
    HideShowTaskbar(1, state_, Win32Platform());
    HideShowTaskbar(1, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(ABOVE_TASKBAR));
    EXPECT_TRUE(TaskbarShown());
}

TEST_F(EngineOnWine, ARepeatedHideKeepsTheEdgeAndTheWholeScreen) {
    HideShowTaskbar(0, state_, Win32Platform());
    HideShowTaskbar(0, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(WHOLE_SCREEN));
    EXPECT_EQ(state_.lastTaskbarEdge, TaskbarEdge::Bottom);
    HideShowTaskbar(1, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(ABOVE_TASKBAR));
}

}  // namespace
