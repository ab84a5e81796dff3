// Registry values of the wrong type, the wrong size or out of range, written
// into the settings key and the policy key before the real program starts: it takes each as its
// reading rules say (a value is read as 4 bytes whatever its type; longer ones count as absent) and
// keeps running. And keys whose DACL refuses the user, as Windows refuses a policy key to ordinary
// users: the program meets each refusal silently.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_dialog.h"
#include "tests/e2e/program_fixture.h"
#include "tests/support/wide_text.h"

namespace {

constexpr const char* CTRL_SHIFT_A = "ctrl+shift+a";

// A value's bytes as the registry keeps them.
template <typename Number>
std::string Bytes(Number number) {
    return std::string(reinterpret_cast<const char*>(&number), sizeof number);
}
std::string Text(const std::string& text) {
    return std::string(text.c_str(), text.size() + 1);
}

std::optional<DWORD> PolicyDword() {
    return ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME);
}

// A value as a test writes it: name, type, bytes.
struct Value {
    const char* name;
    DWORD type;
    std::string data;
};

class HostileRegistry : public ProgramTest {
protected:
    void Store(const std::vector<Value>& values) {
        DeleteKeyTree(SETTINGS_KEY_PATH);
        for (const Value& value : values) {
            ASSERT_TRUE(PutValue(SETTINGS_KEY_PATH, value.name, value.type, value.data))
                << value.name << " of type " << value.type;
        }
    }

    void ExitResident() {
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
        EXPECT_EQ(resident_.WaitForExit(QUICK), 0u) << "the resident instance's exit code";
    }

    // Waits for the program that `start` started to become resident.
    void BecomesResident(const TracedStart& start) {
        ASSERT_TRUE(WaitFor([&] { return (window_ = FindMainWindow()) != nullptr; }))
            << "no resident instance";
        resident_ = Process::OfWindow(window_);
        ASSERT_TRUE(resident_.Started());
        WaitForIcon();
        EXPECT_EQ(start.ExitCode(), std::nullopt);
    }
};

// A folder of the work folder holding a copy of a file under the program's
// file name. Names are UTF-8, and the files are made with the wide
// functions, so that a folder the ANSI code page cannot spell is made whole.
class ProgramFileCopy {
public:
    ProgramFileCopy(const std::string& folderName, const std::string& source)
        : folder_(WorkFolder() + "\\" + folderName), host_(HostWorkFolder() + "/" + folderName) {
        CreateDirectoryW(Wide(WorkFolder()).c_str(), nullptr);
        CreateDirectoryW(Wide(folder_).c_str(), nullptr);
        made_ = CopyFileW(Wide(source).c_str(), Wide(Path()).c_str(), FALSE) != FALSE;
    }
    ~ProgramFileCopy() {
        DeleteFileW(Wide(Path()).c_str());
        RemoveDirectoryW(Wide(folder_).c_str());
    }
    ProgramFileCopy(const ProgramFileCopy&) = delete;
    ProgramFileCopy& operator=(const ProgramFileCopy&) = delete;

    bool Made() const { return made_; }
    std::string Path() const { return folder_ + "\\Shelfcloak.exe"; }
    const std::string& HostPath() const { return host_; }

private:
    std::string folder_;
    std::string host_;
    bool made_ = false;
};

// A file named as the program, which is not the program: what the shell
// would find in the current folder if it looked the program up by its bare
// name from there.
class DecoyFolder : public ProgramFileCopy {
public:
    DecoyFolder() : ProgramFileCopy("decoy", DesktopHelperPath()) {}
};

