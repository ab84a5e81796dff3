// The Wine shell desktop as the test's own process sees it: a 1280x800
// screen with the taskbar along the bottom.
#pragma once

#include <windows.h>

#include "gtest/gtest.h"

inline constexpr RECT WHOLE_SCREEN = {0, 0, 1280, 800};
inline constexpr RECT ABOVE_TASKBAR = {0, 0, 1280, 780};

// Null when the shell has no taskbar.
HWND Taskbar();
bool TaskbarShown();
// This process's work area; Wine keeps one per process.
RECT WorkArea();
::testing::AssertionResult WorkAreaIs(const RECT& expected);
