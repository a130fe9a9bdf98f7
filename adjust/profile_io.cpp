#include "adjust/profile_io.h"

#include "core/ctext.h"
#include "core/files.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string trim(const std::string& s, const char* blanks = " \t") {
    const auto b = s.find_first_not_of(blanks);
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

std::string envDir(const char* var, const char* homeSub) {
    if (const char* v = std::getenv(var); v && *v) return v;
    if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + homeSub;
    return ".";
}

// The lines of a text; with keepCr a line keeps the carriage return it ended with.
std::vector<std::string> splitLines(const std::string& text, bool keepCr = false) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!keepCr && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool endsWithCr(const std::string& line) { return !line.empty() && line.back() == '\r'; }

// A line as the reader sees it: without the carriage return of its end, without edge blanks.
std::string readerLine(const std::string& raw) {
    return trim(endsWithCr(raw) ? raw.substr(0, raw.size() - 1) : raw);
}

// The whole text of a file; nothing when it cannot be read or is far too large to be one of ours.
std::optional<std::string> readFile(const fs::path& p) {
    std::string text;
    if (ReadFileBounded(p.string(), &text) != KtRead::Ok) return std::nullopt;
    return text;
}

// The leading decimal number of a text; 0 when there is none (one too large for a double reads
// as infinite).
double leadingNumber(const std::string& text) {
    double v = 0;
    return ParseCDouble(text, &v) ? v : 0.0;
}

} // namespace

void clsCmcProfileIO::SetCurrentPath() {
    Path = envDir("XDG_CONFIG_HOME", "/.config");
    if (Path.empty() || Path.back() != '/') Path += '/';
}

std::string clsCmcProfileIO::StripTerminator(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

std::optional<std::string> clsCmcProfileIO::readKey(const std::string& key) const {
    const auto text = readFile(GetMyProfile());
    if (!text) return std::nullopt;
    return FindKey(*text, Section, key);
}

std::optional<std::string> clsCmcProfileIO::FindKey(const std::string& text,
                                                    const std::string& section,
                                                    const std::string& key) {
    bool inSection = false;
    for (const std::string& raw : splitLines(text)) {
        const std::string line = trim(raw);
        if (!line.empty() && line[0] == '[') {
            inSection = line.size() >= 2 && line.back() == ']' &&
                        line.substr(1, line.size() - 2) == section;
            continue;
        }
        const auto eq = line.find('=');
        if (!inSection || eq == std::string::npos || trim(line.substr(0, eq)) != key) continue;
        std::string value = StripTerminator(line.substr(eq + 1)).substr(0, 255);
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
        return value;
    }
    return std::nullopt;
}

bool clsCmcProfileIO::writeKey(const std::string& key, const std::string& value) {
    // Every other line is written back byte for byte: a line that ended in two carriage
    // returns must not turn into one that the reader takes for a section or a key.
    std::vector<std::string> lines;
    if (const auto text = readFile(GetMyProfile())) lines = splitLines(*text, true);
    bool inSection = false;
    bool done = false;
    std::size_t sectionEnd = std::string::npos;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        const std::string line = readerLine(lines[i]);
        if (!line.empty() && line[0] == '[') {
            if (inSection) break;
            inSection = line == "[" + Section + "]";
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (!line.empty()) sectionEnd = i + 1;
        const auto eq = line.find('=');
        if (eq != std::string::npos && trim(line.substr(0, eq)) == key) {
            lines[i] = key + "=" + value + (endsWithCr(lines[i]) ? "\r" : "");
            done = true;
        }
    }
    if (!done) {
        // New lines end as the file's last line does.
        const std::string end = !lines.empty() && endsWithCr(lines.back()) ? "\r" : "";
        if (sectionEnd == std::string::npos) {
            if (!lines.empty() && !readerLine(lines.back()).empty()) lines.push_back(end);
            lines.push_back("[" + Section + "]" + end);
            lines.push_back(key + "=" + value + end);
        } else {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd),
                         key + "=" + value + end);
        }
    }
    std::error_code ec;
    fs::create_directories(fs::path(GetMyProfile()).parent_path(), ec);
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    return ReplaceFile(GetMyProfile(), text, nullptr);
}

