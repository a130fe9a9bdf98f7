#include "core/files.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// The temporary files of this run, kept where a signal handler may read them: no allocation,
// one lock-free state word a slot.
constexpr int kTempSlots = 32;
constexpr std::size_t kTempPathBytes = 1024;
enum : int { kSlotFree = 0, kSlotFilling = 1, kSlotLive = 2 };
struct CTempSlot {
    std::atomic<int> state{kSlotFree};
    char path[kTempPathBytes];
};
static_assert(std::atomic<int>::is_always_lock_free);
CTempSlot g_temps[kTempSlots];

void Remember(const std::string& path) {
    if (path.size() >= kTempPathBytes) return; // removed when its owner goes, just not on a signal
    for (CTempSlot& slot : g_temps) {
        int expected = kSlotFree;
        if (!slot.state.compare_exchange_strong(expected, kSlotFilling)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(kSlotLive);
        return;
    }
}

void Forget(const std::string& path) {
    for (CTempSlot& slot : g_temps) {
        if (slot.state.load() == kSlotLive && path == slot.path) {
            slot.state.store(kSlotFree);
            return;
        }
    }
}

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

const char* const kOurPrefixes[] = {kTransferFilePrefix, kScratchFilePrefix};

// The name ends, from its character at from, with the six letters or digits that make a
// temporary name unique.
bool IsUniqueTail(const std::string& name, std::size_t from) {
    if (name.size() != from + 6) return false;
    for (std::size_t i = from; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

// One of our prefixes and a unique tail.
bool HasOurName(const std::string& name) {
    for (const char* prefix : kOurPrefixes) {
        const std::size_t n = std::strlen(prefix);
        if (name.compare(0, n, prefix) == 0 && IsUniqueTail(name, n)) return true;
    }
    return false;
}

// Empty, or a clone data file header line ("58270100" and a line end).
bool HoldsOurData(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    char head[9] = {};
    in.read(head, sizeof head);
    const std::streamsize n = in.gcount();
    if (n == 0) return true;
    if (n < 9) return false;
    for (int i = 0; i < 8; ++i)
        if (head[i] < '0' || head[i] > '9') return false;
    return head[8] == '\r' || head[8] == '\n';
}

bool OwnedByUs(const fs::path& p) {
#ifdef _WIN32
    (void)p;
    return true;
#else
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
#endif
}

const char* KindOf(const fs::file_status& st) {
    switch (st.type()) {
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a FIFO";
    case fs::file_type::character:
        return "a character device";
    case fs::file_type::block:
        return "a block device";
    case fs::file_type::socket:
        return "a socket";
    default:
        return "something else";
    }
}

} // namespace

KtRead ReadFileBounded(const std::string& path, std::string* text, std::size_t limit) {
    text->clear();
    std::error_code ec;
    if (fs::is_directory(path, ec)) return KtRead::CannotOpen;
    std::ifstream in(path, std::ios::binary);
    if (!in) return KtRead::CannotOpen;
    std::string data;
    static constexpr std::size_t kChunk = 64 * 1024;
    char chunk[kChunk];
    while (in) {
        in.read(chunk, kChunk);
        const auto n = static_cast<std::size_t>(in.gcount());
        if (data.size() + n > limit) return KtRead::TooLarge; // the rest is never read
        data.append(chunk, n);
    }
    if (in.bad()) return KtRead::CannotOpen;
    *text = std::move(data);
    return KtRead::Ok;
}

bool IsLinkToNothing(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return false;
    const fs::file_status st = fs::status(path, ec); // a loop gives an error
    return ec || !fs::exists(st);
}

std::string NotARegularFile(const std::string& path) {
    if (IsLinkToNothing(path)) return path + " is a symbolic link to nothing";
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st) || fs::is_regular_file(st)) return {};
    return path + " is " + KindOf(st) + ", not a regular file";
}

std::string WhyNotReplaceable(const std::string& target) {
    if (std::string why = NotARegularFile(target); !why.empty())
        return why + "; it was left as it is.";
    std::error_code ec;
    if (!fs::exists(target, ec)) return {};
#ifndef _WIN32
    // A rename would replace a file the user may not write.
    if (::access(target.c_str(), W_OK) != 0) return std::strerror(errno);
#endif
    return {};
}

int RemoveStaleSaveFiles(const std::string& folder) {
    using namespace std::chrono_literals;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    int removed = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e;
        const std::string name = it->path().filename().string();
        const std::size_t mark = name.rfind(kSaveFileMark);
        if (mark == std::string::npos || mark == 0 ||
            !IsUniqueTail(name, mark + std::strlen(kSaveFileMark)) || it->is_symlink(e) ||
            !it->is_regular_file(e))
            continue;
        const auto changed = it->last_write_time(e);
        if (e || now - changed < 1h || !OwnedByUs(it->path())) continue;
        if (fs::remove(it->path(), e)) ++removed;
    }
    return removed;
}

