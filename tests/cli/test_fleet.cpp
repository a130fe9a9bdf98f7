// Several radios at once: ktz30cli with --port given more than once, against simulated radios on
// pseudo-terminals.
#include "tests/cli/cli_fixture.h"
#include "tests/cli/fleet_radios.h"
#include "tests/support/file_text.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QThread>

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

// Three radios, the third silent: two are written, the third reports 77, and so does the run.
TEST_F(CliTest, FleetWriteReportsEveryRadioAndTheHighestResult) {
    const CRadios radios(
        {{"--variant", "5"}, {"--variant", "5"}, {"--variant", "5", "--no-answer"}});
    const std::string f = MakeFile("fleet.hxq", 5, "446.100", "446.200");
    const CRun w = Run(Args({"write"}, radios.ports, {f, "--yes"}));
    EXPECT_EQ(w.exit, 77) << w.out << w.err;
    EXPECT_TRUE(Has(w.out, "ktz30cli write: 3 radios at once on " + radios.Path(0) + ", " +
                               radios.Path(1) + ", " + radios.Path(2) + " (Ctrl+C cancels all)\n" +
                               radios.Path(0) + ": 0 Cloning completed. Verified.\n" +
                               radios.Path(1) + ": 0 Cloning completed. Verified.\n" +
                               radios.Path(2) + ": 77 Err: Cannot write cloning data.\n" +
                               "ktz30cli write: 2 of 3 radios succeeded\n"))
        << w.out;
    // What the two radios hold now, read from all three at once: a file each, named by its port.
    // Each radio's trace goes to a file of its own, named by its port like the files read.
    const CRun r =
        Run(Args({"read"}, radios.ports, {"-o", File("back.hxq"), "--trace", File("t.txt")}));
    EXPECT_EQ(r.exit, 77) << r.out << r.err;
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string pts = "pts" + radios.Path(i).substr(radios.Path(i).rfind('/') + 1);
        const std::string back = File(("back-" + pts + ".hxq").c_str());
        EXPECT_TRUE(QFileInfo(QString::fromStdString(File(("t-" + pts + ".txt").c_str()))).size() >
                    0)
            << pts;
        EXPECT_TRUE(Has(r.out, radios.Path(i) + ": 0 Cloning completed. Saved to " + back + ".\n"))
            << r.out;
        EXPECT_EQ(Get(back, "Mch.CH2.FreqRx"), "446.20000");
    }
    EXPECT_TRUE(Has(r.out, radios.Path(2) + ": 77 Err: Cannot read cloning data.\n")) << r.out;
    const CRun i = Run(Args({"info"}, radios.ports));
    EXPECT_TRUE(Has(i.out, radios.Path(0) + ": 0 Model PMR 16CH, revision 1.0\n")) << i.out;
    EXPECT_EQ(i.exit, 77);
    // A write asks once for all, and what a single write refuses is refused before anything is
    // asked or started: No to the question or to the maker-reserve caution cancels (exit 1), a
    // file that leaves lines out is refused (exit 1).
    const std::string part = File("part.hxq");
    {
        std::ifstream in(f, std::ios::binary);
        std::ofstream out(part, std::ios::binary);
        std::string line;
        for (int n = 0; n < 20 && std::getline(in, line); ++n)
            out << line << "\n";
    }
    struct Case {
        std::vector<std::string> tail;
        const char* answers;
        std::string err;
        const char* notAsked;
    };
    const Case cases[] = {
        {{f}, "n\n", "   Write to transceiver      [y/N]", ""},
        {{f, "--maker-reserve"},
         "n\n",
         "CAUTION ! 'Maker reserve' is activated now.",
         "Write to transceiver"},
        {{part},
         "y\n",
         part + " holds 18 of 128 lines; the rest would be the factory defaults.",
         "Write to transceiver"},
    };
    for (const Case& c : cases) {
        const CRun no = Run(Args({"write"}, radios.ports, c.tail), c.answers);
        EXPECT_EQ(no.exit, 1) << c.tail.back() << no.err;
        EXPECT_TRUE(Has(no.err, c.err)) << no.err;
        if (*c.notAsked) {
            EXPECT_FALSE(Has(no.err, c.notAsked)) << no.err;
        }
        EXPECT_FALSE(Has(no.out, "radios at once")) << no.out;
    }
    // The same port twice is a usage error.
    const CRun twice = Run({"info", "--port", radios.Path(0), "--port", radios.Path(0)});
    EXPECT_EQ(twice.exit, 2);
    EXPECT_TRUE(
        Has(twice.err, "port " + radios.Path(0) + " (" + radios.Path(0) + ") is given twice"))
        << twice.err;
}

