// An in-memory desktop: named top-level windows, a work area and a screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "tests/fakes/call_log.h"

class FakeDesktop final : public Desktop {
public:
    explicit FakeDesktop(CallLog& log) : log_(log) {}

    struct Window {
        std::string className;
        std::string title;
        Rect rect;
        bool shown;
    };

    // Adds a top-level window; the handle is how the code will see it.
    WindowHandle AddWindow(std::string className, std::string title, Rect rect, bool shown);
    const Window& WindowOf(WindowHandle handle) const;

    Rect workArea = {};
    ScreenSize screen = {};

    // Windows that do not answer what is sent to them; the others answer this.
    std::vector<WindowHandle> hung;
    std::intptr_t answer = 1;

    WindowHandle FindTopWindow(const char* className, const char* title) override;
    void VisitTopWindows(const char* className, const char* title, WindowVisitor& visitor) override;
    Rect WindowRect(WindowHandle window) override;
    bool IsShown(WindowHandle window) override;
    void SetShown(WindowHandle window, bool shown) override;
    void SetForeground(WindowHandle window) override;
    Rect WorkArea() override;
    void SetWorkArea(const Rect& area) override;
    ScreenSize PrimaryScreenSize() override;
    std::optional<std::intptr_t> Send(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam) override;

private:
    Window* Find(WindowHandle handle);
    std::string NameOf(WindowHandle handle);

    CallLog& log_;
    std::vector<Window> windows_;
};

std::string ToText(const Rect& rect);
