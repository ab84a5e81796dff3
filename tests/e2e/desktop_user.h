// Acting on the desktop as a user, Wine's or Windows' alike: real key
// presses and mouse clicks through SendInput, and what the user sees.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Presses a key combination, as "ctrl+shift+a", "super+x", "Escape" or
// "Return" name it, `times` times with a rest between two; the keys go down
// in order and up in reverse. False for a name it does not know, or when the
// system took not every key.
bool PressKeys(const std::string& keys, int times = 1, DWORD restMs = 0);

// Whether some program holds the combination as a hot key, so that this
// process may not register it: Windows holds most Win letters itself.
bool HeldElsewhere(const std::string& keys);

enum class MouseButton { Left, Right };

// Moves the pointer to a point of the primary screen, at once, or as a hand
// does, through the points between, and clicks there.
bool MovePointer(POINT to);
bool GlidePointer(POINT to);
bool Click(POINT at, MouseButton button = MouseButton::Left);

// Presses a combination that this process holds as a hot key and returns
// once its WM_HOTKEY has come. The desktop reads key presses in order, so
// every key pressed before has then been read, and every hot key it stood
// for posted to its owner. False if it did not come within the time.
bool KeyPressesRead();

// The program's icons in the notification area, found where the shell says
// they are (Shell_NotifyIconGetRect) or, where it does not answer (Wine), in
// the icon slots at the right end of the taskbar: the first icon there, each
// further one 20 pixels to its left.
int ProgramIcons();
// The centre of the program's icon; empty when the shell shows none.
std::optional<POINT> ProgramIconCentre();
// The centre of Wine's icon slot with that index, 0 the rightmost.
POINT WineIconSlot(int index);
inline bool ProgramIconShows() {
    return ProgramIcons() > 0;
}
// Clicks the icon as a single click. The taskbar takes a press within the
// double-click time of its last one, at the same place, as a double click,
// which opens no icon's menu; so a click within that time of the last one,
// made by any scenario, waits until the time has passed.
bool ClickProgramIcon(MouseButton button);

// The open pop-up menu, or null.
HWND OpenMenu();
// The centre of the item at that position of the open menu, separators
// counted. Windows' menus say where their items are; Wine keeps a menu's
// handle to its own process, so there it follows from the menu's frame and
// its rows, given as "ii-i" (an item, an item, a separator, an item).
POINT MenuItemCentre(HWND menu, UINT position, const char* rows);

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
