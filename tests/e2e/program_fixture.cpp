#include "tests/e2e/program_fixture.h"

namespace {

POINT DesktopMiddle() {
    const RECT screen = WholeScreen();
    return POINT{screen.right / 2, screen.bottom / 2};
}

}  // namespace

void ProgramTest::SetUp() {
    ASSERT_FALSE(ProgramPath().empty()) << "SHELFCLOAK_EXE names no program";
    ASSERT_EQ(CountProgramProcesses(), 0) << "a program from an earlier test still runs";
    ASSERT_TRUE(TaskbarShown()) << "the desktop's taskbar must start shown";
    // The icon of a program ended by the last scenario goes a moment later.
    ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK))
        << "the notification area must start empty";
    for (const char letter : std::string(WIN_KEY_LETTERS)) {
        if (const std::string keys = std::string("super+") + letter; HeldElsewhere(keys)) {
            heldBefore_.insert(keys);
        }
    }
    for (const char letter : std::string(CTRL_SHIFT_KEY_LETTERS)) {
        if (const std::string keys = std::string("ctrl+shift+") + letter; HeldElsewhere(keys)) {
            heldBefore_.insert(keys);
        }
    }
    DeleteKeyTree(SETTINGS_KEY_PATH);
    ASSERT_TRUE(PutDword(SETTINGS_KEY_PATH, "System", 1));
    // A pointer resting where the icon appears raises its tip, which can
    // take the next click.
    ASSERT_TRUE(MovePointer(DesktopMiddle()));
}

void ProgramTest::TearDown() {
    if (HasFailure()) {
        SaveArtifact(WholeScreen(),
                     std::string("failed-") +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
    }
    if (OpenMenu() != nullptr) {
        Click(DesktopMiddle());
    }
    resident_.End();
    ShowTaskbar();
    EXPECT_TRUE(WaitFor([] { return CountProgramProcesses() == 0; }, QUICK))
        << CountProgramProcesses() << " program processes left behind";
    // So that the next scenario starts clean whatever this one left.
    EndProgramProcesses();
    if (!notPressed_.empty() && !HasFailure()) {
        GTEST_SKIP() << "held by another program here, so not pressed:" << notPressed_;
    }
}

void ProgramTest::StartResident(const std::string& arguments, bool waitForIcon) {
    resident_ = Process::Start(ProgramPath(), arguments);
    ASSERT_TRUE(resident_.Started()) << "could not start " << ProgramPath();
    ASSERT_TRUE(WaitFor([&] { return (window_ = FindMainWindow()) != nullptr; }))
        << "the resident instance's window did not appear";
    // The window shows while it is still being created; once it handles
    // what is posted to it, its creation (the hot key with it) is done, or
    // a first run's Settings dialog is up.
    ASSERT_TRUE(PostedMessagesHandled(window_)) << "the resident instance handles no messages";
    if (waitForIcon) {
        WaitForIcon();
    }
}

void ProgramTest::WaitForIcon() {
    ASSERT_TRUE(WaitFor(ProgramIconShows, QUICK)) << "no icon in the tray";
}

void ProgramTest::ClickAt(POINT point, MouseButton button) {
    ASSERT_TRUE(Click(point, button));
}

void ProgramTest::ClickIcon(MouseButton button) {
    ASSERT_TRUE(ClickProgramIcon(button));
}

void ProgramTest::ChooseFromTrayMenu(MenuRow row) {
    ClickIcon();
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = OpenMenu()) != nullptr; }, QUICK)) << "no menu";
    ClickAt(MenuItemCentre(menu, row, TRAY_MENU_ROWS));
    ASSERT_TRUE(WaitFor([] { return OpenMenu() == nullptr; }, QUICK)) << "the menu stayed";
}

void ProgramTest::CloseMenu() {
    ClickAt(DesktopMiddle());
    ASSERT_TRUE(WaitFor([] { return OpenMenu() == nullptr; }, QUICK)) << "the menu stayed";
}

HWND ProgramTest::ActiveDialog(const char* caption) {
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindDialog(caption)) != nullptr; }, QUICK)) {
        ADD_FAILURE() << "no " << caption << " dialog";
        return nullptr;
    }
    ClickAt(CaptionPoint(dialog));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, QUICK))
        << "the " << caption << " dialog did not become active";
    return dialog;
}

void ProgramTest::PressKeys(const std::string& keys) {
    ASSERT_TRUE(::PressKeys(keys)) << keys;
}

::testing::AssertionResult TaskbarBecomes(bool shown) {
    if (WaitFor([&] { return TaskbarShown() == shown; }, QUICK)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the taskbar stayed " << (shown ? "hidden" : "shown");
}

::testing::AssertionResult ProgramTest::Settled() {
    if (!KeyPressesRead()) {
        return ::testing::AssertionFailure() << "the desktop did not read the key presses";
    }
    if (resident_.Running() && window_ != nullptr && !PostedMessagesHandled(window_)) {
        return ::testing::AssertionFailure() << "the resident instance did not handle its messages";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::TaskbarStays(bool shown) {
    if (const ::testing::AssertionResult settled = Settled(); !settled) {
        return settled;
    }
    if (TaskbarShown() == shown) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the taskbar became " << (shown ? "hidden" : "shown");
}

::testing::AssertionResult ProgramTest::OneIcon() {
    if (const ::testing::AssertionResult settled = Settled(); !settled) {
        return settled;
    }
    if (const int icons = ProgramIcons(); icons != 1) {
        return ::testing::AssertionFailure() << icons << " icons";
    }
    return ::testing::AssertionSuccess();
}

bool ProgramTest::HeldBeforeTheScenario(const std::string& keys) {
    if (heldBefore_.count(keys) == 0) {
        return false;
    }
    notPressed_ += " " + keys;
    return true;
}

void ProgramTest::ExpectToggles(const std::string& keys) {
    if (HeldBeforeTheScenario(keys)) {
        return;
    }
    PressKeys(keys);
    EXPECT_TRUE(TaskbarBecomes(false)) << keys << " did not hide";
    PressKeys(keys);
    EXPECT_TRUE(TaskbarBecomes(true)) << keys << " did not show";
}

void ProgramTest::ExpectDoesNothing(const std::string& keys) {
    if (HeldBeforeTheScenario(keys)) {
        return;
    }
    PressKeys(keys);
    EXPECT_TRUE(TaskbarStays(true)) << keys;
}
