#include "settings/settings_store.h"

#include <optional>

#include "platform/reg_key.h"

namespace {

// Every value as stored, each read on its own into four bytes; empty where
// it is absent or cannot be read.
struct StoredValues {
    std::optional<std::uint32_t> force;
    std::optional<std::uint32_t> usesCtrlShift;
    std::optional<std::uint32_t> startAtLogonBox;
    std::optional<std::uint32_t> winLetter;
    std::optional<std::uint32_t> ctrlShiftLetter;
    std::optional<std::uint32_t> lastEdge;
    std::optional<std::uint32_t> stayHidden;
};

// Empty when the key cannot be opened for reading, for whatever reason.
std::optional<StoredValues> ReadStoredValues(Registry& registry) {
    const RegKey key = OpenRegKey(registry, SETTINGS_KEY_PATH, RegAccess::Read);
    if (!key) {
        return std::nullopt;
    }
    return StoredValues{
        ReadDword(key, VALUE_FORCE),
        ReadDword(key, VALUE_USES_CTRL_SHIFT),
        ReadDword(key, VALUE_START_AT_LOGON_BOX),
        ReadDword(key, VALUE_WIN_LETTER),
        ReadDword(key, VALUE_CTRL_SHIFT_LETTER),
        ReadDword(key, VALUE_LAST_EDGE),
        ReadDword(key, VALUE_STAY_HIDDEN),
    };
}

std::uint32_t AsFlag(bool on) {
    return on ? 1 : 0;
}

}  // namespace

SettingsLoad LoadSettingsAndRegisterHotKey(WindowHandle window, AppStateRecord& state,
                                           Platform& platform) {
    const std::optional<StoredValues> stored = ReadStoredValues(platform.registry);
    if (!stored) {
        RegisterToggleHotKey(window, DEFAULT_HOT_KEY, state, platform.hotKeys);
        return SettingsLoad::FirstRun;
    }
    if (stored->force) {
        state.forceAllDisplays = static_cast<std::int32_t>(*stored->force);
    }
    if (stored->stayHidden) {
        state.stayHidden = static_cast<std::int32_t>(*stored->stayHidden);
    }
    if (stored->usesCtrlShift) {
        const bool ctrlShift = *stored->usesCtrlShift != 0;
        const std::uint32_t letter =
            ctrlShift ? stored->ctrlShiftLetter.value_or(DEFAULT_CTRL_SHIFT_LETTER)
                      : stored->winLetter.value_or(DEFAULT_WIN_LETTER);
        RegisterToggleHotKey(window, {ctrlShift, letter}, state, platform.hotKeys);
    }
    if (stored->lastEdge) {
        state.lastTaskbarEdge = static_cast<TaskbarEdge>(*stored->lastEdge);
    }
    return SettingsLoad::Stored;
}

SettingsChoices StoredSettingsChoices(Registry& registry) {
    SettingsChoices shown = {true, DEFAULT_CTRL_SHIFT_LETTER, DEFAULT_WIN_LETTER, false, false};
    const std::optional<StoredValues> stored = ReadStoredValues(registry);
    if (!stored) {
        return shown;
    }
    if (stored->force) {
        shown.force = *stored->force != 0;
    }
    if (stored->usesCtrlShift) {
        shown.ctrlShift = *stored->usesCtrlShift != 0;
    }
    if (stored->startAtLogonBox) {
        shown.startAtLogon = *stored->startAtLogonBox != 0;
    }
    if (stored->winLetter) {
        shown.winIndex = ClampWinKeyIndex(*stored->winLetter);
    }
    if (stored->ctrlShiftLetter) {
        shown.ctrlShiftIndex = ClampCtrlShiftKeyIndex(*stored->ctrlShiftLetter);
    }
    if (stored->stayHidden) {
        shown.stayHidden = *stored->stayHidden != 0;
    }
    return shown;
}

bool StoreSettingsChoices(const SettingsChoices& chosen, Registry& registry) {
    const RegKey key = OpenOrCreateRegKey(registry, SETTINGS_KEY_PATH, RegAccess::AllAccess);
    if (!key) {
        return false;
    }
    WriteDword(key, VALUE_FORCE, AsFlag(chosen.force));
    WriteDword(key, VALUE_WIN_LETTER, chosen.winIndex);
    WriteDword(key, VALUE_CTRL_SHIFT_LETTER, chosen.ctrlShiftIndex);
    WriteDword(key, VALUE_USES_CTRL_SHIFT, AsFlag(chosen.ctrlShift));
    WriteDword(key, VALUE_START_AT_LOGON_BOX, AsFlag(chosen.startAtLogon));
    WriteDword(key, VALUE_STAY_HIDDEN, AsFlag(chosen.stayHidden));
    return true;
}

void SaveLastTaskbarEdge(const AppStateRecord& state, Platform& platform) {
    const RegKey key =
        OpenOrCreateRegKey(platform.registry, SETTINGS_KEY_PATH, RegAccess::AllAccess);
    if (key) {
        WriteDword(key, VALUE_LAST_EDGE, static_cast<std::uint32_t>(state.lastTaskbarEdge));
    }
}
