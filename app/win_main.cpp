// Process entry: the single-instance rule, the switches and the message loop.
#include <windows.h>

#include "app/command_line.h"
#include "app/instance_role.h"
#include "app/main_window.h"
#include "app/switches.h"
#include "app/tray_icon.h"
#include "platform/win32/win32_platform.h"
#include "res/resource.h"
#include "shared/app_state.h"
#include "shared/user_asked.h"

void RegisterMainWindowClass(HINSTANCE instance);
BOOL InitInstance(HINSTANCE instance, int showCommand, const SwitchText& switches);

namespace {

constexpr const char* TASKBAR_CREATED_MESSAGE = "TaskbarCreated";

void LoadText(HINSTANCE instance, UINT id, char (&text)[APP_TEXT_SIZE]) {
    LoadStringA(instance, id, text, static_cast<int>(APP_TEXT_SIZE));
}

// Vista and later offer per-process DPI awareness; older systems go without.
void AskForDpiAwareness() {
    using SetDpiAwareFunction = BOOL(WINAPI*)();
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr) {
        return;
    }
    if (const FARPROC proc = GetProcAddress(user32, "SetProcessDPIAware")) {
        reinterpret_cast<SetDpiAwareFunction>(reinterpret_cast<void (*)()>(proc))();
    }
}

}  // namespace

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM_ICON));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = AppState.windowClassName;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL_ICON));
    RegisterClassExA(&windowClass);
}

// Creates the hidden main window and the tray icon and applies the resident
// instance's switches. Returns TRUE to enter the message loop, FALSE to end.
// The show command is not used: the window is never shown.
BOOL InitInstance(HINSTANCE instance, int /*showCommand*/, const SwitchText& switches) {
    AppState.hInstance = instance;
    // Its creation keeps the handle in AppState.mainWindow.
    const HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW, AppState.windowClassName, AppState.windowTitle,
                        WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return FALSE;
    }
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);
    // Decided before the icon comes, which a shell may show its taskbar for.
    const ResidentSwitches start =
        DecideStartToggle(ResidentSwitchesFor(switches), Win32Platform());
    AppState.trayIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL_ICON));
    NotifyTrayIcon(NIM_ADD, AppState.trayIcon);

    if (!ApplyResidentSwitches(start, AppState, Win32Platform())) {
        // The window's destruction takes down what its creation set up.
        DestroyWindow(window);
        return FALSE;
    }
    return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*tail*/, int showCommand) {
    // The whole command line, program path included, read once: every kind
    // of start looks for its switches in it.
    const SwitchText switches(GetCommandLineA());
    // The copy started for a refused policy write, and a user's
    // "-nomulti -exit": one write, then out, before the mutex, which it
    // would otherwise hold against a real start for as long as it runs.
    if (RunPolicyWriteOnly(switches, Win32Platform())) {
        return 0;
    }
    LoadText(instance, IDS_WINDOW_TITLE, AppState.windowTitle);
    LoadText(instance, IDS_WINDOW_CLASS, AppState.windowClassName);
    RegisterMainWindowClass(instance);
    // Before the window exists: a second start may send it at once.
    AppState.userAskedMsg = RegisterWindowMessageA(USER_ASKED_MESSAGE);

    // Held, never closed, until the process ends: its presence is the rule.
    CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    if (RoleAfterMutexCreation(GetLastError()) == InstanceRole::Second) {
        RunSecondInstance(switches, AppState, Win32Platform());
        return 0;
    }

    AskForDpiAwareness();
    if (!InitInstance(instance, showCommand, switches)) {
        return 0;
    }
    AppState.taskbarCreatedMsg = RegisterWindowMessageA(TASKBAR_CREATED_MESSAGE);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
