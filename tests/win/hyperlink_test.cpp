// Links on real windows in this process: a dialog made from an in-memory
// template with an OK button, two statics to become links and a plain
// static, driven with the messages the system would send.
#include "hyperlink/hyperlink.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "tests/support/http_open_recorder.h"
#include "tests/support/link_observation.h"

namespace {

constexpr WORD FIRST_LINK = 1101;
constexpr WORD SECOND_LINK = 1102;
constexpr WORD PLAIN_TEXT = 1103;
constexpr char STATIC_PROC[] = "ShelfcloakTests.StaticProc";
constexpr WORD BUTTON_CLASS = 0x0080;
constexpr WORD STATIC_CLASS = 0x0082;
constexpr char DIALOG_CLASS[] = "#32770";

// A classic dialog template built in memory.
class InMemoryDialog {
public:
    InMemoryDialog(DWORD style, short width, short height) {
        Dword(style);
        Dword(0);
        words_.push_back(0);  // item count
        Shorts({10, 10, width, height});
        words_.push_back(0);  // no menu
        words_.push_back(0);  // default class
        Text(L"Links");
        if ((style & DS_SETFONT) != 0) {
            words_.push_back(8);
            Text(L"MS Sans Serif");
        }
    }

    void Item(WORD classOrdinal, DWORD style, WORD id, const wchar_t* text, short y) {
        if (words_.size() % 2 != 0) {
            words_.push_back(0);  // items start on a 4-byte boundary
        }
        Dword(WS_CHILD | WS_VISIBLE | style);
        Dword(0);
        Shorts({10, y, 60, 10});
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classOrdinal);
        Text(text);
        words_.push_back(0);  // no creation data
        ++words_[ITEM_COUNT];
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    static constexpr std::size_t ITEM_COUNT = 4;

    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Shorts(std::initializer_list<short> values) {
        for (const short value : values) {
            words_.push_back(static_cast<WORD>(value));
        }
    }
    void Text(const wchar_t* text) {
        for (; *text != L'\0'; ++text) {
            words_.push_back(static_cast<WORD>(*text));
        }
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

// What reached the statics' own procedure, below any link.
struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
};
std::vector<Seen> passedOn;

LRESULT CALLBACK RecordingStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    passedOn.push_back({window, message, wParam});
    const auto own = reinterpret_cast<WNDPROC>(GetPropA(window, STATIC_PROC));
    return CallWindowProcA(own, window, message, wParam, lParam);
}

void RecordPassedOn(HWND control) {
    SetPropA(control, STATIC_PROC,
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(control, GWLP_WNDPROC)));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingStaticProc));
}

int CountPassedOn(HWND window, UINT message) {
    int count = 0;
    for (const Seen& seen : passedOn) {
        count += seen.window == window && seen.message == message ? 1 : 0;
    }
    return count;
}

// The parent as its own procedure finds it when WM_DESTROY reaches it.
struct ParentAtDestroy {
    LONG_PTR procedure = 0;
    HANDLE property = nullptr;
    HANDLE firstLinkProperty = nullptr;
};
ParentAtDestroy parentAtDestroy;

INT_PTR CALLBACK TestDlgProc(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (message == WM_DESTROY) {
        parentAtDestroy = {GetWindowLongPtrA(dialog, GWLP_WNDPROC), LinkProperty(dialog),
                           LinkProperty(GetDlgItem(dialog, FIRST_LINK))};
    }
    return FALSE;
}

class CountingLink final : public CHyperLink {
public:
    void OnLinkEnter() override { ++enters; }
    void OnLinkLeave() override { ++leaves; }
    int enters = 0;
    int leaves = 0;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(window, message, wParam, lParam);
}

// A client position as the mouse messages carry it, 16 bits each.
LPARAM At(int x, int y) {
    return static_cast<LPARAM>(static_cast<DWORD>(static_cast<WORD>(x)) |
                               static_cast<DWORD>(static_cast<WORD>(y)) << 16);
}

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(Send(control, WM_GETFONT));
}

LOGFONTA Describe(HFONT font) {
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description;
}

bool Underlined(HWND control) {
    return FontOf(control) != nullptr && Describe(FontOf(control)).lfUnderline != 0;
}

RECT ClientOf(HWND control) {
    RECT client = {};
    GetClientRect(control, &client);
    return client;
}

