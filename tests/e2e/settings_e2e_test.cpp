// The Settings dialog as a user works it: from the tray menu, with the mouse
// and the keyboard, and what its choices do at once and keep.
#include <windows.h>

#include <optional>
#include <string>

#include "settings/settings_dialog.h"
#include "tests/e2e/program_fixture.h"

namespace {

constexpr int WIN_Q_POSITION = 6;
constexpr const char* CTRL_SHIFT_A = "ctrl+shift+a";

std::optional<DWORD> StoredSetting(const char* name) {
    return ReadDword(SETTINGS_KEY_PATH, name);
}

std::optional<std::string> RunValue() {
    return ReadString(RUN_KEY_PATH, RUN_VALUE_NAME);
}

class Settings : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartResident();
    }

    // Opens the dialog from the tray menu and makes it the active window.
    HWND OpenSettings() {
        ChooseFromTrayMenu(SETTINGS_ROW);
        return ActiveDialog("Settings");
    }

    // Clicks the Win radio button, drops the Win list down, types "q" and
    // closes the list with another click.
    void ChooseWinQ(HWND dialog) {
        ClickAt(ControlCentre(dialog, IDC_WIN_RADIO));
        ASSERT_TRUE(WaitFor([&] {
            return IsDlgButtonChecked(dialog, IDC_WIN_RADIO) == BST_CHECKED;
        })) << "the Win radio button is not selected";
        const HWND list = GetDlgItem(dialog, IDC_WIN_KEY);
        ClickAt(ControlCentre(dialog, IDC_WIN_KEY));
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; }))
            << "the Win list did not drop down";
        PressKeys("q");
        ASSERT_TRUE(WaitFor([&] {
            return SendMessageA(list, CB_GETCURSEL, 0, 0) == WIN_Q_POSITION;
        })) << "Q was not chosen in the Win list";
        ClickAt(ControlCentre(dialog, IDC_WIN_KEY));
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) == 0; }))
            << "the Win list stayed down";
    }

    void Ok(HWND dialog) {
        ClickAt(ControlCentre(dialog, IDOK));
        ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK))
            << "the dialog stayed open";
    }

    enum class Dismissal { CancelButton, Escape, CloseBox };

    static const char* NameOf(Dismissal way) {
        switch (way) {
            case Dismissal::CancelButton:
                return "Cancel";
            case Dismissal::Escape:
                return "Esc";
            case Dismissal::CloseBox:
                return "close box";
        }
        return "?";
    }

    void Dismiss(HWND dialog, Dismissal way) {
        switch (way) {
            case Dismissal::CancelButton:
                ClickAt(ControlCentre(dialog, IDCANCEL));
                break;
            case Dismissal::Escape:
                PressKeys("Escape");
                break;
            case Dismissal::CloseBox:
                ClickAt(CloseBoxCentre(dialog));
                break;
        }
    }
};

TEST_F(Settings, WinAndQTakeEffectAtOnceAndAreStored) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    RECT area = {};
    GetWindowRect(dialog, &area);
    EXPECT_FALSE(SaveArtifact(area, "settings.png").empty());

    ChooseWinQ(dialog);
    Ok(dialog);
    ExpectToggles("super+q");
    PressKeys(CTRL_SHIFT_A);
    EXPECT_TRUE(TaskbarStays(true)) << "Ctrl+Shift+A still works";
    EXPECT_EQ(StoredSetting("WinKey"), 6u);
    EXPECT_EQ(StoredSetting("System"), 0u);
    EXPECT_EQ(StoredSetting("CtrlShiftKey"), 0u);
}

TEST_F(Settings, StartAtLogonStoresTheQuotedPathAndRemovesIt) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    ClickAt(ControlCentre(dialog, IDC_STARTUP));
    ASSERT_TRUE(WaitFor([&] { return IsDlgButtonChecked(dialog, IDC_STARTUP) == BST_CHECKED; }));
    Ok(dialog);
    EXPECT_EQ(RunValue(), "\"" + ProgramPath() + "\"");

    dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP), BST_CHECKED);
    ClickAt(ControlCentre(dialog, IDC_STARTUP));
    Ok(dialog);
    EXPECT_EQ(RunValue(), std::nullopt);
}

TEST_F(Settings, CancelEscAndTheCloseBoxStoreNothing) {
    for (const Dismissal way : {Dismissal::CancelButton, Dismissal::Escape, Dismissal::CloseBox}) {
        SCOPED_TRACE(NameOf(way));
        HWND dialog = OpenSettings();
        ASSERT_NE(dialog, nullptr);
        ChooseWinQ(dialog);
        ClickAt(ControlCentre(dialog, IDC_STARTUP));
        Dismiss(dialog, way);
        ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK))
            << "the dialog stayed open";
        EXPECT_EQ(StoredSetting("WinKey"), std::nullopt);
        EXPECT_EQ(StoredSetting("System"), 1u);
        EXPECT_EQ(RunValue(), std::nullopt);
        ExpectToggles(CTRL_SHIFT_A);
    }
}

TEST_F(Settings, SettingsWhileOpenOpensNoSecondDialog) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    ChooseFromTrayMenu(SETTINGS_ROW);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(CountDialogs("Settings"), 1);
    ClickAt(ControlCentre(dialog, IDCANCEL));
    ASSERT_TRUE(WaitFor([] { return FindDialog("Settings") == nullptr; }, QUICK));
    // And once closed, it opens again.
    dialog = OpenSettings();
    EXPECT_NE(dialog, nullptr);
    ClickAt(ControlCentre(dialog, IDCANCEL));
}

}  // namespace
