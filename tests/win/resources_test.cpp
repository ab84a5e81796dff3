// Every resource of the built program, loaded by number as the program loads
// it, against what the program promises its users and the platform.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"

#include "res/resource.h"
#include "shared/app_state.h"
#include "shared/identifiers.h"
#include "tests/support/dialog_template.h"

namespace {

std::string ProgramPath() {
    const char* path = std::getenv("SHELFCLOAK_EXE");
    return path != nullptr ? path : "";
}

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load " << ProgramPath(); }

    // The raw bytes of a resource, empty when it is missing.
    static std::vector<std::uint8_t> Raw(LPCSTR type, WORD id) {
        const HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id),
                                            MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        if (found == nullptr) {
            return {};
        }
        const auto* data =
            static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, found)));
        return std::vector<std::uint8_t>(data, data + SizeofResource(module_, found));
    }

    static HMODULE module_;
};

HMODULE Resources::module_ = nullptr;

TEST_F(Resources, StringsHoldTheirTextsAndFitTheirBuffers) {
    struct Case {
        WORD id;
        const char* text;
    };
    for (const Case& c :
         {Case{IDS_WINDOW_TITLE, "Shelf Cloak"}, Case{IDS_WINDOW_CLASS, "SHELFCLOAK"}}) {
        const wchar_t* raw = nullptr;
        const int length = LoadStringW(module_, c.id, reinterpret_cast<LPWSTR>(&raw), 0);
        EXPECT_LT(length, static_cast<int>(APP_TEXT_SIZE)) << "string " << c.id << " is too long";
        char text[APP_TEXT_SIZE] = {};
        LoadStringA(module_, c.id, text, static_cast<int>(APP_TEXT_SIZE));
        EXPECT_STREQ(text, c.text) << "string " << c.id;
        EXPECT_EQ(length, static_cast<int>(std::strlen(c.text))) << "string " << c.id;
    }
}

TEST_F(Resources, TrayMenuHoldsAboutSettingsSeparatorExit) {
    const HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    char title[32] = {};
    GetMenuStringA(menu, 0, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ(title, "POPUP");

    const HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    struct Item {
        const char* text;
        UINT id;
        bool separator;
    };
    const Item expected[] = {
        {"About ...", CMD_ABOUT, false},
        {"Settings...", CMD_SETTINGS, false},
        {"", 0, true},
        {"Exit", CMD_EXIT, false},
    };
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    for (int i = 0; i < 4; ++i) {
        char text[64] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info)) << "item " << i;
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, expected[i].separator) << "item " << i;
        EXPECT_STREQ(text, expected[i].text) << "item " << i;
        EXPECT_EQ(info.hSubMenu, nullptr) << "item " << i;
        if (!expected[i].separator) {
            EXPECT_EQ(info.wID, expected[i].id) << "item " << i << " " << text;
        }
    }
    DestroyMenu(menu);
}

