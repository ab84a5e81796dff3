// The notification-area icon, its menu and the main window's messages, on
// Wine's shell desktop, as a user sees and uses them.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "tests/e2e/program_fixture.h"

namespace {

// The texts of the tip windows that show, one a line. The shell's tips for
// the icons are tooltip controls, which answer WM_GETTEXT with the tip they
// show (GetWindowText would not ask another process's window).
BOOL CALLBACK AddShownTip(HWND window, LPARAM tips) {
    char className[32] = {};
    char shown[64] = {};
    DWORD_PTR copied = 0;
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && lstrcmpA(className, TOOLTIPS_CLASSA) == 0 &&
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown),
                            SMTO_NORMAL, QUICK, &copied)) {
        *reinterpret_cast<std::string*>(tips) += std::string(shown) + "\n";
    }
    return TRUE;
}

std::string ShownTips() {
    std::string tips;
    EnumWindows(AddShownTip, reinterpret_cast<LPARAM>(&tips));
    return tips;
}

class Tray : public ProgramTest {
protected:
    // Sends a tray callback as the shell would; false if the window was
    // still busy after a second (a menu open in its modal loop).
    bool SendTrayMouse(UINT mouseMessage) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window_, WM_TRAY_NOTIFY, 0, mouseMessage, SMTO_NORMAL, 1000,
                                   &result) != 0;
    }
};

TEST_F(Tray, EitherButtonPressOnTheIconOpensTheMenu) {
    StartResident();
    struct Case {
        const char* name;
        MouseButton button;
    };
    for (const Case& c : {Case{"left", MouseButton::Left}, Case{"right", MouseButton::Right}}) {
        ClickIcon(c.button);
        ASSERT_TRUE(WaitFor([] { return OpenMenu() != nullptr; }, QUICK))
            << c.name << " button: no menu";
        if (c.button == MouseButton::Right) {
            RECT menu = {};
            GetWindowRect(OpenMenu(), &menu);
            const RECT screen = WholeScreen();
            const RECT shot = {menu.left - 40, menu.top - 20, screen.right, screen.bottom};
            EXPECT_FALSE(SaveArtifact(shot, "tray-menu.png").empty());
        }
        CloseMenu();
    }
}

TEST_F(Tray, ThePointerRestingOnTheIconRaisesItsTip) {
    StartResident();
    const std::optional<POINT> icon = ProgramIconCentre();
    ASSERT_TRUE(icon.has_value()) << "the shell shows no icon";
    // A pointer coming to rest moves within the icon: a tip takes no notice
    // of a move to the point where it last saw the pointer, as after a click
    // on the same icon's place by an earlier scenario.
    ASSERT_TRUE(MovePointer(POINT{icon->x - 1, icon->y - 1}));
    ASSERT_TRUE(MovePointer(*icon));
    std::string tips;
    EXPECT_TRUE(WaitFor([&] { return (tips = ShownTips()).find("Shelf Cloak\n") == 0; }, QUICK))
        << "the tips that show:\n"
        << tips;
}

TEST_F(Tray, AReleaseADoubleClickOrAMoveAloneOpensNothing) {
    StartResident();
    struct Case {
        const char* name;
        UINT mouseMessage;
    };
    const Case cases[] = {{"left release", WM_LBUTTONUP},
                          {"right release", WM_RBUTTONUP},
                          {"left double-click", WM_LBUTTONDBLCLK},
                          {"right double-click", WM_RBUTTONDBLCLK},
                          {"move", WM_MOUSEMOVE}};
    for (const Case& c : cases) {
        EXPECT_TRUE(SendTrayMouse(c.mouseMessage)) << c.name << " opened something modal";
        EXPECT_EQ(OpenMenu(), nullptr) << c.name;
    }
    EXPECT_TRUE(resident_.Running());
}

TEST_F(Tray, ExitFromTheMenuEndsWithZeroAndRemovesTheIcon) {
    StartResident();
    ChooseFromTrayMenu(EXIT_ROW);
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u);
    EXPECT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK)) << "the icon stayed";
    EXPECT_TRUE(TaskbarShown());
}

TEST_F(Tray, TaskbarCreatedBroadcastReAddsExactlyOneIcon) {
    StartResident();
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");

    // As after a shell restart: the icon is gone, then the shell says so.
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window_;
    icon.uID = 0;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
    PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
    EXPECT_TRUE(WaitFor([] { return ProgramIconShows(); }, QUICK)) << "the icon did not come back";

    // A broadcast while the icon is there must not add a second one.
    PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
    EXPECT_TRUE(OneIcon());
}

TEST_F(Tray, ToggleHotKeyMessageHidesAndTheNextShows) {
    StartResident();
    PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
    EXPECT_TRUE(TaskbarBecomes(false)) << "the first press";
    PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
    EXPECT_TRUE(TaskbarBecomes(true)) << "the second press";
    PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE + 1, 0);
    EXPECT_TRUE(TaskbarStays(true)) << "another hot key id";
}

TEST_F(Tray, ExitWhileHiddenLeavesTheTaskbarHidden) {
    StartResident();
    PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
    ASSERT_TRUE(TaskbarBecomes(false));
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u);
    EXPECT_TRUE(TaskbarStays(false));
    EXPECT_TRUE(NewProcessSeesWorkArea(WholeScreen()));
}

TEST_F(Tray, SecondStartsAddNoIcon) {
    StartResident();
    EXPECT_EQ(RunToExit("-show"), 0u);
    EXPECT_EQ(RunToExit(""), 0u);
    EXPECT_TRUE(OneIcon()) << "after second starts";
}

}  // namespace
