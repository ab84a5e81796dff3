#include "tests/e2e/program_driver.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/processes.h"
#include "tests/support/wide_text.h"

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
std::string ArtifactFolder() {
    return Environment("SHELFCLOAK_ARTIFACTS");
}
std::string HostWorkFolder() {
    return Environment("SHELFCLOAK_E2E_HOST_WORK");
}

std::string WindowsPathOf(const std::string& hostPath) {
    std::string path = "Z:" + hostPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

Process Process::Start(const std::string& exe, const std::string& arguments) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    // Wide, so that a path outside the ANSI code page reaches the process whole.
    std::wstring wideCommandLine = Wide(commandLine);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    Process process;
    if (CreateProcessW(nullptr, wideCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process.process_ = info.hProcess;
    }
    return process;
}

Process Process::OfWindow(HWND window) {
    DWORD id = 0;
    Process process;
    if (window != nullptr && GetWindowThreadProcessId(window, &id) != 0) {
        process.process_ = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
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

namespace {

bool Exists(const std::string& windowsPath) {
    return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FileText(const std::string& windowsPath) {
    std::ifstream in(windowsPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A new file name under the host work folder, for this process alone: Wine
// gives a later process the same id, and a shell may write a file after the
// scenario that named it has gone.
std::string HostScratch(const char* kind) {
    static int serial = 0;
    return HostWorkFolder() + "/" + kind + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount64()) + "-" + std::to_string(++serial);
}

}  // namespace

bool RunOnHost(const std::string& command, DWORD timeoutMs) {
    // Wine starts host programs without waiting for them, so the command
    // leaves a mark when it is done.
    const std::string mark = HostScratch("done");
    Process::Start("/bin/sh", "-c \"" + command + "; touch '" + mark + "'\"");
    const std::string windowsMark = WindowsPathOf(mark);
    const bool done = WaitFor([&] { return Exists(windowsMark); }, timeoutMs);
    DeleteFileA(windowsMark.c_str());
    return done;
}

TracedStart::TracedStart(const std::string& arguments, const std::string& hostFolder,
                         const std::string& exe)
    : trace_(HostScratch("trace")), exitCode_(HostScratch("exit-code")) {
    Process::Start("/bin/sh", "-c \"cd '" + hostFolder + "' && WINEDEBUG=trace+process wine '" +
                                  exe + "' " + arguments + " 2>'" + trace_ + "'; echo $? >'" +
                                  exitCode_ + "'\"");
}

TracedStart::~TracedStart() {
    DeleteFileA(WindowsPathOf(trace_).c_str());
    DeleteFileA(WindowsPathOf(exitCode_).c_str());
}

std::optional<DWORD> TracedStart::ExitCode() const {
    const std::string text = FileText(WindowsPathOf(exitCode_));
    if (text.empty() || text.back() != '\n') {
        return std::nullopt;
    }
    return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
}

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

// Wine's line for each creation: ...:trace:process:CreateProcessInternalW
// app (null) cmdline L"<the command line>", in which \\ and \" stand for
// themselves and a character outside printable ASCII for a backslash and its
// UTF-16 code in four hexadecimal digits (Omega as \03a9).
std::vector<std::string> TracedStart::Created() const {
    constexpr const char* MARK = "trace:process:CreateProcessInternalW app (null) cmdline L\"";
    constexpr std::size_t HEX_DIGITS = 4;
    const std::string trace = FileText(WindowsPathOf(trace_));
    std::vector<std::string> created;
    for (std::size_t at = trace.find(MARK); at != std::string::npos; at = trace.find(MARK, at)) {
        at += std::string(MARK).size();
        std::wstring line;
        for (; at < trace.size() && trace[at] != '"' && trace[at] != '\n'; ++at) {
            if (trace[at] != '\\' || at + 1 >= trace.size()) {
                line += static_cast<wchar_t>(static_cast<unsigned char>(trace[at]));
                continue;
            }
            ++at;
            const std::string code = trace.substr(at, HEX_DIGITS);
            if (code.size() == HEX_DIGITS && std::all_of(code.begin(), code.end(), IsHexDigit)) {
                line += static_cast<wchar_t>(std::stoul(code, nullptr, 16));
                at += HEX_DIGITS - 1;
            } else {
                line += static_cast<wchar_t>(trace[at]);
            }
        }
        created.push_back(Utf8(line));
    }
    return created;
}

bool PostedMessagesHandled(HWND window, DWORD timeoutMs) {
    // Posted messages are handled in order; a sent one overtakes them, so
    // only a posted mark will do. The default window procedure answers
    // WM_SETREDRAW(TRUE) by setting the window's WS_VISIBLE style without
    // showing it, and another process reads the style: once it is set, all
    // posted before it has been handled. WM_SETREDRAW(FALSE) takes it back.
    const auto marked = [&] { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; };
    if (marked() || !PostMessageA(window, WM_SETREDRAW, TRUE, 0)) {
        return false;
    }
    const bool handled = WaitFor(marked, timeoutMs, 5);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_SETREDRAW, FALSE, 0, SMTO_NORMAL, timeoutMs, &ignored);
    return handled && !marked();
}

void ShowTaskbar() {
    if (const HWND taskbar = Taskbar()) {
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
    return FindWindowA(MAIN_WINDOW_CLASS, "Shelf Cloak");
}

namespace {

constexpr const char* PROGRAM_FILE = "Shelfcloak.exe";

}  // namespace

int CountProcesses(const char* file) {
    int count = 0;
    return ForEachProcessNamed(file, [&](DWORD) { ++count; }) ? count : -1;
}

int CountProgramProcesses() {
    return CountProcesses(PROGRAM_FILE);
}

void EndProgramProcesses() {
    ForEachProcessNamed(PROGRAM_FILE, [](DWORD id) {
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    });
}
