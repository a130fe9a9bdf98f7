// Test doubles for the adjust utility: a fake clock, recorded prompts and a small NQ-Z30 on
// the other end of the cable (echo, E1 identity, clone read, E8 through the service model).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/platform.h"
#include "sim/service_model.h"

class FakeClock : public IClock {
public:
    std::uint64_t now = 1000;
    std::uint64_t NowMs() override { return now; }
    void SleepMs(unsigned ms) override { now += ms; }
};

// Settings of one test, kept in memory.
class MemorySettings : public ISettingsStore {
public:
    std::map<std::string, std::string> values;
    int GetInt(const std::string& s, const std::string& k, int def) override {
        const auto it = values.find(s + "/" + k);
        return it == values.end() ? def : std::atoi(it->second.c_str());
    }
    void SetInt(const std::string& s, const std::string& k, int v) override {
        values[s + "/" + k] = std::to_string(v);
    }
    std::string GetString(const std::string& s, const std::string& k,
                          const std::string& def) override {
        const auto it = values.find(s + "/" + k);
        return it == values.end() ? def : it->second;
    }
    void SetString(const std::string& s, const std::string& k, const std::string& v) override {
        values[s + "/" + k] = v;
    }
};

class RecordingPrompts : public IUserPrompts {
public:
    std::vector<std::string> messages;
    // Runs while a box is up, as the event loop of a modal box does.
    std::function<void()> whileShown;
    KtAnswer MessageBox(const std::string& text, const std::string&, KtButtons, KtIcon) override {
        messages.push_back(text);
        if (whileShown) whileShown();
        return KtAnswer::Ok;
    }
    void SetStatusText(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

class CountingBeeper : public IBeeper {
public:
    int beeps = 0;
    void Beep(unsigned, unsigned) override { ++beeps; }
};

struct SentFrame {
    std::uint64_t at;
    std::vector<std::uint8_t> bytes;
};

class FakeRadio : public ISerialDevice {
public:
    explicit FakeRadio(FakeClock* clock);

    // What the radio is and does.
    std::vector<std::uint8_t> image;
    std::uint16_t subCode = 0x0100;
    bool echo = true;
    bool answer = true;
    int skipReadLine = -1; // an E4 line left out of the clone read
    CSimServiceModel service;
    bool openFails = false;
    bool writeFails = false;
    std::string errorText;           // the system's reason it gives for a failure
    std::vector<std::string> opened; // the device names it was opened with

    // What the PC sent, with the time.
    std::vector<SentFrame> sent;
    int CountSent(std::uint8_t command) const;
    std::vector<std::vector<std::uint8_t>> E8Sent() const;

    bool Open(const std::string&, unsigned, std::string* error) override;
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    bool SetDtr(bool) override { return true; }
    bool SetRts(bool) override { return true; }
    void Purge() override { m_in.clear(); }
    long BytesAvailable() override { return static_cast<long>(m_in.size()); }
    long Read(std::uint8_t* buffer, std::size_t max) override;
    long Write(const std::uint8_t* data, std::size_t count) override;
    bool WaitForInput(int) override { return !m_in.empty(); }
    long BytesToWrite() override { return 0; }
    std::string LastErrorText() const override { return errorText; }

private:
    void frame(const std::vector<std::uint8_t>& body);
    void reply(std::uint8_t cmd, const std::vector<std::uint8_t>& payload);

    FakeClock* m_clock;
    bool m_open = false;
    std::deque<std::uint8_t> m_in;
    std::vector<std::uint8_t> m_rx;
};
