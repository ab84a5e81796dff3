#include <windows.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace {

// Room for the value names the program writes.
constexpr std::size_t VALUE_NAME_SIZE = 64;

static_assert(RESULT_SUCCESS == ERROR_SUCCESS);
static_assert(RESULT_FILE_NOT_FOUND == ERROR_FILE_NOT_FOUND);
static_assert(RESULT_ACCESS_DENIED == ERROR_ACCESS_DENIED);
static_assert(RESULT_INVALID_HANDLE == ERROR_INVALID_HANDLE);
static_assert(RESULT_INVALID_PARAMETER == ERROR_INVALID_PARAMETER);
static_assert(RESULT_ALREADY_EXISTS == ERROR_ALREADY_EXISTS);
static_assert(RESULT_MORE_DATA == ERROR_MORE_DATA);
static_assert(static_cast<REGSAM>(RegAccess::Read) == KEY_READ);
static_assert(static_cast<REGSAM>(RegAccess::Write) == KEY_WRITE);
static_assert(static_cast<REGSAM>(RegAccess::AllAccess) == KEY_ALL_ACCESS);
static_assert(static_cast<DWORD>(RegType::String) == REG_SZ);
static_assert(static_cast<DWORD>(RegType::Dword) == REG_DWORD);
static_assert(sizeof(RegKeyId) == sizeof(HKEY));

HKEY ToHkey(RegKeyId key) {
    return reinterpret_cast<HKEY>(key);
}

class RegistryApi final : public Registry {
public:
    RegStatus OpenKey(const char* path, RegAccess access, RegKeyId* key) override {
        HKEY opened = nullptr;
        const LONG status =
            RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, static_cast<REGSAM>(access), &opened);
        *key = reinterpret_cast<RegKeyId>(opened);
        return status;
    }

    RegStatus CreateKey(const char* path, RegAccess access, RegKeyId* key) override {
        HKEY created = nullptr;
        const LONG status =
            RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            static_cast<REGSAM>(access), nullptr, &created, nullptr);
        *key = reinterpret_cast<RegKeyId>(created);
        return status;
    }

    RegStatus QueryValue(RegKeyId key, const char* name, void* data, std::uint32_t* size) override {
        DWORD bytes = *size;
        const LONG status =
            RegQueryValueExA(ToHkey(key), name, nullptr, nullptr, static_cast<BYTE*>(data), &bytes);
        *size = bytes;
        return status;
    }

    RegStatus SetValue(RegKeyId key, const char* name, RegType type, const void* data,
                       std::uint32_t size) override {
        return RegSetValueExA(ToHkey(key), name, 0, static_cast<DWORD>(type),
                              static_cast<const BYTE*>(data), size);
    }

    RegStatus SetWideString(RegKeyId key, const char* name, const char16_t* text,
                            std::uint32_t size) override {
        wchar_t wideName[VALUE_NAME_SIZE];
        if (!WidenAscii(name, wideName)) {
            return RESULT_INVALID_PARAMETER;
        }
        return RegSetValueExW(ToHkey(key), wideName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                              size);
    }

    RegStatus DeleteValue(RegKeyId key, const char* name) override {
        return RegDeleteValueA(ToHkey(key), name);
    }

    void CloseKey(RegKeyId key) override { RegCloseKey(ToHkey(key)); }
};

}  // namespace

Registry& Win32Registry() {
    static RegistryApi registry;
    return registry;
}
