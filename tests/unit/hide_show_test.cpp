#include "taskbar/hide_show.h"

#include <cstdint>

#include "gtest/gtest.h"

#include "taskbar/multimon_policy.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

constexpr ScreenSize FULL_HD = {1920, 1080};
constexpr Rect WHOLE_SCREEN = {0, 0, 1920, 1080};
constexpr Rect BOTTOM_BAR = {0, 1040, 1920, 1080};
constexpr Rect LEFT_BAR = {0, 0, 60, 1080};

struct Desk {
    FakePlatform fake;
    AppStateRecord state = {};
    WindowHandle taskbar = nullptr;

    Desk(Rect bar, bool shown, Rect workArea) {
        fake.desktop.screen = FULL_HD;
        fake.desktop.workArea = workArea;
        taskbar = fake.desktop.AddWindow(TASKBAR_CLASS, "", bar, shown);
    }
    void Run(std::int32_t show) { HideShowTaskbar(show, state, fake.platform); }
    bool TaskbarShown() const { return fake.desktop.WindowOf(taskbar).shown; }
};

TEST(HideShowTaskbar, HidingWidensTheWorkAreaBeforeHidingTheWindows) {
    Desk desk(BOTTOM_BAR, true, {0, 0, 1920, 1040});
    desk.Run(0);
    EXPECT_TRUE(SameCalls(desk.fake.log.calls, {
                                                   "FindTopWindow Shell_TrayWnd ''",
                                                   "WindowRect Shell_TrayWnd",
                                                   "WorkArea",
                                                   "PrimaryScreenSize",
                                                   "SetWorkArea 0,0,1920,1080",
                                                   "VisitTopWindows Shell_SecondaryTrayWnd ''",
                                                   "Hide Shell_TrayWnd",
                                                   "FindTopWindow Button 'Start'",
                                               }));
    EXPECT_EQ(desk.state.lastTaskbarEdge, TaskbarEdge::Bottom);
    EXPECT_FALSE(desk.TaskbarShown());
}

TEST(HideShowTaskbar, WorkAreaAndEdgeFollowTheTaskbar) {
    struct Case {
        const char* name;
        Rect bar;
        bool barShown;
        Rect workArea;
        TaskbarEdge edgeBefore;
        std::int32_t show;
        Rect expectedArea;
        TaskbarEdge expectedEdge;
    };
    const Case cases[] = {
        {"hide at the bottom",
         BOTTOM_BAR,
         true,
         {0, 0, 1920, 1040},
         TaskbarEdge::NotSeen,
         0,
         WHOLE_SCREEN,
         TaskbarEdge::Bottom},
        {"show at the bottom",
         BOTTOM_BAR,
         false,
         WHOLE_SCREEN,
         TaskbarEdge::Bottom,
         1,
         {0, 0, 1920, 1040},
         TaskbarEdge::Bottom},
        {"hide on the left",
         LEFT_BAR,
         true,
         {60, 0, 1920, 1080},
         TaskbarEdge::NotSeen,
         0,
         WHOLE_SCREEN,
         TaskbarEdge::Left},
        {"show on the left",
         LEFT_BAR,
         false,
         WHOLE_SCREEN,
         TaskbarEdge::Left,
         1,
         {60, 0, 1920, 1080},
         TaskbarEdge::Left},
        {"hide on the right",
         {1860, 0, 1920, 1080},
         true,
         {0, 0, 1860, 1080},
         TaskbarEdge::Bottom,
         0,
         WHOLE_SCREEN,
         TaskbarEdge::Right},
        {"show on the right",
         {1860, 0, 1920, 1080},
         false,
         WHOLE_SCREEN,
         TaskbarEdge::Right,
         1,
         {0, 0, 1860, 1080},
         TaskbarEdge::Right},
        {"hide at the top",
         {0, 0, 1920, 40},
         true,
         {0, 40, 1920, 1080},
         TaskbarEdge::NotSeen,
         0,
         WHOLE_SCREEN,
         TaskbarEdge::Top},
        {"show at the top",
         {0, 0, 1920, 40},
         false,
         WHOLE_SCREEN,
         TaskbarEdge::Top,
         1,
         {0, 40, 1920, 1080},
         TaskbarEdge::Top},
        {"hide with the whole screen free keeps the edge", LEFT_BAR, true, WHOLE_SCREEN,
         TaskbarEdge::Left, 0, WHOLE_SCREEN, TaskbarEdge::Left},
        {"show with no edge seen gives the strip back at the bottom",
         BOTTOM_BAR,
         false,
         WHOLE_SCREEN,
         TaskbarEdge::NotSeen,
         1,
         {0, 0, 1920, 1040},
         TaskbarEdge::NotSeen},
        {"show with a stored 9 gives the strip back at the bottom",
         BOTTOM_BAR,
         false,
         WHOLE_SCREEN,
         TaskbarEdge{9},
         1,
         {0, 0, 1920, 1040},
         TaskbarEdge{9}},
        // An extra show must not take the strip a second time.
        {"show while shown leaves the work area",
         BOTTOM_BAR,
         true,
         {0, 0, 1920, 1040},
         TaskbarEdge::Bottom,
         1,
         {0, 0, 1920, 1040},
         TaskbarEdge::Bottom},
        {"any nonzero flag shows",
         BOTTOM_BAR,
         false,
         WHOLE_SCREEN,
         TaskbarEdge::Bottom,
         -1,
         {0, 0, 1920, 1040},
         TaskbarEdge::Bottom},
    };
    for (const Case& c : cases) {
        Desk desk(c.bar, c.barShown, c.workArea);
        desk.state.lastTaskbarEdge = c.edgeBefore;
        desk.Run(c.show);
        EXPECT_EQ(desk.fake.desktop.workArea, c.expectedArea)
            << c.name << ": work area " << ToText(desk.fake.desktop.workArea);
        EXPECT_EQ(desk.state.lastTaskbarEdge, c.expectedEdge)
            << c.name << ": edge " << static_cast<std::uint32_t>(desk.state.lastTaskbarEdge);
        EXPECT_EQ(desk.TaskbarShown(), c.show != 0) << c.name;
    }
}

