#include "settings/settings_dialog_decisions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "settings/settings_store.h"
#include "settings/start_at_logon.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

const std::string KEY = SETTINGS_KEY_PATH;
const std::string RUN = RUN_KEY_PATH;
const WindowHandle MAIN = reinterpret_cast<WindowHandle>(std::uintptr_t{0x5150});
const std::string PROGRAM = "C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe";

struct Ok {
    FakePlatform fake;
    AppStateRecord state = {};

    Ok() {
        state.mainWindow = MAIN;
        // The hot key before OK.
        fake.hotKeys.registered[{MAIN, 2136}] = {6, 'A'};
        state.toggleKeyHeld = {6, 'A'};
    }
    void Press(const SettingsChoices& chosen) {
        ApplySettingsChoices(chosen, state, fake.platform);
    }
    std::optional<std::uint32_t> Stored(const char* name) const {
        return fake.registry.Dword(KEY, name);
    }
};

TEST(ApplySettingsChoices, ReplacesTheHotKeyBeforeItStoresEveryChoice) {
    Ok ok;
    ok.fake.registry.keys[KEY];
    ok.Press({false, 2, 6, true, false, true});
    EXPECT_TRUE(SameCalls(ok.fake.log.calls, {
                                                 "UnregisterHotKey 2136",
                                                 "RegisterHotKey 2136 Win+Q",
                                                 "OpenKey " + KEY + " all",
                                                 "SetValue Force dword 1",
                                                 "SetValue WinKey dword 6",
                                                 "SetValue CtrlShiftKey dword 2",
                                                 "SetValue System dword 0",
                                                 "SetValue StartUp dword 0",
                                                 "SetValue StayHidden dword 1",
                                                 "CloseKey " + KEY,
                                             }));
    EXPECT_EQ(ok.state.forceAllDisplays, 1);
    EXPECT_EQ(ok.state.stayHidden, 1);
    ASSERT_EQ(ok.fake.hotKeys.registered.count({MAIN, 2136}), 1u);
    const FakeHotKeys::Registration now = ok.fake.hotKeys.registered[{MAIN, 2136}];
    EXPECT_EQ(now.keyCode, static_cast<std::uint32_t>('Q'));
}

TEST(ApplySettingsChoices, StoresTheModifierAndBothLetters) {
    struct Case {
        const char* name;
        SettingsChoices chosen;
        std::string hotKey;
        std::uint32_t system;
    };
    const Case cases[] = {
        {"win and q", {false, 0, 6, false, false}, "RegisterHotKey 2136 Win+Q", 0},
        {"ctrl+shift and b", {true, 1, 9, false, false}, "RegisterHotKey 2136 Ctrl+Shift+B", 1},
        {"ctrl+shift and z", {true, 25, 0, false, false}, "RegisterHotKey 2136 Ctrl+Shift+Z", 1},
    };
    for (const Case& c : cases) {
        Ok ok;
        ok.Press(c.chosen);
        EXPECT_TRUE(SameCalls(ok.fake.log.Matching({"RegisterHotKey"}), {c.hotKey})) << c.name;
        EXPECT_EQ(ok.Stored(VALUE_USES_CTRL_SHIFT), c.system) << c.name;
        EXPECT_EQ(ok.Stored(VALUE_WIN_LETTER), c.chosen.winIndex) << c.name;
        EXPECT_EQ(ok.Stored(VALUE_CTRL_SHIFT_LETTER), c.chosen.ctrlShiftIndex) << c.name;
        EXPECT_EQ(ok.Stored(VALUE_FORCE), 0u) << c.name;
        EXPECT_EQ(ok.state.forceAllDisplays, 0) << c.name;
    }
}

