// Every platform interface faked, sharing one call log.
#pragma once

#include "platform/platform.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_hot_keys.h"
#include "tests/fakes/fake_module.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_window_events.h"

struct FakePlatform {
    CallLog log;
    FakeDesktop desktop{log};
    FakeRegistry registry{log};
    FakeShell shell{log};
    FakeModule module;
    FakeHotKeys hotKeys{log};
    FakeWindowEvents windowEvents{log};
    Platform platform{desktop, registry, shell, module, hotKeys, windowEvents};

    FakePlatform() = default;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;
};
