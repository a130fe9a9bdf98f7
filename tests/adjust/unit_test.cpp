#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include <gtest/gtest.h>

#include "adjust/adjust_app.h"
#include "adjust/common.h"
#include "adjust/profile_io.h"
#include "fake_radio.h"

using Bytes = std::vector<std::uint8_t>;

TEST(AdjustTick, CountsDownAndStopsOnWrap) {
    FakeClock clock;
    clsCmcTick t(&clock);
    t.counter(1200);
    EXPECT_EQ(t.counter(), 1200);
    clock.now += 1199;
    EXPECT_EQ(t.counter(), 1);
    clock.now += 1;
    EXPECT_EQ(t.counter(), 0);
    EXPECT_FALSE(t.active());
    // A 32-bit tick source that wrapped runs backwards: the timer is over.
    clock.now = 0xFFFFFF00u;
    t.counter(1200);
    clock.now = 0x10;
    EXPECT_EQ(t.counter(), 0);
    // 2^31 ms or more has passed: over, whatever the duration.
    clock.now = 0;
    t.counter(0x7FFFFFFFFFFF);
    clock.now = std::uint64_t{1} << 31;
    EXPECT_EQ(t.counter(), 0);
}

TEST(AdjustEeprom, BoundsAndChannelRecords) {
    clsCmcRadio radio;
    clsCmcEeprom& e = radio.eepImage;
    EXPECT_EQ(e.ReadByte(2048), 0);
    EXPECT_EQ(e.WriteByte(2048, 1), 1);
    EXPECT_EQ(e.WriteByte(-1, 1), 1);
    EXPECT_EQ(e.WriteBlock(2040, Bytes(8, 7)), 0);
    EXPECT_EQ(e.WriteBlock(2041, Bytes(8, 9)), 1);
    EXPECT_EQ(e.ReadByte(2041), 7);
    clsIndEep_RigZ30 map(&radio);
    e.WriteBlock(512, {0x45, 0x01, 0x25});
    EXPECT_EQ(map.RigZ30Eep_GetChFreqRxReal(0), 450125000);
    EXPECT_FALSE(map.Check_Inh(512));
    e.WriteByte(512, 0xC5);
    EXPECT_TRUE(map.Check_Inh(512));
    EXPECT_EQ(map.ReadFreqBlock(512), 0) << "a digit above 9";
    EXPECT_FALSE(map.RigZ30Eep_GetChAppear(-1));
}

TEST(AdjustCommon, Conversions) {
    EXPECT_EQ(Common::HexStrToBytes("E8 0A"), Common::HexStrToBytes("E80A"));
    EXPECT_EQ(Common::BytesToHexStr({0x0C, 0xAB}), "0CAB");
    EXPECT_EQ(Common::HexAsciiToNum({'0', '7', 'F', 'F'}), 0x07FF);
    EXPECT_EQ(Common::HexAsciiToNum({'F', 'F', 'F', 'F'}), -1);
    EXPECT_EQ(Common::E8Text(5, 0x5A), "053541");
    EXPECT_EQ(Common::E8Text(12, 0), "0C3030");
    EXPECT_EQ(Common::E8Text(16, 1), "103031");
    EXPECT_EQ(Common::E8Text(55, -1), "374646");
    const std::pair<std::pair<double, const char*>, const char*> formats[] = {
        {{450.125, "#000.##0"}, "450.125"}, {{7.4117, "##0.#0V"}, "7.41V"},
        {{0.5, "##0.#0V"}, "0.50V"},        {{450.1295012, "#000.####0MHz"}, "450.12950MHz"},
        {{0.30196, "0.00%"}, "30.20%"},     {{-3.456, "###.#0'C"}, "-3.46'C"},
        {{25.0, "###.#0'C"}, "25.00'C"},    {{1.5, "#000.##0"}, "001.500"},
    };
    for (const auto& [in, out] : formats)
        EXPECT_EQ(Common::FormatNumber(in.first, in.second), out);
}

TEST(AdjustCommon, CloneErrorTexts) {
    const std::string list = "\r\n\r\nCheck the following:\r\n\r\n- The COM port settings.\r\n- "
                             "Cloning cable connections.\r\n- The NQ-Z30 power is ON.";
    EXPECT_EQ(CloneErrorText(true, 4, true, 2, 1), "Cannot access COM4." + list);
    EXPECT_EQ(CloneErrorText(false, 1, true, 2, 1), "COM buffer Overflow." + list);
    EXPECT_EQ(CloneErrorText(false, 1, false, 1, 3), "Cannot access COM port" + list);
    EXPECT_EQ(CloneErrorText(false, 1, false, 4, 0), "Data Overflow." + list);
    EXPECT_EQ(CloneErrorText(false, 1, false, 0, 1), "Cannot Clone." + list);
}

