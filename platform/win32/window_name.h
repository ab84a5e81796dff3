// Whether a window has a given class and exact title.
#pragma once

#include <windows.h>

// Room for every class and title the program looks for, and one character
// more, so that a longer name is never cut down to one of them.
constexpr int WINDOW_NAME_SIZE = 64;

// The title is read only for a window of the class. Another process's
// window is asked nothing: its title is read as the system keeps it.
inline bool HasName(HWND window, const char* className, const char* title) {
    char text[WINDOW_NAME_SIZE] = {};
    if (GetClassNameA(window, text, WINDOW_NAME_SIZE) == 0 || lstrcmpA(text, className) != 0) {
        return false;
    }
    text[0] = '\0';
    GetWindowTextA(window, text, WINDOW_NAME_SIZE);
    return lstrcmpA(text, title) == 0;
}
