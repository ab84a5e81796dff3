#include <windows.h>

#include <shellapi.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace {

// Room for the verbs and switches the program passes.
constexpr std::size_t SHORT_TEXT_SIZE = 32;

static_assert(static_cast<int>(ShowCommand::Hide) == SW_HIDE);

class ShellApi final : public Shell {
public:
    void Execute(WindowHandle owner, const char* verb, const char16_t* file, const char* parameters,
                 ShowCommand show) override {
        wchar_t wideVerb[SHORT_TEXT_SIZE];
        wchar_t wideParameters[SHORT_TEXT_SIZE];
        if (!WidenAscii(verb, wideVerb) ||
            (parameters != nullptr && !WidenAscii(parameters, wideParameters))) {
            return;
        }
        ShellExecuteW(owner, wideVerb, AsWide(file),
                      parameters != nullptr ? wideParameters : nullptr, nullptr,
                      static_cast<int>(show));
    }

    bool Open(const char* target) override {
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof info;
        info.lpVerb = "open";
        info.lpFile = target;
        info.nShow = SW_SHOWNORMAL;
        return ShellExecuteExA(&info) != FALSE;
    }
};

}  // namespace

Shell& Win32Shell() {
    static ShellApi shell;
    return shell;
}
