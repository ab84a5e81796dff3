#include "taskbar/keep_hidden.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gtest/gtest.h"

#include "app/main_window_decisions.h"
#include "shared/identifiers.h"
#include "taskbar/hide_show.h"
#include "taskbar/multimon_policy.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

const WindowHandle MAIN = reinterpret_cast<WindowHandle>(std::uintptr_t{0x5150});
constexpr Rect WHOLE_SCREEN = {0, 0, 1920, 1080};
constexpr Rect ABOVE_BAR = {0, 0, 1920, 1040};

// A shown taskbar at the bottom with two further displays' taskbars and a
// Start button, and the resident instance's main window.
struct Desk {
    FakePlatform fake;
    AppStateRecord state = {};
    WindowHandle taskbar = nullptr;

    explicit Desk(std::int32_t stayHidden) {
        fake.desktop.screen = {WHOLE_SCREEN.right, WHOLE_SCREEN.bottom};
        fake.desktop.workArea = ABOVE_BAR;
        taskbar = fake.desktop.AddWindow(TASKBAR_CLASS, "", {0, 1040, 1920, 1080}, true);
        fake.desktop.AddWindow(SECONDARY_TASKBAR_CLASS, "", {1920, 1040, 3840, 1080}, true);
        fake.desktop.AddWindow(SECONDARY_TASKBAR_CLASS, "", {3840, 1040, 5760, 1080}, true);
        fake.desktop.AddWindow(START_BUTTON_CLASS, START_BUTTON_TITLE, {0, 1040, 40, 1080}, true);
        state.mainWindow = MAIN;
        state.stayHidden = stayHidden;
    }
    void Press() { OnToggleHotKey(HOTKEY_ID_TOGGLE, state, fake.platform); }
    // As the shell does it: the taskbar shows, and the guard is told.
    void ShellShows(std::uint32_t time) {
        fake.desktop.SetShown(taskbar, true);
        OnTaskbarShown(time, state, fake.platform);
    }
    bool Shown() const { return fake.desktop.WindowOf(taskbar).shown; }
    std::vector<std::string> Effects() const {
        return fake.log.Matching({"SetWorkArea", "SetValue", "Show", "Hide"});
    }
};

enum class Step { Press, AskShow, AskHide, AskOther, OptionOn, OptionOff, WindowEnds };

const char* NameOf(Step step) {
    switch (step) {
        case Step::Press:
            return "press";
        case Step::AskShow:
            return "second start's -show";
        case Step::AskHide:
            return "second start's -hide";
        case Step::AskOther:
            return "an unknown request";
        case Step::OptionOn:
            return "option turned on";
        case Step::OptionOff:
            return "option turned off";
        case Step::WindowEnds:
            return "window destroyed";
    }
    return "?";
}

void Take(Step step, Desk& desk) {
    switch (step) {
        case Step::Press:
            desk.Press();
            break;
        case Step::AskShow:
            OnUserAsked(static_cast<std::uintptr_t>(UserAsked::Show), desk.state,
                        desk.fake.platform);
            break;
        case Step::AskHide:
            OnUserAsked(static_cast<std::uintptr_t>(UserAsked::Hide), desk.state,
                        desk.fake.platform);
            break;
        case Step::AskOther:
            OnUserAsked(3, desk.state, desk.fake.platform);
            break;
        case Step::OptionOn:
        case Step::OptionOff:
            desk.state.stayHidden = step == Step::OptionOn ? 1 : 0;
            UpdateGuard(desk.state, desk.fake.platform);
            break;
        case Step::WindowEnds:
            OnMainWindowDestroyed(desk.state, desk.fake.platform);
            break;
    }
}

// While the taskbar is shown, nothing is watched; the fake reports a second
// watch or an unwatch without one.
TEST(Guard, WatchesOnlyWhileTheUserWantsTheTaskbarHiddenAndTheOptionIsOn) {
    struct Case {
        const char* name;
        std::int32_t option;
        std::vector<std::pair<Step, bool>> stepsAndWatching;
    };
    const Case cases[] = {
        {"a press hides, the next shows", 1, {{Step::Press, true}, {Step::Press, false}}},
        {"option off", 0, {{Step::Press, false}, {Step::Press, false}}},
        {"a second start's word",
         1,
         {{Step::AskHide, true},
          {Step::AskOther, true},
          {Step::AskShow, false},
          {Step::AskOther, false},
          {Step::Press, true}}},
        {"turned on and off while hidden",
         0,
         {{Step::Press, false}, {Step::OptionOn, true}, {Step::OptionOff, false}}},
        {"turned on while shown", 0, {{Step::OptionOn, false}, {Step::Press, true}}},
        {"the window's end", 1, {{Step::Press, true}, {Step::WindowEnds, false}}},
    };
    for (const Case& c : cases) {
        Desk desk(c.option);
        for (const auto& [step, watching] : c.stepsAndWatching) {
            Take(step, desk);
            EXPECT_EQ(desk.fake.windowEvents.watching, watching) << c.name << ", " << NameOf(step);
        }
    }
}

