// What the Settings dialog's OK does, apart from the controls that show the
// choices.
#pragma once

#include <cstddef>

#include "platform/platform.h"
#include "settings/hot_key.h"
#include "settings/settings_store.h"
#include "shared/app_state.h"

// The hot key that the choices name.
HotKeyChoice ChosenHotKey(const SettingsChoices& chosen);

// What OK came to: applied, or nothing changed because the system refused
// the hot key that it tried.
struct OkOutcome {
    bool applied;
    HotKeyChoice refused;  // when not applied
};

// OK: first replaces the toggle hot key on state.mainWindow by the chosen
// one. When the system refuses it, the hot key held before stays, nothing
// else changes, and the refused combination is reported. Otherwise stores
// the choices and hands Force and StayHidden to state; when the settings key
// can be neither opened nor created, stores nothing and registers
// Ctrl+Shift+A instead. Then, only when the start-at-logon box differs from
// how it was at opening (state.startupAtOpen), adds or removes the
// program's Run value. Whoever runs the dialog starts or stops the guard to
// match once it has closed.
OkOutcome ApplySettingsChoices(const SettingsChoices& chosen, AppStateRecord& state,
                               Platform& platform);

// What the Settings dialog tells the user when OK's hot key is refused: the
// combination, that it is taken, and what to do.
constexpr std::size_t REFUSED_MESSAGE_SIZE = 160;
void RefusedHotKeyMessage(HotKeyChoice refused, char (&text)[REFUSED_MESSAGE_SIZE]);
