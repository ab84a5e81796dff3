// The About box: its template as the built program holds it, and
// AboutDlgProc running that template in this process.
#include "about/about_dialog.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "hyperlink/hyperlink.h"
#include "res/resource.h"
#include "shared/app_state.h"
#include "tests/support/dialog_template.h"
#include "tests/support/http_open_recorder.h"
#include "tests/support/link_observation.h"

namespace {

// The text statics, by their place in the template: name and version, legal
// notice, address.
constexpr std::size_t TEXT_ITEMS[] = {1, 3, 4};
constexpr std::size_t ADDRESS_ITEM = 4;

HMODULE LoadProgram() {
    const char* path = std::getenv("SHELFCLOAK_EXE");
    return LoadLibraryExA(path != nullptr ? path : "", nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(program_, nullptr) << "cannot load the built program"; }
    void TearDown() override {
        if (program_ != nullptr) {
            FreeLibrary(program_);
        }
    }
    HMODULE program_ = LoadProgram();
};

TEST_F(AboutBox, TemplateHoldsTheBoxFieldByField) {
    const std::optional<DialogTemplate> box =
        ParseDialogTemplate(DialogResource(program_, IDD_ABOUT));
    ASSERT_TRUE(box.has_value()) << "no classic dialog template " << IDD_ABOUT;
    EXPECT_EQ(box->style, 0x00C008C0u) << "caption, centred, modal frame, font; no system menu";
    EXPECT_EQ(box->exStyle, 0u);
    EXPECT_EQ(box->x, 22);
    EXPECT_EQ(box->y, 17);
    EXPECT_EQ(box->cx, 198);
    EXPECT_EQ(box->cy, 76);
    EXPECT_EQ(box->menu, NameOrOrdinal{}) << ToText(box->menu);
    EXPECT_EQ(box->windowClass, NameOrOrdinal{}) << ToText(box->windowClass);
    EXPECT_EQ(box->caption, "About Shelf Cloak");
    EXPECT_EQ(box->pointSize, 8);
    EXPECT_EQ(box->font, "MS Sans Serif");

    struct Expected {
        std::uint16_t id;
        std::uint16_t windowClass;
        NameOrOrdinal text;
        std::uint32_t style;
        std::int16_t x, y, cx, cy;
    };
    const Expected items[] = {
        {2, CLASS_STATIC, Ordinal(IDI_PROGRAM_ICON), 0x50000003, 15, 15, 20, 20},
        {0xFFFF, CLASS_STATIC, Name("Shelf Cloak v 1.3"), 0x50020080, 51, 8, 64, 8},
        {IDOK, CLASS_BUTTON, Name("OK"), 0x50010001, 142, 56, 50, 14},
        {0xFFFF, CLASS_STATIC, Name("Copyright (C) 2026 Quillfen. MIT License."), 0x50020000, 51,
         34, 138, 8},
        {IDC_HOME_PAGE, CLASS_STATIC, Name(HOME_PAGE_ADDRESS), 0x50020000, 51, 21, 84, 8},
        {0xFFFF, CLASS_STATIC, Name(""), 0x50000010, 0, 49, 202, 1},
    };
    ASSERT_EQ(box->items.size(), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const DialogItem& item = box->items[i];
        const Expected& want = items[i];
        const std::string name = "control " + std::to_string(i + 1);
        EXPECT_EQ(item.id, want.id) << name;
        EXPECT_EQ(item.windowClass, Ordinal(want.windowClass))
            << name << ": " << ToText(item.windowClass);
        EXPECT_EQ(item.title, want.text) << name << ": " << ToText(item.title);
        EXPECT_EQ(item.style, want.style) << name;
        EXPECT_EQ(item.exStyle, 0u) << name;
        EXPECT_EQ(item.x, want.x) << name;
        EXPECT_EQ(item.y, want.y) << name;
        EXPECT_EQ(item.cx, want.cx) << name;
        EXPECT_EQ(item.cy, want.cy) << name;
        EXPECT_EQ(item.extraBytes, 0) << name;
    }
}

// What the dialog leaves in a device context for a static's colours.
COLORREF TextColourFor(HWND dialog, HWND control) {
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

// The width the control's text takes in the control's font, and the
// control's width.
std::pair<LONG, LONG> TextAndControlWidth(HWND control) {
    char text[128] = {};
    const int length = GetWindowTextA(control, text, sizeof text);
    const HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, length, &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    RECT client = {};
    GetClientRect(control, &client);
    return {size.cx, client.right};
}

// The dialog's controls in their stacking order, which is the template's.
std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

constexpr UINT PRESS_KEY = WM_APP;

// One opening of the box: the key that closes it, and whether the link is
// clicked while it is open.
struct Opening {
    const char* name;
    WPARAM key;
    INT_PTR result;
    bool clickLink;
    COLORREF linkColourAtOpen;
};
const Opening* opening = nullptr;
// The font the box's link showed under the pointer, which goes with the link.
HFONT linkFontUnderPointer = nullptr;

// Runs AboutDlgProc, checking the box as it opens and pressing the key
// once the dialog manager has set the focus.
INT_PTR CALLBACK CheckingAboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PRESS_KEY) {
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK)) << opening->name;
        PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, opening->key, 0);
        return TRUE;
    }
    const INT_PTR result = AboutDlgProc(dialog, message, wParam, lParam);
    if (message != WM_INITDIALOG) {
        return result;
    }
    EXPECT_EQ(result, TRUE) << opening->name;
    EXPECT_EQ(AppState.aboutDialogOpen, 1) << opening->name;
    const HWND link = GetDlgItem(dialog, IDC_HOME_PAGE);
    EXPECT_EQ(LinkProperty(link), &aboutLink) << opening->name;
    linkFontUnderPointer = FontUnderPointer(link);
    EXPECT_EQ(TextColourFor(dialog, link), opening->linkColourAtOpen) << opening->name;
    const std::vector<HWND> items = Children(dialog);
    EXPECT_EQ(items.size(), 6u);
    for (const std::size_t item : TEXT_ITEMS) {
        if (item >= items.size()) {
            break;
        }
        const auto [text, width] = TextAndControlWidth(items[item]);
        EXPECT_LE(text, width) << opening->name << ": the text of control " << item + 1
                               << " is cut off";
        if (item != ADDRESS_ITEM) {
            EXPECT_EQ(TextColourFor(dialog, items[item]), GetSysColor(COLOR_WINDOWTEXT))
                << opening->name << ": control " << item + 1;
        }
    }
    EXPECT_EQ(AboutDlgProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_HOME_PAGE, STN_CLICKED),
                           reinterpret_cast<LPARAM>(link)),
              FALSE)
        << opening->name;
    if (opening->clickLink) {
        SendMessageA(link, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(TextColourFor(dialog, link), VISITED_COLOUR) << opening->name;
    }
    PostMessageA(dialog, PRESS_KEY, 0, 0);
    return result;
}

