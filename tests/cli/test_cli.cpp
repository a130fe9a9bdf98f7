// ktz30cli as a user runs it: real processes, nqz30sim on a pseudo-terminal, QSettings in a
// temporary folder.
#include "tests/cli/cli_fixture.h"
#include "tests/support/file_text.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cctype>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

constexpr const char* kVariantNames[] = {"LMR 1CH", "PMR 1CH",  "LMR 2CH",
                                         "PMR 2CH", "LMR 16CH", "PMR 16CH"};

namespace {

// The frames one side ("PC" or "TR") sent, in order, from the simulator's log.
std::vector<std::vector<unsigned>> LoggedFrames(const std::string& logPath,
                                                const std::string& who) {
    std::ifstream in(logPath);
    std::vector<std::vector<unsigned>> frames;
    for (std::string line; std::getline(in, line);) {
        std::istringstream s(line);
        std::string side;
        s >> side;
        std::vector<unsigned> bytes;
        unsigned b;
        while (s >> std::hex >> b)
            bytes.push_back(b);
        if (side == who) frames.push_back(bytes);
    }
    return frames;
}

// Addresses of the data frames the PC sent, from the simulator's log.
std::vector<unsigned> WrittenAddresses(const std::string& logPath) {
    std::vector<unsigned> out;
    for (const std::vector<unsigned>& bytes : LoggedFrames(logPath, "PC")) {
        if (bytes.size() < 10 || bytes[4] != 0xE4) continue;
        std::string addr(bytes.begin() + 5, bytes.begin() + 9);
        out.push_back(static_cast<unsigned>(std::stoul(addr, nullptr, 16)));
    }
    return out;
}

TEST_F(CliTest, WriteThenReadBackShowsTheWrittenChannels) {
    CSim sim({"--variant", "4"});
    ASSERT_FALSE(sim.Path().empty());
    const std::string f = MakeFile("out.hxq", 4, "446.100", "446.250");

    CRun w = Run({"write", "--port", sim.Path(), f, "--yes"});
    EXPECT_EQ(w.exit, 0) << w.err;
    EXPECT_TRUE(Has(w.out, " Now writing -> TR\n"));
    EXPECT_TRUE(Has(w.out, " Now verifying <- TR\n Cloning completed. Verified.\n"));
    EXPECT_TRUE(Has(w.out, " Clone writing succeeded. "));

    const std::string back = File("back.hxq");
    CRun r = Run({"read", "--port", sim.Path(), "-o", back});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(Has(r.out, " Now reading <- TR\n Cloning completed.\n"));
    EXPECT_EQ(Get(back, "Mch.CH1.ChOn"), "ON");
    EXPECT_EQ(Get(back, "Mch.CH1.FreqRx"), Get(f, "Mch.CH1.FreqRx"));
    EXPECT_EQ(Get(back, "Mch.CH2.FreqRx"), Get(f, "Mch.CH2.FreqRx"));
    EXPECT_NE(Get(back, "Mch.CH1.FreqRx"), Get(back, "Mch.CH2.FreqRx"));

    // The saved file has CR LF lines and the whole image.
    std::ifstream in(back, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(0, 10), "58270100\r\n");
    EXPECT_TRUE(Has(text, "\r\n000010"));
    EXPECT_TRUE(Has(text, "\r\n07F010"));
}

TEST_F(CliTest, ReadTakesTheRadiosVariant) {
    CSim sim({"--variant", "3"});
    const std::string back = File("r.hxq");
    ASSERT_EQ(Run({"read", "--port", sim.Path(), "-o", back}).exit, 0);
    // A PMR 2-channel image: five-tone settings and two channels.
    CRun d = Run({"dump", back});
    EXPECT_EQ(d.exit, 0);
    EXPECT_TRUE(Has(d.out, "5ToneCodeCH."));
    // info and show give the revision in one form.
    EXPECT_TRUE(Has(Run({"info", "--port", sim.Path()}).out, "Revision:\t1.0\n"));
    EXPECT_TRUE(Has(Run({"show", back}).out, "Revision:  1.0\n"));
}

TEST_F(CliTest, RefusedRadiosGiveTheirResultAndReport) {
    const std::string f = MakeFile("doc.hxq", 4);
    struct Case {
        QStringList sim;
        std::vector<std::string> verb; // the port and the rest follow
        int exit;
        const char* status;
        const char* box;
    };
    const Case cases[] = {
        {{"--revision", "0200"},
         {"info"},
         85,
         " Err: Illegal information.",
         " The transceiver cannot be programmed."},
        {{"--revision", "0200"},
         {"read"},
         85,
         " Err: Illegal information.",
         " The transceiver cannot be programmed."},
        {{"--revision", "0200"},
         {"write"},
         85,
         " Err: Illegal information.",
         " The transceiver cannot be programmed."},
        {{"--variant", "0"},
         {"write"},
         90,
         " Err: Connected transceiver is an wrong model.",
         " Connected transceiver is an wrong model."},
        {{"--variant", "5"}, {"write"}, 0, " Cloning completed.", ""},
        {{"--type", "brs"}, {"read"}, 77, " Err: Cannot read cloning data.", ""},
        {{"--no-echo", "--no-answer"},
         {"read"},
         77,
         " Err: Cannot read cloning data.",
         " Check the following:\n\n - The RS-232C port settings."},
        {{"--no-answer"},
         {"info"},
         77,
         " Err: Illegal information.",
         "Appropriate cloning software"},
        {{"--fail-write"},
         {"write"},
         77,
         " Err: Cannot write cloning data.",
         "Appropriate cloning software"},
    };
    for (const Case& c : cases) {
        CSim sim(c.sim);
        ASSERT_FALSE(sim.Path().empty());
        std::vector<std::string> args = c.verb;
        args.insert(args.end(), {"--port", sim.Path()});
        if (c.verb[0] == "read") args.insert(args.end(), {"-o", File("x.hxq")});
        if (c.verb[0] == "write") args.insert(args.end(), {f, "--yes"});
        const CRun r = Run(args);
        const std::string what = c.verb[0] + " " + c.sim.join(' ').toStdString();
        EXPECT_EQ(r.exit, c.exit) << what << "\n" << r.out << r.err;
        EXPECT_TRUE(Has(r.out, c.status)) << what << "\n" << r.out;
        EXPECT_TRUE(Has(r.err + r.out, c.box)) << what << "\n" << r.err;
        if (c.verb[0] == "read" && c.exit != 0) {
            EXPECT_FALSE(QFile::exists(dir.filePath("x.hxq"))) << what;
        }
    }
}

TEST_F(CliTest, APortThatDoesNotOpenGives91) {
    const CRun r = Run({"info", "--port", "/dev/kt-no-such-port"});
    EXPECT_EQ(r.exit, 91);
    EXPECT_TRUE(Has(r.out, " Err: Cannot access RS-232C port."));
    EXPECT_TRUE(Has(r.err, " - Transceiver power is ON."));
}

TEST_F(CliTest, WriteAsksFirstAndNoSendsNothing) {
    const std::string log = File("wire.log");
    CSim sim({"--variant", "4", "--log", QString::fromStdString(log)});
    const std::string f = MakeFile("doc.hxq", 4);
    struct Case {
        std::vector<std::string> flags;
        const char* answers;
        int exit;
        const char* asked;
        std::size_t frames; // data frames the radio got so far
    };
    const Case cases[] = {
        // No, or no answer at all, ends the question's line and says so.
        {{}, "n\n", 1, "   Write to transceiver      [y/N] \nCancelled.\n", 0},
        {{}, "", 1, "   Write to transceiver      [y/N] \nCancelled.\n", 0},
        // No to the caution (on switching the mode on, or the write's own) cancels: exit 1, as a
        // No to the question does.
        {{"--maker-reserve"}, "n\n", 1, "CAUTION ! 'Maker reserve' is activated now.", 0},
        {{"--maker-reserve"}, "y\nn\n", 1, "CAUTION ! 'Maker reserve' is activated now.", 0},
        {{"--maker-reserve"},
         "y\ny\nn\n",
         1,
         "   Write to transceiver      [y/N] \nCancelled.\n",
         0},
        {{}, "y\n", 0, "   Write to transceiver      [y/N]", 0x790 / 16},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"write", "--port", sim.Path(), f};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        const CRun r = Run(args, c.answers);
        const std::string what = std::string(c.answers) + (c.flags.empty() ? "" : c.flags[0]);
        EXPECT_EQ(r.exit, c.exit) << what << r.err;
        EXPECT_TRUE(Has(r.err, c.asked)) << what << r.err;
        EXPECT_EQ(WrittenAddresses(log).size(), c.frames) << what;
    }
    const std::vector<unsigned> a = WrittenAddresses(log);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a.front(), 0x0070u);
    EXPECT_EQ(a.back(), 0x07F0u);
}

