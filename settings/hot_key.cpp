#include "settings/hot_key.h"

#include <algorithm>

#include "shared/identifiers.h"

std::uint32_t ClampWinKeyIndex(std::uint32_t index) {
    return std::min(index, WIN_KEY_LETTER_COUNT - 1);
}

std::uint32_t ClampCtrlShiftKeyIndex(std::uint32_t index) {
    return std::min(index, CTRL_SHIFT_KEY_LETTER_COUNT - 1);
}

void RegisterToggleHotKey(WindowHandle window, std::int32_t useCtrlShift, std::uint32_t index,
                          HotKeys& hotKeys) {
    const bool ctrlShift = useCtrlShift != 0;
    const char letter = ctrlShift ? CTRL_SHIFT_KEY_LETTERS[ClampCtrlShiftKeyIndex(index)]
                                  : WIN_KEY_LETTERS[ClampWinKeyIndex(index)];
    const HotKeyModifiers modifiers = ctrlShift ? HotKeyModifiers::CtrlShift : HotKeyModifiers::Win;
    // The layout's answer goes on as it is, -1 included: the registration is
    // then refused, and the program simply has no hot key.
    const auto keyCode =
        static_cast<std::uint32_t>(static_cast<std::int32_t>(hotKeys.KeyFor(letter)));
    hotKeys.Register(window, HOTKEY_ID_TOGGLE, static_cast<std::uint32_t>(modifiers), keyCode);
}
