// A link as the rest of its process sees it: the window property that names
// its object, the colours its parent gives its text and the font it shows
// under the pointer.
#pragma once

#include <windows.h>

inline constexpr char LINK_PROPERTY_NAME[] =
    "_Hyperlink_Object_Pointer_\\{AFEED740-CC6D-47c5-831D-9848FD916EEF}";
inline constexpr COLORREF LINK_COLOUR = RGB(0, 0, 255);
inline constexpr COLORREF VISITED_COLOUR = RGB(128, 0, 128);

// The data of the window's property named by the links' atom, or null. The
// enumeration hands a property's name over as text, or as the atom itself.
inline HANDLE LinkProperty(HWND window) {
    HANDLE found = nullptr;
    EnumPropsExA(
        window,
        [](HWND /*window*/, LPSTR name, HANDLE data, ULONG_PTR result) -> BOOL {
            char atomName[sizeof LINK_PROPERTY_NAME + 1] = {};
            const char* text = name;
            if (IS_INTRESOURCE(name)) {
                GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name)), atomName,
                                   sizeof atomName);
                text = atomName;
            }
            if (lstrcmpA(text, LINK_PROPERTY_NAME) != 0) {
                return TRUE;
            }
            *reinterpret_cast<HANDLE*>(result) = data;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The font a link shows under the pointer, which all live links share: a
// first move over the link starts a hover, which losing the capture ends.
inline HFONT FontUnderPointer(HWND link) {
    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    const auto font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    if (GetCapture() == link) {
        ReleaseCapture();
    }
    return font;
}
