#include "hyperlink/hyperlink.h"

#include <cstddef>
#include <cstdlib>

#include "platform/win32/owned.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr char LINK_PROP_NAME[] =
    "_Hyperlink_Object_Pointer_\\{AFEED740-CC6D-47c5-831D-9848FD916EEF}";
static_assert(sizeof LINK_PROP_NAME - 1 == 65);

constexpr int FOCUS_MARGIN = 1;  // the focus rectangle lies this far outside the control
constexpr BOOL NO_REDRAW = FALSE;
constexpr BOOL NO_ERASE = FALSE;
constexpr LRESULT HANDLED = 0;
constexpr LRESULT CURSOR_SET = TRUE;
constexpr unsigned POSITION_BITS = 16;  // per coordinate in a mouse message's lParam
constexpr std::uintptr_t POSITION_MASK = 0xFFFF;

}  // namespace

// Data shared by all links; everything runs on the one user-interface thread.
//
// The atom and the About box's link live in this one translation unit, the
// atom first: the language initialises a unit's variables in the order they
// are defined and destroys them in the reverse order (also those it
// initialises statically), so the atom is there before aboutLink is
// constructed and released only after aboutLink is destroyed.
namespace {
// Names the window property: on a link, its object; on a link's parent, the
// parent's procedure from before any link was attached.
ATOM linkPropAtom = 0;
struct LinkPropAtomLifetime {
    LinkPropAtomLifetime() { linkPropAtom = GlobalAddAtomA(LINK_PROP_NAME); }
    ~LinkPropAtomLifetime() {
        GlobalDeleteAtom(linkPropAtom);
        linkPropAtom = 0;
    }
    LinkPropAtomLifetime(const LinkPropAtomLifetime&) = delete;
    LinkPropAtomLifetime& operator=(const LinkPropAtomLifetime&) = delete;
};
const LinkPropAtomLifetime linkPropAtomLifetime;
}  // namespace
CHyperLink aboutLink;

namespace {

// Link controls attached and not yet destroyed.
std::int32_t linkRefCount = 0;
// While any link lives: the underlined font shown under the pointer, and the
// hand cursor (a shared system cursor, never destroyed).
OwnedFont linkUnderlineFont;
HCURSOR linkCursor = nullptr;
constexpr COLORREF linkColor = RGB(0, 0, 255);
constexpr COLORREF visitedColor = RGB(128, 0, 128);

// The target is allocated with std::malloc, so that a failed allocation is
// an answer, not an exception.
void FreeTarget(void* target) {
    std::free(target);
}

// The property is always addressed by the atom itself, never by its name.
LPCSTR LinkProp() {
    return MAKEINTATOM(linkPropAtom);
}

CHyperLink* LinkOf(HWND control) {
    return static_cast<CHyperLink*>(GetPropA(control, LinkProp()));
}

WNDPROC SavedParentProc(HWND parent) {
    return reinterpret_cast<WNDPROC>(GetPropA(parent, LinkProp()));
}

LONG_PTR ProcValue(WNDPROC procedure) {
    return reinterpret_cast<LONG_PTR>(procedure);
}

void SetControlFont(HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), NO_REDRAW);
}

