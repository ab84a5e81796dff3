// The registry under HKEY_CURRENT_USER, speaking the platform's own status
// numbers so that decisions can test for them exactly as documented.
#pragma once

#include <cstdint>

// A platform status code (winerror.h numbering); 0 is success.
using RegStatus = std::int32_t;

constexpr RegStatus RESULT_SUCCESS = 0;
constexpr RegStatus RESULT_FILE_NOT_FOUND = 2;
constexpr RegStatus RESULT_ACCESS_DENIED = 5;
constexpr RegStatus RESULT_INVALID_HANDLE = 6;
constexpr RegStatus RESULT_INVALID_PARAMETER = 87;
constexpr RegStatus RESULT_ALREADY_EXISTS = 183;
constexpr RegStatus RESULT_MORE_DATA = 234;

enum class RegAccess : std::uint32_t {
    Read = 0x20019,       // KEY_READ
    Write = 0x20006,      // KEY_WRITE
    AllAccess = 0xF003F,  // KEY_ALL_ACCESS
};

enum class RegType : std::uint32_t {
    String = 1,  // REG_SZ
    Dword = 4,   // REG_DWORD
};

// An open key as the platform hands it out; 0 is no key.
using RegKeyId = std::uintptr_t;

class Registry {
public:
    // Keys are paths under HKEY_CURRENT_USER. On success *key holds an open key.
    virtual RegStatus OpenKey(const char* path, RegAccess access, RegKeyId* key) = 0;
    // Creates a non-volatile key with default security, or opens it if it exists.
    virtual RegStatus CreateKey(const char* path, RegAccess access, RegKeyId* key) = 0;
    // Reads at most *size bytes into data; the value's type is not reported.
    // On success *size holds the byte count; data too long gives RESULT_MORE_DATA.
    virtual RegStatus QueryValue(RegKeyId key, const char* name, void* data,
                                 std::uint32_t* size) = 0;
    virtual RegStatus SetValue(RegKeyId key, const char* name, RegType type, const void* data,
                               std::uint32_t size) = 0;
    // Writes a REG_SZ through the wide function, so that text the ANSI code
    // page cannot spell is stored whole: text in UTF-16, size in bytes with
    // the terminator. The name is the program's own ASCII.
    virtual RegStatus SetWideString(RegKeyId key, const char* name, const char16_t* text,
                                    std::uint32_t size) = 0;
    virtual RegStatus DeleteValue(RegKeyId key, const char* name) = 0;
    virtual void CloseKey(RegKeyId key) = 0;

protected:
    ~Registry() = default;
};
