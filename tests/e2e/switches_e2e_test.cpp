// The command-line switches of the real program, started as a user starts it
// on Wine's shell desktop, observed from this separate process.
#include <windows.h>

#include <optional>
#include <string>

#include "gtest/gtest.h"

#include "tests/e2e/program_driver.h"
#include "tests/support/registry_guard.h"

namespace {

constexpr const char* POLICY_KEY = "Software\\Policies\\Microsoft\\Windows\\Explorer";
constexpr const char* POLICY_VALUE = "TaskbarNoMultimon";
constexpr const char* SETTINGS_KEY = "SOFTWARE\\Quillfen\\Shelfcloak";
constexpr RECT WHOLE_SCREEN = {0, 0, 1280, 800};
constexpr RECT ABOVE_TASKBAR = {0, 0, 1280, 780};
constexpr DWORD QUICK = 5000;  // for what should follow at once

// Other programs see the work area follow the taskbar a moment later.
::testing::AssertionResult WorkAreaSeenIs(const RECT& expected) {
    if (WaitFor([&] { return NewProcessSeesWorkArea(expected); }, QUICK)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "a new process does not see the work area " << expected.left << "," << expected.top
           << "," << expected.right << "," << expected.bottom;
}

struct StoredValue {
    DWORD type;
    DWORD value;
};

std::optional<StoredValue> PolicyValue() {
    StoredValue stored = {};
    DWORD size = sizeof stored.value;
    if (RegGetValueA(HKEY_CURRENT_USER, POLICY_KEY, POLICY_VALUE, RRF_RT_ANY, &stored.type,
                     &stored.value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return stored;
}

class Switches : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ProgramPath().empty()) << "SHELFCLOAK_EXE names no program";
        ASSERT_TRUE(PutDword(SETTINGS_KEY, "System", 1)) << "settings, so that no first run starts";
        ASSERT_EQ(CountProgramProcesses(), 0) << "a program from an earlier test still runs";
        ASSERT_TRUE(TaskbarShown()) << "the desktop's taskbar must start shown";
    }

    void TearDown() override {
        resident_.End();
        ShowTaskbar();
        EXPECT_TRUE(WaitFor([] { return CountProgramProcesses() == 0; }, QUICK))
            << CountProgramProcesses() << " program processes left behind";
    }

    void StartResident(const std::string& arguments = "") {
        resident_ = Process::Start(ProgramPath(), arguments);
        ASSERT_TRUE(resident_.Started()) << "could not start " << ProgramPath();
        ASSERT_TRUE(WaitFor([] { return FindMainWindow() != nullptr; }))
            << "the resident instance's window did not appear";
    }

    RegistryKeyGuard settings_{SETTINGS_KEY};
    RegistryValueGuard policy_{POLICY_KEY, POLICY_VALUE};
    Process resident_;
};

TEST_F(Switches, SecondStartHidesAndShowsTheTaskbar) {
    StartResident();

    EXPECT_EQ(RunToExit("-hide"), 0u);
    EXPECT_TRUE(WaitFor([] { return !TaskbarShown(); }, QUICK)) << "the taskbar stayed";
    EXPECT_TRUE(WorkAreaSeenIs(WHOLE_SCREEN));

    EXPECT_EQ(RunToExit("-show"), 0u);
    EXPECT_TRUE(WaitFor(TaskbarShown, QUICK)) << "the taskbar stayed hidden";
    EXPECT_TRUE(WorkAreaSeenIs(ABOVE_TASKBAR));

    EXPECT_TRUE(resident_.Running());
    EXPECT_EQ(CountProgramProcesses(), 1) << "second instances must not stay";
}

TEST_F(Switches, FirstStartWithHideAndExitHidesAndLeavesNothingBehind) {
    Process first = Process::Start(ProgramPath(), "-HIDE -exit");
    EXPECT_EQ(first.WaitForExit(15000), 0u);
    EXPECT_FALSE(TaskbarShown());
    EXPECT_TRUE(WorkAreaSeenIs(WHOLE_SCREEN));
    EXPECT_EQ(CountProgramProcesses(), 0);
    EXPECT_EQ(FindMainWindow(), nullptr);
}

TEST_F(Switches, FirstStartWithHideStaysResident) {
    StartResident("-hide");
    EXPECT_TRUE(WaitFor([] { return !TaskbarShown(); }, QUICK));
    EXPECT_TRUE(resident_.Running());

    EXPECT_EQ(RunToExit("-show"), 0u);
    EXPECT_TRUE(WaitFor(TaskbarShown, QUICK));
    EXPECT_TRUE(resident_.Running());
}

TEST_F(Switches, PolicySwitchesFromASecondStartStoreADword) {
    StartResident();
    struct Case {
        const char* arguments;
        DWORD stored;
    };
    for (const Case& c : {Case{"-nomulti", 1}, Case{"-multi", 0}, Case{"-NOMULTI", 1}}) {
        EXPECT_EQ(RunToExit(c.arguments), 0u) << c.arguments;
        const std::optional<StoredValue> value = PolicyValue();
        ASSERT_TRUE(value.has_value()) << c.arguments << ": TaskbarNoMultimon is missing";
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD)) << c.arguments;
        EXPECT_EQ(value->value, c.stored) << c.arguments;
    }
    EXPECT_TRUE(TaskbarShown());
}

TEST_F(Switches, AProgramUnderAHiderFolderIgnoresHide) {
    const std::string folder = WorkFolder() + "\\tools-hider";
    const std::string copy = folder + "\\Shelfcloak.exe";
    CreateDirectoryA(WorkFolder().c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), copy.c_str(), FALSE)) << "copy to " << copy;

    // As the first start, then as a second start beside a resident instance.
    EXPECT_EQ(RunToExit("-hide -exit", 15000, copy), 0u);
    EXPECT_TRUE(TaskbarShown());
    StartResident();
    EXPECT_EQ(RunToExit("-hide", 15000, copy), 0u);
    Sleep(300);
    EXPECT_TRUE(TaskbarShown());
    DeleteFileA(copy.c_str());
}

TEST_F(Switches, SecondStartWithoutSwitchesChangesNothing) {
    StartResident();
    EXPECT_EQ(RunToExit(""), 0u);
    EXPECT_EQ(RunToExit("-unknown /hide show"), 0u);
    Sleep(300);
    EXPECT_TRUE(TaskbarShown());
    EXPECT_TRUE(WorkAreaSeenIs(ABOVE_TASKBAR));
    EXPECT_FALSE(PolicyValue().has_value());
    EXPECT_TRUE(resident_.Running());
    EXPECT_EQ(CountProgramProcesses(), 1);
}

}  // namespace
