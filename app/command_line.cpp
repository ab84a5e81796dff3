#include "app/command_line.h"

#include <cstring>

SwitchText::SwitchText(const char* commandLine) {
    if (commandLine == nullptr) {
        return;
    }
    for (std::size_t i = 0; i + 1 < COMMAND_LINE_BUFFER_SIZE && commandLine[i] != '\0'; ++i) {
        const char c = commandLine[i];
        text_[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
}

bool SwitchText::Contains(const char* word) const {
    return std::strstr(text_, word) != nullptr;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

bool SwitchText::HasArgument(const char* word) const {
    const char* at = text_;
    if (*at == '"') {
        const char* closing = std::strchr(at + 1, '"');
        at = closing != nullptr ? closing + 1 : at + std::strlen(at);
    }
    const std::size_t length = std::strlen(word);
    while (*at != '\0') {
        while (IsBlank(*at)) {
            ++at;
        }
        const char* start = at;
        while (*at != '\0' && !IsBlank(*at)) {
            ++at;
        }
        if (start != text_ && static_cast<std::size_t>(at - start) == length &&
            std::strncmp(start, word, length) == 0) {
            return true;
        }
    }
    return false;
}