// Ports whose names give one file name (links of one name in two folders) read into files
// numbered by their place instead, whatever other ports are called.
TEST_F(CliTest, FleetReadNumbersFilesOfPortsOfOneName) {
    const CRadios radios({{"--variant", "5"}, {"--variant", "5"}});
    ASSERT_TRUE(QDir(dir.path()).mkpath("a") && QDir(dir.path()).mkpath("b"));
    const std::string a = File("a/x"), b = File("b/x");
    ASSERT_EQ(::symlink(radios.Path(0).c_str(), a.c_str()), 0);
    ASSERT_EQ(::symlink(radios.Path(1).c_str(), b.c_str()), 0);
    // "/2" names its file "back-2.hxq", as the second numbered one would be.
    const CRun r = Run({"read", "--port", "/2", "--port", a, "--port", b, "-o", File("back.hxq"),
                        "--trace", File("t.txt")});
    EXPECT_EQ(r.exit, 91) << r.out << r.err;
    // A port that cannot be opened is told with the system's reason.
    EXPECT_TRUE(Has(r.out, "/2: 91 Err: Cannot access RS-232C port. /2: no such device.\n"))
        << r.out;
    EXPECT_TRUE(Has(r.out, a + ": 0 Cloning completed. Saved to " + File("back-2.hxq") + ".\n"))
        << r.out;
    EXPECT_TRUE(Has(r.out, b + ": 0 Cloning completed. Saved to " + File("back-3.hxq") + ".\n"))
        << r.out;
    // Each radio's trace is a file of its own, numbered alike.
    for (const char* t : {"t-2.txt", "t-3.txt"}) {
        const std::string text = ReadAll(File(t));
        EXPECT_TRUE(Has(text, "----- read on ")) << t;
        EXPECT_FALSE(Has(text.substr(text.find("----- read on ") + 1), "----- read on ")) << t;
    }
}

// Ctrl+C on the terminal reaches this program alone; it cancels every transfer once. Killed
// outright, each radio's run is cancelled too and cleans up, though its report has no reader.
TEST_F(CliTest, FleetCancelStopsEveryTransfer) {
    for (const int signal : {SIGINT, SIGKILL}) {
        const CRadios radios({{"--variant", "4", "--pace"}, {"--variant", "4", "--pace"}});
        QProcess p;
        Start(p, Args({"read"}, radios.ports, {"-o", File("c.hxq")}));
        ASSERT_TRUE(p.waitForStarted(5000));
        // Both transfers are in their data phase when each has its transfer file.
        for (int n = 0; n < 200 && OurTemporaryFiles() < 4; ++n)
            QThread::msleep(20);
        ASSERT_EQ(OurTemporaryFiles(), 4);
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(10000));
        if (signal == SIGINT) {
            const std::string out = p.readAllStandardOutput().toStdString();
            EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p.exitCode(), 1) << out;
            for (std::size_t i = 0; i < 2; ++i)
                EXPECT_TRUE(Has(out, radios.Path(i) + ": 1 Terminated cloning.\n")) << out;
        }
        for (int n = 0; n < 500 && OurTemporaryFiles() > 0; ++n)
            QThread::msleep(20);
        EXPECT_EQ(OurTemporaryFiles(), 0) << signal;
        EXPECT_TRUE(QDir(dir.path()).entryList({"c-*.hxq"}, QDir::Files).isEmpty());
    }
}
