// The Settings dialog's decisions over arbitrary registry contents: what it
// shows when it opens, then what OK with arbitrary choices stores. Neither
// leaves a key open; the lists' positions are always inside the lists; OK
// ends with exactly one hot key held, and one that is refused changes
// nothing and gives the held one back; the Run value changes
// only with the box and only ever holds a whole, quoted path.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/registry_contents.h"
#include "fuzz/require.h"
#include "platform/program_path.h"
#include "settings/hot_key.h"
#include "settings/settings_dialog_decisions.h"
#include "settings/settings_store.h"
#include "settings/start_at_logon.h"
#include "shared/identifiers.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/utf16.h"

namespace {

const WindowHandle WINDOW = reinterpret_cast<WindowHandle>(std::uintptr_t{0x4242});

std::size_t CountCalls(const CallLog& log, const char* prefix) {
    return log.Matching({prefix}).size();
}

bool NoWrites(const CallLog& log) {
    return CountCalls(log, "SetValue") + CountCalls(log, "DeleteValue") +
               CountCalls(log, "CreateKey") ==
           0;
}

bool HasFaults(FakeRegistry& registry, const char* path) {
    const FakeRegistry::Faults& faults = registry.faults[path];
    return faults.openForRead || faults.openForWrite || faults.create || faults.setValue ||
           !faults.unreadable.empty();
}

void CheckShown(const SettingsChoices& shown, FakeRegistry& registry) {
    Require(shown.winIndex < WIN_KEY_LETTER_COUNT, "the Win list's position is outside it");
    Require(shown.ctrlShiftIndex < CTRL_SHIFT_KEY_LETTER_COUNT,
            "the Ctrl+Shift list's position is outside it");
    if (!KeyOpens(registry, SETTINGS_KEY_PATH, RegAccess::Read)) {
        Require(shown == SettingsChoices{true, 0, 9, false, false},
                "without a readable key the dialog does not show the defaults");
        return;
    }
    const auto force = ReadableDword(registry, SETTINGS_KEY_PATH, VALUE_FORCE);
    Require(shown.force == (force.value_or(0) != 0), "Force is not shown as stored");
    const auto system = ReadableDword(registry, SETTINGS_KEY_PATH, VALUE_USES_CTRL_SHIFT);
    Require(shown.ctrlShift == (system.value_or(1) != 0), "the modifier is not shown as stored");
    const auto stayHidden = ReadableDword(registry, SETTINGS_KEY_PATH, VALUE_STAY_HIDDEN);
    Require(shown.stayHidden == (stayHidden.value_or(0) != 0), "StayHidden is not shown as stored");
}

// What OK must leave as the Run value: the module's path whole, in quotes,
// terminated, in UTF-16, when the box was ticked and the path could be read; nothing
// when it was cleared; else what was there.
void CheckRunValue(FakeRegistry& registry, const FakeModule& module, bool ticked,
                   const std::optional<FakeRegistry::Value>& before) {
    const FakeRegistry::Value* after = registry.Find(RUN_KEY_PATH, RUN_VALUE_NAME);
    const bool pathReadable =
        !module.fails && !module.path.empty() && module.path.size() < PROGRAM_PATH_SIZE;
    if (!ticked) {
        Require(after == nullptr, "the Run value stayed after the box was cleared");
        return;
    }
    if (pathReadable && !registry.faults[RUN_KEY_PATH].setValue) {
        const std::u16string quoted = u"\"" + module.path + u"\"";
        Require(after != nullptr && after->type == static_cast<std::uint32_t>(RegType::String) &&
                    after->data == Utf16Bytes(quoted + u'\0'),
                "the Run value is not the quoted path, in UTF-16");
        return;
    }
    Require(before ? after != nullptr && after->type == before->type && after->data == before->data
                   : after == nullptr,
            "the Run value changed although no whole path could be stored");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakePlatform fake;
    FuzzInput input(data, size);
    // What the user chooses, and the program's own path, come first.
    const std::uint8_t flags = input.Byte();
    const std::uint32_t ctrlShiftChoice = input.U32();
    const std::uint32_t winChoice = input.U32();
    fake.module.path = input.Text16(input.U16() % 300);
    fake.module.fails = (flags & 0x40) != 0;
    if ((flags & 0x80) != 0) {
        // Another program's, and one that Windows keeps.
        fake.hotKeys.heldElsewhere.insert({6, 'Q'});
        fake.hotKeys.heldElsewhere.insert({8, 'X'});
    }
    DecodeRegistry(input, fake.registry);
    std::optional<FakeRegistry::Value> runBefore;
    if (const FakeRegistry::Value* run = fake.registry.Find(RUN_KEY_PATH, RUN_VALUE_NAME)) {
        runBefore = *run;
    }

    AppStateRecord state = {};
    state.mainWindow = WINDOW;
    state.forceAllDisplays = 7;  // what the load left; OK replaces it only when it stores
    state.stayHidden = 7;
    // Ctrl+Shift+A, as the load registered it.
    state.toggleKeyHeld = {6, 'A'};
    fake.hotKeys.registered[{WINDOW, 2136}] = {6, 'A'};
    const SettingsChoices shown = StoredSettingsChoices(fake.registry);
    Require(fake.registry.OpenHandles() == 0, "opening the dialog left a key open");
    Require(NoWrites(fake.log), "opening the dialog wrote to the registry");
    CheckShown(shown, fake.registry);
    state.startupAtOpen = shown.startAtLogon ? 1 : 0;

    const SettingsChoices chosen = {(flags & 1) != 0, ctrlShiftChoice,  winChoice,
                                    (flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0};
    const bool stores = KeyOpensOrCreates(fake.registry, SETTINGS_KEY_PATH);
    const bool settingsClean = !HasFaults(fake.registry, SETTINGS_KEY_PATH);
    fake.log.calls.clear();
    const OkOutcome outcome = ApplySettingsChoices(chosen, state, fake.platform);

    Require(fake.registry.OpenHandles() == 0, "OK left a key open");
    const auto hotKeyCalls = fake.log.Matching({"RegisterHotKey", "UnregisterHotKey"});
    Require(hotKeyCalls.size() >= 2 && hotKeyCalls[0] == "UnregisterHotKey 2136" &&
                hotKeyCalls[1].rfind("RegisterHotKey 2136 ", 0) == 0,
            "OK did not let the hot key go and try the new one");
    Require(fake.hotKeys.registered.size() <= 1, "more than one hot key is registered");
    if (!outcome.applied) {
        Require(hotKeyCalls.size() == 3 && hotKeyCalls[2] == "RegisterHotKey 2136 Ctrl+Shift+A",
                "a refused hot key did not give the held one back");
        Require(fake.hotKeys.registered.size() == 1, "a refused hot key left none held");
        Require(NoWrites(fake.log), "a refused hot key still wrote to the registry");
        Require(state.forceAllDisplays == 7 && state.stayHidden == 7,
                "a refused hot key changed Force or StayHidden in memory");
        return 0;
    }
    Require(fake.hotKeys.registered.size() == 1, "OK left no hot key held");
    if (stores) {
        Require(hotKeyCalls.size() == 2, "OK registered more than the new hot key");
    } else {
        Require(hotKeyCalls.size() == 4 && hotKeyCalls[2] == "UnregisterHotKey 2136" &&
                    hotKeyCalls[3] == "RegisterHotKey 2136 Ctrl+Shift+A",
                "settings that cannot be stored did not get the default hot key");
    }
    Require(state.forceAllDisplays == (stores ? (chosen.force ? 1 : 0) : 7),
            "Force in memory does not follow what OK stored");
    Require(state.stayHidden == (stores ? (chosen.stayHidden ? 1 : 0) : 7),
            "StayHidden in memory does not follow what OK stored");
    Require(CountCalls(fake.log, "Execute") == 0, "OK started a program");
    const bool runTouched =
        !fake.log
             .Matching({"OpenKey Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                        "CreateKey Software\\Microsoft\\Windows\\CurrentVersion\\Run"})
             .empty();
    Require(runTouched == (chosen.startAtLogon != shown.startAtLogon),
            "the Run key was touched although the box did not change, or not although it did");
    if (runTouched && KeyOpensOrCreates(fake.registry, RUN_KEY_PATH)) {
        CheckRunValue(fake.registry, fake.module, chosen.startAtLogon, runBefore);
    }

    // With a sound settings key, opening the dialog again shows what OK stored.
    if (settingsClean) {
        const SettingsChoices reopened = StoredSettingsChoices(fake.registry);
        const SettingsChoices expected = {chosen.ctrlShift,
                                          ClampCtrlShiftKeyIndex(ctrlShiftChoice),
                                          ClampWinKeyIndex(winChoice),
                                          chosen.force,
                                          chosen.startAtLogon,
                                          chosen.stayHidden};
        Require(reopened == expected, "reopening does not show what OK stored");
        Require(fake.registry.OpenHandles() == 0, "reopening left a key open");
    }
    return 0;
}
