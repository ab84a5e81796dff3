#include "app/command_line.h"

#include <string>

#include "gtest/gtest.h"

namespace {

// What is searched is exactly the expected text: it is found, and no text
// one character longer on either side is.
::testing::AssertionResult SearchedAs(const SwitchText& text, const std::string& expected) {
    if (!text.Contains(expected.c_str())) {
        return ::testing::AssertionFailure() << "'" << expected << "' is not found";
    }
    for (int c = 1; c < 256; ++c) {
        for (const std::string& longer :
             {expected + static_cast<char>(c), static_cast<char>(c) + expected}) {
            if (text.Contains(longer.c_str())) {
                return ::testing::AssertionFailure() << "'" << longer << "' is found too";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

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
        EXPECT_TRUE(SearchedAs(SwitchText(c.commandLine), c.expected)) << c.name;
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
        std::string kept = line.substr(0, 259);
        for (char& k : kept) {
            k = k == 'E' || k == 'X' || k == 'I' || k == 'T' ? static_cast<char>(k - 'A' + 'a') : k;
        }
        EXPECT_TRUE(SearchedAs(text, kept)) << c.name;
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

TEST(SwitchText, FindsWholeArgumentsAfterTheProgramsPath) {
    struct Case {
        const char* commandLine;
        bool found;
    };
    const Case cases[] = {
        {"prog -toggle", true},
        {"\"C:\\Apps\\Shelfcloak.exe\" -TOGGLE -exit", true},
        {"prog\t-toggle\t", true},
        {"prog -toggles", false},
        {"prog x-toggle", false},
        {"prog \"-toggle\"", false},
        {"-toggle", false},
        {"\"C:\\tools -toggle\\Shelfcloak.exe\" -show", false},
        {"\"C:\\unclosed -toggle", false},
        {"C:\\-toggle\\Shelfcloak.exe -hide", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SwitchText(c.commandLine).HasArgument("-toggle"), c.found)
            << "'" << c.commandLine << "'";
    }
}

}  // namespace