// A channel that would transmit on 0 MHz stops a write before the port is opened, unless
// --force; --yes asks nothing.
TEST_F(CliTest, WriteRefusesChannelsWithoutTxUnlessForced) {
    const std::string log = File("wire.log");
    CSim sim({"--variant", "4", "--log", QString::fromStdString(log)});
    const std::string f = MakeFile("doc.hxq", 4);
    ASSERT_EQ(Run({"set", f, "Mch.CH2.FreqTx:=0", "Mch.CH3.ChOn=ON", "Mch.CH3.FreqRx=150",
                   "Mch.CH3.FreqTx:=0", "Mch.CH4.ChOn=ON", "Mch.CH4.FreqRx=150",
                   "Mch.CH4.FreqTx:=0", "Mch.CH4.InhTx=ON"})
                  .exit,
              0);
    struct Case {
        std::vector<std::string> flags;
        int exit;
        std::string err;
        std::size_t frames;
    };
    const Case cases[] = {
        {{"--yes"},
         1,
         "ktz30cli write: " + f +
             ": CH 2, 3 transmit on 0 MHz (on, not TX-inhibited, no TX frequency); give them a TX "
             "frequency or InhTx=ON, or write anyway with --force\n",
         0},
        {{"--yes", "--force"}, 0, "", 0x790 / 16},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"write", "--port", sim.Path(), f};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        const CRun r = Run(args);
        EXPECT_EQ(r.exit, c.exit) << c.flags.back() << r.err;
        EXPECT_TRUE(Has(r.err, c.err)) << r.err;
        EXPECT_FALSE(Has(r.err, "Write to transceiver")) << r.err;
        EXPECT_EQ(WrittenAddresses(log).size(), c.frames) << c.flags.back();
    }
}

// A file that leaves lines out reaches a radio only when asked: write refuses it before the port
// is opened, and with --allow-partial the rest goes as the factory defaults of the file's own
// variant (not of the LMR 1CH the settings remember).
TEST_F(CliTest, PartialFilesAreWrittenOnlyWhenAllowed) {
    const std::string log = File("wire.log");
    CSim sim({"--variant", "5", "--log", QString::fromStdString(log)});
    const std::string f = MakeFile("doc.hxq", 5);
    ASSERT_EQ(Run({"set", f, "Mch.PrioA:=2"}).exit, 0);
    std::vector<std::string> lines;
    {
        std::ifstream in(f, std::ios::binary);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line + "\n");
    }
    ASSERT_EQ(lines.size(), 130u);
    // Header, comment and the data lines of the ranges [first, end) (line n holds 16 * n on).
    auto cut = [&](const char* name, std::vector<std::pair<std::size_t, std::size_t>> ranges) {
        std::ofstream out(File(name), std::ios::binary);
        out << lines[0] << lines[1];
        for (const auto& [first, end] : ranges)
            for (std::size_t i = first; i < end; ++i)
                out << lines[2 + i];
        return File(name);
    };
    const std::string part = cut("part.hxq", {{0, 34}});          // 0x0000-0x021F
    const std::string sent = cut("sent.hxq", {{0, 4}, {7, 128}}); // no alignment values
    const std::string refusal =
        " lines; the rest would be the factory defaults. Use --allow-partial to write it anyway.\n";
    struct Case {
        std::string file;
        std::vector<std::string> flags;
        int exit;
        std::string err; // a refusal: nothing reaches the radio
        std::size_t frames;
    };
    const Case cases[] = {
        {part, {}, 1, "ktz30cli write: " + part + " holds 34 of 128" + refusal, 0},
        {part, {"--maker-reserve"}, 1, part + " holds 34 of 128" + refusal, 0},
        {sent, {"--maker-reserve"}, 1, sent + " holds 125 of 128" + refusal, 0},
        {sent, {}, 0, "", 121},
        {part, {"--allow-partial"}, 0, "", 242},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"write", "--port", sim.Path(), c.file, "--yes"};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        const CRun r = Run(args);
        const std::string what = c.file + (c.flags.empty() ? "" : " " + c.flags[0]);
        EXPECT_EQ(r.exit, c.exit) << what << "\n" << r.out << r.err;
        EXPECT_TRUE(Has(r.err, c.err)) << what << "\n" << r.err;
        if (c.exit != 0) {
            EXPECT_EQ(r.out, "") << what;
        }
        EXPECT_EQ(WrittenAddresses(log).size(), c.frames) << what;
    }
    // The radio holds the file's lines and the PMR 16CH defaults: the whole file as it was.
    const std::string back = File("back.hxq");
    ASSERT_EQ(Run({"read", "--port", sim.Path(), "-o", back}).exit, 0);
    EXPECT_EQ(Run({"dump", "--all", back}).out, Run({"dump", "--all", f}).out);
    EXPECT_TRUE(Has(Run({"show", part}).out,
                    "\nFile:      " + part +
                        " holds 34 of 128 lines; the rest are the factory defaults\n"));
}

