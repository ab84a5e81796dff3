// Runs the tiers on the Windows desktop it finds, Wine's or a real one's:
// every case of the unit tests, the win tier and the e2e tier, each in a
// process of its own, from the build that holds this file:
//
//   <build>\tests\windows_job.exe      (no arguments)
//
// It prints each case's result, each skipped case with its reason and the
// log of each failed one (all logs stay under tests\artifacts), and ends with
// "N passed, N failed", exiting with 1 on any failure. After every case,
// also one that failed or hung, it ends what the case left running, shows
// the taskbar and puts the work area back as it found it.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <tlhelp32.h>
#include <vector>

namespace {

constexpr DWORD CASE_LIMIT_MS = 300000;
constexpr DWORD LIST_LIMIT_MS = 60000;
constexpr const char* PROGRAM_FILE = "Shelfcloak.exe";
// The test programs, by their place under the build, and their tiers.
constexpr const char* TIERS[][2] = {{"unit", "tests\\unit_tests.exe"},
                                    {"win", "tests\\win_tests.exe"},
                                    {"e2e", "tests\\e2e_tests.exe"},
                                    {"e2e", "tests\\release\\release_e2e_tests.exe"}};

enum class End { Ended, Hung, NotStarted };

struct Outcome {
    End end;
    std::string output;
};

// Runs a command line with its output in the file; ends it after the limit.
// A command line that cannot start says why in the output.
Outcome Run(std::string commandLine, const std::string& log, DWORD limitMs) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE file = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        return {End::NotStarted,
                "could not start " + commandLine + ": error " + std::to_string(error) + "\n"};
    }
    const bool ended = WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(file);
    std::ostringstream text;
    text << std::ifstream(log, std::ios::binary).rdbuf();
    return {ended ? End::Ended : End::Hung, text.str()};
}

// The cases a test program lists, as "Suite.Case".
std::vector<std::string> Cases(const std::string& program, const std::string& log) {
    std::istringstream listing(
        Run("\"" + program + "\" --gtest_list_tests", log, LIST_LIMIT_MS).output);
    std::vector<std::string> cases;
    std::string suite;
    for (std::string line; std::getline(listing, line);) {
        const bool indented = line.rfind("  ", 0) == 0;
        line = line.substr(0, line.find_first_of(" #\r", indented ? 2 : 0));
        if (line.empty() || line.rfind("Running", 0) == 0) {
            continue;
        }
        if (!indented && line.back() == '.') {
            suite = line;
        } else if (indented) {
            cases.push_back(suite + line.substr(2));
        }
    }
    return cases;
}

// Ends every process of that file name: what a case left running.
void EndProcessesNamed(const char* file) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, file) == 0) {
            if (const HANDLE process =
                    OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
    }
    CloseHandle(snapshot);
}

BOOL CALLBACK ShowTaskbarWindow(HWND window, LPARAM) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "Shell_TrayWnd") == 0 || lstrcmpA(name, "Shell_SecondaryTrayWnd") == 0) {
        ShowWindow(window, SW_SHOWNA);
    }
    return TRUE;
}

// Windows keeps one work area for every program; Wine keeps one per process,
// so there this one's never changes and nothing is set.
void PutTheDesktopBack(RECT workArea) {
    EndProcessesNamed(PROGRAM_FILE);
    EnumWindows(ShowTaskbarWindow, 0);
    RECT now = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &now, 0);
    if (!EqualRect(&now, &workArea)) {
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &workArea, SPIF_SENDCHANGE);
    }
}

// What gtest printed after "Skipped", up to the case's result line.
std::string SkipReason(const std::string& output) {
    const std::size_t skipped = output.find(": Skipped");
    if (skipped == std::string::npos) {
        return "";
    }
    const std::size_t start = output.find('\n', skipped) + 1;
    std::string reason = output.substr(start, output.find("[  SKIPPED", start) - start);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) {
        reason.pop_back();
    }
    return reason;
}

bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace

int main() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string tests = self;
    tests.erase(tests.rfind('\\'));
    const std::string build = tests.substr(0, tests.rfind('\\'));
    const std::string work = tests + "\\e2e-work";
    const std::string artifacts = tests + "\\artifacts";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(artifacts.c_str(), nullptr);
    WIN32_FIND_DATAA installer = {};
    const HANDLE found = FindFirstFileA((build + "\\packages\\*-setup.exe").c_str(), &installer);
    if (found != INVALID_HANDLE_VALUE) {
        FindClose(found);
    }
    std::string hostWork = work.size() > 2 && work.compare(0, 2, "Z:") == 0 ? work.substr(2) : "";
    for (char& c : hostWork) {
        c = c == '\\' ? '/' : c;
    }
    SetEnvironmentVariableA("SHELFCLOAK_EXE", (build + "\\" + PROGRAM_FILE).c_str());
    SetEnvironmentVariableA("SHELFCLOAK_DESKTOP_HELPER", (tests + "\\desktop_helper.exe").c_str());
    SetEnvironmentVariableA("SHELFCLOAK_E2E_WORK", work.c_str());
    SetEnvironmentVariableA("SHELFCLOAK_ARTIFACTS", artifacts.c_str());
    SetEnvironmentVariableA("SHELFCLOAK_INSTALLER",
                            found != INVALID_HANDLE_VALUE
                                ? (build + "\\packages\\" + installer.cFileName).c_str()
                                : "");
    // Wine maps the host's root to Z:, where the Wine-only cases reach the host.
    SetEnvironmentVariableA("SHELFCLOAK_E2E_HOST_WORK", UnderWine() ? hostWork.c_str() : nullptr);

    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const auto& [tier, file] : TIERS) {
        const std::string program = build + "\\" + file;
        const std::vector<std::string> cases =
            Cases(program, artifacts + "\\" + tier + ".list.log");
        if (cases.empty()) {
            std::printf("FAILED  %s: no cases listed by %s\n", tier, program.c_str());
            ++failed;
        }
        for (const std::string& name : cases) {
            const std::string log = artifacts + "\\" + tier + "." + name + ".log";
            const DWORD start = GetTickCount();
            const Outcome outcome =
                Run("\"" + program + "\" --gtest_filter=" + name, log, CASE_LIMIT_MS);
            PutTheDesktopBack(workArea);
            const double seconds = (GetTickCount() - start) / 1000.0;
            if (outcome.end == End::Hung) {
                std::printf("FAILED  %s.%s: still running after %lu s, ended\n%s\n", tier,
                            name.c_str(), CASE_LIMIT_MS / 1000, outcome.output.c_str());
                ++failed;
            } else if (outcome.end == End::NotStarted) {
                std::printf("FAILED  %s.%s: %s", tier, name.c_str(), outcome.output.c_str());
                ++failed;
            } else if (outcome.output.find("[  SKIPPED ] 1 test") != std::string::npos) {
                std::printf("skipped %s.%s: %s\n", tier, name.c_str(),
                            SkipReason(outcome.output).c_str());
                ++skipped;
            } else if (outcome.output.find("[  PASSED  ] 1 test.") != std::string::npos) {
                std::printf("passed  %s.%s (%.1f s)\n", tier, name.c_str(), seconds);
                ++passed;
            } else {
                std::printf("FAILED  %s.%s (%.1f s)\n%s\n", tier, name.c_str(), seconds,
                            outcome.output.c_str());
                ++failed;
            }
            std::fflush(stdout);
        }
    }
    std::printf("%d skipped\n%d passed, %d failed\n", skipped, passed, failed);
    return failed == 0 ? 0 : 1;
}
