// The Win32 implementations of the platform interfaces, on Wine's real
// registry, windows and program file.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "gtest/gtest.h"

#include "platform/program_path.h"
#include "platform/reg_key.h"
#include "taskbar/multimon_policy.h"
#include "tests/support/real_desktop.h"
#include "tests/support/registry_guard.h"

namespace {

constexpr const char* TEST_KEY = "Software\\Quillfen\\ShelfcloakTests\\Win32Registry";

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(TEST_KEY); }
    void TearDown() override { DeleteKeyTree("Software\\Quillfen\\ShelfcloakTests"); }
    Registry& registry_ = Win32Registry();
};

TEST_F(Win32RegistryTest, SpeaksThePlatformsStatusNumbers) {
    RegKeyId id = 0;
    EXPECT_EQ(registry_.OpenKey(TEST_KEY, RegAccess::Read, &id), RESULT_FILE_NOT_FOUND);
    EXPECT_EQ(id, 0u);

    ASSERT_EQ(registry_.CreateKey(TEST_KEY, RegAccess::AllAccess, &id), RESULT_SUCCESS);
    const RegKey key(registry_, id);

    const char text[] = "eight by";  // 9 bytes with the terminator
    ASSERT_EQ(registry_.SetValue(id, "Text", RegType::String, text, sizeof text), RESULT_SUCCESS);
    ASSERT_EQ(WriteDword(key, "Number", 0xA1B2C3D4u), RESULT_SUCCESS);

    struct Case {
        const char* name;
        std::uint32_t bufferSize;
        RegStatus status;
        std::uint32_t sizeAfter;
    };
    const Case cases[] = {
        {"Number", 4, RESULT_SUCCESS, 4},
        {"Number", 8, RESULT_SUCCESS, 4},
        {"Text", 4, RESULT_MORE_DATA, sizeof text},
        {"Missing", 4, RESULT_FILE_NOT_FOUND, 4},
    };
    for (const Case& c : cases) {
        unsigned char data[8] = {};
        std::uint32_t size = c.bufferSize;
        EXPECT_EQ(registry_.QueryValue(id, c.name, data, &size), c.status) << c.name;
        if (c.status != RESULT_FILE_NOT_FOUND) {
            EXPECT_EQ(size, c.sizeAfter) << c.name << " with a buffer of " << c.bufferSize;
        }
    }
    EXPECT_EQ(ReadDword(key, "Number"), 0xA1B2C3D4u);
    EXPECT_EQ(ReadDword(key, "Text"), std::nullopt);

    EXPECT_EQ(registry_.DeleteValue(id, "Number"), RESULT_SUCCESS);
    EXPECT_EQ(registry_.DeleteValue(id, "Number"), RESULT_FILE_NOT_FOUND);
    EXPECT_EQ(ReadDword(key, "Number"), std::nullopt);
}

TEST_F(Win32RegistryTest, StoresTheDwordAsFourLittleEndianBytes) {
    {
        const RegKey key = OpenOrCreateRegKey(registry_, TEST_KEY, RegAccess::AllAccess);
        ASSERT_TRUE(key);
        ASSERT_EQ(WriteDword(key, "Number", 0x01020304u), RESULT_SUCCESS);
    }
    DWORD type = 0;
    unsigned char data[8] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, TEST_KEY, "Number", RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::memcmp(data, "\x04\x03\x02\x01", 4), 0);
}

TEST(Win32Policy, StoresTaskbarNoMultimonAsADword) {
    RegistryValueGuard restore(POLICY_KEY_PATH, POLICY_VALUE_NAME);
    for (const std::uint32_t value : {1u, 0u}) {
        SetTaskbarNoMultimon(value, 1, nullptr, Win32Platform());
        DWORD type = 0;
        DWORD stored = 0xDEADBEEF;
        DWORD size = sizeof stored;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, POLICY_KEY_PATH, POLICY_VALUE_NAME, RRF_RT_ANY,
                               &type, &stored, &size),
                  ERROR_SUCCESS)
            << "value " << value;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << "value " << value;
        EXPECT_EQ(stored, value);
    }
}

TEST(Win32Module, AnswersTheProgramsPathAndReportsACut) {
    wchar_t expected[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, expected, MAX_PATH);
    ASSERT_GT(length, 10u);

    char16_t path[PROGRAM_PATH_SIZE];
    ASSERT_TRUE(ReadProgramPath(Win32Module(), path));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(path)), std::wstring(expected));

    char16_t small[8] = {};
    EXPECT_EQ(Win32Module().FileName(small, std::size(small)), std::size(small))
        << "a path cut short is reported with the buffer's size";
}

TEST(Win32Module, ReadsTheTokensType) {
    // Wine 8 gives every process an elevated token; a standard user's
    // (Default) and an administrator's filtered one (Limited) only Windows.
    const ElevationType type = Win32Module().Elevation();
    if (UnderWine()) {
        EXPECT_EQ(type, ElevationType::Full);
    } else {
        EXPECT_NE(type, ElevationType::Unknown) << "the token could not be asked";
    }
}

TEST(Win32Desktop, SeesTheShellsTaskbarAndScreen) {
    Desktop& desktop = Win32Desktop();
    const WindowHandle taskbar = desktop.FindTopWindow("Shell_TrayWnd", "");
    ASSERT_NE(taskbar, nullptr);
    EXPECT_TRUE(desktop.IsShown(taskbar));
    const RECT bar = TaskbarRect();
    const RECT screen = WholeScreen();
    const RECT area = AreaBesideTaskbar();
    EXPECT_EQ(desktop.WindowRect(taskbar), (Rect{bar.left, bar.top, bar.right, bar.bottom}));
    EXPECT_EQ(desktop.PrimaryScreenSize(), (ScreenSize{screen.right, screen.bottom}));
    EXPECT_EQ(desktop.WorkArea(), (Rect{area.left, area.top, area.right, area.bottom}));
    EXPECT_EQ(desktop.FindTopWindow("Shell_SecondaryTrayWnd", ""), nullptr);
    EXPECT_EQ(desktop.FindTopWindow("No such class here", ""), nullptr);
}

}  // namespace