bool ReplaceFile(const std::string& path, const std::string& contents, std::string* error) {
    std::string dummy;
    if (!error) error = &dummy;
    // A link is followed: the file it names is replaced, the link stays.
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    const std::string target = ec ? path : resolved.string(); // a link to nothing stays one
    if (std::string why = WhyNotReplaceable(target); !why.empty()) {
        *error = why;
        return false;
    }
#ifdef _WIN32
    const std::string temp = target + ".~kt";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        *error = ErrnoText("Cannot create a file in the folder");
        return false;
    }
#else
    RemoveStaleSaveFiles(fs::path(target).parent_path().string());
    std::string temp = target + kSaveFileMark + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        *error = ErrnoText("Cannot create a file in the folder");
        return false;
    }
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        ::unlink(temp.c_str());
        *error = ErrnoText("Cannot write the file");
        return false;
    }
#endif
    Remember(temp);
    bool ok = std::fwrite(contents.data(), 1, contents.size(), f) == contents.size();
    if (ok) ok = std::fflush(f) == 0;
#ifndef _WIN32
    if (ok) ok = ::fsync(::fileno(f)) == 0;
#endif
    if (!ok) *error = ErrnoText("Cannot write the file");
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        *error = ErrnoText("Cannot write the file");
    }
    if (ok) {
        fs::rename(temp, target, ec);
        if (ec) {
            ok = false;
            *error = "Cannot replace the file: " + ec.message();
        }
    }
    if (!ok) fs::remove(temp, ec);
    Forget(temp);
    return ok;
}

std::string TempFolderName() {
    for (const char* var : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"})
        if (const char* v = std::getenv(var); v && *v) return v;
#ifdef _WIN32
    std::error_code ec;
    return fs::temp_directory_path(ec).string();
#else
    return "/tmp";
#endif
}

std::string TempFileProblem(const char* verb, int error) {
    return std::string("cannot ") + verb + " a temporary file in " + TempFolderName() + ": " +
           std::strerror(error ? error : EIO);
}

namespace {

std::string CreateTempFileIn(const std::string& prefix) {
    std::error_code ec;
    const fs::path dir = fs::temp_directory_path(ec);
    if (ec) return {};
#ifdef _WIN32
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = (dir / (prefix + "XXXXXX")).string();
        if (_mktemp_s(name.data(), name.size() + 1) != 0) return {};
        const int fd = _open(name.c_str(), _O_CREAT | _O_EXCL | _O_RDWR, _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            _close(fd);
            Remember(name);
            return name;
        }
    }
    return {};
#else
    std::string name = (dir / (prefix + "XXXXXX")).string();
    const int fd = ::mkstemp(name.data()); // O_EXCL, mode 0600
    if (fd < 0) return {};
    ::close(fd);
    Remember(name);
    return name;
#endif
}

} // namespace

std::string CreateTempFile(const std::string& prefix, std::string* why) {
    std::string path = CreateTempFileIn(prefix);
    if (path.empty() && why) {
        const int error = errno;
        std::error_code ec;
        const fs::file_status st = fs::status(TempFolderName(), ec);
        *why = TempFileProblem("make", ec ? ec.value() : fs::is_directory(st) ? error : ENOTDIR);
    }
    return path;
}

void RemoveTempFile(const std::string& path) {
    if (path.empty()) return;
    Forget(path);
    std::error_code ec;
    fs::remove(path, ec);
}

void RemoveTempFilesNow() {
    for (CTempSlot& slot : g_temps) {
        if (slot.state.load() != kSlotLive) continue;
#ifdef _WIN32
        _unlink(slot.path);
#else
        ::unlink(slot.path);
#endif
    }
}

int RemoveStaleTempFiles() {
    using namespace std::chrono_literals;
    std::error_code ec;
    const fs::path dir = fs::temp_directory_path(ec);
    if (ec) return 0;
    const auto now = fs::file_time_type::clock::now();
    int removed = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        std::error_code e;
        if (!HasOurName(p.filename().string()) || !it->is_regular_file(e) || it->is_symlink(e))
            continue;
        const auto changed = it->last_write_time(e);
        if (e || now - changed < 24h || !OwnedByUs(p) || !HoldsOurData(p)) continue;
        if (fs::remove(p, e)) ++removed;
    }
    return removed;
}

extern "C" void RemoveTempFilesAndEnd(int signal) {
    RemoveTempFilesNow();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void HandleTerminatingSignals(void (*handler)(int)) {
#ifdef _WIN32
    std::signal(SIGINT, handler);
    std::signal(SIGTERM, handler);
#else
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &sa, nullptr);
#endif
}

std::string ProgramFolder() {
#ifdef _WIN32
    wchar_t buffer[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer)) return {};
    return fs::path(std::wstring(buffer, n)).parent_path().string();
#else
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
#endif
}

std::string InstalledDataFolder(const std::string& product) {
    const std::string folder = ProgramFolder();
    if (folder.empty()) return {};
    return (fs::path(folder).parent_path() / "share" / product).string();
}
