#include "clone/clone_backups.h"

#include "core/ctext.h"
#include "core/files.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace {

// The variants as the names give them, in variant order.
constexpr std::array<const char*, 6> kVariantTokens = {"LMR1", "PMR1",  "LMR2",
                                                       "PMR2", "LMR16", "PMR16"};
constexpr const char* kOperations[] = {"read", "write"};
constexpr std::size_t kStampLength = 19; // "2026-12-08_14-03-22"
constexpr std::size_t kCommentLength = 16;

bool Digits(const std::string& s, std::size_t from, std::size_t n) {
    for (std::size_t i = from; i < from + n; ++i)
        if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
    return true;
}

// "2026-12-08_14-03-22": digits where the pattern has 'd'.
bool IsStamp(const std::string& s) {
    constexpr const char* kPattern = "dddd-dd-dd_dd-dd-dd";
    if (s.size() < kStampLength) return false;
    for (std::size_t i = 0; i < kStampLength; ++i)
        if (kPattern[i] == 'd' ? !Digits(s, i, 1) : s[i] != kPattern[i]) return false;
    return true;
}

std::string RightTrimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// The two comments of a clone data file's comment line ("#" and 16 + 16 characters).
std::string CommentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string header, comment;
    if (!std::getline(in, header) || !std::getline(in, comment)) return {};
    DropTrailingCr(comment);
    if (comment.empty() || comment[0] != '#') return {};
    comment.erase(0, 1);
    const std::string first = RightTrimmed(comment.substr(0, kCommentLength));
    const std::string second =
        RightTrimmed(comment.size() > kCommentLength ? comment.substr(kCommentLength) : "");
    if (first.empty() || second.empty()) return first + second;
    return first + " / " + second;
}

} // namespace

std::string BackupFileName(std::time_t t, const std::string& operation, int variant, int copy) {
    const std::tm local = LocalTime(t);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string name = std::string(stamp) + "_" + operation + "_" +
                       kVariantTokens[static_cast<std::size_t>(std::clamp(variant, 0, 5))];
    if (copy > 1) name += "_" + std::to_string(copy);
    return name + ".hxq";
}

bool ParseBackupFileName(const std::string& name, CBackupEntry* entry) {
    constexpr std::string_view kExtension = ".hxq";
    if (!IsStamp(name) || name.size() < kStampLength + 1 + kExtension.size() ||
        name[kStampLength] != '_' ||
        name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) != 0)
        return false;
    // operation _ variant [_ copy]
    const std::string rest =
        name.substr(kStampLength + 1, name.size() - kStampLength - 1 - kExtension.size());
    const std::size_t cut = rest.find('_');
    if (cut == std::string::npos) return false;
    const std::string operation = rest.substr(0, cut);
    std::string variant = rest.substr(cut + 1);
    if (const std::size_t copy = variant.find('_'); copy != std::string::npos) {
        if (copy + 1 == variant.size() || !Digits(variant, copy + 1, variant.size() - copy - 1))
            return false;
        variant.erase(copy);
    }
    if (std::find(std::begin(kOperations), std::end(kOperations), operation) ==
        std::end(kOperations))
        return false;
    const auto token = std::find(kVariantTokens.begin(), kVariantTokens.end(), variant);
    if (token == kVariantTokens.end()) return false;
    entry->time = name.substr(0, 10) + " " + name.substr(11, 8);
    std::replace(entry->time.begin() + 11, entry->time.end(), '-', ':');
    entry->operation = operation;
    entry->variant = static_cast<int>(token - kVariantTokens.begin());
    return true;
}

bool CBackupStore::Save(const std::string& operation, int variant, const std::string& contents,
                        std::string* path, std::string* error) {
    std::string dummy;
    if (!error) error = &dummy;
    std::error_code ec;
    if (m_folder.empty()) {
        *error = "no folder for backups";
        return false;
    }
    fs::create_directories(m_folder, ec);
    if (ec) {
        *error = "cannot make " + m_folder + ": " + ec.message();
        return false;
    }
    const std::time_t t = now ? now() : std::time(nullptr);
    // The name is taken by making the file, which fails where it exists: another program saving
    // a backup in the same second (one run per radio of a fleet) never replaces this one.
    fs::path file;
    for (int copy = 1;; ++copy) {
        file = fs::path(m_folder) / BackupFileName(t, operation, variant, copy);
        errno = 0;
        if (std::FILE* taken = std::fopen(file.string().c_str(), "wbx")) {
            std::fclose(taken);
            break;
        }
        if (errno != EEXIST) {
            *error = "cannot write " + file.string() + ": " +
                     (errno ? std::strerror(errno) : "unknown error");
            return false;
        }
    }
    if (!ReplaceFile(file.string(), contents, error)) {
        fs::remove(file, ec);
        return false;
    }
    if (path) *path = file.string();
    Prune();
    return true;
}

std::vector<CBackupEntry> CBackupStore::List() const {
    struct CFound {
        CBackupEntry entry;
        std::string name;
        fs::file_time_type written;
    };
    std::vector<CFound> found;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        CBackupEntry entry;
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file(ec) || !ParseBackupFileName(name, &entry)) continue;
        entry.path = it->path().string();
        entry.comment = CommentOf(entry.path);
        found.push_back({entry, name, it->last_write_time(ec)});
    }
    // Newest first: by the time in the name, then by the time written.
    std::sort(found.begin(), found.end(), [](const CFound& a, const CFound& b) {
        return std::tie(a.entry.time, a.written, a.name) >
               std::tie(b.entry.time, b.written, b.name);
    });
    std::vector<CBackupEntry> list;
    list.reserve(found.size());
    for (CFound& f : found)
        list.push_back(std::move(f.entry));
    return list;
}

std::size_t CBackupStore::Prune(std::size_t keep) {
    std::vector<CBackupEntry> list = List();
    std::size_t removed = 0;
    std::error_code ec;
    for (std::size_t i = keep; i < list.size(); ++i)
        if (fs::remove(list[i].path, ec)) ++removed;
    return removed;
}