TEST_F(AboutBox, EnterAndEscCloseItWithTheirIdsAndTheFollowedLinkStaysPurpleInTheRun) {
    const std::vector<std::uint8_t> bytes = DialogResource(program_, IDD_ABOUT);
    ASSERT_FALSE(bytes.empty());
    const HttpOpenRecorder opened;
    const Opening openings[] = {
        {"Enter, with the link clicked", VK_RETURN, IDOK, true, LINK_COLOUR},
        {"Esc, opened again", VK_ESCAPE, IDCANCEL, false, VISITED_COLOUR},
    };
    for (const Opening& each : openings) {
        opening = &each;
        linkFontUnderPointer = nullptr;
        const INT_PTR result =
            DialogBoxIndirectParamA(program_, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                    nullptr, CheckingAboutDlgProc, 0);
        EXPECT_EQ(result, each.result) << each.name;
        EXPECT_EQ(AppState.aboutDialogOpen, 0) << each.name;
        EXPECT_NE(linkFontUnderPointer, nullptr) << each.name;
        EXPECT_EQ(GetObjectType(linkFontUnderPointer), 0u)
            << each.name << ": the shared font went with the box's link";
    }
    // The shell opens a "www." address as an http one.
    EXPECT_EQ(opened.Opened(),
              std::vector<std::string>{std::string("http://") + HOME_PAGE_ADDRESS});
    AppState = {};
}

}  // namespace