// Where a control covers its dialog, in dialog units; a list's template
// height is its dropped-down height, and it shows one row when closed.
RECT Covered(const DialogItem& item) {
    constexpr std::int16_t CLOSED_LIST_HEIGHT = 12;
    const std::int16_t height =
        item.windowClass == Ordinal(CLASS_COMBOBOX) ? CLOSED_LIST_HEIGHT : item.cy;
    return RECT{item.x, item.y, item.x + item.cx, item.y + height};
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The hot key's choices and the boxes about hiding sit in its group; every
// other control below it; none covers another or leaves the dialog (the
// separator is wider on purpose).
TEST_F(Resources, SettingsControlsKeepToTheirGroupAndTheDialog) {
    const std::optional<DialogTemplate> dialog =
        ParseDialogTemplate(DialogResource(module_, IDD_SETTINGS));
    ASSERT_TRUE(dialog.has_value());
    const RECT whole = {0, 0, dialog->cx, dialog->cy};
    const std::vector<int> inGroup = {IDC_CTRLSHIFT_RADIO, IDC_CTRLSHIFT_KEY, IDC_WIN_RADIO,
                                      IDC_WIN_KEY,         IDC_FORCE,         IDC_STAY_HIDDEN};
    std::vector<DialogItem> controls;
    RECT group = {};
    for (const DialogItem& item : dialog->items) {
        if (item.windowClass == Ordinal(CLASS_BUTTON) &&
            (item.style & BS_TYPEMASK) == BS_GROUPBOX) {
            group = Covered(item);
        } else if ((item.style & SS_TYPEMASK) != SS_ETCHEDHORZ ||
                   item.windowClass != Ordinal(CLASS_STATIC)) {
            controls.push_back(item);
        }
    }
    EXPECT_TRUE(Inside(group, whole)) << "the group box";
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const RECT covered = Covered(controls[i]);
        const int id = controls[i].id;
        EXPECT_TRUE(Inside(covered, whole)) << "control " << id;
        const bool grouped = std::find(inGroup.begin(), inGroup.end(), id) != inGroup.end();
        EXPECT_EQ(Inside(covered, group), grouped) << "control " << id;
        if (!grouped) {
            EXPECT_GE(covered.top, group.bottom) << "control " << id << " beside the group";
        }
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            RECT overlap = {};
            const RECT other = Covered(controls[j]);
            EXPECT_FALSE(IntersectRect(&overlap, &covered, &other))
                << "controls " << id << " and " << controls[j].id << " overlap";
        }
    }
}

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST_F(Resources, IconGroupsHoldTheirImagesInOrder) {
    struct Image {
        int size;
        int bits;
    };
    struct Case {
        WORD group;
        std::vector<Image> images;
    };
    const Case cases[] = {
        {IDI_PROGRAM_ICON, {{32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}}},
        {IDI_SMALL_ICON, {{16, 8}, {16, 32}}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> group = Raw(RT_GROUP_ICON, c.group);
        ASSERT_GE(group.size(), sizeof(GroupIconHeader)) << "icon group " << c.group;
        GroupIconHeader header = {};
        std::memcpy(&header, group.data(), sizeof header);
        EXPECT_EQ(header.type, 1) << "icon group " << c.group;
        ASSERT_EQ(header.count, c.images.size()) << "icon group " << c.group;
        ASSERT_GE(group.size(), sizeof header + header.count * sizeof(GroupIconEntry));
        for (std::size_t i = 0; i < c.images.size(); ++i) {
            GroupIconEntry entry = {};
            std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
            const Image& want = c.images[i];
            EXPECT_EQ(entry.width, want.size) << "group " << c.group << " image " << i;
            EXPECT_EQ(entry.height, want.size) << "group " << c.group << " image " << i;
            EXPECT_EQ(entry.bitCount, want.bits) << "group " << c.group << " image " << i;

            const std::vector<std::uint8_t> image = Raw(RT_ICON, entry.id);
            ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER))
                << "group " << c.group << " image " << i;
            BITMAPINFOHEADER bitmap = {};
            std::memcpy(&bitmap, image.data(), sizeof bitmap);
            EXPECT_EQ(bitmap.biWidth, want.size) << "group " << c.group << " image " << i;
            EXPECT_EQ(bitmap.biHeight, 2 * want.size) << "group " << c.group << " image " << i;
            EXPECT_EQ(bitmap.biBitCount, want.bits) << "group " << c.group << " image " << i;
        }
        EXPECT_NE(LoadIconA(module_, MAKEINTRESOURCEA(c.group)), nullptr)
            << "icon group " << c.group;
    }
}

