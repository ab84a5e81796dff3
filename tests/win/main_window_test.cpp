// MainWndProc on a real window in this process, against Wine's taskbar. The
// work area is read back here, where the engine set it.
#include "app/main_window.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "gtest/gtest.h"

#include "res/resource.h"
#include "settings/settings_store.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"
#include "tests/support/desktop_state.h"
#include "tests/support/real_desktop.h"
#include "tests/support/registry_guard.h"

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

// The first dialog of this thread that shows while a call runs, which a
// timer of the thread then cancels: its caption and owner, and the main
// window the program had then.
struct DialogSeen {
    std::string caption;
    HWND owner = nullptr;
    HWND mainWindow = nullptr;
};
DialogSeen seen;

BOOL CALLBACK CancelDialog(HWND window, LPARAM /*context*/) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || lstrcmpA(className, "#32770") != 0) {
        return TRUE;
    }
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    seen = DialogSeen{caption, GetWindow(window, GW_OWNER), AppState.mainWindow};
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK LookForDialog(HWND /*window*/, UINT /*message*/, UINT_PTR /*timer*/, DWORD /*time*/) {
    if (seen.caption.empty()) {
        EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
    }
}

// Runs the call with the program's own templates; what dialog showed meanwhile.
template <typename Call>
DialogSeen DialogDuring(Call call) {
    const char* path = std::getenv("SHELFCLOAK_EXE");
    const HMODULE program =
        LoadLibraryExA(path != nullptr ? path : "", nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    EXPECT_NE(program, nullptr) << "cannot load the built program";
    const HINSTANCE own = AppState.hInstance;
    AppState.hInstance = program;
    seen = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, LookForDialog);
    call();
    KillTimer(nullptr, timer);
    AppState.hInstance = own;
    FreeLibrary(program);
    return seen;
}

void RegisterWindowClass(const char* name, WNDPROC procedure) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = AppState.hInstance;
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}

// Runs the desktop helper (SHELFCLOAK_DESKTOP_HELPER), a process of its own,
// to its end; its exit code, or -1 when it did not run or end.
int RunDesktopHelper(const std::string& arguments) {
    const char* helper = std::getenv("SHELFCLOAK_DESKTOP_HELPER");
    std::string commandLine =
        "\"" + std::string(helper != nullptr ? helper : "") + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info.hProcess, 15000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(info.hProcess, &code);
    } else {
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code == STILL_ACTIVE ? -1 : static_cast<int>(code);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TaskbarShown());
        // The window's creation loads the settings: stored ones, so that it
        // takes no first run with its dialog; its destruction saves the
        // edge, which the guard takes back with the rest.
        DeleteKeyTree(SETTINGS_KEY_PATH);
        ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, VALUE_USES_CTRL_SHIFT, 1));
        AppState = {};
        AppState.hInstance = GetModuleHandleA(nullptr);
        RegisterWindowClass(TEST_CLASS, MainWndProc);
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
    EXPECT_TRUE(WorkAreaIs(WholeScreen()));
    EXPECT_EQ(AppState.lastAskedFor, TaskbarWanted::Hidden);

    EXPECT_EQ(Send(WM_HOTKEY, HOTKEY_ID_TOGGLE, 0), 0);
    EXPECT_TRUE(TaskbarShown());
    EXPECT_TRUE(WorkAreaIs(AreaBesideTaskbar()));
    EXPECT_EQ(AppState.lastAskedFor, TaskbarWanted::Shown);
}

TEST_F(MainWindow, OtherHotKeysChangeNothing) {
    EXPECT_EQ(Send(WM_HOTKEY, HOTKEY_ID_TOGGLE + 1, 0), 0);
    EXPECT_TRUE(TaskbarShown());
    EXPECT_EQ(AppState.lastAskedFor, TaskbarWanted::Shown);
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
    EXPECT_TRUE(WorkAreaIs(WholeScreen()));
}

