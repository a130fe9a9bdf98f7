// An in-memory cloning cable: a serial device whose other end is the simulated radio.
#pragma once

#include <deque>
#include <vector>

#include "core/platform.h"
#include "sim/radio_model.h"

class CSimLink final : public ISerialDevice {
public:
    // clock: when given, waiting for input that never comes advances it instead of sleeping.
    explicit CSimLink(CSimRadio& radio, IClock* clock = nullptr) : m_radio(radio), m_clock(clock) {}

    bool Open(const std::string& device, unsigned baud, std::string* error) override;
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    bool SetDtr(bool) override { return false; }
    bool SetRts(bool) override { return false; }
    void Purge() override { m_input.clear(); }
    long BytesAvailable() override;
    long Read(std::uint8_t* buffer, std::size_t max) override;
    long Write(const std::uint8_t* data, std::size_t count) override;
    bool WaitForInput(int ms) override;
    long BytesToWrite() override { return 0; }

    // Test controls: refuse to open, fail reads, and count what was written.
    bool refuseOpen = false;
    bool failReads = false;
    std::vector<std::string> opened;
    std::size_t bytesWritten = 0;

private:
    CSimRadio& m_radio;
    IClock* m_clock;
    bool m_open = false;
    std::deque<std::uint8_t> m_input;
};
