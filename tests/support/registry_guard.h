// Reading, writing and restoring what the program keeps under
// HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Restores one value to what it was when the guard was made, including its
// absence and that of its keys.
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

// Writes a REG_DWORD or REG_SZ under HKEY_CURRENT_USER, creating the key;
// false on failure.
bool PutDword(const char* keyPath, const char* name, DWORD value);
bool PutString(const char* keyPath, const char* name, const std::string& text);

// A value under HKEY_CURRENT_USER as it is stored.
struct StoredValue {
    DWORD type;
    std::vector<BYTE> data;

    // The number, only when the value is a 4-byte REG_DWORD.
    std::optional<DWORD> Dword() const;
};

// Empty when the value (or its key) is absent.
std::optional<StoredValue> ReadValue(const char* keyPath, const char* name);
// Only a 4-byte REG_DWORD; empty for anything else.
std::optional<DWORD> ReadDword(const char* keyPath, const char* name);
// Only REG_SZ text; empty for anything else.
std::optional<std::string> ReadString(const char* keyPath, const char* name);
bool KeyExists(const char* keyPath);

// Deletes a key under HKEY_CURRENT_USER with everything below it.
void DeleteKeyTree(const char* keyPath);
