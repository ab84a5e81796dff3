// The shell's launcher of programs and documents.
#pragma once

#include <cstdint>

#include "platform/handles.h"

enum class ShowCommand : std::int32_t {
    Hide = 0,  // SW_HIDE
};

class Shell {
public:
    // ShellExecuteW with no working directory, on behalf of the owner
    // window, to which any prompt the shell shows for it belongs; the
    // outcome is not reported, and nothing is waited for. The file is a
    // program's full path in UTF-16; the verb and the parameters are the
    // program's own ASCII texts.
    virtual void Execute(WindowHandle owner, const char* verb, const char16_t* file,
                         const char* parameters, ShowCommand show) = 0;
    // Opens a document or address with the shell's "open" verb in a normal
    // window (ShellExecuteExA); true when the shell reports success.
    virtual bool Open(const char* target) = 0;

protected:
    ~Shell() = default;
};
