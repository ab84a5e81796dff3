#include "tests/fakes/fake_registry.h"

#include <cstring>

#include "tests/fakes/fake_misuse.h"
#include "tests/fakes/utf16.h"

namespace {

std::uint32_t FourBytes(const std::vector<std::uint8_t>& data) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8 | data[i];
    }
    return value;
}

}  // namespace

const char* AccessName(RegAccess access) {
    switch (access) {
        case RegAccess::Read:
            return "read";
        case RegAccess::Write:
            return "write";
        case RegAccess::AllAccess:
            return "all";
    }
    return "other";
}

void FakeRegistry::PutDword(const std::string& path, const std::string& name, std::uint32_t value) {
    PutRaw(path, name, static_cast<std::uint32_t>(RegType::Dword),
           {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void FakeRegistry::PutRaw(const std::string& path, const std::string& name, std::uint32_t type,
                          std::vector<std::uint8_t> data) {
    keys[path].values[name] = Value{type, std::move(data)};
}

const FakeRegistry::Value* FakeRegistry::Find(const std::string& path,
                                              const std::string& name) const {
    const auto key = keys.find(path);
    if (key == keys.end()) {
        return nullptr;
    }
    const auto value = key->second.values.find(name);
    return value != key->second.values.end() ? &value->second : nullptr;
}

std::optional<std::uint32_t> FakeRegistry::Dword(const std::string& path,
                                                 const std::string& name) const {
    const Value* value = Find(path, name);
    if (value == nullptr || value->type != static_cast<std::uint32_t>(RegType::Dword) ||
        value->data.size() != 4) {
        return std::nullopt;
    }
    return FourBytes(value->data);
}

std::string Describe(const FakeRegistry::Value& value) {
    const auto& data = value.data;
    if (value.type == static_cast<std::uint32_t>(RegType::Dword) && data.size() == 4) {
        return "dword " + std::to_string(FourBytes(data));
    }
    if (value.type == static_cast<std::uint32_t>(RegType::String) && value.wide &&
        data.size() % 2 == 0) {
        std::u16string text;
        for (std::size_t i = 0; i < data.size(); i += 2) {
            text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
        }
        const bool terminated = !text.empty() && text.back() == u'\0';
        if (terminated) {
            text.pop_back();
        }
        return "wsz \"" + Utf8(text) + "\"" + (terminated ? "" : " unterminated");
    }
    if (value.type == static_cast<std::uint32_t>(RegType::String)) {
        std::string text(data.begin(), data.end());
        const bool terminated = !text.empty() && text.back() == '\0';
        if (terminated) {
            text.pop_back();
        }
        return "sz \"" + text + "\"" + (terminated ? "" : " unterminated");
    }
    return "type " + std::to_string(value.type) + " size " + std::to_string(data.size());
}

RegKeyId FakeRegistry::Issue(const std::string& path) {
    const RegKeyId id = next_++;
    open_[id] = path;
    return id;
}

const std::string* FakeRegistry::PathOf(RegKeyId key, const char* operation) {
    const auto found = open_.find(key);
    if (found == open_.end()) {
        ReportFakeMisuse(std::string(operation) + " on key " + std::to_string(key) +
                         ", which is not open");
        return nullptr;
    }
    return &found->second;
}

RegStatus FakeRegistry::OpenKey(const char* path, RegAccess access, RegKeyId* key) {
    log_.Add(std::string("OpenKey ") + path + " " + AccessName(access));
    *key = 0;
    const Faults& fault = faults[path];
    const std::optional<RegStatus>& forced =
        access == RegAccess::Read ? fault.openForRead : fault.openForWrite;
    if (forced) {
        return *forced;
    }
    if (keys.count(path) == 0) {
        return RESULT_FILE_NOT_FOUND;
    }
    *key = Issue(path);
    return RESULT_SUCCESS;
}

RegStatus FakeRegistry::CreateKey(const char* path, RegAccess access, RegKeyId* key) {
    log_.Add(std::string("CreateKey ") + path + " " + AccessName(access));
    *key = 0;
    if (const std::optional<RegStatus> forced = faults[path].create) {
        return *forced;
    }
    keys[path];
    *key = Issue(path);
    return RESULT_SUCCESS;
}

RegStatus FakeRegistry::QueryValue(RegKeyId key, const char* name, void* data,
                                   std::uint32_t* size) {
    const std::string* path = PathOf(key, "QueryValue");
    log_.Add(std::string("QueryValue ") + name);
    if (path == nullptr) {
        return RESULT_INVALID_HANDLE;
    }
    if (faults[*path].unreadable.count(name) > 0) {
        return RESULT_ACCESS_DENIED;
    }
    const Value* value = Find(*path, name);
    if (value == nullptr) {
        return RESULT_FILE_NOT_FOUND;
    }
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    if (needed > *size) {
        *size = needed;
        return RESULT_MORE_DATA;
    }
    if (needed > 0) {
        std::memcpy(data, value->data.data(), needed);
    }
    *size = needed;
    return RESULT_SUCCESS;
}

RegStatus FakeRegistry::SetValue(RegKeyId key, const char* name, RegType type, const void* data,
                                 std::uint32_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return Store(
        key, name,
        Value{static_cast<std::uint32_t>(type), std::vector<std::uint8_t>(bytes, bytes + size)});
}

RegStatus FakeRegistry::SetWideString(RegKeyId key, const char* name, const char16_t* text,
                                      std::uint32_t size) {
    // The bytes as they lie in memory on Windows, where UTF-16 is little-endian.
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t i = 0; i < size; ++i) {
        const char16_t unit = text[i / 2];
        bytes.push_back(static_cast<std::uint8_t>(i % 2 == 0 ? unit : unit >> 8));
    }
    return Store(key, name,
                 Value{static_cast<std::uint32_t>(RegType::String), std::move(bytes), true});
}

RegStatus FakeRegistry::Store(RegKeyId key, const char* name, Value value) {
    const std::string* path = PathOf(key, "SetValue");
    log_.Add(std::string("SetValue ") + name + " " + Describe(value));
    if (path == nullptr) {
        return RESULT_INVALID_HANDLE;
    }
    if (const std::optional<RegStatus> forced = faults[*path].setValue) {
        return *forced;
    }
    keys[*path].values[name] = std::move(value);
    return RESULT_SUCCESS;
}

RegStatus FakeRegistry::DeleteValue(RegKeyId key, const char* name) {
    const std::string* path = PathOf(key, "DeleteValue");
    log_.Add(std::string("DeleteValue ") + name);
    if (path == nullptr) {
        return RESULT_INVALID_HANDLE;
    }
    return keys[*path].values.erase(name) > 0 ? RESULT_SUCCESS : RESULT_FILE_NOT_FOUND;
}

void FakeRegistry::CloseKey(RegKeyId key) {
    const std::string* path = PathOf(key, "CloseKey");
    log_.Add("CloseKey " + (path != nullptr ? *path : std::string("<not open>")));
    open_.erase(key);
}
