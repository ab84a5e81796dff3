// The command line as the switches are searched in.
#pragma once

#include <cstddef>

constexpr std::size_t COMMAND_LINE_BUFFER_SIZE = 260;

// The first 259 characters of the whole command line (program path
// included), with ASCII capitals lower-cased: what every switch is looked
// for in. A missing command line reads as empty, so as no switches.
class SwitchText {
public:
    explicit SwitchText(const char* commandLine);

    // Plain substring search: a switch may stand anywhere, glued to other text.
    bool Contains(const char* word) const;
    // Whether the word stands as a whole argument after the program's own
    // path (quoted, or up to the first blank): never inside another word or
    // a path.
    bool HasArgument(const char* word) const;

private:
    char text_[COMMAND_LINE_BUFFER_SIZE] = {};
};
