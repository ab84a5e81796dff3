// The toggle hot key from the stored settings, pressed on the real keyboard
// of the Wine desktop; and what the settings keep across a run.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/program_fixture.h"

namespace {

constexpr const char* CTRL_SHIFT_A = "ctrl+shift+a";

class HotKey : public ProgramTest {
protected:
    void Store(std::vector<std::pair<const char*, DWORD>> values) {
        DeleteKeyTree(SETTINGS_KEY_PATH);
        for (const auto& [name, value] : values) {
            ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, name, value)) << name;
        }
    }
};

TEST_F(HotKey, FirstRunOpensSettingsBeforeTheIconAndKeepsCtrlShiftA) {
    DeleteKeyTree(SETTINGS_KEY_PATH);
    StartResident("", false);
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = FindDialog("Settings")) != nullptr; }, QUICK))
        << "a first run opens the Settings dialog";
    EXPECT_FALSE(ProgramIconShows()) << "the icon came before the dialog closed";

    // The default hot key works while the dialog is still open.
    ExpectToggles(CTRL_SHIFT_A);

    ClickAt(ControlCentre(settings, IDCANCEL));
    ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK));
    WaitForIcon();
    ExpectToggles(CTRL_SHIFT_A);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key), ERROR_SUCCESS)
        << "Cancel stored settings";
}

TEST_F(HotKey, StoredChoiceGivesItsCombination) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, DWORD>> stored;
        std::vector<std::string> toggles;
        std::vector<std::string> inert;
    };
    const Case cases[] = {
        {"ctrl+shift a", {{"System", 1}}, {CTRL_SHIFT_A}, {"super+x"}},
        {"win q", {{"System", 0}, {"WinKey", 6}}, {"super+q"}, {CTRL_SHIFT_A, "super+x"}},
        {"win without a letter is x", {{"System", 0}}, {"super+x"}, {CTRL_SHIFT_A}},
        {"ctrl+shift z for a letter beyond the list",
         {{"System", 7}, {"CtrlShiftKey", 26}},
         {"ctrl+shift+z"},
         {CTRL_SHIFT_A}},
        {"no modifier stored: no hot key",
         {{"WinKey", 6}, {"CtrlShiftKey", 1}},
         {},
         {CTRL_SHIFT_A, "ctrl+shift+b", "super+q", "super+x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store(c.stored);
        StartResident();
        EXPECT_EQ(FindDialog("Settings"), nullptr) << "no first run";
        for (const std::string& keys : c.toggles) {
            ExpectToggles(keys);
        }
        for (const std::string& keys : c.inert) {
            ExpectDoesNothing(keys);
        }
        resident_.End();
        ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
    }
}

TEST_F(HotKey, ExitStoresTheEdgeWhereTheTaskbarSat) {
    StartResident();
    ExpectToggles(CTRL_SHIFT_A);
    ChooseFromTrayMenu(EXIT_ROW);
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u);
    EXPECT_EQ(ReadDword(SETTINGS_KEY_PATH, "LastSeenTaskbarPosition"), 4u) << "as a REG_DWORD";
}

TEST_F(HotKey, ForceSwitchesThePolicyWithEachHideAndShow) {
    Store({{"System", 1}, {"Force", 1}});
    StartResident();
    PressKeys(CTRL_SHIFT_A);
    ASSERT_TRUE(TaskbarBecomes(false));
    EXPECT_EQ(ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME), 1u)
        << "after the hide, as a REG_DWORD";
    PressKeys(CTRL_SHIFT_A);
    ASSERT_TRUE(TaskbarBecomes(true));
    EXPECT_EQ(ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME), 0u) << "after the show";
}

TEST_F(HotKey, WithoutForceThePolicyIsNeverWritten) {
    StartResident();
    ExpectToggles(CTRL_SHIFT_A);
    EXPECT_EQ(ReadValue(POLICY_KEY_PATH, POLICY_VALUE_NAME), std::nullopt);
}

}  // namespace
