// The shell's launcher of programs and documents.
#pragma once

#include <cstdint>

#include "platform/handles.h"

enum class ShowCommand : std::int32_t {
    Hide = 0,        // SW_HIDE
    ShowNormal = 1,  // SW_SHOWNORMAL
};

class Shell {
public:
    // ShellExecuteA with no working directory, on behalf of the owner
    // window, to which any prompt the shell shows for it belongs; the
    // outcome is not reported, and nothing is waited for.
    virtual void Execute(WindowHandle owner, const char* verb, const char* file,
                         const char* parameters, ShowCommand show) = 0;
    // Opens a document or address with the shell's "open" verb in a normal
    // window (ShellExecuteExA); true when the shell reports success.
    virtual bool Open(const char* target) = 0;

protected:
    ~Shell() = default;
};