void Pump() {
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

class Links : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1000, 600);  // the real pointer stays off the dialog
        InMemoryDialog dialog(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT, 120, 80);
        dialog.Item(BUTTON_CLASS, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, L"OK", 60);
        dialog.Item(STATIC_CLASS, SS_LEFT, FIRST_LINK, L"first link", 10);
        dialog.Item(STATIC_CLASS, SS_LEFT, SECOND_LINK, L"second link", 25);
        dialog.Item(STATIC_CLASS, SS_LEFT, PLAIN_TEXT, L"plain text", 40);
        dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.get(), nullptr,
                                             TestDlgProc, 0);
        ASSERT_NE(dialog_, nullptr);
        for (const WORD id : {FIRST_LINK, SECOND_LINK, PLAIN_TEXT}) {
            RecordPassedOn(Item(id));
        }
        Pump();
        passedOn.clear();
    }

    void TearDown() override {
        ReleaseCapture();
        HFONT shared = nullptr;
        for (const WORD id : {FIRST_LINK, SECOND_LINK, PLAIN_TEXT}) {
            if (LinkProperty(Item(id)) != nullptr) {
                shared = FontUnderPointer(Item(id));
            }
        }
        if (IsWindow(dialog_)) {
            DestroyWindow(dialog_);
        }
        if (shared != nullptr) {
            EXPECT_EQ(GetObjectType(shared), 0u)
                << "the links went with their dialog, and the shared font with the last link";
        }
    }

    HWND Item(WORD id) const { return GetDlgItem(dialog_, id); }

    // Links open through the real shell, whose http command only records.
    HttpOpenRecorder opened_;
    // A link's object outlives its control, which goes with the dialog.
    CountingLink first_;
    CountingLink second_;
    HWND dialog_ = nullptr;
};

TEST_F(Links, AttachingSubclassesTheControlAndOnceItsParentUnderTheAtom) {
    const ATOM atom = GlobalFindAtomA(LINK_PROPERTY_NAME);
    ASSERT_NE(atom, 0) << "added before the tests' entry";
    char name[128] = {};
    EXPECT_EQ(GlobalGetAtomNameA(atom, name, sizeof name), 65u);
    EXPECT_STREQ(name, LINK_PROPERTY_NAME);

    const LONG_PTR parentOwn = GetWindowLongPtrA(dialog_, GWLP_WNDPROC);
    const LONG_PTR style = GetWindowLongPtrA(Item(FIRST_LINK), GWL_STYLE);
    ASSERT_EQ(style & SS_NOTIFY, 0);
    CountingLink& first = first_;
    CountingLink& second = second_;
    for (CountingLink* link : {&first, &second}) {
        const HWND control = Item(link == &first ? FIRST_LINK : SECOND_LINK);
        const char* which = link == &first ? "first link" : "second link";
        ASSERT_EQ(link->AttachToStatic(control, "www.links.example"), 1) << which;
        EXPECT_EQ(LinkProperty(control), link) << which;
        EXPECT_EQ(GetWindowLongPtrA(control, GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(&CHyperLink::LinkWndProc))
            << which;
        EXPECT_EQ(GetWindowLongPtrA(dialog_, GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(&CHyperLink::LinkParentWndProc))
            << which;
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(LinkProperty(dialog_)), parentOwn)
            << "after the " << which << ", the parent's own procedure is kept";
    }
    EXPECT_EQ(GetWindowLongPtrA(Item(FIRST_LINK), GWL_STYLE), style | SS_NOTIFY);
    const HFONT shared = FontUnderPointer(Item(FIRST_LINK));
    DestroyWindow(Item(SECOND_LINK));
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT)) << "both links were counted";

    DestroyWindow(dialog_);
    EXPECT_EQ(parentAtDestroy.procedure, parentOwn) << "restored before its own WM_DESTROY";
    EXPECT_EQ(parentAtDestroy.property, nullptr);
    EXPECT_EQ(parentAtDestroy.firstLinkProperty, &first) << "the links go after their parent";
    EXPECT_EQ(GetObjectType(shared), 0u) << "the shared font went with the last link";
}

