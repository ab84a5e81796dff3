#include "app/main_window_decisions.h"

#include "settings/hot_key.h"
#include "settings/settings_store.h"
#include "shared/identifiers.h"
#include "taskbar/hide_show.h"
#include "taskbar/keep_hidden.h"

namespace {

// Before registration an id is 0, which is also WM_NULL and must not match.
bool IsRegistered(std::uint32_t message, std::uint32_t registeredId) {
    return registeredId != 0 && message == registeredId;
}

}  // namespace

bool IsTaskbarCreated(std::uint32_t message, const AppStateRecord& state) {
    return IsRegistered(message, state.taskbarCreatedMsg);
}

bool IsUserAsked(std::uint32_t message, const AppStateRecord& state) {
    return IsRegistered(message, state.userAskedMsg);
}

bool TrayMouseOpensMenu(std::uint32_t mouseMessage) {
    return mouseMessage == TRAY_LEFT_BUTTON_DOWN || mouseMessage == TRAY_RIGHT_BUTTON_DOWN;
}

namespace {

// The taskbar may have changed since the last toggle: a second start's
// switch, an uninstaller's -show, or a restarted shell's new taskbar.
void ToggleAsAsked(AppStateRecord& state, Platform& platform) {
    if (const std::optional<bool> showed = ToggleTaskbar(state, platform)) {
        AskFor(*showed ? TaskbarWanted::Shown : TaskbarWanted::Hidden, state, platform);
    }
}

}  // namespace

void OnToggleHotKey(std::int32_t hotKeyId, AppStateRecord& state, Platform& platform) {
    if (hotKeyId == HOTKEY_ID_TOGGLE) {
        ToggleAsAsked(state, platform);
    }
}

bool OnUserAsked(std::uintptr_t asked, AppStateRecord& state, Platform& platform) {
    switch (static_cast<UserAsked>(asked)) {
        case UserAsked::Show:
            AskFor(TaskbarWanted::Shown, state, platform);
            return true;
        case UserAsked::Hide:
            AskFor(TaskbarWanted::Hidden, state, platform);
            return true;
        case UserAsked::Toggle:
            ToggleAsAsked(state, platform);
            return true;
    }
    return false;
}

void OnMainWindowDestroyed(AppStateRecord& state, Platform& platform) {
    SaveLastTaskbarEdge(state, platform);
    ReleaseToggleHotKey(state, platform.hotKeys);
    EndGuard(state, platform);
}