// The memory sheet's row operations by words: one edit, saved back or to -o; a bad channel or
// word saves nothing.
TEST_F(CliTest, ChannelOperationsEditTheFile) {
    struct Case {
        std::vector<std::string> words;
        int exit;
        std::string said; // on standard output, else on standard error
        std::vector<std::pair<const char*, const char*>> values; // afterwards, in the saved file
    };
    const Case cases[] = {
        {{"delete", "1"},
         0,
         "Deleted CH 1.",
         {{"Mch.CH1.FreqRx", "446.20000"}, {"Mch.CH2.ChOn", "OFF"}, {"Mch.PrioA", "1"}}},
        {{"insert", "1"},
         0,
         "Inserted a blank CH 1.",
         {{"Mch.CH1.ChOn", "OFF"}, {"Mch.CH3.FreqRx", "446.20000"}, {"Mch.PrioA", "3"}}},
        {{"copy", "2", "9"}, 0, "Copied CH 2 to CH 9.", {{"Mch.CH9.FreqRx", "446.20000"}}},
        {{"clear", "2"}, 0, "Cleared CH 2.", {{"Mch.CH2.ChOn", "OFF"}, {"Mch.PrioA", "2"}}},
        {{"delete", "17"}, 1, "CH 17 does not exist: this radio has channels 1 to 16.", {}},
        {{"move", "1"}, 2, "Unknown channel operation \"move\"", {}},
        {{"copy", "1"}, 2, "copy takes two channel numbers.", {}},
        {{"clear", "-1"}, 2, "\"-1\" is no channel number.", {}},
    };
    const std::string master = MakeFile("master.hxq", 4);
    ASSERT_EQ(Run({"set", master, "Mch.PrioA:=2"}).exit, 0);
    const std::string before = Run({"dump", "--all", master}).out;
    const std::string f = File("ch.hxq"), out = File("out.hxq");
    for (const Case& c : cases) {
        for (const bool toOut : {false, true}) {
            QFile::remove(QString::fromStdString(f));
            QFile::remove(QString::fromStdString(out));
            ASSERT_TRUE(QFile::copy(QString::fromStdString(master), QString::fromStdString(f)));
            std::vector<std::string> args = {"channel", f};
            args.insert(args.end(), c.words.begin(), c.words.end());
            if (toOut) args.insert(args.end(), {"-o", out});
            const CRun r = Run(args);
            const std::string what = c.words[0] + (toOut ? " -o" : "");
            EXPECT_EQ(r.exit, c.exit) << what << "\n" << r.err;
            const std::string saved = toOut ? out : f;
            if (c.exit != 0) {
                EXPECT_TRUE(Has(r.err, "ktz30cli channel: " + c.said + (c.exit == 1 ? "\n" : "")))
                    << what << "\n"
                    << r.err;
                EXPECT_FALSE(QFile::exists(QString::fromStdString(out))) << what;
                EXPECT_EQ(Run({"dump", "--all", f}).out, before) << what << ": the file changed";
                continue;
            }
            EXPECT_EQ(r.out, "ktz30cli: wrote " + saved + ": " + c.said + "\n") << what;
            for (const auto& [path, text] : c.values)
                EXPECT_EQ(Get(saved, path), text) << what << " " << path;
            if (toOut) {
                EXPECT_EQ(Run({"dump", "--all", f}).out, before) << what << ": -o changed FILE";
            }
        }
    }
}

