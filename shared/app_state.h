// The process-wide state record, touched only on the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/handles.h"
#include "platform/hot_keys.h"
#include "shared/show_counter.h"
#include "shared/taskbar_edge.h"
#include "shared/user_asked.h"

constexpr std::size_t APP_TEXT_SIZE = 100;

struct AppStateRecord {
    InstanceHandle hInstance;
    char windowTitle[APP_TEXT_SIZE];
    char windowClassName[APP_TEXT_SIZE];
    WindowHandle mainWindow;
    IconHandle trayIcon;
    std::uint32_t taskbarCreatedMsg;
    std::uint32_t userAskedMsg;  // USER_ASKED_MESSAGE's id, for both kinds of start
    // What the user last asked the taskbar to be. A toggle press itself
    // goes by the taskbar as it is.
    TaskbarWanted lastAskedFor;
    TaskbarEdge lastTaskbarEdge;  // edge where the taskbar sat when last hidden
    std::int32_t forceAllDisplays;
    std::int32_t stayHidden;  // the option that keeps a hidden taskbar hidden
    std::int32_t guarding;    // the shows of the taskbar's windows are watched
    ShowCounter showsWhileGuarding;
    std::int32_t settingsDialogOpen;
    std::int32_t aboutDialogOpen;
    std::int32_t startupAtOpen;  // the start-at-logon box when Settings opened
    // What the toggle hot key holds now, so that a refused replacement can
    // give it back; no modifiers: nothing is held.
    KeyCombination toggleKeyHeld;
};

// The one instance, all zero at process start. Only the Win32 layer names
// it; the decisions take the record they work on as a parameter.
// constinit: it is zero before any code runs, which the checker cannot see
// from a declaration.
extern constinit AppStateRecord AppState;  // NOLINT(bugprone-dynamic-static-initializers)
