// An in-memory HKEY_CURRENT_USER with injectable failures. Paths compare
// exactly, as the code only ever uses its own constants.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "tests/fakes/call_log.h"

class FakeRegistry final : public Registry {
public:
    explicit FakeRegistry(CallLog& log) : log_(log) {}

    struct Value {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        bool wide = false;  // written by the wide function: data is UTF-16LE
    };
    struct Key {
        std::map<std::string, Value> values;
    };

    // Statuses forced on a key path, for faults Wine cannot produce.
    struct Faults {
        std::optional<RegStatus> openForRead = std::nullopt;
        std::optional<RegStatus> openForWrite = std::nullopt;  // any access other than KEY_READ
        std::optional<RegStatus> create = std::nullopt;
        std::optional<RegStatus> setValue = std::nullopt;
        std::set<std::string> unreadable = {};  // values whose reads are denied
    };

    std::map<std::string, Key> keys;
    std::map<std::string, Faults> faults;

    void PutDword(const std::string& path, const std::string& name, std::uint32_t value);
    void PutRaw(const std::string& path, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> data);
    // The stored value as a REG_DWORD, or empty when absent or of another shape.
    std::optional<std::uint32_t> Dword(const std::string& path, const std::string& name) const;
    const Value* Find(const std::string& path, const std::string& name) const;
    // Keys opened or created and not yet closed.
    std::size_t OpenHandles() const { return open_.size(); }

    RegStatus OpenKey(const char* path, RegAccess access, RegKeyId* key) override;
    RegStatus CreateKey(const char* path, RegAccess access, RegKeyId* key) override;
    RegStatus QueryValue(RegKeyId key, const char* name, void* data, std::uint32_t* size) override;
    RegStatus SetValue(RegKeyId key, const char* name, RegType type, const void* data,
                       std::uint32_t size) override;
    RegStatus SetWideString(RegKeyId key, const char* name, const char16_t* text,
                            std::uint32_t size) override;
    RegStatus DeleteValue(RegKeyId key, const char* name) override;
    void CloseKey(RegKeyId key) override;

private:
    RegKeyId Issue(const std::string& path);
    RegStatus Store(RegKeyId key, const char* name, Value value);
    const std::string* PathOf(RegKeyId key, const char* operation);

    CallLog& log_;
    std::map<RegKeyId, std::string> open_;
    RegKeyId next_ = 0x100;
};

const char* AccessName(RegAccess access);
// "dword 1", "sz \"text\"", "wsz \"text\"" for text written wide, in UTF-8
// (noting a missing terminator), or the type and size.
std::string Describe(const FakeRegistry::Value& value);
