// The notification-area icon, its menu and the main window's messages, on
// Wine's shell desktop, as a user sees and uses them.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "gtest/gtest.h"

#include "tests/e2e/desktop_user.h"
#include "tests/e2e/program_driver.h"
#include "tests/support/registry_guard.h"

namespace {

constexpr UINT TRAY_NOTIFY = 2135;
constexpr WPARAM TOGGLE_HOT_KEY = 2136;
constexpr WORD COMMAND_EXIT = 57665;
constexpr DWORD QUICK = 5000;
constexpr const char* SETTINGS_KEY = "SOFTWARE\\Quillfen\\Shelfcloak";

// The tray menu's rows: About, Settings, a separator, Exit.
struct MenuRow {
    int itemsAbove;
    int separatorsAbove;
};
constexpr MenuRow ABOUT_ROW = {0, 0};
constexpr MenuRow SETTINGS_ROW = {1, 0};
constexpr MenuRow EXIT_ROW = {2, 1};

POINT TrayMenuItem(HWND menu, MenuRow row) {
    return MenuItemCentre(menu, row.itemsAbove, row.separatorsAbove, 3, 1);
}

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PutDword(SETTINGS_KEY, "System", 1)) << "settings, so that no first run starts";
        ASSERT_EQ(CountProgramProcesses(), 0) << "a program from an earlier test still runs";
        ASSERT_TRUE(TaskbarShown());
        ASSERT_FALSE(TrayIconAt(0)) << "the notification area must start empty";
        // A pointer resting where the icon appears raises its tip, which
        // can take the next click.
        ASSERT_TRUE(Xdotool("mousemove 640 400"));
    }

    void TearDown() override {
        if (HasFailure()) {
            SaveArtifact(RECT{0, 0, 1280, 800},
                         std::string("failed-") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".png");
        }
        if (OpenMenu() != nullptr) {
            Xdotool("mousemove 640 400 click 1");
        }
        resident_.End();
        ShowTaskbar();
        EXPECT_TRUE(WaitFor([] { return CountProgramProcesses() == 0; }, QUICK));
    }

    void StartResident() {
        resident_ = Process::Start(ProgramPath(), "");
        ASSERT_TRUE(WaitFor([&] { return (window_ = FindMainWindow()) != nullptr; }))
            << "the resident instance's window did not appear";
        ASSERT_TRUE(WaitFor([] { return TrayIconAt(0); }, QUICK)) << "no icon in the tray";
        // Wine's tray routes clicks on a slot to the icon that sat there
        // before for a moment after a new one replaces it; no user is as quick.
        Sleep(1000);
    }

    void ClickIcon(int button) {
        const POINT icon = TraySlot(0);
        ASSERT_TRUE(Xdotool("mousemove " + std::to_string(icon.x) + " " + std::to_string(icon.y) +
                            " click " + std::to_string(button)));
    }

    void CloseMenu() {
        ASSERT_TRUE(Xdotool("mousemove 640 400 click 1"));
        ASSERT_TRUE(WaitFor([] { return OpenMenu() == nullptr; }, QUICK)) << "the menu stayed";
    }

    // Sends a tray callback as the shell would; false if the window was
    // still busy after a second (a menu open in its modal loop).
    bool SendTrayMouse(UINT mouseMessage) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window_, TRAY_NOTIFY, 0, mouseMessage, SMTO_NORMAL, 1000,
                                   &result) != 0;
    }

    RegistryKeyGuard settings_{SETTINGS_KEY};
    Process resident_;
    HWND window_ = nullptr;
};

TEST_F(Tray, EitherButtonPressOnTheIconOpensTheMenu) {
    StartResident();
    struct Case {
        const char* name;
        int button;
    };
    for (const Case& c : {Case{"left", 1}, Case{"right", 3}}) {
        ClickIcon(c.button);
        ASSERT_TRUE(WaitFor([] { return OpenMenu() != nullptr; }, QUICK))
            << c.name << " button: no menu";
        if (c.button == 3) {
            RECT menu = {};
            GetWindowRect(OpenMenu(), &menu);
            const RECT shot = {menu.left - 40, menu.top - 20, 1280, 800};
            EXPECT_FALSE(SaveArtifact(shot, "tray-menu.png").empty());
        }
        CloseMenu();
    }
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
    ClickIcon(1);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = OpenMenu()) != nullptr; }, QUICK));
    const POINT exit = TrayMenuItem(menu, EXIT_ROW);
    ASSERT_TRUE(
        Xdotool("mousemove " + std::to_string(exit.x) + " " + std::to_string(exit.y) + " click 1"));
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u);
    EXPECT_TRUE(WaitFor([] { return !TrayIconAt(0); }, QUICK)) << "the icon stayed";
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
    ASSERT_TRUE(WaitFor([] { return !TrayIconAt(0); }, QUICK));
    PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
    EXPECT_TRUE(WaitFor([] { return TrayIconAt(0); }, QUICK)) << "the icon did not come back";

    // A broadcast while the icon is there must not add a second one.
    PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
    Sleep(500);
    EXPECT_TRUE(TrayIconAt(0));
    EXPECT_FALSE(TrayIconAt(1)) << "a second icon appeared";
}

TEST_F(Tray, ToggleHotKeyHidesAndTheNextShows) {
    StartResident();
    PostMessageA(window_, WM_HOTKEY, TOGGLE_HOT_KEY, 0);
    EXPECT_TRUE(WaitFor([] { return !TaskbarShown(); }, QUICK)) << "the first press did not hide";
    PostMessageA(window_, WM_HOTKEY, TOGGLE_HOT_KEY, 0);
    EXPECT_TRUE(WaitFor(TaskbarShown, QUICK)) << "the second press did not show";
    PostMessageA(window_, WM_HOTKEY, TOGGLE_HOT_KEY + 1, 0);
    Sleep(300);
    EXPECT_TRUE(TaskbarShown()) << "another hot key id toggled";
}

TEST_F(Tray, ExitWhileHiddenLeavesTheTaskbarHidden) {
    StartResident();
    PostMessageA(window_, WM_HOTKEY, TOGGLE_HOT_KEY, 0);
    ASSERT_TRUE(WaitFor([] { return !TaskbarShown(); }, QUICK));
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(COMMAND_EXIT, 0), 0);
    EXPECT_EQ(resident_.WaitForExit(QUICK), 0u);
    Sleep(300);
    EXPECT_FALSE(TaskbarShown());
    EXPECT_TRUE(NewProcessSeesWorkArea(RECT{0, 0, 1280, 800}));
}

TEST_F(Tray, SecondStartsAddNoIcon) {
    StartResident();
    EXPECT_EQ(RunToExit("-show"), 0u);
    EXPECT_EQ(RunToExit(""), 0u);
    Sleep(300);
    EXPECT_TRUE(TrayIconAt(0));
    EXPECT_FALSE(TrayIconAt(1)) << "a second start added an icon";
}

}  // namespace