// A control that reports no font draws with the system font, so the
// underlined font is built from that one: the hover then only adds the line.
HFONT FontToUnderline(HFONT controlFont) {
    return controlFont != nullptr ? controlFont : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void CreateSharedLinkResources(HFONT controlFont) {
    LOGFONTA font = {};
    GetObjectA(FontToUnderline(controlFont), sizeof font, &font);
    font.lfUnderline = TRUE;
    linkUnderlineFont = OwnedFont(CreateFontIndirectA(&font));
    linkCursor = LoadCursorA(nullptr, IDC_HAND);
    if (linkCursor == nullptr) {
        linkCursor = LoadCursorA(nullptr, IDC_ARROW);
    }
}

void ReleaseSharedLinkResources() {
    linkCursor = nullptr;
    linkUnderlineFont.Reset();
}

// A parent is subclassed once, by its first link: from then on it carries
// the property, which holds its procedure from before. The property rather
// than the current procedure tells, so that a parent that someone else has
// subclassed since is not subclassed again: its saved procedure would then
// lead back to LinkParentWndProc, which would call itself without end.
void SubclassParentOnce(HWND parent) {
    if (parent == nullptr || GetPropA(parent, LinkProp()) != nullptr) {
        return;
    }
    SetPropA(parent, LinkProp(), reinterpret_cast<HANDLE>(GetWindowLongPtrA(parent, GWLP_WNDPROC)));
    SetWindowLongPtrA(parent, GWLP_WNDPROC, ProcValue(&CHyperLink::LinkParentWndProc));
}

// Pixel position in the low and next 16 bits, each unsigned: left of or
// above the control reads as a large number, so it counts as outside.
bool InClientArea(HWND control, LPARAM position) {
    const auto bits = static_cast<std::uintptr_t>(position);
    const auto x = static_cast<LONG>(bits & POSITION_MASK);
    const auto y = static_cast<LONG>((bits >> POSITION_BITS) & POSITION_MASK);
    RECT client = {};
    GetClientRect(control, &client);
    return client.left <= x && x < client.right && client.top <= y && y < client.bottom;
}

LRESULT RestoreParent(HWND parent, WNDPROC saved, WPARAM wParam, LPARAM lParam) {
    SetWindowLongPtrA(parent, GWLP_WNDPROC, ProcValue(saved));
    RemovePropA(parent, LinkProp());
    return CallWindowProcA(saved, parent, WM_DESTROY, wParam, lParam);
}

}  // namespace

CHyperLink::CHyperLink()
    : url(nullptr, &FreeTarget),
      isHovering(0),
      isVisited(0),
      normalFont(nullptr),
      prevWndProc(nullptr) {}

CHyperLink::~CHyperLink() = default;

void CHyperLink::OnLinkEnter() {}

void CHyperLink::OnLinkLeave() {}

// Refused, with 0: a window that already carries the property (a link, or a
// link's parent), whose second subclassing would make the link procedure
// pass messages on to itself; and a second control while this object still
// serves a live one, which would lose the first one's procedure and font.
std::int32_t CHyperLink::AttachToStatic(HWND control, const char* target) {
    if (!IsWindow(control) || GetPropA(control, LinkProp()) != nullptr || prevWndProc != nullptr) {
        return 0;
    }
    if (SetTarget(target) == 0) {
        return 0;
    }
    SubclassParentOnce(GetParent(control));
    normalFont = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (linkRefCount++ == 0) {
        CreateSharedLinkResources(normalFont);
    }
    // A hover whose end the old control never saw (destroyed while holding
    // the capture) must not keep the new control from starting its own.
    isHovering = 0;
    SetPropA(control, LinkProp(), this);
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
    prevWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    SetWindowLongPtrA(control, GWLP_WNDPROC, ProcValue(&LinkWndProc));
    return 1;
}

std::int32_t CHyperLink::AttachToDlgItem(HWND dialog, int itemId, const char* target) {
    return AttachToStatic(GetDlgItem(dialog, itemId), target);
}

std::int32_t CHyperLink::SetTarget(const char* target) {
    url.reset();
    const char* text = target != nullptr ? target : "";
    url.reset(static_cast<char*>(std::malloc(static_cast<std::size_t>(lstrlenA(text)) + 1)));
    if (!url) {
        return 0;
    }
    lstrcpyA(url.get(), text);
    return 1;
}

std::int32_t CHyperLink::OpenTarget() {
    const bool opened = url != nullptr && Win32Shell().Open(url.get());
    isVisited = 1;
    return opened ? 1 : 0;
}

