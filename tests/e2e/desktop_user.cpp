#include "tests/e2e/desktop_user.h"

#include <cstdlib>
#include <fstream>
#include <map>

#include "tests/e2e/program_driver.h"
#include "tests/support/screen.h"

namespace {

constexpr int TRAY_FIRST_X = 1270;
constexpr int TRAY_Y = 790;
constexpr int TRAY_STEP = 20;
constexpr int ICON_HALF = 8;
constexpr int MENU_FRAME = 3;
constexpr int MENU_SEPARATOR_HEIGHT = 9;
constexpr int SCREEN_WIDTH = 1280;
// A pixel count that an icon of 16 by 16 pixels always reaches, and a
// taskbar with nothing on it never does.
constexpr int ICON_PIXELS = 20;
// The probe hot key: held by no program, and harmless to the window with
// the keyboard, which never sees a registered combination.
constexpr int PROBE_ID = 0x5EED;
constexpr UINT PROBE_MODIFIERS = MOD_CONTROL | MOD_SHIFT;
constexpr UINT PROBE_KEY = VK_F12;
constexpr const char* PROBE_KEYS = "ctrl+shift+F12";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

bool Xdotool(const std::string& arguments, DWORD timeoutMs) {
    return RunOnHost(Environment("SHELFCLOAK_XDOTOOL") + " " + arguments, timeoutMs);
}

bool KeyPressesRead() {
    static const bool held = RegisterHotKey(nullptr, PROBE_ID, PROBE_MODIFIERS, PROBE_KEY) != FALSE;
    if (!held || !Xdotool(std::string("key ") + PROBE_KEYS)) {
        return false;
    }
    return WaitFor([] {
        MSG message = {};
        while (PeekMessageA(&message, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
            if (message.wParam == PROBE_ID) {
                return true;
            }
        }
        return false;
    });
}

POINT TraySlot(int index) {
    return POINT{TRAY_FIRST_X - index * TRAY_STEP, TRAY_Y};
}

bool TrayIconAt(int index) {
    const POINT centre = TraySlot(index);
    const RECT area = {centre.x - ICON_HALF, centre.y - ICON_HALF, centre.x + ICON_HALF,
                       centre.y + ICON_HALF};
    const ScreenPixels icon = CaptureScreen(area);
    // The taskbar's own colour: the one that most of a row across it shows.
    // A window's button, its text or a tip covers only a part of the row.
    std::map<std::uint32_t, int> colours;
    for (const std::uint32_t pixel :
         CaptureScreen(RECT{0, TRAY_Y, SCREEN_WIDTH, TRAY_Y + 1}).pixels) {
        ++colours[pixel];
    }
    std::uint32_t background = 0;
    int most = 0;
    for (const auto& [colour, count] : colours) {
        if (count > most) {
            background = colour;
            most = count;
        }
    }
    int differing = 0;
    for (const std::uint32_t pixel : icon.pixels) {
        differing += pixel != background ? 1 : 0;
    }
    return differing >= ICON_PIXELS;
}

bool ClickTrayIcon(int index, int button) {
    // When the last click was, as the system's tick count, in a file that
    // outlives the scenario that wrote it.
    const std::string last = WindowsPathOf(HostWorkFolder() + "/last-tray-click");
    std::uint64_t at = 0;
    std::ifstream(last) >> at;
    const std::uint64_t since = GetTickCount64() - at;
    const UINT doubleClick = GetDoubleClickTime();
    if (since <= doubleClick) {
        Sleep(static_cast<DWORD>(doubleClick - since) + 1);
    }
    const POINT slot = TraySlot(index);
    const bool clicked = Xdotool("mousemove " + std::to_string(slot.x) + " " +
                                 std::to_string(slot.y) + " click " + std::to_string(button));
    std::ofstream(last) << GetTickCount64();
    return clicked;
}

HWND OpenMenu() {
    const HWND menu = FindWindowA("#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

POINT MenuItemCentre(HWND menu, int itemsAbove, int separatorsAbove, int items, int separators) {
    RECT frame = {};
    GetWindowRect(menu, &frame);
    const int itemHeight =
        (frame.bottom - frame.top - 2 * MENU_FRAME - separators * MENU_SEPARATOR_HEIGHT) / items;
    return POINT{(frame.left + frame.right) / 2, frame.top + MENU_FRAME + itemsAbove * itemHeight +
                                                     separatorsAbove * MENU_SEPARATOR_HEIGHT +
                                                     itemHeight / 2};
}

namespace {

constexpr const char* DIALOG_CLASS = "#32770";

struct DialogSearch {
    const char* caption;
    HWND found;
    int count;
};

BOOL CALLBACK CountDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    char className[16] = {};
    char caption[64] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && lstrcmpA(className, DIALOG_CLASS) == 0 &&
        lstrcmpA(caption, search->caption) == 0) {
        search->found = window;
        ++search->count;
    }
    return TRUE;
}

DialogSearch SearchDialogs(const char* caption) {
    DialogSearch search = {caption, nullptr, 0};
    EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&search));
    return search;
}

}  // namespace

HWND FindDialog(const char* caption) {
    return SearchDialogs(caption).found;
}
int CountDialogs(const char* caption) {
    return SearchDialogs(caption).count;
}

namespace {

BOOL CALLBACK FindUnpainted(HWND control, LPARAM unpainted) {
    *reinterpret_cast<bool*>(unpainted) |= GetUpdateRect(control, nullptr, FALSE) != FALSE;
    return TRUE;
}

}  // namespace

bool Painted(HWND window) {
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) {
        return false;
    }
    bool unpainted = false;
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

POINT ControlCentre(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT CaptionPoint(HWND dialog) {
    RECT rect = {};
    GetWindowRect(dialog, &rect);
    return POINT{rect.left + 40,
                 rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
}

POINT CloseBoxCentre(HWND dialog) {
    RECT rect = {};
    GetWindowRect(dialog, &rect);
    return POINT{rect.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
                 rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSIZE) / 2};
}

std::string SaveArtifact(const RECT& area, const std::string& name) {
    const std::string folder = Environment("SHELFCLOAK_ARTIFACTS");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name;
    return SavePng(CaptureScreen(area), path) ? path : "";
}
