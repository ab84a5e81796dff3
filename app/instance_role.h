// Whether this process becomes the resident instance.
#pragma once

#include <cstdint>

#include "platform/registry.h"

inline constexpr const char* INSTANCE_MUTEX_NAME = "Shelfcloak";

enum class InstanceRole { Resident, Second };

// The role given the last error right after creating the instance mutex: a
// mutex that already exists, or one this process may not open (another
// user's, or an elevated copy's), means an instance is already resident.
constexpr InstanceRole RoleAfterMutexCreation(std::uint32_t lastError) {
    return lastError == static_cast<std::uint32_t>(RESULT_ALREADY_EXISTS) ||
                   lastError == static_cast<std::uint32_t>(RESULT_ACCESS_DENIED)
               ? InstanceRole::Second
               : InstanceRole::Resident;
}
