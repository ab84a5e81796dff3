// The real program under load and faults on Wine's shell desktop: storms of
// key presses, starts, broadcasts and dialog openings, a taskbar that cannot
// be found, a long program path and a long command line. Each scenario checks
// the exit codes of what it started; the fixture checks that no program
// process is left behind.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "about/about_dialog.h"
#include "settings/settings_dialog.h"
#include "tests/e2e/process_resources.h"
#include "tests/e2e/program_fixture.h"

namespace {

constexpr const char* ABOUT_CAPTION = "About Shelf Cloak";
constexpr int ABOUT_ICON = 2;
constexpr const char* CTRL_SHIFT_LETTERS = "abcdefghijklmnopqrstuvwxyz";
constexpr const char* WIN_LETTERS = "bghjklquwxyz";
constexpr DWORD SLOW = 60000;  // for what many Wine processes do at once
constexpr int PRESSES = 500;
constexpr DWORD PRESS_REST_MS = 15;    // a fast typist's pace
constexpr DWORD POINTER_REST_MS = 50;  // long enough for the link to answer the move
constexpr DWORD DIALOG_POLL = 10;
// Counts are taken at even steps after a warm-up. Each opening waits until
// the dialog has painted: the first paintings fill Wine's cache of device
// contexts (some 25 DCs, with their regions and bitmaps), at whichever
// opening first lives long enough to paint, and a leak on a paint path shows
// only when every opening paints.
constexpr int SAMPLES = 5;
// A count may move by this much for reasons of Wine's own; a leak of one
// object per opening moves it by the openings between two samples.
constexpr long SLACK = 2;

// A hot-key combination: the program's Settings choice, and the
// RegisterHotKey and key names of it.
struct Combination {
    bool ctrlShift;
    int index;

    char Letter() const { return ctrlShift ? CTRL_SHIFT_LETTERS[index] : WIN_LETTERS[index]; }
    UINT Modifiers() const { return ctrlShift ? MOD_CONTROL | MOD_SHIFT : MOD_WIN; }
    UINT KeyCode() const { return static_cast<UINT>(Letter() - 'a' + 'A'); }
    std::string Keys() const {
        return std::string(ctrlShift ? "ctrl+shift+" : "super+") + Letter();
    }
    bool operator<(const Combination& other) const {
        return std::pair(ctrlShift, index) < std::pair(other.ctrlShift, other.index);
    }
};

// Whether no count, taken at even steps after the warm-up, grew beyond the
// first one taken.
::testing::AssertionResult NoLeak(const std::vector<ProcessResources>& samples) {
    bool grew = false;
    bool unread = samples.size() < SAMPLES;
    std::string seen;
    for (const ProcessResources& now : samples) {
        const ProcessResources& first = samples.front();
        unread = unread || now.handles < 0 || now.gdiObjects < 0 || now.windows < 0;
        grew = grew || now.handles > first.handles + SLACK ||
               now.gdiObjects > first.gdiObjects + SLACK || now.windows > first.windows + SLACK;
        seen += (seen.empty() ? "" : "; ") + Describe(now);
    }
    if (!grew && !unread) {
        return ::testing::AssertionSuccess() << seen;
    }
    return ::testing::AssertionFailure() << (unread ? "unread counts: " : "growth: ") << seen;
}

BOOL CALLBACK CountMainWindow(HWND window, LPARAM count) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    *reinterpret_cast<int*>(count) += lstrcmpA(name, "SHELFCLOAK") == 0 ? 1 : 0;
    return TRUE;
}

