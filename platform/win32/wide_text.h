// Text for the platform's wide functions. UTF-16 crosses the seam as
// char16_t, which is wchar_t's size on Windows alone (it is 4 bytes on the
// host where the unit tests also run).
#pragma once

#include <windows.h>

#include <cstddef>

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* AsWide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

inline wchar_t* AsWide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}

// The program's own ASCII texts (a verb, switches, a value name) widened
// into a fixed buffer; false, with nothing to use, when one does not fit.
template <std::size_t Size>
bool WidenAscii(const char* text, wchar_t (&wide)[Size]) {
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(Size)) != 0;
}
