#include "app/command_line.h"

#include <cstring>
#include <string>

#include "gtest/gtest.h"

namespace {

TEST(SwitchText, LowerCasesAsciiCapitalsOnly) {
    struct Case {
        const char* name;
        const char* commandLine;
        const char* expected;
    };
    const Case cases[] = {
        {"mixed case", "\"C:\\Apps\\Shelfcloak.EXE\" -HiDe", "\"c:\\apps\\shelfcloak.exe\" -hide"},
        {"empty", "", ""},
        {"null", nullptr, ""},
        {"digits and punctuation", "A1-_@[`{Z", "a1-_@[`{z"},
        // Bytes above 127 are code-page characters, not ASCII capitals.
        {"code-page bytes", "\xC4\xD6\xDC-SHOW", "\xC4\xD6\xDC-show"},
    };
    for (const Case& c : cases) {
        const SwitchText text(c.commandLine);
        EXPECT_STREQ(text.c_str(), c.expected) << c.name;
    }
}

TEST(SwitchText, KeepsOnlyTheFirst259Characters) {
    struct Case {
        const char* name;
        std::size_t padding;
        bool found;
    };
    // The switch "-exit" ends at character padding + 5.
    const Case cases[] = {
        {"ends at 258", 253, true},
        {"ends at 259", 254, true},
        {"one character cut", 255, false},
        {"far beyond", 9000, false},
    };
    for (const Case& c : cases) {
        const std::string line = std::string(c.padding, 'x') + "-EXIT";
        const SwitchText text(line.c_str());
        EXPECT_EQ(text.Contains("-exit"), c.found) << c.name;
        EXPECT_EQ(std::strlen(text.c_str()), std::min<std::size_t>(line.size(), 259)) << c.name;
    }
}

TEST(SwitchText, FindsWordsAnywhere) {
    struct Case {
        const char* commandLine;
        const char* word;
        bool found;
    };
    const Case cases[] = {
        {"prog -show", "-show", true},   {"prog/-showme", "-show", true},
        {"prog x-SHOWy", "-show", true}, {"prog show", "-show", false},
        {"prog -sho w", "-show", false}, {"", "-show", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SwitchText(c.commandLine).Contains(c.word), c.found)
            << "'" << c.word << "' in '" << c.commandLine << "'";
    }
}

}  // namespace
