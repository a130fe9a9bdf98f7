// Millisecond count-down timer of the adjust utility.
#pragma once

#include <cstdint>

class IClock;

class clsCmcTick {
public:
    // clock: the tick source; nullptr uses Platform().clock.
    explicit clsCmcTick(IClock* clock = nullptr) : m_clock(clock) {}
    void SetClock(IClock* clock) { m_clock = clock; }

    // Starts a count-down of ms milliseconds from now.
    void counter(std::int64_t ms);
    // Milliseconds left; 0 when inactive or run out.
    std::int64_t counter();
    bool active() const { return m_active; }

private:
    std::uint64_t now();

    IClock* m_clock;
    std::uint64_t m_start = 0;
    std::int64_t m_duration = 0;
    bool m_active = false;
};
