#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "platform/win32/window_name.h"

namespace {

static_assert(sizeof(Rect) == sizeof(RECT) && sizeof(Rect::left) == sizeof(RECT::left));

// How long a second start waits for the resident instance's answer.
constexpr UINT SEND_TIMEOUT_MS = 3000;

struct Visit {
    const char* className;
    const char* title;
    WindowVisitor& visitor;
};

BOOL CALLBACK VisitIfNamed(HWND window, LPARAM context) {
    const Visit& visit = *reinterpret_cast<const Visit*>(context);
    if (HasName(window, visit.className, visit.title)) {
        visit.visitor.Visit(window);
    }
    return TRUE;
}

Rect FromRect(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

class DesktopApi final : public Desktop {
public:
    WindowHandle FindTopWindow(const char* className, const char* title) override {
        return FindWindowA(className, title);
    }

    // EnumWindows lists the windows before it calls back; a walk with
    // FindWindowEx would follow a shown window to the top of the order and
    // could visit the others again, without end.
    void VisitTopWindows(const char* className, const char* title,
                         WindowVisitor& visitor) override {
        Visit visit = {className, title, visitor};
        EnumWindows(VisitIfNamed, reinterpret_cast<LPARAM>(&visit));
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

    std::optional<std::intptr_t> Send(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam) override {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, message, wParam, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS,
                                &answer) == 0) {
            return std::nullopt;
        }
        return static_cast<std::intptr_t>(answer);
    }
};

}  // namespace

Desktop& Win32Desktop() {
    static DesktopApi desktop;
    return desktop;
}
