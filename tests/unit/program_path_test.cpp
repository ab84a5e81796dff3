#include "platform/program_path.h"

#include <string>

#include "gtest/gtest.h"

#include "tests/fakes/fake_module.h"

namespace {

TEST(ReadProgramPath, RefusesAPathCutShort) {
    struct Case {
        const char* name;
        std::size_t length;
        bool fails;
        bool read;
    };
    const Case cases[] = {
        {"short", 20, false, true},
        {"259 characters", 259, false, true},
        {"260 characters", 260, false, false},
        {"300 characters", 300, false, false},
        {"failure", 20, true, false},
    };
    for (const Case& c : cases) {
        FakeModule module;
        module.path = u"C:\\" + std::u16string(c.length - 7, u'p') + u".exe";
        module.fails = c.fails;
        char16_t path[PROGRAM_PATH_SIZE];
        EXPECT_EQ(ReadProgramPath(module, path), c.read) << c.name;
        EXPECT_TRUE(std::u16string(path) == (c.read ? module.path : u"")) << c.name;
    }
}

}  // namespace
