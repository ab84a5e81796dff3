// The calls the fakes received, in order, one text per call, shared by all
// fakes of a test so that orders across interfaces can be asserted.
#pragma once

#include <string>
#include <vector>

struct CallLog {
    std::vector<std::string> calls;

    void Add(std::string call) { calls.push_back(std::move(call)); }
    // The calls that start with any of the given prefixes, in order.
    std::vector<std::string> Matching(std::initializer_list<const char*> prefixes) const;
};
