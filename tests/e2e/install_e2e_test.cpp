// The installer and its uninstaller, run silently as a deployment script runs
// them: what they put where, the installed copy running, and that nothing of
// theirs is left behind.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_dialog.h"
#include "tests/e2e/program_fixture.h"

namespace {

constexpr const char* UNINSTALL_KEY =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Shelfcloak";
constexpr DWORD SETUP_TIME = 60000;
// The file name of the copy of itself in the temporary folder from which
// the uninstaller carries on.
constexpr const char* UNINSTALLER_COPY = "Un.exe";
constexpr const char* INSTALLED_FILES[] = {"Shelfcloak.exe", "README.txt", "LICENSE.txt",
                                           "Uninstall.exe"};
// StayHidden among them: no installation stores it, so it stays off.
constexpr const char* SETTING_NAMES[] = {
    "System",     "CtrlShiftKey",           "WinKey", "Force", "StartUp",
    "StayHidden", "LastSeenTaskbarPosition"};

// The settings key's values by name; a key without values and no key at all
// both read as empty.
using StoredValues = std::map<std::string, DWORD>;

StoredValues ReadSettings() {
    StoredValues stored;
    for (const char* name : SETTING_NAMES) {
        if (const std::optional<DWORD> value = ReadDword(SETTINGS_KEY_PATH, name)) {
            stored[name] = *value;
        }
    }
    return stored;
}

std::string Describe(const StoredValues& settings) {
    std::string text;
    for (const auto& [name, value] : settings) {
        text += name + "=" + std::to_string(value) + " ";
    }
    return text.empty() ? "none" : text;
}

std::string Describe(const std::optional<std::string>& value) {
    return value ? *value : "absent";
}

// The installer made from this build's program (SHELFCLOAK_INSTALLER).
std::string InstallerPath() {
    const char* value = std::getenv("SHELFCLOAK_INSTALLER");
    return value != nullptr ? value : "";
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path
                                                                                          : "";
}

// Where a silent installation puts the program and its Start-menu shortcut.
std::string InstallFolder() {
    return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Shelf Cloak";
}
std::string InstalledProgram() {
    return InstallFolder() + "\\Shelfcloak.exe";
}
std::string ShortcutPath() {
    return ShellFolder(CSIDL_PROGRAMS) + "\\Shelf Cloak.lnk";
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string text) {
    CharLowerA(text.data());
    return text;
}

// The file a shortcut starts, read through the shell's own link object.
std::string ShortcutTarget(const std::string& link) {
    std::string target;
    if (FAILED(CoInitialize(nullptr))) {
        return target;
    }
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t widePath[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, widePath, MAX_PATH);
            char path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(widePath, STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
                target = path;
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return target;
}

// Runs a whole command line, as a deployment tool runs a registered one, to
// its end; the exit code, or empty when it did not end in time.
std::optional<DWORD> RunCommandLine(std::string commandLine, DWORD timeoutMs) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    std::optional<DWORD> code;
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(info.hProcess, &exitCode);
        code = exitCode;
    } else {
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hProcess);
    return code;
}

