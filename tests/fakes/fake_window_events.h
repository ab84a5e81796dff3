// Records what the program watches for; reports nothing by itself. The
// program keeps one watch: a second Watch, or an Unwatch without one, is
// reported as misuse.
#pragma once

#include <string>
#include <vector>

#include "platform/window_events.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_misuse.h"

class FakeWindowEvents final : public WindowEvents {
public:
    explicit FakeWindowEvents(CallLog& log) : log_(log) {}

    bool watching = false;
    WindowHandle reportTo = nullptr;
    std::uint32_t message = 0;
    std::vector<std::string> watched;  // "class 'title'"

    bool Watch(WindowHandle to, std::uint32_t report,
               std::span<const WindowName> windows) override {
        log_.Add("Watch");
        if (watching) {
            ReportFakeMisuse("Watch while watching");
        }
        watching = true;
        reportTo = to;
        message = report;
        watched.clear();
        for (const WindowName& name : windows) {
            watched.push_back(std::string(name.className) + " '" + name.title + "'");
        }
        return true;
    }

    void Unwatch() override {
        log_.Add("Unwatch");
        if (!watching) {
            ReportFakeMisuse("Unwatch without a watch");
        }
        watching = false;
    }

private:
    CallLog& log_;
};
