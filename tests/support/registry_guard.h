// Restores one registry value under HKEY_CURRENT_USER to what it was when
// the guard was made, including its absence and that of its keys.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RegistryValueGuard {
public:
    RegistryValueGuard(std::string keyPath, std::string valueName);
    ~RegistryValueGuard();
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

private:
    std::string keyPath_;
    std::string valueName_;
    std::string firstMissingKey_;  // the outermost key a test may create; empty when all exist
    bool keyExisted_ = false;
    bool valueExisted_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// Restores a whole key under HKEY_CURRENT_USER (its values; it has no
// subkeys) to what it was when the guard was made, including its absence.
class RegistryKeyGuard {
public:
    explicit RegistryKeyGuard(std::string keyPath);
    ~RegistryKeyGuard();
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;

private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::string keyPath_;
    std::string firstMissingKey_;
    bool existed_ = false;
    std::vector<Value> values_;
};

// Writes a REG_DWORD under HKEY_CURRENT_USER, creating the key; false on failure.
bool PutDword(const char* keyPath, const char* name, DWORD value);

// Deletes a key under HKEY_CURRENT_USER with everything below it.
void DeleteKeyTree(const char* keyPath);
