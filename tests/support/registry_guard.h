// Reading, writing and restoring what the program keeps under
// HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <initializer_list>
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

// What a locked key still grants the user. Both locks keep WRITE_DAC and
// DELETE for everyone: without them the key could never be unlocked or
// removed from the prefix again.
enum class KeyLock {
    ReadOnly,  // KEY_READ opens; KEY_ALL_ACCESS opens and creations are refused
    Closed,    // every open the program makes, and every creation, is refused
};

// Gives a key under HKEY_CURRENT_USER a DACL that refuses the user, as an
// organisation's policy or a broken profile does, for as long as it lives,
// and gives the key its own DACL back when it goes. It creates the key when
// missing; a guard of that key or value made before the lock removes it.
class RegistryKeyLock {
public:
    RegistryKeyLock(std::string keyPath, KeyLock lock);
    ~RegistryKeyLock();
    RegistryKeyLock(const RegistryKeyLock&) = delete;
    RegistryKeyLock& operator=(const RegistryKeyLock&) = delete;

    // Whether the key now refuses exactly what the lock says.
    bool Holds() const { return holds_; }

private:
    std::string keyPath_;
    std::vector<BYTE> ownDacl_;  // the key's own security descriptor, DACL part
    bool holds_ = false;
};

// Gives keys that a run which crashed while a lock held left locked full
// access back, and leaves the others alone. Made before the guards of those
// keys, so that they can read them.
struct LeftoverLocksUndone {
    LeftoverLocksUndone(std::initializer_list<const char*> keyPaths);
};

// Writes a value of any type and bytes, a REG_DWORD or a REG_SZ under
// HKEY_CURRENT_USER, creating the key; false on failure.
bool PutValue(const char* keyPath, const char* name, DWORD type, const std::string& bytes);
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
// Only REG_SZ text, read with the wide functions and given in UTF-8; empty
// for anything else.
std::optional<std::string> ReadString(const char* keyPath, const char* name);
bool KeyExists(const char* keyPath);

// Deletes a key under HKEY_CURRENT_USER with everything below it.
void DeleteKeyTree(const char* keyPath);