// A row a 2CH radio's sheet marks "*" takes a channel operation as set takes its values: stored,
// with a note.
TEST_F(CliTest, ChannelOperationOnARowTheRadioDoesNotUseIsStoredWithANote) {
    const std::string f = MakeFile("unused.hxq", 2);
    const CRun r = Run({"channel", f, "copy", "1", "4"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(Has(r.err, "ktz30cli channel: Mch.CH4: stored, the radio does not use that "
                           "channel (this radio has 2 channels)\n"))
        << r.err;
    EXPECT_EQ(Get(f, "Mch.CH4.FreqRx"), "446.10000");
    EXPECT_FALSE(Has(Run({"channel", f, "clear", "2"}).err, "does not use"));
}

TEST_F(CliTest, MakerReserveWriteSendsTheWholeImage) {
    const std::string log = File("wire.log");
    CSim sim({"--variant", "4", "--log", QString::fromStdString(log)});
    const std::string f = MakeFile("doc.hxq", 4);
    CRun r = Run({"write", "--port", sim.Path(), f, "--yes", "--maker-reserve"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(Has(r.err, "CAUTION ! 'Maker reserve' is activated now."));
    const std::vector<unsigned> a = WrittenAddresses(log);
    ASSERT_EQ(a.size(), 128u);
    EXPECT_EQ(a.front(), 0x0000u);
    EXPECT_EQ(a.back(), 0x07F0u);
}

TEST_F(CliTest, CtrlCTermAndHangUpCancelAReadAndLeaveNoTemporaryFiles) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        CSim sim({"--variant", "4", "--pace"}); // a radio in the middle of a read hears nothing
        const std::string out = File("c.hxq");
        QProcess p;
        Start(p, {"read", "--port", sim.Path(), "-o", out});
        ASSERT_TRUE(p.waitForStarted(5000));
        // Wait for the data phase, then interrupt.
        std::string seen;
        while (!Has(seen, "Now reading") && p.waitForReadyRead(5000))
            seen += p.readAllStandardOutput().toStdString();
        ASSERT_TRUE(Has(seen, "Now reading")) << signal;
        EXPECT_EQ(OurTemporaryFiles(), 2) << "the transfer and scratch files, while it runs";
        ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(10000));
        seen += p.readAllStandardOutput().toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(p.exitCode(), 1) << signal;
        EXPECT_TRUE(Has(seen, " Terminated cloning.  \n")) << signal;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
        EXPECT_EQ(OurTemporaryFiles(), 0) << signal;
    }
}

// A file command ended by a signal while it waits (here on a FIFO nobody writes) removes its
// temporary files as it goes; a file from a run killed outright a day ago goes too.
TEST_F(CliTest, ASignalOutsideATransferRemovesTheTemporaryFiles) {
    const std::string fifo = File("idle.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const QString stale = dir.filePath("~KTa1b2c3");
    {
        QFile f(stale);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("58270100\r\n#\r\n");
        f.close();
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                  QFileDevice::FileModificationTime));
    }
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        QProcess p;
        Start(p, {"dump", fifo});
        ASSERT_TRUE(p.waitForStarted(5000));
        for (int i = 0; i < 100 && OurTemporaryFiles() < 2; ++i)
            QThread::msleep(20);
        QThread::msleep(50); // on to the FIFO, where it waits
        EXPECT_EQ(OurTemporaryFiles(), 2) << signal;
        EXPECT_FALSE(QFile::exists(stale)) << "removed at the start";
        ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << signal;
        EXPECT_EQ(OurTemporaryFiles(), 0) << signal;
    }
}

// Endless inputs stop at 16 MiB; outputs that are not regular files are never replaced.
TEST_F(CliTest, EndlessInputsAndOddOutputsFailCleanly) {
    const std::string f = MakeFile("doc.hxq", 1);
    const std::string fifo = File("out.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> args;
        const char* err;
    };
    std::vector<Case> cases = {
        {{"dump", "/dev/zero"}, "/dev/zero: Unexpected file format. (FORMAT_ERROR)"},
        {{"dump", "/dev/urandom"}, "/dev/urandom: Unexpected file format. (FORMAT_ERROR)"},
        {{"new", "--variant", "0", "-o", fifo}, " is a FIFO, not a regular file;"},
        {{"set", f, "Mch.CH1.ChOn=ON", "-o", fifo}, " is a FIFO, not a regular file;"},
        {{"set", f, "Mch.CH1.ChOn=ON", "-o", dir.path().toStdString()}, " is a folder,"},
    };
    if (::geteuid() == 0)
        cases.push_back({{"new", "--variant", "0", "-o", "/dev/full"},
                         "/dev/full is a character device, not a regular file;"});
    for (const Case& c : cases) {
        const CRun r = Run(c.args);
        EXPECT_EQ(r.exit, 1) << c.args[1] << r.err;
        EXPECT_TRUE(Has(r.err, c.err)) << r.err;
        EXPECT_EQ(OurTemporaryFiles(), 0);
    }
    struct stat st {};
    EXPECT_TRUE(::stat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    if (::geteuid() == 0) {
        EXPECT_TRUE(::stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode));
    }
}

TEST_F(CliTest, FileCommandsReportBadInput) {
    const std::string f = MakeFile("doc.hxq", 1);
    {
        std::ofstream bad(File("bad.hxq"), std::ios::binary);
        bad << "12340100\r\n#\r\n";
    }
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string err;
    };
    const Case cases[] = {
        {{"dump", File("bad.hxq")}, 1, "Unexpected file format. (MISMATCH_MODEL)"},
        {{"dump", File("missing.hxq")}, 1, "Unexpected file format. (CANNOT_OPEN_FILE)"},
        {{"show", File("missing.hxq")},
         1,
         "ktz30cli: cannot open " + File("missing.hxq") + ": No such file or directory\n"},
        {{"get", dir.path().toStdString(), "Mch.PrioA"}, 1, ": Is a directory\n"},
        {{"get", f, "Mch.CH99.FreqRx"}, 1, "unknown path Mch.CH99.FreqRx"},
        {{"set", f, "Mch.Nope=1"}, 1, "unknown path Mch.Nope"},
        {{"set", f, "Mch.CH1.ChOn=MAYBE"}, 1, "'MAYBE' is not one of the choices (OFF, ON)"},
        {{"set", f, "Mch.CH1.ChOn:=x"}, 1, "is not an integer code"},
        {{"set", f, "Mch.PrioA:=2-5"}, 1, "Mch.PrioA: '2-5' is not an integer code"},
        {{"set", f, "Mch.PrioA:=3 4"}, 1, "Mch.PrioA: '3 4' is not an integer code"},
        {{"set", f, "Mch.PrioA:=--3"}, 1, "Mch.PrioA: '--3' is not an integer code"},
        {{"set", f, "Mch.PrioA:=+-3"}, 1, "Mch.PrioA: '+-3' is not an integer code"},
        {{"set", f, "Mch.CH1.ChOn"}, 2, "neither PATH=TEXT nor PATH:=CODE"},
        {{"new", "--variant", "6", "-o", File("n.hxq")}, 2, "--variant: N is 0 to 5"},
        {{"read", "-o", File("n.hxq")}, 2, "--port is required"},
        {{"info", "--port", "7"}, 2, "PORT is 1 to 4 or a device path"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"dump", "--bogus", f}, 2, "unknown option --bogus"},
        {{}, 2, "a command is required"},
    };
    const std::string before = Run({"dump", f}).out;
    for (const Case& c : cases) {
        const CRun r = Run(c.args);
        std::string what;
        for (const auto& a : c.args)
            what += a + " ";
        EXPECT_EQ(r.exit, c.exit) << what << r.err;
        EXPECT_TRUE(Has(r.err, c.err)) << what << r.err;
    }
    // None of the failed commands touched the file.
    EXPECT_EQ(Run({"dump", f}).out, before);
}

