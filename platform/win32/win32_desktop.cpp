#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace {

static_assert(sizeof(Rect) == sizeof(RECT) && sizeof(Rect::left) == sizeof(RECT::left));

Rect FromRect(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

class DesktopApi final : public Desktop {
public:
    WindowHandle FindTopWindow(const char* className, const char* title) override {
        return FindWindowA(className, title);
    }

    Rect WindowRect(WindowHandle window) override {
        RECT r = {};
        GetWindowRect(window, &r);
        return FromRect(r);
    }

    bool IsShown(WindowHandle window) override { return IsWindowVisible(window) != FALSE; }

    void SetShown(WindowHandle window, bool shown) override {
        // Shown without being activated: the keyboard stays with the user's window.
        ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
    }

    void SetForeground(WindowHandle window) override { SetForegroundWindow(window); }

    Rect WorkArea() override {
        RECT r = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
        return FromRect(r);
    }

    void SetWorkArea(const Rect& area) override {
        RECT r = {area.left, area.top, area.right, area.bottom};
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &r, 0);
    }

    ScreenSize PrimaryScreenSize() override {
        return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
};

}  // namespace

Desktop& Win32Desktop() {
    static DesktopApi desktop;
    return desktop;
}
