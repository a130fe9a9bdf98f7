// nqz30sim: a simulated NQ-Z30 on a pseudo-terminal. Prints the device path on one line, then
// answers the cloning program (and the adjust utility) until it is stopped.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <string>

#include "clone/z30_default_data_manager.h"
#include "sim/hxq_file.h"
#include "sim/radio_model.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
// One byte at 9600 baud 8N1: ten bits.
constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

bool ParseInt(const std::string& text, int base, long* value) {
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(text.c_str(), &end, base);
    return !text.empty() && end && *end == 0 && errno == 0;
}

struct Options {
    bool pace = false;
    bool hangUp = false;
    std::string image;
    std::string log;
    long alignment = -1; // this radio's own alignment values
    std::string cable;   // the file that names the radio on the cable
};

// A radio's own alignment values: the factory's bytes 0x0000 to 0x006F, each moved a little by a
// pattern of the seed, as the alignment of two radios never quite agrees.
void OwnAlignment(CByteImage& image, unsigned long seed) {
    std::uint32_t x = static_cast<std::uint32_t>(seed) * 2654435761u + 0x9E3779B9u;
    for (std::uint32_t a = 0; a <= 0x6F; ++a) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        image.WriteByte(a, static_cast<std::uint8_t>(image.ReadByte(a) + (x % 5) - 2));
    }
}

// The radios that --cable swaps: each number a radio of its own, its memory kept while it is off
// the cable.
class CCableSwap {
public:
    CCableSwap(const Options& o, CSimRadio& radio) : m_options(o), m_radio(radio) {}
    // Puts the radio the file names on the cable when it is another one.
    void Check() {
        if (m_options.cable.empty()) return;
        std::ifstream in(m_options.cable);
        long n = 0;
        if (!(in >> n) || n == m_current) return;
        if (m_current >= 0) m_off[m_current].CopyFrom(m_radio.Image());
        auto it = m_off.find(n);
        if (it != m_off.end()) {
            m_radio.Image().CopyFrom(it->second);
        } else {
            m_radio.Image().CopyFrom(
                CZ30DefaultDataManager::FactoryImage(m_radio.Identity().variant));
            OwnAlignment(m_radio.Image(),
                         static_cast<unsigned long>(std::max(0L, m_options.alignment)) * 1000 +
                             static_cast<unsigned long>(n));
        }
        m_current = n;
    }

private:
    const Options& m_options;
    CSimRadio& m_radio;
    long m_current = -1;
    std::map<long, CByteImage> m_off;
};

// A validator for an integer option in a range, in the given base.
CLI::Validator Range(long lo, long hi, int base = 10) {
    return CLI::Validator(
        [=](std::string& s) {
            long v = 0;
            return ParseInt(s, base, &v) && v >= lo && v <= hi ? std::string()
                                                               : std::string("out of range");
        },
        base == 16 ? "HEX" : "N");
}

