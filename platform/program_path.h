// The full path of the running program's file.
#pragma once

#include <cstddef>

#include "platform/module.h"

constexpr std::size_t PROGRAM_PATH_SIZE = 260;  // MAX_PATH

// Fills path with the program's full path in UTF-16 and returns true;
// returns false, leaving path empty, when the path cannot be read or does
// not fit, so that a path cut short is never used. The path is read wide
// wherever it leaves the program (the Run value, the elevated copy).
bool ReadProgramPath(Module& module, char16_t (&path)[PROGRAM_PATH_SIZE]);