TEST_F(Resources, VersionBlockNamesTheProgramAndItsVersion) {
    const std::string path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000005u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000005u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    struct Case {
        const char* name;
        const char* value;
    };
    const Case strings[] = {
        {"FileDescription", "Hide and show Windows TaskBar"},
        {"InternalName", "Shelfcloak"},
        {"OriginalFilename", "Shelfcloak.EXE"},
        {"ProductName", "Shelf Cloak application"},
        {"FileVersion", "1.3.0.5"},
        {"ProductVersion", "1.3.0.5"},
    };
    for (const Case& c : strings) {
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + c.name;
        char* value = nullptr;
        ASSERT_TRUE(
            VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << c.name;
        EXPECT_STREQ(value, c.value) << c.name;
    }
}

// The text of the nth element with this tag, from "<tag" to its ">".
std::string Element(const std::string& xml, const std::string& tag, int nth = 0) {
    std::size_t at = 0;
    for (int i = 0; i <= nth; ++i) {
        at = xml.find("<" + tag + " ", i == 0 ? 0 : at + 1);
        if (at == std::string::npos) {
            return "";
        }
    }
    return xml.substr(at, xml.find('>', at) - at + 1);
}

std::string Attribute(const std::string& element, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const std::size_t at = element.find(key);
    if (at == std::string::npos) {
        return "<none>";
    }
    const std::size_t start = at + key.size();
    return element.substr(start, element.find('"', start) - start);
}

TEST_F(Resources, ManifestDeclaresWhatThePlatformReads) {
    const std::vector<std::uint8_t> raw = Raw(MAKEINTRESOURCEA(24), 1);  // RT_MANIFEST
    ASSERT_FALSE(raw.empty());
    const std::string xml(raw.begin(), raw.end());
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0), 0u);

    const std::string identity = Element(xml, "assemblyIdentity", 0);
    EXPECT_EQ(Attribute(identity, "version"), "5.1.0.0");
    EXPECT_EQ(Attribute(identity, "processorArchitecture"), "x86");
    EXPECT_EQ(Attribute(identity, "type"), "win32");
    const std::string name = Attribute(identity, "name");
    EXPECT_TRUE(name.size() > 4 && name.substr(name.size() - 4) == ".exe") << name;
    EXPECT_NE(name.find('.'), name.size() - 4) << "a dotted name: " << name;
    EXPECT_NE(xml.find("<description>Shelfcloak</description>"), std::string::npos);

    const std::string controls = Element(xml, "assemblyIdentity", 1);
    EXPECT_EQ(Attribute(controls, "name"), "Microsoft.Windows.Common-Controls");
    EXPECT_EQ(Attribute(controls, "version"), "6.0.0.0");
    EXPECT_EQ(Attribute(controls, "processorArchitecture"), "*");
    EXPECT_EQ(Attribute(controls, "language"), "*");
    EXPECT_EQ(Attribute(controls, "publicKeyToken"), "6595b64144ccf1df");
    EXPECT_NE(xml.find("<dependentAssembly>"), std::string::npos);

    const std::string level = Element(xml, "requestedExecutionLevel");
    EXPECT_EQ(Attribute(level, "level"), "asInvoker");
    EXPECT_EQ(Attribute(level, "uiAccess"), "false");

    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",     // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10
        EXPECT_NE(xml.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos)
            << id;
    }

    // Windows 10 1607 and later read dpiAwareness first, and only in its
    // own namespace; older systems keep dpiAware.
    const std::size_t settings = xml.find("<windowsSettings>");
    const std::size_t settingsEnd = xml.find("</windowsSettings>");
    EXPECT_NE(settings, std::string::npos);
    EXPECT_LT(xml.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">"), settings);
    struct Setting {
        const char* element;
        const char* xmlns;
        const char* value;
    };
    for (const Setting& s : {
             Setting{"dpiAware", "http://schemas.microsoft.com/SMI/2005/WindowsSettings", "true"},
             Setting{"dpiAwareness", "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                     "PerMonitorV2, PerMonitor"},
         }) {
        const std::string element = Element(xml, s.element);
        const std::size_t at = xml.find(element);
        EXPECT_TRUE(!element.empty() && settings < at && at < settingsEnd)
            << s.element << " under windowsSettings: " << element;
        EXPECT_EQ(Attribute(element, "xmlns"), s.xmlns) << s.element;
        EXPECT_NE(xml.find(element + s.value + "</" + s.element + ">"), std::string::npos)
            << s.element << " is not " << s.value;
    }
}

}  // namespace