TEST_F(CliTest, SetGetAndDumpAgree) {
    const std::string f = MakeFile("doc.hxq", 5);
    const std::string out = File("out.hxq");
    CRun s = Run({"set", f, "Mch.CH3.ChOn:=1", "Mch.CH3.FreqRx=446.300", "-o", out});
    ASSERT_EQ(s.exit, 0) << s.err;
    EXPECT_EQ(Get(out, "Mch.CH3.ChOn"), "ON");
    EXPECT_EQ(Get(f, "Mch.CH3.ChOn"), "OFF") << "-o leaves the source alone";
    CRun code = Run({"get", "--code", out, "Mch.CH3.ChOn"});
    EXPECT_EQ(code.out, "1\n");
    const std::string dump = Run({"dump", out}).out;
    EXPECT_TRUE(Has(dump, "\nMch.CH3.ChOn\t1\tON\n"));
    EXPECT_TRUE(Has(dump, "\nMch.CH3.FreqRx\t"));
}

TEST_F(CliTest, HelpForEveryVerb) {
    for (const char* verb : {"info", "read", "write", "new", "show", "dump", "get", "set",
                             "channel", "ports", "backups"}) {
        const CRun r = Run({verb, "--help"});
        EXPECT_EQ(r.exit, 0) << verb;
        EXPECT_TRUE(Has(r.out, std::string("usage: ktz30cli ") + verb)) << verb;
    }
}

TEST_F(CliTest, SetSaysWhatBecameOfEveryAssignment) {
    struct Case {
        int variant;
        std::vector<std::string> set;
        int exit;
        std::vector<std::string> err; // lines that must appear on standard error
    };
    const Case cases[] = {
        {5, {"Mch.CH1.FreqRx=446.1"}, 0, {}},
        {5, {"Mch.CH1.FreqRx=446,1", "Mch.CH1.CTonRx=88,5"}, 0, {}}, // decimal commas
        {5,
         {"Mch.CH1.FreqRx=446.1031", "Mch.CH1.TOT:=5"},
         0,
         {"Mch.CH1.FreqRx: given '446.1031', stored '446.10312' (snapped",
          "Mch.CH1.TOT: given '5', stored 'ON' (clamped into range)"}},
        {5,
         {"CommonSet.Common1.Comment1=ABCDEFGHIJKLMNOPQRST"},
         0,
         {"given 'ABCDEFGHIJKLMNOPQRST', stored 'ABCDEFGHIJKLMNOP' (as the radio stores it)"}},
        {5, {"Mch.CH1.FreqRx=446,1,2"}, 1, {"Mch.CH1.FreqRx: '446,1,2' is not a number"}},
        {5, {"Mch.CH1.FreqRx=12abc"}, 1, {"Mch.CH1.FreqRx: '12abc' is not a number"}},
        {5, {"Mch.CH1.FreqRx=nan"}, 1, {"'nan' is not a number"}},
        {5,
         {"Mch.CH3.FreqRx=446.3"},
         1,
         {"Mch.CH3.FreqRx: channel 3 is off; set Mch.CH3.ChOn=ON first"}},
        {5, {"Mch.CH1.2Ton=1"}, 1, {"Mch.CH1.2Ton: not used by PMR radios"}},
        {5,
         {"2ToneCodeCH.RXCodeCH.CH1.1stFreq=1000"},
         1,
         {"2ToneCodeCH.RXCodeCH.CH1.1stFreq: not used by PMR radios"}},
        // Every channel record is stored; the radio does not use this one.
        {1,
         {"Mch.CH30.ChOn=ON"},
         0,
         {"Mch.CH30.ChOn: stored, the radio does not use that channel (this radio has 1 channel)"}},
        {4, {"Mch.CH1.RfPwr=Max"}, 1, {"'Max' is not one of the choices (Low1, Low2, High)"}},
        {4,
         {"CommonSet.Common1.InATim:=5"},
         1,
         {"not used by LMR radios"}}, // a five-tone setting of the common pages
        {4,
         {"ScanList.ScanCom.StopTim=5"},
         1,
         {"'5' is not one of the choices", "give its code with ScanList.ScanCom.StopTim:=CODE"}},
        {4, {"Mch.CH1=1"}, 1, {"Mch.CH1 is a group of values, not a value"}},
        // A channel switched on with only its receive frequency transmits on it.
        {4,
         {"Mch.CH3.ChOn=ON", "Mch.CH3.FreqRx=446.1"},
         0,
         {"ktz30cli set: Mch.CH3.FreqTx: no TX frequency given; stored 446.10000, the receive "
          "frequency, as the row editor does"}},
        // Tones as the row editor shows them; a refusal names the forms taken.
        {4, {"Mch.CH1.CTonTx=754i", "Mch.CH1.CTonRx=023", "Mch.CH1.CTonRx=023N"}, 0, {}},
        {4,
         {"Mch.CH1.CTonTx=12"},
         1,
         {"Mch.CH1.CTonTx: '12' is no tone; it takes OFF, USER, a CTCSS tone (67.0 to 254.1 Hz",
          "a DCS code (023N, 754I), or a code with Mch.CH1.CTonTx:=CODE (1000 OFF"}},
        // One bad assignment among good ones saves nothing.
        {4, {"Mch.PrioA:=3", "Mch.CH2.FreqRx=1e308"}, 1, {"'1e308' is not a number"}},
    };
    for (const Case& c : cases) {
        const std::string f = MakeFile("s.hxq", c.variant);
        const std::string before = Run({"dump", "--all", f}).out;
        std::vector<std::string> args = {"set", f};
        args.insert(args.end(), c.set.begin(), c.set.end());
        const CRun r = Run(args);
        const std::string what = std::to_string(c.variant) + " " + c.set[0];
        EXPECT_EQ(r.exit, c.exit) << what << "\n" << r.err;
        for (const std::string& line : c.err)
            EXPECT_TRUE(Has(r.err, line)) << what << "\n" << r.err;
        if (c.exit == 0) {
            EXPECT_TRUE(Has(r.out, "ktz30cli: wrote " + f + ": ")) << what << r.out;
        } else {
            EXPECT_TRUE(Has(r.err, "nothing saved")) << what;
            EXPECT_EQ(Run({"dump", "--all", f}).out, before) << what << ": the file changed";
        }
    }
    const std::string f = MakeFile("t.hxq", 4);
    ASSERT_EQ(Run({"set", f, "Mch.CH1.CTonTx=754i", "Mch.CH1.CTonRx=023"}).exit, 0);
    EXPECT_EQ(Get(f, "Mch.CH1.CTonTx") + " " + Get(f, "Mch.CH1.CTonRx"), "3754 2023");
}

