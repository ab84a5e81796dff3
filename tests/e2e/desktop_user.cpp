#include "tests/e2e/desktop_user.h"

#include <cstdlib>

#include "tests/e2e/program_driver.h"
#include "tests/support/screen.h"

namespace {

constexpr int TRAY_FIRST_X = 1270;
constexpr int TRAY_Y = 790;
constexpr int TRAY_STEP = 20;
constexpr int ICON_HALF = 8;
constexpr int MENU_FRAME = 3;
constexpr int MENU_SEPARATOR_HEIGHT = 9;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

bool Xdotool(const std::string& arguments, DWORD timeoutMs) {
    return RunOnHost(Environment("SHELFCLOAK_XDOTOOL") + " " + arguments, timeoutMs);
}

POINT TraySlot(int index) {
    return POINT{TRAY_FIRST_X - index * TRAY_STEP, TRAY_Y};
}

bool TrayIconAt(int index) {
    const POINT centre = TraySlot(index);
    const RECT area = {centre.x - ICON_HALF, centre.y - ICON_HALF, centre.x + ICON_HALF,
                       centre.y + ICON_HALF};
    const ScreenPixels icon = CaptureScreen(area);
    // The taskbar's own colour, taken from its empty middle.
    const std::uint32_t background = CaptureScreen(RECT{640, TRAY_Y, 641, TRAY_Y + 1}).At(0, 0);
    int differing = 0;
    for (const std::uint32_t pixel : icon.pixels) {
        differing += pixel != background ? 1 : 0;
    }
    return differing >= 20;
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
