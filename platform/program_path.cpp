#include "platform/program_path.h"

#include <cstdint>

bool ReadProgramPath(Module& module, char16_t (&path)[PROGRAM_PATH_SIZE]) {
    constexpr auto size = static_cast<std::uint32_t>(PROGRAM_PATH_SIZE);
    const std::uint32_t length = module.FileName(path, size);
    if (length == 0 || length >= size) {
        path[0] = u'\0';
        return false;
    }
    path[length] = u'\0';
    return true;
}
