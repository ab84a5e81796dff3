// Acting on the Wine desktop as a user: real mouse and keyboard input from
// the X server, and what the user sees on the screen.
#pragma once

#include <windows.h>

#include <string>

// Runs an xdotool command on the desktop's X display and returns once it
// has finished (false if it did not within the time).
bool Xdotool(const std::string& arguments, DWORD timeoutMs = 10000);

// Presses a combination that this process holds as a hot key and returns
// once its WM_HOTKEY has come. The desktop reads key presses in order, so
// every key pressed before has then been read, and every hot key it stood
// for posted to its owner. False if it did not come within the time.
bool KeyPressesRead();

// Notification-area icon slots: the first icon sits at the right end of the
// taskbar, each further one 20 pixels to its left.
POINT TraySlot(int index);
// Whether an icon is drawn in that slot.
bool TrayIconAt(int index);
// Clicks the icon in the slot as a single click. The taskbar takes a press
// within the double-click time of its last one, at the same place, as a
// double click, which opens no icon's menu; so a click within that time of
// the last one, made by any scenario, waits until the time has passed.
bool ClickTrayIcon(int index, int button);

// The open pop-up menu, or null.
HWND OpenMenu();
// The centre of an item of an open menu of `items` items and `separators`
// separators, below `itemsAbove` items and `separatorsAbove` separators.
// The item height follows from the menu's height, as it depends on the font.
POINT MenuItemCentre(HWND menu, int itemsAbove, int separatorsAbove, int items, int separators);

// The visible dialog box with that caption, or null; how many there are.
HWND FindDialog(const char* caption);
int CountDialogs(const char* caption);
// Whether the window shows, and it and every control in it have painted
// all there is to paint.
bool Painted(HWND window);
// Where a user clicks a dialog's control, its caption, its close box.
POINT ControlCentre(HWND dialog, int id);
POINT CaptionPoint(HWND dialog);
POINT CloseBoxCentre(HWND dialog);

// Saves the screen area as a PNG under the tests' artifact folder; the path
// written, or empty on failure.
std::string SaveArtifact(const RECT& area, const std::string& name);
