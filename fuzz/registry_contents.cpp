#include "fuzz/registry_contents.h"

#include <string>

namespace {

constexpr const char* VALUE_NAMES[] = {
    "Force",
    "System",
    "StartUp",
    "WinKey",
    "CtrlShiftKey",
    "LastSeenTaskbarPosition",
    "ShCloak",
    "TaskbarNoMultimon",
    "",
    "Unknown",
    "StayHidden",
};

// REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD,
// REG_DWORD_BIG_ENDIAN, REG_LINK, REG_MULTI_SZ, REG_QWORD.
constexpr std::uint32_t VALUE_TYPES[] = {0, 1, 2, 3, 4, 5, 6, 7, 11};

constexpr std::uint8_t RAW = 0xF0;

std::optional<RegStatus> Status(FuzzInput& input) {
    switch (input.Byte() % 8) {
        case 3:
            return RESULT_FILE_NOT_FOUND;
        case 4:
            return RESULT_ACCESS_DENIED;
        case 5:
            return RESULT_INVALID_HANDLE;
        case 6:
            return RESULT_SUCCESS;
        case 7:
            return static_cast<RegStatus>(input.U32());
        default:
            return std::nullopt;
    }
}

std::string Name(FuzzInput& input) {
    const std::uint8_t choice = input.Byte();
    if (choice < RAW) {
        return VALUE_NAMES[choice % std::size(VALUE_NAMES)];
    }
    return input.Text(choice & 0x0F);
}

std::uint32_t Type(FuzzInput& input) {
    const std::uint8_t choice = input.Byte();
    return choice < RAW ? VALUE_TYPES[choice % std::size(VALUE_TYPES)] : input.U32();
}

std::size_t Length(FuzzInput& input) {
    const std::uint8_t choice = input.Byte();
    if (choice < RAW) {
        return choice % 12;
    }
    return choice < 0xFC ? input.U16() % 1024 : input.U16();
}

}  // namespace

void DecodeRegistry(FuzzInput& input, FakeRegistry& registry) {
    for (const char* path : FUZZED_KEYS) {
        if (input.Byte() % 2 != 0) {
            registry.keys[path];
        }
        FakeRegistry::Faults& faults = registry.faults[path];
        faults.openForRead = Status(input);
        faults.openForWrite = Status(input);
        faults.create = Status(input);
        faults.setValue = Status(input);
    }
    while (!input.Empty()) {
        const char* path = FUZZED_KEYS[input.Byte() % std::size(FUZZED_KEYS)];
        const std::string name = Name(input);
        const std::uint32_t type = Type(input);
        const std::size_t length = Length(input);
        registry.PutRaw(path, name, type, input.Bytes(length));
        if (input.Byte() % 2 != 0) {
            registry.faults[path].unreadable.insert(name);
        }
    }
}

bool KeyOpens(FakeRegistry& registry, const char* path, RegAccess access) {
    const FakeRegistry::Faults& faults = registry.faults[path];
    const std::optional<RegStatus>& forced =
        access == RegAccess::Read ? faults.openForRead : faults.openForWrite;
    return !forced && registry.keys.count(path) > 0;
}

bool KeyOpensOrCreates(FakeRegistry& registry, const char* path) {
    return KeyOpens(registry, path, RegAccess::AllAccess) || !registry.faults[path].create;
}

std::optional<std::uint32_t> ReadableDword(FakeRegistry& registry, const char* path,
                                           const char* name) {
    const FakeRegistry::Value* value = registry.Find(path, name);
    if (value == nullptr || registry.faults[path].unreadable.count(name) > 0 ||
        value->data.size() > 4) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (std::size_t i = value->data.size(); i-- > 0;) {
        number = number << 8 | value->data[i];
    }
    return number;
}