class Install : public ProgramTest {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallerPath().empty()) << "SHELFCLOAK_INSTALLER names no installer";
        RemoveLeftovers();
        ProgramTest::SetUp();
        ASSERT_FALSE(Exists(InstallFolder())) << InstallFolder() << " exists before installing";
        ASSERT_FALSE(Exists(ShortcutPath())) << ShortcutPath() << " exists before installing";
        ASSERT_FALSE(KeyExists(UNINSTALL_KEY)) << "an uninstall key exists before installing";
    }

    void TearDown() override {
        ProgramTest::TearDown();
        RemoveLeftovers();
    }

    // An installation that a failed scenario left behind goes the way it
    // came, and what its uninstaller missed goes by hand, so that each
    // scenario starts from none.
    static void RemoveLeftovers() {
        const std::string uninstaller = InstallFolder() + "\\Uninstall.exe";
        if (Exists(uninstaller)) {
            RunToExit("/S", SETUP_TIME, uninstaller);
            WaitFor([] { return !KeyExists(UNINSTALL_KEY); }, SETUP_TIME);
        }
        for (const char* file : INSTALLED_FILES) {
            DeleteFileA((InstallFolder() + "\\" + file).c_str());
        }
        RemoveDirectoryA(InstallFolder().c_str());
        DeleteFileA(ShortcutPath().c_str());
        DeleteKeyTree(UNINSTALL_KEY);
        WaitFor([] { return CountProcesses(UNINSTALLER_COPY) == 0; }, SETUP_TIME);
    }

    void RunInstaller(const std::string& switches) {
        ASSERT_EQ(RunToExit(switches, SETUP_TIME, InstallerPath()), 0u) << "installer " << switches;
    }

    // Starts what the Start-menu shortcut starts.
    void StartFromShortcut(bool waitForIcon = true) {
        const std::string target = ShortcutTarget(ShortcutPath());
        ASSERT_FALSE(target.empty()) << "the shortcut names no program";
        resident_ = Process::Start(target, "");
        ASSERT_TRUE(resident_.Started()) << "could not start " << target;
        ASSERT_TRUE(WaitFor([&] { return (window_ = FindMainWindow()) != nullptr; }))
            << "the installed copy's window did not appear";
        if (waitForIcon) {
            WaitForIcon();
        }
    }

    // Runs the registered quiet uninstall command, as a deployment tool
    // does, and waits for the uninstaller, which goes on from a copy of
    // itself, to finish: it removes the uninstall key last.
    void RunUninstaller(const std::string& extraSwitches) {
        const std::optional<std::string> command =
            ReadString(UNINSTALL_KEY, "QuietUninstallString");
        ASSERT_TRUE(command.has_value()) << "no QuietUninstallString";
        ASSERT_EQ(RunCommandLine(*command + extraSwitches, SETUP_TIME), 0u) << *command;
        ASSERT_TRUE(WaitFor([] { return !KeyExists(UNINSTALL_KEY); }, SETUP_TIME))
            << "the uninstallation did not finish";
        // The copy ends a moment after its last step; another uninstallation
        // started meanwhile could not make its own copy there.
        ASSERT_TRUE(WaitFor([] { return CountProcesses(UNINSTALLER_COPY) == 0; }, SETUP_TIME))
            << "the uninstaller's copy did not end";
    }

    static void ExpectInstalled() {
        for (const char* file : INSTALLED_FILES) {
            EXPECT_TRUE(Exists(InstallFolder() + "\\" + file)) << file << " is not installed";
        }
        EXPECT_TRUE(FileBytes(InstalledProgram()) == FileBytes(ProgramPath()))
            << "the installed program is not the one this build made";
        EXPECT_EQ(Lower(ShortcutTarget(ShortcutPath())), Lower(InstalledProgram()))
            << "the Start-menu shortcut";
        EXPECT_EQ(ReadString(UNINSTALL_KEY, "DisplayName"), "Shelf Cloak");
        EXPECT_EQ(ReadString(UNINSTALL_KEY, "Publisher"), "Quillfen");
        EXPECT_EQ(ReadString(UNINSTALL_KEY, "UninstallString"),
                  "\"" + InstallFolder() + "\\Uninstall.exe\"");
    }

    static void ExpectNothingLeft() {
        for (const char* file : INSTALLED_FILES) {
            EXPECT_FALSE(Exists(InstallFolder() + "\\" + file)) << file << " was left";
        }
        EXPECT_FALSE(Exists(InstallFolder())) << "the program folder was left";
        EXPECT_FALSE(Exists(ShortcutPath())) << "the shortcut was left";
        EXPECT_FALSE(KeyExists(UNINSTALL_KEY)) << "the uninstall key was left";
        EXPECT_EQ(CountProgramProcesses(), 0) << "a program process was left";
    }
};

TEST_F(Install, SilentDefaultsInstallForTheUserAndTheUninstallerKeepsTheSettings) {
    RunInstaller("/S");
    ExpectInstalled();
    EXPECT_EQ(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME), std::nullopt)
        << "start at logon is off by default";
    StartFromShortcut();
    // As a portable copy elsewhere writes it when set to start at logon.
    const std::string otherCopy = "\"C:\\Tools\\Shelf Cloak\\Shelfcloak.exe\"";
    ASSERT_TRUE(PutString(RUN_KEY_PATH, RUN_VALUE_NAME, otherCopy));

    RunUninstaller("");
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u) << "the running copy was not ended by its Exit";
    ExpectNothingLeft();
    EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "System"), 1u) << "the settings were not kept";
    EXPECT_EQ(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME), otherCopy)
        << "another copy's Run value was removed";
}

