#include "sim/sim_link.h"

bool CSimLink::Open(const std::string& device, unsigned, std::string* error) {
    opened.push_back(device);
    if (refuseOpen) {
        if (error) *error = "no such device";
        return false;
    }
    m_open = true;
    return true;
}

long CSimLink::BytesAvailable() {
    if (!m_open || failReads) return -1;
    return static_cast<long>(m_input.size());
}

long CSimLink::Read(std::uint8_t* buffer, std::size_t max) {
    if (!m_open || failReads) return -1;
    std::size_t n = 0;
    for (; n < max && !m_input.empty(); ++n) {
        buffer[n] = m_input.front();
        m_input.pop_front();
    }
    return static_cast<long>(n);
}

long CSimLink::Write(const std::uint8_t* data, std::size_t count) {
    if (!m_open) return -1;
    std::vector<CSimWireByte> out;
    m_radio.FromPc(data, count, &out);
    for (const auto& w : out)
        m_input.push_back(w.byte);
    bytesWritten += count;
    return static_cast<long>(count);
}

bool CSimLink::WaitForInput(int ms) {
    if (m_open && !m_input.empty()) return true;
    if (m_clock) m_clock->SleepMs(static_cast<unsigned>(ms));
    return false;
}
