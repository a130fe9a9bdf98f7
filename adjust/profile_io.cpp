#include "adjust/profile_io.h"

#include "core/ctext.h"
#include "core/files.h"
#include "core/platform.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        DropTrailingCr(line);
        lines.push_back(line);
    }
    return lines;
}

// Stands for a key that is not there; no settings value holds a control character like it.
constexpr const char* kMissing = "\x01missing";

std::optional<std::string> readFile(const fs::path& p) {
    std::string text;
    if (ReadFileBounded(p.string(), &text) != KtRead::Ok) return std::nullopt;
    return text;
}

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

std::optional<RefCoefTable> ParseConstIni(const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    if (lines.empty() || trim(lines[0], " ") != "KT-Z30 ADJ Rev.1.0") return std::nullopt;
    RefCoefTable coef{};
    for (std::size_t i = 0; i < coef.size(); ++i) {
        const std::size_t n = i + 1;
        const double v = n < lines.size() ? leadingNumber(lines[n]) : 0.0;
        if (!std::isfinite(v)) return std::nullopt;
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
    std::string lines;
    for (const std::string& p : places) {
        const auto text = readFile(p);
        if (!text) {
            lines += "\r\n" + p + " (not found)";
            continue;
        }
        if (auto coef = ParseConstIni(*text)) return coef;
        lines += "\r\n" + p + " (not a \"KT-Z30 ADJ Rev.1.0\" constants file)";
    }
    if (report) *report = lines.empty() ? lines : lines.substr(2);
    return std::nullopt;
}