TEST_F(Install, StartAtLogonWritesTheQuotedPathThatTheUninstallerRemoves) {
    RunInstaller("/S /LOGON");
    ExpectInstalled();
    EXPECT_EQ(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME), "\"" + InstalledProgram() + "\"");
    // What the Settings dialog shows.
    EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "StartUp"), 1u);
    StartFromShortcut();

    RunUninstaller("");
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u) << "the running copy was not ended by its Exit";
    ExpectNothingLeft();
    EXPECT_EQ(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME), std::nullopt) << "the Run value was left";
    EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "StartUp"), 0u);
    EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "System"), 1u) << "the settings were not kept";
}

TEST_F(Install, UninstallingWhileHiddenShowsTheTaskbarAndRemovesTheSettingsOnRequest) {
    RunInstaller("/S");
    StartFromShortcut();
    PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
    ASSERT_TRUE(TaskbarBecomes(false));

    RunUninstaller(" /REMOVESETTINGS");
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u) << "the running copy was not ended by its Exit";
    EXPECT_TRUE(TaskbarShown())
        << "the taskbar was left hidden, and the program that shows it gone";
    ExpectNothingLeft();
    EXPECT_FALSE(KeyExists(SETTINGS_KEY_PATH)) << "the settings were kept";
    EXPECT_FALSE(KeyExists("SOFTWARE\\Quillfen")) << "the maker's empty key was left";
}

// Force switches the shell to a single taskbar while the taskbar is hidden,
// and the program that would switch it back is about to go: the uninstaller
// gives the policy back. A policy that Force did not set is not its to
// change. A policy key closed to the user has the program run again
// elevated; under Wine that runs it as the same user, who is refused again,
// and the uninstallation must still finish.
TEST_F(Install, TheUninstallerGivesBackThePolicyThatForceSet) {
    struct Case {
        const char* name;
        DWORD force;
        std::optional<DWORD> policyBefore;  // as something else set it
        bool policyKeyClosed;
        DWORD policyAfter;
    };
    const Case cases[] = {
        {"Force on: back to a taskbar on every display", 1, std::nullopt, false, 0},
        {"Force off: a single taskbar set by another stays", 0, 1u, false, 1},
        {"Force on, the key closed to the user: refused again, and done", 1, 1u, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, "Force", c.force));
        RegDeleteKeyValueA(HKEY_CURRENT_USER, POLICY_KEY_PATH, POLICY_VALUE_NAME);
        if (c.policyBefore) {
            ASSERT_TRUE(PutDword(POLICY_KEY_PATH, POLICY_VALUE_NAME, *c.policyBefore));
        }
        std::optional<RegistryKeyLock> closed;
        if (c.policyKeyClosed) {
            closed.emplace(POLICY_KEY_PATH, KeyLock::ReadOnly);
            ASSERT_TRUE(closed->Holds());
        }
        ASSERT_NO_FATAL_FAILURE(RunInstaller("/S"));
        ASSERT_NO_FATAL_FAILURE(StartFromShortcut());
        PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
        ASSERT_TRUE(TaskbarBecomes(false));
        EXPECT_TRUE(
            WaitFor([] { return ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME) == 1u; }, QUICK))
            << "the policy while hidden";

        ASSERT_NO_FATAL_FAILURE(RunUninstaller(""));
        EXPECT_EQ(resident_.WaitForExit(QUICK), 0u) << "the running copy was not ended by its Exit";
        EXPECT_TRUE(TaskbarShown());
        EXPECT_EQ(ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME), c.policyAfter)
            << "the policy after uninstalling";
        ExpectNothingLeft();
    }
}

