// The Settings dialog from the built program's template, run on real windows
// under Wine with the real registry and real hot keys.
#include "settings/settings_dialog.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "res/resource.h"
#include "settings/settings_store.h"
#include "settings/start_at_logon.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"
#include "tests/support/dialog_template.h"
#include "tests/support/registry_guard.h"

namespace {

constexpr int PROBE_ID = 0xBFF0;

std::string ProgramPath() {
    const char* path = std::getenv("SHELFCLOAK_EXE");
    return path != nullptr ? path : "";
}

// Whether some window holds the combination: registering it again fails then.
bool HotKeyTaken(UINT modifiers, UINT key) {
    if (RegisterHotKey(nullptr, PROBE_ID, modifiers, key)) {
        UnregisterHotKey(nullptr, PROBE_ID);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

std::optional<DWORD> StoredDword(const char* name) {
    return ReadDword(SETTINGS_KEY_PATH, name);
}

std::optional<std::string> RunValue() {
    return ReadString(RUN_KEY_PATH, RUN_VALUE_NAME);
}

TEST(SettingsTemplate, MatchesItsTablesFieldByField) {
    const HMODULE module = LoadLibraryExA(
        ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << ProgramPath();
    const std::optional<DialogTemplate> dialog =
        ParseDialogTemplate(DialogResource(module, IDD_SETTINGS));
    FreeLibrary(module);
    ASSERT_TRUE(dialog.has_value()) << "no classic dialog template " << IDD_SETTINGS;

    EXPECT_EQ(dialog->style, 0x80C810C0u);
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->cx, 217);
    EXPECT_EQ(dialog->cy, 125);
    EXPECT_EQ(dialog->menu, NameOrOrdinal{}) << ToText(dialog->menu);
    EXPECT_EQ(dialog->windowClass, NameOrOrdinal{}) << ToText(dialog->windowClass);
    EXPECT_EQ(dialog->caption, "Settings");
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->font, "MS Sans Serif");

    constexpr std::uint32_t SHOWN = WS_CHILD | WS_VISIBLE;
    constexpr std::uint32_t LIST =
        SHOWN | CBS_DROPDOWNLIST | CBS_SORT | CBS_UPPERCASE | WS_VSCROLL | WS_TABSTOP;
    struct Expected {
        std::uint16_t id;
        std::uint16_t windowClass;
        const char* text;
        std::uint32_t style;
        std::int16_t x, y, cx, cy;
    };
    const Expected items[] = {
        {1006, CLASS_BUTTON, "Ctrl + Shift +", SHOWN | BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 25, 54,
         10},
        {1004, CLASS_COMBOBOX, "", LIST, 73, 24, 26, 144},
        {1007, CLASS_BUTTON, "WIN    +", SHOWN | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 119,
         25, 43, 10},
        {1005, CLASS_COMBOBOX, "", LIST, 169, 24, 26, 144},
        {1008, CLASS_BUTTON, " Force hiding on all displays (run as Administrator)",
         SHOWN | BS_AUTOCHECKBOX | WS_TABSTOP, 16, 45, 169, 10},
        {1009, CLASS_BUTTON, " Keep the taskbar hidden until the hot key shows it",
         SHOWN | BS_AUTOCHECKBOX | WS_TABSTOP, 16, 58, 175, 10},
        {1000, CLASS_BUTTON, " Load at Windows Startup", SHOWN | BS_AUTOCHECKBOX | WS_TABSTOP, 7,
         84, 98, 10},
        {1, CLASS_BUTTON, "OK", SHOWN | BS_DEFPUSHBUTTON | WS_TABSTOP, 106, 105, 50, 14},
        {2, CLASS_BUTTON, "Cancel", SHOWN | BS_PUSHBUTTON | WS_TABSTOP, 161, 105, 50, 14},
        {65535, CLASS_BUTTON, " Hotkey to show or hide the Task Bar ", SHOWN | BS_GROUPBOX, 8, 7,
         203, 70},
        {65535, CLASS_STATIC, "", SHOWN | SS_ETCHEDHORZ, 0, 99, 225, 1},
    };
    ASSERT_EQ(dialog->items.size(), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const DialogItem& item = dialog->items[i];
        const Expected& want = items[i];
        const std::string name =
            "item " + std::to_string(i + 1) + " (" + std::to_string(want.id) + ")";
        EXPECT_EQ(item.id, want.id) << name;
        EXPECT_EQ(item.windowClass, Ordinal(want.windowClass))
            << name << ": " << ToText(item.windowClass);
        EXPECT_EQ(item.title, Name(want.text)) << name << ": " << ToText(item.title);
        EXPECT_EQ(item.style, want.style) << name << std::hex << ": style 0x" << item.style;
        EXPECT_EQ(item.exStyle, 0u) << name;
        EXPECT_EQ(item.x, want.x) << name;
        EXPECT_EQ(item.y, want.y) << name;
        EXPECT_EQ(item.cx, want.cx) << name;
        EXPECT_EQ(item.cy, want.cy) << name;
        EXPECT_EQ(item.extraBytes, 0) << name;
    }
}

class SettingsDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() { FreeLibrary(module_); }

    void SetUp() override {
        ASSERT_NE(module_, nullptr);
        DeleteKeyTree(SETTINGS_KEY_PATH);
        AppState = {};
        owner_ = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "owner", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        AppState.mainWindow = owner_;
        ASSERT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_SHIFT, 'A')) << "someone holds Ctrl+Shift+A";
        // The hot key as the running program holds it before the dialog opens.
        ASSERT_TRUE(RegisterHotKey(owner_, HOTKEY_ID_TOGGLE, MOD_CONTROL | MOD_SHIFT, 'A'));
    }

    void TearDown() override {
        if (dialog_ != nullptr) {
            DestroyWindow(dialog_);
        }
        UnregisterHotKey(owner_, HOTKEY_ID_TOGGLE);
        DestroyWindow(owner_);
        AppState = {};
    }

    void Open() {
        dialog_ =
            CreateDialogParamA(module_, MAKEINTRESOURCEA(IDD_SETTINGS), owner_, SettingsDlgProc, 0);
        ASSERT_NE(dialog_, nullptr);
    }

    void Press(WORD button) {
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    bool Ticked(int control) const { return IsDlgButtonChecked(dialog_, control) == BST_CHECKED; }

    std::string Shown(int list) const {
        const auto index = SendDlgItemMessageA(dialog_, list, CB_GETCURSEL, 0, 0);
        char text[8] = {};
        SendDlgItemMessageA(dialog_, list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(text));
        return text;
    }

    void Choose(int radio, int list, int position) {
        CheckRadioButton(dialog_, IDC_CTRLSHIFT_RADIO, IDC_WIN_RADIO, radio);
        SendDlgItemMessageA(dialog_, list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }

    static HMODULE module_;
    LeftoverLocksUndone unlocked_{SETTINGS_KEY_PATH, RUN_KEY_PATH};
    RegistryKeyGuard settings_{SETTINGS_KEY_PATH};
    RegistryValueGuard run_{RUN_KEY_PATH, RUN_VALUE_NAME};
    HWND owner_ = nullptr;
    HWND dialog_ = nullptr;
};

HMODULE SettingsDialog::module_ = nullptr;

TEST_F(SettingsDialog, OpensShowingWhatIsStored) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, DWORD>> stored;
        bool ctrlShift;
        const char* ctrlShiftLetter;
        const char* winLetter;
        bool force;
        bool startup;
        bool stayHidden = false;
    };
    const Case cases[] = {
        {"no settings", {}, true, "A", "X", false, false},
        {"win letter beyond the list", {{VALUE_WIN_LETTER, 40}}, true, "A", "Z", false, false},
        {"win chosen",
         {{VALUE_USES_CTRL_SHIFT, 0}, {VALUE_WIN_LETTER, 6}},
         false,
         "A",
         "Q",
         false,
         false},
        {"everything",
         {{VALUE_USES_CTRL_SHIFT, 1},
          {VALUE_CTRL_SHIFT_LETTER, 1},
          {VALUE_FORCE, 1},
          {VALUE_START_AT_LOGON_BOX, 1},
          {VALUE_STAY_HIDDEN, 1}},
         true,
         "B",
         "X",
         true,
         true,
         true},
    };
    for (const Case& c : cases) {
        DeleteKeyTree(SETTINGS_KEY_PATH);
        for (const auto& [name, value] : c.stored) {
            ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, name, value));
        }
        Open();
        EXPECT_EQ(AppState.settingsDialogOpen, 1) << c.name;
        EXPECT_EQ(Ticked(IDC_CTRLSHIFT_RADIO), c.ctrlShift) << c.name;
        EXPECT_EQ(Ticked(IDC_WIN_RADIO), !c.ctrlShift) << c.name;
        EXPECT_EQ(Shown(IDC_CTRLSHIFT_KEY), c.ctrlShiftLetter) << c.name;
        EXPECT_EQ(Shown(IDC_WIN_KEY), c.winLetter) << c.name;
        EXPECT_EQ(Ticked(IDC_FORCE), c.force) << c.name;
        EXPECT_EQ(Ticked(IDC_STARTUP), c.startup) << c.name;
        EXPECT_EQ(Ticked(IDC_STAY_HIDDEN), c.stayHidden) << c.name;
        EXPECT_EQ(AppState.startupAtOpen, c.startup ? 1 : 0) << c.name;
        DestroyWindow(dialog_);
        dialog_ = nullptr;
    }
}

