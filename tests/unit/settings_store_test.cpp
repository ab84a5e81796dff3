#include "settings/settings_store.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "settings/hot_key.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

const std::string KEY = SETTINGS_KEY_PATH;
const WindowHandle WINDOW = reinterpret_cast<WindowHandle>(std::uintptr_t{0x4242});

// How a stored value may look.
enum class Stored { Absent, Dword, Unreadable, EightBytes, FourBinaryBytes };

struct Start {
    FakePlatform fake;
    AppStateRecord state = {};
    SettingsLoad load = SettingsLoad::Stored;

    void Put(const char* name, Stored how, std::uint32_t value) {
        fake.registry.keys[KEY];
        const std::vector<std::uint8_t> bytes = {
            static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        switch (how) {
            case Stored::Absent:
                break;
            case Stored::Dword:
                fake.registry.PutDword(KEY, name, value);
                break;
            case Stored::Unreadable:
                fake.registry.PutDword(KEY, name, value);
                fake.registry.faults[KEY].unreadable.insert(name);
                break;
            case Stored::EightBytes: {
                std::vector<std::uint8_t> qword = bytes;
                qword.resize(8, 0);
                fake.registry.PutRaw(KEY, name, 11, qword);  // REG_QWORD
                break;
            }
            case Stored::FourBinaryBytes:
                fake.registry.PutRaw(KEY, name, 3, bytes);  // REG_BINARY
                break;
        }
    }
    void Load() { load = LoadSettingsAndRegisterHotKey(WINDOW, state, fake.platform); }
    std::vector<std::string> HotKeyCalls() const {
        return fake.log.Matching({"RegisterHotKey", "UnregisterHotKey"});
    }
};

const char* NameOf(Stored how) {
    switch (how) {
        case Stored::Absent:
            return "absent";
        case Stored::Dword:
            return "dword";
        case Stored::Unreadable:
            return "unreadable";
        case Stored::EightBytes:
            return "8 bytes";
        case Stored::FourBinaryBytes:
            return "4 binary bytes";
    }
    return "?";
}

TEST(LoadSettings, EachValueAsStoredOrItsDefault) {
    struct Case {
        const char* name;
        Stored how;
        std::uint32_t value;
        // what the other values hold
        std::optional<std::uint32_t> system;
        // expected
        std::vector<std::string> hotKey;
        std::int32_t force;
        TaskbarEdge edge;
        std::int32_t stayHidden = 0;
    };
    const std::vector<std::string> CTRL_SHIFT_A = {"RegisterHotKey 2136 Ctrl+Shift+A"};
    const std::vector<std::string> WIN_X = {"RegisterHotKey 2136 Win+X"};
    const std::vector<std::string> NONE = {};
    const auto BOTTOM = TaskbarEdge::Bottom;  // preset below when the edge is not the case
    const Case cases[] = {
        {VALUE_FORCE, Stored::Dword, 1, 1, CTRL_SHIFT_A, 1, BOTTOM},
        {VALUE_FORCE, Stored::Dword, 2, 1, CTRL_SHIFT_A, 2, BOTTOM},
        {VALUE_FORCE, Stored::Absent, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_FORCE, Stored::Unreadable, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_FORCE, Stored::EightBytes, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_FORCE, Stored::FourBinaryBytes, 1, 1, CTRL_SHIFT_A, 1, BOTTOM},

        {VALUE_USES_CTRL_SHIFT, Stored::Dword, 1, std::nullopt, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_USES_CTRL_SHIFT, Stored::Dword, 7, std::nullopt, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_USES_CTRL_SHIFT, Stored::Dword, 0, std::nullopt, WIN_X, 0, BOTTOM},
        {VALUE_USES_CTRL_SHIFT, Stored::Absent, 1, std::nullopt, NONE, 0, BOTTOM},
        {VALUE_USES_CTRL_SHIFT, Stored::Unreadable, 1, std::nullopt, NONE, 0, BOTTOM},
        {VALUE_USES_CTRL_SHIFT, Stored::EightBytes, 1, std::nullopt, NONE, 0, BOTTOM},
        {VALUE_USES_CTRL_SHIFT, Stored::FourBinaryBytes, 0, std::nullopt, WIN_X, 0, BOTTOM},

        {VALUE_WIN_LETTER, Stored::Dword, 6, 0, {"RegisterHotKey 2136 Win+Q"}, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::Dword, 0, 0, {"RegisterHotKey 2136 Win+B"}, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::Dword, 11, 0, {"RegisterHotKey 2136 Win+Z"}, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::Dword, 12, 0, {"RegisterHotKey 2136 Win+Z"}, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::Dword, 0xFFFFFFFF, 0, {"RegisterHotKey 2136 Win+Z"}, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::Absent, 6, 0, WIN_X, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::Unreadable, 6, 0, WIN_X, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::EightBytes, 6, 0, WIN_X, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::FourBinaryBytes, 6, 0, {"RegisterHotKey 2136 Win+Q"}, 0, BOTTOM},
        {VALUE_WIN_LETTER, Stored::Dword, 6, 1, CTRL_SHIFT_A, 0, BOTTOM},

        {VALUE_CTRL_SHIFT_LETTER,
         Stored::Dword,
         1,
         1,
         {"RegisterHotKey 2136 Ctrl+Shift+B"},
         0,
         BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER,
         Stored::Dword,
         25,
         1,
         {"RegisterHotKey 2136 Ctrl+Shift+Z"},
         0,
         BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER,
         Stored::Dword,
         26,
         1,
         {"RegisterHotKey 2136 Ctrl+Shift+Z"},
         0,
         BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER,
         Stored::Dword,
         0x80000000,
         1,
         {"RegisterHotKey 2136 Ctrl+Shift+Z"},
         0,
         BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER, Stored::Absent, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER, Stored::Unreadable, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER, Stored::EightBytes, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER,
         Stored::FourBinaryBytes,
         1,
         1,
         {"RegisterHotKey 2136 Ctrl+Shift+B"},
         0,
         BOTTOM},
        {VALUE_CTRL_SHIFT_LETTER, Stored::Dword, 1, 0, WIN_X, 0, BOTTOM},

        {VALUE_LAST_EDGE, Stored::Dword, 1, 1, CTRL_SHIFT_A, 0, TaskbarEdge::Left},
        {VALUE_LAST_EDGE, Stored::Dword, 9, 1, CTRL_SHIFT_A, 0, TaskbarEdge{9}},
        {VALUE_LAST_EDGE, Stored::Dword, 0, 1, CTRL_SHIFT_A, 0, TaskbarEdge::NotSeen},
        {VALUE_LAST_EDGE, Stored::Absent, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_LAST_EDGE, Stored::Unreadable, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_LAST_EDGE, Stored::EightBytes, 1, 1, CTRL_SHIFT_A, 0, BOTTOM},
        {VALUE_LAST_EDGE, Stored::FourBinaryBytes, 3, 1, CTRL_SHIFT_A, 0, TaskbarEdge::Top},

        {VALUE_STAY_HIDDEN, Stored::Dword, 1, 1, CTRL_SHIFT_A, 0, BOTTOM, 1},
        {VALUE_STAY_HIDDEN, Stored::Dword, 3, 1, CTRL_SHIFT_A, 0, BOTTOM, 3},
        {VALUE_STAY_HIDDEN, Stored::Dword, 0, 1, CTRL_SHIFT_A, 0, BOTTOM, 0},
        {VALUE_STAY_HIDDEN, Stored::Absent, 1, 1, CTRL_SHIFT_A, 0, BOTTOM, 0},
        {VALUE_STAY_HIDDEN, Stored::Unreadable, 1, 1, CTRL_SHIFT_A, 0, BOTTOM, 0},
    };
    for (const Case& c : cases) {
        Start start;
        start.state.lastTaskbarEdge = BOTTOM;
        start.Put(c.name, c.how, c.value);
        if (c.system) {
            start.Put(VALUE_USES_CTRL_SHIFT, Stored::Dword, *c.system);
        }
        start.Load();
        const std::string name =
            std::string(c.name) + " " + NameOf(c.how) + " " + std::to_string(c.value);
        EXPECT_TRUE(SameCalls(start.HotKeyCalls(), c.hotKey)) << name;
        EXPECT_EQ(start.state.forceAllDisplays, c.force) << name;
        EXPECT_EQ(start.state.stayHidden, c.stayHidden) << name;
        EXPECT_EQ(start.state.lastTaskbarEdge, c.edge)
            << name << ": edge " << static_cast<std::uint32_t>(start.state.lastTaskbarEdge);
        EXPECT_EQ(start.load, SettingsLoad::Stored) << name;
        EXPECT_EQ(start.fake.registry.OpenHandles(), 0u) << name;
    }
}

// The key is read once, each value at most once, and closed before the hot
// key is registered; nothing is written at start.
TEST(LoadSettings, ReadsEachValueOnceAndWritesNothing) {
    Start start;
    start.Put(VALUE_FORCE, Stored::Dword, 1);
    start.Put(VALUE_USES_CTRL_SHIFT, Stored::Dword, 0);
    start.Put(VALUE_START_AT_LOGON_BOX, Stored::Dword, 1);
    start.Load();
    const std::vector<std::string>& calls = start.fake.log.calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "OpenKey " + KEY + " read");
    EXPECT_EQ(calls.back(), "RegisterHotKey 2136 Win+X");
    EXPECT_TRUE(SameCalls(
        start.fake.log.Matching({"OpenKey", "CloseKey", "CreateKey", "SetValue", "DeleteValue"}),
        {"OpenKey " + KEY + " read", "CloseKey " + KEY}));
    for (const char* name :
         {VALUE_FORCE, VALUE_USES_CTRL_SHIFT, VALUE_START_AT_LOGON_BOX, VALUE_WIN_LETTER,
          VALUE_CTRL_SHIFT_LETTER, VALUE_LAST_EDGE, VALUE_STAY_HIDDEN}) {
        EXPECT_LE(std::count(calls.begin(), calls.end(), std::string("QueryValue ") + name), 1)
            << name;
    }
}