// Fills the options and the radio from the command line; an exit status when the run should end
// here (0 after --help or --version, 2 after a usage error).
std::optional<int> ParseArgs(int argc, char** argv, Options* o, CSimRadio* radio) {
    CLI::App app{
        "A simulated NQ-Z30 on a pseudo-terminal: prints the device path, then answers the "
        "cloning program and the adjust utility until it is stopped.",
        "nqz30sim"};
    app.get_formatter()->label("Usage", "usage");
    app.set_version_flag("--version", "nqz30sim " KT_VERSION);
    int variant = radio->Identity().variant;
    std::string revision, type, battery;
    std::vector<std::string> peaks;
    int stopAfter = -1, badChecksum = 0, badCount = 0, pullAfter = -1, temperature = -1,
        supply = -1;
    std::string corruptWrite;
    CSimFaults& f = radio->Faults();
    CSimIdentity& id = radio->Identity();
    app.add_flag("--pace", o->pace, "run the wire at 9600 baud (one shared wire)");
    app.add_option("--image", o->image,
                   "the radio's memory from FILE.hxq, kept up to date; without it (or while the "
                   "file does not exist) the factory defaults of the variant")
        ->type_name("FILE");
    app.add_option("--log", o->log, "record every frame in both directions")->type_name("FILE");
    app.add_option("--alignment", o->alignment,
                   "this radio's own alignment values (bytes 0x0000-0x006F), after a pattern of N")
        ->check(CLI::Range(0L, 1000000L));
    app.add_option("--cable", o->cable,
                   "the radio on the cable is the number in FILE, read as the PC sends;\n"
                   "each number is a radio of its own (its memory, its alignment values)")
        ->type_name("FILE");
    app.add_option("--variant", variant,
                   "0 LMR 1CH, 1 PMR 1CH, 2 LMR 2CH, 3 PMR 2CH, 4 LMR 16CH (default), 5 PMR 16CH")
        ->check(Range(0, 5));
    app.add_option("--revision", revision, "revision reported (default 0100)")
        ->check(Range(0, 0xEFEF, 16));
    app.add_option("--type", type, "transceiver type (default conv)")
        ->check(CLI::IsMember({"conv", "brs", "gmrs"}));
    app.add_flag(
        "--eeprom-error", [&](std::int64_t) { id.eepromGood = false; }, "report a failed EEPROM");
    app.add_flag("--over-voltage", id.overVoltage, "report over-voltage");
    app.add_flag("--no-echo", f.noEcho, "fault: the cable does not echo")->group("Faults");
    app.add_flag("--no-answer", f.noAnswer, "fault: echo, but the radio never answers")
        ->group("Faults");
    app.add_option("--stop-after", stopAfter, "fault: the radio goes silent after N data frames")
        ->check(Range(0, 1 << 20))
        ->group("Faults");
    app.add_option("--bad-checksum", badChecksum, "fault: data frame N carries a wrong checksum")
        ->check(Range(1, 1 << 20))
        ->group("Faults");
    app.add_option("--bad-count", badCount, "fault: data frame N carries a wrong count")
        ->check(Range(1, 1 << 20))
        ->group("Faults");
    app.add_flag("--lower-hex", f.lowerHex, "fault: data frames in lower-case hex")
        ->group("Faults");
    app.add_flag("--bad-end", f.badEndText, "fault: wrong end text")->group("Faults");
    app.add_flag("--fail-write", f.failWrite, "fault: the radio answers a write with E6 01")
        ->group("Faults");
    app.add_option("--corrupt-write", corruptWrite,
                   "fault: after a good write the radio holds another byte at ADDR (hex), so that "
                   "a read-back differs")
        ->check(Range(0, CSimRadio::kImageSize - 1, 16))
        ->type_name("ADDR")
        ->group("Faults");
    app.add_flag("--noise", f.noise, "fault: stray bytes before the radio's frames")
        ->group("Faults");
    app.add_option("--pull-after", pullAfter, "fault: the cable is pulled after N data frames")
        ->check(Range(0, 1 << 20))
        ->group("Faults");
    app.add_flag("--hang-up", o->hangUp,
                 "fault: a pulled cable hangs up the line (the device goes away)")
        ->group("Faults");
    app.add_option("--temperature", temperature, "service reading: temperature 0..255")
        ->check(Range(0, 255))
        ->group("Service readings (E8 command 3)");
    app.add_option("--supply", supply, "service reading: supply voltage 0..255")
        ->check(Range(0, 255))
        ->group("Service readings (E8 command 3)");
    app.add_option("--battery", battery, "battery type")
        ->check(CLI::IsMember({"nicd", "liion", "dry"}))
        ->group("Service readings (E8 command 3)");
    app.add_option("--filter-peak", peaks,
                   "filter F (1..4) passes most at tuning value V (-128..127)")
        ->type_name("F=V")
        ->group("Service readings (E8 command 3)");
    app.add_flag(
           "--invalid-answers", [&](std::int64_t) { radio->Service().SetInvalidAnswers(true); },
           "answer service readings with text that is not hexadecimal")
        ->group("Service readings (E8 command 3)");
    try {
        app.parse(argc, argv);
        for (const std::string& pair : peaks) {
            const std::size_t eq = pair.find('=');
            long filter = 0, value = 0;
            if (eq == std::string::npos || !ParseInt(pair.substr(0, eq), 10, &filter) ||
                !ParseInt(pair.substr(eq + 1), 10, &value) || filter < 1 || filter > 4 ||
                value < -128 || value > 127)
                throw CLI::ValidationError("--filter-peak", pair + " is not F=V (1..4, -128..127)");
            radio->Service().SetFilterPeak(static_cast<int>(filter - 1), static_cast<int>(value));
        }
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "nqz30sim: %s\nRun 'nqz30sim --help' for the options.\n", e.what());
        return 2;
    }
    id.variant = variant;
    long v = 0;
    if (!revision.empty() && ParseInt(revision, 16, &v))
        id.revision = static_cast<std::uint16_t>(v);
    if (type == "brs") id.trType = SimTrType::Brs;
    if (type == "gmrs") id.trType = SimTrType::Gmrs;
    f.stopAfter = stopAfter;
    f.badChecksumFrame = badChecksum;
    f.badCountFrame = badCount;
    f.pullAfter = pullAfter;
    if (!corruptWrite.empty() && ParseInt(corruptWrite, 16, &v))
        f.corruptWrite = static_cast<int>(v);
    if (temperature >= 0) radio->Service().SetTemperatureReading(temperature);
    if (supply >= 0) radio->Service().SetSupplyReading(supply);
    if (battery == "nicd") radio->Service().SetBattery(CSimServiceModel::Battery::NiCd);
    if (battery == "liion") radio->Service().SetBattery(CSimServiceModel::Battery::LiIon);
    if (battery == "dry") radio->Service().SetBattery(CSimServiceModel::Battery::Dry);
    return std::nullopt;
}

