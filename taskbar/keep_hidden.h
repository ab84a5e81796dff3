// Keeping a hidden taskbar hidden: the option "StayHidden" undoes the
// shell's own shows of the taskbar at once, reported by the system rather
// than looked for, and gives up when the shell keeps showing it.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "shared/app_state.h"

// Records what the user has just asked for, and starts or stops the guard
// to match: it watches the taskbar's windows only while the user wants the
// taskbar hidden and the option is on, on state.mainWindow's thread; while
// the taskbar is shown, nothing is watched.
void AskFor(TaskbarWanted wanted, AppStateRecord& state, Platform& platform);

// Starts or stops the guard after the option or the window changed.
void UpdateGuard(AppStateRecord& state, Platform& platform);

// The shell showed one of the taskbar's windows at `eventTime`: hides them
// again, or, at more than ShowCounter::MOST_SHOWS shows within
// ShowCounter::FIGHT_SPAN_MS, gives up: shows the taskbar with its strip,
// and the user wants it shown from then on. A report that comes after the
// guard has stopped does nothing.
void OnTaskbarShown(std::uint32_t eventTime, AppStateRecord& state, Platform& platform);

// A restarted shell has made a new taskbar, which shows: hidden again when
// the user wants it hidden and the option is on.
void OnShellRestarted(AppStateRecord& state, Platform& platform);

// The main window goes: the guard with it; the taskbar stays as it is.
void EndGuard(AppStateRecord& state, Platform& platform);
