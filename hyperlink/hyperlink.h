// Turns a static text control into a clickable link: the text in the link
// colour (another once followed), a hand cursor, an underline while the
// pointer is over it, and its target opened by the shell when the left
// button or the space bar is released over it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

class CHyperLink {
public:
    CHyperLink();
    virtual ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // Called, always through the virtual table, when the control gains the
    // focus or the pointer comes over it, and when it loses the focus or the
    // hover ends. Empty here, for a derived class to fill.
    virtual void OnLinkEnter();
    virtual void OnLinkLeave();

    // Subclasses the static text control (and, once, its parent) and copies
    // the target. 1 when attached; 0 with nothing changed when the target
    // cannot be copied or the attachment is refused (see the definition).
    // The object must outlive the control.
    std::int32_t AttachToStatic(HWND control, const char* target);
    std::int32_t AttachToDlgItem(HWND dialog, int itemId, const char* target);
    // Replaces the target by a copy of target; 0 (and no target) when the
    // copy cannot be allocated.
    std::int32_t SetTarget(const char* target);
    // Opens the target through the shell and marks the link visited, even
    // when the launch fails; nonzero when the shell reports success.
    std::int32_t OpenTarget();

    // The procedure of every link control, and of the parent of any link.
    static LRESULT CALLBACK LinkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkParentWndProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam);
    // Draws the focus rectangle around a link on its parent, or removes it by
    // drawing it again (it inverts the pixels).
    static void DrawLinkFocus(HWND control);

private:
    static LRESULT OnParentColorStatic(HWND parent, WNDPROC saved, WPARAM dc, LPARAM control);
    LRESULT OnDestroy(HWND control, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(HWND control);
    LRESULT OnKillFocus(HWND control);
    LRESULT OnKeyUp(HWND control, WPARAM key, LPARAM lParam);
    LRESULT OnMouseMove(HWND control, LPARAM position);
    LRESULT OnLeftButtonUp();
    LRESULT OnCaptureChanged(HWND control);
    LRESULT PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<char, void (*)(void*)> url;  // heap copy of the target, or null
    std::int32_t isHovering;  // 1 from the first move over the control until the capture goes
    std::int32_t isVisited;   // 1 once opened; never cleared
    HFONT normalFont;         // the control's own font, not owned
    WNDPROC prevWndProc;      // the control's procedure before; null while not attached
};

// The process's one link: the About box's home-page address.
extern CHyperLink aboutLink;
