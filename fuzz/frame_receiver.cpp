// Random bytes from the radio into a clone read, info or write in progress. The first input byte
// picks the transfer and how the bytes are dealt out over the PC's frames.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "clone/clone_protocol.h"
#include "tests/support/step_clock.h"

namespace {

// Echoes what the PC sends (unless told not to) and answers with the next slice of the input.
class CFuzzRadio final : public ISerialDevice {
public:
    CFuzzRadio(const std::uint8_t* data, std::size_t size, bool echo, std::size_t slice,
               IClock& clock)
        : m_data(data), m_size(size), m_echo(echo), m_slice(slice ? slice : 1), m_clock(clock) {}
    bool Open(const std::string&, unsigned, std::string*) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    bool SetDtr(bool) override { return false; }
    bool SetRts(bool) override { return false; }
    void Purge() override {}
    long BytesAvailable() override { return static_cast<long>(m_input.size()); }
    long Read(std::uint8_t* buffer, std::size_t max) override {
        std::size_t n = 0;
        for (; n < max && !m_input.empty(); ++n, m_input.pop_front())
            buffer[n] = m_input.front();
        return static_cast<long>(n);
    }
    long Write(const std::uint8_t* data, std::size_t count) override {
        if (m_echo) m_input.insert(m_input.end(), data, data + count);
        for (std::size_t i = 0; i < m_slice && m_next < m_size; ++i)
            m_input.push_back(m_data[m_next++]);
        return static_cast<long>(count);
    }
    bool WaitForInput(int ms) override {
        if (m_input.empty() && m_next < m_size) {
            for (std::size_t i = 0; i < m_slice && m_next < m_size; ++i)
                m_input.push_back(m_data[m_next++]);
        }
        if (m_input.empty()) m_clock.SleepMs(static_cast<unsigned>(ms));
        return !m_input.empty();
    }
    long BytesToWrite() override { return 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size, m_next = 0;
    bool m_echo;
    std::size_t m_slice;
    IClock& m_clock;
    std::deque<std::uint8_t> m_input;
};

std::string TransferPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("fuzz_frames_" + std::to_string(getpid())))
            .string();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t control = data[0];
    static const int kTypes[] = {CCloneProtocol::kTransferRead, CCloneProtocol::kTransferInfo,
                                 CCloneProtocol::kTransferWrite};
    const int type = kTypes[(control & 3) % 3];
    const bool echo = (control & 4) == 0;
    const std::size_t slice = 1u + (control >> 3) * 8u;

    CStepClock clock;
    ResetPlatform();
    Platform().clock = &clock;
    Platform().serialFactory = [&]() -> std::unique_ptr<ISerialDevice> {
        return std::make_unique<CFuzzRadio>(data + 1, size - 1, echo, slice, clock);
    };
    const std::string path = TransferPath();
    if (type == CCloneProtocol::kTransferWrite) {
        std::ofstream out(path, std::ios::trunc);
        out << "58270100\n#\n007010733A2400000000F80A0E0F0000048000\n"
               "00801000000000000000000000000000000000\n";
    }
    CCloneProtocol engine;
    engine.SetModelCode(0x5827);
    engine.SetRevision(0x0100);
    engine.SetExpectedFrameCount(128);
    engine.SetTransferFile(path);
    const int result = type == CCloneProtocol::kTransferRead   ? engine.CloneRead()
                       : type == CCloneProtocol::kTransferInfo ? engine.CloneInfo()
                                                               : engine.CloneWrite();
    const int status = engine.LastStatus();
    const bool resultOk = result == 0 || result == 1 || result == 77 || result == 80;
    const bool statusOk = status == 2 || status == 80 || status == 81 || status == 82;
    if (!resultOk || !statusOk || (result == 0) != (status == 2) ||
        engine.InfoReply().dataLength > CByteString::kCapacity) {
        std::fprintf(stderr, "frame_receiver: result %d, status %d\n", result, status);
        std::abort();
    }
    std::filesystem::remove(path);
    ResetPlatform();
    return 0;
}
