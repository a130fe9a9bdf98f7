#include "hub_fixture.h"
#include "params/freq_nodes.h"
#include "radiomap/two_tone_window.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace testhub;

namespace {

constexpr int kLmr = 0;
constexpr int kPmr = 1;

// Receive code channel records: CH1 to CH3 at b = 1 to 3, "CHG" at b = 0.
constexpr std::uint32_t Record(int b) { return 0x5FC + 9 * static_cast<std::uint32_t>(b); }

struct SignalMap : ::testing::Test {
    void Use(int variant) { hub = MakeHub(variant); }
    CByteImage& Image() { return *hub->GetImage(); }
    CNode* Root() { return hub->GetRoot(); }
    CZ30RadioDataManager* Data() { return RadioData(*hub); }
    std::string Text(const std::string& path) { return Node(*hub, path)->GetText(); }
    std::unique_ptr<CZ30CloneManager> hub = MakeHub(kPmr);
};

TEST_F(SignalMap, DtmfAutodialCodes) {
    struct Case {
        std::string text;
        int count;
        std::vector<std::uint8_t> bytes;
        std::string reads;
    };
    const Case cases[] = {
        {"12*#", 4, {0x12, 0xEF}, "12*#"},
        {"123", 3, {0x12, 0x30}, "123"},
        {" 1 2 3 ", 3, {0x12, 0x30}, "123"},
        {"\t45 6\t", 3, {0x45, 0x60}, "456"},
        {" 1 2\t3 ", 4, {0x12, 0x03}, "1203"}, // an inner tab is no space: a non-digit, 0
        {"abcd", 4, {0xAB, 0xCD}, "ABCD"},
        {"9X9", 3, {0x90, 0x90}, "909"},
        {std::string(30, '7'), 24, std::vector<std::uint8_t>(12, 0x77), std::string(24, '7')},
        {"", 0, {}, ""},
    };
    for (const Case& c : cases) {
        Image().WriteBlock(0x1AD, std::vector<std::uint8_t>(13, 0x55).data(), 13);
        Node(*hub, "DTMFAutoD.DTMFDial.AD2.Code")->SetText(c.text);
        Data()->Encode(CZ30Section::DtmfAutodial, Root(), Image(), 1);
        EXPECT_EQ(Image().ReadByte(0x1AD + 12), c.count) << c.text;
        for (std::size_t i = 0; i < c.bytes.size(); ++i)
            EXPECT_EQ(Image().ReadByte(0x1AD + static_cast<std::uint32_t>(i)), c.bytes[i])
                << c.text;
        if (c.bytes.size() < 12) { // later bytes keep their content
            EXPECT_EQ(Image().ReadByte(0x1AD + static_cast<std::uint32_t>(c.bytes.size())), 0x55);
        }
        Node(*hub, "DTMFAutoD.DTMFDial.AD2.Code")->SetText("junk");
        Data()->Decode(CZ30Section::DtmfAutodial, Root(), Image(), 1);
        EXPECT_EQ(Text("DTMFAutoD.DTMFDial.AD2.Code"), c.reads);
    }
    Image().WriteByte(0x1A0 + 12, 200);
    Data()->Decode(CZ30Section::DtmfAutodial, Root(), Image(), 0);
    EXPECT_EQ(Text("DTMFAutoD.DTMFDial.AD1.Code").size(), 24u);
}

TEST_F(SignalMap, ScanModeClampsToModeThree) {
    SetValue(*hub, "ScanList.ScanCom.Mode", 200);
    Data()->Encode(CZ30Section::Scan, Root(), Image());
    EXPECT_EQ(Image().ReadByte(0x1F5) & 0x03, 3);
    SetValue(*hub, "ScanList.ScanCom.Mode", 2);
    Data()->Encode(CZ30Section::Scan, Root(), Image());
    Data()->Decode(CZ30Section::Scan, Root(), Image());
    EXPECT_EQ(Value(*hub, "ScanList.ScanCom.Mode"), 2);
}

TEST_F(SignalMap, FiveToneReceiveCodeWithWildcard) {
    Node(*hub, "5ToneCodeCH.RXCodeCH.CH2.RxCode")->SetText("12+45");
    Data()->Encode(CZ30Section::FiveToneRxCodeCh, Root(), Image(), 1);
    const std::uint32_t r = Record(2);
    EXPECT_EQ(Image().ReadByte(r), 0x12);
    EXPECT_EQ(Image().ReadByte(r + 1), 0x04);
    EXPECT_EQ(Image().ReadByte(r + 2), 0x5F);
    EXPECT_EQ(Image().ReadByte(r + 3), 0xFF);
    EXPECT_EQ(Image().ReadByte(r + 4) & 0xFE, 0x20);
    Data()->Decode(CZ30Section::FiveToneRxCodeCh, Root(), Image(), 1);
    EXPECT_EQ(Text("5ToneCodeCH.RXCodeCH.CH2.RxCode"), "12+45");
}

TEST_F(SignalMap, FiveToneCodesUseTheGroupToneAndSevenDigits) {
    struct Case {
        const char* group;
        const char* text;
        std::uint8_t bytes[4];
        const char* reads;
    };
    const Case cases[] = {
        {"0", "1234567", {0x12, 0x34, 0x56, 0x7F}, "1234567"},
        {"0", "123456789", {0x12, 0x34, 0x56, 0x7F}, "1234567"},
        {"A", "1*2G", {0x1A, 0x2A, 0xFF, 0xFF}, "1A2A"},
        {"f", "*", {0xEF, 0xFF, 0xFF, 0xFF}, "E"},
        {"", "*", {0x0F, 0xFF, 0xFF, 0xFF}, "0"},
        {"0", "", {0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {"0", "1+", {0x10, 0xFF, 0xFF, 0xFF}, "10"},
    };
    for (const Case& c : cases) {
        Node(*hub, "5ToneCodeCH.TxCodeCom.SpcTonGrp")->SetText(c.group);
        Node(*hub, "5ToneCodeCH.TXCodeCH.CH32.TxCode")->SetText(c.text);
        Data()->Encode(CZ30Section::FiveToneTxCodeCh, Root(), Image(), 31);
        const std::uint32_t t = 0x520 + 6 * 31;
        for (std::uint32_t i = 0; i < 4; ++i)
            EXPECT_EQ(Image().ReadByte(t + i), c.bytes[i]) << c.text << " byte " << i;
        Data()->Decode(CZ30Section::FiveToneTxCodeCh, Root(), Image(), 31);
        EXPECT_EQ(Text("5ToneCodeCH.TXCodeCH.CH32.TxCode"), c.reads);
    }
}

TEST_F(SignalMap, FiveToneChoicesAndAbc) {
    struct Case {
        std::uint8_t stored;
        int ch1;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {32, 32}, {33, 0}, {127, 0}, {128, 128}, {255, 255}};
    for (const Case& c : cases) {
        Image().WriteByte(Record(1) + 5, c.stored);
        Image().WriteByte(Record(0) + 5, c.stored);
        Data()->Decode(CZ30Section::FiveToneRxCodeCh, Root(), Image());
        EXPECT_EQ(Value(*hub, "5ToneCodeCH.RXCodeCH.CH1.ABC"), c.ch1);
        EXPECT_EQ(Value(*hub, "5ToneCodeCH.RXCodeCH.CHG.ABC"), 0);
    }
    SetValue(*hub, "5ToneCodeCH.RXCodeCH.CHG.ABC", 255);
    Data()->Encode(CZ30Section::FiveToneRxCodeCh, Root(), Image(), 3);
    EXPECT_EQ(Image().ReadByte(Record(0) + 5), 0);

    // AudMode, Stun and Scan read pattern 3 as 2.
    Image().WriteByte(Record(3) + 6, 0xF0);
    Image().WriteByte(Record(3) + 7, 0x18);
    Data()->Decode(CZ30Section::FiveToneRxCodeCh, Root(), Image(), 2);
    EXPECT_EQ(Value(*hub, "5ToneCodeCH.RXCodeCH.CH3.AudMode"), 2);
    EXPECT_EQ(Value(*hub, "5ToneCodeCH.RXCodeCH.CH3.Scan"), 2);
    EXPECT_EQ(Value(*hub, "5ToneCodeCH.RXCodeCH.CH3.Stun"), 2);
    Data()->Encode(CZ30Section::FiveToneRxCodeCh, Root(), Image(), 2);
    EXPECT_EQ(Image().ReadByte(Record(3) + 6) & 0xF0, 0xA0);
    EXPECT_EQ(Image().ReadByte(Record(3) + 7) & 0x18, 0x10);
}

TEST_F(SignalMap, BeepPatterns) {
    const int patterns[8] = {4, 0, 1, 2, 3, 5, 6, 7}; // code -> stored pattern
    Use(kLmr);
    for (int code = 0; code < 8; ++code) {
        SetValue(*hub, "2ToneCodeCH.RXCodeCH.CHG.Beep", code);
        Data()->Encode(CZ30Section::TwoToneRxCodeCh, Root(), Image(), 3);
        EXPECT_EQ(Image().ReadByte(Record(0) + 6) & 0x07, patterns[code]) << code;
        SetValue(*hub, "2ToneCodeCH.RXCodeCH.CHG.Beep", 1);
        Data()->Decode(CZ30Section::TwoToneRxCodeCh, Root(), Image(), 3);
        EXPECT_EQ(Value(*hub, "2ToneCodeCH.RXCodeCH.CHG.Beep"), code);
    }
    EXPECT_EQ(Text("2ToneCodeCH.RXCodeCH.CHG.Beep"), "PiRo(repeat)");
    SetValue(*hub, "2ToneCodeCH.RXCodeCH.CHG.Beep", 0);
    EXPECT_EQ(Text("2ToneCodeCH.RXCodeCH.CHG.Beep"), "Null");
}

TEST_F(SignalMap, TwoToneWindowAroundTheCentre) {
    Use(kLmr);
    auto* ch = dynamic_cast<CZ302TonRxCodeChNode*>(Node(*hub, "2ToneCodeCH.RXCodeCH.CH1"));
    ASSERT_NE(ch, nullptr);
    ASSERT_EQ(ch->FirstFreq(), Node(*hub, "2ToneCodeCH.RXCodeCH.CH1.1stFreq"));
    ch->FirstFreq()->SetValue(10000);
    ch->SecondFreq()->SetValue(20000);
    ApplyTwoToneWindows(ch);
    EXPECT_EQ(ch->FirstFreqLo()->GetValue(), 970);
    EXPECT_EQ(ch->FirstFreqHi()->GetValue(), 1030);
    EXPECT_EQ(ch->SecondFreqLo()->GetValue(), 1940);
    EXPECT_EQ(ch->SecondFreqHi()->GetValue(), 2060);
    Data()->Encode(CZ30Section::TwoToneRxCodeCh, Root(), Image());
    EXPECT_EQ(Image().ReadByte(0x13E) * 256 + Image().ReadByte(0x13F), 970);
    EXPECT_EQ(Image().ReadByte(0x140) * 256 + Image().ReadByte(0x141), 1030);
    ch->FirstFreq()->SetValue(2500);
    Data()->Decode(CZ30Section::TwoToneRxCodeCh, Root(), Image());
    EXPECT_EQ(ch->FirstFreq()->GetValue(), 10000);
    EXPECT_EQ(ch->SecondFreq()->GetValue(), 20000);

    // A typed centre with two equally close windows moves (449.8 Hz gives 436-464 Hz, whose
    // middle 450.0 Hz gives 437-464 Hz); a centre read from a stored window stays put.
    ch->FirstFreq()->SetValue(4498);
    ApplyTwoToneWindows(ch);
    EXPECT_EQ(ch->FirstFreq()->GetValue(), 4500);
    ApplyTwoToneWindows(ch);
    EXPECT_EQ(ch->FirstFreq()->GetValue(), 4505);
    for (int low = 239; low <= 3402; low += 3) {
        for (int high = low; high <= 3402; high += 11) {
            ch->FirstFreq()->SetValue(5 * (low + high));
            ApplyTwoToneWindows(ch);
            const int centre = ch->FirstFreq()->GetValue();
            const int lo = ch->FirstFreqLo()->GetValue();
            ApplyTwoToneWindows(ch);
            ASSERT_EQ(ch->FirstFreq()->GetValue(), centre) << low << " " << high;
            ASSERT_EQ(ch->FirstFreqLo()->GetValue(), lo) << low << " " << high;
        }
    }
}

TEST_F(SignalMap, TwoToneTransmitCodeAndCommon) {
    Use(kLmr);
    SetValue(*hub, "2ToneCodeCH.TXCode.CodeType", 1);
    SetValue(*hub, "2ToneCodeCH.TXCode.1stTonFreq", 1000);
    SetValue(*hub, "2ToneCodeCH.RXCodeCom.NoTonTim", 7);
    SetValue(*hub, "2ToneCodeCH.RXCodeCom.BeepRepTim", 99);
    Data()->Encode(CZ30Section::TwoToneTxCode, Root(), Image());
    Data()->Encode(CZ30Section::TwoToneRxCommon, Root(), Image());
    EXPECT_EQ(Image().ReadByte(0x520), 0x0F);
    for (std::uint32_t a : {0x521u, 0x522u, 0x523u})
        EXPECT_EQ(Image().ReadByte(a), 0xFF);
    EXPECT_EQ(Image().ReadByte(0x120) * 256 + Image().ReadByte(0x121), 2409);
    EXPECT_EQ(Image().ReadByte(0x183), 8);
    EXPECT_EQ(Image().ReadByte(0x097), 60);

    const std::pair<int, int> noTone[] = {{0, 2}, {1, 2}, {3, 4}, {30, 30}, {31, 30}, {255, 30}};
    for (const auto& [stored, code] : noTone) {
        Image().WriteByte(0x183, static_cast<std::uint8_t>(stored));
        Data()->Decode(CZ30Section::TwoToneRxCommon, Root(), Image());
        EXPECT_EQ(Value(*hub, "2ToneCodeCH.RXCodeCom.NoTonTim"), code) << stored;
    }
}

TEST_F(SignalMap, ToneLengths) {
    const std::pair<int, int> cases[] = {{9, 1}, {2327, 255}, {3000, 255}, {100, 11}, {0, 1}};
    for (const auto& [code, stored] : cases) {
        SetValue(*hub, "5ToneCodeCH.Format.EEA.TonLen", code);
        Data()->Encode(CZ30Section::FiveToneFormat, Root(), Image(), 5);
        EXPECT_EQ(Image().ReadByte(0x18C + 5), stored) << code;
    }
    Data()->Decode(CZ30Section::FiveToneFormat, Root(), Image(), 5);
    EXPECT_EQ(Value(*hub, "5ToneCodeCH.Format.EEA.TonLen"), 9);
    Image().WriteByte(0x18C + 5, 255);
    Data()->Decode(CZ30Section::FiveToneFormat, Root(), Image());
    EXPECT_EQ(Value(*hub, "5ToneCodeCH.Format.EEA.TonLen"), 2327);
    EXPECT_EQ(Value(*hub, "5ToneCodeCH.Format.DTMF.TonLen"), 9);
}

TEST_F(SignalMap, SpecialTonesAreOneHexDigit) {
    struct Case {
        const char* text;
        int grp;
        int lnk2;
    };
    const Case cases[] = {{"F", 14, 15}, {"b", 11, 11}, {"", 0, 0}, {"x", 0, 0}, {"9z", 9, 9}};
    for (const Case& c : cases) {
        Node(*hub, "5ToneCodeCH.TxCodeCom.SpcTonGrp")->SetText(c.text);
        Node(*hub, "5ToneCodeCH.TxCodeCom.SpcTonLnk2")->SetText(c.text);
        Data()->Encode(CZ30Section::FiveToneCommon, Root(), Image());
        EXPECT_EQ(Image().ReadByte(0x078), c.grp) << c.text;
        EXPECT_EQ(Image().ReadByte(0x07A), c.lnk2) << c.text;
    }
    Image().WriteByte(0x078, 200);
    Image().WriteByte(0x07A, 200);
    Data()->Decode(CZ30Section::FiveToneCommon, Root(), Image());
    EXPECT_EQ(Text("5ToneCodeCH.TxCodeCom.SpcTonGrp"), "E");
    EXPECT_EQ(Text("5ToneCodeCH.TxCodeCom.SpcTonLnk2"), "F");
}

// Bytes only the five-tone system uses.
std::vector<std::uint32_t> FiveToneOnlyBytes() {
    std::vector<std::uint32_t> a = {0x077, 0x078, 0x079, 0x07A, 0x083, 0x084,
                                    0x085, 0x086, 0x088, 0x08F, 0x090};
    for (std::uint32_t x = 0x124; x < 0x13E; ++x)
        a.push_back(x); // user tones 2 to 14
    for (std::uint32_t x = 0x156; x < 0x17A; ++x)
        a.push_back(x); // decoder limits 6 to 14
    for (std::uint32_t x = 0x17B; x < 0x183; ++x)
        a.push_back(x); // formats 1 to 8
    for (std::uint32_t x = 0x184; x < 0x197; ++x)
        a.push_back(x);
    for (std::uint32_t x = 0x526; x < 0x5E0; ++x)
        a.push_back(x); // transmit code channels 2 to 32
    for (int b = 0; b < 4; ++b) {
        for (std::uint32_t i = 1; i <= 4; ++i)
            a.push_back(Record(b) + i);
        a.push_back(Record(b) + 8);
    }
    return a;
}

TEST_F(SignalMap, LmrEncodeLeavesFiveToneBytesAndWritesTheSharedOnes) {
    std::mt19937 rng(7);
    for (std::uint32_t a = 0x070; a < 0x800; ++a)
        Image().WriteByte(a, rng() & 0xFF);
    Image().WriteByte(0x007, 0xC3);
    Image().WriteBit(0x07B, 3, false);
    Data()->ImageToTree(Root(), Image());
    ASSERT_EQ(hub->GetVariant(), kLmr);
    CByteImage before;
    before.CopyFrom(Image());

    SetValue(*hub, "2ToneCodeCH.RXCodeCH.CH1.ANS", 1);
    SetValue(*hub, "2ToneCodeCH.RXCodeCH.CH2.ANS", 0);
    Data()->TreeToImage(Root(), Image());
    for (std::uint32_t a : FiveToneOnlyBytes())
        EXPECT_EQ(Image().ReadByte(a), before.ReadByte(a)) << std::hex << a;

    Data()->ImageToTree(Root(), Image());
    EXPECT_EQ(Text("5ToneCodeCH.RXCodeCH.CH1.ABC"), "SGL");
    EXPECT_EQ(Value(*hub, "5ToneCodeCH.RXCodeCH.CH2.ABC"), 0);
}

} // namespace
