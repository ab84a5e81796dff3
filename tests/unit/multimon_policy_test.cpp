#include "taskbar/multimon_policy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "tests/fakes/fake_platform.h"
#include "tests/fakes/utf16.h"
#include "tests/support/call_match.h"

namespace {

const std::string POLICY = POLICY_KEY_PATH;
const std::string PROGRAM = "C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe";
const WindowHandle MAIN = reinterpret_cast<WindowHandle>(std::uintptr_t{0x5150});

TEST(SetTaskbarNoMultimon, WritesTheValueIntoAnExistingKey) {
    FakePlatform fake;
    fake.registry.keys[POLICY];
    SetTaskbarNoMultimon(1, 0, MAIN, fake.platform);
    EXPECT_TRUE(SameCalls(fake.log.calls, {
                                              "OpenKey " + POLICY + " all",
                                              "SetValue TaskbarNoMultimon dword 1",
                                              "CloseKey " + POLICY,
                                          }));
    EXPECT_EQ(fake.registry.Dword(POLICY, POLICY_VALUE_NAME), 1u);
}

TEST(SetTaskbarNoMultimon, CreatesAMissingKeyForWriting) {
    FakePlatform fake;
    SetTaskbarNoMultimon(0, 0, MAIN, fake.platform);
    EXPECT_TRUE(SameCalls(fake.log.calls, {
                                              "OpenKey " + POLICY + " all",
                                              "CreateKey " + POLICY + " write",
                                              "SetValue TaskbarNoMultimon dword 0",
                                              "CloseKey " + POLICY,
                                          }));
    EXPECT_EQ(fake.registry.Dword(POLICY, POLICY_VALUE_NAME), 0u);
}

TEST(SetTaskbarNoMultimon, OnlyAccessDeniedStartsTheElevatedCopy) {
    struct Case {
        const char* name;
        FakeRegistry::Faults faults;
        std::uint32_t value;
        std::int32_t noRelaunch;
        std::vector<std::string> expectedStarts;
    };
    const std::string elevated = "Execute runas \"" + PROGRAM + "\" ";
    const Case cases[] = {
        {"create denied, hiding",
         {.openForWrite = RESULT_ACCESS_DENIED, .create = RESULT_ACCESS_DENIED},
         1,
         0,
         {elevated + "-nomulti -exit show 0"}},
        {"create denied, showing",
         {.openForWrite = RESULT_ACCESS_DENIED, .create = RESULT_ACCESS_DENIED},
         0,
         0,
         {elevated + "-multi -exit show 0"}},
        {"write denied",
         {.setValue = RESULT_ACCESS_DENIED},
         1,
         0,
         {elevated + "-nomulti -exit show 0"}},
        {"denied from a switch", {.setValue = RESULT_ACCESS_DENIED}, 1, 1, {}},
        {"denied from a switch, any nonzero flag",
         {.openForWrite = RESULT_ACCESS_DENIED, .create = RESULT_ACCESS_DENIED},
         0,
         -7,
         {}},
        // Only the creation's status counts once the open has failed.
        {"open denied, create fails otherwise",
         {.openForWrite = RESULT_ACCESS_DENIED, .create = RESULT_FILE_NOT_FOUND},
         1,
         0,
         {}},
        {"write fails otherwise", {.setValue = RESULT_INVALID_HANDLE}, 1, 0, {}},
        {"written", {}, 1, 0, {}},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.registry.keys[POLICY];
        fake.registry.faults[POLICY] = c.faults;
        SetTaskbarNoMultimon(c.value, c.noRelaunch, MAIN, fake.platform);
        EXPECT_TRUE(SameCalls(fake.log.Matching({"Execute"}), c.expectedStarts)) << c.name;
        EXPECT_EQ(fake.registry.OpenHandles(), 0u) << c.name;
        if (!c.expectedStarts.empty()) {
            EXPECT_EQ(fake.log.calls.back(), c.expectedStarts.back())
                << c.name << ": the key must be closed before the copy starts";
        }
    }
}

// A standard user's "runas" runs the copy as another account, which would
// write that account's hive.
TEST(SetTaskbarNoMultimon, RelaunchesOnlyWhenElevationKeepsTheUsersAccount) {
    struct Case {
        const char* name;
        ElevationType elevation;
        bool starts;
    };
    const Case cases[] = {
        {"an administrator with UAC on", ElevationType::Limited, true},
        {"already elevated", ElevationType::Full, true},
        {"a standard user", ElevationType::Default, false},
        {"the token cannot be asked", ElevationType::Unknown, false},
        {"a type the platform may add", ElevationType{4}, false},
    };
    for (const Case& c : cases) {
        for (const std::uint32_t value : {1u, 0u}) {
            FakePlatform fake;
            fake.registry.faults[POLICY] = {.setValue = RESULT_ACCESS_DENIED};
            fake.registry.keys[POLICY];
            fake.module.elevation = c.elevation;
            SetTaskbarNoMultimon(value, 0, MAIN, fake.platform);
            EXPECT_EQ(fake.log.Matching({"Execute"}).size(), c.starts ? 1u : 0u)
                << c.name << ", value " << value;
            EXPECT_EQ(fake.registry.OpenHandles(), 0u) << c.name;
        }
    }
}

TEST(SetTaskbarNoMultimon, RelaunchNeedsTheWholeProgramPath) {
    struct Case {
        const char* name;
        std::u16string path;
        bool fails;
        bool starts;
    };
    const std::u16string program = u"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe";
    const Case cases[] = {
        {"path with spaces", program, false, true},
        {"a folder outside the ANSI code page", u"C:\\Users\\\u03A9mega\\Shelfcloak.exe", false,
         true},
        {"259 characters fit", u"C:\\" + std::u16string(252, u'p') + u".exe", false, true},
        {"260 characters are cut short", u"C:\\" + std::u16string(253, u'p') + u".exe", false,
         false},
        {"the path cannot be read", program, true, false},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.registry.faults[POLICY] = {.openForWrite = RESULT_ACCESS_DENIED,
                                        .create = RESULT_ACCESS_DENIED};
        fake.module.path = c.path;
        fake.module.fails = c.fails;
        SetTaskbarNoMultimon(1, 0, MAIN, fake.platform);
        const std::vector<std::string> expected =
            c.starts ? std::vector<std::string>{"Execute runas \"" + Utf8(c.path) +
                                                "\" -nomulti -exit show 0"}
                     : std::vector<std::string>{};
        EXPECT_TRUE(SameCalls(fake.log.Matching({"Execute"}), expected)) << c.name;
    }
}

}  // namespace
