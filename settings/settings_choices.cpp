#include "settings/settings_choices.h"

#include <algorithm>
#include <string>

#include "platform/program_path.h"
#include "platform/reg_key.h"
#include "settings/hot_key.h"
#include "settings/settings_store.h"

namespace {

std::uint32_t AsFlag(bool on) {
    return on ? 1 : 0;
}

void StoreChoices(const RegKey& key, const SettingsChoices& chosen, AppStateRecord& state) {
    WriteDword(key, VALUE_FORCE, AsFlag(chosen.force));
    state.forceAllDisplays = chosen.force ? 1 : 0;
    WriteDword(key, VALUE_WIN_KEY, chosen.winIndex);
    WriteDword(key, VALUE_CTRL_SHIFT_KEY, chosen.ctrlShiftIndex);
    WriteDword(key, VALUE_SYSTEM, AsFlag(chosen.ctrlShift));
    WriteDword(key, VALUE_STARTUP, AsFlag(chosen.startAtLogon));
}

void Append(char* text, std::size_t size, std::size_t& length, const char* part) {
    for (; *part != '\0' && length + 1 < size; ++part) {
        text[length++] = *part;
    }
    text[length] = '\0';
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

HotKeyChoice ChosenHotKey(const SettingsChoices& chosen) {
    return HotKeyChoice{chosen.ctrlShift,
                        chosen.ctrlShift ? chosen.ctrlShiftIndex : chosen.winIndex};
}

OkOutcome ApplySettingsChoices(const SettingsChoices& chosen, AppStateRecord& state,
                               Platform& platform) {
    // Tried before anything is stored or created: a refused combination must
    // change nothing, so that the user can choose again or cancel.
    const HotKeyChoice hotKey = ChosenHotKey(chosen);
    if (!ReplaceToggleHotKey(hotKey, state, platform.hotKeys)) {
        return OkOutcome{false, hotKey};
    }
    {
        const RegKey key =
            OpenOrCreateRegKey(platform.registry, SETTINGS_KEY_PATH, RegAccess::AllAccess);
        if (key) {
            StoreChoices(key, chosen, state);
        } else {
            // Settings that cannot be stored get the default hot key; should
            // that be refused, the chosen one stays.
            ReplaceToggleHotKey(DEFAULT_HOT_KEY, state, platform.hotKeys);
        }
    }
    if (chosen.startAtLogon != (state.startupAtOpen != 0)) {
        SetStartAtLogon(chosen.startAtLogon, platform);
    }
    return OkOutcome{true, {}};
}

void RefusedHotKeyMessage(HotKeyChoice refused, char (&text)[REFUSED_MESSAGE_SIZE]) {
    char name[HOT_KEY_NAME_SIZE];
    NameHotKey(refused, name);
    std::size_t length = 0;
    text[0] = '\0';
    Append(text, REFUSED_MESSAGE_SIZE, length, name);
    Append(text, REFUSED_MESSAGE_SIZE, length,
           " is already in use, by Windows or by another program.\n\n"
           "Please choose another letter, or the other modifier.");
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