TEST(HideShowTaskbar, ShowWhileShownShowsTheWindowsWithoutTouchingTheWorkArea) {
    Desk desk(BOTTOM_BAR, true, {0, 0, 1920, 1040});
    desk.Run(1);
    EXPECT_TRUE(
        SameCalls(desk.fake.log.Matching({"SetWorkArea", "Show", "Hide"}), {"Show Shell_TrayWnd"}));
}

TEST(HideShowTaskbar, ManyTogglesEndWhereTheyStarted) {
    Desk desk(BOTTOM_BAR, true, {0, 0, 1920, 1040});
    for (int i = 0; i < 500; ++i) {
        desk.Run(i % 2 == 0 ? 0 : 1);
    }
    EXPECT_EQ(desk.fake.desktop.workArea, (Rect{0, 0, 1920, 1040}))
        << ToText(desk.fake.desktop.workArea);
    EXPECT_TRUE(desk.TaskbarShown());
}

TEST(HideShowTaskbar, WithoutATaskbarNothingHappens) {
    for (const std::int32_t show : {0, 1}) {
        FakePlatform fake;
        fake.desktop.screen = FULL_HD;
        fake.desktop.workArea = {0, 0, 1920, 1040};
        fake.desktop.AddWindow(SECONDARY_TASKBAR_CLASS, "", BOTTOM_BAR, true);
        AppStateRecord state = {};
        state.lastTaskbarEdge = TaskbarEdge::Left;
        state.forceAllDisplays = 1;
        HideShowTaskbar(show, state, fake.platform);
        EXPECT_TRUE(SameCalls(fake.log.calls, {"FindTopWindow Shell_TrayWnd ''"}))
            << "show " << show;
        EXPECT_EQ(state.lastTaskbarEdge, TaskbarEdge::Left) << "show " << show;
    }
}

