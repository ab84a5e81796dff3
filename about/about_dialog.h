// The About box: the program's icon, name and version, the home-page
// address as a link, the legal notice and OK.
#pragma once

#include <windows.h>

#include "res/resource.h"

// The dialog procedure of the About template: TRUE for the messages it
// handles. OK (also Enter) ends the dialog with IDOK, Esc with IDCANCEL.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
