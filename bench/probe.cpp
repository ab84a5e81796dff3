// Measures one run of a resident notification-area program on the Wine shell
// desktop, from another process, as its user meets it:
//
//   probe PROGRAM WORK_FOLDER IDLE_SECONDS [keep-hidden]
//
// PROGRAM and WORK_FOLDER are Windows paths. The probe starts PROGRAM, waits
// for its icon, reads its memory, hides the taskbar with the hot key, lets it
// idle so, shows the taskbar with the hot key and ends it. With keep-hidden,
// before that show it shows the taskbar as the shell does, its event raised,
// and times until PROGRAM has hidden it again. It prints
//
//   sync NAME pid=N    then waits for WORK_FOLDER\NAME.done (or .failed)
//                      while the host reads the process from outside
//   figures KEY=VALUE ...
//   error MESSAGE      (and exits 1)
#include <windows.h>

#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/e2e/desktop_user.h"
#include "tests/e2e/program_driver.h"
#include "tests/support/screen.h"
#include "tests/support/wait_for.h"

namespace {

// The toggle hot key of both programs measured: the baseline's, and the
// program's own with its stored "Ctrl+Shift" choice.
constexpr const char* HOT_KEY = "ctrl+shift+a";

constexpr DWORD ICON_LIMIT_MS = 15000;
// The taskbar's visibility is cheap to ask for, and is asked every
// millisecond; a look for the icon reads the screen, and looking much more
// often than this slows down the start it times.
constexpr DWORD ICON_INTERVAL_MS = 4;
constexpr DWORD TASKBAR_LIMIT_MS = 5000;
constexpr DWORD SYNC_LIMIT_MS = 30000;
// The icon of a program ended by the run before goes a moment later.
constexpr DWORD EMPTY_TRAY_LIMIT_MS = 5000;
// Lets the process finish what it does right after adding its icon, so that
// its memory is read in the state it then keeps all day.
constexpr DWORD SETTLE_MS = 1000;
// Between the two presses, as a user would leave at least.
constexpr DWORD BETWEEN_PRESSES_MS = 500;
constexpr const char* KEEP_HIDDEN = "keep-hidden";

void Print(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

int Fail(const std::string& message) {
    Print("error " + message);
    return 1;
}

std::int64_t Now() {
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double MillisecondsSince(std::int64_t start) {
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Now() - start) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Decimal(double value) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// The probe looks every millisecond: it measures how soon things happen.
constexpr DWORD LOOK_INTERVAL_MS = 1;

// Whether the first notification-area slot shows an icon, judged by the same
// pixels as the e2e tier's ProgramIcons, against a taskbar colour taken once:
// each look reads the screen through the X server and the wineserver, which
// the starting program needs too.
class IconWatch {
public:
    IconWatch()
        : background_(CaptureScreen(RECT{WholeScreen().right / 2, WineIconSlot(0).y,
                                         WholeScreen().right / 2 + 1, WineIconSlot(0).y + 1})
                          .At(0, 0)) {}

    bool IconUp() {
        ++looks_;
        const POINT centre = WineIconSlot(0);
        const ScreenPixels icon = CaptureScreen(RECT{centre.x - ICON_HALF, centre.y - ICON_HALF,
                                                     centre.x + ICON_HALF, centre.y + ICON_HALF});
        int differing = 0;
        for (const std::uint32_t pixel : icon.pixels) {
            differing += pixel != background_ ? 1 : 0;
        }
        return differing >= ICON_PIXELS;
    }
    int Looks() const { return looks_; }

private:
    static constexpr int ICON_HALF = 8;
    static constexpr int ICON_PIXELS = 20;
    std::uint32_t background_;
    int looks_ = 0;
};

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Hands over to the host, which reads the process from outside, and waits
// until it marks NAME.done, or NAME.failed when it could not read it.
bool SyncWithHost(const std::string& folder, const char* name, DWORD processId) {
    Print(std::string("sync ") + name + " pid=" + std::to_string(processId));
    const std::string done = folder + "\\" + name + ".done";
    const std::string failed = folder + "\\" + name + ".failed";
    WaitFor([&] { return Exists(done) || Exists(failed); }, SYNC_LIMIT_MS, LOOK_INTERVAL_MS);
    const bool ok = Exists(done) && !Exists(failed);
    DeleteFileA(done.c_str());
    DeleteFileA(failed.c_str());
    return ok;
}

// Kernel and user time in 100 ns units.
std::optional<std::uint64_t> CpuTime(HANDLE process) {
    FILETIME created = {};
    FILETIME exited = {};
    FILETIME kernel = {};
    FILETIME user = {};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return std::nullopt;
    }
    const auto join = [](FILETIME time) {
        return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return join(kernel) + join(user);
}

// The time since `start` once the taskbar is `shown`; false when it did not
// become so within the limit.
bool TimeUntilTaskbar(bool shown, std::int64_t start, double& milliseconds) {
    if (!WaitFor([&] { return TaskbarShown() == shown; }, TASKBAR_LIMIT_MS, LOOK_INTERVAL_MS)) {
        return false;
    }
    milliseconds = MillisecondsSince(start);
    return true;
}

// A press of the hot key, timed from the moment it is pressed until the
// taskbar is `shown`.
bool PressAndTime(bool shown, double& milliseconds) {
    const std::int64_t start = Now();
    return PressKeys(HOT_KEY) && TimeUntilTaskbar(shown, start, milliseconds);
}

class Resident {
public:
    explicit Resident(const PROCESS_INFORMATION& info) : info_(info) {}
    ~Resident() {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Resident(const Resident&) = delete;
    Resident& operator=(const Resident&) = delete;

    HANDLE Handle() const { return info_.hProcess; }
    DWORD Id() const { return info_.dwProcessId; }
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

private:
    PROCESS_INFORMATION info_;
};

// The shell's show of the hidden taskbar, with the event Windows raises for
// it (Wine raises none), timed until the taskbar is hidden again.
bool ShowAsTheShellAndTime(double& milliseconds) {
    const HWND taskbar = Taskbar();
    const std::int64_t start = Now();
    ShowWindow(taskbar, SW_SHOWNA);
    NotifyWinEvent(EVENT_OBJECT_SHOW, taskbar, OBJID_WINDOW, CHILDID_SELF);
    return TimeUntilTaskbar(false, start, milliseconds);
}

int Measure(const std::string& program, const std::string& folder, DWORD idleSeconds,
            bool keepsHidden) {
    if (!TaskbarShown()) {
        return Fail("the taskbar must start shown");
    }
    if (!WaitFor([] { return !ProgramIconShows(); }, EMPTY_TRAY_LIMIT_MS, LOOK_INTERVAL_MS)) {
        return Fail("the notification area must start empty");
    }
    // A pointer resting on the tray raises a tip over the icon being looked for.
    MovePointer(POINT{WholeScreen().right / 2, WholeScreen().bottom / 2});

    IconWatch watch;
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const std::int64_t created = Now();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return Fail("cannot start " + program);
    }
    const Resident resident(info);

    std::string figures = "figures";
    const auto add = [&](const char* name, const std::string& value) {
        figures += std::string(" ") + name + "=" + value;
    };

    const auto iconUp = [&] { return watch.IconUp() || !resident.Running(); };
    if (!WaitFor(iconUp, ICON_LIMIT_MS, ICON_INTERVAL_MS) || !resident.Running()) {
        return Fail("no icon appeared");
    }
    add("icon_ms", Decimal(MillisecondsSince(created)));
    // The time between looks bounds the figure's resolution.
    add("icon_looks", std::to_string(watch.Looks()));

    // Hidden for the rest of the day, as the user wants it: with keep-hidden,
    // the program watches for the shell's shows while it idles.
    Sleep(SETTLE_MS);
    double hideMs = 0;
    if (!PressAndTime(false, hideMs)) {
        ShowTaskbar();
        return Fail("the hot key did not hide the taskbar");
    }
    add("hide_ms", Decimal(hideMs));
    Sleep(SETTLE_MS);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(resident.Handle(), &memory, sizeof memory)) {
        return Fail("GetProcessMemoryInfo failed");
    }
    add("working_set_bytes", std::to_string(memory.WorkingSetSize));
    add("pagefile_bytes", std::to_string(memory.PagefileUsage));
    if (!SyncWithHost(folder, "resident", resident.Id())) {
        return Fail("the host did not read the resident process");
    }

    const auto cpuBefore = CpuTime(resident.Handle());
    Sleep(idleSeconds * 1000);
    const auto cpuAfter = CpuTime(resident.Handle());
    if (!cpuBefore || !cpuAfter || !resident.Running()) {
        return Fail("GetProcessTimes failed");
    }
    add("cpu_total_100ns", std::to_string(*cpuAfter));
    add("idle_cpu_100ns", std::to_string(*cpuAfter - *cpuBefore));
    if (!SyncWithHost(folder, "idle-end", resident.Id())) {
        return Fail("the host did not read the idle process");
    }

    double rehideMs = 0;
    if (keepsHidden) {
        if (!ShowAsTheShellAndTime(rehideMs)) {
            ShowTaskbar();
            return Fail("the shell's show was not undone");
        }
        add("rehide_ms", Decimal(rehideMs));
    }
    Sleep(BETWEEN_PRESSES_MS);
    double showMs = 0;
    if (!PressAndTime(true, showMs)) {
        ShowTaskbar();
        return Fail("the hot key did not show the taskbar");
    }
    add("show_ms", Decimal(showMs));
    if (!resident.Running()) {
        return Fail("the program ended by itself");
    }
    Print(figures);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && !(argc == 5 && std::string(argv[4]) == KEEP_HIDDEN)) {
        return Fail("usage: probe PROGRAM WORK_FOLDER IDLE_SECONDS [keep-hidden]");
    }
    return Measure(argv[1], argv[2], static_cast<DWORD>(std::atoi(argv[3])), argc == 5);
}
