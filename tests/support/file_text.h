// Whole files as text, for tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::filesystem::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

// A clone data file of a whole 2 KiB image as the radio's files are written: the header, an empty
// comment line, then 128 lines of 16 bytes, CR LF.
inline std::string WholeCloneFileText(const std::vector<std::uint8_t>& image) {
    std::string text = "58270100\r\n#\r\n";
    char buf[8];
    for (unsigned a = 0; a < 2048; a += 16) {
        std::snprintf(buf, sizeof buf, "%04X10", a);
        text += buf;
        for (unsigned i = 0; i < 16; ++i) {
            std::snprintf(buf, sizeof buf, "%02X", image.at(a + i));
            text += buf;
        }
        text += "\r\n";
    }
    return text;
}
