// The adjust utility's receive path: whatever arrives on the cable, the driver neither crashes
// nor reports anything but its error codes 0 to 4. The first byte picks the exchange and how
// the rest is cut into chunks.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "adjust/eeprom.h"
#include "adjust/frm_com.h"
#include "adjust/profile_io.h"
#include "core/platform.h"

namespace {

class FixedClock : public IClock {
public:
    std::uint64_t now = 5000;
    std::uint64_t NowMs() override { return now; }
    void SleepMs(unsigned ms) override { now += ms; }
};

class OpenLine : public ISerialDevice {
public:
    bool Open(const std::string&, unsigned, std::string*) override { return open = true; }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    bool SetDtr(bool) override { return true; }
    bool SetRts(bool) override { return true; }
    void Purge() override {}
    long BytesAvailable() override { return 0; }
    long Read(std::uint8_t*, std::size_t) override { return 0; }
    long Write(const std::uint8_t*, std::size_t count) override { return static_cast<long>(count); }
    bool WaitForInput(int) override { return false; }
    long BytesToWrite() override { return 0; }
    bool open = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FixedClock clock;
    frmCom com(&clock);
    com.SetDevice(std::make_unique<OpenLine>());
    com.comOpen(true);
    clsCmcEeprom eep;
    clsCmcHxq3Drv& drv = com.Driver();
    drv.myEep(&eep);
    static constexpr std::int16_t kModes[] = {1, 2, 5};
    const std::uint8_t sel = data[0];
    drv.workMode(kModes[sel % 3]);
    if (kModes[sel % 3] == 5) drv.waitAnswer(sel & 0x08);
    drv.retryCount(2);
    static const std::uint8_t kCommands[3][8] = {{0xE0, 0x58, 0x27, 0x00, 0x00},
                                                 {0xE2, 0x58, 0x27, 0x01, 0x00},
                                                 {0xE8, 0x58, 0x27, 0x01, 0x00, 0x03, 0x30, 0x31}};
    const std::uint8_t* cmd = kCommands[sel % 3];
    drv.Send(ByteStr(cmd, cmd + (sel % 3 == 2 ? 8 : 5)));
    // When the top bit is set the echo is put in front, so the answer path is reached too.
    ByteStr input;
    if (sel & 0x80) {
        input = {0xFE, 0xFE, 0xEE, 0xEF};
        input.insert(input.end(), cmd, cmd + (sel % 3 == 2 ? 8 : 5));
        input.push_back(0xFD);
    }
    input.insert(input.end(), data + 1, data + size);
    const std::size_t step = 1 + ((sel >> 2) & 0x1F);
    for (std::size_t i = 0; i < input.size(); i += step) {
        const std::size_t n = std::min(step, input.size() - i);
        drv.read(ByteStr(input.begin() + static_cast<std::ptrdiff_t>(i),
                         input.begin() + static_cast<std::ptrdiff_t>(i + n)));
        if (drv.lastError() < 0 || drv.lastError() > 4) std::abort();
        if (i % 7 == 0) {
            clock.now += 400;
            drv.task();
        }
    }
    if (drv.lastError() < 0 || drv.lastError() > 4) std::abort();
    // The constants file parser takes the same bytes.
    ParseConstIni(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