// Whatever was stored before, and whether the installer's start at logon or
// the program's first start comes first, the Settings dialog shows what the
// Run value says, and its OK keeps the two in step.
TEST_F(Install, StartAtLogonAndTheSettingsDialogAgreeWhateverWasStoredBefore) {
    const StoredValues defaultsAtLogon = {
        {"System", 1}, {"CtrlShiftKey", 0}, {"WinKey", 9}, {"Force", 0}, {"StartUp", 1}};
    struct Case {
        const char* name;
        std::optional<StoredValues> before;  // empty: no settings key
        bool runValueBefore;                 // as an earlier installation at logon left it
        const char* switches;
        StoredValues after;
        bool runValueAfter;
        bool firstRunDialog;
        const char* hotKey;
    };
    const Case cases[] = {
        {.name = "no settings, at logon: the program's defaults and no first-run dialog",
         .before = std::nullopt,
         .runValueBefore = false,
         .switches = "/S /LOGON",
         .after = defaultsAtLogon,
         .runValueAfter = true,
         .firstRunDialog = false,
         .hotKey = "ctrl+shift+a"},
        {.name = "no settings, not at logon: nothing stored, and the first start asks",
         .before = std::nullopt,
         .runValueBefore = false,
         .switches = "/S",
         .after = {},
         .runValueAfter = false,
         .firstRunDialog = true,
         .hotKey = "ctrl+shift+a"},
        {.name = "a key without a hot key: the gaps take the defaults, the rest stays",
         .before = StoredValues{{"CtrlShiftKey", 2}, {"LastSeenTaskbarPosition", 4}},
         .runValueBefore = false,
         .switches = "/S /LOGON",
         .after = {{"System", 1},
                   {"CtrlShiftKey", 2},
                   {"WinKey", 9},
                   {"Force", 0},
                   {"StartUp", 1},
                   {"LastSeenTaskbarPosition", 4}},
         .runValueAfter = true,
         .firstRunDialog = false,
         .hotKey = "ctrl+shift+c"},
        {.name = "the user's own choices stay, and start at logon is ticked",
         .before =
             StoredValues{
                 {"System", 0}, {"CtrlShiftKey", 1}, {"WinKey", 6}, {"Force", 1}, {"StartUp", 0}},
         .runValueBefore = false,
         .switches = "/S /LOGON",
         .after = {{"System", 0}, {"CtrlShiftKey", 1}, {"WinKey", 6}, {"Force", 1}, {"StartUp", 1}},
         .runValueAfter = true,
         .firstRunDialog = false,
         .hotKey = "super+q"},
        {.name = "an upgrade without /LOGON keeps start at logon",
         .before = defaultsAtLogon,
         .runValueBefore = true,
         .switches = "/S",
         .after = defaultsAtLogon,
         .runValueAfter = true,
         .firstRunDialog = false,
         .hotKey = "ctrl+shift+a"},
    };
    const std::string atLogon = "\"" + InstalledProgram() + "\"";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(SETTINGS_KEY_PATH);
        for (const auto& [name, value] : c.before.value_or(StoredValues{})) {
            ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, name.c_str(), value)) << name;
        }
        if (c.runValueBefore) {
            ASSERT_TRUE(PutString(RUN_KEY_PATH, RUN_VALUE_NAME, atLogon));
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY_PATH, RUN_VALUE_NAME);
        }

        ASSERT_NO_FATAL_FAILURE(RunInstaller(c.switches));
        const std::optional<std::string> runValue = ReadString(RUN_KEY_PATH, RUN_VALUE_NAME);
        EXPECT_EQ(runValue, c.runValueAfter ? std::optional(atLogon) : std::nullopt)
            << "the Run value after installing: " << Describe(runValue);
        EXPECT_EQ(ReadSettings(), c.after)
            << "stored after installing: " << Describe(ReadSettings());

        ASSERT_NO_FATAL_FAILURE(StartFromShortcut(false));
        if (!c.firstRunDialog) {
            ASSERT_NO_FATAL_FAILURE(WaitForIcon());
            EXPECT_EQ(FindDialog("Settings"), nullptr) << "a first-run dialog opened";
            ASSERT_NO_FATAL_FAILURE(ChooseFromTrayMenu(SETTINGS_ROW));
        }
        const HWND dialog = ActiveDialog("Settings");
        ASSERT_NE(dialog, nullptr) << "no Settings dialog";
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP) == BST_CHECKED, runValue.has_value())
            << "the dialog's start at logon, with the Run value " << Describe(runValue);

        ClickAt(ControlCentre(dialog, IDOK));
        ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK))
            << "the dialog stayed open";
        EXPECT_EQ(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME), runValue)
            << "OK changed the Run value to " << Describe(ReadString(RUN_KEY_PATH, RUN_VALUE_NAME));
        EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "StartUp"), runValue ? 1u : 0u)
            << "what the dialog shows at its next opening";
        if (c.firstRunDialog) {
            ASSERT_NO_FATAL_FAILURE(WaitForIcon());
        }
        ExpectToggles(c.hotKey);

        resident_.End();
        ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK)) << "the icon stayed";
        ASSERT_NO_FATAL_FAILURE(RunUninstaller(""));
    }
}

}  // namespace