TEST(AdjustConstIni, ParsesAndRefuses) {
    std::string good = "  KT-Z30 ADJ Rev.1.0 \r\n";
    for (int i = 0; i < 21; ++i)
        good += std::to_string(i) + ".5abc\r\n";
    const auto c = ParseConstIni(good);
    ASSERT_TRUE(c);
    EXPECT_EQ((*c)[20], 20.5);
    // The first coefficient's line: what it reads as (nothing: the file is refused).
    const std::pair<const char*, std::optional<double>> first[] = {
        {"-1e3", -1000}, {"", 0},
        {"x", 0},        {"1e7", 1e7},
        {"1e30", 1e30},  {"1e300", {}}, // beyond what the table computes with
        {"1e-400", 0},   {"-2.5e-320", -2.5e-320},
        {"1e999", {}},   {"-1e999", {}},
        {"inf", {}},     {"nan", {}},
    };
    for (const auto& [line, value] : first) {
        const auto r = ParseConstIni(std::string("KT-Z30 ADJ Rev.1.0\n") + line + "\n");
        ASSERT_EQ(r.has_value(), value.has_value()) << line;
        if (r) {
            EXPECT_EQ((*r)[0], *value) << line;
            EXPECT_EQ((*r)[20], 0) << "a short file reads 0 for the rest";
        }
    }
    for (const char* bad : {"KT-Z30 ADJ Rev.1.1\n1\n", ""})
        EXPECT_FALSE(ParseConstIni(bad)) << bad;
}

TEST(AdjustProfile, RoundTripAndDefaults) {
    MemorySettings store;
    clsCmcProfileIO p;
    p.store = &store;
    p.Section = "OPTION";
    int port = 0;
    EXPECT_TRUE(p.loadData("ComPort", port, 1));
    EXPECT_EQ(port, 1);
    EXPECT_FALSE(p.loadData("ComPort", port)) << "missing, without a default";
    EXPECT_TRUE(p.saveData("ComPort", 3));
    EXPECT_TRUE(p.saveData("Flag", true));
    p.Section = "OTHER";
    EXPECT_TRUE(p.saveData("ComPort", 9));
    p.Section = "OPTION";
    EXPECT_TRUE(p.saveData("ComPort", 4));
    std::string flag;
    EXPECT_TRUE(p.loadData("Flag", flag));
    EXPECT_EQ(flag, "1");
    EXPECT_TRUE(p.loadData("ComPort", port, 1));
    EXPECT_EQ(port, 4);
    std::tm when{};
    when.tm_year = 124;
    when.tm_mon = 1;
    when.tm_mday = 3;
    when.tm_hour = 4;
    EXPECT_TRUE(p.saveData("When", when));
    std::string text;
    p.loadData("When", text);
    EXPECT_EQ(text, "2024.02.03-04:00:00");
    // What a hand-edited file may hold: a NUL ends the text, trailing blanks go.
    store.SetString("OPTION", "Text", std::string("12  \0junk", 9));
    EXPECT_TRUE(p.loadData("Text", text));
    EXPECT_EQ(text, "12");
    EXPECT_TRUE(p.loadData("Text", port));
    EXPECT_EQ(port, 12);
}

// The driver against the fake radio with no application around it.
class AdjustDriver : public ::testing::Test {
protected:
    void SetUp() override {
        auto dev = std::make_unique<FakeRadio>(&clock);
        radio = dev.get();
        com.SetDevice(std::move(dev));
        com.comOpen(true);
        drv().myEep(&eep);
    }
    clsCmcHxq3Drv& drv() { return com.Driver(); }
    void Tick() {
        clock.now += 50;
        com.timSolid_Timer();
    }
    FakeClock clock;
    FakeRadio* radio = nullptr;
    frmCom com{&clock};
    clsCmcEeprom eep;
};

