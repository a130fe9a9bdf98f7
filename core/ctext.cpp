#include "core/ctext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
std::string_view SkipBlanksAndPlus(std::string_view t, bool* negative) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n' || t[i] == '\r' ||
                            t[i] == '\v' || t[i] == '\f'))
        ++i;
    *negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        *negative = t[i] == '-';
        ++i;
    }
    return t.substr(i);
}

// For a number text out of a double's range: true when it is too small (it reads as 0 then, as
// "%lf" gives), false when it is too large. The decimal magnitude is the place of the first
// non-zero digit plus the exponent.
bool Underflows(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    long long magnitude = 0;
    const std::size_t point = mantissa.find('.');
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return true;
    const std::size_t intEnd = point == std::string_view::npos ? mantissa.size() : point;
    magnitude = first < intEnd ? static_cast<long long>(intEnd - first)
                               : -static_cast<long long>(first - intEnd - 1);
    if (e != std::string_view::npos) {
        long long exponent = 0;
        bool negative = false;
        std::string_view x = number.substr(e + 1);
        if (!x.empty() && (x[0] == '+' || x[0] == '-')) {
            negative = x[0] == '-';
            x.remove_prefix(1);
        }
        for (char c : x)
            exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000);
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude <= 0;
}
} // namespace

std::string CommaAsPoint(std::string_view text) {
    std::string t(text);
    const std::size_t comma = t.find(',');
    if (comma != std::string::npos && t.find(',', comma + 1) == std::string::npos &&
        t.find('.') == std::string::npos)
        t[comma] = '.';
    return t;
}

bool ParseCDouble(std::string_view given, double* out) {
    const std::string text = CommaAsPoint(given);
    bool negative = false;
    std::string_view t = SkipBlanksAndPlus(text, &negative);
    // A sign right before another sign is no number ("+-1").
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) return false;
    double v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (r.ec == std::errc::invalid_argument) {
        // "5." and ".5" forms are numbers too; from_chars takes ".5" but not a bare ".".
        return false;
    }
    if (r.ec == std::errc::result_out_of_range)
        v = Underflows(std::string_view(t.data(), static_cast<std::size_t>(r.ptr - t.data())))
                ? 0.0
                : HUGE_VAL;
    *out = negative ? -v : v;
    return true;
}

bool IsWholeCNumber(std::string_view given) {
    const std::string point = CommaAsPoint(given);
    std::string_view text = point;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    // Digits or a point first: no second sign, no "inf" or "nan".
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return false;
    double v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(v);
}

bool IsUnboundedCNumber(std::string_view given, double scale) {
    constexpr double kNoNumberBeyond = 9007199254740992.0; // 2^53: doubles stop being exact
    const std::string text = CommaAsPoint(given);
    bool negative = false;
    const std::string_view t = SkipBlanksAndPlus(text, &negative);
    if (t.size() > 1 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) return true;
    double x = 0;
    return ParseCDouble(text, &x) && !(std::fabs(x) * std::fabs(scale) < kNoNumberBeyond);
}

bool ParseCInt(std::string_view text, long long* out) {
    bool negative = false;
    std::string_view t = SkipBlanksAndPlus(text, &negative);
    long long v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v, 10);
    if (r.ec != std::errc()) return false;
    *out = negative ? -v : v;
    return true;
}

std::string FormatFixed(double value, int decimals) {
    char buf[512];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return "0";
    return std::string(buf, r.ptr);
}

void DropTrailingCr(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

std::tm LocalTime(std::time_t t) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return local;
}