TEST_F(HostileRegistry, SettingsOfTheWrongTypeOrSizeAreReadAsFourBytesOrTakeTheirDefaults) {
    struct Case {
        const char* name;
        std::vector<Value> stored;
        std::vector<std::string> toggles;
        std::vector<std::string> inert;
        bool force;  // whether a hide then writes the policy
    };
    const std::string eightKilobytes(8000, '\xEE');
    const Case cases[] = {
        {"Force as 8 bytes counts as absent: off",
         {{"System", REG_DWORD, Bytes(DWORD{1})}, {"Force", REG_QWORD, Bytes(std::uint64_t{1})}},
         {"ctrl+shift+a"},
         {},
         false},
        {"Force as the text 0 reads as its nonzero bytes: on",
         {{"System", REG_DWORD, Bytes(DWORD{1})}, {"Force", REG_SZ, Text("0")}},
         {"ctrl+shift+a"},
         {},
         true},
        {"Force as 8 KB counts as absent: off",
         {{"System", REG_DWORD, Bytes(DWORD{1})}, {"Force", REG_BINARY, eightKilobytes}},
         {"ctrl+shift+a"},
         {},
         false},
        {"System as a longer text counts as absent: no hot key",
         {{"System", REG_SZ, Text("Ctrl+Shift")}, {"CtrlShiftKey", REG_DWORD, Bytes(DWORD{0})}},
         {},
         {"ctrl+shift+a", "super+x"},
         false},
        {"System of no bytes reads as 0: Win with X",
         {{"System", REG_BINARY, ""}},
         {"super+x"},
         {"ctrl+shift+a"},
         false},
        {"WinKey 0xFFFFFFFF: Win with the last letter",
         {{"System", REG_DWORD, Bytes(DWORD{0})}, {"WinKey", REG_DWORD, Bytes(DWORD{0xFFFFFFFF})}},
         {"super+z"},
         {"super+x"},
         false},
        {"CtrlShiftKey of bytes 00 00 00 01 reads as 0x01000000: the last letter",
         {{"System", REG_DWORD, Bytes(DWORD{1})},
          {"CtrlShiftKey", REG_BINARY, std::string("\0\0\0\1", 4)}},
         {"ctrl+shift+z"},
         {"ctrl+shift+a", "ctrl+shift+b"},
         false},
        {"CtrlShiftKey as 8 bytes counts as absent: A",
         {{"System", REG_DWORD, Bytes(DWORD{1})},
          {"CtrlShiftKey", REG_QWORD, Bytes(std::uint64_t{3})}},
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
        ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
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
         {"LastSeenTaskbarPosition", REG_DWORD, Bytes(DWORD{0xFFFFFFFF})},
         false,
         0xFFFFFFFF},
        {"0xFFFFFFFF gives way to the bottom once hidden",
         {"LastSeenTaskbarPosition", REG_DWORD, Bytes(DWORD{0xFFFFFFFF})},
         true,
         4},
        {"8 bytes count as absent: never seen",
         {"LastSeenTaskbarPosition", REG_QWORD, Bytes(std::uint64_t{2})},
         false,
         0},
        {"a text counts as absent: never seen",
         {"LastSeenTaskbarPosition", REG_SZ, Text("left")},
         false,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store({{"System", REG_DWORD, Bytes(DWORD{1})}, c.edge});
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
        ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
    }
}

TEST_F(HostileRegistry, PolicyValuesOfAnyShapeAreReplacedByADword) {
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
    };
    const Case cases[] = {
        {"a text", REG_SZ, Text("garbage")},
        {"8 bytes of ones", REG_QWORD, Bytes(~std::uint64_t{0})},
        {"0xFFFFFFFF", REG_DWORD, Bytes(DWORD{0xFFFFFFFF})},
        {"a list of texts", REG_MULTI_SZ, std::string("a\0b\0", 5)},
    };
    Store({{"System", REG_DWORD, Bytes(DWORD{1})}, {"Force", REG_DWORD, Bytes(DWORD{1})}});
    StartResident();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // From the toggle, with Force on.
        ASSERT_TRUE(PutValue(POLICY_KEY_PATH, POLICY_VALUE_NAME, c.type, c.data));
        PressKeys("ctrl+shift+a");
        EXPECT_TRUE(TaskbarBecomes(false));
        EXPECT_EQ(PolicyDword(), 1u) << "after the hide";
        ASSERT_TRUE(PutValue(POLICY_KEY_PATH, POLICY_VALUE_NAME, c.type, c.data));
        PressKeys("ctrl+shift+a");
        EXPECT_TRUE(TaskbarBecomes(true));
        EXPECT_EQ(PolicyDword(), 0u) << "after the show";
        // From second starts' switches.
        ASSERT_TRUE(PutValue(POLICY_KEY_PATH, POLICY_VALUE_NAME, c.type, c.data));
        EXPECT_EQ(RunToExit("-nomulti"), 0u);
        EXPECT_EQ(PolicyDword(), 1u) << "after -nomulti";
        ASSERT_TRUE(PutValue(POLICY_KEY_PATH, POLICY_VALUE_NAME, c.type, c.data));
        EXPECT_EQ(RunToExit("-multi"), 0u);
        EXPECT_EQ(PolicyDword(), 0u) << "after -multi";
    }
    EXPECT_TRUE(resident_.Running());
    ExitResident();
}

