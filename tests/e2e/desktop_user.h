// Acting on the Wine desktop as a user: real mouse and keyboard input from
// the X server, and what the user sees on the screen.
#pragma once

#include <windows.h>

#include <string>

// Runs an xdotool command on the desktop's X display and returns once it
// has finished (false if it did not within the time).
bool Xdotool(const std::string& arguments, DWORD timeoutMs = 10000);

// Notification-area icon slots: the first icon sits at the right end of the
// taskbar, each further one 20 pixels to its left.
POINT TraySlot(int index);
// Whether an icon is drawn in that slot.
bool TrayIconAt(int index);

// The open pop-up menu, or null.
HWND OpenMenu();
// The centre of an item of an open menu of `items` items and `separators`
// separators, below `itemsAbove` items and `separatorsAbove` separators.
// The item height follows from the menu's height, as it depends on the font.
POINT MenuItemCentre(HWND menu, int itemsAbove, int separatorsAbove, int items, int separators);

// The visible dialog box with that caption, or null; how many there are.
HWND FindDialog(const char* caption);
int CountDialogs(const char* caption);
// Where a user clicks a dialog's control, its caption, its close box.
POINT ControlCentre(HWND dialog, int id);
POINT CaptionPoint(HWND dialog);
POINT CloseBoxCentre(HWND dialog);

// Saves the screen area as a PNG under the tests' artifact folder; the path
// written, or empty on failure.
std::string SaveArtifact(const RECT& area, const std::string& name);
