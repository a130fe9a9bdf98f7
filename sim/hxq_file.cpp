#include "sim/hxq_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ParseHex(const std::string& s, std::size_t at, std::size_t n, unsigned* value) {
    *value = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        const int d = i < s.size() ? HexDigit(s[i]) : -1;
        if (d < 0) return false;
        *value = *value * 16 + static_cast<unsigned>(d);
    }
    return true;
}

} // namespace

bool SimLoadHxq(const std::string& path, CByteImage* image, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    CByteImage work;
    work.CopyFrom(*image);
    std::string line;
    unsigned header = 0;
    if (std::getline(in, line) && !line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() != 8 || !ParseHex(line, 0, 8, &header)) {
        *error = "bad header line";
        return false;
    }
    int number = 1;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') continue;
        unsigned address = 0, count = 0;
        if (line.size() < 8 || !ParseHex(line, 0, 4, &address) || !ParseHex(line, 4, 2, &count) ||
            line.size() != 6 + 2 * count) {
            *error = "bad data line " + std::to_string(number);
            return false;
        }
        for (unsigned i = 0; i < count; ++i) {
            unsigned v = 0;
            if (!ParseHex(line, 6 + 2 * i, 2, &v) || !work.InRange(address + i)) {
                *error = "bad data line " + std::to_string(number);
                return false;
            }
            work.WriteByte(address + i, static_cast<std::uint8_t>(v));
        }
    }
    image->CopyFrom(work);
    return true;
}

bool SimSaveHxq(const std::string& path, const CByteImage& image, std::uint16_t modelCode,
                std::uint16_t revision) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        if (!out) return false;
        char s[16];
        std::snprintf(s, sizeof s, "%04X%04X\n#\n", modelCode, revision);
        out << s;
        for (std::uint32_t a = 0; a < image.Size(); a += 16) {
            std::snprintf(s, sizeof s, "%04X%02X", a, 16u);
            out << s;
            for (std::uint32_t i = 0; i < 16; ++i) {
                std::snprintf(s, sizeof s, "%02X", image.ReadByte(a + i));
                out << s;
            }
            out << '\n';
        }
        if (!out.flush()) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}
