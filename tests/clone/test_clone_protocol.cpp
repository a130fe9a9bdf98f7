// The clone protocol engine against a scripted radio: what the radio answers to each frame the
// PC sends is given by the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "clone/clone_protocol.h"
#include "tests/support/step_clock.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Echoes every frame, then queues what the script answers to it.
class CScriptedRadio final : public ISerialDevice {
public:
    std::function<Bytes(const Bytes& frame, int index)> script;
    std::function<void(Bytes& echo, int index)> garble;
    CStepClock* clock = nullptr;

    bool Open(const std::string&, unsigned, std::string*) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    bool SetDtr(bool) override { return true; }
    bool SetRts(bool) override { return true; }
    void Purge() override { m_input.clear(); }
    long BytesAvailable() override { return static_cast<long>(m_input.size()); }
    long Read(std::uint8_t* buffer, std::size_t max) override {
        std::size_t n = 0;
        for (; n < max && !m_input.empty(); ++n, m_input.pop_front())
            buffer[n] = m_input.front();
        return static_cast<long>(n);
    }
    long Write(const std::uint8_t* data, std::size_t count) override {
        Bytes frame(data, data + count), echo = frame;
        if (garble) garble(echo, m_frames);
        m_input.insert(m_input.end(), echo.begin(), echo.end());
        if (script) {
            const Bytes answer = script(frame, m_frames);
            m_input.insert(m_input.end(), answer.begin(), answer.end());
        }
        ++m_frames;
        return static_cast<long>(count);
    }
    bool WaitForInput(int ms) override {
        if (m_input.empty()) clock->SleepMs(static_cast<unsigned>(ms));
        return !m_input.empty();
    }
    long BytesToWrite() override { return 0; }

private:
    std::deque<std::uint8_t> m_input;
    int m_frames = 0;
};

Bytes RadioFrame(std::uint8_t command, const std::string& payload) {
    Bytes f = {0xFE, 0xFE, 0xEF, 0xEE, command};
    for (char c : payload)
        f.push_back(static_cast<std::uint8_t>(c));
    f.push_back(0xFD);
    return f;
}

std::string DataText(unsigned address, unsigned count = 16, bool lower = false) {
    Bytes b = {static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
               static_cast<std::uint8_t>(count)};
    for (unsigned i = 0; i < count; ++i)
        b.push_back(static_cast<std::uint8_t>(address + i * 3));
    unsigned sum = 0;
    for (auto x : b)
        sum += x;
    b.push_back(static_cast<std::uint8_t>(0x100 - (sum & 0xFF)));
    std::string text;
    char s[3];
    for (auto x : b) {
        std::snprintf(s, sizeof s, lower ? "%02x" : "%02X", x);
        text += s;
    }
    return text;
}

// 128 data frames (except the skipped line) and the end frame.
Bytes WholeRead(int skipLine = -1, const std::string& end = "Norq Inc.") {
    Bytes all;
    for (int line = 0; line < 128; ++line) {
        if (line == skipLine) continue;
        const Bytes f = RadioFrame(0xE4, DataText(static_cast<unsigned>(line) * 16));
        all.insert(all.end(), f.begin(), f.end());
    }
    const Bytes e = RadioFrame(0xE5, end);
    all.insert(all.end(), e.begin(), e.end());
    return all;
}

std::string InfoPayload(int dataBytes, std::uint8_t fill = 0x20) {
    return std::string("\x58\x27\x01\x00", 4) +
           std::string(static_cast<std::size_t>(dataBytes), static_cast<char>(fill));
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

class ProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        Platform().clock = &clock;
        Platform().serialFactory = [this] {
            auto radio = std::make_unique<CScriptedRadio>();
            radio->script = script;
            radio->garble = garble;
            radio->clock = &clock;
            return radio;
        };
        path = (std::filesystem::temp_directory_path() /
                ("clp_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                   .string();
        engine.SetTransferFile(path);
        engine.SetModelCode(0x5827);
        engine.SetRevision(0x0100);
        engine.SetExpectedFrameCount(128);
    }
    void TearDown() override {
        ResetPlatform();
        std::remove(path.c_str());
    }
    // Answers the request frame (the first frame sent) with the given bytes.
    void AnswerRequest(const Bytes& answer) {
        script = [answer](const Bytes&, int index) { return index == 0 ? answer : Bytes{}; };
    }

    CStepClock clock;
    std::function<Bytes(const Bytes&, int)> script;
    std::function<void(Bytes&, int)> garble;
    std::string path;
    CCloneProtocol engine;
};

} // namespace

