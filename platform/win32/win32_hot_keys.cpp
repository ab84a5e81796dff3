#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace {

class HotKeysApi final : public HotKeys {
public:
    bool Register(WindowHandle window, std::int32_t id, std::uint32_t modifiers,
                  std::uint32_t keyCode) override {
        return RegisterHotKey(window, id, modifiers, keyCode) != FALSE;
    }

    void Unregister(WindowHandle window, std::int32_t id) override { UnregisterHotKey(window, id); }

    std::int16_t KeyFor(char character) override { return VkKeyScanA(character); }
};

}  // namespace

HotKeys& Win32HotKeys() {
    static HotKeysApi hotKeys;
    return hotKeys;
}
