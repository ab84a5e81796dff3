// Puts the Wine desktop's taskbar and this process's work area back as they
// were, whatever a test did to them.
#pragma once

#include <windows.h>

class DesktopStateGuard {
public:
    DesktopStateGuard() {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea_, 0);
        taskbar_ = FindWindowA("Shell_TrayWnd", "");
        taskbarShown_ = taskbar_ != nullptr && IsWindowVisible(taskbar_);
    }
    ~DesktopStateGuard() {
        if (taskbar_ != nullptr) {
            ShowWindow(taskbar_, taskbarShown_ ? SW_SHOW : SW_HIDE);
        }
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &workArea_, 0);
    }
    DesktopStateGuard(const DesktopStateGuard&) = delete;
    DesktopStateGuard& operator=(const DesktopStateGuard&) = delete;

private:
    RECT workArea_ = {};
    HWND taskbar_ = nullptr;
    bool taskbarShown_ = false;
};
