// Tells the shell fighting a hidden taskbar from its occasional shows.
#pragma once

#include <cstdint>

// Counts the taskbar's shows by the times their events carry: milliseconds
// since the system started, which wrap to 0 every 49.7 days. Events come in
// order, so each time is the latest.
class ShowCounter {
public:
    // More shows than this within FIGHT_SPAN_MS is a fight.
    static constexpr std::uint32_t MOST_SHOWS = 5;
    static constexpr std::uint32_t FIGHT_SPAN_MS = 2000;

    // Counts a show at `time`; true when it is one show too many.
    constexpr bool TooMany(std::uint32_t time) {
        // Once full, next_ points at the oldest of the last MOST_SHOWS.
        const bool fight = filled_ == MOST_SHOWS && time - times_[next_] <= FIGHT_SPAN_MS;
        times_[next_] = time;
        next_ = (next_ + 1) % MOST_SHOWS;
        if (filled_ < MOST_SHOWS) {
            ++filled_;
        }
        return fight;
    }

private:
    std::uint32_t times_[MOST_SHOWS] = {};
    std::uint32_t next_ = 0;
    std::uint32_t filled_ = 0;
};
