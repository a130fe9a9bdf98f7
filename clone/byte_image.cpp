#include "clone/byte_image.h"

#include <cstring>

void CByteImage::WriteBit(std::uint32_t a, unsigned n, bool on) {
    if (!InRange(a)) return;
    const std::uint8_t mask = static_cast<std::uint8_t>(1u << (n & 7));
    m_data[a] = on ? (m_data[a] | mask) : (m_data[a] & ~mask);
}

bool CByteImage::ReadBlock(std::uint32_t a, std::uint8_t* destination, std::uint32_t n) const {
    if (!BlockInRange(a, n)) return false;
    std::memcpy(destination, m_data.data() + a, n);
    return true;
}

bool CByteImage::WriteBlock(std::uint32_t a, const std::uint8_t* source, std::uint32_t n) {
    if (!BlockInRange(a, n)) return false;
    std::memcpy(m_data.data() + a, source, n);
    return true;
}
