// What the system reports of other programs' windows being shown.
#pragma once

#include <cstdint>
#include <span>

#include "platform/handles.h"

// A top-level window as a lookup names it: its class and exact title.
struct WindowName {
    const char* className;
    const char* title;
};

class WindowEvents {
public:
    // Starts watching every process but this one for a top-level window of
    // one of these names being shown, on the calling thread, which must run
    // a message loop and later call Unwatch. Each show is posted to
    // `reportTo` as `message`, with the event's own time (milliseconds since
    // the system started) in lParam. The names must outlive the watch.
    // False when the system refuses; already watching is kept as it is.
    virtual bool Watch(WindowHandle reportTo, std::uint32_t message,
                       std::span<const WindowName> windows) = 0;
    // Stops watching, if it watches; reports already posted stay posted.
    virtual void Unwatch() = 0;

protected:
    ~WindowEvents() = default;
};
