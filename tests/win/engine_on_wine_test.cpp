// The real engine over the real Win32 layer, in this process, against
// Wine's taskbar (Wine keeps the work area per process, so it is read back
// here).
#include <windows.h>

#include "gtest/gtest.h"

#include "shared/app_state.h"
#include "shared/program_platform.h"
#include "taskbar/hide_show.h"
#include "tests/support/desktop_state.h"
#include "tests/win/wine_desktop.h"

namespace {

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
