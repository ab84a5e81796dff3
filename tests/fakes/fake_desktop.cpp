#include "tests/fakes/fake_desktop.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "tests/fakes/fake_misuse.h"

namespace {

// Handles are 1-based window numbers, so that null stays "no window".
WindowHandle HandleOf(std::size_t index) {
    return reinterpret_cast<WindowHandle>(static_cast<std::uintptr_t>(index + 1));
}

std::size_t IndexOf(WindowHandle handle) {
    return reinterpret_cast<std::uintptr_t>(handle) - 1;
}

}  // namespace

std::string ToText(const Rect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

WindowHandle FakeDesktop::AddWindow(std::string className, std::string title, Rect rect,
                                    bool shown) {
    windows_.push_back(Window{std::move(className), std::move(title), rect, shown});
    return HandleOf(windows_.size() - 1);
}

const FakeDesktop::Window& FakeDesktop::WindowOf(WindowHandle handle) const {
    return windows_.at(IndexOf(handle));
}

FakeDesktop::Window* FakeDesktop::Find(WindowHandle handle) {
    const std::size_t index = IndexOf(handle);
    return handle != nullptr && index < windows_.size() ? &windows_[index] : nullptr;
}

std::string FakeDesktop::NameOf(WindowHandle handle) {
    const Window* window = Find(handle);
    return window != nullptr ? window->className : "<no window>";
}

WindowHandle FakeDesktop::FindTopWindow(const char* className, const char* title) {
    log_.Add(std::string("FindTopWindow ") + className + " '" + (title ? title : "<null>") + "'");
    if (title == nullptr) {
        ReportFakeMisuse(std::string("FindTopWindow(") + className +
                         ") without a title: it must be exact");
        return nullptr;
    }
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        if (windows_[i].className == className && windows_[i].title == title) {
            return HandleOf(i);
        }
    }
    return nullptr;
}

void FakeDesktop::VisitTopWindows(const char* className, const char* title,
                                  WindowVisitor& visitor) {
    log_.Add(std::string("VisitTopWindows ") + className + " '" + title + "'");
    // Taken first, as the system lists them before it calls back.
    std::vector<WindowHandle> found;
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        if (windows_[i].className == className && windows_[i].title == title) {
            found.push_back(HandleOf(i));
        }
    }
    for (const WindowHandle window : found) {
        visitor.Visit(window);
    }
}

Rect FakeDesktop::WindowRect(WindowHandle window) {
    log_.Add("WindowRect " + NameOf(window));
    const Window* found = Find(window);
    return found != nullptr ? found->rect : Rect{};
}

bool FakeDesktop::IsShown(WindowHandle window) {
    log_.Add("IsShown " + NameOf(window));
    const Window* found = Find(window);
    return found != nullptr && found->shown;
}

void FakeDesktop::SetShown(WindowHandle window, bool shown) {
    log_.Add((shown ? "Show " : "Hide ") + NameOf(window));
    if (Window* found = Find(window)) {
        found->shown = shown;
    }
}

void FakeDesktop::SetForeground(WindowHandle window) {
    // The program's own windows are not the desktop's: named by number.
    log_.Add("SetForeground " + (Find(window) != nullptr
                                     ? NameOf(window)
                                     : std::to_string(reinterpret_cast<std::uintptr_t>(window))));
}

Rect FakeDesktop::WorkArea() {
    log_.Add("WorkArea");
    return workArea;
}

void FakeDesktop::SetWorkArea(const Rect& area) {
    log_.Add("SetWorkArea " + ToText(area));
    workArea = area;
}

ScreenSize FakeDesktop::PrimaryScreenSize() {
    log_.Add("PrimaryScreenSize");
    return screen;
}

std::optional<std::intptr_t> FakeDesktop::Send(WindowHandle window, std::uint32_t message,
                                               std::uintptr_t wParam) {
    char text[64];
    std::snprintf(text, sizeof text, " 0x%X %ju", message, static_cast<std::uintmax_t>(wParam));
    log_.Add("Send " + NameOf(window) + text);
    if (Find(window) == nullptr || std::find(hung.begin(), hung.end(), window) != hung.end()) {
        return std::nullopt;
    }
    return answer;
}
