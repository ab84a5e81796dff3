// The program hands paths to the platform in UTF-16; the fakes print them
// in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// UTF-16 to UTF-8; a surrogate without its pair becomes U+FFFD.
inline std::string Utf8(std::u16string_view utf16) {
    std::string text;
    for (std::size_t at = 0; at < utf16.size(); ++at) {
        char32_t code = utf16[at];
        if (code >= 0xD800 && code < 0xDC00 && at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00 &&
            utf16[at + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++at] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            text.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            text.push_back(static_cast<char>(0xC0 | code >> 6));
            text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            text.push_back(static_cast<char>(0xE0 | code >> 12));
            text.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            text.push_back(static_cast<char>(0xF0 | code >> 18));
            text.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return text;
}

// UTF-16 as the registry keeps it: little-endian bytes.
inline std::vector<std::uint8_t> Utf16Bytes(std::u16string_view utf16) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : utf16) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}
