#include "tests/fakes/fake_hot_keys.h"

#include <cstdio>

std::string HotKeyName(std::uint32_t modifiers, std::uint32_t keyCode) {
    std::string name;
    if (modifiers == 6) {
        name = "Ctrl+Shift+";
    } else if (modifiers == 8) {
        name = "Win+";
    } else {
        name = "mods " + std::to_string(modifiers) + " + ";
    }
    if (keyCode >= 'A' && keyCode <= 'Z') {
        return name + static_cast<char>(keyCode);
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%X", keyCode);
    return name + code;
}

bool FakeHotKeys::Register(WindowHandle window, std::int32_t id, std::uint32_t modifiers,
                           std::uint32_t keyCode) {
    log_.Add("RegisterHotKey " + std::to_string(id) + " " + HotKeyName(modifiers, keyCode));
    const auto slot = std::make_pair(window, id);
    if (heldElsewhere.count({modifiers, keyCode}) > 0 || registered.count(slot) > 0 ||
        keyCode > 0xFF) {
        return false;
    }
    registered[slot] = Registration{modifiers, keyCode};
    return true;
}

void FakeHotKeys::Unregister(WindowHandle window, std::int32_t id) {
    log_.Add("UnregisterHotKey " + std::to_string(id));
    registered.erase(std::make_pair(window, id));
}

std::int16_t FakeHotKeys::KeyFor(char character) {
    if (untypable.count(character) > 0) {
        return -1;
    }
    if (character >= 'a' && character <= 'z') {
        return static_cast<std::int16_t>(character - 'a' + 'A');
    }
    return -1;
}
