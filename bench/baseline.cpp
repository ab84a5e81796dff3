// The least a resident notification-area program can do: a hidden window,
// one icon, one hot key that hides and shows the taskbar, and a message loop.
// Nothing runs between messages: no timers, no polling.
#include <windows.h>

#include <shellapi.h>

#include "resource.h"

namespace {

constexpr const char* WINDOW_CLASS = "ShelfcloakBaseline";
constexpr UINT TRAY_MESSAGE = WM_APP + 1;
constexpr int HOT_KEY_ID = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HOTKEY:
            if (const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr)) {
                ShowWindow(taskbar, IsWindowVisible(taskbar) ? SW_HIDE : SW_SHOW);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*tail*/, int /*show*/) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = WINDOW_CLASS;
    if (RegisterClassA(&windowClass) == 0) {
        return 1;
    }
    // Never shown: the icon is the program's only face.
    const HWND window = CreateWindowExA(0, WINDOW_CLASS, WINDOW_CLASS, WS_OVERLAPPED, 0, 0, 0, 0,
                                        nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    RegisterHotKey(window, HOT_KEY_ID, MOD_CONTROL | MOD_SHIFT, 'A');

    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uFlags = NIF_MESSAGE | NIF_ICON;
    icon.uCallbackMessage = TRAY_MESSAGE;
    icon.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL_ICON));
    Shell_NotifyIconA(NIM_ADD, &icon);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
