#include "taskbar/multimon_policy.h"

#include "platform/program_path.h"
#include "platform/reg_key.h"
#include "shared/switch_names.h"

namespace {

// "runas" elevates the same account only when the token has an elevated one
// linked (Limited) or is elevated already (Full). A standard user's token
// (Default) has none: "runas" would ask for an administrator's password and
// the copy would write that administrator's hive, changing another person's
// settings and never the user's. When the token cannot be asked, nothing is
// started either: a policy left unchanged is the smaller fault.
bool ElevatesTheSameAccount(ElevationType elevation) {
    return elevation == ElevationType::Limited || elevation == ElevationType::Full;
}

// Starts the program's own file elevated. It is started by its full path: a
// bare file name would be looked up in the current directory, which at logon
// is not the program's own and may hold any file of that name. The copy
// writes the value and ends, whether it finds an instance resident or not.
void RelaunchElevated(std::uint32_t value, WindowHandle owner, Platform& platform) {
    if (!ElevatesTheSameAccount(platform.module.Elevation())) {
        return;
    }
    char16_t path[PROGRAM_PATH_SIZE];
    if (!ReadProgramPath(platform.module, path)) {
        return;
    }
    const char* repeat = value != 0 ? RELAUNCH_NO_MULTI : RELAUNCH_MULTI;
    // The prompt shows in front only for the foreground window.
    if (owner != nullptr) {
        platform.desktop.SetForeground(owner);
    }
    platform.shell.Execute(owner, "runas", path, repeat, ShowCommand::Hide);
}

}  // namespace

void SetTaskbarNoMultimon(std::uint32_t value, std::int32_t noRelaunch, WindowHandle owner,
                          Platform& platform) {
    RegStatus status = RESULT_SUCCESS;
    {
        const RegKey key =
            OpenOrCreateRegKey(platform.registry, POLICY_KEY_PATH, RegAccess::Write, &status);
        if (key) {
            status = WriteDword(key, POLICY_VALUE_NAME, value);
        }
    }
    if (noRelaunch == 0 && status == RESULT_ACCESS_DENIED) {
        RelaunchElevated(value, owner, platform);
    }
}
