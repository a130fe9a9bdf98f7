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

// A clone data file of a whole 2 KiB image: the header, an empty comment line, then 128 lines of
// 16 bytes, each ended by lineEnd (CR LF as the programs save, LF as a transfer file holds).
inline std::string WholeCloneFileText(const std::vector<std::uint8_t>& image,
                                      const std::string& lineEnd = "\r\n") {
    std::string text = "58270100" + lineEnd + "#" + lineEnd;
    char buf[8];
    for (unsigned a = 0; a < 2048; a += 16) {
        std::snprintf(buf, sizeof buf, "%04X10", a);
        text += buf;
        for (unsigned i = 0; i < 16; ++i) {
            std::snprintf(buf, sizeof buf, "%02X", image.at(a + i));
            text += buf;
        }
        text += lineEnd;
    }
    return text;
}
