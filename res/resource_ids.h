// Numeric resource ids; every resource is loaded by number.
#pragma once

#include <cstdint>

constexpr std::uint16_t IDS_WINDOW_TITLE = 103;  // "Shelf Cloak"
constexpr std::uint16_t IDS_WINDOW_CLASS = 109;  // "SHELFCLOAK"
constexpr std::uint16_t IDI_PROGRAM_ICON = 107;
constexpr std::uint16_t IDI_SMALL_ICON = 108;
constexpr std::uint16_t IDR_TRAY_MENU = 129;
constexpr std::uint16_t IDD_ABOUT = 102;
constexpr std::uint16_t IDD_SETTINGS = 130;
