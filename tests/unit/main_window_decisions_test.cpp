#include "app/main_window_decisions.h"

#include <cstdint>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "shared/identifiers.h"
#include "taskbar/hide_show.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

TEST(RegisteredMessages, MatchOnlyTheirRegisteredIds) {
    struct Case {
        std::uint32_t registered;
        std::uint32_t message;
        bool matches;
    };
    const Case cases[] = {
        {0xC123, 0xC123, true},
        {0xC123, 0xC124, false},
        {0, 0, false},  // not registered yet: WM_NULL is no broadcast
        {0, 0xC123, false},
    };
    for (const Case& c : cases) {
        AppStateRecord state = {};
        state.taskbarCreatedMsg = c.registered;
        EXPECT_EQ(IsTaskbarCreated(c.message, state), c.matches)
            << "TaskbarCreated registered " << c.registered << ", message " << c.message;
        EXPECT_FALSE(IsUserAsked(c.message, state)) << "user asked, message " << c.message;
        state = {};
        state.userAskedMsg = c.registered;
        EXPECT_EQ(IsUserAsked(c.message, state), c.matches)
            << "user asked registered " << c.registered << ", message " << c.message;
    }
}

TEST(TrayMouseOpensMenu, OnlyAButtonGoingDown) {
    struct Case {
        const char* name;
        std::uint32_t mouseMessage;
        bool opens;
    };
    const Case cases[] = {
        {"left down", 0x0201, true},          {"right down", 0x0204, true},
        {"left up", 0x0202, false},           {"right up", 0x0205, false},
        {"left double-click", 0x0203, false}, {"right double-click", 0x0206, false},
        {"middle down", 0x0207, false},       {"move", 0x0200, false},
        {"context menu", 0x007B, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrayMouseOpensMenu(c.mouseMessage), c.opens) << c.name;
    }
}

struct Desk {
    FakePlatform fake;
    AppStateRecord state = {};

    Desk() {
        fake.desktop.screen = {1280, 800};
        fake.desktop.workArea = {0, 0, 1280, 780};
        fake.desktop.AddWindow(TASKBAR_CLASS, "", {0, 780, 1280, 800}, true);
    }
    std::vector<std::string> Windows() const { return fake.log.Matching({"Show", "Hide"}); }
};

TEST(OnToggleHotKey, FirstPressHidesSecondShows) {
    Desk desk;
    OnToggleHotKey(HOTKEY_ID_TOGGLE, desk.state, desk.fake.platform);
    EXPECT_EQ(desk.state.lastAskedFor, TaskbarWanted::Hidden);
    EXPECT_EQ(desk.fake.desktop.workArea, (Rect{0, 0, 1280, 800}));
    OnToggleHotKey(HOTKEY_ID_TOGGLE, desk.state, desk.fake.platform);
    EXPECT_EQ(desk.state.lastAskedFor, TaskbarWanted::Shown);
    EXPECT_EQ(desk.fake.desktop.workArea, (Rect{0, 0, 1280, 780}));
    EXPECT_TRUE(SameCalls(desk.Windows(), {"Hide Shell_TrayWnd", "Show Shell_TrayWnd"}));
}

// Another start's switch, an uninstaller or a new shell may have changed the
// taskbar since the last press: the press goes by the taskbar as it is.
TEST(OnToggleHotKey, ActsOnTheTaskbarAsItIs) {
    struct Case {
        const char* name;
        bool taskbar;
        bool shown;
        TaskbarWanted askedBefore;
        std::vector<std::string> windows;
        TaskbarWanted askedAfter;
    };
    const TaskbarWanted SHOWN = TaskbarWanted::Shown;
    const TaskbarWanted HIDDEN = TaskbarWanted::Hidden;
    const Case cases[] = {
        {"shown, though the last press hid", true, true, HIDDEN, {"Hide Shell_TrayWnd"}, HIDDEN},
        {"hidden, though the last press showed", true, false, SHOWN, {"Show Shell_TrayWnd"}, SHOWN},
        {"no taskbar", false, false, HIDDEN, {}, HIDDEN},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.desktop.screen = {1280, 800};
        fake.desktop.workArea = {0, 0, 1280, 800};
        if (c.taskbar) {
            fake.desktop.AddWindow(TASKBAR_CLASS, "", {0, 780, 1280, 800}, c.shown);
        }
        AppStateRecord state = {};
        state.lastAskedFor = c.askedBefore;
        OnToggleHotKey(HOTKEY_ID_TOGGLE, state, fake.platform);
        EXPECT_TRUE(SameCalls(fake.log.Matching({"Show", "Hide"}), c.windows)) << c.name;
        EXPECT_EQ(state.lastAskedFor, c.askedAfter) << c.name;
    }
}

TEST(OnToggleHotKey, OtherHotKeysDoNothing) {
    for (const std::int32_t id : {0, 1, HOTKEY_ID_TOGGLE + 1, -1}) {
        Desk desk;
        OnToggleHotKey(id, desk.state, desk.fake.platform);
        EXPECT_TRUE(desk.fake.log.calls.empty()) << "hot key " << id;
        EXPECT_EQ(desk.state.lastAskedFor, TaskbarWanted::Shown) << "hot key " << id;
    }
}

}  // namespace
