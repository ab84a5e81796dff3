#include <windows.h>

#include <shellapi.h>

#include "platform/win32/win32_platform.h"

namespace {

static_assert(static_cast<int>(ShowCommand::Hide) == SW_HIDE);
static_assert(static_cast<int>(ShowCommand::ShowNormal) == SW_SHOWNORMAL);

class ShellApi final : public Shell {
public:
    void Execute(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                 ShowCommand show) override {
        ShellExecuteA(owner, verb, file, parameters, nullptr, static_cast<int>(show));
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
