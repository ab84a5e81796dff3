// What every scenario with the real program shares: a clean start, the
// user's registry put back, every started process ended, the taskbar shown.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "gtest/gtest.h"

#include "res/resource.h"
#include "settings/hot_key.h"
#include "settings/settings_store.h"
#include "settings/start_at_logon.h"
#include "shared/identifiers.h"
#include "taskbar/multimon_policy.h"
#include "tests/e2e/desktop_user.h"
#include "tests/e2e/program_driver.h"
#include "tests/support/registry_guard.h"

inline constexpr DWORD QUICK = 5000;  // for what should follow at once

// The tray menu's rows by position: About, Settings, a separator, Exit.
using MenuRow = UINT;
inline constexpr MenuRow ABOUT_ROW = 0;
inline constexpr MenuRow SETTINGS_ROW = 1;
inline constexpr MenuRow EXIT_ROW = 3;
inline constexpr const char* TRAY_MENU_ROWS = "ii-i";

class ProgramTest : public ::testing::Test {
protected:
    // Starts each scenario with stored settings (Ctrl+Shift+A), so that no
    // first-run dialog opens; a scenario may change them before starting.
    void SetUp() override;
    void TearDown() override;

    // Starts the resident instance and waits until its window handles
    // messages and, unless told otherwise, for its tray icon.
    void StartResident(const std::string& arguments = "", bool waitForIcon = true);
    void WaitForIcon();

    void ClickAt(POINT point, MouseButton button = MouseButton::Left);
    void ClickIcon(MouseButton button = MouseButton::Left);
    // Opens the tray menu with a click on the icon and chooses the row.
    void ChooseFromTrayMenu(MenuRow row);
    void CloseMenu();
    // The dialog with that caption once it shows, made the active window as
    // a user makes it, by a click on its caption: Wine hands a new dialog
    // neither the keyboard nor its first click. Null when none shows.
    HWND ActiveDialog(const char* caption);
    // Presses a key combination on the desktop ("ctrl+shift+a").
    void PressKeys(const std::string& keys);
    // The keys hide the taskbar, and pressed again show it; or they change
    // nothing. Keys that another program held before the scenario (Windows
    // holds most Win letters) cannot reach the program, and pressing them
    // starts that program's action: they are not pressed, and the scenario
    // ends as skipped, naming them, unless it failed.
    void ExpectToggles(const std::string& keys);
    void ExpectDoesNothing(const std::string& keys);
    bool HeldBeforeTheScenario(const std::string& keys);

    // Returns once the desktop has read every key pressed so far and the
    // resident instance, if one runs, has handled every message it had been
    // posted by then: the hot keys those presses stood for, the switches it
    // was started with, a tray menu's command. What it did not do by then,
    // it does not do.
    ::testing::AssertionResult Settled();
    // Whether the taskbar's visibility is `shown` once all is Settled().
    ::testing::AssertionResult TaskbarStays(bool shown);
    // Whether exactly one icon shows once all is Settled(). The shell draws
    // an icon before the call that adds it returns.
    ::testing::AssertionResult OneIcon();

    LeftoverLocksUndone unlocked_{SETTINGS_KEY_PATH, POLICY_KEY_PATH, RUN_KEY_PATH};
    RegistryKeyGuard settings_{SETTINGS_KEY_PATH};
    RegistryValueGuard policy_{POLICY_KEY_PATH, POLICY_VALUE_NAME};
    RegistryValueGuard run_{RUN_KEY_PATH, RUN_VALUE_NAME};
    Process resident_;
    HWND window_ = nullptr;
    std::set<std::string> heldBefore_;
    std::string notPressed_;
};

// Whether the taskbar's visibility becomes `shown` within a moment.
::testing::AssertionResult TaskbarBecomes(bool shown);
