// Records hot-key registrations; answers key codes as a US layout would.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/hot_keys.h"
#include "tests/fakes/call_log.h"

class FakeHotKeys final : public HotKeys {
public:
    explicit FakeHotKeys(CallLog& log) : log_(log) {}

    struct Registration {
        std::uint32_t modifiers;
        std::uint32_t keyCode;
    };

    // Combinations another program holds: registering them fails.
    std::set<std::pair<std::uint32_t, std::uint32_t>> heldElsewhere;
    // Characters the active layout has no key for.
    std::set<char> untypable;
    // What is registered now, by (window, id).
    std::map<std::pair<WindowHandle, std::int32_t>, Registration> registered;

    bool Register(WindowHandle window, std::int32_t id, std::uint32_t modifiers,
                  std::uint32_t keyCode) override;
    void Unregister(WindowHandle window, std::int32_t id) override;
    std::int16_t KeyFor(char character) override;

private:
    CallLog& log_;
};

// "Ctrl+Shift+A", "Win+X", or the numbers when they name no such key.
std::string HotKeyName(std::uint32_t modifiers, std::uint32_t keyCode);
