#include "adjust/profile_io.h"

#include "core/ctext.h"
#include "core/files.h"
#include "core/platform.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string_view>
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

// Stands for a key that is not there; no settings value holds a control character like it.
constexpr const char* kMissing = "\x01missing";

// The leading decimal number of a text; 0 when there is none (one too large for a double reads
// as infinite, one too small as 0).
double leadingNumber(const std::string& text) {
    double v = 0;
    return ParseCDouble(text, &v) ? v : 0.0;
}

} // namespace

std::string UserConfigFolder() {
    std::string dir = envDir("XDG_CONFIG_HOME", "/.config");
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + "Norq/";
}

std::string clsCmcProfileIO::StripTerminator(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

std::optional<std::string> clsCmcProfileIO::readKey(const std::string& key) const {
    ISettingsStore* s = store ? store : Platform().settings;
    if (!s) return std::nullopt;
    const std::string raw = s->GetString(Section, key, kMissing);
    if (raw == kMissing) return std::nullopt;
    std::string value = StripTerminator(raw).substr(0, 255);
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    return value;
}

bool clsCmcProfileIO::writeKey(const std::string& key, const std::string& value) {
    ISettingsStore* s = store ? store : Platform().settings;
    if (!s) return false;
    s->SetString(Section, key, value);
    return true;
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

std::optional<RefCoefTable> ParseConstIni(const std::string& text, std::string* why) {
    std::string dummy;
    if (!why) why = &dummy;
    // As Windows editors write it: a byte-order mark, CR LF or CR alone, tabs beside the text.
    std::string_view rest = text;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
    std::vector<std::string> lines;
    while (!rest.empty() && lines.size() < 1 + RefCoefTable().size()) {
        const std::size_t end = rest.find_first_of("\r\n");
        lines.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + (rest.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    if (lines.empty() || trim(lines[0]) != kConstIniFirstLine) {
        *why = std::string("line 1 is not \"") + kConstIniFirstLine + "\"";
        return std::nullopt;
    }
    RefCoefTable coef{};
    for (std::size_t i = 0; i < coef.size(); ++i) {
        const std::size_t n = i + 1;
        const double v = n < lines.size() ? leadingNumber(lines[n]) : 0.0;
        // The TXF table is computed in single precision.
        if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) {
            *why = "line " + std::to_string(n + 1) + ": '" + trim(lines[n]).substr(0, 40) +
                   "' is " +
                   (std::isfinite(v) ? "out of range (at most 3.4e38 either way)"
                                     : "not a finite number");
            return std::nullopt;
        }
        coef[i] = v;
    }
    return coef;
}

std::vector<std::string> ConstIniPlaces() {
    std::error_code ec;
    std::vector<std::string> places = {(fs::current_path(ec) / kConstFileName).string()};
    if (const std::string folder = ProgramFolder(); !folder.empty())
        places.push_back((fs::path(folder) / kConstFileName).string());
    // An installed copy: share/ktz30adj beside the program's folder.
    if (const std::string data = InstalledDataFolder("ktz30adj"); !data.empty())
        places.push_back((fs::path(data) / kConstFileName).string());
    places.push_back(UserConfigFolder() + kConstFileName);
    return places;
}

std::optional<RefCoefTable> ReadConstIni(const std::vector<std::string>& places,
                                         std::string* report) {
    std::string dummy;
    if (!report) report = &dummy;
    std::string lines;
    for (const std::string& p : places) {
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(p, ec))) {
            lines += "\r\n" + p + " (not found)";
            continue;
        }
        // The first one found is the one meant: one that cannot be used is told, not passed by.
        // A FIFO would keep the program waiting for a writer.
        if (std::string why = NotARegularFile(p); !why.empty()) {
            *report = why + ".";
            return std::nullopt;
        }
        errno = 0;
        std::string text;
        switch (ReadFileBounded(p, &text)) {
        case KtRead::Ok:
            break;
        case KtRead::TooLarge:
            *report = p + ": larger than any constants file.";
            return std::nullopt;
        case KtRead::CannotOpen:
            *report = p + ": " + (errno ? std::strerror(errno) : "unreadable") + ".";
            return std::nullopt;
        }
        std::string why;
        if (auto coef = ParseConstIni(text, &why)) return coef;
        *report = p + ": " + why + ".";
        return std::nullopt;
    }
    *report = "Looked for it in:" + lines;
    return std::nullopt;
}
