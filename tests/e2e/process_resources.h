// What a running process holds, seen from another process. Wine answers
// GetGuiResources and GetProcessHandleCount with 0, for any process, so the
// counts come from where Wine does keep them: the system's list of open
// handles, the process's GDI handle table (read from its memory, where its
// process environment block points), and the windows it owns on the desktop.
#pragma once

#include <windows.h>

#include <string>

struct ProcessResources {
    long handles = -1;     // kernel handles, from the system's handle list
    long gdiObjects = -1;  // entries in use in the process's GDI handle table
    long windows = -1;     // its top-level and child windows: USER objects that show
    // What the documented calls answer, for the record.
    DWORD guiGdiObjects = 0;
    DWORD guiUserObjects = 0;
    DWORD handleCount = 0;
};

// process needs query and read access; a count that cannot be read stays -1.
ProcessResources MeasureResources(HANDLE process);

std::string Describe(const ProcessResources& resources);
