#include "app/switches.h"

#include <cstring>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "app/instance_role.h"
#include "taskbar/hide_show.h"
#include "taskbar/multimon_policy.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

const char* NameOf(SecondInstanceAction action) {
    switch (action) {
        case SecondInstanceAction::None:
            return "none";
        case SecondInstanceAction::ShowTaskbar:
            return "show";
        case SecondInstanceAction::HideTaskbar:
            return "hide";
        case SecondInstanceAction::ToggleTaskbar:
            return "toggle";
        case SecondInstanceAction::AllowMultimon:
            return "multi";
        case SecondInstanceAction::ForbidMultimon:
            return "nomulti";
    }
    return "?";
}

const char* NameOf(StartToggle toggle) {
    switch (toggle) {
        case StartToggle::None:
            return "none";
        case StartToggle::ShowTaskbar:
            return "show";
        case StartToggle::HideTaskbar:
            return "hide";
        case StartToggle::ToggleTaskbar:
            return "toggle";
    }
    return "?";
}

struct SwitchCase {
    const char* commandLine;
    SecondInstanceAction second;
    StartToggle residentToggle;
    bool residentExits;
};

const SwitchCase SWITCH_CASES[] = {
    {"Shelfcloak.exe", SecondInstanceAction::None, StartToggle::None, false},
    {"Shelfcloak.exe -show", SecondInstanceAction::ShowTaskbar, StartToggle::ShowTaskbar, false},
    {"Shelfcloak.exe -HIDE", SecondInstanceAction::HideTaskbar, StartToggle::HideTaskbar, false},
    {"Shelfcloak.exe -hide -exit", SecondInstanceAction::HideTaskbar, StartToggle::HideTaskbar,
     true},
    {"Shelfcloak.exe -Exit", SecondInstanceAction::None, StartToggle::None, true},
    {"Shelfcloak.exe -multi", SecondInstanceAction::AllowMultimon, StartToggle::None, false},
    {"Shelfcloak.exe -NoMulti", SecondInstanceAction::ForbidMultimon, StartToggle::None, false},
    // Which switch wins.
    {"Shelfcloak.exe -hide -show", SecondInstanceAction::ShowTaskbar, StartToggle::ShowTaskbar,
     false},
    {"Shelfcloak.exe -nomulti -hide", SecondInstanceAction::HideTaskbar, StartToggle::HideTaskbar,
     false},
    {"Shelfcloak.exe -nomulti -multi", SecondInstanceAction::AllowMultimon, StartToggle::None,
     false},
    {"Shelfcloak.exe -nomulti -show -exit", SecondInstanceAction::ShowTaskbar,
     StartToggle::ShowTaskbar, true},
    // Glued to other text, anywhere in the line, the program's path included.
    {"Shelfcloak.exe/-hideNOW", SecondInstanceAction::HideTaskbar, StartToggle::HideTaskbar, false},
    {"\"C:\\x-show\\Shelfcloak.exe\"", SecondInstanceAction::ShowTaskbar, StartToggle::ShowTaskbar,
     false},
    {"C:\\tools-exit\\Shelfcloak.exe", SecondInstanceAction::None, StartToggle::None, true},
    // "-hider" anywhere turns "-hide" off, and only "-hide".
    {"C:\\my-hider\\Shelfcloak.exe -hide", SecondInstanceAction::None, StartToggle::None, false},
    {"Shelfcloak.exe -hide -HIDER", SecondInstanceAction::None, StartToggle::None, false},
    {"C:\\my-hider\\Shelfcloak.exe -hide -nomulti", SecondInstanceAction::ForbidMultimon,
     StartToggle::None, false},
    {"C:\\my-hider\\Shelfcloak.exe -show -exit", SecondInstanceAction::ShowTaskbar,
     StartToggle::ShowTaskbar, true},
    {"Shelfcloak.exe -hid e", SecondInstanceAction::None, StartToggle::None, false},
    // "-toggle": after "-show" and "-hide", before the policy; a whole argument only.
    {"Shelfcloak.exe -TOGGLE -exit", SecondInstanceAction::ToggleTaskbar,
     StartToggle::ToggleTaskbar, true},
    {"Shelfcloak.exe -toggle -hide", SecondInstanceAction::HideTaskbar, StartToggle::HideTaskbar,
     false},
    {"Shelfcloak.exe -nomulti -toggle", SecondInstanceAction::ToggleTaskbar,
     StartToggle::ToggleTaskbar, false},
    {"\"C:\\x -toggle\\Shelfcloak.exe\" -togglex", SecondInstanceAction::None, StartToggle::None,
     false},
};

