// MainWndProc on a real window in this process, against Wine's taskbar. The
// work area is read back here, where the engine set it.
#include "app/main_window.h"

#include <windows.h>

#include "gtest/gtest.h"

#include "settings/settings_store.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"
#include "tests/support/desktop_state.h"
#include "tests/support/registry_guard.h"
#include "tests/win/wine_desktop.h"

namespace {

constexpr const char* TEST_CLASS = "SHELFCLOAK_MAIN_WINDOW_TEST";

// The quit code posted to this thread, if any; removes it.
bool TakeQuit(WPARAM* code) {
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            *code = message.wParam;
            return true;
        }
    }
    return false;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TaskbarShown());
        // The window's creation loads the settings: stored ones, so that it
        // takes no first run with its dialog; its destruction saves the
        // edge, which the guard takes back with the rest.
        DeleteKeyTree(SETTINGS_KEY_PATH);
        ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, VALUE_SYSTEM, 1));
        AppState = {};
        AppState.hInstance = GetModuleHandleA(nullptr);
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = MainWndProc;
        windowClass.hInstance = AppState.hInstance;
        windowClass.lpszClassName = TEST_CLASS;
        RegisterClassExA(&windowClass);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, TEST_CLASS, "test", WS_OVERLAPPEDWINDOW, 0, 0,
                                  0, 0, nullptr, nullptr, AppState.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        AppState.mainWindow = window_;
    }
    void TearDown() override {
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
        WPARAM ignored = 0;
        TakeQuit(&ignored);
        UnregisterClassA(TEST_CLASS, AppState.hInstance);
        AppState = {};
    }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageA(window_, message, wParam, lParam);
    }

    DesktopStateGuard restore_;
    LeftoverLocksUndone unlocked_{SETTINGS_KEY_PATH};
    RegistryKeyGuard settings_{SETTINGS_KEY_PATH};
    HWND window_ = nullptr;
};

TEST_F(MainWindow, ToggleHotKeyHidesThenShows) {
    EXPECT_EQ(Send(WM_HOTKEY, HOTKEY_ID_TOGGLE, 0), 0);
    EXPECT_FALSE(TaskbarShown());
    EXPECT_TRUE(WorkAreaIs(WHOLE_SCREEN));
    EXPECT_EQ(AppState.nextToggleShows, 1);

    EXPECT_EQ(Send(WM_HOTKEY, HOTKEY_ID_TOGGLE, 0), 0);
    EXPECT_TRUE(TaskbarShown());
    EXPECT_TRUE(WorkAreaIs(ABOVE_TASKBAR));
    EXPECT_EQ(AppState.nextToggleShows, 0);
}

TEST_F(MainWindow, OtherHotKeysChangeNothing) {
    EXPECT_EQ(Send(WM_HOTKEY, HOTKEY_ID_TOGGLE + 1, 0), 0);
    EXPECT_TRUE(TaskbarShown());
    EXPECT_EQ(AppState.nextToggleShows, 0);
}

TEST_F(MainWindow, ExitWhileHiddenLeavesTheTaskbarHiddenAndQuitsWithZero) {
    Send(WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
    ASSERT_FALSE(TaskbarShown());

    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0), 0);
    EXPECT_FALSE(IsWindow(window_));
    WPARAM code = 99;
    EXPECT_TRUE(TakeQuit(&code)) << "no quit message was posted";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(TaskbarShown());
    EXPECT_TRUE(WorkAreaIs(WHOLE_SCREEN));
}

TEST_F(MainWindow, TrayMessagesOtherThanAPressOpenNothing) {
    // A press would open the menu and block here in its modal loop.
    for (const LPARAM mouse : {WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE}) {
        EXPECT_EQ(Send(WM_TRAY_NOTIFY, 0, mouse), 0) << "mouse message " << mouse;
        EXPECT_EQ(FindWindowA("#32768", nullptr) != nullptr &&
                      IsWindowVisible(FindWindowA("#32768", nullptr)),
                  false)
            << "mouse message " << mouse;
    }
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(MainWindow, UnknownCommandsAndMessagesGoToTheDefaultProcedure) {
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(40000, 0), 0), 0);
    EXPECT_EQ(Send(WM_NULL, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(Send(WM_GETTEXTLENGTH, 0, 0), 4) << "the default procedure answers for the title";
}

}  // namespace
