// The running program: its own file and its process's token.
#pragma once

#include <cstdint>

// What the process's token says of elevation (GetTokenInformation with
// TokenElevationType), in the platform's own numbers.
enum class ElevationType : std::uint32_t {
    Unknown = 0,  // the token could not be asked
    Default = 1,  // no linked token: a standard user, or UAC off
    Full = 2,     // elevated
    Limited = 3,  // an administrator's filtered token, with an elevated one linked
};

class Module {
public:
    // GetModuleFileNameW for the program's own module, in UTF-16: the narrow
    // function does not fail on a folder name that the ANSI code page cannot
    // spell, it substitutes other letters and names a file that does not
    // exist. Copies at most size code units including the terminator, and
    // returns the length copied without it. A result of 0 is a failure; a
    // result of size means the path was cut short.
    virtual std::uint32_t FileName(char16_t* buffer, std::uint32_t size) = 0;
    virtual ElevationType Elevation() = 0;

protected:
    ~Module() = default;
};
