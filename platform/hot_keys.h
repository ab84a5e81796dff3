// Global hot keys and the keyboard layout's key for a character.
#pragma once

#include <cstdint>

#include "platform/handles.h"

// A combination as RegisterHotKey takes it: MOD_ flags and a virtual-key
// code. No modifiers at all stands for no combination.
struct KeyCombination {
    std::uint32_t modifiers;
    std::uint32_t keyCode;

    friend bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

class HotKeys {
public:
    // RegisterHotKey; false when the combination is refused (another program
    // holds it, say).
    virtual bool Register(WindowHandle window, std::int32_t id, std::uint32_t modifiers,
                          std::uint32_t keyCode) = 0;
    virtual void Unregister(WindowHandle window, std::int32_t id) = 0;
    // VkKeyScanA under the active layout: the key in the low byte, shift
    // state in the high byte, -1 when no key types the character.
    virtual std::int16_t KeyFor(char character) = 0;

protected:
    ~HotKeys() = default;
};