bool clsCmcProfileIO::saveData(const std::string& sKey, int sData) {
    return writeKey(sKey, std::to_string(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, long sData) {
    return writeKey(sKey, std::to_string(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, double sData) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, sData);
    return writeKey(sKey, std::string(buf, r.ptr));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, bool sData) {
    return writeKey(sKey, sData ? "1" : "0");
}
bool clsCmcProfileIO::saveData(const std::string& sKey, const std::string& sData) {
    return writeKey(sKey, sData);
}
bool clsCmcProfileIO::saveData(const std::string& sKey, const std::tm& sData) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04d.%02d.%02d-%02d:%02d:%02d", sData.tm_year + 1900,
                  sData.tm_mon + 1, sData.tm_mday, sData.tm_hour, sData.tm_min, sData.tm_sec);
    return writeKey(sKey, buf);
}

bool clsCmcProfileIO::loadData(const std::string& sKey, int& sData, std::optional<int> def) {
    if (const auto v = readKey(sKey)) {
        const double d = leadingNumber(*v);
        sData = std::isfinite(d) && std::fabs(d) < 2e9 ? static_cast<int>(d) : 0;
        return true;
    }
    if (def) sData = *def;
    return def.has_value();
}

bool clsCmcProfileIO::loadData(const std::string& sKey, double& sData, std::optional<double> def) {
    if (const auto v = readKey(sKey)) {
        sData = leadingNumber(*v);
        return true;
    }
    if (def) sData = *def;
    return def.has_value();
}

bool clsCmcProfileIO::loadData(const std::string& sKey, bool& sData, std::optional<bool> def) {
    if (const auto v = readKey(sKey)) {
        sData = trim(*v) == "1";
        return true;
    }
    if (def) sData = *def;
    return def.has_value();
}

bool clsCmcProfileIO::loadData(const std::string& sKey, std::string& sData,
                               std::optional<std::string> def) {
    if (const auto v = readKey(sKey)) {
        sData = *v;
        return true;
    }
    if (def) sData = *def;
    return def.has_value();
}

bool clsCmcProfileIO::loadData(const std::string& sKey, std::tm& sData,
                               std::optional<std::tm> def) {
    if (const auto v = readKey(sKey)) {
        std::tm t{};
        if (v->size() == 19 &&
            std::sscanf(v->c_str(), "%4d.%2d.%2d-%2d:%2d:%2d", &t.tm_year, &t.tm_mon, &t.tm_mday,
                        &t.tm_hour, &t.tm_min, &t.tm_sec) == 6) {
            t.tm_year -= 1900;
            t.tm_mon -= 1;
            sData = t;
            return true;
        }
        return false;
    }
    if (def) sData = *def;
    return def.has_value();
}

std::optional<RefCoefTable> ParseConstIni(const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    if (lines.empty() || trim(lines[0], " ") != "KT-Z30 ADJ Rev.1.0") return std::nullopt;
    RefCoefTable coef{};
    for (std::size_t i = 0; i < coef.size(); ++i) {
        const std::size_t n = i + 1;
        const double v = n < lines.size() ? leadingNumber(lines[n]) : 0.0;
        if (!std::isfinite(v) || std::fabs(v) > 1e6) return std::nullopt;
        coef[i] = v;
    }
    return coef;
}

std::optional<RefCoefTable> ReadConstIni() {
    std::error_code ec;
    std::vector<fs::path> places = {fs::current_path(ec) / kConstFileName,
                                    fs::path(envDir("XDG_DATA_HOME", "/.local/share")) /
                                        "KTZ30ADJ" / kConstFileName};
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) places.push_back(exe.parent_path() / kConstFileName);
    for (const fs::path& p : places) {
        if (const auto text = readFile(p)) return ParseConstIni(*text);
    }
    return std::nullopt;
}
