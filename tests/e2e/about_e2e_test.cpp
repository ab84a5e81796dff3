// The About box of the real program on Wine's shell desktop, opened from the
// tray menu and used with the real mouse and keyboard, judged by what the
// screen shows.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "about/about_dialog.h"
#include "tests/e2e/program_fixture.h"
#include "tests/support/http_open_recorder.h"
#include "tests/support/screen.h"

namespace {

constexpr const char* ABOUT_CAPTION = "About Shelf Cloak";
constexpr std::uint32_t LINK_BLUE = 0x0000FF;  // screen pixels are 0xRRGGBB
constexpr std::uint32_t VISITED_PURPLE = 0x800080;
constexpr int ICON_ID = 2;  // a plain static: a click on it only activates the box
constexpr const char* OPENED_ADDRESS = "http://www.shelfcloak.example";
constexpr int TEXT_PIXELS = 20;      // at least this many in the text's colour: the text shows
constexpr int UNDERLINE_TENTHS = 9;  // a row this full of text colour is an underline

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The pointer's image: on Windows the shared cursor that shows, under Wine as
// the X server shows it (size, hot spot, name and a digest of the pixels),
// as Wine does not tell another process which cursor shows. The screen
// captures leave the pointer out.
constexpr const char* CURSOR_SCRIPT = R"(import ctypes, hashlib
class Image(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]
x11 = ctypes.CDLL("libX11.so.6")
fixes = ctypes.CDLL("libXfixes.so.3")
x11.XOpenDisplay.restype = ctypes.c_void_p
fixes.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
fixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
image = fixes.XFixesGetCursorImage(x11.XOpenDisplay(None)).contents
pixels = [image.pixels[i] & 0xFFFFFFFF for i in range(image.width * image.height)]
print(image.width, image.height, image.xhot, image.yhot, image.name,
      hashlib.sha1(repr(pixels).encode()).hexdigest())
)";

std::string PointerImage() {
    if (!UnderWine()) {
        CURSORINFO info = {};
        info.cbSize = sizeof info;
        return GetCursorInfo(&info) ? std::to_string(reinterpret_cast<std::uintptr_t>(info.hCursor))
                                    : "<no answer>";
    }
    const std::string host = HostWorkFolder();
    const std::string script = host + "/cursor.py";
    const std::string output = host + "/cursor.txt";
    std::ofstream("Z:" + script) << CURSOR_SCRIPT;
    std::remove(("Z:" + output).c_str());
    const bool answered = RunOnHost("/usr/bin/python3 '" + script + "' > '" + output + "' 2>&1");
    const std::string image = answered ? ReadFile("Z:" + output) : "<no answer>";
    std::remove(("Z:" + script).c_str());
    std::remove(("Z:" + output).c_str());
    return image;
}

// A window of this process with the system's hand as its class cursor: what
// the pointer shows over it is what a hand looks like on this desktop.
class HandWindow {
public:
    HandWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_HAND);
        windowClass.lpszClassName = CLASS;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, CLASS, "",
                                  WS_POPUP | WS_VISIBLE, HAND_LEFT, HAND_TOP, HAND_WIDTH,
                                  HAND_HEIGHT, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~HandWindow() {
        DestroyWindow(window_);
        UnregisterClassA(CLASS, GetModuleHandleA(nullptr));
    }
    HandWindow(const HandWindow&) = delete;
    HandWindow& operator=(const HandWindow&) = delete;

    // Moves the pointer over it and reads the image once it has changed,
    // while this process answers the messages that set the cursor.
    std::string PointerImageOver() {
        const std::string elsewhere = PointerImage();
        MovePointer(POINT{HAND_LEFT + HAND_WIDTH / 2, HAND_TOP + HAND_HEIGHT / 2});
        std::string over = elsewhere;
        WaitFor([&] {
            MSG message = {};
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&message);
            }
            over = PointerImage();
            return over != elsewhere;
        });
        return over;
    }

private:
    static constexpr const char* CLASS = "ShelfcloakTestsHand";
    static constexpr int HAND_LEFT = 40;
    static constexpr int HAND_TOP = 40;
    static constexpr int HAND_WIDTH = 80;
    static constexpr int HAND_HEIGHT = 60;
    HWND window_ = nullptr;
};

// How the address looks on the screen: its pixels in the two link colours,
// and whether a row of link colour runs under the whole text.
struct AddressLook {
    int blue = 0;
    int purple = 0;
    bool underlined = false;
};

AddressLook LookAtAddress(HWND box) {
    RECT area = {};
    GetWindowRect(GetDlgItem(box, IDC_HOME_PAGE), &area);
    const ScreenPixels shot = CaptureScreen(area);
    AddressLook look;
    int left = shot.width;
    int right = -1;
    std::vector<int> inRow(static_cast<std::size_t>(shot.height), 0);
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const std::uint32_t pixel = shot.At(x, y);
            if (pixel != LINK_BLUE && pixel != VISITED_PURPLE) {
                continue;
            }
            (pixel == LINK_BLUE ? look.blue : look.purple) += 1;
            left = std::min(left, x);
            right = std::max(right, x);
            ++inRow[static_cast<std::size_t>(y)];
        }
    }
    for (const int count : inRow) {
        look.underlined =
            look.underlined || (right > left && count * 10 >= (right - left) * UNDERLINE_TENTHS);
    }
    return look;
}

