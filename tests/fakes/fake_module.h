// A program file at a chosen path, answered as GetModuleFileNameW would,
// and a process token of a chosen kind.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/module.h"

class FakeModule final : public Module {
public:
    std::u16string path = u"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe";
    bool fails = false;
    // An administrator with UAC on, as Windows sets up its first account.
    ElevationType elevation = ElevationType::Limited;

    ElevationType Elevation() override { return elevation; }

    std::uint32_t FileName(char16_t* buffer, std::uint32_t size) override {
        if (fails || size == 0) {
            return 0;
        }
        // Like Vista and later: a path that does not fit is cut, terminated,
        // and reported with the buffer's full size.
        const auto length = static_cast<std::uint32_t>(path.size());
        const std::uint32_t copied = std::min(length, size - 1);
        std::copy_n(path.data(), copied, buffer);
        buffer[copied] = u'\0';
        return length < size ? length : size;
    }
};
