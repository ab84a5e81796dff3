// The Settings dialog: the hot key, Force and start at logon.
#pragma once

#include <windows.h>

#include "res/resource.h"

// The dialog procedure of the Settings template: TRUE for the messages it
// handles. OK ends the dialog with IDOK, unless the system refuses the
// chosen hot key; Cancel (also Esc and the close box) with IDCANCEL.
INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
