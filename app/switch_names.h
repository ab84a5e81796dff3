// The command-line switches, as they are searched for (lower case).
#pragma once

inline constexpr const char* SWITCH_SHOW = "-show";
inline constexpr const char* SWITCH_HIDE = "-hide";
// Any text holding this (a folder of that name in the program's path, say)
// turns "-hide" off.
inline constexpr const char* SWITCH_HIDE_BLOCKER = "-hider";
inline constexpr const char* SWITCH_EXIT = "-exit";
inline constexpr const char* SWITCH_MULTI = "-multi";
inline constexpr const char* SWITCH_NO_MULTI = "-nomulti";