TEST_F(Links, HoverUnderlinesAndHoldsTheCaptureUntilThePointerLeavesTheClientRectangle) {
    CountingLink& link = first_;
    const HWND control = Item(FIRST_LINK);
    const HFONT normal = FontOf(control);
    ASSERT_NE(normal, nullptr);
    ASSERT_EQ(link.AttachToStatic(control, "www.links.example"), 1);
    const RECT client = ClientOf(control);
    ASSERT_FALSE(Underlined(control));

    struct Case {
        const char* name;
        int x;
        int y;
        bool inside;
    };
    const Case cases[] = {
        {"top left pixel", 0, 0, true},
        {"bottom right pixel", client.right - 1, client.bottom - 1, true},
        {"on the right edge", client.right, 0, false},
        {"on the bottom edge", 0, client.bottom, false},
        {"left of it", -1, 0, false},
        {"above it", 0, -1, false},
        {"far off", 2000, 2000, false},
    };
    int round = 0;
    HFONT shared = nullptr;
    for (const Case& c : cases) {
        ++round;
        EXPECT_EQ(Send(control, WM_MOUSEMOVE, 0, At(1, 1)), 0) << c.name;
        EXPECT_TRUE(Underlined(control)) << c.name;
        shared = shared != nullptr ? shared : FontOf(control);
        EXPECT_EQ(FontOf(control), shared) << c.name << ": the one shared font, not one per hover";
        EXPECT_EQ(GetCapture(), control) << c.name;
        EXPECT_EQ(link.enters, round) << c.name << ": one enter for the first move";

        // Once outside, the next move would start a new hover.
        for (int moves = c.inside ? 3 : 1; moves > 0; --moves) {
            Send(control, WM_MOUSEMOVE, 0, At(c.x, c.y));
        }
        EXPECT_EQ(GetCapture() == control, c.inside) << c.name;
        EXPECT_EQ(Underlined(control), c.inside) << c.name;
        EXPECT_EQ(link.enters, round) << c.name;
        EXPECT_EQ(link.leaves, c.inside ? round - 1 : round) << c.name << ": one leave";
        if (!c.inside) {
            EXPECT_EQ(FontOf(control), normal) << c.name;
        }
        ReleaseCapture();
    }
    EXPECT_EQ(CountPassedOn(control, WM_MOUSEMOVE), 0);
    EXPECT_EQ(CountPassedOn(control, WM_CAPTURECHANGED), 0);
}

TEST_F(Links, ReleasesOfTheLeftButtonAndTheSpaceBarOpenACopyOfTheTarget) {
    CountingLink& link = first_;
    const HWND control = Item(FIRST_LINK);
    char target[] = "http://www.first.example";
    ASSERT_EQ(link.AttachToStatic(control, target), 1);
    std::strcpy(target, "overwritten");

    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::size_t openedSoFar;
        bool passedOn;
    };
    const Case cases[] = {
        {"left press", WM_LBUTTONDOWN, MK_LBUTTON, At(1, 1), 0, true},
        {"left release", WM_LBUTTONUP, 0, At(1, 1), 1, false},
        {"left release far off", WM_LBUTTONUP, 0, At(900, 900), 2, false},
        {"right release", WM_RBUTTONUP, 0, At(1, 1), 2, true},
        {"space press", WM_KEYDOWN, VK_SPACE, 1, 2, true},
        {"space release", WM_KEYUP, VK_SPACE, 1, 3, false},
        {"letter release", WM_KEYUP, 'A', 1, 3, true},
        {"Enter release", WM_KEYUP, VK_RETURN, 1, 3, true},
    };
    for (const Case& c : cases) {
        passedOn.clear();
        const LRESULT result = Send(control, c.message, c.wParam, c.lParam);
        EXPECT_EQ(opened_.Opened().size(), c.openedSoFar) << c.name;
        EXPECT_EQ(CountPassedOn(control, c.message), c.passedOn ? 1 : 0) << c.name;
        if (!c.passedOn) {
            EXPECT_EQ(result, 0) << c.name;
        }
    }
    EXPECT_EQ(opened_.Opened(), std::vector<std::string>(3, "http://www.first.example"))
        << "the target three times, and nothing else started";
}

TEST_F(Links, SetCursorShowsTheHandForEveryHitTestCode) {
    CountingLink& link = first_;
    const HWND control = Item(FIRST_LINK);
    ASSERT_EQ(link.AttachToStatic(control, "www.links.example"), 1);
    const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    ASSERT_NE(hand, nullptr);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (int hitTest = HTERROR; hitTest <= HTHELP; ++hitTest) {
        for (const int mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN}) {
            SetCursor(arrow);
            EXPECT_EQ(Send(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                           MAKELPARAM(hitTest, mouse)),
                      1)
                << "hit-test code " << hitTest << ", mouse message " << mouse;
            EXPECT_EQ(GetCursor(), hand) << "hit-test code " << hitTest;
        }
    }
    EXPECT_EQ(CountPassedOn(control, WM_SETCURSOR), 0);
}

