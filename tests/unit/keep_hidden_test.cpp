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

// A shown taskbar at the bottom with two further displays' taskbars and a
// Start button, and the resident instance's main window.
struct Desk {
    FakePlatform fake;
    AppStateRecord state = {};
    WindowHandle taskbar = nullptr;

    explicit Desk(std::int32_t stayHidden) {
        fake.desktop.screen = {1920, 1080};
        fake.desktop.workArea = {0, 0, 1920, 1040};
        taskbar = fake.desktop.AddWindow(TASKBAR_CLASS, "", {0, 1040, 1920, 1080}, true);
        fake.desktop.AddWindow(SECONDARY_TASKBAR_CLASS, "", {1920, 1040, 3840, 1080}, true);
        fake.desktop.AddWindow(SECONDARY_TASKBAR_CLASS, "", {3840, 1040, 5760, 1080}, true);
        fake.desktop.AddWindow(START_BUTTON_CLASS, START_BUTTON_TITLE, {0, 1040, 40, 1080}, true);
        state.mainWindow = MAIN;
        state.stayHidden = stayHidden;
    }
    void Press() { OnToggleHotKey(HOTKEY_ID_TOGGLE, state, fake.platform); }
    // Whether the instance knew the request, as it answers the second start.
    bool Ask(UserAsked asked) {
        return OnUserAsked(static_cast<std::uintptr_t>(asked), state, fake.platform);
    }
    void Option(std::int32_t on) {
        state.stayHidden = on;
        UpdateGuard(state, fake.platform);
    }
    bool Shown() const { return fake.desktop.WindowOf(taskbar).shown; }
    std::vector<std::string> Effects() const {
        return fake.log.Matching({"SetWorkArea", "SetValue", "Show", "Hide"});
    }
};

// What may happen while the program runs, as the main window hears of it.
struct Step {
    const char* name;
    void (*take)(Desk&);
};
const Step PRESS = {"press", [](Desk& d) { d.Press(); }};
const Step ASK_SHOW = {"second start's -show", [](Desk& d) { d.Ask(UserAsked::Show); }};
const Step ASK_HIDE = {"second start's -hide", [](Desk& d) { d.Ask(UserAsked::Hide); }};
const Step ASK_TOGGLE = {"second start's -toggle",
                         [](Desk& d) { EXPECT_TRUE(d.Ask(UserAsked::Toggle)); }};
const Step ASK_OTHER = {"an unknown request", [](Desk& d) { EXPECT_FALSE(d.Ask(UserAsked{4})); }};
const Step OPTION_ON = {"option on", [](Desk& d) { d.Option(1); }};
const Step OPTION_OFF = {"option off", [](Desk& d) { d.Option(0); }};
const Step WINDOW_ENDS = {"window destroyed",
                          [](Desk& d) { OnMainWindowDestroyed(d.state, d.fake.platform); }};

// While the taskbar is shown, nothing is watched; the fake reports a second
// watch or an unwatch without one.
TEST(Guard, WatchesOnlyWhileTheUserWantsTheTaskbarHiddenAndTheOptionIsOn) {
    struct Case {
        const char* name;
        std::int32_t option;
        std::vector<std::pair<Step, bool>> stepsAndWatching;
    };
    const Case cases[] = {
        {"a press hides, the next shows", 1, {{PRESS, true}, {PRESS, false}}},
        {"option off", 0, {{PRESS, false}, {PRESS, false}}},
        {"a second start's word",
         1,
         {{ASK_HIDE, true}, {ASK_OTHER, true}, {ASK_SHOW, false}, {ASK_OTHER, false}}},
        {"a second start's toggles", 1, {{ASK_TOGGLE, true}, {ASK_TOGGLE, false}, {PRESS, true}}},
        {"turned on and off while hidden",
         0,
         {{PRESS, false}, {OPTION_ON, true}, {OPTION_OFF, false}}},
        {"turned on while shown", 0, {{OPTION_ON, false}, {PRESS, true}}},
        {"the window's end", 1, {{PRESS, true}, {WINDOW_ENDS, false}}},
    };
    for (const Case& c : cases) {
        Desk desk(c.option);
        for (const auto& [step, watching] : c.stepsAndWatching) {
            step.take(desk);
            EXPECT_EQ(desk.fake.windowEvents.watching, watching) << c.name << ", " << step.name;
        }
    }
    Desk desk(1);
    desk.Press();
    EXPECT_EQ(desk.fake.windowEvents.reportTo, MAIN);
    EXPECT_EQ(desk.fake.windowEvents.message, WM_TASKBAR_SHOWN);
    EXPECT_TRUE(SameCalls(desk.fake.windowEvents.watched,
                          {"Shell_TrayWnd ''", "Shell_SecondaryTrayWnd ''", "Button 'Start'"}));
}

