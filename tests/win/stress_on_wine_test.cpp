// The engine over the real Win32 layer in this process, where Wine keeps the
// work area it sets: many toggles in a row, and a desktop on which no
// taskbar can be found, as when the shell does not run.
#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "gtest/gtest.h"

#include "app/main_window_decisions.h"
#include "app/switches.h"
#include "platform/win32/win32_platform.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"
#include "taskbar/hide_show.h"
#include "taskbar/multimon_policy.h"
#include "tests/support/desktop_state.h"
#include "tests/support/real_desktop.h"
#include "tests/support/registry_guard.h"

namespace {

std::optional<std::vector<BYTE>> PolicyValue() {
    const std::optional<StoredValue> stored = ReadValue(POLICY_KEY_PATH, POLICY_VALUE_NAME);
    return stored ? std::optional<std::vector<BYTE>>(stored->data) : std::nullopt;
}

class StressOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Taskbar(), nullptr);
        ASSERT_TRUE(IsWindowVisible(Taskbar()));
        start_ = WorkArea();
    }

    DesktopStateGuard restore_;
    RECT start_ = {};
    AppStateRecord state_ = {};
};

TEST_F(StressOnWine, FiveHundredHidesAndShowsByTheHotKeyEndWithTheWorkAreaWhereItStarted) {
    int wrongAfterHide = 0;
    int wrongAfterShow = 0;
    for (int press = 0; press < 1000; ++press) {
        const bool hides = state_.lastAskedFor == TaskbarWanted::Shown;
        OnToggleHotKey(HOTKEY_ID_TOGGLE, state_, Win32Platform());
        const RECT area = WorkArea();
        const RECT& expected = hides ? WholeScreen() : start_;
        if (!EqualRect(&area, &expected) || (IsWindowVisible(Taskbar()) != FALSE) == hides) {
            ++(hides ? wrongAfterHide : wrongAfterShow);
        }
    }
    EXPECT_EQ(wrongAfterHide, 0) << "of 500 hides";
    EXPECT_EQ(wrongAfterShow, 0) << "of 500 shows";
    const RECT end = WorkArea();
    EXPECT_TRUE(EqualRect(&end, &start_))
        << end.left << "," << end.top << "," << end.right << "," << end.bottom;
    EXPECT_TRUE(IsWindowVisible(Taskbar()));
    EXPECT_EQ(state_.lastTaskbarEdge, TaskbarEdge::Bottom);
}

// The real desktop, on which no taskbar is found.
class DesktopWithoutTaskbar final : public Desktop {
public:
    WindowHandle FindTopWindow(const char* className, const char* title) override {
        return std::strcmp(className, TASKBAR_CLASS) == 0 ? nullptr
                                                          : real_.FindTopWindow(className, title);
    }
    void VisitTopWindows(const char* className, const char* title,
                         WindowVisitor& visitor) override {
        real_.VisitTopWindows(className, title, visitor);
    }
    Rect WindowRect(WindowHandle window) override { return real_.WindowRect(window); }
    bool IsShown(WindowHandle window) override { return real_.IsShown(window); }
    void SetShown(WindowHandle window, bool shown) override { real_.SetShown(window, shown); }
    void SetForeground(WindowHandle window) override { real_.SetForeground(window); }
    Rect WorkArea() override { return real_.WorkArea(); }
    void SetWorkArea(const Rect& area) override { real_.SetWorkArea(area); }
    ScreenSize PrimaryScreenSize() override { return real_.PrimaryScreenSize(); }
    std::optional<std::intptr_t> Send(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam) override {
        return real_.Send(window, message, wParam);
    }

private:
    Desktop& real_ = Win32Desktop();
};

TEST_F(StressOnWine, WithoutATaskbarTheHotKeyAndTheSwitchesLeaveTheWorkAreaAndPolicyAlone) {
    RegistryValueGuard policy(POLICY_KEY_PATH, POLICY_VALUE_NAME);
    const std::optional<std::vector<BYTE>> policyBefore = PolicyValue();
    DesktopWithoutTaskbar desktop;
    Platform platform = {desktop,       Win32Registry(), Win32Shell(),
                         Win32Module(), Win32HotKeys(),  Win32WindowEvents()};
    state_.forceAllDisplays = 1;  // the policy would be switched along with the taskbar

    struct Case {
        const char* name;
        void (*act)(AppStateRecord&, Platform&);
    };
    const Case cases[] = {
        {"hot key, first press",
         [](AppStateRecord& s, Platform& p) { OnToggleHotKey(HOTKEY_ID_TOGGLE, s, p); }},
        {"hot key, second press",
         [](AppStateRecord& s, Platform& p) { OnToggleHotKey(HOTKEY_ID_TOGGLE, s, p); }},
        {"second instance -hide",
         [](AppStateRecord& s, Platform& p) {
             RunSecondInstance(SwitchText("Shelfcloak.exe -hide"), s, p);
         }},
        {"second instance -show",
         [](AppStateRecord& s, Platform& p) {
             RunSecondInstance(SwitchText("Shelfcloak.exe -show"), s, p);
         }},
        {"first start -hide -exit",
         [](AppStateRecord& s, Platform& p) {
             EXPECT_FALSE(ApplyResidentSwitches(
                 ResidentSwitchesFor(SwitchText("Shelfcloak.exe -hide -exit")), s, p));
         }},
        {"first start -show",
         [](AppStateRecord& s, Platform& p) {
             EXPECT_TRUE(ApplyResidentSwitches(
                 ResidentSwitchesFor(SwitchText("Shelfcloak.exe -show")), s, p));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act(state_, platform);
        const RECT area = WorkArea();
        EXPECT_TRUE(EqualRect(&area, &start_));
        EXPECT_TRUE(IsWindowVisible(Taskbar())) << "the real taskbar was touched";
        EXPECT_EQ(PolicyValue(), policyBefore) << "the policy was switched";
        EXPECT_EQ(state_.lastTaskbarEdge, TaskbarEdge::NotSeen);
    }
}

}  // namespace