// The cursor that a link sets when the pointer is over it.
HCURSOR CursorSetBy(HWND control) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    Send(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

// The cursor that the links' procedure sets for a window that carries a
// link's property, put there by hand: an attachment would load the shared
// cursor again, and with no link alive no control can show it.
HCURSOR CursorOfTheLinksProcedure(CHyperLink& link) {
    const HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    const ATOM atom = GlobalFindAtomA(LINK_PROPERTY_NAME);
    SetPropA(window, MAKEINTATOM(atom), &link);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    CHyperLink::LinkWndProc(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const HCURSOR cursor = GetCursor();
    RemovePropA(window, MAKEINTATOM(atom));
    DestroyWindow(window);
    return cursor;
}

TEST_F(Links, TwoLinksShareOneFontAndCursorThatGoWithTheLastAndComeBackWithTheNext) {
    CountingLink& first = first_;
    CountingLink& second = second_;
    const HWND firstControl = Item(FIRST_LINK);
    const HWND secondControl = Item(SECOND_LINK);
    const HFONT firstOwnFont = FontOf(firstControl);
    const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    ASSERT_EQ(first.AttachToStatic(firstControl, "www.first.example"), 1);
    ASSERT_EQ(second.AttachToStatic(secondControl, "www.second.example"), 1);

    Send(secondControl, WM_MOUSEMOVE, 0, At(1, 1));
    const HFONT shared = FontOf(secondControl);
    ASSERT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT));
    EXPECT_NE(Describe(shared).lfUnderline, 0);
    EXPECT_STREQ(Describe(shared).lfFaceName, Describe(firstOwnFont).lfFaceName)
        << "made from the first link's font";
    Send(firstControl, WM_MOUSEMOVE, 0, At(1, 1));
    EXPECT_EQ(FontOf(firstControl), shared);

    // Destroyed while underlined: it gets its own font back first.
    passedOn.clear();
    DestroyWindow(firstControl);
    std::size_t destroy = 0;
    while (destroy < passedOn.size() && passedOn[destroy].message != WM_DESTROY) {
        ++destroy;
    }
    ASSERT_TRUE(destroy > 0 && destroy < passedOn.size()) << "WM_DESTROY went on";
    EXPECT_EQ(passedOn[destroy - 1].message, static_cast<UINT>(WM_SETFONT));
    EXPECT_EQ(passedOn[destroy - 1].wParam, reinterpret_cast<WPARAM>(firstOwnFont));
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT)) << "the second link uses it";
    EXPECT_EQ(FontUnderPointer(secondControl), shared);
    EXPECT_EQ(CursorSetBy(secondControl), hand);

    DestroyWindow(secondControl);
    EXPECT_EQ(GetObjectType(shared), 0u) << "deleted with the last link";
    EXPECT_EQ(CursorOfTheLinksProcedure(second), nullptr) << "cleared with the last link";

    ASSERT_EQ(first.AttachToStatic(Item(PLAIN_TEXT), "www.first.example"), 1);
    EXPECT_EQ(GetObjectType(FontUnderPointer(Item(PLAIN_TEXT))), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(CursorSetBy(Item(PLAIN_TEXT)), hand);
}

// A target the shell cannot open makes it say so in a message box, in the
// opening thread's own modal loop. While this lives, every dialog box that
// the thread activates is answered with OK, as a user would, so that the
// open returns its failure.
class ShellErrorsAnswered {
public:
    ShellErrorsAnswered()
        : hook_(SetWindowsHookExA(WH_CBT, Answer, nullptr, GetCurrentThreadId())) {}
    ~ShellErrorsAnswered() { UnhookWindowsHookEx(hook_); }
    ShellErrorsAnswered(const ShellErrorsAnswered&) = delete;
    ShellErrorsAnswered& operator=(const ShellErrorsAnswered&) = delete;

private:
    static LRESULT CALLBACK Answer(int code, WPARAM window, LPARAM details) {
        char windowClass[sizeof DIALOG_CLASS + 1] = {};
        const auto box = reinterpret_cast<HWND>(window);
        if (code == HCBT_ACTIVATE && GetClassNameA(box, windowClass, sizeof windowClass) > 0 &&
            lstrcmpA(windowClass, DIALOG_CLASS) == 0) {
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, window, details);
    }

    HHOOK hook_;
};

struct Colours {
    COLORREF text;
    COLORREF background;
    LRESULT brush;
};

