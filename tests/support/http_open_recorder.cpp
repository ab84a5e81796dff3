#include "tests/support/http_open_recorder.h"

#include <fstream>

#include "tests/support/processes.h"
#include "tests/support/wait_for.h"

namespace {

constexpr const char* KEY = "Software\\Classes\\http\\shell\\open\\command";
// The program of the recording command line; nothing else on the tests' desktop runs it.
constexpr const char* RECORDING_PROGRAM = "cmd.exe";
constexpr DWORD SETTLE_MS = 10000;

std::string LogPath() {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "shelfcloak-opened-" + std::to_string(GetCurrentProcessId()) +
           ".txt";
}

// Once no command line runs: those the shell started have written their line.
bool CommandLinesEnded() {
    return WaitFor(
        [] {
            int running = 0;
            return ForEachProcessNamed(RECORDING_PROGRAM, [&](DWORD) { ++running; }) &&
                   running == 0;
        },
        SETTLE_MS);
}

}  // namespace

HttpOpenRecorder::HttpOpenRecorder() : log_(LogPath()) {
    DeleteFileA(log_.c_str());
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof saved_;
    hadCommand_ = RegQueryValueExA(key_, nullptr, nullptr, &savedType_,
                                   reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
    savedSize_ = size;
    const std::string recorder = "C:\\windows\\system32\\" + std::string(RECORDING_PROGRAM) +
                                 " /c echo %1>>\"" + log_ + "\"";
    RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(recorder.c_str()),
                   static_cast<DWORD>(recorder.size() + 1));
}

HttpOpenRecorder::~HttpOpenRecorder() {
    // A command line still running would write the file again after it goes.
    CommandLinesEnded();
    if (hadCommand_) {
        RegSetValueExA(key_, nullptr, 0, savedType_, reinterpret_cast<const BYTE*>(saved_),
                       savedSize_);
    } else {
        RegDeleteValueA(key_, nullptr);
    }
    RegCloseKey(key_);
    DeleteFileA(log_.c_str());
}

std::vector<std::string> HttpOpenRecorder::Opened() const {
    CommandLinesEnded();
    std::ifstream file(log_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}
