#include "platform/reg_key.h"

#include <cstddef>

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        registry_ = other.registry_;
        id_ = other.id_;
        other.id_ = 0;
    }
    return *this;
}

void RegKey::Close() {
    if (id_ != 0) {
        registry_->CloseKey(id_);
        id_ = 0;
    }
}

RegKey OpenRegKey(Registry& registry, const char* path, RegAccess access, RegStatus* status) {
    RegKeyId id = 0;
    const RegStatus result = registry.OpenKey(path, access, &id);
    if (status != nullptr) {
        *status = result;
    }
    return result == RESULT_SUCCESS && id != 0 ? RegKey(registry, id) : RegKey();
}

RegKey OpenOrCreateRegKey(Registry& registry, const char* path, RegAccess createAccess,
                          RegStatus* status) {
    RegStatus result = RESULT_SUCCESS;
    RegKey key = OpenRegKey(registry, path, RegAccess::AllAccess, &result);
    if (!key) {
        RegKeyId id = 0;
        result = registry.CreateKey(path, createAccess, &id);
        if (result == RESULT_SUCCESS && id != 0) {
            key = RegKey(registry, id);
        }
    }
    if (status != nullptr) {
        *status = result;
    }
    return key;
}

std::optional<std::uint32_t> ReadDword(const RegKey& key, const char* name) {
    constexpr std::uint32_t DWORD_SIZE = 4;
    if (!key) {
        return std::nullopt;
    }
    unsigned char bytes[DWORD_SIZE] = {};
    std::uint32_t size = DWORD_SIZE;
    if (key.registry().QueryValue(key.id(), name, bytes, &size) != RESULT_SUCCESS) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = DWORD_SIZE; i-- > 0;) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

RegStatus WriteDword(const RegKey& key, const char* name, std::uint32_t value) {
    if (!key) {
        return RESULT_INVALID_HANDLE;
    }
    const unsigned char bytes[] = {
        static_cast<unsigned char>(value),
        static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16),
        static_cast<unsigned char>(value >> 24),
    };
    return key.registry().SetValue(key.id(), name, RegType::Dword, bytes, sizeof bytes);
}