// What the dialog's procedure leaves in a device context for a static.
Colours ColoursFor(HWND dialog, HWND control) {
    const HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    const LRESULT brush = Send(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(control));
    const Colours colours = {GetTextColor(dc), GetBkColor(dc), brush};
    DeleteDC(dc);
    return colours;
}

TEST_F(Links, LinksAreBlueUntilFollowedEvenInVainAndOtherStaticsKeepTheirColours) {
    const Colours plain = ColoursFor(dialog_, Item(PLAIN_TEXT));
    ASSERT_NE(plain.text, LINK_COLOUR);

    struct Case {
        const char* name;
        WORD control;
        const char* target;
        bool launchSucceeds;
    };
    CountingLink* links[] = {&first_, &second_};
    const Case cases[] = {
        {"opened", FIRST_LINK, "http://www.links.example", true},
        {"failed to open", SECOND_LINK, "C:\\no such folder\\no such file", false}};
    for (std::size_t i = 0; i < 2; ++i) {
        const Case& c = cases[i];
        const HWND control = Item(c.control);
        ASSERT_EQ(links[i]->AttachToStatic(control, c.target), 1) << c.name;
        Colours link = ColoursFor(dialog_, control);
        EXPECT_EQ(link.text, LINK_COLOUR) << c.name;
        EXPECT_EQ(link.background, plain.background) << c.name;
        EXPECT_EQ(link.brush, plain.brush) << c.name;

        {
            const ShellErrorsAnswered answered;
            EXPECT_EQ(links[i]->OpenTarget(), c.launchSucceeds ? 1 : 0) << c.name;
        }
        link = ColoursFor(dialog_, control);
        EXPECT_EQ(link.text, VISITED_COLOUR) << c.name;
        EXPECT_EQ(link.brush, plain.brush) << c.name;
    }
    const Colours after = ColoursFor(dialog_, Item(PLAIN_TEXT));
    EXPECT_EQ(after.text, plain.text);
    EXPECT_EQ(after.background, plain.background);
    EXPECT_EQ(after.brush, plain.brush);

    DestroyWindow(Item(FIRST_LINK));
    ASSERT_EQ(links[0]->AttachToStatic(Item(PLAIN_TEXT), "www.links.example"), 1);
    EXPECT_EQ(ColoursFor(dialog_, Item(PLAIN_TEXT)).text, VISITED_COLOUR)
        << "a followed link stays so on its next control";
}

// The area of a window's client, as its device context holds it.
std::vector<COLORREF> PixelsOf(HWND window, const RECT& area) {
    std::vector<COLORREF> pixels;
    const HDC dc = GetDC(window);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            pixels.push_back(GetPixel(dc, x, y));
        }
    }
    ReleaseDC(window, dc);
    return pixels;
}

TEST_F(Links, FocusDrawsARectangleOnTheParentThatLosingItRemovesAndCallsTheHooks) {
    CountingLink& link = first_;
    const HWND control = Item(FIRST_LINK);
    ASSERT_EQ(link.AttachToStatic(control, "www.links.example"), 1);
    UpdateWindow(dialog_);
    Pump();
    RECT around = {};
    GetWindowRect(control, &around);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&around), 2);
    InflateRect(&around, 3, 3);
    const std::vector<COLORREF> before = PixelsOf(dialog_, around);

    EXPECT_EQ(Send(control, WM_SETFOCUS), 0);
    EXPECT_NE(PixelsOf(dialog_, around), before) << "no focus rectangle was drawn";
    EXPECT_EQ(Send(control, WM_KILLFOCUS), 0);
    EXPECT_EQ(PixelsOf(dialog_, around), before) << "the focus rectangle stayed";
    EXPECT_EQ(link.enters, 1);
    EXPECT_EQ(link.leaves, 1);

    // Focus and hover call the hooks each on their own.
    Send(control, WM_MOUSEMOVE, 0, At(1, 1));
    Send(control, WM_SETFOCUS);
    EXPECT_EQ(link.enters, 3);
    Send(control, WM_KILLFOCUS);
    EXPECT_EQ(link.leaves, 2);
    EXPECT_EQ(GetCapture(), control) << "the hover goes on";
    EXPECT_EQ(CountPassedOn(control, WM_SETFOCUS) + CountPassedOn(control, WM_KILLFOCUS), 0);
}

