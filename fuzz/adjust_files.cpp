// The adjust utility's files: any text as "Const.ini" gives 21 coefficients the table computes
// with, or nothing and why; any text as its settings file gives values of at most 255 characters,
// and a value saved into it is read back as saved.
#include "adjust/profile_io.h"
#include "platform/settings_store.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include <unistd.h>

namespace {

// A private folder for the settings file, gone when the run ends; in memory where the system
// has such a folder, since every save waits for the disk.
std::filesystem::path FolderBase() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

struct CFolder {
    std::filesystem::path path = FolderBase() / ("kt_fuzz_profile_" + std::to_string(::getpid()));
    CFolder() { std::filesystem::create_directories(path); }
    ~CFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CFolder folder;
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string why;
    if (const auto table = ParseConstIni(text, &why)) {
        for (double v : *table)
            Check(std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max());
    } else {
        Check(!why.empty());
    }

    clsCmcProfileIO profile;
    profile.Path = folder.path.string() + "/";
    profile.Name = "KTZ30ADJ.rs";
    profile.Section = "OPTION";
    {
        std::ofstream out(profile.GetMyProfile(), std::ios::binary | std::ios::trunc);
        out << text;
    }
    CQtSettingsStore store(profile.GetMyProfile());
    profile.store = &store;
    int port = 1;
    double real = 0;
    bool flag = false;
    std::string value;
    std::tm when{};
    profile.loadData("ComPort", port, 1);
    profile.loadData("ComAutoRelease", real, 0.0);
    profile.loadData("ComAutoRelease", flag, false);
    if (profile.loadData("ComPort", value)) Check(value.size() <= 255);
    profile.loadData("Date", when);

    // One input in eight also saves: the value comes back whatever the file held.
    if (size > 0 && (data[0] & 7) == 0) {
        if (profile.saveData("ComPort", 7)) {
            int back = 0;
            Check(profile.loadData("ComPort", back) && back == 7);
        }
    }
    return 0;
}