TEST_F(SettingsDialog, ListsHoldTheLettersInCapitals) {
    Open();
    struct Case {
        int list;
        const char* letters;
    };
    for (const Case& c : {Case{IDC_WIN_KEY, "BGHJKLQUWXYZ"},
                          Case{IDC_CTRLSHIFT_KEY, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}}) {
        std::string shown;
        const auto count = SendDlgItemMessageA(dialog_, c.list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[8] = {};
            SendDlgItemMessageA(dialog_, c.list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(text));
            shown += text;
        }
        EXPECT_EQ(shown, c.letters) << "list " << c.list;
    }
}

TEST_F(SettingsDialog, OkStoresTheChoicesAndReplacesTheHotKeyAtOnce) {
    struct Case {
        const char* name;
        int radio;
        int list;
        int position;
        UINT modifiers;
        UINT key;
        DWORD system, winKey, ctrlShiftKey;
    };
    const Case cases[] = {
        {"win and q", IDC_WIN_RADIO, IDC_WIN_KEY, 6, MOD_WIN, 'Q', 0, 6, 0},
        {"ctrl+shift and b", IDC_CTRLSHIFT_RADIO, IDC_CTRLSHIFT_KEY, 1, MOD_CONTROL | MOD_SHIFT,
         'B', 1, 9, 1},
    };
    for (const Case& c : cases) {
        DeleteKeyTree(SETTINGS_KEY_PATH);
        UnregisterHotKey(owner_, HOTKEY_ID_TOGGLE);
        ASSERT_TRUE(RegisterHotKey(owner_, HOTKEY_ID_TOGGLE, MOD_CONTROL | MOD_SHIFT, 'A'));
        Open();
        Choose(c.radio, c.list, c.position);
        CheckDlgButton(dialog_, IDC_FORCE, BST_CHECKED);
        CheckDlgButton(dialog_, IDC_STAY_HIDDEN, BST_CHECKED);
        Press(IDOK);
        EXPECT_EQ(AppState.settingsDialogOpen, 0) << c.name;
        EXPECT_FALSE(IsWindowVisible(dialog_)) << c.name << ": the dialog stayed";
        EXPECT_TRUE(HotKeyTaken(c.modifiers, c.key))
            << c.name << ": the new hot key is not registered";
        EXPECT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_SHIFT, 'A'))
            << c.name << ": the old hot key stayed";
        EXPECT_EQ(StoredDword(VALUE_USES_CTRL_SHIFT), c.system) << c.name;
        EXPECT_EQ(StoredDword(VALUE_WIN_LETTER), c.winKey) << c.name;
        EXPECT_EQ(StoredDword(VALUE_CTRL_SHIFT_LETTER), c.ctrlShiftKey) << c.name;
        EXPECT_EQ(StoredDword(VALUE_FORCE), 1u) << c.name;
        EXPECT_EQ(StoredDword(VALUE_START_AT_LOGON_BOX), 0u) << c.name;
        EXPECT_EQ(AppState.forceAllDisplays, 1) << c.name;
        EXPECT_EQ(StoredDword(VALUE_STAY_HIDDEN), 1u) << c.name;
        EXPECT_EQ(AppState.stayHidden, 1) << c.name;
        DestroyWindow(dialog_);
        dialog_ = nullptr;
    }
}