int CountMainWindows() {
    int count = 0;
    EnumWindows(CountMainWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

class Stress : public ProgramTest {
protected:
    // Ends the resident instance as the tray menu's Exit does.
    void ExitResident() {
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
        EXPECT_EQ(resident_.WaitForExit(QUICK), 0u) << "the resident instance's exit code";
    }

    // Opens the dialog as the tray menu does and waits until it has painted.
    HWND OpenDialog(WORD command, const char* caption) {
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindDialog(caption)) != nullptr; }, QUICK, DIALOG_POLL);
        if (dialog != nullptr && !WaitFor([&] { return Painted(dialog); }, QUICK, DIALOG_POLL)) {
            return nullptr;
        }
        return dialog;
    }

    // Presses a dialog's button as its keyboard accelerator would, and waits
    // until the dialog has gone.
    static bool Press(HWND dialog, int button) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        return WaitFor([&] { return !IsWindow(dialog); }, QUICK, DIALOG_POLL);
    }

    // Opens Settings, chooses the combination and presses OK.
    bool ChooseInSettings(const Combination& combination, bool startAtLogon = false) {
        const HWND dialog = OpenDialog(CMD_SETTINGS, "Settings");
        if (dialog == nullptr) {
            return false;
        }
        const auto tick = [&](int control, bool on) {
            SendMessageA(GetDlgItem(dialog, control), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED,
                         0);
        };
        tick(IDC_CTRLSHIFT_RADIO, combination.ctrlShift);
        tick(IDC_WIN_RADIO, !combination.ctrlShift);
        tick(IDC_STARTUP, startAtLogon);
        SendDlgItemMessageA(dialog, combination.ctrlShift ? IDC_CTRLSHIFT_KEY : IDC_WIN_KEY,
                            CB_SETCURSEL, static_cast<WPARAM>(combination.index), 0);
        return Press(dialog, IDOK);
    }

    ProcessResources Resources() const { return MeasureResources(resident_.Handle()); }
};

TEST_F(Stress, FiveHundredHotKeyPressesEndWithTheTaskbarShownAndOneIcon) {
    StartResident();
    // Each press toggles; after an even number the taskbar is shown again,
    // unless a press was lost or the program fell over.
    ASSERT_TRUE(::PressKeys("ctrl+shift+a", PRESSES, PRESS_REST_MS));
    EXPECT_TRUE(TaskbarStays(true)) << "the presses did not end even";
    ASSERT_TRUE(resident_.Running());
    EXPECT_TRUE(OneIcon());
    // And the hot key still works.
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(false));
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(true));
    ExitResident();
}

TEST_F(Stress, TwentyStartsAtOnceLeaveOneResidentWithOneIconAndTheRestExitWithZero) {
    constexpr int STARTS = 20;
    std::vector<Process> starts;
    starts.reserve(STARTS);
    for (int i = 0; i < STARTS; ++i) {
        starts.push_back(Process::Start(ProgramPath(), ""));
    }
    for (const Process& start : starts) {
        ASSERT_TRUE(start.Started());
    }
    const auto running = [&] {
        int count = 0;
        for (const Process& start : starts) {
            count += start.Running() ? 1 : 0;
        }
        return count;
    };
    EXPECT_TRUE(WaitFor([&] { return running() <= 1; }, SLOW)) << running() << " still run";
    int exitedWithZero = 0;
    for (Process& start : starts) {
        if (start.Running()) {
            resident_ = std::move(start);
        } else {
            exitedWithZero += start.WaitForExit(0) == 0u ? 1 : 0;
        }
    }
    EXPECT_EQ(exitedWithZero, STARTS - 1);
    ASSERT_TRUE(resident_.Running()) << "no instance stayed resident";
    ASSERT_TRUE(WaitFor([&] { return (window_ = FindMainWindow()) != nullptr; }));
    WaitForIcon();
    EXPECT_TRUE(OneIcon());
    EXPECT_EQ(CountProgramProcesses(), 1);
    EXPECT_EQ(CountMainWindows(), 1);
    ExitResident();
}

