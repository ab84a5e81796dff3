// The notification-area icon and its menu.
#pragma once

#include <windows.h>

#include <shellapi.h>

// NIM_ADD or NIM_DELETE the main window's one icon; the result is not examined.
void NotifyTrayIcon(DWORD message, HICON icon);

// Shows the tray menu at the pointer; the chosen command arrives later as
// WM_COMMAND to owner.
void ShowTrayMenu(HWND owner);