TEST(LoadSettings, AKeyWithoutValuesIsNoFirstRun) {
    Start start;
    start.fake.registry.keys[KEY];
    start.Load();
    EXPECT_TRUE(SameCalls(start.fake.log.Matching({"RegisterHotKey"}), {}));
    EXPECT_EQ(start.load, SettingsLoad::Stored);
    EXPECT_EQ(start.state.mainWindow, nullptr);
}

// The caller then runs the Settings dialog, whose OK registers the choice
// on the main window.
TEST(LoadSettings, FirstRunRegistersCtrlShiftA) {
    struct Case {
        const char* name;
        FakeRegistry::Faults faults;
    };
    const Case cases[] = {
        {"no key", {}},
        {"key that cannot be read", {.openForRead = RESULT_ACCESS_DENIED}},
    };
    for (const Case& c : cases) {
        Start start;
        if (c.faults.openForRead) {
            start.Put(VALUE_USES_CTRL_SHIFT, Stored::Dword, 0);
        }
        start.fake.registry.faults[KEY] = c.faults;
        start.state.lastTaskbarEdge = TaskbarEdge::NotSeen;
        start.Load();
        EXPECT_EQ(start.load, SettingsLoad::FirstRun) << c.name;
        EXPECT_TRUE(SameCalls(start.fake.log.Matching({"RegisterHotKey", "QueryValue"}),
                              {"RegisterHotKey 2136 Ctrl+Shift+A"}))
            << c.name;
        EXPECT_EQ(start.state.forceAllDisplays, 0) << c.name;
        EXPECT_EQ(start.state.lastTaskbarEdge, TaskbarEdge::NotSeen) << c.name;
        EXPECT_EQ(start.fake.hotKeys.registered.count({WINDOW, 2136}), 1u) << c.name;
        EXPECT_EQ(start.state.toggleKeyHeld, (KeyCombination{6, 'A'}))
            << c.name << ": what the dialog's OK gives back if its choice is refused";
    }
}

