// The desktop before and after hiding, as the README shows it: a window
// maximised while the taskbar shows stops above it, and one maximised while
// it is hidden reaches the bottom of the screen.
#include <windows.h>

#include <string>

#include "tests/e2e/program_fixture.h"
#include "tests/support/screen.h"

namespace {

constexpr LONG PICTURE_HEIGHT = 200;

// The bottom of the screen: the window's lower part, the taskbar's strip.
RECT PictureArea() {
    RECT area = WholeScreen();
    area.top = area.bottom - PICTURE_HEIGHT;
    return area;
}

// Another program's window, started maximised in a new process (Wine
// gives a process the work area it first saw); the process is ended when
// this goes.
class MaximisedWindow {
public:
    explicit MaximisedWindow(const char* program) {
        std::string commandLine = program;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMAXIMIZED;
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info_)) {
            CloseHandle(info_.hThread);
            WaitFor([&] { return (window_ = Find()) != nullptr && IsZoomed(window_); });
        }
    }
    ~MaximisedWindow() {
        if (info_.hProcess != nullptr) {
            TerminateProcess(info_.hProcess, 0);
            WaitForSingleObject(info_.hProcess, QUICK);
            CloseHandle(info_.hProcess);
        }
    }
    MaximisedWindow(const MaximisedWindow&) = delete;
    MaximisedWindow& operator=(const MaximisedWindow&) = delete;

    // A new window is maximised before it has painted.
    bool HasPainted() const { return window_ != nullptr && Painted(window_); }

    // The window's rectangle once it is maximised, or an empty one.
    RECT Rect() const {
        RECT rect = {};
        if (window_ != nullptr && IsZoomed(window_)) {
            GetWindowRect(window_, &rect);
        }
        return rect;
    }

private:
    struct Search {
        DWORD processId;
        HWND found;
    };

    static BOOL CALLBACK Check(HWND window, LPARAM context) {
        auto* search = reinterpret_cast<Search*>(context);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == search->processId && IsWindowVisible(window) &&
            GetWindow(window, GW_OWNER) == nullptr) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }

    HWND Find() const {
        Search search = {info_.dwProcessId, nullptr};
        EnumWindows(Check, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION info_ = {};
    HWND window_ = nullptr;
};

class DesktopPictures : public ProgramTest {};

TEST_F(DesktopPictures, AWindowMaximisedWhileHiddenTakesTheTaskbarsStrip) {
    StartResident();
    {
        const MaximisedWindow shown("notepad.exe");
        const RECT rect = shown.Rect();
        ASSERT_GT(rect.bottom, rect.top) << "no maximised window";
        EXPECT_LE(rect.bottom, TaskbarRect().top + GetSystemMetrics(SM_CYFRAME))
            << "with the taskbar shown, a maximised window covers it";
        EXPECT_TRUE(WaitFor([&] { return shown.HasPainted(); }, QUICK));
        EXPECT_FALSE(SaveArtifact(PictureArea(), "desktop-shown.png").empty());
    }

    PressKeys("ctrl+shift+a");
    ASSERT_TRUE(TaskbarBecomes(false));
    {
        const MaximisedWindow hidden("notepad.exe");
        const RECT rect = hidden.Rect();
        ASSERT_GT(rect.bottom, rect.top) << "no maximised window";
        EXPECT_GE(rect.bottom, WholeScreen().bottom) << "the freed strip is not used";
        EXPECT_TRUE(WaitFor([&] { return hidden.HasPainted(); }, QUICK));
        EXPECT_FALSE(SaveArtifact(PictureArea(), "desktop-hidden.png").empty());
    }

    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(true));
}

}  // namespace
