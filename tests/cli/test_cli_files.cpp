// ktz30cli and the file system: outputs that cannot be written, settings files that are no
// files, the temporary folder, and the targets a save refuses.
#include "tests/cli/cli_fixture.h"
#include "tests/support/file_text.h"

#include <QDateTime>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

// Every command that prints fails when what it printed did not reach its reader.
TEST_F(CliTest, OutputThatCannotBeWrittenFailsTheCommand) {
    const std::string f = MakeFile("doc.hxq", 5);
    const std::vector<std::vector<std::string>> commands = {
        {"dump", f},
        {"dump", "--all", f},
        {"show", f},
        {"get", f, "Mch.CH1.FreqRx"},
        {"csv", "export", f},
        {"backups"},
        {"ports"},
        {"--help"},
        {"new", "--variant", "1", "-o", File("new.hxq")},
    };
    for (const std::vector<std::string>& args : commands) {
        const CRun r = Run(args, {}, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.exit, 74) << args[0] << " " << args.back() << r.err;
        EXPECT_TRUE(Has(r.err, "ktz30cli: cannot write the output: No space left on device\n"))
            << r.err;
    }
}

// A save replaces only what the user may write, and never a link that leads nowhere; the file
// named stays as it was, and a read asks no radio.
TEST_F(CliTest, SavesRefuseTargetsTheUserCannotWriteAndLinksToNothing) {
    const std::string f = MakeFile("doc.hxq", 5);
    WriteAll(File("in.csv"), "Location,Frequency\r\n3,446.03125\r\n");
    const std::string locked = File("locked.hxq");
    WriteAll(locked, "keep");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    const std::string nowhere = File("nowhere.hxq"), loop = File("loop.hxq");
    ASSERT_EQ(::symlink(File("gone/x.hxq").c_str(), nowhere.c_str()), 0);
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    const auto outputs = [&](const std::string& out) {
        return std::vector<std::vector<std::string>>{
            {"new", "--variant", "5", "-o", out},
            {"set", f, "Mch.CH1.ChOn=ON", "-o", out},
            {"channel", f, "clear", "2", "-o", out},
            {"csv", "import", f, File("in.csv"), "-o", out},
            {"csv", "export", f, "-o", out},
        };
    };
    struct Case {
        std::string target;
        std::string why;
        bool asUser;
    };
    const Case cases[] = {
        {locked, locked + ": the file could not be saved: Permission denied\n", true},
        {nowhere, nowhere + " is a symbolic link to nothing; it was left as it is.", false},
        {loop, loop + " is a symbolic link to nothing; it was left as it is.", false},
    };
    for (const Case& c : cases) {
        for (std::vector<std::string> args : outputs(c.target)) {
            const CRun r = c.asUser ? RunAsUser(args) : Run(args);
            if (r.exit == -2) GTEST_SKIP() << "no setpriv to give up root";
            EXPECT_EQ(r.exit, 1) << args[0] << " " << c.target << r.out << r.err;
            EXPECT_TRUE(Has(r.err, c.why)) << r.err;
        }
        const std::vector<std::string> read = {"read", "--port", "/dev/kt-no-such-port", "-o",
                                               c.target};
        const CRun r = c.asUser ? RunAsUser(read) : Run(read);
        EXPECT_EQ(r.exit, 74) << r.err;
        EXPECT_TRUE(Has(r.err, "ktz30cli read: cannot write " + c.target + ": ")) << r.err;
        EXPECT_FALSE(Has(r.out, "RS-232C")) << r.out;
    }
    EXPECT_EQ(ReadAll(locked), "keep");
    for (const std::string& link : {nowhere, loop})
        EXPECT_TRUE(QFileInfo(QString::fromStdString(link)).isSymLink()) << link;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(File("gone"))));
    const CRun trace = Run({"info", "--port", "/dev/kt-no-such-port", "--trace", nowhere});
    EXPECT_EQ(trace.exit, 74);
    EXPECT_TRUE(Has(trace.err, "cannot write " + nowhere + ": it is a symbolic link to nothing"))
        << trace.err;
}

