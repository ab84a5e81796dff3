// Arbitrary contents of the current user's registry for the fake registry,
// decoded from a fuzzer's bytes, and what the program's reading rules make
// of them.
//
// The input starts with one record per key the program uses (settings, Run,
// policy): whether the key exists, then the status forced on opening it for
// reading, on opening it for writing, on creating it and on setting a value
// in it. A status is one byte: 0 to 2 force nothing, 3 "file not found", 4
// "access denied", 5 "invalid handle", 6 success without a key, 7 the next
// four bytes. Then, until the input ends, values: the key (a byte, modulo
// 3), the name (a byte: below 0xF0 one of the names the program knows and
// two it does not, else a name of the low four bits' length), the type (a
// byte: below 0xF0 one of the registry's types, else the next four bytes),
// the length (a byte: below 0xF0 modulo 12, below 0xFC the next two bytes
// modulo 1024, else the next two bytes), the data, and a byte whose lowest
// bit makes the value unreadable. A key that holds a value exists.
#pragma once

#include <cstdint>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "settings/settings_store.h"
#include "settings/start_at_logon.h"
#include "taskbar/multimon_policy.h"
#include "tests/fakes/fake_registry.h"

// The keys the decoded contents describe, in the order of their records.
inline constexpr const char* FUZZED_KEYS[] = {
    SETTINGS_KEY_PATH,
    RUN_KEY_PATH,
    POLICY_KEY_PATH,
};

void DecodeRegistry(FuzzInput& input, FakeRegistry& registry);

// Whether opening the key with that access hands out a key.
bool KeyOpens(FakeRegistry& registry, const char* path, RegAccess access);
// Whether opening for writing or else creating hands out a key.
bool KeyOpensOrCreates(FakeRegistry& registry, const char* path);

// The value as a 4-byte read takes it: present, readable and at most 4
// bytes long, its bytes zero-extended; else empty.
std::optional<std::uint32_t> ReadableDword(FakeRegistry& registry, const char* path,
                                           const char* name);
