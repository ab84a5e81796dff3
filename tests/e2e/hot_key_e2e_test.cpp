// The toggle hot key from the stored settings, pressed on the real keyboard
// of the Wine desktop; and what the settings keep across a run.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/program_fixture.h"

namespace {

constexpr const char* CTRL_SHIFT_A = "ctrl+shift+a";

class HotKey : public ProgramTest {
protected:
    void Store(std::vector<std::pair<const char*, DWORD>> values) {
        DeleteKeyTree(SETTINGS_KEY_PATH);
        for (const auto& [name, value] : values) {
            ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, name, value)) << name;
        }
    }
    // A show's event reaches the program ahead of what is posted to it, and
    // the guard posts its report from there: once a second round of posted
    // messages is handled, so is the report.
    ::testing::AssertionResult StaysOnceReported(bool shown) {
        if (const ::testing::AssertionResult settled = Settled(); !settled) {
            return settled;
        }
        return TaskbarStays(shown);
    }
};

// How many of the displays' further taskbars show.
int SecondaryTaskbarsShown() {
    int shown = 0;
    for (HWND window = nullptr;
         (window = FindWindowExA(nullptr, window, "Shell_SecondaryTrayWnd", nullptr)) != nullptr;) {
        shown += IsWindowVisible(window) ? 1 : 0;
    }
    return shown;
}

// Shows the taskbar as the shell does, with the event Windows raises for it.
::testing::AssertionResult ShellShowsTheTaskbar() {
    if (RunToExit("show-taskbar", QUICK, DesktopHelperPath()) == 0u) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the helper did not show the taskbar";
}

TEST_F(HotKey, FirstRunOpensSettingsBeforeTheIconAndKeepsCtrlShiftA) {
    DeleteKeyTree(SETTINGS_KEY_PATH);
    StartResident("", false);
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = FindDialog("Settings")) != nullptr; }, QUICK))
        << "a first run opens the Settings dialog";
    EXPECT_FALSE(ProgramIconShows()) << "the icon came before the dialog closed";

    // The default hot key works while the dialog is still open.
    ExpectToggles(CTRL_SHIFT_A);

    ClickAt(ControlCentre(settings, IDCANCEL));
    ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK));
    WaitForIcon();
    ExpectToggles(CTRL_SHIFT_A);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key), ERROR_SUCCESS)
        << "Cancel stored settings";
}

TEST_F(HotKey, StoredChoiceGivesItsCombination) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, DWORD>> stored;
        std::vector<std::string> toggles;
        std::vector<std::string> inert;
    };
    const Case cases[] = {
        {"ctrl+shift a", {{"System", 1}}, {CTRL_SHIFT_A}, {"super+x"}},
        {"win q", {{"System", 0}, {"WinKey", 6}}, {"super+q"}, {CTRL_SHIFT_A, "super+x"}},
        {"win without a letter is x", {{"System", 0}}, {"super+x"}, {CTRL_SHIFT_A}},
        {"ctrl+shift z for a letter beyond the list",
         {{"System", 7}, {"CtrlShiftKey", 26}},
         {"ctrl+shift+z"},
         {CTRL_SHIFT_A}},
        {"no modifier stored: no hot key",
         {{"WinKey", 6}, {"CtrlShiftKey", 1}},
         {},
         {CTRL_SHIFT_A, "ctrl+shift+b", "super+q", "super+x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store(c.stored);
        StartResident();
        EXPECT_EQ(FindDialog("Settings"), nullptr) << "no first run";
        for (const std::string& keys : c.toggles) {
            ExpectToggles(keys);
        }
        for (const std::string& keys : c.inert) {
            ExpectDoesNothing(keys);
        }
        resident_.End();
        ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
    }
}

TEST_F(HotKey, ExitStoresTheEdgeWhereTheTaskbarSat) {
    StartResident();
    ExpectToggles(CTRL_SHIFT_A);
    ChooseFromTrayMenu(EXIT_ROW);
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u);
    EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "LastSeenTaskbarPosition"), 4u) << "as a REG_DWORD";
}

TEST_F(HotKey, ForceSwitchesThePolicyWithEachHideAndShow) {
    Store({{"System", 1}, {"Force", 1}});
    StartResident();
    PressKeys(CTRL_SHIFT_A);
    ASSERT_TRUE(TaskbarBecomes(false));
    EXPECT_EQ(ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME), 1u)
        << "after the hide, as a REG_DWORD";
    PressKeys(CTRL_SHIFT_A);
    ASSERT_TRUE(TaskbarBecomes(true));
    EXPECT_EQ(ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME), 0u) << "after the show";
}

