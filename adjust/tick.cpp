#include "adjust/tick.h"

#include "core/platform.h"

std::uint64_t clsCmcTick::now() {
    IClock* c = m_clock ? m_clock : Platform().clock;
    return c ? c->NowMs() : 0;
}

void clsCmcTick::counter(std::int64_t ms) {
    m_start = now();
    m_duration = ms;
    m_active = true;
}

std::int64_t clsCmcTick::counter() {
    if (!m_active) return 0;
    const std::uint64_t t = now();
    // A tick source that wrapped runs backwards; a wait of 2^31 ms or more counts as over.
    if (t < m_start || (t / 2) - (m_start / 2) >= (std::uint64_t{1} << 30)) {
        m_active = false;
        return 0;
    }
    const std::int64_t elapsed = static_cast<std::int64_t>(t - m_start);
    if (elapsed >= m_duration) {
        m_active = false;
        return 0;
    }
    return m_duration - elapsed;
}