TEST_F(SettingsDialog, StartAtLogonAddsTheQuotedPathAndRemovesIt) {
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);

    Open();
    CheckDlgButton(dialog_, IDC_STARTUP, BST_CHECKED);
    Press(IDOK);
    EXPECT_EQ(RunValue(), "\"" + std::string(path) + "\"");
    EXPECT_EQ(StoredDword(VALUE_START_AT_LOGON_BOX), 1u);
    DestroyWindow(dialog_);

    Open();
    EXPECT_TRUE(Ticked(IDC_STARTUP));
    CheckDlgButton(dialog_, IDC_STARTUP, BST_UNCHECKED);
    Press(IDOK);
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_EQ(StoredDword(VALUE_START_AT_LOGON_BOX), 0u);
}

TEST_F(SettingsDialog, CancelStoresNothingAndKeepsTheHotKey) {
    Open();
    Choose(IDC_WIN_RADIO, IDC_WIN_KEY, 6);
    CheckDlgButton(dialog_, IDC_STARTUP, BST_CHECKED);
    Press(IDCANCEL);
    EXPECT_EQ(AppState.settingsDialogOpen, 0);
    EXPECT_FALSE(IsWindowVisible(dialog_));
    EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_SHIFT, 'A'));
    EXPECT_FALSE(HotKeyTaken(MOD_WIN, 'Q'));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key), ERROR_SUCCESS)
        << "Cancel created the settings key";
    EXPECT_EQ(RunValue(), std::nullopt);
}