// With Force on and the policy key closed to writes, each hide and show
// starts the program's own file by its full path to write the value; each
// copy ends after its one write, whether an instance is still resident or
// not, and never starts another.
TEST_F(HostileRegistry, APolicyKeyClosedToWritesStartsTheProgramItselfForEachWriteAndTheCopyEnds) {
    SKIP_UNLESS_WINE("the copies' command lines come from Wine's process trace");
    const RegistryKeyLock policy(POLICY_KEY_PATH, KeyLock::ReadOnly);
    ASSERT_TRUE(policy.Holds());
    Store({{"System", REG_DWORD, Bytes(DWORD{1})}, {"Force", REG_DWORD, Bytes(DWORD{1})}});
    const DecoyFolder decoy;
    ASSERT_TRUE(decoy.Made());
    const std::string itself = "\"" + ProgramPath() + "\" ";
    struct Write {
        const char* by;
        bool hides;
        const char* copy;  // the switches the copy is given
    };
    {
        const TracedStart resident("", decoy.HostPath());
        BecomesResident(resident);
        std::vector<std::string> copies;
        for (const Write& w : {Write{"the hot key", true, "-nomulti -exit"},
                               Write{"the hot key again", false, "-multi -exit"}}) {
            PressKeys(CTRL_SHIFT_A);
            EXPECT_TRUE(TaskbarBecomes(!w.hides)) << w.by;
            copies.push_back(itself + w.copy);
            EXPECT_TRUE(WaitFor([&] { return resident.Created().size() >= copies.size(); }, QUICK))
                << w.by << ": no copy was started";
            EXPECT_TRUE(WaitFor([] { return CountProgramProcesses() == 1; }, QUICK))
                << w.by << ": " << CountProgramProcesses() << " program processes run";
        }
        EXPECT_EQ(resident.Created(), copies) << "what the resident and its copies started";
        EXPECT_TRUE(resident_.Running());
        ExitResident();
    }
    for (const Write& w : {Write{"-hide -exit", true, "-nomulti -exit"},
                           Write{"-show -exit", false, "-multi -exit"}}) {
        const TracedStart first(w.by, decoy.HostPath());
        EXPECT_TRUE(WaitFor([&] { return first.ExitCode().has_value(); }, QUICK)) << w.by;
        EXPECT_EQ(first.ExitCode(), 0u) << w.by;
        EXPECT_TRUE(TaskbarBecomes(!w.hides)) << w.by;
        // The copy was started before its starter ended, so it is counted until it ends.
        EXPECT_TRUE(WaitFor([] { return CountProgramProcesses() == 0; }, QUICK))
            << w.by << ": a program process was left behind";
        EXPECT_EQ(first.Created(), std::vector<std::string>{itself + w.copy}) << w.by;
        EXPECT_EQ(FindMainWindow(), nullptr) << w.by;
    }
    EXPECT_EQ(ReadValue(POLICY_KEY_PATH, POLICY_VALUE_NAME), std::nullopt)
        << "a refused value was written";
}