TEST_F(CliTest, DumpShowsWhatTheRadioUsesGetPrintsCodesWithoutTexts) {
    const std::string f = MakeFile("d.hxq", 1); // PMR 1CH: channel 1 on
    const std::string dump = "\n" + Run({"dump", f}).out;
    const std::string all = "\n" + Run({"dump", "--all", f}).out;
    struct Case {
        const char* line;
        bool inDump;
    };
    const Case cases[] = {
        {"\nMch.CH1.ChOn\t1\tON\n", true},
        {"\nMch.CH1.Moni\t", true},
        {"\nMch.CH1.2Ton\t", false},
        {"\nMch.CH0.ChOn\t", false},
        {"\nMch.CH2.ChOn\t", false},
        {"\nMch.BnkSet\t", false},
        {"\n2ToneCodeCH.", false},
        {"\n5ToneCodeCH.TXCodeCH.CH1.TxCode\t", true},
        {"\nScanList.ScanCom.StopTim\t", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Has(dump, c.line), c.inDump) << c.line;
        EXPECT_TRUE(Has(all, c.line)) << c.line;
    }
    // A numeric setting without a text shows its code as the text too.
    const CRun code = Run({"get", "--code", f, "ScanList.ScanCom.StopTim"});
    const CRun text = Run({"get", f, "ScanList.ScanCom.StopTim"});
    EXPECT_EQ(text.exit, 0);
    EXPECT_EQ(text.out, code.out);
    EXPECT_TRUE(Has(dump, "\nScanList.ScanCom.StopTim\t" + code.out.substr(0, code.out.size() - 1) +
                              "\t" + code.out));

    ASSERT_EQ(
        Run({"set", f, "CommonSet.Common1.Comment1=SHOP 7", "CommonSet.Common1.Comment2=X"}).exit,
        0);
    const CRun show = Run({"show", f});
    EXPECT_EQ(show.exit, 0);
    EXPECT_EQ(show.out, "Variant:   PMR 1CH\nRevision:  1.0\nFile:      " + f +
                            " holds 128 of 128 lines\nChannels:  1 of 1 on (1)\n"
                            "Comment 1: SHOP 7\nComment 2: X\n");
    // The same from a pipe, which can be read only once.
    const std::string fifo = File("show.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { WriteAll(fifo, ReadAll(f)); });
    const CRun piped = Run({"show", fifo});
    writer.join();
    EXPECT_EQ(piped.exit, 0);
    EXPECT_TRUE(Has(piped.out, "Variant:   PMR 1CH\nRevision:  1.0\nFile:      " + fifo +
                                   " holds 128 of 128 lines\n"))
        << piped.out;
}

TEST_F(CliTest, ReadChecksItsFileFirstAndPortsAreForThisRunOnly) {
    // An output file that cannot be written: the radio is never asked (no port is opened).
    const CRun r = Run({"read", "--port", "/dev/kt-no-such-port", "-o", dir.path().toStdString()});
    EXPECT_EQ(r.exit, 74);
    EXPECT_TRUE(Has(r.err, "ktz30cli read: cannot write " + dir.path().toStdString() +
                               ": Is a directory\n"));
    EXPECT_FALSE(Has(r.out, "RS-232C"));
    const CRun missing = Run({"read", "--port", "2", "-o", File("no/such/dir/x.hxq")});
    EXPECT_EQ(missing.exit, 74);
    EXPECT_TRUE(Has(missing.err, "No such file or directory"));
    // Nor when the output is something the save would refuse to replace.
    const std::string fifo = File("out.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const CRun odd = Run({"read", "--port", "/dev/kt-no-such-port", "-o", fifo});
    EXPECT_EQ(odd.exit, 74);
    EXPECT_TRUE(Has(odd.err, "ktz30cli read: cannot write " + fifo + ": ")) << odd.err;
    EXPECT_TRUE(Has(odd.err, " is a FIFO, not a regular file;")) << odd.err;
    EXPECT_FALSE(Has(odd.out, "RS-232C")) << odd.out;

    // A numbered port on the command line leaves the remembered port alone.
    EXPECT_EQ(Run({"info", "--port", "3"}).exit, 91);
    QFile settings(dir.filePath("config/Norq/KT-Z30.conf"));
    if (settings.open(QIODevice::ReadOnly)) {
        const std::string text = settings.readAll().toStdString();
        EXPECT_FALSE(Has(text, "PortNumber=3")) << text;
    }
    const CRun ports = Run({"ports"});
    EXPECT_EQ(ports.exit, 0);
    EXPECT_TRUE(Has(ports.out, "Serial ports:"));
    EXPECT_TRUE(Has(ports.out, "  COM3 -> /dev/ttyUSB2 (default)\n"));
}

TEST_F(CliTest, EveryVariantReadFromTheRadioWritesStraightBack) {
    // Six radios at once: each read, then each write of what was read.
    std::vector<std::unique_ptr<CSim>> sims;
    for (int v = 0; v < 6; ++v) {
        sims.push_back(std::make_unique<CSim>(QStringList{"--variant", QString::number(v)}));
        ASSERT_FALSE(sims.back()->Path().empty());
    }
    auto runAll = [&](auto args) {
        std::vector<std::unique_ptr<QProcess>> runs;
        for (int v = 0; v < 6; ++v) {
            runs.push_back(std::make_unique<QProcess>());
            Start(*runs.back(), args(v));
        }
        std::vector<CRun> results;
        for (auto& p : runs) {
            p->waitForFinished(60000);
            results.push_back({p->exitCode(), p->readAllStandardOutput().toStdString(),
                               p->readAllStandardError().toStdString()});
        }
        return results;
    };
    auto file = [&](int v) { return File(("radio" + std::to_string(v) + ".hxq").c_str()); };
    const std::vector<CRun> reads = runAll([&](int v) {
        return std::vector<std::string>{"read", "--port", sims[v]->Path(), "-o", file(v)};
    });
    const std::vector<CRun> writes = runAll([&](int v) {
        return std::vector<std::string>{"write", "--port", sims[v]->Path(), file(v), "--yes"};
    });
    for (int v = 0; v < 6; ++v) {
        EXPECT_EQ(reads[v].exit, 0) << v << reads[v].err;
        EXPECT_TRUE(Has(reads[v].out, "ktz30cli: wrote " + file(v) + ": the " + kVariantNames[v] +
                                          " radio on " + sims[v]->Path() + "\n"))
            << reads[v].out;
        EXPECT_EQ(writes[v].exit, 0) << "variant " << v << "\n" << writes[v].out << writes[v].err;
    }
}

// The commands the frames of one side of the simulator's log carry, in order.
std::vector<unsigned> LoggedCommands(const std::string& logPath, const std::string& who) {
    std::vector<unsigned> out;
    for (const std::vector<unsigned>& bytes : LoggedFrames(logPath, who))
        if (bytes.size() > 4) out.push_back(bytes[4]);
    return out;
}

TEST_F(CliTest, AWriteIsReadBackAndComparedByteForByte) {
    const std::string f = MakeFile("v.hxq", 4, "446.100", "446.200");
    struct Case {
        QStringList sim;
        std::vector<std::string> options;
        bool settingOff; // Clone > Verify after Write turned off in the desktop program
        int exit;
        const char* status;
        const char* message;
        bool readBack;
    };
    const Case cases[] = {
        {{}, {}, false, 0, " Cloning completed. Verified.\n", " Clone writing succeeded.", true},
        // 446.100 is 44 61 00: the radio keeps 60 in the middle byte of channel 1's frequency.
        {{"--corrupt-write", "0201"},
         {},
         false,
         77,
         " Err: Verification failed: 1 byte differs.\n",
         "  0x0201  written 61, read 60  Mch.CH1.FreqRx\n",
         true},
        // The radio goes silent in the middle of the read-back.
        {{"--stop-after", "130"},
         {},
         false,
         77,
         " Err: The write could not be verified.\n",
         "The write could not be verified.",
         true},
        // Without verification the wire carries the write alone, and nothing is compared.
        {{"--corrupt-write", "0201"},
         {"--no-verify"},
         false,
         0,
         " Cloning completed.\n",
         "",
         false},
        {{"--corrupt-write", "0201"}, {}, true, 0, " Cloning completed.\n", "", false},
        {{}, {"--verify"}, true, 0, " Cloning completed. Verified.\n", "", true},
    };
    for (const Case& c : cases) {
        const std::string what = c.sim.join(' ').toStdString() + " " +
                                 (c.options.empty() ? "" : c.options[0]) +
                                 (c.settingOff ? " (setting off)" : "");
        QDir(dir.filePath("config")).removeRecursively();
        if (c.settingOff) {
            QDir().mkpath(dir.filePath("config/Norq"));
            std::ofstream(File("config/Norq/KT-Z30.conf")) << "[Settings]\nVerifyAfterWrite=0\n";
        }
        const std::string log = File("wire.log");
        CSim sim(QStringList(c.sim) << "--log" << QString::fromStdString(log));
        ASSERT_FALSE(sim.Path().empty());
        std::vector<std::string> args = {"write", "--port", sim.Path(), f, "--yes"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CRun r = Run(args);
        EXPECT_EQ(r.exit, c.exit) << what << "\n" << r.out << r.err;
        EXPECT_TRUE(Has(r.out, c.status)) << what << "\n" << r.out;
        EXPECT_TRUE(Has(r.out + r.err, c.message)) << what << "\n" << r.err;
        std::vector<unsigned> sent = LoggedCommands(log, "PC");
        std::vector<unsigned> expected = {0xE0, 0xE3};
        expected.insert(expected.end(), 0x790 / 16, 0xE4);
        expected.push_back(0xE5);
        if (c.readBack) expected.insert(expected.end(), {0xE0, 0xE2});
        EXPECT_EQ(sent, expected) << what;
    }
}

TEST_F(CliTest, ReadsAndWritesLeaveBackupsOfWhichTheNewestHundredStay) {
    const QString folder = dir.filePath("data/Norq/KT-Z30/backups");
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::string old = MakeFile("old.hxq", 4);
    for (int i = 0; i < 100; ++i) {
        const QString name =
            QString::asprintf("2001-01-01_%02d-%02d-00_read_LMR16.hxq", i / 60, i % 60);
        ASSERT_TRUE(QFile::copy(QString::fromStdString(old), folder + "/" + name));
    }
    std::ofstream((folder + "/notes.txt").toStdString()) << "the user's own";
    CSim sim({"--variant", "5"});
    ASSERT_FALSE(sim.Path().empty());
    const std::string read = File("r.hxq");
    ASSERT_EQ(Run({"read", "--port", sim.Path(), "-o", read}).exit, 0);
    ASSERT_EQ(Run({"write", "--port", sim.Path(), read, "--yes"}).exit, 0);

    auto lines = [&] {
        const CRun b = Run({"backups"});
        EXPECT_EQ(b.exit, 0);
        std::vector<std::string> out;
        std::istringstream in(b.out);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    };
    std::vector<std::string> list = lines();
    ASSERT_EQ(list.size(), 100u);
    EXPECT_TRUE(Has(list[0], "\twrite\tPMR 16CH\t")) << list[0];
    EXPECT_TRUE(Has(list[1], "\tread\tPMR 16CH\t")) << list[1];
    EXPECT_TRUE(Has(list[99], "2001-01-01 00:02:00\tread\tLMR 16CH\t")) << list[99];
    EXPECT_FALSE(QFile::exists(folder + "/2001-01-01_00-01-00_read_LMR16.hxq"));
    EXPECT_TRUE(QFile::exists(folder + "/notes.txt"));
    // The read's backup is a clone data file holding what was read.
    const std::string readBackup = list[1].substr(list[1].rfind('\t') + 1);
    EXPECT_EQ(Run({"dump", "--all", readBackup}).out, Run({"dump", "--all", read}).out);

    // --no-backup leaves the list as it was; a folder that cannot be made stops nothing.
    ASSERT_EQ(Run({"read", "--port", sim.Path(), "-o", read, "--no-backup"}).exit, 0);
    EXPECT_EQ(lines(), list);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    std::ofstream(folder.toStdString()) << "in the way";
    const CRun blocked = Run({"read", "--port", sim.Path(), "-o", read});
    EXPECT_EQ(blocked.exit, 0) << blocked.err;
    EXPECT_TRUE(Has(blocked.out, " Cloning completed.\n Cloning completed. Backup not saved: "))
        << blocked.out;
}

TEST_F(CliTest, ATraceHoldsEveryFrameOfAReadInOrderWithItsTime) {
    CSim sim({"--variant", "4"});
    ASSERT_FALSE(sim.Path().empty());
    const std::string trace = File("trace.txt");
    const CRun r = Run({"read", "--port", sim.Path(), "-o", File("r.hxq"), "--trace", trace});
    ASSERT_EQ(r.exit, 0) << r.err;
    // "14:03:22.123 TR>PC E4 data 0070 +16   ok   FE FE ..." : the direction, the command and,
    // for data, the address.
    std::vector<std::string> frames,
        expected = {"PC>TR E0", "echo E0", "TR>PC E1", "PC>TR E2", "echo E2"};
    for (unsigned a = 0; a < 0x800; a += 16) {
        char s[32];
        std::snprintf(s, sizeof s, "TR>PC E4 %04X", a);
        expected.push_back(s);
    }
    expected.push_back("TR>PC E5");
    std::ifstream in(trace);
    std::string last = "00:00:00.000", line;
    int transfers = 0;
    while (std::getline(in, line)) {
        ASSERT_GE(line.size(), 13u) << line;
        const std::string time = line.substr(0, 12);
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(time[0])) && time[2] == ':' &&
                    time[5] == ':' && time[8] == '.' && std::isdigit(time[11]))
            << line;
        EXPECT_GE(time, last) << line; // the read runs well within one day
        last = time;
        std::istringstream words(line.substr(13));
        std::string from, command, kind, address;
        words >> from >> command >> kind >> address;
        if (from == "-----") {
            transfers += command == "read" || command == "info";
            if (command == "result") {
                EXPECT_EQ(kind, "0") << line;
            }
            continue;
        }
        frames.push_back(from + " " + command + (command == "E4" ? " " + address : ""));
        EXPECT_TRUE(Has(line, from == "PC>TR"                      ? " sent "
                              : command == "E1" || command == "E5" ? " finished "
                                                                   : " ok "))
            << line;
    }
    EXPECT_EQ(transfers, 2);
    EXPECT_EQ(frames, expected);
    // A trace that could not be written to its end is no success, whatever the transfer gave.
    const CRun full = Run({"info", "--port", sim.Path(), "--trace", "/dev/full"});
    EXPECT_EQ(full.exit, 74) << full.out;
    EXPECT_TRUE(Has(full.err, "ktz30cli: the serial trace: cannot write /dev/full: ")) << full.err;
}

TEST_F(CliTest, APortThatMayNotBeOpenedSaysWhy) {
    // Ours to use only as a member of the device's group, which this user is not.
    CSim sim({});
    ASSERT_FALSE(sim.Path().empty());
    QString program = QStringLiteral(KT_KTZ30CLI);
    QStringList args;
    std::string device = sim.Path(), group = "dialout";
    if (geteuid() == 0) {
        if (!QFile::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv to give up root";
        const struct group* g = getgrnam("dialout");
        ASSERT_NE(g, nullptr);
        ASSERT_EQ(chown(device.c_str(), 0, g->gr_gid), 0);
        ASSERT_EQ(chmod(device.c_str(), 0660), 0);
        ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0777), 0); // its settings and temp
        program = QStringLiteral("/usr/bin/setpriv");
        args << "--reuid=65534"
             << "--regid=65534"
             << "--clear-groups" << QStringLiteral(KT_KTZ30CLI);
    } else {
        device = File("locked");
        std::ofstream(device) << "";
        ASSERT_EQ(chmod(device.c_str(), 0), 0);
        group = getgrgid(getegid()) ? getgrgid(getegid())->gr_name : "";
    }
    args << "info"
         << "--port" << QString::fromStdString(device);
    QProcess p;
    p.setProcessEnvironment(Env());
    p.start(program, args);
    ASSERT_TRUE(p.waitForFinished(30000));
    const std::string out = p.readAllStandardOutput().toStdString();
    const std::string err = p.readAllStandardError().toStdString();
    EXPECT_EQ(p.exitCode(), 91) << out << err;
    EXPECT_TRUE(Has(out, " Err: Cannot access RS-232C port.\n")) << out;
    EXPECT_TRUE(Has(err, " not Open \n" + device +
                             ": permission denied. The user must be in the group that owns the "
                             "device (" +
                             group + ").\n"))
        << err;
}

TEST_F(CliTest, EveryProgramAnswersHelpAndVersion) {
    struct Case {
        const char* program;
        const char* usage;
    };
    const Case cases[] = {
        {KT_KTZ30CLI, "usage: ktz30cli"},
        {KT_NQZ30SIM, "usage: nqz30sim"},
#ifdef KT_KTZ30
        {KT_KTZ30, "Usage: "},
#endif
    };
    for (const Case& c : cases) {
        for (const char* flag : {"--help", "--version"}) {
            QProcess p;
            p.setProcessEnvironment(Env());
            p.start(QString::fromLatin1(c.program), {QString::fromLatin1(flag)});
            ASSERT_TRUE(p.waitForFinished(20000)) << c.program << " " << flag;
            const std::string out = p.readAllStandardOutput().toStdString();
            EXPECT_EQ(p.exitCode(), 0) << c.program << " " << flag;
            const bool help = std::string(flag) == "--help";
            EXPECT_TRUE(Has(out, help ? c.usage : "1.2")) << c.program << " " << flag << out;
        }
    }
}

} // namespace
