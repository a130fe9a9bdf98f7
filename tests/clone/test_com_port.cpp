#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "clone/byte_string.h"
#include "clone/com_port.h"

namespace {

struct CDeviceLog {
    std::vector<std::string> calls;
    std::deque<std::uint8_t> input;
    std::string openError;
    std::string reason; // what the system says about the last failure
    bool failWrite = false, failRead = false;
    int created = 0;
};

class CFakeDevice final : public ISerialDevice {
public:
    explicit CFakeDevice(CDeviceLog& log) : m_log(log) { ++m_log.created; }
    bool Open(const std::string& device, unsigned baud, std::string* error) override {
        m_log.calls.push_back("open " + device + " " + std::to_string(baud));
        if (!m_log.openError.empty()) *error = m_log.openError;
        return m_log.openError.empty();
    }
    void Close() override { m_log.calls.push_back("close"); }
    bool IsOpen() const override { return true; }
    bool SetDtr(bool on) override {
        return m_log.calls.push_back(on ? "dtr on" : "dtr off"), false;
    }
    bool SetRts(bool on) override {
        return m_log.calls.push_back(on ? "rts on" : "rts off"), false;
    }
    void Purge() override { m_log.calls.push_back("purge"); }
    long BytesAvailable() override {
        return m_log.failRead ? -1 : static_cast<long>(m_log.input.size());
    }
    long Read(std::uint8_t* buffer, std::size_t max) override {
        std::size_t n = 0;
        for (; n < max && !m_log.input.empty(); ++n) {
            buffer[n] = m_log.input.front();
            m_log.input.pop_front();
        }
        return static_cast<long>(n);
    }
    long Write(const std::uint8_t*, std::size_t count) override {
        return m_log.failWrite ? -1 : static_cast<long>(count);
    }
    bool WaitForInput(int) override { return !m_log.input.empty(); }
    long BytesToWrite() override { return 0; }
    std::string LastErrorText() const override { return m_log.reason; }

private:
    CDeviceLog& m_log;
};

class CBoxes final : public IUserPrompts {
public:
    std::vector<std::string> texts;
    KtAnswer MessageBox(const std::string& text, const std::string& caption, KtButtons b,
                        KtIcon icon) override {
        EXPECT_EQ(caption, " COM Port Error    ");
        EXPECT_EQ(b, KtButtons::Ok);
        EXPECT_EQ(icon, KtIcon::Exclamation);
        texts.push_back(text);
        return KtAnswer::Ok;
    }
    void SetStatusText(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        Platform().prompts = &boxes;
        Platform().serialFactory = [this] { return std::make_unique<CFakeDevice>(log); };
        Platform().portResolver = [](const std::string& n) { return "/dev/x" + n; };
    }
    void TearDown() override { ResetPlatform(); }
    CDeviceLog log;
    CBoxes boxes;
};

} // namespace

TEST_F(ComPortTest, OpenSetsTheLinesAndClosePurges) {
    CComPort port;
    ASSERT_EQ(port.Open("COM2", 9600), 1);
    EXPECT_EQ(port.Open("COM2", 9600), 1); // already open: the device is not touched again
    EXPECT_EQ(log.created, 1);
    port.Close();
    // Modem lines that the device refuses do not stop the port.
    const std::vector<std::string> expected = {
        "open /dev/xCOM2 9600", "purge", "dtr off", "rts on", "purge", "close"};
    EXPECT_EQ(log.calls, expected);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ComPortTest, FailuresShowTheirMessages) {
    struct Case {
        std::string openError;
        bool failWrite, failRead;
        std::string reason;
        std::vector<std::string> texts;
    };
    // The message's own text first, then the system's reason where the device gives one.
    const std::string denied = "/dev/xCOM1: permission denied. The user must be in the group "
                               "that owns the device (dialout).";
    const Case cases[] = {
        {"No such file", false, false, "", {" not Open "}},
        {"Permission denied", false, false, denied, {" not Open \n" + denied}},
        {std::string(kSerialSettingError) + " baud", false, false, "", {" invarid setting "}},
        {"", true, false, "", {" write error "}},
        {"",
         true,
         false,
         "/dev/xCOM1: the device is gone.",
         {" write error \n/dev/xCOM1: the device is gone."}},
        {"", false, true, "", {" read error "}}, // once per open, not once per poll
    };
    for (const auto& c : cases) {
        log = CDeviceLog{};
        log.openError = c.openError;
        log.reason = c.reason;
        log.failWrite = c.failWrite;
        log.failRead = c.failRead;
        boxes.texts.clear();
        CComPort port;
        const bool opened = port.Open("COM1", 9600) == 1;
        EXPECT_EQ(opened, c.openError.empty());
        const std::uint8_t b = 0x55;
        std::uint8_t buffer[4];
        std::size_t got = 9;
        EXPECT_EQ(port.Write(&b, 1), opened && !c.failWrite ? 1 : 0);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(port.Read(buffer, 1, &got), 0);
        EXPECT_EQ(got, 0u);
        EXPECT_EQ(boxes.texts, c.texts) << c.openError;
    }
}

TEST_F(ComPortTest, ReadTakesAtMost256WaitingBytes) {
    CComPort port;
    ASSERT_EQ(port.Open("/dev/ttyS0", 9600), 1);
    std::uint8_t buffer[1024];
    std::size_t got = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &got), 0); // nothing waiting
    log.input.assign(300, 0xAA);
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &got), 1);
    EXPECT_EQ(got, 256u);
    EXPECT_EQ(port.Read(buffer, 10, &got), 1);
    EXPECT_EQ(got, 10u);
}

TEST(ByteString, BoundsAndAccess) {
    CByteString s;
    EXPECT_EQ(s[0], 0); // empty: no byte to repeat
    for (int i = 0; i < 300; ++i)
        s.Append(static_cast<std::uint8_t>(i));
    EXPECT_EQ(s.Length(), 255);
    EXPECT_EQ(s[254], 254);
    EXPECT_EQ(s[1000], 254); // past the end: the last byte
    EXPECT_EQ(s.Mid(250, 10).Length(), 5);
    EXPECT_EQ(s.Mid(3, 2), CByteString("\x03\x04"));
    EXPECT_NE(CByteString("AB"), CByteString("ABC"));
}

TEST(ByteString, Hex) {
    struct Case {
        const char* text;
        std::vector<std::uint8_t> decoded;
    };
    const Case cases[] = {
        {"0070", {0x00, 0x70}}, {"FE0A", {0xFE, 0x0A}}, {"fe", {0x00}}, // lower case decodes as 0
        {"1G", {0x10}},        // so does any other character
        {"ABC", {0xAB, 0x0C}}, // a final unpaired character stands alone
    };
    for (const auto& c : cases) {
        const CByteString d = CByteString(c.text).HexDecoded();
        EXPECT_EQ(std::vector<std::uint8_t>(d.Data(), d.Data() + d.Length()), c.decoded) << c.text;
    }
    CByteString bytes;
    for (std::uint8_t b : {0x00, 0x9F, 0xFE})
        bytes.Append(b);
    EXPECT_EQ(bytes.HexEncoded(), CByteString("009FFE"));
    EXPECT_TRUE(CByteString("0123456789ABCDEF").IsUpperHex());
    EXPECT_FALSE(CByteString("0a").IsUpperHex());
}
