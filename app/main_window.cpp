#include "app/main_window.h"

#include <windowsx.h>

#include "app/main_window_decisions.h"
#include "app/tray_icon.h"
#include "settings/settings_store.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"
#include "shared/program_platform.h"

namespace {

static_assert(TRAY_LEFT_BUTTON_DOWN == WM_LBUTTONDOWN);
static_assert(TRAY_RIGHT_BUTTON_DOWN == WM_RBUTTONDOWN);
static_assert(WM_TRAY_NOTIFY >= WM_USER && WM_TRAY_NOTIFY < WM_APP);

// On a first run this returns only after the Settings dialog has closed.
BOOL OnCreate(HWND window, LPCREATESTRUCT /*create*/) {
    LoadSettingsAndRegisterHotKey(window, AppState, Win32Platform());
    return TRUE;
}

// The taskbar is left as it is: the user may want it to stay hidden.
void OnDestroy(HWND window) {
    SaveLastTaskbarEdge(AppState, Win32Platform());
    NotifyTrayIcon(NIM_DELETE, nullptr);
    UnregisterHotKey(window, HOTKEY_ID_TOGGLE);
    PostQuitMessage(0);
}

void OnCommand(HWND window, int id, HWND control, UINT notifyCode) {
    switch (MenuActionFor(static_cast<std::uint32_t>(id), AppState)) {
        case MenuAction::EndProgram:
            DestroyWindow(window);
            break;
        case MenuAction::RunSettingsDialog:
            Win32Platform().dialogs.Run(DialogId::Settings, AppState.hInstance, window);
            break;
        case MenuAction::RunAboutDialog:
            Win32Platform().dialogs.Run(DialogId::About, AppState.hInstance, window);
            break;
        case MenuAction::Nothing:
            break;
        case MenuAction::DefaultProcessing:
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

LRESULT OnTaskbarCreated() {
    NotifyTrayIcon(NIM_ADD, AppState.trayIcon);
    return 0;
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsTaskbarCreated(message, AppState)) {
        return OnTaskbarCreated();
    }
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, OnCreate);
        HANDLE_MSG(window, WM_DESTROY, OnDestroy);
        HANDLE_MSG(window, WM_COMMAND, OnCommand);
        HANDLE_MSG(window, WM_HOTKEY, OnHotKey);
        case WM_TRAY_NOTIFY:
            return OnTrayNotify(window, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
