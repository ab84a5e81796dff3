#include "app/main_window.h"

#include <windowsx.h>

#include "about/about_dialog.h"
#include "app/main_window_decisions.h"
#include "app/tray_icon.h"
#include "platform/win32/win32_platform.h"
#include "res/resource.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"
#include "taskbar/keep_hidden.h"

namespace {

static_assert(TRAY_LEFT_BUTTON_DOWN == WM_LBUTTONDOWN);
static_assert(TRAY_RIGHT_BUTTON_DOWN == WM_RBUTTONDOWN);
static_assert(WM_TRAY_NOTIFY >= WM_USER && WM_TRAY_NOTIFY < WM_APP);
static_assert(WM_TASKBAR_SHOWN >= WM_USER && WM_TASKBAR_SHOWN < WM_APP);

constexpr LPARAM NO_PARAMETER = 0;

// Runs one of the program's dialogs modally and returns once it has
// closed; its result is not used.
void RunDialog(WORD templateId, DLGPROC procedure, HWND owner) {
    DialogBoxParamA(AppState.hInstance, MAKEINTRESOURCEA(templateId), owner, procedure,
                    NO_PARAMETER);
}

// The hot key works while the dialog is open, and OK may turn the option
// on or off: the guard follows once it has closed.
void RunSettings(HWND owner) {
    RunDialog(IDD_SETTINGS, SettingsDlgProc, owner);
    UpdateGuard(AppState, Win32Platform());
}

// The window's handle is kept here, once: the settings load and a first
// run's Settings dialog already need it. On a first run the dialog runs
// before the creation returns, so the tray icon comes only after it has
// closed.
BOOL OnCreate(HWND window, LPCREATESTRUCT /*create*/) {
    AppState.mainWindow = window;
    if (LoadSettingsAndRegisterHotKey(window, AppState, Win32Platform()) ==
        SettingsLoad::FirstRun) {
        RunSettings(window);
    }
    return TRUE;
}

// Everything the window set up goes here, on every way out. The taskbar is
// left as it is: the user may want it to stay hidden.
void OnDestroy(HWND /*window*/) {
    OnMainWindowDestroyed(AppState, Win32Platform());
    NotifyTrayIcon(NIM_DELETE, nullptr);
    PostQuitMessage(0);
}

// Each dialog runs once at a time: the menu stays usable while one is open.
void OnCommand(HWND window, int id, HWND control, UINT notifyCode) {
    switch (id) {
        case CMD_SETTINGS:
            if (AppState.settingsDialogOpen == 0) {
                RunSettings(window);
            }
            break;
        case CMD_ABOUT:
            if (AppState.aboutDialogOpen == 0) {
                RunDialog(IDD_ABOUT, AboutDlgProc, window);
            }
            break;
        case CMD_EXIT:
            DestroyWindow(window);
            break;
        default:
            FORWARD_WM_COMMAND(window, id, control, notifyCode, DefWindowProcA);
            break;
    }
}

void OnHotKey(HWND /*window*/, int id, UINT /*modifiers*/, UINT /*key*/) {
    OnToggleHotKey(id, AppState, Win32Platform());
}

LRESULT OnTrayNotify(HWND window, LPARAM mouseMessage) {
    if (TrayMouseOpensMenu(static_cast<std::uint32_t>(mouseMessage))) {
        ShowTrayMenu(window);
    }
    return 0;
}

LRESULT OnTaskbarShownReport(LPARAM eventTime) {
    OnTaskbarShown(static_cast<std::uint32_t>(eventTime), AppState, Win32Platform());
    return 0;
}

LRESULT OnTaskbarCreated() {
    NotifyTrayIcon(NIM_ADD, AppState.trayIcon);
    OnShellRestarted(AppState, Win32Platform());
    return 0;
}

// Answered once what the user asked is recorded (or, for a toggle, done),
// so the second start acts only then; the answer says whether it was known.
LRESULT OnUserAskedMessage(WPARAM asked) {
    return OnUserAsked(asked, AppState, Win32Platform()) ? USER_ASK_KNOWN : 0;
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsTaskbarCreated(message, AppState)) {
        return OnTaskbarCreated();
    }
    if (IsUserAsked(message, AppState)) {
        return OnUserAskedMessage(wParam);
    }
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, OnCreate);
        HANDLE_MSG(window, WM_DESTROY, OnDestroy);
        HANDLE_MSG(window, WM_COMMAND, OnCommand);
        HANDLE_MSG(window, WM_HOTKEY, OnHotKey);
        case WM_TRAY_NOTIFY:
            return OnTrayNotify(window, lParam);
        case WM_TASKBAR_SHOWN:
            return OnTaskbarShownReport(lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
