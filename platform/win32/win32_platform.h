// The one Win32 implementation of each platform interface but the dialogs,
// which the application wires to their procedures.
#pragma once

#include "platform/platform.h"

Desktop& Win32Desktop();
Registry& Win32Registry();
Shell& Win32Shell();
Module& Win32Module();
HotKeys& Win32HotKeys();
