// The settings load at the main window's creation, over arbitrary registry
// contents: it never writes, leaves no key open, registers the hot key at
// most once, and takes Force, the edge and the letter as stored.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/registry_contents.h"
#include "fuzz/require.h"
#include "settings/hot_key.h"
#include "settings/settings_store.h"
#include "tests/fakes/fake_platform.h"

namespace {

const WindowHandle WINDOW = reinterpret_cast<WindowHandle>(std::uintptr_t{0x4242});

std::size_t CountCalls(const CallLog& log, const char* prefix) {
    return log.Matching({prefix}).size();
}

// The hot key the stored values ask for, as the fake names it; empty for none.
std::string ExpectedHotKey(FakeRegistry& registry) {
    const auto system = ReadableDword(registry, SETTINGS_KEY_PATH, VALUE_USES_CTRL_SHIFT);
    if (!system) {
        return "";
    }
    if (*system != 0) {
        const std::uint32_t index =
            ReadableDword(registry, SETTINGS_KEY_PATH, VALUE_CTRL_SHIFT_LETTER).value_or(0);
        const char letter = CTRL_SHIFT_KEY_LETTERS[index < 26 ? index : 25];
        return std::string("RegisterHotKey 2136 Ctrl+Shift+") + static_cast<char>(letter - 32);
    }
    const std::uint32_t index =
        ReadableDword(registry, SETTINGS_KEY_PATH, VALUE_WIN_LETTER).value_or(9);
    const char letter = WIN_KEY_LETTERS[index < 12 ? index : 11];
    return std::string("RegisterHotKey 2136 Win+") + static_cast<char>(letter - 32);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakePlatform fake;
    FuzzInput input(data, size);
    DecodeRegistry(input, fake.registry);
    const bool firstRun = !KeyOpens(fake.registry, SETTINGS_KEY_PATH, RegAccess::Read);
    const std::string expectedHotKey =
        firstRun ? "RegisterHotKey 2136 Ctrl+Shift+A" : ExpectedHotKey(fake.registry);
    const auto force = ReadableDword(fake.registry, SETTINGS_KEY_PATH, VALUE_FORCE);
    const auto edge = ReadableDword(fake.registry, SETTINGS_KEY_PATH, VALUE_LAST_EDGE);
    const auto stayHidden = ReadableDword(fake.registry, SETTINGS_KEY_PATH, VALUE_STAY_HIDDEN);

    AppStateRecord state = {};
    const SettingsLoad load = LoadSettingsAndRegisterHotKey(WINDOW, state, fake.platform);

    Require(fake.registry.OpenHandles() == 0, "a key was left open");
    Require(CountCalls(fake.log, "SetValue") + CountCalls(fake.log, "DeleteValue") +
                    CountCalls(fake.log, "CreateKey") ==
                0,
            "loading wrote to the registry");
    Require(CountCalls(fake.log, "UnregisterHotKey") == 0, "loading unregistered a hot key");
    const auto registrations = fake.log.Matching({"RegisterHotKey"});
    Require(registrations.size() <= 1, "the hot key was registered more than once");
    Require(expectedHotKey.empty()
                ? registrations.empty()
                : registrations.size() == 1 && registrations[0] == expectedHotKey,
            "the registered hot key is not the stored one: expected '" + expectedHotKey + "'");
    Require(load == (firstRun ? SettingsLoad::FirstRun : SettingsLoad::Stored),
            "a first run was reported wrongly, or missed");
    if (firstRun) {
        Require(state.forceAllDisplays == 0 && state.stayHidden == 0 &&
                    state.lastTaskbarEdge == TaskbarEdge::NotSeen,
                "a first run read settings");
    } else {
        Require(state.forceAllDisplays == static_cast<std::int32_t>(force.value_or(0)),
                "Force is not as stored");
        Require(state.stayHidden == static_cast<std::int32_t>(stayHidden.value_or(0)),
                "StayHidden is not as stored");
        Require(state.lastTaskbarEdge == static_cast<TaskbarEdge>(edge.value_or(0)),
                "the edge is not as stored");
    }
    return 0;
}
