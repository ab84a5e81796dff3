#include "settings/hot_key.h"

#include <algorithm>

#include "shared/identifiers.h"

namespace {

// VkKeyScanA's answer when no key of the layout types the character.
constexpr std::int16_t NO_KEY = -1;
// The virtual-key code of "A"; "B" to "Z" follow it. They name the same
// physical keys on every layout.
constexpr std::uint32_t FIRST_LETTER_KEY = 0x41;

char LetterOf(HotKeyChoice choice) {
    return choice.ctrlShift ? CTRL_SHIFT_KEY_LETTERS[ClampCtrlShiftKeyIndex(choice.index)]
                            : WIN_KEY_LETTERS[ClampWinKeyIndex(choice.index)];
}

}  // namespace

std::uint32_t ClampWinKeyIndex(std::uint32_t index) {
    return std::min(index, WIN_KEY_LETTER_COUNT - 1);
}

std::uint32_t ClampCtrlShiftKeyIndex(std::uint32_t index) {
    return std::min(index, CTRL_SHIFT_KEY_LETTER_COUNT - 1);
}

KeyCombination ToggleKeyFor(HotKeyChoice choice, HotKeys& hotKeys) {
    const char letter = LetterOf(choice);
    const HotKeyModifiers modifiers =
        choice.ctrlShift ? HotKeyModifiers::CtrlShift : HotKeyModifiers::Win;
    // A layout that types no Latin letters (Russian, Greek, Hebrew...) has
    // no key for it; the letter's own key is on every keyboard.
    const std::int16_t typed = hotKeys.KeyFor(letter);
    const std::uint32_t keyCode =
        typed == NO_KEY ? FIRST_LETTER_KEY + static_cast<std::uint32_t>(letter - 'a')
                        : static_cast<std::uint32_t>(static_cast<std::int32_t>(typed));
    return KeyCombination{static_cast<std::uint32_t>(modifiers), keyCode};
}

bool RegisterToggleHotKey(WindowHandle window, HotKeyChoice choice, AppStateRecord& state,
                          HotKeys& hotKeys) {
    const KeyCombination combination = ToggleKeyFor(choice, hotKeys);
    if (!hotKeys.Register(window, HOTKEY_ID_TOGGLE, combination.modifiers, combination.keyCode)) {
        return false;
    }
    state.toggleKeyHeld = combination;
    return true;
}

bool ReplaceToggleHotKey(HotKeyChoice choice, AppStateRecord& state, HotKeys& hotKeys) {
    const KeyCombination before = state.toggleKeyHeld;
    // Let go first, so that choosing the combination already held succeeds.
    ReleaseToggleHotKey(state, hotKeys);
    if (RegisterToggleHotKey(state.mainWindow, choice, state, hotKeys)) {
        return true;
    }
    if (before.modifiers != 0 &&
        hotKeys.Register(state.mainWindow, HOTKEY_ID_TOGGLE, before.modifiers, before.keyCode)) {
        state.toggleKeyHeld = before;
    }
    return false;
}

void ReleaseToggleHotKey(AppStateRecord& state, HotKeys& hotKeys) {
    hotKeys.Unregister(state.mainWindow, HOTKEY_ID_TOGGLE);
    state.toggleKeyHeld = {};
}

void NameHotKey(HotKeyChoice choice, char (&name)[HOT_KEY_NAME_SIZE]) {
    const char* const prefix = choice.ctrlShift ? "Ctrl+Shift+" : "Win+";
    std::size_t length = 0;
    for (const char* c = prefix; *c != '\0' && length + 2 < HOT_KEY_NAME_SIZE; ++c) {
        name[length++] = *c;
    }
    name[length++] = static_cast<char>(LetterOf(choice) - 'a' + 'A');
    name[length] = '\0';
}
