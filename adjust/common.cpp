#include "adjust/common.h"

#include <cmath>

#include "core/ctext.h"
#include "core/platform.h"

namespace Common {

namespace {

int hexDigit(std::uint8_t c) { return HexDigitValue(static_cast<char>(c)); }

} // namespace

ByteStr StrToBytes(const std::string& text) { return ByteStr(text.begin(), text.end()); }

ByteStr HexStrToBytes(const std::string& hex) {
    ByteStr out;
    int high = -2;
    for (char ch : hex) {
        if (ch == ' ') continue;
        const int d = hexDigit(static_cast<std::uint8_t>(ch));
        if (high == -2) {
            high = d;
        } else {
            out.push_back(high < 0 || d < 0 ? 0 : static_cast<std::uint8_t>(high * 16 + d));
            high = -2;
        }
    }
    return out;
}

std::string BytesToHexStr(const ByteStr& bytes) {
    std::string s;
    s.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        s += kUpperHexDigits[b >> 4];
        s += kUpperHexDigits[b & 0x0F];
    }
    return s;
}

bool IsHexAscii(const ByteStr& bytes) {
    if (bytes.empty()) return false;
    for (std::uint8_t b : bytes)
        if (hexDigit(b) < 0) return false;
    return true;
}

std::int16_t HexAsciiToNum(const ByteStr& bytes) {
    std::uint32_t v = 0;
    for (std::uint8_t b : bytes) {
        const int d = hexDigit(b);
        if (d < 0) return 0;
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF));
}

std::string NumToHex2(int value) {
    const unsigned b = static_cast<unsigned>(value) & 0xFF;
    return std::string{kUpperHexDigits[b >> 4], kUpperHexDigits[b & 0x0F]};
}

std::string ValueToE8Hex(int value) { return BytesToHexStr(StrToBytes(NumToHex2(value))); }

std::string E8Text(int command, int value) { return NumToHex2(command) + ValueToE8Hex(value); }

std::string FormatNumber(double value, const std::string& format) {
    const std::size_t point = format.find('.');
    int minInt = 0;
    int decimals = 0;
    std::size_t end = format.size();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '#' && c != '0' && c != '.') {
            end = i;
            break;
        }
        if (point == std::string::npos || i < point) {
            if (c == '0') ++minInt;
        } else if (i > point) {
            ++decimals;
        }
    }
    std::string suffix = format.substr(end);
    if (!suffix.empty() && suffix[0] == '%') value *= 100.0;
    if (!std::isfinite(value)) return "*Error";
    std::string s = FormatFixed(value, decimals);
    if (s == "-0" || s.rfind("-0.", 0) == 0) {
        bool allZero = true;
        for (char c : s.substr(1))
            if (c != '0' && c != '.') allZero = false;
        if (allZero) s.erase(0, 1);
    }
    const bool neg = !s.empty() && s[0] == '-';
    std::string digits = neg ? s.substr(1) : s;
    std::size_t dot = digits.find('.');
    std::string intPart = digits.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : digits.substr(dot);
    while (intPart.size() > 1 && intPart[0] == '0' && static_cast<int>(intPart.size()) > minInt)
        intPart.erase(0, 1);
    if (intPart == "0" && minInt == 0) intPart.clear();
    while (static_cast<int>(intPart.size()) < minInt)
        intPart.insert(0, "0");
    return (neg ? "-" : "") + intPart + frac + suffix;
}

std::string RightAlign(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string RightAlign(long long value, std::size_t width) {
    return RightAlign(std::to_string(value), width);
}

void MsgBox(const std::string& text) {
    std::string s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            s += "\r\n";
            ++i;
        } else {
            s += text[i];
        }
    }
    if (IUserPrompts* p = Platform().prompts)
        p->MessageBox(s, kAppTitle, KtButtons::Ok, KtIcon::Exclamation);
}

} // namespace Common
