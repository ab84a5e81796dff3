// The running program's own file.
#pragma once

#include <cstdint>

class Module {
public:
    // GetModuleFileNameA for the program's own module: copies at most size
    // characters including the terminator, and returns the length copied
    // without it. A result of 0 is a failure; a result of size means the
    // path was cut short.
    virtual std::uint32_t FileName(char* buffer, std::uint32_t size) = 0;

protected:
    ~Module() = default;
};