TEST(ApplySettingsChoices, WithoutASettingsKeyRegistersTheDefaultAndStoresNothing) {
    Ok ok;
    ok.fake.registry.faults[KEY] = {.openForWrite = RESULT_ACCESS_DENIED,
                                    .create = RESULT_ACCESS_DENIED};
    ok.state.forceAllDisplays = 1;
    ok.state.stayHidden = 1;
    ok.Press({false, 3, 6, false, true, false});
    EXPECT_TRUE(SameCalls(
        ok.fake.log.Matching({"RegisterHotKey", "UnregisterHotKey", "SetValue"}),
        {"UnregisterHotKey 2136", "RegisterHotKey 2136 Win+Q", "UnregisterHotKey 2136",
         "RegisterHotKey 2136 Ctrl+Shift+A", "SetValue ShCloak wsz \"\"" + PROGRAM + "\"\""}));
    EXPECT_EQ(ok.state.forceAllDisplays, 1) << "Force in memory stays as it was";
    EXPECT_EQ(ok.state.stayHidden, 1) << "so does StayHidden";
    EXPECT_EQ(ok.fake.registry.keys.count(KEY), 0u);
}

// Windows keeps most Win letters, and any program may hold a combination:
// OK must then change nothing, so that the user can choose again.
TEST(ApplySettingsChoices, ARefusedHotKeyChangesNothingAndTheHeldOneStays) {
    struct Case {
        const char* name;
        std::optional<FakeHotKeys::Registration> heldBefore;
        FakeHotKeys::Registration heldElsewhere;
        bool settingsWritable;
        SettingsChoices chosen;
        bool applied;
        std::string heldAfter;  // "" for nothing
    };
    const Case cases[] = {
        {"taken by another program",
         FakeHotKeys::Registration{6, 'A'},
         {6, 'Q'},
         true,
         {true, 16, 9, true, true},
         false,
         "Ctrl+Shift+A"},
        {"a win letter Windows keeps",
         FakeHotKeys::Registration{6, 'A'},
         {8, 'X'},
         true,
         {false, 0, 9, false, true},
         false,
         "Ctrl+Shift+A"},
        {"nothing was held", std::nullopt, {6, 'Q'}, true, {true, 16, 9, true, true}, false, ""},
        {"unstorable settings and the default taken: the choice stays",
         FakeHotKeys::Registration{6, 'B'},
         {6, 'A'},
         false,
         {false, 0, 6, false, true},
         true,
         "Win+Q"},
        {"the combination already held",
         FakeHotKeys::Registration{6, 'Q'},
         {8, 'X'},
         true,
         {true, 16, 9, true, true},
         true,
         "Ctrl+Shift+Q"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ok ok;
        ok.fake.hotKeys.registered.clear();
        ok.state.toggleKeyHeld = {};
        if (c.heldBefore) {
            ok.fake.hotKeys.registered[{MAIN, 2136}] = *c.heldBefore;
            ok.state.toggleKeyHeld = {c.heldBefore->modifiers, c.heldBefore->keyCode};
        }
        ok.fake.hotKeys.heldElsewhere.insert({c.heldElsewhere.modifiers, c.heldElsewhere.keyCode});
        ok.fake.registry.keys[RUN];
        if (!c.settingsWritable) {
            ok.fake.registry.faults[KEY] = {.openForWrite = RESULT_ACCESS_DENIED,
                                            .create = RESULT_ACCESS_DENIED};
        }
        ok.state.forceAllDisplays = 0;

        const OkOutcome outcome = ApplySettingsChoices(c.chosen, ok.state, ok.fake.platform);
        EXPECT_EQ(outcome.applied, c.applied);
        const auto held = ok.fake.hotKeys.registered.find({MAIN, 2136});
        EXPECT_EQ(held == ok.fake.hotKeys.registered.end()
                      ? ""
                      : HotKeyName(held->second.modifiers, held->second.keyCode),
                  c.heldAfter);
        EXPECT_EQ(
            ok.state.toggleKeyHeld.modifiers == 0
                ? ""
                : HotKeyName(ok.state.toggleKeyHeld.modifiers, ok.state.toggleKeyHeld.keyCode),
            c.heldAfter)
            << "what the state records as held";
        EXPECT_EQ(ok.fake.log.Matching({"SetValue", "DeleteValue"}).empty(), !c.applied)
            << "stores exactly when it applies";
        EXPECT_EQ(ok.state.forceAllDisplays, c.applied && c.settingsWritable && c.chosen.force);
        if (!c.applied) {
            char refused[HOT_KEY_NAME_SIZE];
            NameHotKey(outcome.refused, refused);
            EXPECT_EQ(HotKeyName(c.heldElsewhere.modifiers, c.heldElsewhere.keyCode), refused)
                << "the combination reported";
        }
        EXPECT_EQ(ok.fake.registry.OpenHandles(), 0u);
    }
}

TEST(RefusedHotKeyMessage, NamesTheCombinationAsTheReadmeWritesIt) {
    struct Case {
        HotKeyChoice refused;
        const char* name;
    };
    for (const Case& c : {Case{{true, 16}, "Ctrl+Shift+Q"}, Case{{false, 9}, "Win+X"},
                          Case{{true, 0xFFFFFFFF}, "Ctrl+Shift+Z"}, Case{{false, 40}, "Win+Z"}}) {
        char text[REFUSED_MESSAGE_SIZE];
        RefusedHotKeyMessage(c.refused, text);
        const std::string message = text;
        EXPECT_EQ(message.rfind(std::string(c.name) + " is already in use", 0), 0u) << message;
        EXPECT_NE(message.find("another letter, or the other modifier."), std::string::npos)
            << message;
    }
}

TEST(ApplySettingsChoices, TouchesTheRunKeyOnlyWhenTheBoxChanged) {
    struct Case {
        const char* name;
        std::int32_t startupAtOpen;
        bool ticked;
        std::vector<std::string> runCalls;
        bool valueAfter;
    };
    const std::string setValue = "SetValue ShCloak wsz \"\"" + PROGRAM + "\"\"";
    const Case cases[] = {
        {"ticked now", 0, true, {"OpenKey " + RUN + " all", setValue, "CloseKey " + RUN}, true},
        {"cleared now",
         1,
         false,
         {"OpenKey " + RUN + " all", "DeleteValue ShCloak", "CloseKey " + RUN},
         false},
        {"stays ticked", 1, true, {}, false},
        {"stays clear", 0, false, {}, false},
    };
    for (const Case& c : cases) {
        Ok ok;
        ok.fake.registry.keys[RUN];
        if (c.startupAtOpen != 0) {
            ok.fake.registry.PutRaw(RUN, RUN_VALUE_NAME, 1, {'o', 'l', 'd', 0});
        }
        ok.state.startupAtOpen = c.startupAtOpen;
        ok.Press({true, 0, 9, false, c.ticked});
        std::vector<std::string> runCalls;
        for (const std::string& call : ok.fake.log.calls) {
            if (call.find(RUN) != std::string::npos || call.find("ShCloak") != std::string::npos) {
                runCalls.push_back(call);
            }
        }
        EXPECT_TRUE(SameCalls(runCalls, c.runCalls)) << c.name;
        EXPECT_EQ(ok.Stored(VALUE_START_AT_LOGON_BOX), c.ticked ? 1u : 0u) << c.name;
        if (c.valueAfter) {
            const FakeRegistry::Value* value = ok.fake.registry.Find(RUN, RUN_VALUE_NAME);
            ASSERT_NE(value, nullptr) << c.name;
            EXPECT_EQ(value->type, 1u) << c.name;
            EXPECT_EQ(value->data.size(), (PROGRAM.size() + 3) * sizeof(char16_t))
                << c.name << ": quotes and terminator";
        }
        EXPECT_EQ(ok.fake.registry.OpenHandles(), 0u) << c.name;
    }
}

}  // namespace
