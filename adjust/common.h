// Common routines of the adjust utility: byte and hex conversions, number formats, messages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using ByteStr = std::vector<std::uint8_t>;

namespace Common {

inline constexpr const char* kAppTitle = "KT-Z30 ADJ Rev.1.0";

// Each character's code as one byte.
ByteStr StrToBytes(const std::string& text);
// Spaces are skipped, every further pair of hex digits is one byte; a pair with a non-hex
// digit gives 0, an unpaired last digit is dropped.
ByteStr HexStrToBytes(const std::string& hex);
// Two upper-case hex digits per byte, no separators.
std::string BytesToHexStr(const ByteStr& bytes);
// Bytes that are ASCII hex digits read as a signed 16-bit number; 0 when a digit is not hex.
std::int16_t HexAsciiToNum(const ByteStr& bytes);
// True when every byte is an ASCII hex digit (and there is at least one).
bool IsHexAscii(const ByteStr& bytes);
// A number as two upper-case hex digits (its low byte).
std::string NumToHex2(int value);
// A value's two-digit hex form as two ASCII bytes, written as four hex digits: 0x5A -> "3541".
std::string ValueToE8Hex(int value);
// The service bytes of an E8 command: the command number as two hex digits, then the value.
std::string E8Text(int command, int value);

// Formats with the adjust utility's display formats, such as "#000.##0", "##0.#0V" or
// "0.00%": the digits before the point give the least count of integer digits, the
// placeholders after it the decimals; a trailing "%" multiplies by 100. C locale always.
std::string FormatNumber(double value, const std::string& format);
// Right-aligned in width characters (never cut).
std::string RightAlign(const std::string& text, std::size_t width);
std::string RightAlign(long long value, std::size_t width);

// Shows text in a warning box titled with the program name; "\n" (backslash, n) becomes CR LF.
void MsgBox(const std::string& text);

} // namespace Common
