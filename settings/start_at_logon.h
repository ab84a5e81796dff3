// Start at logon: the program's value under the current user's Run key.
#pragma once

#include "platform/platform.h"

inline constexpr const char* RUN_KEY_PATH = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RUN_VALUE_NAME = "ShCloak";

// Adds the Run value holding the program's full path in quotes (a path
// with blanks would otherwise be ambiguous to the shell), or removes it. A
// path that cannot be read whole is never stored. Path and value are wide,
// so that a folder the ANSI code page cannot spell is stored as it is.
void SetStartAtLogon(bool on, Platform& platform);
