#include "fake_radio.h"

#include <cstdio>

FakeRadio::FakeRadio(FakeClock* clock) : image(2048, 0), m_clock(clock) {}

bool FakeRadio::Open(const std::string& device, unsigned, std::string* error) {
    opened.push_back(device);
    if (openFails) {
        if (error) *error = "no such port";
        return false;
    }
    m_open = true;
    return true;
}

long FakeRadio::Read(std::uint8_t* buffer, std::size_t max) {
    std::size_t n = 0;
    while (n < max && !m_in.empty()) {
        buffer[n++] = m_in.front();
        m_in.pop_front();
    }
    return static_cast<long>(n);
}

long FakeRadio::Write(const std::uint8_t* data, std::size_t count) {
    if (!m_open || writeFails) return -1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = data[i];
        if (echo) m_in.push_back(b);
        m_rx.push_back(b);
        if (b == 0xFD) {
            sent.push_back({m_clock->now, m_rx});
            std::vector<std::uint8_t> body;
            for (std::uint8_t c : m_rx)
                if (c == 0xFE)
                    body.clear();
                else if (c != 0xFD)
                    body.push_back(c);
            m_rx.clear();
            if (answer) frame(body);
        }
    }
    return static_cast<long>(count);
}

void FakeRadio::reply(std::uint8_t cmd, const std::vector<std::uint8_t>& payload) {
    for (std::uint8_t b : {0xFE, 0xFE, 0xEF, 0xEE})
        m_in.push_back(b);
    m_in.push_back(cmd);
    for (std::uint8_t b : payload)
        m_in.push_back(b);
    m_in.push_back(0xFD);
}

void FakeRadio::frame(const std::vector<std::uint8_t>& body) {
    if (body.size() < 3 || body[0] != 0xEE || body[1] != 0xEF) return;
    const std::vector<std::uint8_t> id = {0x58, 0x27, static_cast<std::uint8_t>(subCode >> 8),
                                          static_cast<std::uint8_t>(subCode & 0xFF)};
    switch (body[2]) {
    case 0xE0: {
        std::vector<std::uint8_t> p = id;
        p.resize(4 + 38, 0x20);
        reply(0xE1, p);
        break;
    }
    case 0xE2:
        for (int line = 0; line < 128; ++line) {
            if (line == skipReadLine) continue;
            const int adr = line * 16;
            char text[64];
            int sum = (adr >> 8) + (adr & 0xFF) + 16;
            int n = std::snprintf(text, sizeof text, "%04X%02X", adr, 16);
            for (int i = 0; i < 16; ++i) {
                sum += image[static_cast<std::size_t>(adr + i)];
                n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "%02X",
                                   image[static_cast<std::size_t>(adr + i)]);
            }
            std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "%02X",
                          (256 - (sum & 0xFF)) & 0xFF);
            reply(0xE4, std::vector<std::uint8_t>(text, text + 40));
        }
        reply(0xE5, {'N', 'o', 'r', 'q', ' ', 'I', 'n', 'c', '.'});
        break;
    case 0xE8: {
        if (body.size() < 7) break;
        const auto ans = service.Handle(std::vector<std::uint8_t>(body.begin() + 7, body.end()));
        if (!ans) break;
        std::vector<std::uint8_t> p = id;
        p.insert(p.end(), ans->begin(), ans->end());
        reply(0xE8, p);
        break;
    }
    default:
        break;
    }
}

int FakeRadio::CountSent(std::uint8_t command) const {
    int n = 0;
    for (const SentFrame& f : sent)
        if (f.bytes.size() > 4 && f.bytes[4] == command) ++n;
    return n;
}

std::vector<std::vector<std::uint8_t>> FakeRadio::E8Sent() const {
    std::vector<std::vector<std::uint8_t>> out;
    for (const SentFrame& f : sent)
        if (f.bytes.size() > 4 && f.bytes[4] == 0xE8) out.push_back(f.bytes);
    return out;
}
