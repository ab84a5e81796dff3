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
