// An owned registry key and the few value operations the program performs.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/registry.h"

// Owns one open key and closes it when it goes; moves, never copies.
class RegKey {
public:
    RegKey() = default;
    RegKey(Registry& registry, RegKeyId id) : registry_(&registry), id_(id) {}
    ~RegKey() { Close(); }

    RegKey(RegKey&& other) noexcept : registry_(other.registry_), id_(other.id_) { other.id_ = 0; }
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    explicit operator bool() const { return id_ != 0; }
    Registry& registry() const { return *registry_; }
    RegKeyId id() const { return id_; }

private:
    void Close();

    Registry* registry_ = nullptr;
    RegKeyId id_ = 0;
};

// Opens an existing key. The result is empty when the open fails; *status
// (when given) receives the platform's status either way.
RegKey OpenRegKey(Registry& registry, const char* path, RegAccess access,
                  RegStatus* status = nullptr);

// Opens a key for writing with full access and, when that fails, creates it
// with createAccess. *status receives the status of the open when it
// succeeded, else that of the creation.
RegKey OpenOrCreateRegKey(Registry& registry, const char* path, RegAccess createAccess,
                          RegStatus* status = nullptr);

// Reads a value into a 4-byte buffer, whatever its type. Shorter data reads
// as its bytes zero-extended; longer data cannot be read. Empty when the
// value is absent or unreadable.
std::optional<std::uint32_t> ReadDword(const RegKey& key, const char* name);

// Writes a 4-byte little-endian REG_DWORD.
RegStatus WriteDword(const RegKey& key, const char* name, std::uint32_t value);
