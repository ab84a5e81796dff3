// The desktop the tests run on, Wine's or Windows', read as it is: the
// screen, the taskbar and its edge, and whether Wine is underneath.
#pragma once

#include <windows.h>

#include "gtest/gtest.h"

// Wine's ntdll exports its version; Windows' does not.
inline bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// For a test that reads what only Wine shows (its traces, the X server, its
// per-process work area): elsewhere it is skipped, saying why.
#define SKIP_UNLESS_WINE(why)                               \
    do {                                                    \
        if (!UnderWine()) {                                 \
            GTEST_SKIP() << "needs Wine itself: " << (why); \
        }                                                   \
    } while (false)

// Null when the shell has no taskbar.
inline HWND Taskbar() {
    return FindWindowA("Shell_TrayWnd", "");
}

inline bool TaskbarShown() {
    const HWND taskbar = Taskbar();
    return taskbar != nullptr && IsWindowVisible(taskbar);
}

inline RECT WholeScreen() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The taskbar's rectangle, whatever its title; all zero without a taskbar.
inline RECT TaskbarRect() {
    RECT bar = {};
    if (const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr)) {
        GetWindowRect(taskbar, &bar);
    }
    return bar;
}

// The work area that a shown taskbar leaves: the screen less the taskbar's
// strip on whichever edge it sits.
inline RECT AreaBesideTaskbar() {
    const RECT bar = TaskbarRect();
    RECT area = WholeScreen();
    const bool across = bar.left <= 0 && bar.right >= area.right;
    if (across && bar.top > 0) {
        area.bottom = bar.top;
    } else if (across) {
        area.top = bar.bottom;
    } else if (bar.left > 0) {
        area.right = bar.left;
    } else {
        area.left = bar.right;
    }
    return area;
}

// This process's work area: under Wine each process keeps its own, and
// reads back here what it set itself.
inline RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

inline ::testing::AssertionResult WorkAreaIs(const RECT& expected) {
    const RECT area = WorkArea();
    if (EqualRect(&area, &expected)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "work area " << area.left << "," << area.top << "," << area.right << ","
           << area.bottom << ", expected " << expected.left << "," << expected.top << ","
           << expected.right << "," << expected.bottom;
}