TEST(Guard, WatchesTheTaskbarsWindowsAndReportsToTheMainWindow) {
    Desk desk(1);
    desk.Press();
    EXPECT_EQ(desk.fake.windowEvents.reportTo, MAIN);
    EXPECT_EQ(desk.fake.windowEvents.message, WM_TASKBAR_SHOWN);
    EXPECT_TRUE(SameCalls(desk.fake.windowEvents.watched,
                          {"Shell_TrayWnd ''", "Shell_SecondaryTrayWnd ''", "Button 'Start'"}));
}

// Counted by the events' own times: more than five shows within two
// seconds is a fight, which the guard gives up.
TEST(Guard, HidesEachShowAgainUntilTheShellFights) {
    struct Case {
        const char* name;
        std::vector<std::uint32_t> times;
        std::size_t givesUpAt;  // the show, counted from 1; 0: never
    };
    const Case cases[] = {
        {"six within two seconds", {0, 100, 200, 300, 400, 500}, 6},
        {"six within exactly two seconds", {0, 400, 800, 1200, 1600, 2000}, 6},
        {"six a moment longer", {0, 400, 800, 1200, 1600, 2001}, 0},
        {"one a second", {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000}, 0},
        {"a pause, then a fight", {0, 5000, 5100, 5200, 5300, 5400, 5500}, 7},
        {"a fight as the clock wraps", {0xFFFFFC00, 0xFFFFFE00, 0xFFFFFF00, 0, 0x100, 0x200}, 6},
        {"shows after giving up", {10, 20, 30, 40, 50, 60, 70, 80}, 6},
    };
    for (const Case& c : cases) {
        Desk desk(1);
        desk.Press();
        for (std::size_t show = 1; show <= c.times.size(); ++show) {
            const std::string name = std::string(c.name) + ", show " + std::to_string(show);
            desk.ShellShows(c.times[show - 1]);
            const bool givenUp = c.givesUpAt != 0 && show >= c.givesUpAt;
            EXPECT_EQ(desk.Shown(), givenUp) << name;
            EXPECT_EQ(desk.fake.desktop.workArea, givenUp ? ABOVE_BAR : WHOLE_SCREEN)
                << name << ": work area " << ToText(desk.fake.desktop.workArea);
            EXPECT_EQ(desk.state.lastAskedFor,
                      givenUp ? TaskbarWanted::Shown : TaskbarWanted::Hidden)
                << name;
            EXPECT_EQ(desk.fake.windowEvents.watching, !givenUp) << name;
        }
    }
}

// The guard hides every taskbar window again, but writes the policy only as
// the hot key would, so that no consent prompt comes at every show.
TEST(Guard, HidesAgainWithoutThePolicyAndGivesUpAsTheHotKeyShows) {
    const std::vector<std::string> HIDDEN = {
        "SetWorkArea 0,0,1920,1080", "Hide Shell_SecondaryTrayWnd", "Hide Shell_SecondaryTrayWnd",
        "Hide Shell_TrayWnd", "Hide Button"};
    const std::vector<std::string> GIVEN_UP = {
        "SetWorkArea 0,0,1920,1040",   "SetValue TaskbarNoMultimon dword 0",
        "Show Shell_SecondaryTrayWnd", "Show Shell_SecondaryTrayWnd",
        "Show Shell_TrayWnd",          "Show Button"};
    struct Case {
        const char* name;
        std::int32_t option;
        std::size_t shows;  // each 100 ms after the last
        bool shellRestarts;
        std::vector<std::string> effects;
    };
    const Case cases[] = {
        {"a show", 1, 1, false, HIDDEN},
        {"the sixth show", 1, 6, false, GIVEN_UP},
        {"a new shell", 1, 0, true, HIDDEN},
        {"a new shell, option off", 0, 0, true, {}},
    };
    for (const Case& c : cases) {
        Desk desk(c.option);
        desk.state.forceAllDisplays = 1;
        desk.fake.registry.keys[POLICY_KEY_PATH];
        desk.Press();
        for (std::size_t show = 1; show < c.shows; ++show) {
            desk.ShellShows(static_cast<std::uint32_t>(show * 100));
        }
        desk.fake.desktop.SetShown(desk.taskbar, true);
        desk.fake.log.calls.clear();
        if (c.shellRestarts) {
            OnShellRestarted(desk.state, desk.fake.platform);
        } else {
            OnTaskbarShown(static_cast<std::uint32_t>(c.shows * 100), desk.state,
                           desk.fake.platform);
        }
        EXPECT_TRUE(SameCalls(desk.Effects(), c.effects)) << c.name;
    }
}

}  // namespace
