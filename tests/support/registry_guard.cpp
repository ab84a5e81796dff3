#include "tests/support/registry_guard.h"

namespace {

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// The shortest leading part of path that names no existing key, or "".
std::string FirstMissingKey(const std::string& path) {
    for (std::size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
        const std::string part = path.substr(0, end);
        if (!KeyExists(part)) {
            return part;
        }
        if (end == std::string::npos) {
            return "";
        }
    }
}

}  // namespace

RegistryValueGuard::RegistryValueGuard(std::string keyPath, std::string valueName)
    : keyPath_(std::move(keyPath)),
      valueName_(std::move(valueName)),
      firstMissingKey_(FirstMissingKey(keyPath_)) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    keyExisted_ = true;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName_.c_str(), nullptr, &type_, nullptr, &size) ==
        ERROR_SUCCESS) {
        data_.resize(size);
        valueExisted_ = RegQueryValueExA(key, valueName_.c_str(), nullptr, &type_, data_.data(),
                                         &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
    RegCloseKey(key);
}

RegistryValueGuard::~RegistryValueGuard() {
    if (!keyExisted_) {
        if (!firstMissingKey_.empty()) {
            DeleteKeyTree(firstMissingKey_.c_str());
        }
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    if (valueExisted_) {
        RegSetValueExA(key, valueName_.c_str(), 0, type_, data_.data(),
                       static_cast<DWORD>(data_.size()));
    } else {
        RegDeleteValueA(key, valueName_.c_str());
    }
    RegCloseKey(key);
}

void DeleteKeyTree(const char* keyPath) {
    // An empty path would name the whole hive.
    if (keyPath != nullptr && keyPath[0] != '\0') {
        RegDeleteTreeA(HKEY_CURRENT_USER, keyPath);
    }
}

RegistryKeyGuard::RegistryKeyGuard(std::string keyPath)
    : keyPath_(std::move(keyPath)), firstMissingKey_(FirstMissingKey(keyPath_)) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    existed_ = true;
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            break;
        }
        Value value{name, type, std::vector<BYTE>(size)};
        DWORD read = size;
        RegQueryValueExA(key, name, nullptr, nullptr, value.data.data(), &read);
        values_.push_back(std::move(value));
    }
    RegCloseKey(key);
}

RegistryKeyGuard::~RegistryKeyGuard() {
    if (!existed_) {
        DeleteKeyTree(firstMissingKey_.c_str());
        return;
    }
    DeleteKeyTree(keyPath_.c_str());
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    for (const Value& value : values_) {
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    }
    RegCloseKey(key);
}

bool PutDword(const char* keyPath, const char* name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool written =
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}
