// Number texts in the C locale, whatever the user's locale is.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

// Every reader of real numbers below takes a decimal comma as people type it: a text with
// exactly one comma and no point reads as if the comma were a point ("146,525" is 146.525).
// Any other text with a comma reads as it stands. Texts written are always with a point.
std::string CommaAsPoint(std::string_view text);
// Reads a real number the way "%lf" does: leading blanks skipped, an optional sign, then the
// longest number prefix. Returns false when no number starts the text. A number too large for a
// double reads as infinite, one too small as 0.
bool ParseCDouble(std::string_view text, double* out);
// True when the whole text, blanks at either end aside, is one finite decimal number ("446.1",
// "-5", ".5", "1e3", "446,1"); trailing junk ("446,1,2", "4.46,1", "12abc"), "nan", "inf" and
// hexadecimal forms are not.
bool IsWholeCNumber(std::string_view text);
// True when the text starts with a number no value can stand for: "nan", "inf", a hexadecimal
// form ("0x1p3"), or one whose magnitude times scale is 2^53 or more ("1e308"). Setters that
// read a leading number refuse these rather than clamp them or read them as 0.
bool IsUnboundedCNumber(std::string_view text, double scale = 1);
// Reads a decimal integer the same way ("%d"); false when none starts the text or it overflows.
bool ParseCInt(std::string_view text, long long* out);
// Fixed-point text with the given number of decimals ("%1.<d>f"), '.' as the point.
std::string FormatFixed(double value, int decimals);
// Value of a hexadecimal digit in either case; -1 for any other character.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";
// Drops one trailing carriage return (for lines of files written with CR LF).
void DropTrailingCr(std::string& line);
// The local time of day and date of t (for names and time stamps).
std::tm LocalTime(std::time_t t);
