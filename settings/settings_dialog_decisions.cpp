#include "settings/settings_dialog_decisions.h"

#include "settings/start_at_logon.h"

namespace {

void Append(char* text, std::size_t size, std::size_t& length, const char* part) {
    for (; *part != '\0' && length + 1 < size; ++part) {
        text[length++] = *part;
    }
    text[length] = '\0';
}

}  // namespace

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
    if (StoreSettingsChoices(chosen, platform.registry)) {
        state.forceAllDisplays = chosen.force ? 1 : 0;
        state.stayHidden = chosen.stayHidden ? 1 : 0;
    } else {
        // Settings that cannot be stored get the default hot key; should
        // that be refused, the chosen one stays.
        ReplaceToggleHotKey(DEFAULT_HOT_KEY, state, platform.hotKeys);
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
