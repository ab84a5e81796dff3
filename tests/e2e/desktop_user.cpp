#include "tests/e2e/desktop_user.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

#include "tests/e2e/program_driver.h"
#include "tests/support/real_desktop.h"
#include "tests/support/screen.h"

namespace {

// The probe hot key: held by no program, and harmless to the window with
// the keyboard, which never sees a registered combination.
constexpr int PROBE_ID = 0x5EED;
constexpr UINT PROBE_MODIFIERS = MOD_CONTROL | MOD_SHIFT;
constexpr UINT PROBE_KEY = VK_F12;
constexpr const char* PROBE_KEYS = "ctrl+shift+F12";

// Wine's notification area: 20-pixel slots from the taskbar's right end.
constexpr int WINE_SLOT_WIDTH = 20;
constexpr int ICON_HALF = 8;
// A pixel count that an icon of 16 by 16 pixels always reaches, and a
// taskbar with nothing on it never does.
constexpr int ICON_PIXELS = 20;
constexpr int WINE_SLOTS_LOOKED_AT = 2;
constexpr int WINE_MENU_FRAME = 3;
constexpr int WINE_MENU_SEPARATOR = 9;
constexpr DWORD MENU_ANSWER_MS = 5000;
// SendInput's absolute coordinates span the primary screen as 0 to 65535.
constexpr LONGLONG ABSOLUTE_SPAN = 65536;

const std::map<std::string, WORD>& NamedKeys() {
    static const std::map<std::string, WORD> keys = {
        {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT},   {"alt", VK_MENU},
        {"super", VK_LWIN},   {"escape", VK_ESCAPE}, {"return", VK_RETURN},
        {"tab", VK_TAB},      {"space", VK_SPACE},   {"f12", VK_F12},
    };
    return keys;
}

// The virtual-key code of a key's name: a letter or digit is its own code
// (the same physical key under every layout); 0 for a name it does not know.
WORD KeyCode(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    const auto known = NamedKeys().find(name);
    return known != NamedKeys().end() ? known->second : 0;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (key == VK_LWIN ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

bool Send(std::vector<INPUT>& inputs) {
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

INPUT MouseInput(DWORD flags, POINT at) {
    const RECT screen = WholeScreen();
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * ABSOLUTE_SPAN + screen.right - 1) / screen.right);
    input.mi.dy = static_cast<LONG>((at.y * ABSOLUTE_SPAN + screen.bottom - 1) / screen.bottom);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

// The keys of a combination, in the order they go down; empty when a name
// is unknown.
std::vector<WORD> KeyCodes(const std::string& keys) {
    std::vector<WORD> codes;
    for (std::size_t start = 0; start <= keys.size();) {
        std::size_t end = keys.find('+', start);
        end = end == std::string::npos ? keys.size() : end;
        const WORD key = KeyCode(keys.substr(start, end - start));
        if (key == 0) {
            return {};
        }
        codes.push_back(key);
        start = end + 1;
    }
    return codes;
}

}  // namespace

bool HeldElsewhere(const std::string& keys) {
    constexpr int PROBE = 0x5151;
    UINT modifiers = 0;
    WORD key = 0;
    for (const WORD code : KeyCodes(keys)) {
        modifiers |= code == VK_CONTROL ? MOD_CONTROL
                     : code == VK_SHIFT ? MOD_SHIFT
                     : code == VK_MENU  ? MOD_ALT
                     : code == VK_LWIN  ? MOD_WIN
                                        : 0;
        key = code;
    }
    if (RegisterHotKey(nullptr, PROBE, modifiers, key)) {
        UnregisterHotKey(nullptr, PROBE);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

bool PressKeys(const std::string& keys, int times, DWORD restMs) {
    std::vector<INPUT> press;
    for (const WORD key : KeyCodes(keys)) {
        press.push_back(KeyInput(key, false));
    }
    if (press.empty()) {
        return false;
    }
    for (std::size_t down = press.size(); down-- > 0;) {
        press.push_back(KeyInput(press[down].ki.wVk, true));
    }
    for (int time = 0; time < times; ++time) {
        if (time > 0) {
            Sleep(restMs);
        }
        if (!Send(press)) {
            return false;
        }
    }
    return true;
}

bool MovePointer(POINT to) {
    std::vector<INPUT> move = {MouseInput(0, to)};
    return Send(move);
}

bool GlidePointer(POINT to) {
    constexpr int STEPS = 8;
    constexpr DWORD STEP_MS = 10;
    POINT from = {};
    GetCursorPos(&from);
    for (int step = 1; step <= STEPS; ++step) {
        const POINT at = {from.x + (to.x - from.x) * step / STEPS,
                          from.y + (to.y - from.y) * step / STEPS};
        if (!MovePointer(at)) {
            return false;
        }
        Sleep(STEP_MS);
    }
    return true;
}

bool Click(POINT at, MouseButton button) {
    const bool left = button == MouseButton::Left;
    std::vector<INPUT> click = {
        MouseInput(0, at),
        MouseInput(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN, at),
        MouseInput(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP, at),
    };
    return Send(click);
}

bool KeyPressesRead() {
    static const bool held = RegisterHotKey(nullptr, PROBE_ID, PROBE_MODIFIERS, PROBE_KEY) != FALSE;
    if (!held || !PressKeys(PROBE_KEYS)) {
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

namespace {

// Shell_NotifyIconGetRect and its argument, which Windows 7 brought: the
// tests are built for the program's Vista, so both are looked up here.
struct IconIdentifier {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    GUID guidItem;
};
using IconRectFunction = HRESULT(WINAPI*)(const IconIdentifier*, RECT*);

// What the shell answers about the place of the icon of that window (id 0).
HRESULT AskIconRect(HWND owner, RECT* rect) {
    static const auto ask = [] {
        const HMODULE shell32 = LoadLibraryA("shell32.dll");
        const FARPROC found =
            shell32 != nullptr ? GetProcAddress(shell32, "Shell_NotifyIconGetRect") : nullptr;
        return reinterpret_cast<IconRectFunction>(reinterpret_cast<void (*)()>(found));
    }();
    if (ask == nullptr) {
        return E_NOTIMPL;
    }
    IconIdentifier icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = owner;
    return ask(&icon, rect);
}

// Where the shell shows the icon of that window; empty when it shows none.
std::optional<RECT> ShellIconRect(HWND owner) {
    RECT rect = {};
    if (owner == nullptr || FAILED(AskIconRect(owner, &rect))) {
        return std::nullopt;
    }
    return rect;
}

// Windows' shell answers where an icon is; Wine's answers E_NOTIMPL.
bool ShellLocatesIcons() {
    static const bool locates = [] {
        RECT rect = {};
        return AskIconRect(nullptr, &rect) != E_NOTIMPL;
    }();
    return locates;
}

// Whether an icon is drawn in Wine's slot: enough of its pixels differ from
// the taskbar's own colour, the one that most of a row across it shows (a
// window's button, its text or a tip covers only a part of the row).
bool WineSlotDrawn(int index) {
    const RECT bar = TaskbarRect();
    const POINT centre = WineIconSlot(index);
    std::map<std::uint32_t, int> colours;
    for (const std::uint32_t pixel :
         CaptureScreen(RECT{bar.left, centre.y, bar.right, centre.y + 1}).pixels) {
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
    for (const std::uint32_t pixel : CaptureScreen(RECT{centre.x - ICON_HALF, centre.y - ICON_HALF,
                                                        centre.x + ICON_HALF, centre.y + ICON_HALF})
                                         .pixels) {
        differing += pixel != background ? 1 : 0;
    }
    return differing >= ICON_PIXELS;
}

// Counts the icons of the program's windows, of every copy of it.
BOOL CALLBACK CountIconsOf(HWND window, LPARAM count) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, MAIN_WINDOW_CLASS) == 0 && ShellIconRect(window)) {
        ++*reinterpret_cast<int*>(count);
    }
    return TRUE;
}

}  // namespace

POINT WineIconSlot(int index) {
    const RECT bar = TaskbarRect();
    return POINT{bar.right - WINE_SLOT_WIDTH / 2 - index * WINE_SLOT_WIDTH,
                 (bar.top + bar.bottom) / 2};
}

int ProgramIcons() {
    int icons = 0;
    if (ShellLocatesIcons()) {
        EnumWindows(CountIconsOf, reinterpret_cast<LPARAM>(&icons));
        return icons;
    }
    while (icons < WINE_SLOTS_LOOKED_AT && WineSlotDrawn(icons)) {
        ++icons;
    }
    return icons;
}

std::optional<POINT> ProgramIconCentre() {
    if (!ShellLocatesIcons()) {
        return WineIconSlot(0);
    }
    const std::optional<RECT> icon = ShellIconRect(FindMainWindow());
    if (!icon) {
        return std::nullopt;
    }
    return POINT{(icon->left + icon->right) / 2, (icon->top + icon->bottom) / 2};
}

bool ClickProgramIcon(MouseButton button) {
    const std::optional<POINT> centre = ProgramIconCentre();
    if (!centre) {
        return false;
    }
    // When the last click was, as the system's tick count, in a file that
    // outlives the scenario that wrote it.
    const std::string last = WorkFolder() + "\\last-tray-click";
    std::uint64_t at = 0;
    std::ifstream(last) >> at;
    const std::uint64_t since = GetTickCount64() - at;
    const UINT doubleClick = GetDoubleClickTime();
    if (since <= doubleClick) {
        Sleep(static_cast<DWORD>(doubleClick - since) + 1);
    }
    const bool clicked = Click(*centre, button);
    std::ofstream(last) << GetTickCount64();
    return clicked;
}

HWND OpenMenu() {
    const HWND menu = FindWindowA("#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

POINT MenuItemCentre(HWND menu, UINT position, const char* rows) {
    DWORD_PTR handle = 0;
    RECT item = {};
    if (SendMessageTimeoutA(menu, MN_GETHMENU, 0, 0, SMTO_NORMAL, MENU_ANSWER_MS, &handle) &&
        GetMenuItemRect(nullptr, reinterpret_cast<HMENU>(handle), position, &item)) {
        return POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    }
    // Wine's menus: a 3-pixel frame, 9-pixel separators, items sharing the rest.
    const std::string layout = rows;
    const auto separators = static_cast<int>(std::count(layout.begin(), layout.end(), '-'));
    const int items = static_cast<int>(layout.size()) - separators;
    const std::string above = layout.substr(0, position);
    const auto separatorsAbove = static_cast<int>(std::count(above.begin(), above.end(), '-'));
    const int itemsAbove = static_cast<int>(position) - separatorsAbove;
    RECT frame = {};
    GetWindowRect(menu, &frame);
    const int itemHeight =
        (frame.bottom - frame.top - 2 * WINE_MENU_FRAME - separators * WINE_MENU_SEPARATOR) / items;
    return POINT{(frame.left + frame.right) / 2,
                 frame.top + WINE_MENU_FRAME + itemsAbove * itemHeight +
                     separatorsAbove * WINE_MENU_SEPARATOR + itemHeight / 2};
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
    const std::string folder = ArtifactFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name;
    return SavePng(CaptureScreen(area), path) ? path : "";
}
