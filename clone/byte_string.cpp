#include "clone/byte_string.h"

#include <array>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr std::array<std::uint8_t, 256> MakeHexValues() {
    std::array<std::uint8_t, 256> t{};
    for (int c = '0'; c <= '9'; ++c)
        t[c] = static_cast<std::uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        t[c] = static_cast<std::uint8_t>(c - 'A' + 10);
    return t;
}
constexpr std::array<std::uint8_t, 256> kHexValues = MakeHexValues();

bool IsUpperHexDigit(std::uint8_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

} // namespace

void CByteString::Assign(const char* text) {
    Clear();
    Append(text);
}

void CByteString::Assign(std::uint8_t byte) {
    Clear();
    Append(byte);
}

void CByteString::Append(std::uint8_t byte) {
    if (m_length < kCapacity) m_bytes[m_length++] = byte;
}

void CByteString::Append(const char* text) {
    if (!text) return;
    for (; *text; ++text)
        Append(static_cast<std::uint8_t>(*text));
}

void CByteString::Append(const CByteString& other) { Append(other.m_bytes, other.m_length); }

void CByteString::Append(const std::uint8_t* bytes, std::uint16_t count) {
    for (std::uint16_t i = 0; i < count; ++i)
        Append(bytes[i]);
}

std::uint8_t CByteString::At(std::uint16_t i) const {
    if (i < m_length) return m_bytes[i];
    return m_length ? m_bytes[m_length - 1] : 0;
}

bool CByteString::operator==(const CByteString& other) const {
    if (m_length != other.m_length) return false;
    for (std::uint16_t i = 0; i < m_length; ++i)
        if (m_bytes[i] != other.m_bytes[i]) return false;
    return true;
}

CByteString CByteString::Mid(std::uint16_t start, std::uint16_t count) const {
    CByteString r;
    for (std::uint32_t i = start; i < m_length && i < std::uint32_t(start) + count; ++i)
        r.Append(m_bytes[i]);
    return r;
}

CByteString CByteString::HexOf(std::uint8_t value) {
    CByteString r;
    r.Append(static_cast<std::uint8_t>(kHexDigits[value >> 4]));
    r.Append(static_cast<std::uint8_t>(kHexDigits[value & 15]));
    return r;
}

CByteString CByteString::HexEncoded() const {
    CByteString r;
    for (std::uint16_t i = 0; i < m_length; ++i)
        r.Append(HexOf(m_bytes[i]));
    return r;
}

CByteString CByteString::HexDecoded() const {
    CByteString r;
    std::uint16_t i = 0;
    for (; i + 1 < m_length; i += 2)
        r.Append(
            static_cast<std::uint8_t>(kHexValues[m_bytes[i]] * 16 + kHexValues[m_bytes[i + 1]]));
    if (i < m_length) r.Append(kHexValues[m_bytes[i]]);
    return r;
}

bool CByteString::IsUpperHex() const {
    for (std::uint16_t i = 0; i < m_length; ++i)
        if (!IsUpperHexDigit(m_bytes[i])) return false;
    return true;
}
