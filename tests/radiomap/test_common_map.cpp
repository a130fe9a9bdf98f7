#include "hub_fixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace testhub;

namespace {

struct CommonMap : ::testing::Test {
    void Use(int variant) { hub = MakeHub(variant); }
    CByteImage& Image() { return *hub->GetImage(); }
    CNode* Root() { return hub->GetRoot(); }
    CZ30RadioDataManager* Data() { return RadioData(*hub); }
    std::unique_ptr<CZ30CloneManager> hub = MakeHub(0);
};

TEST_F(CommonMap, CommentsAreSixteenPrintableCharacters) {
    struct Case {
        std::string stored;
        std::string text;
    };
    const Case cases[] = {
        {std::string(16, ' '), ""},
        {"Base\x01station\x7F\xC3  ", "Base station\x7F"},
        {"\t\n" + std::string(14, 'x'), "  xxxxxxxxxxxxxx"},
    };
    for (const Case& c : cases) {
        Image().WriteBlock(0x100, reinterpret_cast<const std::uint8_t*>(c.stored.data()), 16);
        Data()->Decode(CZ30Section::Common1, Root(), Image());
        EXPECT_EQ(GetNode(Root(), "CommonSet.Common1.Comment1")->GetText(), c.text);
    }

    Node(*hub, "CommonSet.Common1.Comment1")->SetText("");
    Node(*hub, "CommonSet.Common1.Comment2")->SetText("ABCDEFGHIJKLMNOPQRST");
    Data()->Encode(CZ30Section::Common1, Root(), Image());
    for (std::uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(Image().ReadByte(0x100 + i), ' ');
        EXPECT_EQ(Image().ReadByte(0x110 + i), 'A' + i);
    }
}

TEST_F(CommonMap, KeyAssignmentsFollowTheVariant) {
    struct Case {
        std::uint8_t stored;
        int lmr;
        int pmr;
    };
    const Case cases[] = {
        {0, 0, 0},   {3, 0, 0},    {4, 4, 4},    {14, 14, 14}, {19, 0, 0}, {25, 0, 25},
        {26, 0, 26}, {28, 28, 28}, {49, 49, 49}, {55, 0, 0},   {56, 0, 0}, {255, 0, 0},
    };
    for (int variant : {0, 1, 4, 5}) {
        Use(variant);
        const bool pmr = variant % 2 != 0;
        for (const Case& c : cases) {
            const int expected = pmr ? c.pmr : c.lmr;
            Image().WriteByte(0x0A1, c.stored);
            Data()->Decode(CZ30Section::KeyDisp, Root(), Image());
            EXPECT_EQ(Value(*hub, "CommonSet.KeyDisp.KeyMicAConv"), expected)
                << "variant " << variant << " byte " << int(c.stored);

            SetValue(*hub, "CommonSet.KeyDisp.KeyF2Conv", c.stored);
            Data()->Encode(CZ30Section::KeyDisp, Root(), Image());
            EXPECT_EQ(Image().ReadByte(0x0A0), expected);
        }
    }
}

TEST_F(CommonMap, KeyBytesMapToTheirKeys) {
    const std::pair<const char*, std::uint32_t> keys[] = {
        {"KeyF0Conv", 0x9E},    {"KeyF1Conv", 0x9F},   {"KeyF2Conv", 0xA0},
        {"KeyMicAConv", 0xA1},  {"KeyMicBConv", 0xA2}, {"KeyMicUpConv", 0xA3},
        {"KeyMicDnConv", 0xA4},
    };
    const int codes[] = {4, 5, 7, 8, 9, 10, 11};
    for (std::size_t i = 0; i < std::size(keys); ++i)
        Image().WriteByte(keys[i].second, static_cast<std::uint8_t>(codes[i]));
    Data()->Decode(CZ30Section::KeyDisp, Root(), Image());
    for (std::size_t i = 0; i < std::size(keys); ++i)
        EXPECT_EQ(Value(*hub, std::string("CommonSet.KeyDisp.") + keys[i].first), codes[i])
            << keys[i].first;
}

TEST_F(CommonMap, BeepDividers) {
    struct Case {
        std::uint8_t stored;
        int hz;
        std::uint8_t written;
    };
    const Case cases[] = {
        {144, 400, 144}, {58, 993, 58}, {19, 3032, 19}, {0, 400, 144}, {255, 400, 144},
    };
    for (const Case& c : cases) {
        Image().WriteByte(0x070, c.stored);
        Image().WriteByte(0x071, c.stored);
        Data()->Decode(CZ30Section::Expert, Root(), Image());
        EXPECT_EQ(Value(*hub, "CommonSet.Expert.BeepFreqL"), c.hz) << int(c.stored);
        EXPECT_EQ(Value(*hub, "CommonSet.Expert.BeepFreqH"), c.hz);
        Data()->Encode(CZ30Section::Expert, Root(), Image());
        EXPECT_EQ(Image().ReadByte(0x070), c.written);
        EXPECT_EQ(Image().ReadByte(0x071), c.written);
    }
}

TEST_F(CommonMap, UserCtcssDivider) {
    struct Case {
        int divider;
        int tenths;
        int written;
    };
    const Case cases[] = {{0x01C5, 2543, 0x01C5},
                          {0, 600, 1920},
                          {0xFFFF, 600, 1920},
                          {1152, 1000, 1152},
                          {1, 3000, 384}};
    for (const Case& c : cases) {
        Image().WriteByte(0x19A, static_cast<std::uint8_t>(c.divider >> 8));
        Image().WriteByte(0x19B, static_cast<std::uint8_t>(c.divider & 0xFF));
        Data()->Decode(CZ30Section::Expert, Root(), Image());
        EXPECT_EQ(Value(*hub, "CommonSet.Expert.UsrCtcssFreq"), c.tenths) << c.divider;
        Data()->Encode(CZ30Section::Expert, Root(), Image());
        EXPECT_EQ(Image().ReadByte(0x19A) * 256 + Image().ReadByte(0x19B), c.written);
    }
    Node(*hub, "CommonSet.Expert.UsrCtcssFreq")->SetText("254.1");
    Data()->Encode(CZ30Section::Expert, Root(), Image());
    EXPECT_EQ(Image().ReadByte(0x19A), 0x01);
    EXPECT_EQ(Image().ReadByte(0x19B), 0xC5);
}

TEST_F(CommonMap, IfFrequencyBcd) {
    struct Case {
        std::uint8_t b[3];
        int hz;
    };
    const Case cases[] = {
        {{0x84, 0x64, 0x35}, 0},        {{0x84, 0x64, 0x50}, -46450000},
        {{0x04, 0x64, 0x50}, 46450000}, {{0x09, 0x99, 0x75}, 99975000},
        {{0x0A, 0x00, 0x00}, 0},        {{0x00, 0xA0, 0x25}, 0},
        {{0xF0, 0x00, 0x25}, -25000},
    };
    for (const Case& c : cases) {
        Image().WriteBlock(0x008, c.b, 3);
        Data()->Decode(CZ30Section::MakerR, Root(), Image());
        EXPECT_EQ(Value(*hub, "MakerR.IfFreq"), c.hz);
    }
    SetValue(*hub, "MakerR.IfFreq", -46450000);
    Data()->Encode(CZ30Section::MakerR, Root(), Image());
    EXPECT_EQ(Image().ReadByte(0x008), 0x84);
    EXPECT_EQ(Image().ReadByte(0x009), 0x64);
    EXPECT_EQ(Image().ReadByte(0x00A), 0x50);
}

TEST_F(CommonMap, DtcsDecoderAndInvertedSquelchDelay) {
    const std::pair<int, int> decodes[] = {{0, 12},  {1, 12},  {7, 18},
                                           {12, 23}, {13, 23}, {255, 23}};
    for (const auto& [stored, code] : decodes) {
        Image().WriteByte(0x016, static_cast<std::uint8_t>(stored));
        Data()->Decode(CZ30Section::MakerR, Root(), Image());
        EXPECT_EQ(Value(*hub, "MakerR.DtcsDec"), code) << stored;
    }
    SetValue(*hub, "MakerR.DtcsDec", 23);
    Data()->Encode(CZ30Section::MakerR, Root(), Image());
    EXPECT_EQ(Image().ReadByte(0x016), 12);

    const std::uint8_t byte7 = Image().ReadByte(0x007);
    SetValue(*hub, "MakerR.SqlDelayOn", 1);
    Data()->Encode(CZ30Section::MakerR, Root(), Image());
    EXPECT_EQ(Image().ReadBit(0x007, 7), 0);
    EXPECT_EQ(Image().ReadByte(0x007) & 0x03, byte7 & 0x03); // the channel code stays
    Image().WriteBit(0x007, 7, true);
    Data()->Decode(CZ30Section::MakerR, Root(), Image());
    EXPECT_EQ(Value(*hub, "MakerR.SqlDelayOn"), 0);
}

TEST_F(CommonMap, BitsLandOnTheirPositions) {
    struct Case {
        const char* path;
        std::uint32_t address;
        unsigned bit;
    };
    const Case cases[] = {
        {"CommonSet.Common1.IdOut", 0x7D, 5},
        {"CommonSet.Common1.BeepOn", 0x7D, 4},
        {"CommonSet.Common2.TonBurst", 0x7C, 3},
        {"CommonSet.Common2.TrDataOut", 0x7D, 2},
        {"CommonSet.Expert.DTCSInvTx", 0x7B, 7},
        {"CommonSet.Expert.DTCSInvRx", 0x7B, 6},
        {"CommonSet.KeyDisp.RFPwrSel", 0x7F, 2},
        {"CommonSet.KeyDisp.BeepOn", 0x7E, 7},
        {"CommonSet.KeyDisp.MicFunc", 0x7C, 2},
        {"CommonSet.KeyDisp.OpeningBeep", 0x7E, 5},
        {"MakerR.DtcsPolTx", 0x07, 6},
        {"MakerR.DtcsPolRx", 0x07, 5},
        {"MakerR.PllRef", 0x07, 2},
        {"MakerR.FreqPitch", 0x07, 4},
    };
    for (const Case& c : cases) {
        Data()->ImageToTree(Root(), Image());
        SetValue(*hub, c.path, 1 - Image().ReadBit(c.address, c.bit));
        CByteImage before;
        before.CopyFrom(Image());
        Data()->TreeToImage(Root(), Image());
        EXPECT_NE(Image().ReadBit(c.address, c.bit), before.ReadBit(c.address, c.bit)) << c.path;
        EXPECT_EQ(Image().ReadByte(c.address) ^ before.ReadByte(c.address), 1 << c.bit) << c.path;
    }
}

} // namespace
