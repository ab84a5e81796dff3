#include "app/main_window_decisions.h"

#include "settings/hot_key.h"
#include "settings/settings_store.h"
#include "shared/identifiers.h"
#include "taskbar/hide_show.h"

bool IsTaskbarCreated(std::uint32_t message, const AppStateRecord& state) {
    return state.taskbarCreatedMsg != 0 && message == state.taskbarCreatedMsg;
}

bool TrayMouseOpensMenu(std::uint32_t mouseMessage) {
    return mouseMessage == TRAY_LEFT_BUTTON_DOWN || mouseMessage == TRAY_RIGHT_BUTTON_DOWN;
}

void OnToggleHotKey(std::int32_t hotKeyId, AppStateRecord& state, Platform& platform) {
    if (hotKeyId != HOTKEY_ID_TOGGLE) {
        return;
    }
    // The taskbar may have changed since the last press: a second start's
    // switch, an uninstaller's -show, or a restarted shell's new taskbar.
    if (const std::optional<bool> showed = ToggleTaskbar(state, platform)) {
        state.nextToggleShows = *showed ? 0 : 1;
    }
}

void OnMainWindowDestroyed(AppStateRecord& state, Platform& platform) {
    SaveLastTaskbarEdge(state, platform);
    ReleaseToggleHotKey(state, platform.hotKeys);
}
