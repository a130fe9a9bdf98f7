// Clone read and write through a real pseudo-terminal against `nqz30sim --pace`: wall time
// against the wire time at 9600 baud plus the protocol's own pauses, and the engine's CPU time
// against its wall time. Also a read with the serial trace on, and a whole write with its
// verification as the document runs it (info, write, info, read). The fleet rows: `ktz30cli
// write` to 16 radios at once against the same write to one radio, whole runs of the program,
// wall time, CPU and memory per radio; and `--sequence` of 4 radios on one cable (the Enters
// typed ahead, so no waiting) against four times a read and a verified write.
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include "app/clone_support_doc.h"
#include "clone/clone_protocol.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/clone_trace.h"
#include "clone/model_manager.h"
#include "platform/serial_device.h"

namespace {

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double WallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Bytes of every frame in the log (both directions share the wire; echoes ride on the PC's).
// The info exchange runs within the pause after its request: its frames can be left out.
long WireBytes(const std::string& logPath, bool withInfo = true) {
    std::ifstream in(logPath);
    long bytes = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        std::vector<std::string> frame;
        while (words >> word)
            frame.push_back(word);
        if (!withInfo && frame.size() > 4 && (frame[4] == "E0" || frame[4] == "E1")) continue;
        bytes += static_cast<long>(frame.size());
    }
    return bytes;
}

struct Figures {
    double wall, cpu, wire, pauses;
};

void Report(const char* what, const Figures& f) {
    const double expected = f.wire + f.pauses;
    std::printf("%-12s wall %.3f s, wire %.3f s + pauses %.3f s = %.3f s, wall/expected %+.2f %%, "
                "CPU %.3f s = %.2f %% of wall\n",
                what, f.wall, f.wire, f.pauses, expected, (f.wall / expected - 1) * 100, f.cpu,
                f.cpu / f.wall * 100);
}

#ifdef KT_KTZ30CLI
// CPU seconds of the children that have ended (and theirs).
double ChildCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

// Paced simulated radios of one variant; their devices.
struct CRadios {
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList ports;
    explicit CRadios(int count) {
        for (int i = 0; i < count; ++i) {
            sims.push_back(std::make_unique<QProcess>());
            sims.back()->start(QStringLiteral(KT_NQZ30SIM), {"--pace", "--variant", "5"});
            if (sims.back()->waitForStarted(5000) && sims.back()->waitForReadyRead(5000))
                ports << QStringLiteral("--port") << sims.back()->readLine().trimmed();
        }
    }
    ~CRadios() {
        for (auto& s : sims) {
            s->terminate();
            s->waitForFinished(3000);
        }
    }
    CRadios(const CRadios&) = delete;
    CRadios& operator=(const CRadios&) = delete;
};

// One run of ktz30cli; false when it did not end with 0.
bool RunCli(const QTemporaryDir& dir, const QStringList& args, double* wall, double* cpu,
            const QString& input = {}) {
    QProcess cli;
    if (!input.isEmpty()) cli.setStandardInputFile(input);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.filePath("config")); // the user's settings stay as they are
    cli.setProcessEnvironment(env);
    const double cpu0 = ChildCpuSeconds(), wall0 = WallSeconds();
    cli.start(QStringLiteral(KT_KTZ30CLI), args);
    const bool ok = cli.waitForFinished(300000) && cli.exitStatus() == QProcess::NormalExit &&
                    cli.exitCode() == 0;
    *wall = WallSeconds() - wall0;
    *cpu = ChildCpuSeconds() - cpu0;
    if (!ok) std::fprintf(stderr, "%s", cli.readAllStandardError().constData());
    return ok;
}

// The largest resident size of a child that has ended, in KiB.
long ChildPeakKiB() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_maxrss;
}

// The fleet row: the write of one file to 16 radios against its write to one.
bool ReportFleet(const QTemporaryDir& dir) {
    constexpr int kRadios = 16;
    const QString file = dir.filePath("fleet.hxq");
    double wall1 = 0, cpu1 = 0, wallN = 0, cpuN = 0;
    if (!RunCli(dir, {"new", "--variant", "5", "-o", file}, &wall1, &cpu1)) return false;
    CRadios one(1), many(kRadios);
    if (one.ports.size() != 2 || many.ports.size() != 2 * kRadios) return false;
    if (!RunCli(dir, QStringList{"write"} + one.ports + QStringList{file, "--yes"}, &wall1,
                &cpu1) ||
        !RunCli(dir, QStringList{"write"} + many.ports + QStringList{file, "--yes"}, &wallN, &cpuN))
        return false;
    std::printf("fleet  1 radio wall %.3f s, CPU %.3f s = %.2f %% of wall; %d radios wall %.3f s "
                "= %.3f x one radio (target <= 1.10), CPU per radio %.3f s = %.2f %% of wall "
                "(target <= 3 %%)\n",
                wall1, cpu1, cpu1 / wall1 * 100, kRadios, wallN, wallN / wall1, cpuN / kRadios,
                cpuN / kRadios / wallN * 100);
    std::printf("fleet  memory per radio: the largest ktz30cli's peak resident size %ld KiB\n",
                ChildPeakKiB());
    return true;
}

