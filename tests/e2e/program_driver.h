// Starting and watching the real Shelfcloak.exe from another process, as a
// user's shell would.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// The program under test (SHELFCLOAK_EXE), the desktop helper
// (SHELFCLOAK_DESKTOP_HELPER) and a folder the tests may write in
// (SHELFCLOAK_E2E_WORK), as Windows paths.
std::string ProgramPath();
std::string DesktopHelperPath();
std::string WorkFolder();

// A started process, ended by its handle when it goes if it still runs.
class Process {
public:
    // Starts exe with arguments; the command line quotes the path as the shell does.
    static Process Start(const std::string& exe, const std::string& arguments);

    Process() = default;
    ~Process() { End(); }
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return process_ != nullptr; }
    // The process handle, with all access, for looking at the process from outside.
    HANDLE Handle() const { return process_; }
    bool Running() const;
    // The exit code, or empty when the process still runs after timeoutMs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    void End();

private:
    HANDLE process_ = nullptr;
};

// Runs the program with arguments to its end; the exit code, or empty when
// it did not end within the time (it is then ended).
std::optional<DWORD> RunToExit(const std::string& arguments, DWORD timeoutMs = 15000,
                               const std::string& exe = ProgramPath());

// Waits until condition holds, checking every intervalMs; false on timeout.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000,
             DWORD intervalMs = 50);

bool TaskbarShown();
void ShowTaskbar();
// Whether a process started now sees this work area. Wine keeps the work
// area per process and does not update it in one that has read it before.
bool NewProcessSeesWorkArea(const RECT& area);
// The resident instance's hidden main window, or null.
HWND FindMainWindow();
// Program processes alive on the desktop, found by their file name.
int CountProgramProcesses();
