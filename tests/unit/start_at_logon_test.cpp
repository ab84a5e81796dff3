#include "settings/start_at_logon.h"

#include <optional>
#include <string>

#include "gtest/gtest.h"

#include "tests/fakes/fake_platform.h"
#include "tests/fakes/utf16.h"
#include "tests/support/call_match.h"

namespace {

const std::string RUN = RUN_KEY_PATH;
const std::string PROGRAM = "C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe";

TEST(SetStartAtLogon, QuotesTheWholePathAndNeverStoresACutOne) {
    struct Case {
        const char* name;
        std::u16string path;
        bool fails;
        std::optional<std::u16string> stored;
    };
    const std::u16string program = u"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe";
    const std::u16string longest = u"C:\\" + std::u16string(252, u'p') + u".exe";  // 259 units
    const Case cases[] = {
        {"with blanks", program, false, u"\"" + program + u"\""},
        // A folder the ANSI code page cannot spell, under a user's profile.
        {"outside the code page", u"C:\\Users\\\u03A9mega\\Shelfcloak.exe", false,
         u"\"C:\\Users\\\u03A9mega\\Shelfcloak.exe\""},
        {"without blanks", u"C:\\Tools\\Shelfcloak.exe", false, u"\"C:\\Tools\\Shelfcloak.exe\""},
        {"259 characters", longest, false, u"\"" + longest + u"\""},
        {"260 characters", longest + u"x", false, std::nullopt},
        {"unreadable", program, true, std::nullopt},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.module.path = c.path;
        fake.module.fails = c.fails;
        SetStartAtLogon(true, fake.platform);
        const FakeRegistry::Value* value = fake.registry.Find(RUN, RUN_VALUE_NAME);
        if (!c.stored) {
            EXPECT_EQ(value, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(value, nullptr) << c.name;
        // Stored wide, as UTF-16 with its terminator.
        EXPECT_TRUE(value->type == static_cast<std::uint32_t>(RegType::String) &&
                    value->data == Utf16Bytes(*c.stored + u'\0'))
            << c.name << ": stored " << Describe(*value);
    }
}

TEST(SetStartAtLogon, ARunKeyThatCannotBeOpenedChangesNothing) {
    for (const bool on : {true, false}) {
        FakePlatform fake;
        fake.registry.PutRaw(RUN, RUN_VALUE_NAME, 1, {'o', 'l', 'd', 0});
        fake.registry.faults[RUN] = {.openForWrite = RESULT_ACCESS_DENIED,
                                     .create = RESULT_ACCESS_DENIED};
        SetStartAtLogon(on, fake.platform);
        EXPECT_NE(fake.registry.Find(RUN, RUN_VALUE_NAME), nullptr) << "on " << on;
        EXPECT_TRUE(SameCalls(fake.log.Matching({"SetValue", "DeleteValue"}), {})) << "on " << on;
    }
}

TEST(SetStartAtLogon, RemovingAMissingValueIsHarmless) {
    FakePlatform fake;
    fake.registry.keys[RUN];
    SetStartAtLogon(false, fake.platform);
    EXPECT_EQ(fake.registry.Find(RUN, RUN_VALUE_NAME), nullptr);
    EXPECT_EQ(fake.registry.OpenHandles(), 0u);
}

}  // namespace