TEST_F(Stress, TenTaskbarCreatedBroadcastsInARowLeaveOneIcon) {
    StartResident();
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    for (const bool iconRemovedFirst : {false, true}) {
        SCOPED_TRACE(iconRemovedFirst ? "after the icon was removed" : "with the icon there");
        if (iconRemovedFirst) {
            // As after a shell restart: the icon is gone, then the shell says so.
            NOTIFYICONDATAA icon = {};
            icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
            icon.hWnd = window_;
            ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
            ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
        }
        for (int i = 0; i < 10; ++i) {
            PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
        }
        // Posted messages are handled in order: once a toggle posted after
        // the broadcasts has acted, so have they.
        PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
        EXPECT_TRUE(TaskbarBecomes(false));
        PostMessageA(window_, WM_HOTKEY, HOTKEY_ID_TOGGLE, 0);
        EXPECT_TRUE(TaskbarBecomes(true));
        EXPECT_TRUE(OneIcon());
    }
    EXPECT_TRUE(resident_.Running());
    ExitResident();
}

TEST_F(Stress, AHundredSettingsOksLeaveExactlyTheLastHotKeyAndNoGrowth) {
    StartResident();
    // Every fifth choice is Win with a letter that no other program holds;
    // the others Ctrl+Shift, all letters in turn.
    std::vector<int> freeWinLetters;
    for (int index = 0; index < static_cast<int>(WIN_KEY_LETTER_COUNT); ++index) {
        if (heldBefore_.count(Combination{false, index}.Keys()) == 0) {
            freeWinLetters.push_back(index);
        }
    }
    const auto choice = [&](int i) {
        return i % 5 == 2 && !freeWinLetters.empty()
                   ? Combination{false, freeWinLetters[static_cast<std::size_t>(i) %
                                                       freeWinLetters.size()]}
                   : Combination{true, i % 26};
    };
    constexpr int OKS = 100;
    constexpr int STEP = OKS / SAMPLES;
    std::set<Combination> chosen;
    std::vector<ProcessResources> samples;
    for (int i = 0; i < OKS; ++i) {
        if (i >= STEP && i % STEP == 0) {
            samples.push_back(Resources());
        }
        ASSERT_TRUE(ChooseInSettings(choice(i))) << "OK number " << i + 1;
        chosen.insert(choice(i));
    }
    samples.push_back(Resources());
    EXPECT_TRUE(NoLeak(samples));
    std::printf("every %d Settings OKs after %d: %s\n", STEP, STEP, NoLeak(samples).message());

    // Only the last choice is held; every earlier one was given up.
    const Combination last = choice(99);
    for (const Combination& combination : chosen) {
        EXPECT_EQ(HeldElsewhere(combination.Keys()), !(combination < last) && !(last < combination))
            << combination.Keys();
    }
    PressKeys(last.Keys());
    EXPECT_TRUE(TaskbarBecomes(false)) << last.Keys();
    PressKeys(last.Keys());
    EXPECT_TRUE(TaskbarBecomes(true)) << last.Keys();
    ExitResident();
}

// Every tenth opening also moves the pointer over the link and off it.
TEST_F(Stress, TwoHundredAboutOpeningsLeaveTheHotKeyAndNoGrowth) {
    StartResident();
    constexpr int OPENINGS = 200;
    constexpr int STEP = OPENINGS / SAMPLES;
    std::vector<ProcessResources> samples;
    for (int i = 0; i < OPENINGS; ++i) {
        if (i >= STEP && i % STEP == 0) {
            samples.push_back(Resources());
        }
        const HWND about = OpenDialog(CMD_ABOUT, ABOUT_CAPTION);
        ASSERT_NE(about, nullptr) << "opening number " << i + 1;
        if (i % 10 == 4) {
            // The link under the pointer, then off it again within the box.
            ASSERT_TRUE(MovePointer(ControlCentre(about, IDC_HOME_PAGE)));
            Sleep(POINTER_REST_MS);
            ASSERT_TRUE(MovePointer(ControlCentre(about, ABOUT_ICON)));
            Sleep(POINTER_REST_MS);
        }
        ASSERT_TRUE(Press(about, IDOK)) << "closing number " << i + 1;
    }
    samples.push_back(Resources());
    EXPECT_TRUE(NoLeak(samples));
    std::printf("every %d About openings after %d: %s\n", STEP, STEP, NoLeak(samples).message());

    EXPECT_TRUE(HeldElsewhere(Combination{true, 0}.Keys())) << "Ctrl+Shift+A was given up";
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(false));
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(true));
    ExitResident();
}

