// Keeps the tests' Wine desktop alive and tells when its taskbar is up.
//   desktop_helper idle                  waits until it is ended
//   desktop_helper wait-taskbar SECONDS  exits 0 once the taskbar is shown, else 1
//   desktop_helper work-area L T R B     exits 0 when a new process sees that
//                                        work area, else 1 (Wine caches it in
//                                        a process that has looked before)
//   desktop_helper register-hot-key MODIFIERS KEY
//                                        exits 0 when this process may register
//                                        the combination, 1 when another holds it
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int PROBE_HOT_KEY_ID = 0xBFF1;

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "idle") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "wait-taskbar") == 0) {
        const DWORD limit = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2])) * 1000;
        do {
            const HWND taskbar = FindWindowA("Shell_TrayWnd", "");
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