std::string Describe(const SettingsChoices& c) {
    return std::string(c.ctrlShift ? "ctrl+shift" : "win") + " ctrlShiftIndex " +
           std::to_string(c.ctrlShiftIndex) + " winIndex " + std::to_string(c.winIndex) +
           (c.force ? " force" : "") + (c.startAtLogon ? " startup" : "") +
           (c.stayHidden ? " stay hidden" : "");
}

TEST(StoredSettingsChoices, ShowsWhatIsStoredOverTheDefaults) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, std::uint32_t>> stored;
        bool keyExists;
        SettingsChoices expected;
    };
    const Case cases[] = {
        {"no key", {}, false, {true, 0, 9, false, false}},
        {"empty key", {}, true, {true, 0, 9, false, false}},
        {"win chosen", {{VALUE_USES_CTRL_SHIFT, 0}}, true, {false, 0, 9, false, false}},
        {"any nonzero is ctrl+shift",
         {{VALUE_USES_CTRL_SHIFT, 5}},
         true,
         {true, 0, 9, false, false}},
        {"boxes ticked",
         {{VALUE_FORCE, 1}, {VALUE_START_AT_LOGON_BOX, 2}},
         true,
         {true, 0, 9, true, true}},
        {"boxes cleared",
         {{VALUE_FORCE, 0}, {VALUE_START_AT_LOGON_BOX, 0}},
         true,
         {true, 0, 9, false, false}},
        {"letters",
         {{VALUE_WIN_LETTER, 6}, {VALUE_CTRL_SHIFT_LETTER, 1}},
         true,
         {true, 1, 6, false, false}},
        {"win letter beyond the list", {{VALUE_WIN_LETTER, 40}}, true, {true, 0, 11, false, false}},
        {"ctrl+shift letter beyond the list",
         {{VALUE_CTRL_SHIFT_LETTER, 0xFFFFFFFF}},
         true,
         {true, 25, 9, false, false}},
        {"stay hidden", {{VALUE_STAY_HIDDEN, 3}}, true, {true, 0, 9, false, false, true}},
        {"stay hidden off", {{VALUE_STAY_HIDDEN, 0}}, true, {true, 0, 9, false, false, false}},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        if (c.keyExists) {
            fake.registry.keys[KEY];
        }
        for (const auto& [name, value] : c.stored) {
            fake.registry.PutDword(KEY, name, value);
        }
        const SettingsChoices shown = StoredSettingsChoices(fake.registry);
        EXPECT_EQ(shown, c.expected) << c.name << ": shows " << Describe(shown);
        EXPECT_EQ(fake.registry.OpenHandles(), 0u) << c.name;
    }
}