// The shell shows a hidden taskbar by itself: with the option on, it is
// hidden again, unless the user's last word, a second start's included, was
// to show it. A new shell's taskbar comes with "TaskbarCreated" instead.
TEST_F(HotKey, StayHiddenHidesTheTaskbarAgainUntilTheUserShowsIt) {
    struct Case {
        const char* name;
        DWORD option;
        const char* hide;  // a second start's switch, or null for the keys
        const char* show;  // a second start's switch after it, or null
        bool newShell;
        bool hiddenAgain;
    };
    const Case cases[] = {
        {"a show, option on", 1, nullptr, nullptr, false, true},
        {"a show, option off", 0, nullptr, nullptr, false, false},
        {"a new shell, option on", 1, nullptr, nullptr, true, true},
        {"a show after a second start's -hide", 1, "-hide", nullptr, false, true},
        {"a show after a second start's -show", 1, nullptr, "-show", false, false},
        {"a show after a second start's -toggle", 1, "-toggle", nullptr, false, true},
        {"a show after a second start's -toggle showed it", 1, nullptr, "-toggle", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store({{"System", 1}, {VALUE_STAY_HIDDEN, c.option}});
        StartResident();
        if (c.hide == nullptr) {
            PressKeys(CTRL_SHIFT_A);
        } else {
            EXPECT_EQ(RunToExit(c.hide), 0u);
        }
        ASSERT_TRUE(TaskbarStays(false));
        if (c.show != nullptr) {
            EXPECT_EQ(RunToExit(c.show), 0u);
        }
        if (c.newShell) {
            ShowTaskbar();
            PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        } else {
            EXPECT_TRUE(ShellShowsTheTaskbar());
        }
        EXPECT_TRUE(c.hiddenAgain ? TaskbarBecomes(false) : StaysOnceReported(true));
        resident_.End();
        ShowTaskbar();
        ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
    }
}

// A shell that keeps showing the taskbar wins: more than five shows within
// two seconds, and the program shows it as the hot key would, with its
// strip, and goes on working.
TEST_F(HotKey, StayHiddenGivesUpAStormOfShows) {
    Store({{"System", 1}, {VALUE_STAY_HIDDEN, 1}});
    const RECT aboveTheTaskbar = AreaBesideTaskbar();
    StartResident();
    PressKeys(CTRL_SHIFT_A);
    ASSERT_TRUE(TaskbarStays(false));
    EXPECT_EQ(RunToExit("show-storm 6", 30000, DesktopHelperPath()), 0u)
        << "a show before the sixth was not hidden again";
    EXPECT_TRUE(WaitFor([&] { return NewProcessSeesWorkArea(aboveTheTaskbar); }, QUICK))
        << "the taskbar's strip did not come back";
    EXPECT_TRUE(StaysOnceReported(true));
    ExpectToggles(CTRL_SHIFT_A);
    EXPECT_TRUE(resident_.Running());
}

// Each further display has a taskbar of its own; two stand-ins here.
TEST_F(HotKey, HidesAndShowsTheTaskbarOfEveryDisplay) {
    Process standIns = Process::Start(DesktopHelperPath(), "secondary-taskbars 2");
    ASSERT_TRUE(WaitFor([] { return SecondaryTaskbarsShown() == 2; }, QUICK));
    StartResident();
    PressKeys(CTRL_SHIFT_A);
    ASSERT_TRUE(TaskbarBecomes(false));
    EXPECT_TRUE(WaitFor([] { return SecondaryTaskbarsShown() == 0; }, QUICK))
        << SecondaryTaskbarsShown() << " still shown";
    PressKeys(CTRL_SHIFT_A);
    ASSERT_TRUE(TaskbarBecomes(true));
    EXPECT_TRUE(WaitFor([] { return SecondaryTaskbarsShown() == 2; }, QUICK))
        << SecondaryTaskbarsShown() << " shown";
}

TEST_F(HotKey, WithoutForceThePolicyIsNeverWritten) {
    StartResident();
    ExpectToggles(CTRL_SHIFT_A);
    EXPECT_EQ(ReadValue(POLICY_KEY_PATH, POLICY_VALUE_NAME), std::nullopt);
}

}  // namespace
