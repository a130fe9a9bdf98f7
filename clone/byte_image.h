// A bounded byte image: the radio's EEPROM held in memory. Out-of-range reads give 0xFF
// (byte) or 1 (bit); out-of-range writes are ignored.
#pragma once

#include <cstdint>
#include <vector>

class CByteImage {
public:
    explicit CByteImage(std::uint32_t size = 0) { Resize(size); }
    virtual ~CByteImage() = default;

    // Frees the buffer and allocates n zero bytes.
    void Resize(std::uint32_t n) { m_data.assign(n, 0); }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_data.size()); }
    bool InRange(std::uint32_t a) const { return a < m_data.size(); }

    std::uint8_t ReadByte(std::uint32_t a) const { return InRange(a) ? m_data[a] : 0xFF; }
    void WriteByte(std::uint32_t a, std::uint8_t v) {
        if (InRange(a)) m_data[a] = v;
    }
    int ReadBit(std::uint32_t a, unsigned n) const {
        return InRange(a) ? (m_data[a] >> (n & 7)) & 1 : 1;
    }
    void WriteBit(std::uint32_t a, unsigned n, bool on);

    // Copies n bytes only when the whole block lies inside the image; returns false otherwise.
    bool ReadBlock(std::uint32_t a, std::uint8_t* destination, std::uint32_t n) const;
    bool WriteBlock(std::uint32_t a, const std::uint8_t* source, std::uint32_t n);
    // Takes the other image's size and every byte of it.
    void CopyFrom(const CByteImage& other) { m_data = other.m_data; }

    const std::uint8_t* Data() const { return m_data.data(); }
    bool operator==(const CByteImage& other) const { return m_data == other.m_data; }

private:
    bool BlockInRange(std::uint32_t a, std::uint32_t n) const {
        return n > 0 && a < m_data.size() && n <= m_data.size() - a;
    }
    std::vector<std::uint8_t> m_data;
};
