// Windows and the work area: what the taskbar engine needs of the desktop,
// and a word to another program's window.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/handles.h"

// A screen rectangle in pixels; right and bottom are exclusive.
struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    friend bool operator==(const Rect&, const Rect&) = default;
};

struct ScreenSize {
    std::int32_t width;
    std::int32_t height;

    friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

// What Desktop::VisitTopWindows calls for each window it finds; the caller
// makes one for the visit and owns it.
class WindowVisitor {
public:
    virtual ~WindowVisitor() = default;
    virtual void Visit(WindowHandle window) = 0;
};

class Desktop {
public:
    // The first top-level window of that class and exact title, or null.
    virtual WindowHandle FindTopWindow(const char* className, const char* title) = 0;
    // Visits every top-level window of that class and exact title, from a
    // list taken first, so that the visit may show or hide them.
    virtual void VisitTopWindows(const char* className, const char* title,
                                 WindowVisitor& visitor) = 0;
    // The window's rectangle in screen coordinates; all zero when it cannot be read.
    virtual Rect WindowRect(WindowHandle window) = 0;
    virtual bool IsShown(WindowHandle window) = 0;
    virtual void SetShown(WindowHandle window, bool shown) = 0;
    // Makes the window the foreground window, as the process that received
    // the user's last input (a hot key, say) may.
    virtual void SetForeground(WindowHandle window) = 0;
    // The primary display's work area. Setting it neither broadcasts the
    // change nor saves it in the user profile.
    virtual Rect WorkArea() = 0;
    virtual void SetWorkArea(const Rect& area) = 0;
    virtual ScreenSize PrimaryScreenSize() = 0;
    // Sends a message to another program's window and waits for its answer,
    // a few seconds at most and not at all while its thread hangs; empty
    // when it did not answer.
    virtual std::optional<std::intptr_t> Send(WindowHandle window, std::uint32_t message,
                                              std::uintptr_t wParam) = 0;

protected:
    ~Desktop() = default;
};
