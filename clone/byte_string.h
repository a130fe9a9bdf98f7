// A bounded byte string of at most 255 bytes: every clone frame is one.
#pragma once

#include <cstdint>

class CByteString {
public:
    static constexpr std::uint16_t kCapacity = 255;

    CByteString() = default;
    explicit CByteString(const char* text) { Assign(text); }

    void Clear() { m_length = 0; }
    void Assign(const CByteString& other) { *this = other; }
    void Assign(const char* text);
    void Assign(std::uint8_t byte);
    // Bytes beyond the capacity are dropped silently.
    void Append(std::uint8_t byte);
    void Append(const char* text);
    void Append(const CByteString& other);
    void Append(const std::uint8_t* bytes, std::uint16_t count);

    std::uint16_t Length() const { return m_length; }
    const std::uint8_t* Data() const { return m_bytes; }
    // The byte at i, or the last byte when i is past the end (0 for an empty string).
    std::uint8_t At(std::uint16_t i) const;
    std::uint8_t operator[](std::uint16_t i) const { return At(i); }
    bool operator==(const CByteString& other) const;
    bool operator!=(const CByteString& other) const { return !(*this == other); }
    // At most count bytes from start, stopping at the end.
    CByteString Mid(std::uint16_t start, std::uint16_t count) const;

    // Two upper-case hex characters per byte, high nibble first.
    CByteString HexEncoded() const;
    static CByteString HexOf(std::uint8_t value);
    // Pairs of characters to bytes; characters other than 0-9 and A-F count as 0; a final
    // unpaired character gives one byte of its own value.
    CByteString HexDecoded() const;
    // True when every byte is one of 0-9 and A-F.
    bool IsUpperHex() const;

private:
    std::uint8_t m_bytes[kCapacity] = {};
    std::uint16_t m_length = 0;
};