// What another program found while the main window was being destroyed:
// after the window's own WM_DESTROY, which comes before its children's, and
// before the system freed it, and its hot keys with it.
constexpr const char* PROBE_CLASS = "SHELFCLOAK_DESTROY_PROBE";
constexpr const char* CTRL_SHIFT_A_FREE = "register-hot-key 6 0x41";
int freeDuringDestroy = -1;

LRESULT CALLBACK AskWhenDestroyed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        freeDuringDestroy = RunDesktopHelper(CTRL_SHIFT_A_FREE);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MainWindow, ItsDestructionLetsTheHotKeyGoForAnyProgram) {
    ASSERT_EQ(RunDesktopHelper(CTRL_SHIFT_A_FREE), 1) << "the window does not hold Ctrl+Shift+A";
    RegisterWindowClass(PROBE_CLASS, AskWhenDestroyed);
    ASSERT_NE(CreateWindowExA(0, PROBE_CLASS, "", WS_CHILD, 0, 0, 0, 0, window_, nullptr,
                              AppState.hInstance, nullptr),
              nullptr);
    freeDuringDestroy = -1;
    DestroyWindow(window_);
    UnregisterClassA(PROBE_CLASS, AppState.hInstance);
    EXPECT_EQ(freeDuringDestroy, 0) << "another program may not register Ctrl+Shift+A";
}

// Each dialog runs once at a time, whatever else is open; Exit ends the
// program even then.
TEST_F(MainWindow, MenuCommandsRunEachDialogOnceAtATime) {
    struct Case {
        const char* name;
        WORD command;
        std::int32_t settingsOpen;
        std::int32_t aboutOpen;
        const char* dialog;  // "" for none
    };
    const Case cases[] = {
        {"settings", CMD_SETTINGS, 0, 0, "Settings"},
        {"settings while open", CMD_SETTINGS, 1, 0, ""},
        {"settings while about is open", CMD_SETTINGS, 0, 1, "Settings"},
        {"about", CMD_ABOUT, 0, 0, "About Shelf Cloak"},
        {"about while open", CMD_ABOUT, 0, 1, ""},
        {"about while settings is open", CMD_ABOUT, 1, 0, "About Shelf Cloak"},
        {"the ok button's id", IDOK, 0, 0, ""},
    };
    for (const Case& c : cases) {
        AppState.settingsDialogOpen = c.settingsOpen;
        AppState.aboutDialogOpen = c.aboutOpen;
        const DialogSeen dialog =
            DialogDuring([&] { EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(c.command, 0), 0), 0); });
        EXPECT_EQ(dialog.caption, c.dialog) << c.name;
        if (!dialog.caption.empty()) {
            EXPECT_EQ(dialog.owner, window_) << c.name;
        }
        EXPECT_TRUE(IsWindow(window_)) << c.name;
    }

    AppState.settingsDialogOpen = 1;
    AppState.aboutDialogOpen = 1;
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0), 0);
    EXPECT_FALSE(IsWindow(window_)) << "exit while both dialogs are open";
    WPARAM code = 99;
    EXPECT_TRUE(TakeQuit(&code));
    EXPECT_EQ(code, 0u);
}

// A first run's Settings dialog runs before the window's creation returns,
// owned by the window under creation, which is the main window by then, so
// that its OK registers the choice there.
TEST_F(MainWindow, AFirstRunRunsSettingsWithinTheCreation) {
    DestroyWindow(window_);
    WPARAM ignored = 0;
    TakeQuit(&ignored);
    DeleteKeyTree(SETTINGS_KEY_PATH);
    AppState.mainWindow = nullptr;
    HWND created = nullptr;
    const DialogSeen dialog = DialogDuring([&] {
        created = CreateWindowExA(WS_EX_TOOLWINDOW, TEST_CLASS, "test", WS_OVERLAPPEDWINDOW, 0, 0,
                                  0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    });
    window_ = created;
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(dialog.caption, "Settings");
    EXPECT_EQ(dialog.owner, created) << "the window under creation owns it";
    EXPECT_EQ(dialog.mainWindow, created);
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
