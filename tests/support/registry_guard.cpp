#include "tests/support/registry_guard.h"

#include <sddl.h>

#include "tests/support/wide_text.h"

namespace {

// The shortest leading part of path that names no existing key, or "".
std::string FirstMissingKey(const std::string& path) {
    for (std::size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
        const std::string part = path.substr(0, end);
        if (!KeyExists(part.c_str())) {
            return part;
        }
        if (end == std::string::npos) {
            return "";
        }
    }
}

// The status of opening the key with that access; the key is closed again.
LONG OpenStatus(const char* keyPath, REGSAM access) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, access, &key);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    return status;
}

bool SetDacl(const char* keyPath, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        return false;
    }
    HKEY key = nullptr;
    bool set = false;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    return set;
}

void UndoLock(const char* keyPath) {
    if (OpenStatus(keyPath, KEY_ALL_ACCESS) == ERROR_ACCESS_DENIED) {
        SetDacl(keyPath, "D:P(A;;KA;;;WD)");
    }
}

}  // namespace

RegistryKeyLock::RegistryKeyLock(std::string keyPath, KeyLock lock) : keyPath_(std::move(keyPath)) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, READ_CONTROL, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    ownDacl_.resize(size);
    const bool read = size != 0 && RegGetKeySecurity(key, DACL_SECURITY_INFORMATION,
                                                     ownDacl_.data(), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!read) {
        ownDacl_.clear();
        return;
    }
    const bool readOnly = lock == KeyLock::ReadOnly;
    if (!SetDacl(keyPath_.c_str(), readOnly ? "D:P(A;;KRWDSD;;;WD)" : "D:P(A;;WDSD;;;WD)")) {
        return;
    }
    holds_ =
        OpenStatus(keyPath_.c_str(), KEY_ALL_ACCESS) == ERROR_ACCESS_DENIED &&
        OpenStatus(keyPath_.c_str(), KEY_READ) == (readOnly ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
}

RegistryKeyLock::~RegistryKeyLock() {
    if (ownDacl_.empty()) {
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, ownDacl_.data());
        RegCloseKey(key);
    }
    // Should the key's own DACL not give the access back, full access does.
    UndoLock(keyPath_.c_str());
}

LeftoverLocksUndone::LeftoverLocksUndone(std::initializer_list<const char*> keyPaths) {
    for (const char* keyPath : keyPaths) {
        UndoLock(keyPath);
    }
}

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

bool PutValue(const char* keyPath, const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool written =
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

bool PutDword(const char* keyPath, const char* name, DWORD value) {
    return PutValue(keyPath, name, REG_DWORD,
                    std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

bool PutString(const char* keyPath, const char* name, const std::string& text) {
    return PutValue(keyPath, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

std::optional<DWORD> StoredValue::Dword() const {
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    return static_cast<DWORD>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
}

std::optional<StoredValue> ReadValue(const char* keyPath, const char* name) {
    DWORD size = 0;
    StoredValue stored = {0, {}};
    if (RegGetValueA(HKEY_CURRENT_USER, keyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &stored.type,
                     nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    stored.data.resize(size);
    if (RegGetValueA(HKEY_CURRENT_USER, keyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &stored.type,
                     stored.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    stored.data.resize(size);
    return stored;
}

std::optional<DWORD> ReadDword(const char* keyPath, const char* name) {
    const std::optional<StoredValue> stored = ReadValue(keyPath, name);
    return stored ? stored->Dword() : std::nullopt;
}

std::optional<std::string> ReadString(const char* keyPath, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring wideName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (status == ERROR_SUCCESS) {
        status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(text.data()), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) {
        return std::nullopt;
    }
    return Utf8(text.substr(0, text.find(L'\0')));
}

bool KeyExists(const char* keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}
