#include "app/tray_icon.h"

#include "platform/win32/owned.h"
#include "res/resource.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"

namespace {

constexpr const char* TRAY_TIP = "Shelf Cloak";
// The first, shortest form of the record takes a tip of this many characters.
constexpr int TRAY_TIP_CHARACTERS = 15;
constexpr UINT TRAY_ICON_ID = 0;
constexpr UINT TRAY_MENU_FLAGS = 0;  // left-aligned at the pointer, left button

}  // namespace

void NotifyTrayIcon(DWORD message, HICON icon) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = AppState.mainWindow;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = icon;
    lstrcpynA(data.szTip, TRAY_TIP, TRAY_TIP_CHARACTERS + 1);
    Shell_NotifyIconA(message, &data);
}

void ShowTrayMenu(HWND owner) {
    const OwnedMenu menu(LoadMenuA(AppState.hInstance, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    const HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (popup == nullptr) {
        return;
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    // Without the foreground, the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(AppState.mainWindow);
    TrackPopupMenu(popup, TRAY_MENU_FLAGS, cursor.x, cursor.y, 0, owner, nullptr);
    // Lets the menu's own loop see a message, so that the next click on the
    // icon opens it again at once.
    PostMessageA(owner, WM_NULL, 0, 0);
}