// Gives the taskbar a title for as long as it lives. The program looks the
// taskbar up by its class and an empty title, as the shell's taskbar has
// them, so it then finds none, as when no shell runs; the desktop, which the
// shell's process also keeps, and its keyboard stay.
class TaskbarOutOfSight {
public:
    TaskbarOutOfSight() : taskbar_(FindWindowA("Shell_TrayWnd", "")) { Retitle("out of sight"); }
    ~TaskbarOutOfSight() { Retitle(""); }
    TaskbarOutOfSight(const TaskbarOutOfSight&) = delete;
    TaskbarOutOfSight& operator=(const TaskbarOutOfSight&) = delete;

    HWND Taskbar() const { return taskbar_; }
    bool Shown() const { return IsWindowVisible(taskbar_) != FALSE; }

private:
    void Retitle(const char* title) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(taskbar_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title), SMTO_NORMAL,
                            QUICK, &result);
    }

    HWND taskbar_;
};

TEST_F(Stress, WithoutAFindableTaskbarTheHotKeyAndTheSwitchesDoNothing) {
    StartResident();
    {
        TaskbarOutOfSight shell;
        ASSERT_NE(shell.Taskbar(), nullptr);
        ASSERT_EQ(FindWindowA("Shell_TrayWnd", ""), nullptr) << "the taskbar can still be found";
        for (int press = 0; press < 2; ++press) {
            PressKeys("ctrl+shift+a");
            ASSERT_TRUE(Settled());
            EXPECT_TRUE(shell.Shown()) << "press " << press + 1;
        }
        for (const char* arguments : {"-hide", "-show", "-hide -exit", ""}) {
            EXPECT_EQ(RunToExit(arguments), 0u) << arguments;
            EXPECT_TRUE(shell.Shown()) << arguments;
        }
        EXPECT_TRUE(NewProcessSeesWorkArea(AreaBesideTaskbar()));
        EXPECT_TRUE(resident_.Running());
        ExitResident();
        // As a first start, which then stays or exits.
        EXPECT_EQ(RunToExit("-hide -exit"), 0u);
        EXPECT_TRUE(shell.Shown());
        StartResident("-hide", false);
        EXPECT_TRUE(shell.Shown());
        PressKeys("ctrl+shift+a");
        ASSERT_TRUE(Settled());
        EXPECT_TRUE(shell.Shown());
        EXPECT_TRUE(resident_.Running());
    }
    // With the taskbar back in sight the same program works. Its "-hide"
    // set the next press to show, and the press since flipped it back.
    ASSERT_TRUE(TaskbarShown());
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(false));
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(true));
    ExitResident();
}

// Folders below the tests' work folder, made so that the program's full
// path there has exactly `length` characters; removed again when it goes.
class LongProgramPath {
public:
    explicit LongProgramPath(std::size_t length) {
        const std::string file = "\\Shelfcloak.exe";
        std::string folder = WorkFolder() + "\\long";
        CreateDirectoryA(WorkFolder().c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        folders_.push_back(folder);
        while (folder.size() + file.size() < length) {
            const std::size_t room = length - file.size() - folder.size() - 1;
            // No segment may end up empty, and none may be longer than a name can be.
            const std::size_t segment = room > 120 ? 100 : room;
            folder += "\\" + std::string(segment == 0 ? 1 : segment, 'p');
            CreateDirectoryA(folder.c_str(), nullptr);
            folders_.push_back(folder);
        }
        path_ = folder + file;
        copied_ = CopyFileA(ProgramPath().c_str(), path_.c_str(), FALSE) != FALSE;
    }
    ~LongProgramPath() {
        DeleteFileA(path_.c_str());
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
            RemoveDirectoryA(folder->c_str());
        }
    }
    LongProgramPath(const LongProgramPath&) = delete;
    LongProgramPath& operator=(const LongProgramPath&) = delete;

