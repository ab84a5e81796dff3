#include "tests/e2e/program_driver.h"

#include <cstdlib>
#include <tlhelp32.h>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string ProgramPath() {
    return Environment("SHELFCLOAK_EXE");
}
std::string DesktopHelperPath() {
    return Environment("SHELFCLOAK_DESKTOP_HELPER");
}
std::string WorkFolder() {
    return Environment("SHELFCLOAK_E2E_WORK");
}

Process Process::Start(const std::string& exe, const std::string& arguments) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    Process process;
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hThread);
        process.process_ = info.hProcess;
    }
    return process;
}

Process::Process(Process&& other) noexcept : process_(other.process_) {
    other.process_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        End();
        process_ = other.process_;
        other.process_ = nullptr;
    }
    return *this;
}

bool Process::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) {
    if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Process::End() {
    if (process_ == nullptr) {
        return;
    }
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

std::optional<DWORD> RunToExit(const std::string& arguments, DWORD timeoutMs,
                               const std::string& exe) {
    Process process = Process::Start(exe, arguments);
    return process.WaitForExit(timeoutMs);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD intervalMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(intervalMs);
    }
    return true;
}

bool TaskbarShown() {
    const HWND taskbar = FindWindowA("Shell_TrayWnd", "");
    return taskbar != nullptr && IsWindowVisible(taskbar);
}

void ShowTaskbar() {
    if (const HWND taskbar = FindWindowA("Shell_TrayWnd", "")) {
        ShowWindow(taskbar, SW_SHOW);
    }
}

bool NewProcessSeesWorkArea(const RECT& area) {
    const std::string arguments = "work-area " + std::to_string(area.left) + " " +
                                  std::to_string(area.top) + " " + std::to_string(area.right) +
                                  " " + std::to_string(area.bottom);
    return RunToExit(arguments, 10000, DesktopHelperPath()) == 0u;
}

HWND FindMainWindow() {
    return FindWindowA("SHELFCLOAK", "Shelf Cloak");
}

int CountProgramProcesses() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "Shelfcloak.exe") == 0) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}
