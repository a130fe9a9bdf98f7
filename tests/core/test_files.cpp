// Files: replacing only what may be replaced, and temporary files left by a killed run going on
// a later run. (Bounded reads, signals and refused targets are tried through the loader and
// whole ktz30cli runs.)
#include "core/files.h"
#include "tests/support/file_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// A private folder that is also the temporary folder while the test runs.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kt-files-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        const char* old = std::getenv("TMPDIR");
        oldTmp = old ? old : "";
        hadTmp = old != nullptr;
        ::setenv("TMPDIR", dir.c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp)
            ::setenv("TMPDIR", oldTmp.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
    std::string oldTmp;
    bool hadTmp = false;
};

} // namespace

#ifndef _WIN32

// A link is followed and the file keeps its permissions; what is not a regular file, reached
// through a link or not, stays (the command line's runs try FIFOs, folders and devices).
TEST_F(FilesTest, ReplaceFileFollowsLinksAndKeepsPermissions) {
    const fs::path plain = dir / "plain.hxq";
    WriteAll(plain, "old");
    ::chmod(plain.c_str(), 0640);
    fs::create_symlink(plain, dir / "link.hxq");
    std::string error;
    ASSERT_TRUE(ReplaceFile((dir / "link.hxq").string(), "new", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.hxq"));
    EXPECT_EQ(ReadAll(plain), "new");
    EXPECT_EQ(fs::status(plain).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink(dir / "fifo", dir / "fifo-link");
    EXPECT_FALSE(ReplaceFile((dir / "fifo-link").string(), "data", &error));
    EXPECT_NE(error.find("fifo is a FIFO, not a regular file; it was left as it is."),
              std::string::npos)
        << error;
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_TRUE(fs::is_symlink(dir / "fifo-link"));
    EXPECT_EQ(Entries(), 4u) << "nothing left beside the targets";
}

TEST_F(FilesTest, StaleFilesOfAKilledRunGoOnTheNextRun) {
    using namespace std::chrono_literals;
    struct Case {
        const char* name;
        const char* text;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {"clAb3xYz", "", true, true},
        {"~KTq9Rt0a", "58270100\r\n#\r\n00001000\r\n", true, true},
        {"cl0a1b2c", "58270100\n", true, true},
        {"clFresh1", "", false, false}, // a run in progress
        {"clAb3xY", "", true, false},   // not our name pattern
        {"clang-1a", "", true, false},  // someone else's
        {"~KTab_cd1", "", true, false}, // not our name pattern
        {"cl9Zy8Xw", "notes of another program", true, false},
        {"~KT1a2b3c", "5827010", true, false}, // no header line
    };
    for (const Case& c : cases) {
        WriteAll(dir / c.name, c.text);
        if (c.old) fs::last_write_time(dir / c.name, fs::file_time_type::clock::now() - 25h);
    }
    fs::create_directory(dir / "clDir123");
    fs::last_write_time(dir / "clDir123", fs::file_time_type::clock::now() - 48h);
    WriteAll(dir / "target", "");
    fs::last_write_time(dir / "target", fs::file_time_type::clock::now() - 48h);
    fs::create_symlink(dir / "target", dir / "clLink12");

    EXPECT_EQ(RemoveStaleTempFiles(), 3);
    for (const Case& c : cases)
        EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_directory(dir / "clDir123"));
    EXPECT_TRUE(fs::is_symlink(dir / "clLink12"));
}

#endif
