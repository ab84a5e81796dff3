// Registry values of the wrong type, the wrong size or out of range, written
// with Wine's own reg.exe into the settings key and the policy key before the
// real program starts: it takes each as its reading rules say (a value is
// read as 4 bytes whatever its type; longer ones count as absent) and keeps
// running. Faults Wine cannot produce, such as keys refused to the user, are
// covered through the fakes in the unit tier.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/program_fixture.h"

namespace {

constexpr const char* SETTINGS = "HKCU\\SOFTWARE\\Quillfen\\Shelfcloak";
constexpr const char* POLICY = "HKCU\\Software\\Policies\\Microsoft\\Windows\\Explorer";

// Runs Wine's reg.exe with the arguments; true when it exits with 0.
bool Reg(const std::string& arguments) {
    Process reg = Process::Start("C:\\windows\\system32\\reg.exe", arguments);
    return reg.WaitForExit(15000) == 0u;
}

// Adds a value to a key: "NAME TYPE DATA", as reg.exe's /v, /t and /d take them.
bool Add(const char* key, const std::string& name, const char* type, const std::string& data) {
    return Reg(std::string("add \"") + key + "\" /v " + name + " /t " + type + " /d \"" + data +
               "\" /f");
}

std::optional<DWORD> PolicyDword() {
    return ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME);
}

// A value as a test writes it: name, reg.exe type, data.
struct Value {
    const char* name;
    const char* type;
    std::string data;
};

class HostileRegistry : public ProgramTest {
protected:
    void Store(const std::vector<Value>& values) {
        DeleteKeyTree(SETTINGS_KEY_PATH);
        for (const Value& value : values) {
            ASSERT_TRUE(Add(SETTINGS, value.name, value.type, value.data))
                << value.name << " " << value.type << " " << value.data.substr(0, 40);
        }
    }

    void ExitResident() {
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
        EXPECT_EQ(resident_.WaitForExit(QUICK), 0u) << "the resident instance's exit code";
    }
};

