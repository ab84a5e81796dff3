// A classic (not extended) dialog template, read from a program's resources
// the way the dialog manager reads it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A name or an ordinal, as templates store menus, classes and titles.
struct NameOrOrdinal {
    bool ordinal = false;
    std::uint16_t number = 0;
    std::string name;  // ASCII texts only; others read as '?'

    friend bool operator==(const NameOrOrdinal&, const NameOrOrdinal&) = default;
};

struct DialogItem {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint16_t id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::uint16_t extraBytes = 0;
};

struct DialogTemplate {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::string caption;
    std::uint16_t pointSize = 0;
    std::string font;
    std::vector<DialogItem> items;
};

// Empty when the data is an extended template or ends early.
std::optional<DialogTemplate> ParseDialogTemplate(const std::vector<std::uint8_t>& data);

// The template resource of that id in US English, from a module loaded as
// data; empty when missing.
std::vector<std::uint8_t> DialogResource(HMODULE module, WORD id);

// Predefined window classes by ordinal.
constexpr std::uint16_t CLASS_BUTTON = 0x0080;
constexpr std::uint16_t CLASS_STATIC = 0x0082;
constexpr std::uint16_t CLASS_COMBOBOX = 0x0085;

NameOrOrdinal Ordinal(std::uint16_t number);
NameOrOrdinal Name(const char* name);
std::string ToText(const NameOrOrdinal& value);
// How the test framework prints one.
void PrintTo(const NameOrOrdinal& value, std::ostream* out);
