// One cable, many radios: ktz30cli write --sequence against a simulated radio whose place on the
// cable the test swaps, with a pseudo-terminal as the terminal it asks on.
#include "tests/cli/cli_fixture.h"
#include "tests/support/file_text.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace {

// A terminal for the run's standard input: the test types into its master side.
struct CTerminal {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::string slave;
    CTerminal() {
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = ::ptsname(master);
    }
    ~CTerminal() {
        if (master >= 0) ::close(master);
    }
    void Type(const std::string& text) const {
        EXPECT_EQ(::write(master, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
};

// Waits until both streams together hold text after from; returns where it ends.
std::size_t WaitFor(QProcess& p, std::string& seen, const std::string& text, std::size_t from) {
    QElapsedTimer t;
    t.start();
    while (seen.find(text, from) == std::string::npos && t.elapsed() < 20000) {
        p.waitForReadyRead(100);
        seen += p.readAllStandardOutput().toStdString();
        seen += p.readAllStandardError().toStdString();
    }
    const std::size_t at = seen.find(text, from);
    EXPECT_NE(at, std::string::npos) << "waited for: " << text << "\n" << seen;
    return at == std::string::npos ? seen.size() : at + text.size();
}

constexpr char kTx[] = "5ToneCodeCH.TXCodeCH.CH1.TxCode";

} // namespace

// Three radios one after another with numbered codes; the first brought back is recognised and
// left alone, the number it would have got goes to the next radio; q ends the run.
TEST_F(CliTest, FleetSequenceWritesRadioAfterRadio) {
    const std::string cable = File("cable");
    const auto put = [&](int radio) { std::ofstream(cable) << radio << "\n"; };
    put(1);
    const CSim sim(
        {"--variant", "5", "--cable", QString::fromStdString(cable), "--alignment", "7"});
    const std::string f = MakeFile("shop.hxq", 5);
    CTerminal terminal;
    ASSERT_FALSE(terminal.slave.empty());
    QProcess p;
    p.setStandardInputFile(QString::fromStdString(terminal.slave));
    Start(p, {"write", f, "--port", sim.Path(), "--sequence", "--count", "4", "--number",
              std::string(kTx) + "=00101", "--report", File("r.csv")});
    std::string seen;
    std::size_t at = WaitFor(p, seen, "Radio 1 of 4 next: " + std::string(kTx) + "=00101", 0);
    terminal.Type("\n");
    at = WaitFor(p, seen, "Radio 1: 0 Cloning completed. Verified.", at);
    put(2);
    at = WaitFor(p, seen, "Radio 2 of 4 next: " + std::string(kTx) + "=00102", at);
    terminal.Type("\n");
    at = WaitFor(p, seen, "Radio 2: 0 Cloning completed. Verified.", at);
    put(1);
    at = WaitFor(p, seen, "Radio 3 of 4 next", at);
    terminal.Type("\n");
    at = WaitFor(p, seen, "The radio on the cable is radio 1 (fingerprint ", at);
    terminal.Type("n\n");
    at = WaitFor(p, seen, "Radio 1 left as it is; radio 3 is next", at);
    put(3);
    at = WaitFor(p, seen, "Radio 3 of 4 next: " + std::string(kTx) + "=00103", at);
    terminal.Type("\n");
    at = WaitFor(p, seen, "Radio 3: 0 Cloning completed. Verified.", at);
    at = WaitFor(p, seen, "Radio 4 of 4 next", at);
    terminal.Type("q\n");
    ASSERT_TRUE(p.waitForFinished(20000));
    seen += p.readAll().toStdString();
    EXPECT_EQ(p.exitCode(), 0) << seen;
    EXPECT_TRUE(Has(seen, "ktz30cli write: 3 radios written")) << seen;
    // Each radio holds its own code, and each was read (backed up) before it was written.
    for (int radio = 1; radio <= 3; ++radio) {
        put(radio);
        const std::string back = File(("back" + std::to_string(radio) + ".hxq").c_str());
        const CRun r = Run({"read", "--port", sim.Path(), "-o", back, "--no-backup"});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(Get(back, kTx), "0010" + std::to_string(radio));
    }
    const std::string csv = ReadAll(File("r.csv"));
    EXPECT_TRUE(Has(csv, ",0,Cloning completed. Verified.,yes,")) << csv;
    EXPECT_TRUE(Has(csv, "4," + sim.Path() + ",,,1,not started,not asked,,00104,\r\n")) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5) << csv;
    // Four reads: the three radios and the one brought back.
    EXPECT_EQ(QDir(dir.filePath("data/Norq/KT-Z30/backups")).entryList({"*_read_*"}).size(), 4);

    // Without a terminal to ask on, nothing is written.
    const CRun none = Run({"write", f, "--port", sim.Path(), "--sequence"});
    EXPECT_EQ(none.exit, 2);
    EXPECT_TRUE(Has(none.err, "standard input is not a terminal; nothing written")) << none.err;
}