// Counted by the events' own times, more than five shows within two seconds
// are a fight: the guard gives up and shows the taskbar as the hot key does,
// the policy with it. Until then it hides every taskbar window again, but
// leaves the policy, so that no consent prompt comes at every show.
TEST(Guard, HidesEachShowAgainUntilTheShellFights) {
    const std::vector<std::string> HIDDEN_AGAIN = {
        "SetWorkArea 0,0,1920,1080", "Hide Shell_SecondaryTrayWnd", "Hide Shell_SecondaryTrayWnd",
        "Hide Shell_TrayWnd", "Hide Button"};
    const std::vector<std::string> GIVEN_UP = {
        "SetWorkArea 0,0,1920,1040",   "SetValue TaskbarNoMultimon dword 0",
        "Show Shell_SecondaryTrayWnd", "Show Shell_SecondaryTrayWnd",
        "Show Shell_TrayWnd",          "Show Button"};
    struct Case {
        const char* name;
        std::vector<std::uint32_t> times;
        std::size_t givesUpAt;  // the show, counted from 1; 0: never
    };
    const Case cases[] = {
        {"six within two seconds", {0, 100, 200, 300, 400, 500}, 6},
        {"six within exactly two seconds", {0, 400, 800, 1200, 1600, 2000}, 6},
        {"six a moment longer", {0, 400, 800, 1200, 1600, 2001}, 0},
        {"one a second", {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000}, 0},
        {"a pause, then a fight", {0, 5000, 5100, 5200, 5300, 5400, 5500}, 7},
        {"a fight as the clock wraps", {0xFFFFFC00, 0xFFFFFE00, 0xFFFFFF00, 0, 0x100, 0x200}, 6},
        {"shows after giving up", {10, 20, 30, 40, 50, 60, 70}, 6},
    };
    for (const Case& c : cases) {
        Desk desk(1);
        desk.state.forceAllDisplays = 1;
        desk.fake.registry.keys[POLICY_KEY_PATH];
        desk.Press();
        for (std::size_t show = 1; show <= c.times.size(); ++show) {
            const std::string name = std::string(c.name) + ", show " + std::to_string(show);
            desk.fake.desktop.SetShown(desk.taskbar, true);
            desk.fake.log.calls.clear();
            OnTaskbarShown(c.times[show - 1], desk.state, desk.fake.platform);
            const bool givenUp = c.givesUpAt != 0 && show >= c.givesUpAt;
            EXPECT_TRUE(SameCalls(desk.Effects(), show == c.givesUpAt ? GIVEN_UP
                                                  : givenUp           ? std::vector<std::string>{}
                                                                      : HIDDEN_AGAIN))
                << name;
            EXPECT_EQ(desk.state.lastAskedFor,
                      givenUp ? TaskbarWanted::Shown : TaskbarWanted::Hidden)
                << name;
            EXPECT_EQ(desk.fake.windowEvents.watching, !givenUp) << name;
        }
    }
}

TEST(Guard, HidesANewShellsTaskbarOnlyWhileGuarding) {
    for (const std::int32_t option : {1, 0}) {
        Desk desk(option);
        desk.Press();
        desk.fake.desktop.SetShown(desk.taskbar, true);
        OnShellRestarted(desk.state, desk.fake.platform);
        EXPECT_EQ(desk.Shown(), option == 0) << "option " << option;
    }
}

}  // namespace
