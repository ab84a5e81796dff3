// A registry that refuses the user: keys that may not be opened or created,
// values that may not be read or written. A whole run of the program over
// it, through the fakes: the load at start, the Settings dialog's opening
// and OK, a hide and a show with Force, and the edge saved at exit. The win
// and e2e tiers meet the keys' refusals again on real keys whose DACL refuses
// the user; the faults that no DACL makes stay here alone.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "app/main_window_decisions.h"
#include "settings/settings_dialog_decisions.h"
#include "settings/settings_store.h"
#include "settings/start_at_logon.h"
#include "shared/identifiers.h"
#include "taskbar/multimon_policy.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

const WindowHandle WINDOW = reinterpret_cast<WindowHandle>(std::uintptr_t{0x4242});
const std::string SETTINGS = SETTINGS_KEY_PATH;
const std::string RUN = RUN_KEY_PATH;
const std::string POLICY = POLICY_KEY_PATH;
const FakeRegistry::Faults DENIED_KEY = {.openForRead = RESULT_ACCESS_DENIED,
                                         .openForWrite = RESULT_ACCESS_DENIED,
                                         .create = RESULT_ACCESS_DENIED};
const FakeRegistry::Faults DENIED_WRITES = {.openForWrite = RESULT_ACCESS_DENIED,
                                            .create = RESULT_ACCESS_DENIED,
                                            .setValue = RESULT_ACCESS_DENIED};

struct Case {
    const char* name;
    std::map<std::string, FakeRegistry::Faults> faults;
    // expected
    bool firstRun;
    std::string hotKey;  // registered at the end
    bool settingsStored;
    bool runStored;
    std::vector<std::string> relaunches;
};

void ExpectAWholeRun(const Case& c) {
    SCOPED_TRACE(c.name);
    FakePlatform fake;
    fake.desktop.screen = {1280, 800};
    fake.desktop.workArea = {0, 0, 1280, 780};
    fake.desktop.AddWindow("Shell_TrayWnd", "", {0, 780, 1280, 800}, true);
    fake.registry.PutDword(SETTINGS, "System", 0);
    fake.registry.PutDword(SETTINGS, "WinKey", 6);
    fake.registry.PutDword(SETTINGS, "Force", 1);
    fake.registry.PutDword(SETTINGS, "LastSeenTaskbarPosition", 3);
    fake.registry.faults = c.faults;
    AppStateRecord state = {};

    const SettingsLoad load = LoadSettingsAndRegisterHotKey(WINDOW, state, fake.platform);
    state.mainWindow = WINDOW;
    EXPECT_EQ(load, c.firstRun ? SettingsLoad::FirstRun : SettingsLoad::Stored);
    const SettingsChoices shown = StoredSettingsChoices(fake.registry);
    state.startupAtOpen = shown.startAtLogon ? 1 : 0;
    ApplySettingsChoices({true, 1, 6, true, true}, state, fake.platform);
    OnToggleHotKey(HOTKEY_ID_TOGGLE, state, fake.platform);
    OnToggleHotKey(HOTKEY_ID_TOGGLE, state, fake.platform);
    SaveLastTaskbarEdge(state, fake.platform);

    EXPECT_EQ(fake.registry.OpenHandles(), 0u) << "a key was left open";
    ASSERT_EQ(fake.hotKeys.registered.size(), 1u);
    const FakeHotKeys::Registration& held = fake.hotKeys.registered.begin()->second;
    EXPECT_EQ(HotKeyName(held.modifiers, held.keyCode), c.hotKey);
    EXPECT_EQ(fake.registry.Dword(SETTINGS, "CtrlShiftKey").has_value(), c.settingsStored);
    EXPECT_EQ(fake.registry.Dword(SETTINGS, "LastSeenTaskbarPosition"), c.settingsStored ? 4u : 3u)
        << "the edge last seen is saved where the key may be written";
    EXPECT_EQ(fake.registry.Find(RUN, RUN_VALUE_NAME) != nullptr, c.runStored);
    EXPECT_TRUE(SameCalls(fake.log.Matching({"Execute"}), c.relaunches));
}

const std::string RELAUNCH = "Execute runas \"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe\" ";
const std::vector<std::string> BOTH_RELAUNCHES = {RELAUNCH + "-nomulti -exit show 0",
                                                  RELAUNCH + "-multi -exit show 0"};

TEST(RefusedRegistry, AWholeRunOverKeysClosedToTheUserLeavesNoKeyOpenAndOneHotKey) {
    const Case cases[] = {
        {"nothing refused", {}, false, "Ctrl+Shift+B", true, true, {}},
        {"settings key refused: nothing stored, the default hot key, Force as loaded",
         {{SETTINGS, DENIED_KEY}},
         true,
         "Ctrl+Shift+A",
         false,
         true,
         {}},
        {"Run key refused", {{RUN, DENIED_KEY}}, false, "Ctrl+Shift+B", true, false, {}},
        {"policy key refused: the elevated copy each time",
         {{POLICY, DENIED_WRITES}},
         false,
         "Ctrl+Shift+B",
         true,
         true,
         BOTH_RELAUNCHES},
        {"everything refused",
         {{SETTINGS, DENIED_KEY}, {RUN, DENIED_KEY}, {POLICY, DENIED_WRITES}},
         true,
         "Ctrl+Shift+A",
         false,
         false,
         {}},
    };
    for (const Case& c : cases) {
        ExpectAWholeRun(c);
    }
}

// No DACL refuses a read while it grants every access, nor a value on its
// own: KEY_ALL_ACCESS includes reading, and access is granted per key when
// it is opened.
TEST(RefusedRegistryThroughFakes, AWholeRunOverRefusalsNoDaclMakesLeavesNoKeyOpenAndOneHotKey) {
    const Case cases[] = {
        {"settings key refused for reading only: a first run",
         {{SETTINGS, {.openForRead = RESULT_ACCESS_DENIED}}},
         true,
         "Ctrl+Shift+B",
         true,
         true,
         {}},
        {"settings values unreadable",
         {{SETTINGS,
           {.unreadable = {"System", "Force", "WinKey", "CtrlShiftKey", "StartUp",
                           "LastSeenTaskbarPosition"}}}},
         false,
         "Ctrl+Shift+B",
         true,
         true,
         {}},
        {"settings writes refused on an open key",
         {{SETTINGS, {.setValue = RESULT_ACCESS_DENIED}}},
         false,
         "Ctrl+Shift+B",
         false,
         true,
         {}},
    };
    for (const Case& c : cases) {
        ExpectAWholeRun(c);
    }
}

}  // namespace
