#include "app/qt/key_codes.h"

#include <algorithm>
#include <cstring>

namespace {
// The codes as the buffer holds them (newest character first), each byte XOR 0x5A.
constexpr unsigned char kMakerReserveCode[] = {0x08, 0x1F, 0x11, 0x1B, 0x17, 0x0B, 0x14};
constexpr unsigned char kManufactureCode[] = {0x0E, 0x11, 0x03, 0x08, 0x15, 0x0E,
                                              0x19, 0x1B, 0x1C, 0x0B, 0x14};
constexpr unsigned char kInformationCode[] = {0x0E, 0x13, 0x1E, 0x1F, 0x08, 0x19, 0x03, 0x0E,
                                              0x08, 0x13, 0x12, 0x0E, 0x00, 0x0E, 0x11};
// The information text, every character raised by one.
constexpr unsigned char kInformationText[] = {
    0x4C, 0x55, 0x2E, 0x5B, 0x34, 0x31, 0x21, 0x44, 0x6D, 0x70, 0x6F, 0x6A, 0x6F, 0x68, 0x21,
    0x54, 0x70, 0x67, 0x75, 0x78, 0x62, 0x73, 0x66, 0x21, 0x53, 0x66, 0x77, 0x2F, 0x32, 0x2F,
    0x33, 0x0B, 0x0B, 0x58, 0x73, 0x6A, 0x75, 0x75, 0x66, 0x6F, 0x21, 0x67, 0x70, 0x73, 0x21,
    0x75, 0x69, 0x66, 0x21, 0x4F, 0x52, 0x2E, 0x5B, 0x34, 0x31, 0x21, 0x75, 0x73, 0x62, 0x6F,
    0x74, 0x64, 0x66, 0x6A, 0x77, 0x66, 0x73, 0x0B, 0x63, 0x7A, 0x21, 0x75, 0x69, 0x66, 0x21,
    0x4F, 0x70, 0x73, 0x72, 0x21, 0x4A, 0x6F, 0x64, 0x2F, 0x21, 0x74, 0x70, 0x67, 0x75, 0x78,
    0x62, 0x73, 0x66, 0x21, 0x75, 0x66, 0x62, 0x6E, 0x2F};

template <std::size_t N> std::string Unscramble(const unsigned char (&code)[N]) {
    std::string s(N, ' ');
    for (std::size_t i = 0; i < N; ++i)
        s[i] = static_cast<char>(code[i] ^ 0x5A);
    return s;
}
} // namespace

std::string CKeyCodeBuffer::StoredCode(Match which) {
    switch (which) {
    case Match::MakerReserve:
        return Unscramble(kMakerReserveCode);
    case Match::Manufacture:
        return Unscramble(kManufactureCode);
    case Match::Information:
        return Unscramble(kInformationCode);
    case Match::None:
        break;
    }
    return {};
}

std::string CKeyCodeBuffer::TypedCode(Match which) {
    std::string s = StoredCode(which);
    std::reverse(s.begin(), s.end());
    return s;
}

std::string CKeyCodeBuffer::InformationText() {
    std::string s(sizeof kInformationText, ' ');
    for (std::size_t i = 0; i < sizeof kInformationText; ++i)
        s[i] = static_cast<char>(kInformationText[i] - 1);
    return s;
}

CKeyCodeBuffer& CKeyCodeBuffer::Instance() {
    static CKeyCodeBuffer buffer;
    return buffer;
}

CKeyCodeBuffer::Match CKeyCodeBuffer::Feed(char c) {
    const bool letter = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z',
               digit = c >= '0' && c <= '9';
    if (!letter && !lower && !digit) return Match::None;
    if (lower) c = static_cast<char>(c - 'a' + 'A');
    std::memmove(m_chars + 1, m_chars, kSize - 1);
    m_chars[0] = c;
    m_chars[kSize] = 0;
    const std::string now(m_chars);
    for (Match m : {Match::MakerReserve, Match::Manufacture, Match::Information}) {
        const std::string code = StoredCode(m);
        if (now.compare(0, code.size(), code) == 0) {
            Clear();
            return m;
        }
    }
    return Match::None;
}

void CKeyCodeBuffer::Clear() { std::memset(m_chars, 0, sizeof m_chars); }

bool IsStartCode(const std::string& argument) {
    if (argument.size() < 2 || (argument[0] != '-' && argument[0] != '/')) return false;
    const std::string code = CKeyCodeBuffer::TypedCode(CKeyCodeBuffer::Match::MakerReserve);
    if (argument.size() != code.size() + 1) return false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        char c = argument[i + 1];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != code[i]) return false;
    }
    return true;
}
