#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace {

class ModuleApi final : public Module {
public:
    std::uint32_t FileName(char* buffer, std::uint32_t size) override {
        return GetModuleFileNameA(nullptr, buffer, size);
    }
};

}  // namespace

Module& Win32Module() {
    static ModuleApi module;
    return module;
}
