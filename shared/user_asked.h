// What the user asks of the taskbar: what they asked for last, and what a
// second start passes on to the resident instance.
#pragma once

#include <cstdint>

// What the user last asked the taskbar to be, by the hot key or a switch;
// shown until they ask otherwise.
enum class TaskbarWanted : std::uint32_t { Shown = 0, Hidden = 1 };

// The message a second start sends the resident instance before it acts on
// its "-show" or "-hide", registered by this name, so that the instance
// knows what the user wants before the taskbar changes; and with "-toggle",
// which the instance carries out itself. The instance answers 1 to a request
// it knows.
inline constexpr const char* USER_ASKED_MESSAGE = "Shelfcloak.UserAsked";

// That message's wParam. 0 and values not listed ask nothing, so that a
// later switch (a toggle, say) can add its own without older copies
// mistaking it.
enum class UserAsked : std::uint32_t { Show = 1, Hide = 2, Toggle = 3 };
inline constexpr std::intptr_t USER_ASK_KNOWN = 1;
