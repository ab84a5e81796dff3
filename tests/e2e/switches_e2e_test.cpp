// The command-line switches of the real program, started as a user starts it
// on Wine's shell desktop, observed from this separate process.
#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/program_fixture.h"

namespace {

// Other programs see the work area follow the taskbar a moment later.
::testing::AssertionResult WorkAreaSeenIs(const RECT& expected) {
    if (WaitFor([&] { return NewProcessSeesWorkArea(expected); }, QUICK)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "a new process does not see the work area " << expected.left << "," << expected.top
           << "," << expected.right << "," << expected.bottom;
}

// Second starts run to their end; the resident instance needs no icon here.
class Switches : public ProgramTest {
protected:
    void StartResident(const std::string& arguments = "") {
        ProgramTest::StartResident(arguments, false);
    }
};

TEST_F(Switches, SecondStartHidesAndShowsTheTaskbar) {
    StartResident();

    EXPECT_EQ(RunToExit("-hide"), 0u);
    EXPECT_TRUE(TaskbarBecomes(false));
    EXPECT_TRUE(WorkAreaSeenIs(WholeScreen()));

    EXPECT_EQ(RunToExit("-show"), 0u);
    EXPECT_TRUE(TaskbarBecomes(true));
    EXPECT_TRUE(WorkAreaSeenIs(AreaBesideTaskbar()));

    EXPECT_TRUE(resident_.Running());
    EXPECT_EQ(CountProgramProcesses(), 1) << "second instances must not stay";
}

// The next press acts on the taskbar as it is, whatever was asked before.
TEST_F(Switches, OnePressAfterASecondStartsSwitchActsOnTheTaskbarAsItIs) {
    StartResident();
    EXPECT_EQ(RunToExit("-hide"), 0u);
    ASSERT_TRUE(TaskbarBecomes(false));
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(true)) << "the press after -hide did not show";
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(false)) << "the next press did not hide";
}

TEST_F(Switches, FirstStartWithHideAndExitHidesAndLeavesNothingBehind) {
    Process first = Process::Start(ProgramPath(), "-HIDE -exit");
    EXPECT_EQ(first.WaitForExit(15000), 0u);
    EXPECT_FALSE(TaskbarShown());
    EXPECT_TRUE(WorkAreaSeenIs(WholeScreen()));
    EXPECT_EQ(CountProgramProcesses(), 0);
    EXPECT_EQ(FindMainWindow(), nullptr);
}

// "-toggle" goes by the taskbar as it is: a first start with "-exit" flips
// it and ends, and a second start has the resident instance flip it.
TEST_F(Switches, ToggleFlipsTheTaskbarFromAFirstStartWithExitAndFromASecondStart) {
    EXPECT_EQ(RunToExit("-toggle -exit"), 0u);
    EXPECT_TRUE(TaskbarBecomes(false));
    EXPECT_EQ(RunToExit("-TOGGLE -exit"), 0u);
    EXPECT_TRUE(TaskbarBecomes(true));
    EXPECT_EQ(CountProgramProcesses(), 0);

    StartResident();
    EXPECT_EQ(RunToExit("-toggle"), 0u);
    EXPECT_TRUE(TaskbarBecomes(false));
    EXPECT_TRUE(WorkAreaSeenIs(WholeScreen()));
    EXPECT_EQ(RunToExit("-toggle"), 0u);
    EXPECT_TRUE(TaskbarBecomes(true));
    EXPECT_TRUE(WorkAreaSeenIs(AreaBesideTaskbar()));
    EXPECT_TRUE(resident_.Running());
    EXPECT_EQ(CountProgramProcesses(), 1);
}

TEST_F(Switches, FirstStartWithHideStaysResident) {
    StartResident("-hide");
    EXPECT_TRUE(TaskbarBecomes(false));
    EXPECT_TRUE(resident_.Running());

    EXPECT_EQ(RunToExit("-show"), 0u);
    EXPECT_TRUE(TaskbarBecomes(true));
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
        EXPECT_EQ(ReadDword(POLICY_KEY_PATH, POLICY_VALUE_NAME), c.stored)
            << c.arguments << ": TaskbarNoMultimon as a REG_DWORD";
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
    EXPECT_TRUE(TaskbarStays(true));
    DeleteFileA(copy.c_str());
}

TEST_F(Switches, SecondStartWithoutSwitchesChangesNothing) {
    StartResident();
    EXPECT_EQ(RunToExit(""), 0u);
    EXPECT_EQ(RunToExit("-unknown /hide show"), 0u);
    EXPECT_TRUE(TaskbarStays(true));
    EXPECT_TRUE(WorkAreaSeenIs(AreaBesideTaskbar()));
    EXPECT_FALSE(ReadValue(POLICY_KEY_PATH, POLICY_VALUE_NAME).has_value());
    EXPECT_TRUE(resident_.Running());
    EXPECT_EQ(CountProgramProcesses(), 1);
}

}  // namespace