// What saves killed outright left (NAME.kt-saving-XXXXXX) goes with the next save into their
// folder once it is an hour old, and nothing else does.
TEST_F(CliTest, TheNextSaveRemovesWhatKilledSavesLeft) {
    const std::string f = MakeFile("doc.hxq", 5);
    struct Case {
        const char* name;
        int minutesOld;
        bool removed;
    };
    const Case cases[] = {
        {"doc.hxq.kt-saving-AbC123", 120, true},  {"other.csv.kt-saving-x9Y8z7", 61, true},
        {"doc.hxq.kt-saving-Fresh1", 50, false}, // a save in progress
        {"doc.hxq.kt-saving-AbC12", 120, false}, // not the pattern
        {"doc.hxq.kt-saving-AbC12_", 120, false}, {".kt-saving-AbC123", 120, false},
        {"doc.hxq.ClJeXK", 120, false},
    };
    const QDateTime now = QDateTime::currentDateTime();
    for (const Case& c : cases) {
        WriteAll(File(c.name), "58270100\r\n");
        QFile file(QString::fromStdString(File(c.name)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(now.addSecs(-60 * c.minutesOld), QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("d.kt-saving-Folder")));
    const CRun r = Run({"set", f, "Mch.CH1.ChOn=ON"});
    ASSERT_EQ(r.exit, 0) << r.err;
    for (const Case& c : cases)
        EXPECT_EQ(QFileInfo::exists(QString::fromStdString(File(c.name))), !c.removed) << c.name;
    EXPECT_TRUE(QFileInfo(QString::fromStdString(File("d.kt-saving-Folder"))).isDir());
}

// A temporary file that cannot be made is blamed on the temporary folder, never on the clone
// data file, and nothing is written.
TEST_F(CliTest, AMissingTemporaryFolderIsNamedWithTheReason) {
    const std::string f = MakeFile("doc.hxq", 5);
    const std::string before = ReadAll(f);
    WriteAll(File("plain"), "");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("shut")));
    ASSERT_EQ(::chmod(File("shut").c_str(), 0555), 0);
    const std::vector<std::vector<std::string>> commands = {
        {"show", f},
        {"dump", f},
        {"set", f, "Mch.CH1.ChOn=OFF"},
        {"csv", "export", f},
        {"write", "--port", "/dev/kt-no-such-port", f, "--yes"},
        {"read", "--port", "/dev/kt-no-such-port", "-o", File("read.hxq")},
        {"new", "--variant", "1", "-o", File("new.hxq")},
    };
    struct Case {
        std::string folder;
        const char* reason;
        bool asUser;
    };
    const Case cases[] = {
        {File("none"), "No such file or directory", false},
        {File("plain"), "Not a directory", false},
        {File("shut"), "Permission denied", true},
    };
    for (const Case& c : cases) {
        tempFolder = QString::fromStdString(c.folder);
        for (const std::vector<std::string>& args : commands) {
            const CRun r = c.asUser ? RunAsUser(args) : Run(args);
            if (r.exit == -2) GTEST_SKIP() << "no setpriv to give up root";
            EXPECT_EQ(r.exit, args[0] == "write" || args[0] == "read" ? 80 : 1)
                << args[0] << " " << c.folder << r.err;
            EXPECT_TRUE(
                Has(r.err, "cannot make a temporary file in " + c.folder + ": " + c.reason + "\n"))
                << args[0] << "\n"
                << r.err;
            EXPECT_FALSE(Has(r.err, "Unexpected file format")) << r.err;
            EXPECT_FALSE(Has(r.out, "RS-232C")) << r.out;
        }
    }
    // A temporary folder that takes no more bytes (as a full disk; here a file size limit).
    tempFolder.clear();
    const CRun full =
        Run({"-c", "trap '' XFSZ; ulimit -f 0; exec \"$0\" show \"$1\"", KT_KTZ30CLI, f}, {}, {},
            QStringLiteral("/bin/bash"));
    EXPECT_EQ(full.exit, 1) << full.err;
    EXPECT_TRUE(Has(full.err, "ktz30cli: cannot write a temporary file in " +
                                  dir.path().toStdString() + ": File too large\n"))
        << full.err;
    EXPECT_EQ(ReadAll(f), before);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(File("read.hxq"))));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(File("new.hxq"))));
}

