#include "platform/win32/win32_platform.h"

Platform& Win32Platform() {
    static Platform platform = {Win32Desktop(), Win32Registry(), Win32Shell(),
                                Win32Module(),  Win32HotKeys(),  Win32WindowEvents()};
    return platform;
}