// A program folder that the ANSI code page (1252 here) cannot spell, as a
// per-user install under the profile of a user whose name holds such
// letters: start at logon stores the folder's true name, and the copy that a
// refused policy write starts is the program itself, not a file that does
// not exist.
TEST_F(HostileRegistry, AProgramFolderOutsideTheCodePageIsNamedWhole) {
    SKIP_UNLESS_WINE("the copy's command line comes from Wine's process trace");
    const ProgramFileCopy omega("\u03A9mega", ProgramPath());  // "Omega" with a capital omega
    ASSERT_TRUE(omega.Made());
    const std::string itself = "\"" + omega.Path() + "\"";
    Store({{"System", REG_DWORD, Bytes(DWORD{1})}, {"Force", REG_DWORD, Bytes(DWORD{1})}});
    RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY_PATH, RUN_VALUE_NAME);
    const RegistryKeyLock policy(POLICY_KEY_PATH, KeyLock::ReadOnly);
    ASSERT_TRUE(policy.Holds());
    const TracedStart resident("", omega.HostPath(), omega.Path());
    BecomesResident(resident);

    ChooseFromTrayMenu(SETTINGS_ROW);
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = FindDialog("Settings")) != nullptr; }, QUICK));
    ClickAt(ControlCentre(settings, IDC_STARTUP));
    ClickAt(ControlCentre(settings, IDOK));
    ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK));
    EXPECT_EQ(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME), itself) << "start at logon";

    PressKeys(CTRL_SHIFT_A);
    EXPECT_TRUE(TaskbarBecomes(false));
    EXPECT_TRUE(WaitFor([&] { return !resident.Created().empty(); }, QUICK)) << "no copy started";
    EXPECT_TRUE(WaitFor([] { return CountProgramProcesses() == 1; }, QUICK))
        << CountProgramProcesses() << " program processes run";
    EXPECT_EQ(resident.Created(), std::vector<std::string>{itself + " -nomulti -exit"})
        << "the copy for the refused write";
    ExitResident();
}

// Settings and Run keys that refuse the user: the program starts, its hot
// key works, Settings and Exit store nothing where they may not, and every
// refusal passes without a word and without a crash.
TEST_F(HostileRegistry, SettingsKeysClosedToTheUserAreMetSilently) {
    struct Case {
        const char* name;
        const char* key;
        KeyLock lock;
        bool firstRun;       // the Settings dialog opens by itself, before the icon
        const char* keys;    // the hot key at the start
        const char* keysOk;  // the hot key after Settings' OK with start at logon ticked
        // stored afterwards
        std::optional<DWORD> startUp;
        std::optional<DWORD> edge;
        bool runValue;
    };
    const Case cases[] = {
        {"settings readable, not writable", SETTINGS_KEY_PATH, KeyLock::ReadOnly, false,
         "ctrl+shift+g", CTRL_SHIFT_A, std::nullopt, 3, true},
        {"settings not readable", SETTINGS_KEY_PATH, KeyLock::Closed, true, CTRL_SHIFT_A,
         CTRL_SHIFT_A, std::nullopt, 3, true},
        {"Run key not writable", RUN_KEY_PATH, KeyLock::ReadOnly, false, "ctrl+shift+g",
         "ctrl+shift+g", 1u, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store({{"System", REG_DWORD, Bytes(DWORD{1})},
               {"CtrlShiftKey", REG_DWORD, Bytes(DWORD{6})},
               {"LastSeenTaskbarPosition", REG_DWORD, Bytes(DWORD{3})}});
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY_PATH, RUN_VALUE_NAME);
        {
            const RegistryKeyLock lock(c.key, c.lock);
            ASSERT_TRUE(lock.Holds());
            StartResident("", !c.firstRun);
            HWND settings = nullptr;
            if (c.firstRun) {
                ASSERT_TRUE(
                    WaitFor([&] { return (settings = FindDialog("Settings")) != nullptr; }, QUICK));
                ExpectToggles(c.keys);
            } else {
                EXPECT_EQ(FindDialog("Settings"), nullptr) << "no first run";
                ExpectToggles(c.keys);
                ChooseFromTrayMenu(SETTINGS_ROW);
                ASSERT_TRUE(
                    WaitFor([&] { return (settings = FindDialog("Settings")) != nullptr; }, QUICK));
            }
            ClickAt(ControlCentre(settings, IDC_STARTUP));
            ClickAt(ControlCentre(settings, IDOK));
            ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK));
            if (c.firstRun) {
                WaitForIcon();
            }
            ExpectToggles(c.keysOk);
            EXPECT_TRUE(resident_.Running());
            ExitResident();
        }
        EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "CtrlShiftKey"), 6u);
        EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "StartUp"), c.startUp);
        EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "LastSeenTaskbarPosition"), c.edge)
            << "the edge Exit saved";
        EXPECT_EQ(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME).has_value(), c.runValue);
        ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
    }
}

}  // namespace
