// The About box: the program's icon, name and version, the home-page
// address as a link, the legal notice and OK.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr std::uint16_t IDC_HOME_PAGE = 1001;  // the static that becomes the link
// The project's home page: the text the template gives IDC_HOME_PAGE, and
// the link's target.
inline constexpr char HOME_PAGE_ADDRESS[] = "www.shelfcloak.example";

// The dialog procedure of the About template: TRUE for the messages it
// handles. OK (also Enter) ends the dialog with IDOK, Esc with IDCANCEL.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
