// Records what the program asks the shell to start; starts nothing.
#pragma once

#include <string>

#include "platform/shell.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/utf16.h"

class FakeShell final : public Shell {
public:
    explicit FakeShell(CallLog& log) : log_(log) {}

    // Logs the file in UTF-8.
    void Execute(WindowHandle owner, const char* verb, const char16_t* file, const char* parameters,
                 ShowCommand show) override {
        const std::string program = Utf8(file);
        lastOwner = owner;
        lastCommandLine =
            "\"" + program + "\"" + (parameters != nullptr ? std::string(" ") + parameters : "");
        log_.Add(std::string("Execute ") + verb + " \"" + program + "\" " +
                 (parameters != nullptr ? parameters : "<none>") + " show " +
                 std::to_string(static_cast<int>(show)));
    }

    // The command line that the last Execute gives the started program, as
    // the shell builds it: the file in quotes, a blank, the parameters; in
    // UTF-8.
    std::string lastCommandLine;
    WindowHandle lastOwner = nullptr;

    bool opens = true;  // what Open reports

    bool Open(const char* target) override {
        log_.Add(std::string("Open \"") + target + "\"");
        return opens;
    }

private:
    CallLog& log_;
};