    const std::string& Path() const { return path_; }
    bool Copied() const { return copied_; }

private:
    std::vector<std::string> folders_;
    std::string path_;
    bool copied_ = false;
};

std::string RunValue() {
    return ReadString(RUN_KEY_PATH, RUN_VALUE_NAME).value_or("");
}

// The switches are searched in the first 259 characters of the whole
// command line, the program's quoted path included: from a path of 259
// characters none is seen, and the program runs as if started without.
TEST_F(Stress, AProgramPathOf259CharactersRunsWithoutSwitchesAndIsStoredWhole) {
    const LongProgramPath program(MAX_PATH - 1);
    ASSERT_EQ(program.Path().size(), 259u) << program.Path();
    ASSERT_TRUE(program.Copied()) << "copy to " << program.Path();

    // "-hide -exit" lies beyond the searched text: the first start stays
    // resident and hides nothing.
    resident_ = Process::Start(program.Path(), "-hide -exit");
    ASSERT_TRUE(WaitFor([&] { return (window_ = FindMainWindow()) != nullptr; }));
    WaitForIcon();
    EXPECT_TRUE(TaskbarStays(true));
    EXPECT_TRUE(resident_.Running());

    // Second starts from there end with 0 and do nothing; from the usual
    // path they act.
    EXPECT_EQ(RunToExit("-hide", 15000, program.Path()), 0u);
    EXPECT_TRUE(TaskbarStays(true));
    EXPECT_EQ(RunToExit("-hide"), 0u);
    EXPECT_TRUE(TaskbarBecomes(false));
    EXPECT_EQ(RunToExit("-show"), 0u);
    EXPECT_TRUE(TaskbarBecomes(true));

    // Its hot key and Settings work, and start at logon stores the whole path.
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(false));
    PressKeys("ctrl+shift+a");
    EXPECT_TRUE(TaskbarBecomes(true));
    ASSERT_TRUE(ChooseInSettings(Combination{true, 0}, true));
    EXPECT_EQ(RunValue(), "\"" + program.Path() + "\"");
    EXPECT_EQ(CountProgramProcesses(), 1);
    ExitResident();
}

TEST_F(Stress, CommandLinesOf10000CharactersAreSearchedInTheirFirst259) {
    // The whole command line, the quoted program path and a blank included,
    // is 10,000 characters long.
    const std::size_t room = 10000 - (ProgramPath().size() + 3);
    const auto padded = [&](const std::string& head, const std::string& tail) {
        std::string middle;
        while (middle.size() < room - head.size() - tail.size()) {
            middle += middle.size() % 64 == 63 ? ' ' : 'x';
        }
        return head + middle + tail;
    };
    ASSERT_EQ(padded("-hide ", " -exit").size(), room);

    // "-exit" beyond the searched text is not seen: the first start stays.
    StartResident(padded("-hide ", " -exit"), false);
    EXPECT_TRUE(TaskbarBecomes(false));
    EXPECT_TRUE(resident_.Running());
    EXPECT_EQ(RunToExit(padded("", " -show")), 0u);
    EXPECT_TRUE(TaskbarStays(false)) << "a switch beyond the first 259 characters acted";
    EXPECT_EQ(RunToExit(padded("-show ", "")), 0u);
    EXPECT_TRUE(TaskbarBecomes(true));
    ExitResident();

    EXPECT_EQ(RunToExit(padded("-exit ", " -hide")), 0u);
    EXPECT_TRUE(TaskbarStays(true));
}

}  // namespace