TEST(StoredSettingsChoices, UnreadableOrOversizedValuesKeepTheirDefaults) {
    FakePlatform fake;
    fake.registry.PutRaw(KEY, VALUE_USES_CTRL_SHIFT, 11, {0, 0, 0, 0, 0, 0, 0, 0});
    fake.registry.PutDword(KEY, VALUE_FORCE, 1);
    fake.registry.PutDword(KEY, VALUE_WIN_LETTER, 3);
    fake.registry.faults[KEY].unreadable = {VALUE_FORCE, VALUE_WIN_LETTER};
    EXPECT_EQ(StoredSettingsChoices(fake.registry), (SettingsChoices{true, 0, 9, false, false}));
}

TEST(SaveLastTaskbarEdge, StoresTheEdgeCreatingTheKeyWhenNeeded) {
    struct Case {
        const char* name;
        bool keyExists;
        FakeRegistry::Faults faults;
        std::vector<std::string> calls;
        std::optional<std::uint32_t> stored;
    };
    const Case cases[] = {
        {"key opens",
         true,
         {},
         {"OpenKey " + KEY + " all", "SetValue LastSeenTaskbarPosition dword 9", "CloseKey " + KEY},
         9u},
        {"key created",
         false,
         {},
         {"OpenKey " + KEY + " all", "CreateKey " + KEY + " all",
          "SetValue LastSeenTaskbarPosition dword 9", "CloseKey " + KEY},
         9u},
        {"neither",
         false,
         {.openForWrite = RESULT_ACCESS_DENIED, .create = RESULT_ACCESS_DENIED},
         {"OpenKey " + KEY + " all", "CreateKey " + KEY + " all"},
         std::nullopt},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        if (c.keyExists) {
            fake.registry.keys[KEY];
        }
        fake.registry.faults[KEY] = c.faults;
        AppStateRecord state = {};
        state.lastTaskbarEdge = TaskbarEdge{9};
        SaveLastTaskbarEdge(state, fake.platform);
        EXPECT_TRUE(SameCalls(fake.log.calls, c.calls)) << c.name;
        EXPECT_EQ(fake.registry.Dword(KEY, VALUE_LAST_EDGE), c.stored) << c.name;
        EXPECT_EQ(fake.registry.OpenHandles(), 0u) << c.name;
    }
}