TEST(Switches, EachInstanceFindsItsSwitches) {
    for (const SwitchCase& c : SWITCH_CASES) {
        const SwitchText text(c.commandLine);
        const SecondInstanceAction second = SecondInstanceActionFor(text);
        const ResidentSwitches resident = ResidentSwitchesFor(text);
        EXPECT_EQ(second, c.second) << c.commandLine << ": second instance " << NameOf(second);
        EXPECT_EQ(resident.toggle, c.residentToggle)
            << c.commandLine << ": resident " << NameOf(resident.toggle);
        EXPECT_EQ(resident.exit, c.residentExits) << c.commandLine;
    }
}

TEST(Switches, SwitchesBeyondCharacter259AreNotSeen) {
    const std::string path = "C:\\" + std::string(250, 'd') + "\\Shelfcloak.exe";
    const SwitchText text((path + " -hide -exit").c_str());
    EXPECT_EQ(SecondInstanceActionFor(text), SecondInstanceAction::None);
    EXPECT_EQ(ResidentSwitchesFor(text).toggle, StartToggle::None);
    EXPECT_FALSE(ResidentSwitchesFor(text).exit);
}

// A taskbar at the bottom, shown, on a 1280x800 screen; the resident
// instance's window, which a second start tells what the user asked.
struct Desk {
    FakePlatform fake;
    AppStateRecord state = {};
    WindowHandle taskbar = nullptr;
    WindowHandle resident = nullptr;

    Desk() {
        fake.desktop.screen = {1280, 800};
        fake.desktop.workArea = {0, 0, 1280, 780};
        taskbar = fake.desktop.AddWindow(TASKBAR_CLASS, "", {0, 780, 1280, 800}, true);
        resident = fake.desktop.AddWindow("SHELFCLOAK", "Shelf Cloak", {}, false);
        std::strcpy(state.windowClassName, "SHELFCLOAK");
        std::strcpy(state.windowTitle, "Shelf Cloak");
        state.userAskedMsg = 0xC0DE;
    }
    std::vector<std::string> Effects() const {
        return fake.log.Matching({"Send", "SetWorkArea", "Show", "Hide", "SetValue", "Execute"});
    }
};

// The resident instance hears of -show and -hide before the taskbar
// changes; the switch acts whether it answers or not.
TEST(RunSecondInstance, CarriesOutOneSwitch) {
    enum class Resident { Answers, Hangs, None, KnowsNoToggle };
    const std::string ASKS_SHOW = "Send SHELFCLOAK 0xC0DE 1";
    const std::string ASKS_HIDE = "Send SHELFCLOAK 0xC0DE 2";
    const std::string ASKS_TOGGLE = "Send SHELFCLOAK 0xC0DE 3";
    const std::string HIDES = "SetWorkArea 0,0,1280,800";
    struct Case {
        const char* commandLine;
        Resident resident;
        std::vector<std::string> effects;
    };
    const Case cases[] = {
        {"Shelfcloak.exe", Resident::Answers, {}},
        {nullptr, Resident::Answers, {}},
        {"Shelfcloak.exe -hide", Resident::Answers, {ASKS_HIDE, HIDES, "Hide Shell_TrayWnd"}},
        {"Shelfcloak.exe -show", Resident::Answers, {ASKS_SHOW, "Show Shell_TrayWnd"}},
        {"Shelfcloak.exe -show", Resident::Hangs, {ASKS_SHOW, "Show Shell_TrayWnd"}},
        {"Shelfcloak.exe -show", Resident::None, {"Show Shell_TrayWnd"}},
        {"Shelfcloak.exe -exit", Resident::Answers, {}},
        {"Shelfcloak.exe -nomulti", Resident::Answers, {"SetValue TaskbarNoMultimon dword 1"}},
        {"Shelfcloak.exe -multi -nomulti",
         Resident::Answers,
         {"SetValue TaskbarNoMultimon dword 0"}},
        {"Shelfcloak.exe -nomulti -hide",
         Resident::Answers,
         {ASKS_HIDE, HIDES, "Hide Shell_TrayWnd"}},
        // The resident toggles; when it cannot, the second start does.
        {"Shelfcloak.exe -toggle", Resident::Answers, {ASKS_TOGGLE}},
        {"Shelfcloak.exe -toggle",
         Resident::KnowsNoToggle,
         {ASKS_TOGGLE, HIDES, "Hide Shell_TrayWnd"}},
        {"Shelfcloak.exe -toggle", Resident::Hangs, {ASKS_TOGGLE, HIDES, "Hide Shell_TrayWnd"}},
        {"Shelfcloak.exe -toggle", Resident::None, {HIDES, "Hide Shell_TrayWnd"}},
    };
    for (const Case& c : cases) {
        Desk desk;
        if (c.resident == Resident::Hangs) {
            desk.fake.desktop.hung.push_back(desk.resident);
        } else if (c.resident == Resident::None) {
            desk.state.windowClassName[0] = 'X';  // the lookup finds no such window
        } else if (c.resident == Resident::KnowsNoToggle) {
            desk.fake.desktop.answer = 0;  // as an earlier version answers
        }
        RunSecondInstance(SwitchText(c.commandLine), desk.state, desk.fake.platform);
        EXPECT_TRUE(SameCalls(desk.Effects(), c.effects))
            << (c.commandLine != nullptr ? c.commandLine : "<no command line>") << ", resident "
            << static_cast<int>(c.resident);
        EXPECT_FALSE(desk.fake.windowEvents.watching);
    }
}

