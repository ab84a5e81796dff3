// The Settings dialog as a user works it: from the tray menu, with the mouse
// and the keyboard, and what its choices do at once and keep.
#include <windows.h>

#include <optional>
#include <string>

#include "settings/settings_dialog.h"
#include "tests/e2e/program_fixture.h"

namespace {

constexpr int WIN_Q_POSITION = 6;
constexpr int CTRL_SHIFT_B_POSITION = 1;
constexpr int CTRL_SHIFT_Q_POSITION = 16;
constexpr const char* CTRL_SHIFT_A = "ctrl+shift+a";
// The caption of the program's message boxes: its window title.
constexpr const char* PROGRAM_TITLE = "Shelf Cloak";
// The text of a message box, as the dialog manager numbers it.
constexpr int MESSAGE_TEXT_ID = 0xFFFF;

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

    // Clicks the radio button, drops its list down, types the letter and
    // closes the list with another click.
    void ChooseLetter(HWND dialog, int radio, int listId, const char* letter, int position) {
        ClickAt(ControlCentre(dialog, radio));
        ASSERT_TRUE(WaitFor([&] { return IsDlgButtonChecked(dialog, radio) == BST_CHECKED; }))
            << "radio button " << radio << " is not selected";
        const HWND list = GetDlgItem(dialog, listId);
        ClickAt(ControlCentre(dialog, listId));
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; }))
            << "list " << listId << " did not drop down";
        PressKeys(letter);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, CB_GETCURSEL, 0, 0) == position; }))
            << letter << " was not chosen in list " << listId;
        ClickAt(ControlCentre(dialog, listId));
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) == 0; }))
            << "list " << listId << " stayed down";
    }

    void ChooseWinQ(HWND dialog) {
        ChooseLetter(dialog, IDC_WIN_RADIO, IDC_WIN_KEY, "q", WIN_Q_POSITION);
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
    if (HeldBeforeTheScenario("super+q")) {
        return;
    }
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

// A combination that another process holds, as Windows holds most Win
// letters: OK must say so, store nothing and keep the hot key that works.
TEST_F(Settings, ACombinationHeldElsewhereIsRefusedAndTheOldKeyKeepsWorking) {
    constexpr int HELD_ID = 0x5A1D;
    ASSERT_TRUE(RegisterHotKey(nullptr, HELD_ID, MOD_CONTROL | MOD_SHIFT, 'Q'))
        << "this process could not take Ctrl+Shift+Q";
    struct Release {
        ~Release() { UnregisterHotKey(nullptr, HELD_ID); }
    } release;

    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    ChooseLetter(dialog, IDC_CTRLSHIFT_RADIO, IDC_CTRLSHIFT_KEY, "q", CTRL_SHIFT_Q_POSITION);
    ClickAt(ControlCentre(dialog, IDOK));
    const HWND box = ActiveDialog(PROGRAM_TITLE);
    ASSERT_NE(box, nullptr) << "no message after a refused combination";
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << "the message is not the dialog's";
    char text[256] = {};
    GetDlgItemTextA(box, MESSAGE_TEXT_ID, text, sizeof text);
    EXPECT_NE(std::string(text).find("Ctrl+Shift+Q"), std::string::npos) << text;
    ClickAt(ControlCentre(box, IDOK));
    ASSERT_TRUE(WaitFor([] { return FindDialog(PROGRAM_TITLE) == nullptr; }, QUICK))
        << "the message stayed";

    EXPECT_EQ(FindDialog("Settings"), dialog) << "the dialog closed";
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CTRLSHIFT_KEY, CB_GETCURSEL, 0, 0),
              CTRL_SHIFT_Q_POSITION)
        << "the choice was not kept";
    EXPECT_EQ(StoredSetting("CtrlShiftKey"), std::nullopt) << "a refused choice was stored";
    ExpectToggles(CTRL_SHIFT_A);

    // A free letter then goes through.
    ASSERT_EQ(ActiveDialog("Settings"), dialog);
    ChooseLetter(dialog, IDC_CTRLSHIFT_RADIO, IDC_CTRLSHIFT_KEY, "b", CTRL_SHIFT_B_POSITION);
    Ok(dialog);
    EXPECT_EQ(StoredSetting("CtrlShiftKey"), static_cast<DWORD>(CTRL_SHIFT_B_POSITION));
    ExpectToggles("ctrl+shift+b");
    ExpectDoesNothing(CTRL_SHIFT_A);
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
