#include "tests/fakes/call_log.h"

std::vector<std::string> CallLog::Matching(std::initializer_list<const char*> prefixes) const {
    std::vector<std::string> found;
    for (const std::string& call : calls) {
        for (const char* prefix : prefixes) {
            if (call.rfind(prefix, 0) == 0) {
                found.push_back(call);
                break;
            }
        }
    }
    return found;
}