// The sequence row: 4 radios one after another on one cable (the same paced radio, each time
// read, written and verified; brought back, it is written again with --yes), the Enters typed
// ahead on a terminal, against four times a read and a verified write.
bool ReportSequence(const QTemporaryDir& dir) {
    constexpr int kRadios = 4;
    const QString file = dir.filePath("fleet.hxq");
    CRadios radio(1);
    if (radio.ports.size() != 2) return false;
    double wallRead = 0, cpu = 0, wallWrite = 0, wallSequence = 0;
    if (!RunCli(dir, QStringList{"read"} + radio.ports + QStringList{"-o", dir.filePath("r.hxq")},
                &wallRead, &cpu) ||
        !RunCli(dir, QStringList{"write"} + radio.ports + QStringList{file, "--yes"}, &wallWrite,
                &cpu))
        return false;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return false;
    const std::string enters(kRadios, '\n');
    if (::write(master, enters.data(), enters.size()) != static_cast<ssize_t>(enters.size()))
        return false;
    const bool ok =
        RunCli(dir,
               QStringList{"write", file} + radio.ports +
                   QStringList{"--sequence", "--count", QString::number(kRadios), "--yes"},
               &wallSequence, &cpu, QString::fromLatin1(::ptsname(master)));
    ::close(master);
    if (!ok) return false;
    const double one = wallRead + wallWrite;
    std::printf("sequence %d radios wall %.3f s; one radio read %.3f s + write+verify %.3f s = "
                "%.3f s; sequence = %.3f x %d radios (target <= 1.05)\n",
                kRadios, wallSequence, wallRead, wallWrite, one, wallSequence / (kRadios * one),
                kRadios);
    return true;
}
#endif
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string log = dir.filePath("wire.log").toStdString();
    QProcess sim;
    sim.start(QStringLiteral(KT_NQZ30SIM),
              {"--pace", "--log", QString::fromStdString(log), "--image", dir.filePath("r.hxq")});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "clone_timing: nqz30sim did not start\n");
        return 1;
    }
    const std::string pty = sim.readLine().trimmed().toStdString();

    Platform().serialFactory = MakeQtSerialDevice;
    CCloneProtocol engine;
    engine.SetPortName(pty);
    engine.SetModelCode(0x5827);
    engine.SetRevision(0x0100);
    engine.SetExpectedFrameCount(128);
    engine.SetTransferFile(dir.filePath("cl.tmp").toStdString());
    constexpr double kByteSeconds = 10.0 / 9600.0;
    constexpr double kPause = CCloneProtocol::kRequestPauseMs / 1000.0;
    constexpr double kClose = CCloneProtocol::kClosePauseMs / 1000.0;
    // Progress windows exist for reads and writes, so the closing pause is always paid.
    Platform().progressFactory = [] {
        struct CNoProgress final : ITransferProgress {
            void SetPercent(int) override {}
            void PumpMessages() override {}
            bool TakeCancelRequest() override { return false; }
        };
        return std::unique_ptr<ITransferProgress>(new CNoProgress);
    };

    // Both pause before the request. In a read the pause after it runs while the radio already
    // answers; a write pauses after the request and again after its echo. An info exchange
    // (without a progress window) is its two pauses: its frames pass within the second.
    const double readPauses = kPause + kClose, writePauses = 3 * kPause + kClose;
    const double infoPauses = 2 * kPause;

    int failures = 0;
    auto measure = [&](const char* what, const std::function<int()>& transfer, double pauses,
                       bool withInfo) {
        std::ofstream(log, std::ios::trunc).close();
        const double cpu0 = CpuSeconds(), wall0 = WallSeconds();
        const int result = transfer();
        const double wall = WallSeconds() - wall0, cpu = CpuSeconds() - cpu0;
        sim.waitForReadyRead(100); // let the log settle
        if (result != 0) {
            std::fprintf(stderr, "clone_timing: %s failed with %d\n", what, result);
            ++failures;
            return;
        }
        Report(what, {wall, cpu, WireBytes(log, withInfo) * kByteSeconds, pauses});
    };
    measure(
        "read", [&] { return engine.CloneRead(); }, readPauses, true);
    measure(
        "write", [&] { return engine.CloneWrite(); }, writePauses, true);

    // The trace as ktz30 keeps it: every line in memory and in a file.
    CCloneTrace trace;
    trace.KeepInMemory(50000);
    std::string error;
    if (!trace.OpenFile(dir.filePath("trace.txt").toStdString(), &error))
        std::fprintf(stderr, "clone_timing: %s\n", error.c_str());
    engine.SetFrameObserver(&trace);
    measure(
        "read+trace", [&] { return engine.CloneRead(); }, readPauses, true);
    engine.SetFrameObserver(nullptr);

    // The document's write with its verification: info, write, info, read; no beeps.
    Platform().beeper = nullptr;
    CZ30Doc doc;
    doc.SetRememberVariant(false);
    doc.GetCloneManager()->GetModelManager()->SetVariant(4, true); // the simulator's variant
    CCloneRsIoManager* io = doc.GetCloneManager()->GetCloneRsIoManager();
    io->SetPortName(pty);
    io->SetVerifyAfterWrite(true);
    measure(
        "write+verify", [&] { return doc.OnCloneWrite(); },
        2 * infoPauses + writePauses + readPauses, false);
    sim.terminate();
    sim.waitForFinished(3000);
#ifdef KT_KTZ30CLI
    if (!ReportFleet(dir)) {
        std::fprintf(stderr, "clone_timing: the fleet write failed\n");
        ++failures;
    }
    if (!ReportSequence(dir)) {
        std::fprintf(stderr, "clone_timing: the sequence failed\n");
        ++failures;
    }
#endif
    return failures ? 1 : 0;
}
