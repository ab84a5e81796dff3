// A shell that records what links ask it to open and starts nothing, put in
// place of the real one for as long as it lives.
#pragma once

#include <string>
#include <vector>

#include "hyperlink/hyperlink.h"
#include "platform/shell.h"

class RecordingShell final : public Shell {
public:
    RecordingShell() : previous_(linkShell) { linkShell = this; }
    ~RecordingShell() { linkShell = previous_; }
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    // Links start nothing with Execute; what any does is recorded by its verb.
    void Execute(WindowHandle /*owner*/, const char* verb, const char16_t* /*file*/,
                 const char* /*parameters*/, ShowCommand /*show*/) override {
        executed.emplace_back(verb);
    }
    bool Open(const char* target) override {
        opened.emplace_back(target);
        return opens;
    }

    bool opens = true;  // what Open reports
    std::vector<std::string> opened;
    std::vector<std::string> executed;

private:
    Shell* previous_;
};
