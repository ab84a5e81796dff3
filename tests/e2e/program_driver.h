// Starting and watching the real Shelfcloak.exe from another process, as a
// user's shell would, on Wine's desktop or Windows'.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/real_desktop.h"
#include "tests/support/wait_for.h"

inline constexpr const char* MAIN_WINDOW_CLASS = "SHELFCLOAK";

// The program under test (SHELFCLOAK_EXE), the desktop helper
// (SHELFCLOAK_DESKTOP_HELPER), a folder the tests may write in
// (SHELFCLOAK_E2E_WORK) and one for what a failure leaves to look at
// (SHELFCLOAK_ARTIFACTS), as Windows paths.
std::string ProgramPath();
std::string DesktopHelperPath();
std::string WorkFolder();
std::string ArtifactFolder();
// Under Wine only: the work folder as the host names it
// (SHELFCLOAK_E2E_HOST_WORK), and a host path as Wine shows it to Windows
// programs.
std::string HostWorkFolder();
std::string WindowsPathOf(const std::string& hostPath);

// A started process, ended by its handle when it goes if it still runs.
class Process {
public:
    // Starts exe with arguments, both in UTF-8; the command line quotes the
    // path as the shell does.
    static Process Start(const std::string& exe, const std::string& arguments);
    // The process that owns the window, which another program started.
    static Process OfWindow(HWND window);

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

// Under Wine only: runs a shell command line on the host, as the desktop's
// user, and returns once it has finished (false if it did not within the time).
bool RunOnHost(const std::string& command, DWORD timeoutMs = 10000);

// Under Wine only: the program (or a copy of it, `exe`) started from a host
// shell in a folder of the host's, as a user starts it from there, with Wine
// tracing every process that it or its children create. Wine prints those
// command lines on the standard error of the creating process, which only a
// host shell can redirect.
class TracedStart {
public:
    TracedStart(const std::string& arguments, const std::string& hostFolder,
                const std::string& exe = ProgramPath());
    ~TracedStart();
    TracedStart(const TracedStart&) = delete;
    TracedStart& operator=(const TracedStart&) = delete;

    // The exit code once the program has ended, or empty while it runs.
    std::optional<DWORD> ExitCode() const;
    // The command lines of the processes created so far, in order, as
    // CreateProcess was given them, in UTF-8.
    std::vector<std::string> Created() const;

private:
    std::string trace_;  // host paths of the trace and of the exit code
    std::string exitCode_;
};

// Returns once the window's thread has handled every message posted to it
// before the call; false if it did not within the time.
bool PostedMessagesHandled(HWND window, DWORD timeoutMs = 10000);

void ShowTaskbar();
// Whether a process started now sees this work area. Wine keeps the work
// area per process and does not update it in one that has read it before.
bool NewProcessSeesWorkArea(const RECT& area);
// The resident instance's hidden main window, or null.
HWND FindMainWindow();
// Processes alive on the desktop whose file has that name; -1 when they
// cannot be listed. The program's own, by its file name.
int CountProcesses(const char* file);
int CountProgramProcesses();
// Ends each of them by its id: what a scenario started through a shell or
// what the program itself started, when a failure left it running.
void EndProgramProcesses();