TEST_F(HostileRegistry, SettingsOfTheWrongTypeOrSizeAreReadAsFourBytesOrTakeTheirDefaults) {
    struct Case {
        const char* name;
        std::vector<Value> stored;
        std::vector<std::string> toggles;
        std::vector<std::string> inert;
        bool force;  // whether a hide then writes the policy
    };
    const std::string eightKilobytes(16000, 'e');  // as hexadecimal digits
    const Case cases[] = {
        {"Force as 8 bytes counts as absent: off",
         {{"System", "REG_DWORD", "1"}, {"Force", "REG_QWORD", "1"}},
         {"ctrl+shift+a"},
         {},
         false},
        {"Force as the text 0 reads as its nonzero bytes: on",
         {{"System", "REG_DWORD", "1"}, {"Force", "REG_SZ", "0"}},
         {"ctrl+shift+a"},
         {},
         true},
        {"Force as 8 KB counts as absent: off",
         {{"System", "REG_DWORD", "1"}, {"Force", "REG_BINARY", eightKilobytes}},
         {"ctrl+shift+a"},
         {},
         false},
        {"System as a longer text counts as absent: no hot key",
         {{"System", "REG_SZ", "Ctrl+Shift"}, {"CtrlShiftKey", "REG_DWORD", "0"}},
         {},
         {"ctrl+shift+a", "super+x"},
         false},
        {"System of no bytes reads as 0: Win with X",
         {{"System", "REG_BINARY", ""}},
         {"super+x"},
         {"ctrl+shift+a"},
         false},
        {"WinKey 0xFFFFFFFF: Win with the last letter",
         {{"System", "REG_DWORD", "0"}, {"WinKey", "REG_DWORD", "0xFFFFFFFF"}},
         {"super+z"},
         {"super+x"},
         false},
        {"CtrlShiftKey of bytes 00 00 00 01 reads as 0x01000000: the last letter",
         {{"System", "REG_DWORD", "1"}, {"CtrlShiftKey", "REG_BINARY", "00000001"}},
         {"ctrl+shift+z"},
         {"ctrl+shift+a", "ctrl+shift+b"},
         false},
        {"CtrlShiftKey as 8 bytes counts as absent: A",
         {{"System", "REG_DWORD", "1"}, {"CtrlShiftKey", "REG_QWORD", "3"}},
         {"ctrl+shift+a"},
         {"ctrl+shift+d"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store(c.stored);
        StartResident();
        EXPECT_EQ(FindDialog("Settings"), nullptr) << "a key with values is no first run";
        for (const std::string& keys : c.toggles) {
            ExpectToggles(keys);
        }
        for (const std::string& keys : c.inert) {
            ExpectDoesNothing(keys);
        }
        if (c.force) {
            EXPECT_EQ(PolicyDword(), 0u) << "Force on: the show after the hide writes 0";
        } else {
            EXPECT_EQ(ReadValue(POLICY_KEY_PATH, POLICY_VALUE_NAME), std::nullopt)
                << "Force off: no policy";
        }
        EXPECT_TRUE(resident_.Running());
        ExitResident();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, POLICY_KEY_PATH, POLICY_VALUE_NAME);
        ASSERT_TRUE(WaitFor([] { return !TrayIconAt(0); }, QUICK));
    }
}

TEST_F(HostileRegistry, TheEdgeIsWrittenBackAsReadOrAsLastSeen) {
    struct Case {
        const char* name;
        Value edge;
        bool hideAndShow;
        DWORD written;
    };
    const Case cases[] = {
        {"0xFFFFFFFF comes back unchanged",
         {"LastSeenTaskbarPosition", "REG_DWORD", "0xFFFFFFFF"},
         false,
         0xFFFFFFFF},
        {"0xFFFFFFFF gives way to the bottom once hidden",
         {"LastSeenTaskbarPosition", "REG_DWORD", "0xFFFFFFFF"},
         true,
         4},
        {"8 bytes count as absent: never seen",
         {"LastSeenTaskbarPosition", "REG_QWORD", "2"},
         false,
         0},
        {"a text counts as absent: never seen",
         {"LastSeenTaskbarPosition", "REG_SZ", "left"},
         false,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store({{"System", "REG_DWORD", "1"}, c.edge});
        StartResident();
        if (c.hideAndShow) {
            PressKeys("ctrl+shift+a");
            EXPECT_TRUE(TaskbarBecomes(false));
            PressKeys("ctrl+shift+a");
            EXPECT_TRUE(TaskbarBecomes(true));
        }
        ExitResident();
        const std::optional<StoredValue> stored =
            ReadValue(SETTINGS_KEY_PATH, "LastSeenTaskbarPosition");
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->Dword(), c.written) << "a 4-byte REG_DWORD replaces what was there";
        ASSERT_TRUE(WaitFor([] { return !TrayIconAt(0); }, QUICK));
    }
}

TEST_F(HostileRegistry, PolicyValuesOfAnyShapeAreReplacedByADword) {
    struct Case {
        const char* name;
        const char* type;
        std::string data;
    };
    const Case cases[] = {
        {"a text", "REG_SZ", "garbage"},
        {"8 bytes of ones", "REG_QWORD", "0xFFFFFFFFFFFFFFFF"},
        {"0xFFFFFFFF", "REG_DWORD", "0xFFFFFFFF"},
        {"a list of texts", "REG_MULTI_SZ", "a\\0b"},
    };
    Store({{"System", "REG_DWORD", "1"}, {"Force", "REG_DWORD", "1"}});
    StartResident();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // From the toggle, with Force on.
        ASSERT_TRUE(Add(POLICY, POLICY_VALUE_NAME, c.type, c.data));
        PressKeys("ctrl+shift+a");
        EXPECT_TRUE(TaskbarBecomes(false));
        EXPECT_EQ(PolicyDword(), 1u) << "after the hide";
        ASSERT_TRUE(Add(POLICY, POLICY_VALUE_NAME, c.type, c.data));
        PressKeys("ctrl+shift+a");
        EXPECT_TRUE(TaskbarBecomes(true));
        EXPECT_EQ(PolicyDword(), 0u) << "after the show";
        // From second starts' switches.
        ASSERT_TRUE(Add(POLICY, POLICY_VALUE_NAME, c.type, c.data));
        EXPECT_EQ(RunToExit("-nomulti"), 0u);
        EXPECT_EQ(PolicyDword(), 1u) << "after -nomulti";
        ASSERT_TRUE(Add(POLICY, POLICY_VALUE_NAME, c.type, c.data));
        EXPECT_EQ(RunToExit("-multi"), 0u);
        EXPECT_EQ(PolicyDword(), 0u) << "after -multi";
    }
    EXPECT_TRUE(resident_.Running());
    ExitResident();
}

}  // namespace