// The command line only reads the desktop program's settings: a file it cannot parse, a port
// number that is none, a lock left behind or taken elsewhere stay as they are and hold no
// command up; a settings file that is no file is not opened.
TEST_F(CliTest, CommandsLeaveTheSettingsAsTheyAreAndNeverWaitForThem) {
    const std::string f = MakeFile("doc.hxq", 5);
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("config/Norq")));
    const std::string conf = File("config/Norq/KT-Z30.conf"), lock = conf + ".lock";
    const std::string settings =
        "[CommPort]\nPortNumber=abc\nDevice3=/dev/kt-no-such-port\n not a key line\n"
        "[Settings]\nVerifyAfterWrite=0\n[Model]\nModelVer=4\n";
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string err;
    };
    const Case cases[] = {
        {"a lock to nothing", [&] { ASSERT_EQ(::symlink("/nowhere", lock.c_str()), 0); }, ""},
        {"a lock of garbage", [&] { WriteAll(lock, "\x01\x02 garbage\n"); }, ""},
        {"a lock of another host", [&] { WriteAll(lock, "1\nktz30\nelsewhere\n"); }, ""},
        {"a FIFO",
         [&] {
             ::unlink(conf.c_str());
             ASSERT_EQ(::mkfifo(conf.c_str(), 0600), 0);
         },
         "ktz30cli: " + conf +
             " is a FIFO, not a regular file; going on with the defaults without saving them\n"},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"show", f},
        {"ports"},
        {"info", "--port", "3"},
        {"read", "--port", "3", "-o", File("r.hxq")},
        {"set", f, "Mch.CH1.ChOn=OFF"},
    };
    for (const Case& c : cases) {
        ::unlink(lock.c_str());
        WriteAll(conf, settings);
        c.make();
        const bool fifo = !c.err.empty(); // read by no one: it would wait for a writer
        const std::string before = fifo ? "" : ReadAll(conf);
        for (const std::vector<std::string>& args : commands) {
            const CRun r = Run(args);
            EXPECT_EQ(r.exit, args[0] == "info" || args[0] == "read" ? 91 : 0)
                << c.name << ": " << args[0] << r.err;
            EXPECT_TRUE(Has(r.err, c.err)) << c.name << ": " << r.err;
            if (args[0] == "ports") {
                EXPECT_TRUE(Has(r.out, fifo ? "COM3 -> /dev/ttyUSB2 (default)\n"
                                            : "COM3 -> /dev/kt-no-such-port\n"))
                    << r.out;
            }
        }
        if (!fifo) {
            EXPECT_EQ(ReadAll(conf), before) << c.name;
        }
        EXPECT_EQ(QFileInfo(QString::fromStdString(lock)).isSymLink(),
                  std::string(c.name) == "a lock to nothing");
    }
}

// The demo reads its simulated radio without leaving a backup or a setting of its own in the
// user's folders.
TEST_F(CliTest, TheDemoKeepsItsBackupsAndSettingsApart) {
    const std::string build = std::filesystem::path(KT_KTZ30CLI).parent_path().parent_path();
    const CRun r = Run({"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                        std::string(KT_SOURCE_DIR) + "/scripts/run-demo", build},
                       {}, {}, QStringLiteral("/usr/bin/env"));
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "Channels read:")) << r.out;
    for (const char* folder : {"data", "config"})
        EXPECT_FALSE(std::filesystem::exists(File(folder))) << folder;
}
