#include "taskbar/keep_hidden.h"

#include "shared/identifiers.h"
#include "taskbar/hide_show.h"

namespace {

bool GuardWanted(const AppStateRecord& state) {
    return state.stayHidden != 0 && state.lastAskedFor == TaskbarWanted::Hidden &&
           state.mainWindow != nullptr;
}

void StopGuard(AppStateRecord& state, Platform& platform) {
    if (state.guarding != 0) {
        platform.windowEvents.Unwatch();
        state.guarding = 0;
    }
}

}  // namespace

void UpdateGuard(AppStateRecord& state, Platform& platform) {
    if (!GuardWanted(state)) {
        StopGuard(state, platform);
        return;
    }
    if (state.guarding == 0) {
        // A new guard counts afresh: shows before it were not a fight.
        state.showsWhileGuarding = {};
        state.guarding =
            platform.windowEvents.Watch(state.mainWindow, WM_TASKBAR_SHOWN, TASKBAR_WINDOWS) ? 1
                                                                                             : 0;
    }
}

void AskFor(TaskbarWanted wanted, AppStateRecord& state, Platform& platform) {
    state.lastAskedFor = wanted;
    UpdateGuard(state, platform);
}

void OnTaskbarShown(std::uint32_t eventTime, AppStateRecord& state, Platform& platform) {
    if (state.guarding == 0) {
        return;
    }
    if (state.showsWhileGuarding.TooMany(eventTime)) {
        // The program's state and the screen agree again: shown, as asked.
        AskFor(TaskbarWanted::Shown, state, platform);
        ShowTaskbarAndItsStrip(state, platform);
        return;
    }
    RehideTaskbar(state, platform);
}

void OnShellRestarted(AppStateRecord& state, Platform& platform) {
    if (GuardWanted(state)) {
        RehideTaskbar(state, platform);
    }
}

void EndGuard(AppStateRecord& state, Platform& platform) {
    StopGuard(state, platform);
}