TEST_F(ProtocolTest, ReadChecksEveryFrame) {
    struct Case {
        const char* name;
        Bytes answer;
        int result, status;
    };
    const Bytes shortBodies = {0xFE, 0xFE, 0xFD, 0xFE, 0xFE, 0xEF, 0xEE, 0xFD, 0x33, 0xFD};
    const Case cases[] = {
        {"whole image", WholeRead(), 0, 2},
        {"short bodies are ignored", Join({shortBodies, WholeRead()}), 0, 2},
        {"one line missing, good end frame", WholeRead(77), 77, 80},
        {"lower-case hex", Join({RadioFrame(0xE4, DataText(0, 16, true)), WholeRead()}), 77, 80},
        {"character outside hex", RadioFrame(0xE4, "00001G" + DataText(0).substr(6)), 77, 80},
        {"fewer than 4 bytes", RadioFrame(0xE4, "0000"), 77, 80},
        {"odd hex length", RadioFrame(0xE4, DataText(0) + "0"), 77, 80},
        {"count differs",
         RadioFrame(0xE4, DataText(0, 16).substr(0, 4) + "0F" + DataText(0, 16).substr(6)), 77, 80},
        {"end text with a comma", WholeRead(-1, "Norq Inc,"), 77, 80},
        {"end text too long", WholeRead(-1, "Norq Inc.."), 77, 80},
        {"info reply in a read", RadioFrame(0xE1, InfoPayload(38)), 77, 80},
        {"write result in a read", RadioFrame(0xE6, std::string(1, '\0')), 77, 80},
        {"silence after the echo", {}, 77, 82},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnswerRequest(c.answer);
        EXPECT_EQ(engine.CloneRead(), c.result);
        EXPECT_EQ(engine.LastStatus(), c.status);
    }
}

TEST_F(ProtocolTest, ReadWritesTheLinesWithoutChecksums) {
    AnswerRequest(WholeRead());
    ASSERT_EQ(engine.CloneRead(), 0);
    std::ifstream in(path);
    std::string header, comment, first;
    std::getline(in, header);
    std::getline(in, comment);
    std::getline(in, first);
    EXPECT_EQ(header, "58270100");
    EXPECT_EQ(comment, "#");
    EXPECT_EQ(first, DataText(0).substr(0, 38));
}

TEST_F(ProtocolTest, InfoChecksTheReply) {
    struct Case {
        const char* name;
        Bytes answer;
        int result, status;
    };
    const Case cases[] = {
        {"38 info bytes", RadioFrame(0xE1, InfoPayload(38)), 0, 2},
        {"37 info bytes", RadioFrame(0xE1, InfoPayload(37)), 77, 80},
        {"info byte F0", RadioFrame(0xE1, InfoPayload(38, 0xF0)), 77, 80},
        {"data frame in an info", RadioFrame(0xE4, DataText(0)), 77, 80},
        {"noise before the reply", Join({{0x01, 0x55, 0xFD}, RadioFrame(0xE1, InfoPayload(38))}), 0,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnswerRequest(c.answer);
        EXPECT_EQ(engine.CloneInfo(), c.result);
        EXPECT_EQ(engine.LastStatus(), c.status);
    }
    EXPECT_EQ(engine.InfoReply().dataLength, 38); // from the good reply with noise
}

TEST_F(ProtocolTest, WriteFailures) {
    struct Case {
        const char* name;
        std::function<Bytes(const Bytes&, int)> script;
        std::function<void(Bytes&, int)> garble;
        int status;
    };
    auto e6 = [](const Bytes& f, int) {
        return f[4] == 0xE5 ? RadioFrame(0xE6, std::string(1, '\0')) : Bytes{};
    };
    const Case cases[] = {
        {"good write", e6, nullptr, 2},
        {"radio data frame during a write",
         [](const Bytes&, int i) { return i == 1 ? RadioFrame(0xE4, DataText(0)) : Bytes{}; },
         nullptr, 80},
        {"write result before the end echo",
         [](const Bytes&, int i) {
             return i == 1 ? RadioFrame(0xE6, std::string(1, '\0')) : Bytes{};
         },
         nullptr, 80},
        {"echo of a data line garbled", e6,
         [](Bytes& echo, int i) {
             if (i == 2) echo[8] = '7';
         },
         80},
        {"write result 01",
         [](const Bytes& f, int) {
             return f[4] == 0xE5 ? RadioFrame(0xE6, std::string(1, '\x01')) : Bytes{};
         },
         nullptr, 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::ofstream out(path, std::ios::trunc);
            out << "58270100\n#\n";
            for (unsigned a = 0x70; a < 0x100; a += 16)
                out << DataText(a).substr(0, 38) << "\n";
        }
        script = c.script;
        garble = c.garble;
        EXPECT_EQ(engine.CloneWrite(), c.status == 2 ? 0 : 77);
        EXPECT_EQ(engine.LastStatus(), c.status);
    }
}
