// The backups folder: names, the newest hundred, files that are not ours.
#include <gtest/gtest.h>

#include "clone/clone_backups.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fresh folder under the temporary folder, removed with the object.
struct CTempFolder {
    CTempFolder() {
        path = fs::temp_directory_path() /
               ("kt_backups_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~CTempFolder() { fs::remove_all(path); }
    fs::path path;
};

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

} // namespace

TEST(Backups, NamesCarryTimeOperationAndVariant) {
    const std::time_t t = LocalTime(2026, 12, 8, 14, 3, 22);
    EXPECT_EQ(BackupFileName(t, "read", 5), "2026-12-08_14-03-22_read_PMR16.hxq");
    EXPECT_EQ(BackupFileName(t, "write", 0, 2), "2026-12-08_14-03-22_write_LMR1_2.hxq");
    struct Case {
        const char* name;
        bool ours;
        const char* time;
        const char* operation;
        int variant;
    };
    const Case cases[] = {
        {"2026-12-08_14-03-22_read_PMR16.hxq", true, "2026-12-08 14:03:22", "read", 5},
        {"2026-12-08_14-03-22_write_LMR2_3.hxq", true, "2026-12-08 14:03:22", "write", 2},
        {"2026-12-08_14-03-22_erase_PMR16.hxq", false, "", "", 0},
        {"2026-12-08_14-03-22_read_PMR17.hxq", false, "", "", 0},
        {"2026-12-08_14-03-22_read_PMR16_.hxq", false, "", "", 0},
        {"2026-12-08_14-03-22_read_PMR16.txt", false, "", "", 0},
        {"2026-12-8_14-03-22_read_PMR16.hxq", false, "", "", 0},
        {"radio.hxq", false, "", "", 0},
    };
    for (const Case& c : cases) {
        CBackupEntry e;
        ASSERT_EQ(ParseBackupFileName(c.name, &e), c.ours) << c.name;
        if (!c.ours) continue;
        EXPECT_EQ(e.time, c.time);
        EXPECT_EQ(e.operation, c.operation);
        EXPECT_EQ(e.variant, c.variant);
    }
}

TEST(Backups, NewestFirstAndOnlyOurFilesArePruned) {
    CTempFolder folder;
    std::ofstream(folder.path / "notes.txt") << "mine";
    CBackupStore store((folder.path / "backups").string()); // made by the first save
    store.now = [] { return LocalTime(2026, 1, 1, 10, 0, 0); };
    const std::string text = "58270100\r\n#RADIO ONE       SECOND LINE     \r\n";
    std::string path, error;
    // Three within one second: each gets a name of its own.
    for (const char* operation : {"read", "write", "write"})
        ASSERT_TRUE(store.Save(operation, 4, text, &path, &error)) << error;
    EXPECT_EQ(fs::path(path).filename(), "2026-01-01_10-00-00_write_LMR16_2.hxq");
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);

    std::ofstream(folder.path / "backups" / "notes.txt") << "mine too";
    EXPECT_EQ(store.Prune(2), 1u);
    const std::vector<CBackupEntry> list = store.List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, path);
    EXPECT_EQ(list[1].operation, "write");
    EXPECT_EQ(list[0].comment, "RADIO ONE / SECOND LINE");
    EXPECT_TRUE(fs::exists(folder.path / "backups" / "notes.txt"));

    // A folder that cannot be made: the reason, and nothing written.
    CBackupStore blocked((folder.path / "notes.txt" / "backups").string());
    EXPECT_FALSE(blocked.Save("read", 4, text, &path, &error));
    EXPECT_NE(error.find("cannot make"), std::string::npos) << error;
}

// Several programs back up at once (one run per radio in a fleet): backups made in the same
// second take names of their own, none replaces another.
TEST(Backups, SavesAtTheSameTimeKeepEveryBackup) {
    CTempFolder folder;
    constexpr int kPrograms = 6;
    constexpr int kSaves = 8;
    std::vector<std::thread> programs;
    for (int p = 0; p < kPrograms; ++p)
        programs.emplace_back([&folder, p] {
            CBackupStore store(folder.path.string());
            store.now = [] { return LocalTime(2026, 1, 1, 10, 0, 0); };
            for (int s = 0; s < kSaves; ++s) {
                std::string path, error;
                EXPECT_TRUE(store.Save("read", 5,
                                       "radio " + std::to_string(p) + " " + std::to_string(s),
                                       &path, &error))
                    << error;
            }
        });
    for (std::thread& t : programs)
        t.join();
    std::set<std::string> kept;
    for (const CBackupEntry& e : CBackupStore(folder.path.string()).List()) {
        std::ifstream in(e.path, std::ios::binary);
        kept.insert(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    EXPECT_EQ(kept.size(), static_cast<std::size_t>(kPrograms * kSaves));
}