// Every further display has a taskbar of its own, and every one goes.
TEST(HideShowTaskbar, PolicyComesBetweenWorkAreaAndWindowsWhenForced) {
    struct Case {
        std::int32_t show;
        bool barShown;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {0,
         true,
         {"SetWorkArea 0,0,1920,1080", "SetValue TaskbarNoMultimon dword 1",
          "Hide Shell_SecondaryTrayWnd", "Hide Shell_SecondaryTrayWnd", "Hide Shell_TrayWnd",
          "Hide Button"}},
        {1,
         false,
         {"SetWorkArea 0,0,1920,1040", "SetValue TaskbarNoMultimon dword 0",
          "Show Shell_SecondaryTrayWnd", "Show Shell_SecondaryTrayWnd", "Show Shell_TrayWnd",
          "Show Button"}},
    };
    for (const Case& c : cases) {
        Desk desk(BOTTOM_BAR, c.barShown, c.barShown ? Rect{0, 0, 1920, 1040} : WHOLE_SCREEN);
        desk.fake.desktop.AddWindow(SECONDARY_TASKBAR_CLASS, "", {1920, 1040, 3840, 1080}, true);
        desk.fake.desktop.AddWindow(SECONDARY_TASKBAR_CLASS, "", {3840, 1040, 5760, 1080}, true);
        desk.fake.desktop.AddWindow(START_BUTTON_CLASS, START_BUTTON_TITLE, {0, 1040, 40, 1080},
                                    true);
        desk.fake.registry.keys[POLICY_KEY_PATH];
        desk.state.forceAllDisplays = 2;  // any nonzero value is on
        desk.Run(c.show);
        EXPECT_TRUE(SameCalls(desk.fake.log.Matching({"SetWorkArea", "SetValue", "Show", "Hide"}),
                              c.expected))
            << "show " << c.show;
        EXPECT_EQ(desk.fake.registry.OpenHandles(), 0u) << "show " << c.show;
    }
}

TEST(HideShowTaskbar, PolicyIsNeverTouchedWhenNotForced) {
    for (const std::int32_t show : {0, 1}) {
        Desk desk(BOTTOM_BAR, show == 0, {0, 0, 1920, 1040});
        desk.Run(show);
        EXPECT_TRUE(SameCalls(desk.fake.log.Matching({"OpenKey", "CreateKey", "SetValue"}), {}))
            << "show " << show;
    }
}

TEST(HideShowTaskbar, RefusedPolicyRelaunchesBeforeTheWindowsChange) {
    Desk desk(BOTTOM_BAR, true, {0, 0, 1920, 1040});
    desk.fake.registry.faults[POLICY_KEY_PATH] = {.openForWrite = RESULT_ACCESS_DENIED,
                                                  .create = RESULT_ACCESS_DENIED};
    desk.state.forceAllDisplays = 1;
    desk.Run(0);
    EXPECT_TRUE(SameCalls(
        desk.fake.log.Matching({"SetWorkArea", "Execute", "Hide"}),
        {"SetWorkArea 0,0,1920,1080",
         "Execute runas \"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe\" -nomulti -exit show 0",
         "Hide Shell_TrayWnd"}));
}

// Without an owner window, Windows does not prompt for the elevated copy: it
// flashes a button on the taskbar, which is hidden or about to be, and the
// copy waits. The main window owns the prompt, and comes to the foreground
// first, as the process that has just received the hot key may make it.
TEST(HideShowTaskbar, TheElevationPromptBelongsToTheMainWindowInTheForeground) {
    const WindowHandle main = reinterpret_cast<WindowHandle>(std::uintptr_t{0x5150});
    const std::string copy = "Execute runas \"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe\" ";
    for (const std::int32_t show : {0, 1}) {
        Desk desk(BOTTOM_BAR, show == 0, show == 0 ? Rect{0, 0, 1920, 1040} : WHOLE_SCREEN);
        desk.fake.registry.faults[POLICY_KEY_PATH] = {.openForWrite = RESULT_ACCESS_DENIED,
                                                      .create = RESULT_ACCESS_DENIED};
        desk.state.forceAllDisplays = 1;
        desk.state.mainWindow = main;
        desk.Run(show);
        EXPECT_TRUE(SameCalls(desk.fake.log.Matching({"SetForeground", "Execute"}),
                              {"SetForeground " + std::to_string(0x5150),
                               copy + (show == 0 ? "-nomulti" : "-multi") + " -exit show 0"}))
            << "show " << show;
        EXPECT_EQ(desk.fake.shell.lastOwner, main) << "show " << show;
    }
}

}  // namespace
