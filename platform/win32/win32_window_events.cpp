#include <windows.h>

#include "platform/win32/owned.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_name.h"

namespace {

using OwnedWinEventHook = Owned<HWINEVENTHOOK, &UnhookWinEvent>;

// Out of context: the system queues each event to this thread, which
// handles it in its message loop; nothing runs inside the shell. Only other
// processes' shows count: this one's are the user's own.
constexpr DWORD HOOK_FLAGS = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
constexpr DWORD ALL_PROCESSES = 0;
constexpr DWORD ALL_THREADS = 0;

class WindowEventsApi final : public WindowEvents {
public:
    bool Watch(WindowHandle reportTo, std::uint32_t message,
               std::span<const WindowName> windows) override {
        if (!hook_) {
            reportTo_ = reportTo;
            message_ = message;
            windows_ = windows;
            hook_ =
                OwnedWinEventHook(SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr,
                                                  OnShow, ALL_PROCESSES, ALL_THREADS, HOOK_FLAGS));
        }
        return static_cast<bool>(hook_);
    }

    void Unwatch() override { hook_.Reset(); }

private:
    // The event names the object shown; only a whole top-level window of one
    // of the names is reported, to the window that watches, by a posted
    // message, so that the work is done there and not inside the callback.
    static void CALLBACK OnShow(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND window, LONG object,
                                LONG child, DWORD /*thread*/, DWORD time);

    OwnedWinEventHook hook_;
    HWND reportTo_ = nullptr;
    UINT message_ = 0;
    std::span<const WindowName> windows_;
};

WindowEventsApi& Api() {
    static WindowEventsApi api;
    return api;
}

void CALLBACK WindowEventsApi::OnShow(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND window,
                                      LONG object, LONG child, DWORD /*thread*/, DWORD time) {
    const WindowEventsApi& api = Api();
    if (object != OBJID_WINDOW || child != CHILDID_SELF || window == nullptr || !api.hook_ ||
        GetAncestor(window, GA_PARENT) != GetDesktopWindow()) {
        return;
    }
    for (const WindowName& name : api.windows_) {
        if (HasName(window, name.className, name.title)) {
            PostMessageA(api.reportTo_, api.message_, 0, static_cast<LPARAM>(time));
            return;
        }
    }
}

}  // namespace

WindowEvents& Win32WindowEvents() {
    return Api();
}