// Keys whose DACL refuses the user, as a profile locked down by policy does.
// The dialog reads with KEY_READ, so a key it may only read still shows what
// is stored; OK then does what it may and passes over the rest in silence.
TEST_F(SettingsDialog, OverKeysThatRefuseTheUserOkStoresWhatItMayAndNothingElse) {
    struct Case {
        const char* name;
        const char* key;
        KeyLock lock;
        // shown at opening
        bool winShown;
        const char* winLetter;
        bool forceShown;
        // after choosing Ctrl+Shift+B, Force off and start at logon, and OK
        UINT keyHeld;
        std::optional<DWORD> system;
        std::optional<DWORD> force;
        std::int32_t forceInMemory;
        bool runValue;
    };
    const Case cases[] = {
        {"settings readable, not writable", SETTINGS_KEY_PATH, KeyLock::ReadOnly, true, "Q", true,
         'A', 0, 1, 1, true},
        {"settings not readable", SETTINGS_KEY_PATH, KeyLock::Closed, false, "X", false, 'A', 0, 1,
         1, true},
        {"Run key not writable", RUN_KEY_PATH, KeyLock::ReadOnly, true, "Q", true, 'B', 1, 0, 0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(SETTINGS_KEY_PATH);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY_PATH, RUN_VALUE_NAME);
        for (const auto& [name, value] :
             {std::pair{VALUE_USES_CTRL_SHIFT, 0u}, std::pair{VALUE_WIN_LETTER, 6u},
              std::pair{VALUE_FORCE, 1u}}) {
            ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, name, value));
        }
        UnregisterHotKey(owner_, HOTKEY_ID_TOGGLE);
        ASSERT_TRUE(RegisterHotKey(owner_, HOTKEY_ID_TOGGLE, MOD_WIN, 'Q'));
        AppState.forceAllDisplays = 1;
        {
            const RegistryKeyLock lock(c.key, c.lock);
            ASSERT_TRUE(lock.Holds());
            Open();
            EXPECT_EQ(Ticked(IDC_WIN_RADIO), c.winShown);
            EXPECT_EQ(Shown(IDC_WIN_KEY), c.winLetter);
            EXPECT_EQ(Ticked(IDC_FORCE), c.forceShown);
            Choose(IDC_CTRLSHIFT_RADIO, IDC_CTRLSHIFT_KEY, 1);
            CheckDlgButton(dialog_, IDC_FORCE, BST_UNCHECKED);
            CheckDlgButton(dialog_, IDC_STARTUP, BST_CHECKED);
            Press(IDOK);
            EXPECT_FALSE(IsWindowVisible(dialog_)) << "the dialog stayed";
            EXPECT_EQ(AppState.settingsDialogOpen, 0);
            EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_SHIFT, c.keyHeld))
                << "Ctrl+Shift+" << static_cast<char>(c.keyHeld) << " is not registered";
            EXPECT_FALSE(HotKeyTaken(MOD_WIN, 'Q')) << "the old hot key stayed";
            EXPECT_EQ(AppState.forceAllDisplays, c.forceInMemory);
            DestroyWindow(dialog_);
            dialog_ = nullptr;
        }
        EXPECT_EQ(StoredDword(VALUE_USES_CTRL_SHIFT), c.system);
        EXPECT_EQ(StoredDword(VALUE_FORCE), c.force);
        EXPECT_EQ(RunValue().has_value(), c.runValue);
        UnregisterHotKey(owner_, HOTKEY_ID_TOGGLE);
    }
}

}  // namespace
