#include "app/switches.h"

#include "shared/switch_names.h"
#include "taskbar/hide_show.h"
#include "taskbar/keep_hidden.h"
#include "taskbar/multimon_policy.h"

namespace {

bool AsksToHide(const SwitchText& text) {
    return text.Contains(SWITCH_HIDE) && !text.Contains(SWITCH_HIDE_BLOCKER);
}

// The policy written by a relaunch switch must never start yet another copy,
// so there is no elevation prompt to own either.
constexpr std::int32_t FROM_SWITCH = 1;
constexpr WindowHandle NO_OWNER = nullptr;

// The user's word reaches the resident instance before the taskbar changes,
// so that its guard does not undo a show (the uninstaller's among them).
// True when the instance answered that it knows the request.
bool TellResident(UserAsked asked, const AppStateRecord& state, Platform& platform) {
    if (state.userAskedMsg == 0) {
        return false;
    }
    const WindowHandle resident =
        platform.desktop.FindTopWindow(state.windowClassName, state.windowTitle);
    return resident != nullptr &&
           platform.desktop.Send(resident, state.userAskedMsg,
                                 static_cast<std::uintptr_t>(asked)) == USER_ASK_KNOWN;
}

}  // namespace

SecondInstanceAction SecondInstanceActionFor(const SwitchText& text) {
    if (text.Contains(SWITCH_SHOW)) {
        return SecondInstanceAction::ShowTaskbar;
    }
    if (AsksToHide(text)) {
        return SecondInstanceAction::HideTaskbar;
    }
    if (text.HasArgument(SWITCH_TOGGLE)) {
        return SecondInstanceAction::ToggleTaskbar;
    }
    if (text.Contains(SWITCH_MULTI)) {
        return SecondInstanceAction::AllowMultimon;
    }
    if (text.Contains(SWITCH_NO_MULTI)) {
        return SecondInstanceAction::ForbidMultimon;
    }
    return SecondInstanceAction::None;
}

ResidentSwitches ResidentSwitchesFor(const SwitchText& text) {
    ResidentSwitches switches = {StartToggle::None, text.Contains(SWITCH_EXIT)};
    if (text.Contains(SWITCH_SHOW)) {
        switches.toggle = StartToggle::ShowTaskbar;
    } else if (AsksToHide(text)) {
        switches.toggle = StartToggle::HideTaskbar;
    } else if (text.HasArgument(SWITCH_TOGGLE)) {
        switches.toggle = StartToggle::ToggleTaskbar;
    }
    return switches;
}

void RunSecondInstance(const SwitchText& text, AppStateRecord& state, Platform& platform) {
    switch (SecondInstanceActionFor(text)) {
        case SecondInstanceAction::ShowTaskbar:
            TellResident(UserAsked::Show, state, platform);
            HideShowTaskbar(1, state, platform);
            break;
        case SecondInstanceAction::HideTaskbar:
            TellResident(UserAsked::Hide, state, platform);
            HideShowTaskbar(0, state, platform);
            break;
        case SecondInstanceAction::ToggleTaskbar:
            if (!TellResident(UserAsked::Toggle, state, platform)) {
                ToggleTaskbar(state, platform);
            }
            break;
        case SecondInstanceAction::AllowMultimon:
            SetTaskbarNoMultimon(0, FROM_SWITCH, NO_OWNER, platform);
            break;
        case SecondInstanceAction::ForbidMultimon:
            SetTaskbarNoMultimon(1, FROM_SWITCH, NO_OWNER, platform);
            break;
        case SecondInstanceAction::None:
            break;
    }
}

// The same choice among the four switches as a second instance makes, so
// that the copy writes the same value whether an instance is resident or not.
bool RunPolicyWriteOnly(const SwitchText& text, Platform& platform) {
    if (!text.Contains(SWITCH_EXIT)) {
        return false;
    }
    switch (SecondInstanceActionFor(text)) {
        case SecondInstanceAction::AllowMultimon:
            SetTaskbarNoMultimon(0, FROM_SWITCH, NO_OWNER, platform);
            return true;
        case SecondInstanceAction::ForbidMultimon:
            SetTaskbarNoMultimon(1, FROM_SWITCH, NO_OWNER, platform);
            return true;
        default:
            return false;
    }
}

ResidentSwitches DecideStartToggle(ResidentSwitches switches, Platform& platform) {
    if (switches.toggle == StartToggle::ToggleTaskbar) {
        const WindowHandle taskbar = platform.desktop.FindTopWindow(TASKBAR_CLASS, "");
        switches.toggle = taskbar == nullptr                  ? StartToggle::None
                          : platform.desktop.IsShown(taskbar) ? StartToggle::HideTaskbar
                                                              : StartToggle::ShowTaskbar;
    }
    return switches;
}

bool ApplyResidentSwitches(const ResidentSwitches& switches, AppStateRecord& state,
                           Platform& platform) {
    switch (switches.toggle) {
        case StartToggle::ShowTaskbar:
            HideShowTaskbar(1, state, platform);
            state.lastAskedFor = TaskbarWanted::Shown;
            break;
        case StartToggle::HideTaskbar:
            HideShowTaskbar(0, state, platform);
            state.lastAskedFor = TaskbarWanted::Hidden;
            break;
        case StartToggle::ToggleTaskbar:
            if (const std::optional<bool> showed = ToggleTaskbar(state, platform)) {
                state.lastAskedFor = *showed ? TaskbarWanted::Shown : TaskbarWanted::Hidden;
            }
            break;
        case StartToggle::None:
            break;
    }
    // An instance that leaves at once keeps no guard.
    if (!switches.exit) {
        UpdateGuard(state, platform);
    }
    return !switches.exit;
}
