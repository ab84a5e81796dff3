// The one Win32 implementation of each platform interface.
#pragma once

#include "platform/platform.h"

Desktop& Win32Desktop();
Registry& Win32Registry();
Shell& Win32Shell();
Module& Win32Module();
HotKeys& Win32HotKeys();
Dialogs& Win32Dialogs();

// The Win32 services bundled for the decisions.
Platform& Win32Platform();
