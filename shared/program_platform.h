// The program's one bundle of platform services: the Win32 implementation
// of each interface, with the dialogs wired to their procedures. Declared
// here, below the subsystems, so that their window and dialog procedures
// reach it; the application assembles it (app/program_platform.cpp).
#pragma once

#include "platform/platform.h"

Platform& Win32Platform();
