#include "settings/settings_choices.h"

#include <algorithm>
#include <string>

#include "platform/program_path.h"
#include "platform/reg_key.h"
#include "settings/hot_key.h"
#include "settings/settings_store.h"
#include "shared/identifiers.h"

namespace {

std::uint32_t AsFlag(bool on) {
    return on ? 1 : 0;
}

void StoreChoices(const RegKey& key, const SettingsChoices& chosen, AppStateRecord& state,
                  Platform& platform) {
    WriteDword(key, VALUE_FORCE, AsFlag(chosen.force));
    state.forceAllDisplays = chosen.force ? 1 : 0;
    WriteDword(key, VALUE_WIN_KEY, chosen.winIndex);
    WriteDword(key, VALUE_CTRL_SHIFT_KEY, chosen.ctrlShiftIndex);
    RegisterToggleHotKey(state.mainWindow, chosen.ctrlShift ? 1 : 0,
                         chosen.ctrlShift ? chosen.ctrlShiftIndex : chosen.winIndex,
                         platform.hotKeys);
    WriteDword(key, VALUE_SYSTEM, AsFlag(chosen.ctrlShift));
    WriteDword(key, VALUE_STARTUP, AsFlag(chosen.startAtLogon));
}

}  // namespace

SettingsChoices StoredSettingsChoices(Registry& registry) {
    SettingsChoices shown = {true, DEFAULT_CTRL_SHIFT_KEY_INDEX, DEFAULT_WIN_KEY_INDEX, false,
                             false};
    const RegKey key = OpenRegKey(registry, SETTINGS_KEY_PATH, RegAccess::Read);
    if (!key) {
        return shown;
    }
    if (const auto force = ReadDword(key, VALUE_FORCE)) {
        shown.force = *force != 0;
    }
    if (const auto system = ReadDword(key, VALUE_SYSTEM)) {
        shown.ctrlShift = *system != 0;
    }
    if (const auto startup = ReadDword(key, VALUE_STARTUP)) {
        shown.startAtLogon = *startup != 0;
    }
    if (const auto win = ReadDword(key, VALUE_WIN_KEY)) {
        shown.winIndex = ClampWinKeyIndex(*win);
    }
    if (const auto ctrlShift = ReadDword(key, VALUE_CTRL_SHIFT_KEY)) {
        shown.ctrlShiftIndex = ClampCtrlShiftKeyIndex(*ctrlShift);
    }
    return shown;
}

void ApplySettingsChoices(const SettingsChoices& chosen, AppStateRecord& state,
                          Platform& platform) {
    platform.hotKeys.Unregister(state.mainWindow, HOTKEY_ID_TOGGLE);
    {
        const RegKey key =
            OpenOrCreateRegKey(platform.registry, SETTINGS_KEY_PATH, RegAccess::AllAccess);
        if (key) {
            StoreChoices(key, chosen, state, platform);
        } else {
            RegisterToggleHotKey(state.mainWindow, 1, DEFAULT_CTRL_SHIFT_KEY_INDEX,
                                 platform.hotKeys);
        }
    }
    if (chosen.startAtLogon != (state.startupAtOpen != 0)) {
        SetStartAtLogon(chosen.startAtLogon, platform);
    }
}

void SetStartAtLogon(bool on, Platform& platform) {
    const RegKey key = OpenOrCreateRegKey(platform.registry, RUN_KEY_PATH, RegAccess::AllAccess);
    if (!key) {
        return;
    }
    if (!on) {
        platform.registry.DeleteValue(key.id(), RUN_VALUE_NAME);
        return;
    }
    char16_t path[PROGRAM_PATH_SIZE];
    if (!ReadProgramPath(platform.module, path)) {
        return;
    }
    // The path read whole fits with its two quotes and the terminator.
    char16_t command[PROGRAM_PATH_SIZE + 2] = u"\"";
    const std::size_t length = std::char_traits<char16_t>::length(path);
    std::copy_n(path, length, command + 1);
    command[length + 1] = u'"';
    command[length + 2] = u'\0';
    const std::size_t characters = length + 3;  // the quotes and the terminator
    platform.registry.SetWideString(key.id(), RUN_VALUE_NAME, command,
                                    static_cast<std::uint32_t>(characters * sizeof(char16_t)));
}