TEST(RunSecondInstance, PolicySwitchesNeverRelaunch) {
    for (const char* line : {"Shelfcloak.exe -nomulti", "Shelfcloak.exe -multi"}) {
        Desk desk;
        desk.fake.registry.faults[POLICY_KEY_PATH] = {.openForWrite = RESULT_ACCESS_DENIED,
                                                      .create = RESULT_ACCESS_DENIED};
        RunSecondInstance(SwitchText(line), desk.state, desk.fake.platform);
        EXPECT_TRUE(SameCalls(desk.fake.log.Matching({"Execute"}), {})) << line;
    }
}

TEST(RunPolicyWriteOnly, WritesOnceAndEndsOnlyForAPolicySwitchWithExit) {
    const std::string open = std::string("OpenKey ") + POLICY_KEY_PATH;
    const std::string create = std::string("CreateKey ") + POLICY_KEY_PATH;
    const std::string close = std::string("CloseKey ") + POLICY_KEY_PATH;
    const std::initializer_list<const char*> POLICY_CALLS = {
        open.c_str(), create.c_str(), close.c_str(), "SetValue TaskbarNoMultimon"};
    const std::string written1 = "SetValue TaskbarNoMultimon dword 1";
    const std::string written0 = "SetValue TaskbarNoMultimon dword 0";
    struct Case {
        const char* commandLine;
        bool refused;  // the policy key closed to writes
        bool ends;
        std::vector<std::string> effects;
    };
    const Case cases[] = {
        {"Shelfcloak.exe -nomulti -exit", false, true, {written1}},
        {"\"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe\" -multi -exit",
         false,
         true,
         {written0}},
        {"Shelfcloak.exe -EXIT -NoMulti", false, true, {written1}},
        // The switch a second instance would choose.
        {"Shelfcloak.exe -nomulti -multi -exit", false, true, {written0}},
        {"C:\\a-hider\\Shelfcloak.exe -hide -nomulti -exit", false, true, {written1}},
        // Refused again: the copy never starts another.
        {"Shelfcloak.exe -nomulti -exit", true, true, {}},
        {"Shelfcloak.exe -multi -exit", true, true, {}},
        // Anything else is left to the instance rule.
        {"Shelfcloak.exe -nomulti", false, false, {}},
        {"Shelfcloak.exe -exit", false, false, {}},
        {"Shelfcloak.exe -hide -nomulti -exit", false, false, {}},
        {"Shelfcloak.exe -show -multi -exit", true, false, {}},
        {nullptr, false, false, {}},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.commandLine != nullptr ? c.commandLine : "<none>") +
                                 (c.refused ? ", refused" : "");
        Desk desk;
        if (c.refused) {
            desk.fake.registry.faults[POLICY_KEY_PATH] = {.openForWrite = RESULT_ACCESS_DENIED,
                                                          .create = RESULT_ACCESS_DENIED};
        }
        EXPECT_EQ(RunPolicyWriteOnly(SwitchText(c.commandLine), desk.fake.platform), c.ends)
            << name;
        EXPECT_TRUE(SameCalls(desk.Effects(), c.effects)) << name;
        EXPECT_TRUE(SameCalls(desk.fake.log.calls, desk.fake.log.Matching(POLICY_CALLS)))
            << name << ": only the policy key is touched";
        EXPECT_EQ(desk.fake.registry.OpenHandles(), 0u) << name;
    }
}