TEST_F(AdjustDriver, RetriesTwiceThenReportsNoAnswer) {
    radio->answer = false;
    const std::uint64_t start = clock.now;
    drv().workMode(5);
    drv().waitAnswer(true);
    drv().retryCount(2);
    ASSERT_EQ(drv().Send(Common::HexStrToBytes("E8582701000330 31")), 0);
    EXPECT_EQ(drv().Send(Common::HexStrToBytes("E8")), 1) << "busy";
    std::uint64_t errorAt = 0;
    for (int i = 0; i < 200 && !errorAt; ++i) {
        Tick();
        if (drv().lastError()) errorAt = clock.now;
    }
    EXPECT_EQ(drv().lastError(), 2);
    EXPECT_EQ(radio->CountSent(0xE8), 3);
    EXPECT_GE(errorAt - start, 3600u);
    // Three answer waits of 1200 ms, each after an echo heard on the next 50 ms tick.
    EXPECT_LE(errorAt - start, 3800u);
    EXPECT_FALSE(drv().Running());
}

TEST_F(AdjustDriver, CommandWithoutAnswerLeavesTheDriverFree) {
    drv().workMode(5);
    drv().waitAnswer(false);
    ASSERT_EQ(drv().Send(Common::HexStrToBytes("E858270100053541")), 0);
    EXPECT_FALSE(drv().Running());
    EXPECT_TRUE(drv().SendEnable());
    Tick();
    EXPECT_EQ(drv().nowError(), 0);
}

TEST_F(AdjustDriver, ReceivePath) {
    const Bytes e8 = Common::HexStrToBytes("FEFEEEEFE8582701000330 31FD");
    auto answer = [](const char* body) {
        Bytes b = {0xFE, 0xFE};
        const Bytes x = Common::HexStrToBytes(body);
        b.insert(b.end(), x.begin(), x.end());
        b.push_back(0xFD);
        return b;
    };
    struct Case {
        const char* name;
        std::vector<Bytes> chunks;
        int error;
        bool done;
    };
    const Bytes good = answer("EFEEE8582701000337 46");
    Bytes noisyEcho = {0x01, 0xFD, 0x33};
    noisyEcho.insert(noisyEcho.end(), e8.begin(), e8.end());
    const Case cases[] = {
        {"echo split, then answer",
         {Bytes(e8.begin(), e8.begin() + 5), Bytes(e8.begin() + 5, e8.end()), good},
         0,
         true},
        {"noise before the echo", {noisyEcho, good}, 0, true},
        {"two answers in one chunk",
         {e8,
          [&] {
              Bytes b = good;
              b.insert(b.end(), good.begin(), good.end());
              return b;
          }()},
         0,
         true},
        {"wrong tag", {e8, answer("EFEEE8582701000437 46")}, 3, false},
        {"identity not decimal", {e8, answer("EFEEE858A701000337 46")}, 3, false},
        {"frame from the wrong address is ignored",
         {e8, answer("EEEFE8582701000337 46")},
         0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        radio->answer = false;
        radio->echo = false;
        drv().Reset();
        drv().lastError(0);
        drv().workMode(5);
        drv().waitAnswer(true);
        drv().Send(Common::HexStrToBytes("E8582701000330 31"));
        for (const Bytes& ch : c.chunks)
            drv().read(ch);
        EXPECT_EQ(drv().lastError(), c.error);
        EXPECT_EQ(!drv().Running() && c.error == 0, c.done);
        if (c.done) {
            EXPECT_EQ(Common::BytesToHexStr(drv().varLastE8Answer()), "58270100033746");
        }
    }
}

TEST_F(AdjustDriver, CloneReadRecords) {
    struct Case {
        const char* record;
        int error;
    };
    const Case cases[] = {
        {"07F0"
         "10"
         "00000000000000000000000000000000"
         "F9",
         0},
        {"07F0"
         "10"
         "00000000000000000000000000000000"
         "F8",
         3}, // checksum
        {"07F0"
         "0F"
         "00000000000000000000000000000000"
         "FA",
         3}, // count
        {"07F1"
         "10"
         "00000000000000000000000000000000"
         "F8",
         4}, // beyond the image
        {"07f0"
         "10"
         "00000000000000000000000000000000"
         "F9",
         0}, // lower-case digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        radio->echo = false;
        radio->answer = false;
        drv().Reset();
        drv().lastError(0);
        drv().workMode(2);
        drv().Send(Common::HexStrToBytes("E258270100"));
        Bytes chunk = Common::HexStrToBytes("FEFEEEEFE258270100FDFEFEEFEEE4");
        const std::string rec = c.record;
        chunk.insert(chunk.end(), rec.begin(), rec.end());
        chunk.push_back(0xFD);
        drv().read(chunk);
        EXPECT_EQ(drv().lastError(), c.error);
        if (c.error == 0) {
            EXPECT_EQ(drv().lastEeAdr(), 2047);
        }
    }
}
