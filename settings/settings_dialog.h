// The Settings dialog: the hot key, Force and start at logon.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr std::uint16_t IDC_STARTUP = 1000;
constexpr std::uint16_t IDC_CTRLSHIFT_KEY = 1004;
constexpr std::uint16_t IDC_WIN_KEY = 1005;
constexpr std::uint16_t IDC_CTRLSHIFT_RADIO = 1006;
constexpr std::uint16_t IDC_WIN_RADIO = 1007;
constexpr std::uint16_t IDC_FORCE = 1008;

// The dialog procedure of the Settings template: TRUE for the messages it
// handles. OK ends the dialog with IDOK, Cancel (also Esc and the close box)
// with IDCANCEL.
INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