// The copy that a refused write starts is such a start, with the same value.
TEST(RunPolicyWriteOnly, TheRelaunchedCopyWritesTheRefusedValueAndEnds) {
    for (const std::uint32_t value : {1u, 0u}) {
        Desk refused;
        refused.fake.registry.faults[POLICY_KEY_PATH] = {.openForWrite = RESULT_ACCESS_DENIED,
                                                         .create = RESULT_ACCESS_DENIED};
        SetTaskbarNoMultimon(value, 0, nullptr, refused.fake.platform);
        const std::string copy = refused.fake.shell.lastCommandLine;
        ASSERT_FALSE(copy.empty()) << "value " << value << ": no copy was started";

        Desk elevated;
        EXPECT_TRUE(RunPolicyWriteOnly(SwitchText(copy.c_str()), elevated.fake.platform)) << copy;
        EXPECT_EQ(elevated.fake.registry.Dword(POLICY_KEY_PATH, POLICY_VALUE_NAME), value) << copy;
    }
}

// With the option on, the guard follows what the switch asked, unless the
// instance leaves at once.
TEST(ApplyResidentSwitches, RecordWhatTheUserAskedFor) {
    const TaskbarWanted SHOWN = TaskbarWanted::Shown;
    const TaskbarWanted HIDDEN = TaskbarWanted::Hidden;
    struct Case {
        const char* commandLine;
        TaskbarWanted askedBefore;
        bool staysResident;
        TaskbarWanted askedAfter;
        bool guards;
        std::vector<std::string> effects;
    };
    const Case cases[] = {
        {"Shelfcloak.exe", SHOWN, true, SHOWN, false, {}},
        {nullptr, SHOWN, true, SHOWN, false, {}},
        {"Shelfcloak.exe -HIDE",
         SHOWN,
         true,
         HIDDEN,
         true,
         {"SetWorkArea 0,0,1280,800", "Hide Shell_TrayWnd"}},
        {"Shelfcloak.exe -show", HIDDEN, true, SHOWN, false, {"Show Shell_TrayWnd"}},
        {"Shelfcloak.exe -hide -show", HIDDEN, true, SHOWN, false, {"Show Shell_TrayWnd"}},
        {"Shelfcloak.exe -hide -exit",
         SHOWN,
         false,
         HIDDEN,
         false,
         {"SetWorkArea 0,0,1280,800", "Hide Shell_TrayWnd"}},
        {"Shelfcloak.exe -exit", SHOWN, false, SHOWN, false, {}},
        {"Shelfcloak.exe -nomulti -multi", SHOWN, true, SHOWN, false, {}},
        {"C:\\a-hider\\Shelfcloak.exe -hide", SHOWN, true, SHOWN, false, {}},
        // The taskbar shows, so a toggle hides it, whatever was asked before.
        {"Shelfcloak.exe -toggle",
         HIDDEN,
         true,
         HIDDEN,
         true,
         {"SetWorkArea 0,0,1280,800", "Hide Shell_TrayWnd"}},
        {"Shelfcloak.exe -toggle -exit",
         SHOWN,
         false,
         HIDDEN,
         false,
         {"SetWorkArea 0,0,1280,800", "Hide Shell_TrayWnd"}},
    };
    for (const Case& c : cases) {
        const char* name = c.commandLine != nullptr ? c.commandLine : "<no command line>";
        Desk desk;
        desk.state.mainWindow = desk.resident;
        desk.state.stayHidden = 1;
        desk.state.lastAskedFor = c.askedBefore;
        const ResidentSwitches start =
            DecideStartToggle(ResidentSwitchesFor(SwitchText(c.commandLine)), desk.fake.platform);
        EXPECT_EQ(ApplyResidentSwitches(start, desk.state, desk.fake.platform), c.staysResident)
            << name;
        EXPECT_EQ(desk.state.lastAskedFor, c.askedAfter) << name;
        EXPECT_EQ(desk.fake.windowEvents.watching, c.guards) << name;
        EXPECT_TRUE(SameCalls(desk.Effects(), c.effects)) << name;
    }
}

TEST(RoleAfterMutexCreation, AnExistingOrForbiddenMutexMeansASecondInstance) {
    struct Case {
        std::uint32_t lastError;
        InstanceRole role;
    };
    const Case cases[] = {
        {0, InstanceRole::Resident}, {183, InstanceRole::Second},  // ERROR_ALREADY_EXISTS
        {5, InstanceRole::Second},                                 // ERROR_ACCESS_DENIED
        {2, InstanceRole::Resident}, {6, InstanceRole::Resident},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoleAfterMutexCreation(c.lastError), c.role) << "last error " << c.lastError;
    }
}

}  // namespace
