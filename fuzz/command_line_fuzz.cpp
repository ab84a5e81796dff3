// Whole command lines of any bytes and length, as a second instance and as
// the resident instance take them, and as the check made before either for
// a start that only writes the policy, on a desktop with a taskbar whose
// policy key may be written, one whose policy key refuses writes, and one
// without a taskbar. The switches act as the first 259 characters,
// lower-cased, ask; none of them does more than one thing or starts a program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/switches.h"
#include "fuzz/require.h"
#include "taskbar/hide_show.h"
#include "taskbar/multimon_policy.h"
#include "tests/fakes/fake_platform.h"

namespace {

constexpr Rect SCREEN = {0, 0, 1280, 800};
constexpr Rect ABOVE_TASKBAR = {0, 0, 1280, 780};

enum class Setting { Taskbar, PolicyDenied, NoTaskbar };
constexpr Setting SETTINGS[] = {Setting::Taskbar, Setting::PolicyDenied, Setting::NoTaskbar};

// What the switches ask, found independently of the code under test.
struct Asked {
    bool show;
    bool hide;
    bool multi;
    bool noMulti;
    bool exit;
    bool toggle;  // in the first start's taskbar, shown here: a hide
};

std::string Searched(const std::string& commandLine) {
    std::string text = commandLine.substr(0, COMMAND_LINE_BUFFER_SIZE - 1);
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return text;
}

// "-toggle" counts only as an argument of its own after the program's path,
// which is quoted or ends at the first blank.
bool HasToggleArgument(const std::string& text) {
    std::size_t at = 0;
    if (!text.empty() && text[0] == '"') {
        const std::size_t closing = text.find('"', 1);
        at = closing == std::string::npos ? text.size() : closing + 1;
    } else {
        at = text.find_first_of(" \t");
    }
    std::string arguments = at == std::string::npos ? "" : text.substr(at);
    for (char& c : arguments) {
        c = c == '\t' ? ' ' : c;
    }
    // An argument may follow the closing quote with no blank between.
    return (" " + arguments + " ").find(" -toggle ") != std::string::npos;
}

Asked AskedBy(const std::string& text) {
    const auto has = [&](const char* word) { return text.find(word) != std::string::npos; };
    return Asked{has("-show"), has("-hide") && !has("-hider"), has("-multi"), has("-nomulti"),
                 has("-exit"), HasToggleArgument(text)};
}

struct Desk {
    FakePlatform fake;
    WindowHandle taskbar = nullptr;

    explicit Desk(Setting setting) {
        fake.desktop.screen = {SCREEN.right, SCREEN.bottom};
        fake.desktop.workArea = ABOVE_TASKBAR;
        if (setting != Setting::NoTaskbar) {
            taskbar = fake.desktop.AddWindow("Shell_TrayWnd", "", Rect{0, 780, 1280, 800}, true);
        }
        if (setting == Setting::PolicyDenied) {
            fake.registry.keys[POLICY_KEY_PATH];
            fake.registry.faults[POLICY_KEY_PATH].openForWrite = RESULT_ACCESS_DENIED;
            fake.registry.faults[POLICY_KEY_PATH].setValue = RESULT_ACCESS_DENIED;
        }
    }

    bool Shown() const { return taskbar == nullptr || fake.desktop.WindowOf(taskbar).shown; }
    std::size_t Count(const char* prefix) const { return fake.log.Matching({prefix}).size(); }

    void CheckCommon(const char* who) const {
        const std::string of = std::string(" (") + who + ")";
        Require(fake.registry.OpenHandles() == 0, "a key was left open" + of);
        Require(Count("Execute") == 0, "a program was started" + of);
        Require(Count("RegisterHotKey") + Count("UnregisterHotKey") == 0,
                "hot keys were touched" + of);
        Require(Count("SetValue") <= 1, "more than one value was written" + of);
        if (taskbar == nullptr) {
            Require(fake.desktop.workArea == ABOVE_TASKBAR && Count("SetWorkArea") == 0,
                    "the work area changed without a taskbar" + of);
        }
    }

