// The command-line switches, as they are searched for (lower case).
#pragma once

inline constexpr const char* SWITCH_SHOW = "-show";
inline constexpr const char* SWITCH_HIDE = "-hide";
// Any text holding this (a folder of that name in the program's path, say)
// turns "-hide" off.
inline constexpr const char* SWITCH_HIDE_BLOCKER = "-hider";
inline constexpr const char* SWITCH_EXIT = "-exit";
// Looked for as a whole argument, never inside another word or a path.
inline constexpr const char* SWITCH_TOGGLE = "-toggle";
inline constexpr const char* SWITCH_MULTI = "-multi";
inline constexpr const char* SWITCH_NO_MULTI = "-nomulti";

// What the copy started for a refused policy write is given: the switch that
// repeats the write, and "-exit", so that the copy ends after its one write
// even when no instance is resident any more by the time it starts.
inline constexpr const char* RELAUNCH_NO_MULTI = "-nomulti -exit";
inline constexpr const char* RELAUNCH_MULTI = "-multi -exit";
