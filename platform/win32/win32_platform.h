// The one Win32 implementation of each platform interface, and the
// program's bundle of them, which the window and dialog procedures hand to
// the decisions.
#pragma once

#include "platform/platform.h"

Desktop& Win32Desktop();
Registry& Win32Registry();
Shell& Win32Shell();
Module& Win32Module();
HotKeys& Win32HotKeys();
WindowEvents& Win32WindowEvents();

Platform& Win32Platform();
