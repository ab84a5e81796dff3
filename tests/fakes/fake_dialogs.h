// Records which dialogs run; a test may act while one is "open".
#pragma once

#include <functional>
#include <string>

#include "platform/dialogs.h"
#include "tests/fakes/call_log.h"

class FakeDialogs final : public Dialogs {
public:
    explicit FakeDialogs(CallLog& log) : log_(log) {}

    // Called while the dialog runs, in place of the user.
    std::function<void(DialogId)> whileOpen;
    InstanceHandle lastModule = nullptr;
    WindowHandle lastOwner = nullptr;

    void Run(DialogId dialog, InstanceHandle module, WindowHandle owner) override {
        log_.Add(std::string("RunDialog ") + (dialog == DialogId::Settings ? "Settings" : "About"));
        lastModule = module;
        lastOwner = owner;
        if (whileOpen) {
            whileOpen(dialog);
        }
    }

private:
    CallLog& log_;
};