LRESULT CALLBACK CHyperLink::LinkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CHyperLink* link = LinkOf(window);
    if (link == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_DESTROY:
            return link->OnDestroy(window, wParam, lParam);
        case WM_SETFOCUS:
            return link->OnSetFocus(window);
        case WM_KILLFOCUS:
            return link->OnKillFocus(window);
        case WM_SETCURSOR:
            SetCursor(linkCursor);
            return CURSOR_SET;
        case WM_KEYUP:
            return link->OnKeyUp(window, wParam, lParam);
        case WM_MOUSEMOVE:
            return link->OnMouseMove(window, lParam);
        case WM_LBUTTONUP:
            return link->OnLeftButtonUp();
        case WM_CAPTURECHANGED:
            return link->OnCaptureChanged(window);
        default:
            return link->PassOn(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK CHyperLink::LinkParentWndProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    const WNDPROC saved = SavedParentProc(window);
    if (saved == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_DESTROY:
            return RestoreParent(window, saved, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            return OnParentColorStatic(window, saved, wParam, lParam);
        default:
            return CallWindowProcA(saved, window, message, wParam, lParam);
    }
}

void CHyperLink::DrawLinkFocus(HWND control) {
    const HWND parent = GetParent(control);
    if (parent == nullptr) {
        return;
    }
    RECT frame = {};
    GetWindowRect(control, &frame);
    InflateRect(&frame, FOCUS_MARGIN, FOCUS_MARGIN);
    POINT topLeft = {frame.left, frame.top};
    POINT bottomRight = {frame.right, frame.bottom};
    ScreenToClient(parent, &topLeft);
    ScreenToClient(parent, &bottomRight);
    const RECT onParent = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    const HDC dc = GetDC(parent);
    DrawFocusRect(dc, &onParent);
    ReleaseDC(parent, dc);
}

// The parent's own procedure colours the control first; a link then only
// changes the text colour, keeping the background and brush it chose.
LRESULT CHyperLink::OnParentColorStatic(HWND parent, WNDPROC saved, WPARAM dc, LPARAM control) {
    const LRESULT brush = CallWindowProcA(saved, parent, WM_CTLCOLORSTATIC, dc, control);
    if (const CHyperLink* link = LinkOf(reinterpret_cast<HWND>(control))) {
        SetTextColor(reinterpret_cast<HDC>(dc), link->isVisited != 0 ? visitedColor : linkColor);
    }
    return brush;
}

// The control gets its own procedure and font back before the shared font
// may go, so that it never refers to a deleted font.
LRESULT CHyperLink::OnDestroy(HWND control, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = prevWndProc;
    SetWindowLongPtrA(control, GWLP_WNDPROC, ProcValue(previous));
    SetControlFont(control, normalFont);
    if (--linkRefCount <= 0) {
        ReleaseSharedLinkResources();
    }
    RemovePropA(control, LinkProp());
    prevWndProc = nullptr;
    return CallWindowProcA(previous, control, WM_DESTROY, wParam, lParam);
}

LRESULT CHyperLink::OnSetFocus(HWND control) {
    OnLinkEnter();
    DrawLinkFocus(control);
    return HANDLED;
}

LRESULT CHyperLink::OnKillFocus(HWND control) {
    OnLinkLeave();
    DrawLinkFocus(control);
    return HANDLED;
}

LRESULT CHyperLink::OnKeyUp(HWND control, WPARAM key, LPARAM lParam) {
    if (key != VK_SPACE) {
        return PassOn(control, WM_KEYUP, key, lParam);
    }
    OpenTarget();
    return HANDLED;
}

// The first move comes while the pointer is over the control; the capture
// then brings the moves after it has left, and losing the capture, however
// it happens, ends the hover (OnCaptureChanged).
LRESULT CHyperLink::OnMouseMove(HWND control, LPARAM position) {
    if (isHovering == 0) {
        isHovering = 1;
        SetControlFont(control, linkUnderlineFont.get());
        InvalidateRect(control, nullptr, NO_ERASE);
        OnLinkEnter();
        SetCapture(control);
    } else if (!InClientArea(control, position)) {
        ReleaseCapture();
    }
    return HANDLED;
}

// Wherever the button went down: the press is not tracked.
LRESULT CHyperLink::OnLeftButtonUp() {
    OpenTarget();
    return HANDLED;
}

LRESULT CHyperLink::OnCaptureChanged(HWND control) {
    isHovering = 0;
    OnLinkLeave();
    SetControlFont(control, normalFont);
    InvalidateRect(control, nullptr, NO_ERASE);
    return HANDLED;
}

LRESULT CHyperLink::PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(prevWndProc, control, message, wParam, lParam);
}
