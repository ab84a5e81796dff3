#include "settings/settings_store.h"

#include "platform/reg_key.h"
#include "settings/hot_key.h"

namespace {

void StartFirstRun(WindowHandle window, AppStateRecord& state, Platform& platform) {
    RegisterToggleHotKey(window, DEFAULT_HOT_KEY, state, platform.hotKeys);
    // The dialog registers the user's choice on the main window, whose
    // handle the creation has not returned yet.
    if (state.mainWindow == nullptr) {
        state.mainWindow = window;
    }
    platform.dialogs.Run(DialogId::Settings, state.hInstance, window);
}

}  // namespace

void LoadSettingsAndRegisterHotKey(WindowHandle window, AppStateRecord& state, Platform& platform) {
    const RegKey key = OpenRegKey(platform.registry, SETTINGS_KEY_PATH, RegAccess::Read);
    if (!key) {
        StartFirstRun(window, state, platform);
        return;
    }
    if (const auto force = ReadDword(key, VALUE_FORCE)) {
        state.forceAllDisplays = static_cast<std::int32_t>(*force);
    }
    const std::uint32_t winIndex = ReadDword(key, VALUE_WIN_KEY).value_or(DEFAULT_WIN_KEY_INDEX);
    const std::uint32_t ctrlShiftIndex =
        ReadDword(key, VALUE_CTRL_SHIFT_KEY).value_or(DEFAULT_CTRL_SHIFT_KEY_INDEX);
    if (const auto system = ReadDword(key, VALUE_SYSTEM)) {
        // A refusal stays silent here: there is nothing yet to show it on.
        const bool ctrlShift = *system != 0;
        RegisterToggleHotKey(window, {ctrlShift, ctrlShift ? ctrlShiftIndex : winIndex}, state,
                             platform.hotKeys);
    }
    if (const auto edge = ReadDword(key, VALUE_LAST_EDGE)) {
        state.lastTaskbarEdge = static_cast<TaskbarEdge>(*edge);
    }
}

void SaveLastTaskbarEdge(const AppStateRecord& state, Platform& platform) {
    const RegKey key =
        OpenOrCreateRegKey(platform.registry, SETTINGS_KEY_PATH, RegAccess::AllAccess);
    if (key) {
        WriteDword(key, VALUE_LAST_EDGE, static_cast<std::uint32_t>(state.lastTaskbarEdge));
    }
}
