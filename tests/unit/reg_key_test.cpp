#include "platform/reg_key.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "tests/fakes/fake_platform.h"
#include "tests/support/call_match.h"

namespace {

const std::string KEY = "Software\\Test";

TEST(ReadDword, ReadsFourBytesWhateverTheType) {
    struct Case {
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        std::optional<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"dword", 4, {0x78, 0x56, 0x34, 0x12}, 0x12345678u},
        {"all ones", 4, {0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFFu},
        {"string of 4 bytes", 1, {'a', 'b', 'c', 0}, 0x00636261u},
        {"binary of 2 bytes", 3, {0x34, 0x12}, 0x1234u},
        {"empty binary", 3, {}, 0u},
        {"qword of 8 bytes", 11, {1, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {"string of 5 bytes", 1, {'1', '2', '3', '4', 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.registry.PutRaw(KEY, "Value", c.type, c.data);
        const RegKey key = OpenRegKey(fake.registry, KEY.c_str(), RegAccess::Read);
        ASSERT_TRUE(key) << c.name;
        EXPECT_EQ(ReadDword(key, "Value"), c.expected) << c.name;
    }
}

TEST(ReadDword, MissingValueOrKeyIsEmpty) {
    FakePlatform fake;
    fake.registry.keys[KEY];
    const RegKey key = OpenRegKey(fake.registry, KEY.c_str(), RegAccess::Read);
    EXPECT_EQ(ReadDword(key, "Missing"), std::nullopt);
    EXPECT_EQ(ReadDword(RegKey(), "Missing"), std::nullopt);
}

TEST(WriteDword, WritesFourLittleEndianBytes) {
    FakePlatform fake;
    const RegKey key = OpenOrCreateRegKey(fake.registry, KEY.c_str(), RegAccess::AllAccess);
    ASSERT_TRUE(key);
    EXPECT_EQ(WriteDword(key, "Value", 0xA1B2C3D4u), RESULT_SUCCESS);
    const FakeRegistry::Value* value = fake.registry.Find(KEY, "Value");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, 4u);
    EXPECT_EQ(value->data, (std::vector<std::uint8_t>{0xD4, 0xC3, 0xB2, 0xA1}));
    EXPECT_EQ(WriteDword(RegKey(), "Value", 1), RESULT_INVALID_HANDLE);
}

TEST(RegKey, ClosesExactlyOnceWhoeverOwnsIt) {
    FakePlatform fake;
    fake.registry.keys[KEY];
    {
        RegKey first = OpenRegKey(fake.registry, KEY.c_str(), RegAccess::Read);
        RegKey second = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_TRUE(second);
        RegKey third = OpenRegKey(fake.registry, KEY.c_str(), RegAccess::Read);
        third = std::move(second);  // closes what third held
        EXPECT_EQ(fake.registry.OpenHandles(), 1u);
    }
    EXPECT_EQ(fake.registry.OpenHandles(), 0u);
    EXPECT_EQ(fake.log.Matching({"CloseKey"}).size(), 2u);
}

TEST(OpenOrCreateRegKey, ReportsTheStatusThatDecided) {
    struct Case {
        const char* name;
        bool exists;
        FakeRegistry::Faults faults;
        bool opened;
        RegStatus status;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"opens", true, {}, true, RESULT_SUCCESS, {"OpenKey " + KEY + " all"}},
        {"creates",
         false,
         {},
         true,
         RESULT_SUCCESS,
         {"OpenKey " + KEY + " all", "CreateKey " + KEY + " write"}},
        {"both denied",
         true,
         {.openForWrite = RESULT_ACCESS_DENIED, .create = RESULT_ACCESS_DENIED},
         false,
         RESULT_ACCESS_DENIED,
         {"OpenKey " + KEY + " all", "CreateKey " + KEY + " write"}},
        {"open denied, created",
         true,
         {.openForWrite = RESULT_ACCESS_DENIED},
         true,
         RESULT_SUCCESS,
         {"OpenKey " + KEY + " all", "CreateKey " + KEY + " write"}},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        if (c.exists) {
            fake.registry.keys[KEY];
        }
        fake.registry.faults[KEY] = c.faults;
        RegStatus status = -1;
        {
            const RegKey key =
                OpenOrCreateRegKey(fake.registry, KEY.c_str(), RegAccess::Write, &status);
            EXPECT_EQ(static_cast<bool>(key), c.opened) << c.name;
        }
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_TRUE(SameCalls(fake.log.Matching({"OpenKey", "CreateKey"}), c.calls)) << c.name;
        EXPECT_EQ(fake.registry.OpenHandles(), 0u) << c.name;
    }
}

}  // namespace
