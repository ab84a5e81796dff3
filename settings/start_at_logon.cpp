#include "settings/start_at_logon.h"

#include <algorithm>
#include <string>

#include "platform/program_path.h"
#include "platform/reg_key.h"

void SetStartAtLogon(bool on, Platform& platform) {
    const RegKey key = OpenOrCreateRegKey(platform.registry, RUN_KEY_PATH, RegAccess::AllAccess);
    if (!key) {
        return;
    }
    if (!on) {
        platform.registry.DeleteValue(key.id(), RUN_VALUE_NAME);
        return;
    }
    char16_t path[PROGRAM_PATH_SIZE];
    if (!ReadProgramPath(platform.module, path)) {
        return;
    }
    // The path read whole fits with its two quotes and the terminator.
    char16_t command[PROGRAM_PATH_SIZE + 2] = u"\"";
    const std::size_t length = std::char_traits<char16_t>::length(path);
    std::copy_n(path, length, command + 1);
    command[length + 1] = u'"';
    command[length + 2] = u'\0';
    const std::size_t characters = length + 3;  // the quotes and the terminator
    platform.registry.SetWideString(key.id(), RUN_VALUE_NAME, command,
                                    static_cast<std::uint32_t>(characters * sizeof(char16_t)));
}
