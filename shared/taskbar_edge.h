// Which screen edge the taskbar sat on: kept in the state record, stored
// with the settings and read by the engine.
#pragma once

#include <cstdint>

// Persisted as a 32-bit number; any value may come back from storage, and
// every value other than Left, Right and Top is handled as Bottom.
enum class TaskbarEdge : std::uint32_t {
    NotSeen = 0,
    Left = 1,
    Right = 2,
    Top = 3,
    Bottom = 4,
};