    // The taskbar and work area after a show or hide, or untouched.
    void CheckTaskbar(bool show, bool hide, const char* who) const {
        const std::string of = std::string(" (") + who + ")";
        if (taskbar == nullptr || (!show && !hide)) {
            Require(Shown() && fake.desktop.workArea == ABOVE_TASKBAR,
                    "the taskbar or work area changed unasked" + of);
        } else if (show) {
            Require(Shown() && fake.desktop.workArea == ABOVE_TASKBAR,
                    "a show left the taskbar hidden or the work area wrong" + of);
        } else {
            Require(!Shown() && fake.desktop.workArea == SCREEN,
                    "a hide left the taskbar shown or the work area short" + of);
        }
    }
};

// The policy holds what the switches ask when they ask for it and it may be
// written; otherwise it was never written.
void RequirePolicy(const Desk& desk, bool wanted, const Asked& asked, Setting setting) {
    const auto written = desk.fake.registry.Dword(POLICY_KEY_PATH, POLICY_VALUE_NAME);
    if (wanted && setting != Setting::PolicyDenied) {
        Require(written == (asked.multi ? 0u : 1u), "the policy is not as the switch asks");
    } else {
        Require(!written, "the policy was written although refused or unasked");
    }
}

void CheckSecondInstance(const std::string& commandLine, const Asked& asked, Setting setting) {
    Desk desk(setting);
    AppStateRecord state = {};
    RunSecondInstance(SwitchText(commandLine.c_str()), state, desk.fake.platform);
    desk.CheckCommon("second instance");
    const bool hide = !asked.show && (asked.hide || asked.toggle);
    desk.CheckTaskbar(asked.show, hide, "second instance");
    const bool policy = !asked.show && !hide && (asked.multi || asked.noMulti);
    Require(policy || desk.Count("OpenKey") + desk.Count("CreateKey") == 0,
            "the policy was touched unasked (second instance)");
    RequirePolicy(desk, policy, asked, setting);
}

void CheckPolicyWriteOnly(const std::string& commandLine, const Asked& asked, Setting setting) {
    Desk desk(setting);
    const bool ends = RunPolicyWriteOnly(SwitchText(commandLine.c_str()), desk.fake.platform);
    desk.CheckCommon("policy write only");
    desk.CheckTaskbar(false, false, "policy write only");
    const bool policy =
        asked.exit && !asked.show && !asked.hide && !asked.toggle && (asked.multi || asked.noMulti);
    Require(ends == policy, "a start was taken for a policy write, or one was missed");
    Require(ends || desk.fake.log.calls.empty(), "a start left to the instance rule was acted on");
    RequirePolicy(desk, ends, asked, setting);
}

void CheckResident(const std::string& commandLine, const Asked& asked, Setting setting) {
    Desk desk(setting);
    AppStateRecord state = {};
    const ResidentSwitches start =
        DecideStartToggle(ResidentSwitchesFor(SwitchText(commandLine.c_str())), desk.fake.platform);
    const bool stays = ApplyResidentSwitches(start, state, desk.fake.platform);
    desk.CheckCommon("resident");
    Require(stays == !asked.exit, "-exit decided wrongly");
    Require(desk.Count("OpenKey") + desk.Count("CreateKey") == 0,
            "the resident's switches touched the registry");
    // A toggle without a taskbar has nothing to go by, and asks nothing.
    const bool toggles = asked.toggle && setting != Setting::NoTaskbar;
    const bool hide = !asked.show && (asked.hide || toggles);
    desk.CheckTaskbar(asked.show, hide, "resident");
    Require(state.lastAskedFor == (hide ? TaskbarWanted::Hidden : TaskbarWanted::Shown),
            "what the user asked for is recorded wrongly");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The command line ends at its first zero byte, as the platform's does.
    const std::string commandLine(reinterpret_cast<const char*>(data), size);
    const std::string line = commandLine.substr(0, commandLine.find('\0'));
    const std::string searched = Searched(line);

    // The first 259 characters lower-cased are searched, and nothing beyond.
    const SwitchText text(line.c_str());
    Require(text.Contains(searched.c_str()), "the searched text is not the line lower-cased");
    if (line.size() > searched.size()) {
        const std::string longer = searched + Searched(line.substr(searched.size(), 1));
        Require(!text.Contains(longer.c_str()), "more than 259 characters are searched");
    }

    const Asked asked = AskedBy(searched);
    for (const Setting setting : SETTINGS) {
        CheckPolicyWriteOnly(line, asked, setting);
        CheckSecondInstance(line, asked, setting);
        CheckResident(line, asked, setting);
    }
    return 0;
}