int OpenPty(std::string* path, int* slave) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return -1;
    const char* name = ptsname(master);
    if (!name) return -1;
    *path = name;
    // Our own slave descriptor keeps the pair alive between the PC's opens and makes the line raw
    // until the PC sets it up.
    *slave = open(name, O_RDWR | O_NOCTTY);
    if (*slave >= 0) {
        termios tio{};
        if (tcgetattr(*slave, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(*slave, TCSANOW, &tio);
        }
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return master;
}

} // namespace

int main(int argc, char** argv) {
    CSimRadio radio;
    Options options;
    if (const std::optional<int> exit = ParseArgs(argc, argv, &options, &radio)) return *exit;
    // The memory matches the identity: the variant's factory defaults unless a file is given.
    radio.Image().CopyFrom(CZ30DefaultDataManager::FactoryImage(radio.Identity().variant));
    if (!options.image.empty() && std::ifstream(options.image).good()) {
        std::string error;
        if (!SimLoadHxq(options.image, &radio.Image(), &error)) {
            std::fprintf(stderr, "nqz30sim: %s: %s\n", options.image.c_str(), error.c_str());
            return 2;
        }
    }
    if (options.alignment >= 0 && options.cable.empty())
        OwnAlignment(radio.Image(), static_cast<unsigned long>(options.alignment) * 1000);
    CCableSwap cable(options, radio);
    cable.Check();
    std::ofstream log;
    if (!options.log.empty()) {
        log.open(options.log, std::ios::trunc);
        if (!log) {
            std::fprintf(stderr, "nqz30sim: cannot write %s\n", options.log.c_str());
            return 2;
        }
        radio.SetLog(&log);
    }
    if (!options.image.empty()) {
        radio.onImageWritten = [&](const CByteImage& image) {
            std::string error;
            if (!SimSaveHxq(options.image, image, &error))
                std::fprintf(stderr, "nqz30sim: cannot save %s: %s\n", options.image.c_str(),
                             error.c_str());
        };
    }

    std::string path;
    int slave = -1;
    const int master = OpenPty(&path, &slave);
    if (master < 0) {
        std::perror("nqz30sim: pseudo-terminal");
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);

    struct Pending {
        Clock::time_point due;
        std::uint8_t byte;
    };
    std::deque<Pending> outgoing;
    Clock::time_point wireFree = Clock::now();
    std::vector<CSimWireByte> wire;
    std::uint8_t buffer[512];
    while (!g_stop) {
        int timeoutMs = 200;
        const auto now = Clock::now();
        if (!outgoing.empty()) {
            const auto wait =
                std::chrono::duration_cast<std::chrono::microseconds>(outgoing.front().due - now);
            timeoutMs = wait.count() <= 0 ? 0 : static_cast<int>((wait.count() + 999) / 1000);
        }
        pollfd pfd{master, POLLIN, 0};
        const int ready = poll(&pfd, 1, timeoutMs);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (pfd.revents & POLLIN)) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            // The radio on the cable may be another one now.
            if (n > 0) cable.Check();
            if (n > 0) {
                wire.clear();
                radio.FromPc(buffer, static_cast<std::size_t>(n), &wire);
                const auto arrived = Clock::now();
                for (const auto& w : wire) {
                    if (options.pace) {
                        wireFree = std::max(wireFree, arrived) + kByteTime;
                        outgoing.push_back({wireFree, w.byte});
                    } else {
                        outgoing.push_back({arrived, w.byte});
                    }
                }
            }
        }
        // Send what is due, in one write.
        std::uint8_t due[4096];
        std::size_t count = 0;
        const auto t = Clock::now();
        while (!outgoing.empty() && outgoing.front().due <= t && count < sizeof due) {
            due[count++] = outgoing.front().byte;
            outgoing.pop_front();
        }
        std::size_t done = 0;
        while (done < count) {
            const ssize_t w = write(master, due + done, count - done);
            if (w > 0)
                done += static_cast<std::size_t>(w);
            else if (w < 0 && errno != EAGAIN && errno != EINTR)
                break;
            else
                usleep(1000);
        }
        // What went out before the pull has reached the PC; now the device goes away.
        if (options.hangUp && radio.CablePulled() && outgoing.empty()) break;
    }
    if (slave >= 0) close(slave);
    close(master);
    return 0;
}
