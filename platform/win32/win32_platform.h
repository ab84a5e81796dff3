// The one Win32 implementation of each platform interface.
#pragma once

#include "platform/platform.h"

Desktop& Win32Desktop();
Registry& Win32Registry();
Shell& Win32Shell();
Module& Win32Module();

// The Win32 services bundled for the decisions.
Platform& Win32Platform();
