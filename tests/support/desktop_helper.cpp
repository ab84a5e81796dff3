// Keeps the tests' Wine desktop alive, tells when its taskbar is up, and
// acts on the desktop from a process of its own, as the shell or another
// program would.
//   desktop_helper idle                  waits until it is ended
//   desktop_helper wait-taskbar SECONDS  exits 0 once the taskbar is shown, else 1
//   desktop_helper work-area L T R B     exits 0 when a new process sees that
//                                        work area, else 1 (Wine caches it in
//                                        a process that has looked before)
//   desktop_helper show-taskbar          shows the taskbar as the shell does,
//                                        raising EVENT_OBJECT_SHOW for it (Wine
//                                        raises none); exits 0 once it showed
//   desktop_helper show-storm N          the same N times, each once the
//                                        taskbar is hidden again; exits 0 after
//                                        the Nth, 1 when it stayed shown
//   desktop_helper secondary-taskbars N  shows N top-level windows of the class
//                                        of a further display's taskbar and
//                                        keeps them until it is ended
//   desktop_helper register-hot-key MODIFIERS KEY
//                                        exits 0 when this process may register
//                                        the combination, 1 when another holds it
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD REHIDE_LIMIT_MS = 5000;
constexpr int PROBE_HOT_KEY_ID = 0xBFF1;
constexpr int STAND_IN_SIZE = 8;

HWND Taskbar() {
    return FindWindowA("Shell_TrayWnd", "");
}

// Shows the taskbar and tells what Windows tells of every show.
bool ShowTaskbarAsTheShellDoes() {
    const HWND taskbar = Taskbar();
    if (taskbar == nullptr) {
        return false;
    }
    ShowWindow(taskbar, SW_SHOW);
    const bool shown = IsWindowVisible(taskbar) != FALSE;
    NotifyWinEvent(EVENT_OBJECT_SHOW, taskbar, OBJID_WINDOW, CHILDID_SELF);
    return shown;
}

bool TaskbarHiddenWithin(DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (IsWindowVisible(Taskbar())) {
        if (GetTickCount() - start > limitMs) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

int StandInSecondaryTaskbars(int count) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Shell_SecondaryTrayWnd";
    if (RegisterClassExA(&windowClass) == 0) {
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        if (CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                            i * STAND_IN_SIZE, 0, STAND_IN_SIZE, STAND_IN_SIZE, nullptr, nullptr,
                            windowClass.hInstance, nullptr) == nullptr) {
            return 1;
        }
    }
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "idle") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "wait-taskbar") == 0) {
        const DWORD limit = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2])) * 1000;
        do {
            const HWND taskbar = Taskbar();
            if (taskbar != nullptr && IsWindowVisible(taskbar)) {
                return 0;
            }
            Sleep(100);
        } while (static_cast<LONG>(limit - GetTickCount()) > 0);
        return 1;
    }
    if (argc >= 6 && std::strcmp(argv[1], "work-area") == 0) {
        RECT area = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        const RECT expected = {std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                               std::atoi(argv[5])};
        return EqualRect(&area, &expected) ? 0 : 1;
    }
    if (argc >= 2 && std::strcmp(argv[1], "show-taskbar") == 0) {
        return ShowTaskbarAsTheShellDoes() ? 0 : 1;
    }
    if (argc >= 3 && std::strcmp(argv[1], "show-storm") == 0) {
        for (int show = std::atoi(argv[2]); show > 0; --show) {
            if (!TaskbarHiddenWithin(REHIDE_LIMIT_MS) || !ShowTaskbarAsTheShellDoes()) {
                return 1;
            }
        }
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "secondary-taskbars") == 0) {
        return StandInSecondaryTaskbars(std::atoi(argv[2]));
    }
    if (argc >= 4 && std::strcmp(argv[1], "register-hot-key") == 0) {
        const auto modifiers = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
        const auto key = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        if (!RegisterHotKey(nullptr, PROBE_HOT_KEY_ID, modifiers, key)) {
            return 1;
        }
        UnregisterHotKey(nullptr, PROBE_HOT_KEY_ID);
        return 0;
    }
    return 2;
}
