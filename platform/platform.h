// The platform services the decisions reach, bundled. The Win32 layer hands
// in the one real implementation of each; tests hand in fakes.
#pragma once

#include "platform/desktop.h"
#include "platform/hot_keys.h"
#include "platform/module.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/window_events.h"

struct Platform {
    Desktop& desktop;
    Registry& registry;
    Shell& shell;
    Module& module;
    HotKeys& hotKeys;
    WindowEvents& windowEvents;
};
