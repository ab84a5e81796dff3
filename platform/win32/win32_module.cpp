#include <windows.h>

#include "platform/win32/owned.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace {

static_assert(static_cast<TOKEN_ELEVATION_TYPE>(ElevationType::Default) ==
              TokenElevationTypeDefault);
static_assert(static_cast<TOKEN_ELEVATION_TYPE>(ElevationType::Full) == TokenElevationTypeFull);
static_assert(static_cast<TOKEN_ELEVATION_TYPE>(ElevationType::Limited) ==
              TokenElevationTypeLimited);

class ModuleApi final : public Module {
public:
    std::uint32_t FileName(char16_t* buffer, std::uint32_t size) override {
        return GetModuleFileNameW(nullptr, AsWide(buffer), size);
    }

    ElevationType Elevation() override {
        HANDLE opened = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) {
            return ElevationType::Unknown;
        }
        const OwnedHandle token(opened);
        TOKEN_ELEVATION_TYPE type = {};
        DWORD size = 0;
        if (!GetTokenInformation(token.get(), TokenElevationType, &type, sizeof type, &size) ||
            size != sizeof type) {
            return ElevationType::Unknown;
        }
        switch (type) {
            case TokenElevationTypeDefault:
                return ElevationType::Default;
            case TokenElevationTypeFull:
                return ElevationType::Full;
            case TokenElevationTypeLimited:
                return ElevationType::Limited;
        }
        return ElevationType::Unknown;
    }
};

}  // namespace

Module& Win32Module() {
    static ModuleApi module;
    return module;
}