TEST_F(Links, AttachingALinkAgainOrAnObjectThatServesALiveLinkIsRefused) {
    CountingLink& first = first_;
    CountingLink& other = second_;
    const HWND control = Item(FIRST_LINK);
    const HWND spare = Item(SECOND_LINK);
    const LONG_PTR spareOwn = GetWindowLongPtrA(spare, GWLP_WNDPROC);
    ASSERT_EQ(first.AttachToStatic(control, "http://www.first.example"), 1);
    const HFONT shared = FontUnderPointer(control);

    struct Case {
        const char* name;
        CHyperLink* link;
        HWND window;
    };
    const Case cases[] = {{"the link, by another object", &other, control},
                          {"the link, by its own object", &first, control},
                          {"another control, by the live link's object", &first, spare},
                          {"the links' parent", &other, dialog_},
                          {"no window", &other, nullptr}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.link->AttachToStatic(c.window, "www.refused.example"), 0) << c.name;
    }
    EXPECT_EQ(LinkProperty(control), &first);
    EXPECT_EQ(GetWindowLongPtrA(spare, GWLP_WNDPROC), spareOwn);
    EXPECT_EQ(Send(control, WM_GETTEXTLENGTH), 10) << "messages still reach the static";
    Send(control, WM_LBUTTONUP);
    EXPECT_EQ(opened_.Opened(), std::vector<std::string>{"http://www.first.example"});

    DestroyWindow(control);
    EXPECT_EQ(GetObjectType(shared), 0u) << "a refused attachment counted a link";
    EXPECT_EQ(first.AttachToStatic(spare, "www.first.example"), 1) << "free again";
}

// Drops the capture's loss, as a platform that reports it only once the
// control is destroyed would.
LRESULT CALLBACK WithoutCaptureChanged(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_CAPTURECHANGED ? 0
                                        : CHyperLink::LinkWndProc(window, message, wParam, lParam);
}

TEST_F(Links, ANewControlHoversThoughTheOldOneWasDestroyedWhileHovering) {
    CountingLink& link = first_;
    ASSERT_EQ(link.AttachToStatic(Item(FIRST_LINK), "www.links.example"), 1);
    Send(Item(FIRST_LINK), WM_MOUSEMOVE, 0, At(1, 1));
    ASSERT_EQ(GetCapture(), Item(FIRST_LINK));
    SetWindowLongPtrA(Item(FIRST_LINK), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(&WithoutCaptureChanged));
    DestroyWindow(Item(FIRST_LINK));
    ASSERT_EQ(link.leaves, 0);

    const HWND control = Item(SECOND_LINK);
    ASSERT_EQ(link.AttachToStatic(control, "www.links.example"), 1);
    Send(control, WM_MOUSEMOVE, 0, At(1, 1));
    EXPECT_TRUE(Underlined(control));
    EXPECT_EQ(GetCapture(), control);
    EXPECT_EQ(link.enters, 2);
}

TEST(LinkAlone, WithoutParentOrFontItUnderlinesInTheSystemFontAndOpens) {
    const HttpOpenRecorder opened;
    const HWND control = CreateWindowExA(0, "Static", "alone", WS_POPUP | SS_LEFT, 0, 0, 80, 20,
                                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    ASSERT_EQ(GetParent(control), nullptr);
    ASSERT_EQ(FontOf(control), nullptr);
    CountingLink link;
    ASSERT_EQ(link.AttachToStatic(control, "http://www.alone.example"), 1);

    Send(control, WM_MOUSEMOVE, 0, At(1, 1));
    EXPECT_TRUE(Underlined(control));
    EXPECT_EQ(GetCapture(), control);
    const HFONT underlinedFont = FontOf(control);
    const LOGFONTA system = Describe(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    const LOGFONTA underlined = Describe(underlinedFont);
    EXPECT_STREQ(underlined.lfFaceName, system.lfFaceName);
    EXPECT_EQ(underlined.lfHeight, system.lfHeight);
    EXPECT_EQ(underlined.lfWeight, system.lfWeight);
    EXPECT_NE(underlined.lfUnderline, 0);
    Send(control, WM_LBUTTONUP, 0, At(1, 1));
    EXPECT_EQ(opened.Opened(), std::vector<std::string>{"http://www.alone.example"});
    EXPECT_EQ(Send(control, WM_SETFOCUS), 0);
    EXPECT_EQ(Send(control, WM_KILLFOCUS), 0);
    EXPECT_EQ(link.enters, 2);
    ReleaseCapture();
    EXPECT_EQ(FontOf(control), nullptr);
    DestroyWindow(control);
    EXPECT_EQ(GetObjectType(underlinedFont), 0u) << "the font went with the only link";
}

}  // namespace
