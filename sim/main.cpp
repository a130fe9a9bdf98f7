// nqz30sim: a simulated NQ-Z30 on a pseudo-terminal. Prints the device path on one line, then
// answers the cloning program (and the adjust utility) until it is stopped.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <string>

#include "sim/hxq_file.h"
#include "sim/radio_model.h"

namespace {

using Clock = std::chrono::steady_clock;
// One byte at 9600 baud 8N1: ten bits.
constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

constexpr const char* kUsage =
    "usage: nqz30sim [options]\n"
    "  --pace               run the wire at 9600 baud (one shared wire)\n"
    "  --image FILE.hxq     load the radio's image from FILE and keep it up to date\n"
    "  --log FILE           record every frame in both directions\n"
    "  --variant N          0 LMR 1CH, 1 PMR 1CH, 2 LMR 2CH, 3 PMR 2CH, 4 LMR 16CH, 5 PMR 16CH\n"
    "  --revision HEX       revision reported (default 0100)\n"
    "  --type conv|brs|gmrs transceiver type (default conv)\n"
    "  --eeprom-error       report a failed EEPROM\n"
    "  --over-voltage       report over-voltage\n"
    "faults:\n"
    "  --no-echo            the cable does not echo\n"
    "  --no-answer          echo, but the radio never answers\n"
    "  --stop-after N       the radio goes silent after N data frames\n"
    "  --bad-checksum N     data frame N carries a wrong checksum\n"
    "  --bad-count N        data frame N carries a wrong count\n"
    "  --lower-hex          data frames in lower-case hex\n"
    "  --bad-end            wrong end text\n"
    "  --fail-write         the radio answers a write with E6 01\n"
    "  --noise              stray bytes before the radio's frames\n"
    "  --pull-after N       the cable is pulled after N data frames\n"
    "service readings (E8 command 3):\n"
    "  --temperature RAW    temperature reading 0..255\n"
    "  --supply RAW         supply voltage reading 0..255\n"
    "  --battery nicd|liion|dry  battery type\n"
    "  --filter-peak F=V    filter F (1..4) passes most at tuning value V (-128..127)\n"
    "  --invalid-answers    answer service readings with text that is not hexadecimal\n";

bool ParseInt(const char* text, int base, long* value) {
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(text, &end, base);
    return text[0] && end && *end == 0 && errno == 0;
}

struct Options {
    bool pace = false;
    std::string image;
    std::string log;
};

bool ParseArgs(int argc, char** argv, Options* o, CSimRadio* radio) {
    auto& id = radio->Identity();
    auto& f = radio->Faults();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        long v = 0;
        auto number = [&](int base, long lo, long hi) {
            if (!next || !ParseInt(next, base, &v) || v < lo || v > hi) return false;
            ++i;
            return true;
        };
        if (a == "--pace")
            o->pace = true;
        else if (a == "--image" && next)
            o->image = argv[++i];
        else if (a == "--log" && next)
            o->log = argv[++i];
        else if (a == "--variant" && number(10, 0, 5))
            id.variant = static_cast<int>(v);
        else if (a == "--revision" && number(16, 0, 0xEFEF))
            id.revision = static_cast<std::uint16_t>(v);
        else if (a == "--type" && next) {
            const std::string t = argv[++i];
            if (t == "conv")
                id.trType = SimTrType::Conventional;
            else if (t == "brs")
                id.trType = SimTrType::Brs;
            else if (t == "gmrs")
                id.trType = SimTrType::Gmrs;
            else
                return false;
        } else if (a == "--eeprom-error")
            id.eepromGood = false;
        else if (a == "--over-voltage")
            id.overVoltage = true;
        else if (a == "--no-echo")
            f.noEcho = true;
        else if (a == "--no-answer")
            f.noAnswer = true;
        else if (a == "--stop-after" && number(10, 0, 1 << 20))
            f.stopAfter = static_cast<int>(v);
        else if (a == "--bad-checksum" && number(10, 1, 1 << 20))
            f.badChecksumFrame = static_cast<int>(v);
        else if (a == "--bad-count" && number(10, 1, 1 << 20))
            f.badCountFrame = static_cast<int>(v);
        else if (a == "--lower-hex")
            f.lowerHex = true;
        else if (a == "--bad-end")
            f.badEndText = true;
        else if (a == "--fail-write")
            f.failWrite = true;
        else if (a == "--noise")
            f.noise = true;
        else if (a == "--pull-after" && number(10, 0, 1 << 20))
            f.pullAfter = static_cast<int>(v);
        else if (a == "--temperature" && number(10, 0, 255))
            radio->Service().SetTemperatureReading(static_cast<int>(v));
        else if (a == "--supply" && number(10, 0, 255))
            radio->Service().SetSupplyReading(static_cast<int>(v));
        else if (a == "--battery" && next) {
            const std::string b = argv[++i];
            if (b == "nicd")
                radio->Service().SetBattery(CSimServiceModel::Battery::NiCd);
            else if (b == "liion")
                radio->Service().SetBattery(CSimServiceModel::Battery::LiIon);
            else if (b == "dry")
                radio->Service().SetBattery(CSimServiceModel::Battery::Dry);
            else
                return false;
        } else if (a == "--filter-peak" && next) {
            const std::string pair = argv[++i];
            const std::size_t eq = pair.find('=');
            long filter = 0, value = 0;
            if (eq == std::string::npos || !ParseInt(pair.substr(0, eq).c_str(), 10, &filter) ||
                !ParseInt(pair.substr(eq + 1).c_str(), 10, &value) || filter < 1 || filter > 4 ||
                value < -128 || value > 127)
                return false;
            radio->Service().SetFilterPeak(static_cast<int>(filter - 1), static_cast<int>(value));
        } else if (a == "--invalid-answers")
            radio->Service().SetInvalidAnswers(true);
        else
            return false;
    }
    return true;
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
    if (!ParseArgs(argc, argv, &options, &radio)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!options.image.empty() && std::ifstream(options.image).good()) {
        std::string error;
        if (!SimLoadHxq(options.image, &radio.Image(), &error)) {
            std::fprintf(stderr, "nqz30sim: %s: %s\n", options.image.c_str(), error.c_str());
            return 2;
        }
    }
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
    }
    if (slave >= 0) close(slave);
    close(master);
    return 0;
}