::testing::AssertionResult AddressLooks(HWND box, std::uint32_t colour, bool underlined) {
    AddressLook look;
    const bool as = WaitFor(
        [&] {
            look = LookAtAddress(box);
            const int wanted = colour == LINK_BLUE ? look.blue : look.purple;
            const int other = colour == LINK_BLUE ? look.purple : look.blue;
            return wanted > TEXT_PIXELS && other == 0 && look.underlined == underlined;
        },
        QUICK);
    if (as) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the address shows " << look.blue << " blue and " << look.purple << " purple pixels, "
           << (look.underlined ? "" : "not ") << "underlined";
}

class About : public ProgramTest {
protected:
    // Chooses "About ..." from the tray menu; the box that opened, or null.
    HWND OpenFromTrayMenu() {
        ChooseFromTrayMenu(ABOUT_ROW);
        HWND box = nullptr;
        WaitFor([&] { return (box = FindDialog(ABOUT_CAPTION)) != nullptr; }, QUICK);
        return box;
    }

    // Keys go to the active window, so the box is clicked first, as a user
    // makes it active. Not on its caption: a press there starts moving the
    // box, and a key may end the move.
    void CloseWith(HWND box, const std::string& key) {
        ClickAt(ControlCentre(box, ICON_ID));
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }, QUICK))
            << "the box did not become the active window";
        PressKeys(key);
        ASSERT_TRUE(WaitFor([] { return FindDialog(ABOUT_CAPTION) == nullptr; }, QUICK))
            << key << " left the box open";
    }

    HttpOpenRecorder opened_;
};

TEST_F(About, OpensFromTheTrayMenuOnceAndHasNoCloseBox) {
    StartResident();
    const HWND box = OpenFromTrayMenu();
    ASSERT_NE(box, nullptr) << "\"About ...\" opened no box";
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "a system menu brings a close box";
    EXPECT_TRUE(AddressLooks(box, LINK_BLUE, false));
    RECT frame = {};
    GetWindowRect(box, &frame);
    EXPECT_FALSE(SaveArtifact(frame, "about.png").empty());

    ChooseFromTrayMenu(ABOUT_ROW);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(CountDialogs(ABOUT_CAPTION), 1) << "a second \"About ...\" opened another box";
    ASSERT_NO_FATAL_FAILURE(CloseWith(box, "Escape"));
}

TEST_F(About, EnterAndEscCloseItAndItOpensAgain) {
    StartResident();
    for (const char* key : {"Return", "Escape"}) {
        const HWND box = OpenFromTrayMenu();
        ASSERT_NE(box, nullptr) << "no box to close with " << key;
        ASSERT_NO_FATAL_FAILURE(CloseWith(box, key));
    }
    const HWND box = OpenFromTrayMenu();
    ASSERT_NE(box, nullptr) << "the box did not open again";
    ASSERT_NO_FATAL_FAILURE(CloseWith(box, "Return"));
}

TEST_F(About, TheAddressIsAHandAndUnderlinedUnderThePointerAndPurpleOnceFollowedInTheRun) {
    // Gone before any key is pressed: a window of this process may hold the
    // keyboard, and this process does not read its input while it waits.
    const std::string handImage = HandWindow().PointerImageOver();
    StartResident();
    HWND box = OpenFromTrayMenu();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(AddressLooks(box, LINK_BLUE, false));

    ASSERT_TRUE(GlidePointer(ControlCentre(box, IDC_HOME_PAGE)));
    EXPECT_TRUE(AddressLooks(box, LINK_BLUE, true)) << "under the pointer";
    EXPECT_EQ(PointerImage(), handImage) << "the pointer over the address is no hand";
    ClickAt(ControlCentre(box, IDC_HOME_PAGE));
    EXPECT_TRUE(WaitFor([&] { return !opened_.Opened().empty(); }, QUICK)) << "nothing opened";
    // Within the box: Wine brings the capturing link no moves from outside its window.
    ASSERT_TRUE(GlidePointer(ControlCentre(box, ICON_ID)));
    EXPECT_TRUE(AddressLooks(box, VISITED_PURPLE, false)) << "once followed";
    EXPECT_NE(PointerImage(), handImage) << "the hand stayed off the address";
    EXPECT_EQ(opened_.Opened(), std::vector<std::string>{OPENED_ADDRESS});

    ASSERT_NO_FATAL_FAILURE(CloseWith(box, "Return"));
    box = OpenFromTrayMenu();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(AddressLooks(box, VISITED_PURPLE, false)) << "opened again in the same run";
    ASSERT_NO_FATAL_FAILURE(CloseWith(box, "Escape"));

    ChooseFromTrayMenu(EXIT_ROW);
    ASSERT_EQ(resident_.WaitForExit(QUICK), 0u);
    ASSERT_TRUE(WaitFor([] { return !ProgramIconShows(); }, QUICK));
    StartResident();
    box = OpenFromTrayMenu();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(AddressLooks(box, LINK_BLUE, false)) << "in a new run";
    ASSERT_NO_FATAL_FAILURE(CloseWith(box, "Escape"));
    EXPECT_EQ(opened_.Opened().size(), 1u);
}

}  // namespace
