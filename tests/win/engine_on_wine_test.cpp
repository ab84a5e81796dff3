// The real engine over the real Win32 layer, in this process, against
// Wine's taskbar (Wine keeps the work area per process, so it is read back
// here).
#include <windows.h>

#include "gtest/gtest.h"

#include "platform/win32/win32_platform.h"
#include "shared/app_state.h"
#include "taskbar/hide_show.h"
#include "tests/support/desktop_state.h"
#include "tests/support/real_desktop.h"

namespace {

class EngineOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TaskbarShown()) << "the desktop's taskbar must be up and shown";
        ASSERT_TRUE(WorkAreaIs(AreaBesideTaskbar())) << "the desktop must start as Wine sets it up";
    }

    DesktopStateGuard restore_;
    AppStateRecord state_ = {};
};

TEST_F(EngineOnWine, HideTakesTheWholeScreenAndShowGivesTheStripBackAtTheBottom) {
    HideShowTaskbar(0, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(WholeScreen()));
    EXPECT_FALSE(TaskbarShown());
    EXPECT_EQ(state_.lastTaskbarEdge, TaskbarEdge::Bottom);

    HideShowTaskbar(1, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(AreaBesideTaskbar()));
    EXPECT_TRUE(TaskbarShown());
}

TEST_F(EngineOnWine, ARepeatedShowLeavesTheWorkAreaAsOneShowLeftIt) {
    HideShowTaskbar(0, state_, Win32Platform());
    HideShowTaskbar(1, state_, Win32Platform());
    HideShowTaskbar(1, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(AreaBesideTaskbar()));
    EXPECT_TRUE(TaskbarShown());
}

TEST_F(EngineOnWine, ARepeatedHideKeepsTheEdgeAndTheWholeScreen) {
    HideShowTaskbar(0, state_, Win32Platform());
    HideShowTaskbar(0, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(WholeScreen()));
    EXPECT_EQ(state_.lastTaskbarEdge, TaskbarEdge::Bottom);
    HideShowTaskbar(1, state_, Win32Platform());
    EXPECT_TRUE(WorkAreaIs(AreaBesideTaskbar()));
}

// The user's window keeps the keyboard: a shown taskbar is not activated, so
// that typing goes on where it went before the hot key.
TEST_F(EngineOnWine, ShowingLeavesTheActiveWindowActive) {
    const HWND own = CreateWindowExA(0, "STATIC", "the user's window", WS_POPUP | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(SetForegroundWindow(own));
    HideShowTaskbar(0, state_, Win32Platform());
    HideShowTaskbar(1, state_, Win32Platform());
    EXPECT_TRUE(TaskbarShown());
    EXPECT_EQ(GetForegroundWindow(), own) << "the taskbar took the keyboard";
    DestroyWindow(own);
}

// Whatever the shell made of the work area while the taskbar was hidden (it
// recomputes it after a display change or a resume), showing takes no strip
// beyond the one the taskbar covers. Wine keeps the work area per process, so
// the test sets what the shell would have set.
TEST_F(EngineOnWine, ShowLeavesTheTaskbarItsStripWhateverTheWorkAreaBecameMeanwhile) {
    struct Case {
        const char* name;
        RECT whileHidden;
        RECT shown;
    };
    constexpr LONG ANOTHER_BAR = 80;
    RECT narrowed = AreaBesideTaskbar();
    narrowed.bottom -= ANOTHER_BAR;
    const Case cases[] = {
        {"as the hide left it", WholeScreen(), AreaBesideTaskbar()},
        {"recomputed by the shell", AreaBesideTaskbar(), AreaBesideTaskbar()},
        {"narrowed further by another bar", narrowed, narrowed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HideShowTaskbar(0, state_, Win32Platform());
        ASSERT_FALSE(TaskbarShown());
        RECT area = c.whileHidden;
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
        HideShowTaskbar(1, state_, Win32Platform());
        EXPECT_TRUE(WorkAreaIs(c.shown));
        EXPECT_TRUE(TaskbarShown());
    }
}

}  // namespace