TEST(SaveLastTaskbarEdge, ARestoredEdgeIsWrittenBackUnchanged) {
    Start start;
    start.Put(VALUE_USES_CTRL_SHIFT, Stored::Dword, 1);
    start.Put(VALUE_LAST_EDGE, Stored::Dword, 9);
    start.Load();
    SaveLastTaskbarEdge(start.state, start.fake.platform);
    EXPECT_EQ(start.fake.registry.Dword(KEY, VALUE_LAST_EDGE), 9u);
}

TEST(RegisterToggleHotKey, TakesTheLayoutsKeyOrElseTheLettersOwn) {
    struct Case {
        const char* name;
        HotKeyChoice choice;
        std::set<char> untypable;
        bool heldElsewhere;
        std::string expected;
    };
    const Case cases[] = {
        {"ctrl+shift first", {true, 0}, {}, false, "Ctrl+Shift+A"},
        {"win first", {false, 0}, {}, false, "Win+B"},
        {"win last", {false, 11}, {}, false, "Win+Z"},
        // A layout without Latin letters answers -1; the key of Q is still there.
        {"no key for the letter", {false, 6}, {'q'}, false, "Win+Q"},
        {"no key for the last letter", {true, 40}, {'z'}, false, "Ctrl+Shift+Z"},
        {"held by another program", {true, 1}, {}, true, "Ctrl+Shift+B"},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.hotKeys.untypable = c.untypable;
        if (c.heldElsewhere) {
            fake.hotKeys.heldElsewhere.insert({6, 'B'});
        }
        AppStateRecord state = {};
        const bool accepted = RegisterToggleHotKey(WINDOW, c.choice, state, fake.hotKeys);
        EXPECT_TRUE(SameCalls(fake.log.calls, {"RegisterHotKey 2136 " + c.expected})) << c.name;
        EXPECT_EQ(accepted, !c.heldElsewhere) << c.name;
        const std::string held =
            state.toggleKeyHeld.modifiers == 0
                ? "nothing"
                : HotKeyName(state.toggleKeyHeld.modifiers, state.toggleKeyHeld.keyCode);
        EXPECT_EQ(held, c.heldElsewhere ? "nothing" : c.expected) << c.name << ": recorded as held";
    }
}

TEST(LetterTables, AreAlphabeticalAndAsLongAsTheirLists) {
    EXPECT_STREQ(WIN_KEY_LETTERS, "bghjklquwxyz");
    EXPECT_EQ(WIN_KEY_LETTER_COUNT, 12u);
    EXPECT_EQ(CTRL_SHIFT_KEY_LETTER_COUNT, 26u);
    for (const char* table : {WIN_KEY_LETTERS, CTRL_SHIFT_KEY_LETTERS}) {
        for (std::size_t i = 1; table[i] != '\0'; ++i) {
            EXPECT_LT(table[i - 1], table[i]) << table << " at " << i;
        }
    }
    EXPECT_EQ(WIN_KEY_LETTERS[DEFAULT_WIN_LETTER], 'x');
    EXPECT_EQ(CTRL_SHIFT_KEY_LETTERS[DEFAULT_CTRL_SHIFT_LETTER], 'a');
}

}  // namespace
