// Memory channel map: tree shape, worked records and the pattern tables.
#include "hub_fixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace testhub;

namespace {

constexpr int kLmr = 4; // LMR 16CH
constexpr int kPmr = 5; // PMR 16CH

std::uint32_t Record(int channel) { return 0x200 + 20 * (channel - 1); }

std::string Ch(int channel, const char* field) {
    return "Mch.CH" + std::to_string(channel) + "." + field;
}

void Encode(CZ30CloneManager& hub) { hub.TreeToImage(); }

TEST(MchTree, ChannelsAndDefaultChannel) {
    auto hub = MakeHub(kLmr);
    CNode* mch = Node(*hub, "Mch");
    ASSERT_NE(mch, nullptr);
    EXPECT_EQ(mch->ChildCount(), 4u + 37u);
    EXPECT_EQ(Node(*hub, "Mch.CH37"), nullptr);
    EXPECT_EQ(Node(*hub, "Mch.CH36")->ChildCount(), 35u);
    EXPECT_EQ(Node(*hub, "Mch.BnkSet")->GetText(), "Free");

    const struct {
        const char* field;
        int code;
    } ch0[] = {{"ChOn", 0}, {"CTonRx", 1000}, {"CTonTx", 1000},  {"PwrSave", 1},
               {"TOT", 1},  {"ScnLst1", 1},   {"AutoResetL", 1}, {"AutoResetP", 1},
               {"Moni", 5}, {"Form", 1},      {"RxCNo1", 1},     {"RxCNo3", 1}};
    for (const auto& f : ch0)
        EXPECT_EQ(Value(*hub, Ch(0, f.field)), f.code) << f.field;
}

TEST(MchTree, ToneSquelchTexts) {
    auto hub = MakeHub(kLmr);
    CNode* tone = Node(*hub, Ch(1, "CTonRx"));
    const struct {
        int code;
        const char* text;
    } cases[] = {{0, "67.0"},   {13, "100.0"}, {50, "254.1"}, {51, "USER"},
                 {1000, "OFF"}, {2023, ""},    {3754, ""}};
    for (const auto& c : cases) {
        tone->SetValue(c.code);
        EXPECT_EQ(tone->GetValue(), c.code);
        EXPECT_EQ(tone->GetText(), c.text) << c.code;
    }
    EXPECT_TRUE(tone->SetText("146.2").Taken());
    EXPECT_EQ(tone->GetValue(), 24);
    EXPECT_TRUE(Node(*hub, Ch(1, "RPT"))->SetText("17").Taken());
    EXPECT_EQ(Node(*hub, Ch(1, "RPT"))->GetText(), "17");
}

TEST(MchCodec, FrequencyAndToneBytes) {
    auto hub = MakeHub(kLmr);
    SetValue(*hub, Ch(3, "ChOn"), 1);
    SetValue(*hub, Ch(3, "FreqRx"), 146525000);
    SetValue(*hub, Ch(3, "InhCh"), 1);
    SetValue(*hub, Ch(3, "FreqTx"), 799997500);
    SetValue(*hub, Ch(3, "CTonRx"), 2023);
    SetValue(*hub, Ch(3, "CTonTx"), 3754);
    SetValue(*hub, Ch(4, "ChOn"), 1);
    SetValue(*hub, Ch(4, "CTonRx"), 1000);
    SetValue(*hub, Ch(4, "CTonTx"), 12);
    Encode(*hub);
    const CByteImage& im = *hub->GetImage();
    const std::uint32_t a = Record(3), b = Record(4);
    EXPECT_EQ(im.ReadByte(a + 0), 0x94);
    EXPECT_EQ(im.ReadByte(a + 1), 0x65);
    EXPECT_EQ(im.ReadByte(a + 2), 0x25);
    EXPECT_EQ(im.ReadByte(a + 3), 0x79);
    EXPECT_EQ(im.ReadByte(a + 4), 0x99);
    EXPECT_EQ(im.ReadByte(a + 5), 0x97);
    EXPECT_EQ(im.ReadByte(a + 6), 0x41);
    EXPECT_EQ(im.ReadByte(a + 7), 0x37);
    EXPECT_EQ(im.ReadByte(a + 8), 0xEC);
    EXPECT_EQ(im.ReadByte(b + 6), 0x80);
    EXPECT_EQ(im.ReadByte(b + 7), 0x00);
    EXPECT_EQ(im.ReadByte(b + 8), 0x0C);

    // Back into the tree: the image keeps 799.997 MHz, the raster gives back the 500 Hz.
    hub->ImageToTree();
    EXPECT_EQ(Value(*hub, Ch(3, "FreqRx")), 146525000);
    EXPECT_EQ(Value(*hub, Ch(3, "InhCh")), 1);
    EXPECT_EQ(Value(*hub, Ch(3, "FreqTx")), 799997500);
    EXPECT_EQ(Value(*hub, Ch(3, "CTonRx")), 2023);
    EXPECT_EQ(Value(*hub, Ch(3, "CTonTx")), 3754);
    EXPECT_EQ(Value(*hub, Ch(4, "CTonTx")), 12);
}

TEST(MchCodec, DigitalCodeDigitsAreOctal) {
    auto hub = MakeHub(kLmr);
    const struct {
        int code;
        int stored;
    } cases[] = {{2899, 2777}, {3080, 3070}, {4000, 1000}, {999, 1000}, {52, 1000}, {51, 51}};
    SetValue(*hub, Ch(1, "ChOn"), 1);
    for (const auto& c : cases) {
        SetValue(*hub, Ch(1, "CTonRx"), c.code);
        Encode(*hub);
        hub->ImageToTree();
        EXPECT_EQ(Value(*hub, Ch(1, "CTonRx")), c.stored) << c.code;
    }
}

TEST(MchCodec, OddStoredValuesDecodeToFixedCodes) {
    auto hub = MakeHub(kPmr);
    CByteImage& im = *hub->GetImage();
    const std::uint32_t a = Record(2);
    const std::uint8_t record[20] = {0x1A, 0x23, 0x45, 0x14, 0x65, 0x25, 0xC0, 0x00, 0x45, 0x00,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x07};
    im.WriteBlock(a, record, 20);
    im.WriteByte(0x74, 200);
    im.WriteByte(0x73, 99);
    im.WriteBit(0x7C, 5, true);
    hub->ImageToTree();
    EXPECT_EQ(Value(*hub, Ch(2, "ChOn")), 1);
    EXPECT_EQ(Value(*hub, Ch(2, "FreqRx")), 0); // nibble A is no decimal digit
    EXPECT_EQ(Value(*hub, Ch(2, "FreqTx")), 146525000);
    EXPECT_EQ(Value(*hub, Ch(2, "CTonRx")), 1000); // kind 11
    EXPECT_EQ(Value(*hub, Ch(2, "CTonTx")), 51);   // CTCSS code 0x45 above the table
    EXPECT_EQ(Value(*hub, Ch(2, "Form")), 9);
    EXPECT_EQ(Value(*hub, Ch(2, "2Ton")), 3);
    EXPECT_EQ(Value(*hub, "Mch.PrioA"), 36);
    EXPECT_EQ(Value(*hub, "Mch.Emr"), 36);

    // A record marked off decodes empty and is restored from the factory record.
    im.WriteByte(a, 0xFF);
    hub->ImageToTree();
    EXPECT_EQ(Value(*hub, Ch(2, "ChOn")), 0);
    EXPECT_EQ(Value(*hub, Ch(2, "InhCh")), 0);
    EXPECT_EQ(Value(*hub, Ch(2, "FreqRx")), 0);
    hub->TreeToImage();
    const CByteImage& factory = CZ30DefaultDataManager::FactoryImage(kPmr);
    for (std::uint32_t i = 0; i < 20; ++i)
        EXPECT_EQ(im.ReadByte(a + i), factory.ReadByte(a + i)) << i;
}

TEST(MchCodec, PriorityEmergencyAndScanBits) {
    auto hub = MakeHub(kLmr);
    CByteImage& im = *hub->GetImage();
    SetValue(*hub, "Mch.PrioA", 0);
    SetValue(*hub, "Mch.PrioB", 36);
    SetValue(*hub, "Mch.Emr", 0);
    im.WriteByte(0x73, 0x22);
    im.WriteByte(0x7C, 0xFF);
    for (int n : {9, 36}) {
        SetValue(*hub, Ch(n, "ChOn"), 1);
        SetValue(*hub, Ch(n, "ScnLst1"), 0);
    }
    Encode(*hub);
    EXPECT_EQ(im.ReadByte(0x74), 0);
    EXPECT_EQ(im.ReadByte(0x75), 35);
    EXPECT_EQ(im.ReadByte(0x73), 0);
    EXPECT_EQ(im.ReadBit(0x7C, 5), 0);
    EXPECT_EQ(im.ReadByte(0x1F0), 0xFF);
    EXPECT_EQ(im.ReadByte(0x1F1), 0x7F); // channel 9: bit 7
    EXPECT_EQ(im.ReadByte(0x1F4), 0xEF); // channel 36: bit 4

    SetValue(*hub, "Mch.Emr", 12);
    Encode(*hub);
    EXPECT_EQ(im.ReadByte(0x73), 11);
    EXPECT_EQ(im.ReadBit(0x7C, 5), 1);
    hub->ImageToTree();
    EXPECT_EQ(Value(*hub, "Mch.Emr"), 12);
    EXPECT_EQ(Value(*hub, Ch(9, "ScnLst1")), 0);
    EXPECT_EQ(Value(*hub, Ch(8, "ScnLst1")), 1);
}

TEST(MchCodec, LmrTwoToneChannel) {
    auto hub = MakeHub(kLmr);
    CByteImage& im = *hub->GetImage();
    const std::uint32_t a = Record(5);
    // Five-tone fields set in the tree do not reach an LMR image.
    im.WriteByte(a + 16, 0x55);
    SetValue(*hub, Ch(5, "ChOn"), 1);
    SetValue(*hub, Ch(5, "2Ton"), 2);
    SetValue(*hub, Ch(5, "Moni"), 7);
    SetValue(*hub, Ch(5, "Form"), 5);
    SetValue(*hub, Ch(5, "RPT"), 9);
    Encode(*hub);
    EXPECT_EQ(im.ReadByte(a + 19), 0x02);
    EXPECT_EQ(im.ReadByte(a + 11) & 0x0C, 0x0C);
    EXPECT_EQ(im.ReadBit(a + 10, 0), 1);
    EXPECT_EQ(im.ReadByte(a + 15) & 0x0F, 0);
    EXPECT_EQ(im.ReadByte(a + 17), 0x81);
    EXPECT_EQ(im.ReadByte(a + 16), 0x00); // factory byte
    EXPECT_EQ(im.ReadBit(a + 9, 6), 0);
    EXPECT_EQ(im.ReadBit(a + 11, 5), 1); // factory 0x30 in byte 11
    EXPECT_EQ(im.ReadBit(a + 11, 4), 1);
}

TEST(MchCodec, LogInPatterns) {
    auto hub = MakeHub(kPmr);
    CByteImage& im = *hub->GetImage();
    const std::uint32_t a = Record(1);
    SetValue(*hub, Ch(1, "ChOn"), 1);
    SetValue(*hub, Ch(1, "LogInOfP"), 3);
    Encode(*hub);
    EXPECT_EQ(im.ReadByte(a + 10) & 0xF0, 0x40);
    hub->ImageToTree();
    EXPECT_EQ(Value(*hub, Ch(1, "LogInOfP")), 3);
    im.WriteByte(a + 10, static_cast<std::uint8_t>((im.ReadByte(a + 10) & 0x0F) | 0x10));
    hub->ImageToTree();
    EXPECT_EQ(Value(*hub, Ch(1, "LogInOfP")), 3);
    EXPECT_EQ(Value(*hub, Ch(1, "LogInOfL")), 0);
}

// Every code of a multi-bit field survives encode and decode, in the variant that stores it;
// codes above the field's largest are clamped or mapped as the radio expects.
TEST(MchCodec, FieldCodesRoundTrip) {
    const struct {
        int variant;
        const char* field;
        int last;       // largest stored code
        int beyondCode; // a code above it ...
        int beyondRead; // ... and what it reads back as
    } fields[] = {
        {kLmr, "RfPwr", 2, 3, 0},      {kLmr, "LockoutL", 2, 3, 2},   {kPmr, "LockoutP", 3, 9, 3},
        {kLmr, "AutoResetL", 1, 1, 1}, {kPmr, "AutoResetP", 3, 7, 3}, {kLmr, "LogInOfL", 3, 4, 3},
        {kPmr, "LogInOfP", 8, 20, 8},  {kPmr, "Moni", 7, 8, 7},       {kPmr, "Sel", 2, 3, 2},
        {kPmr, "Form", 9, 12, 9},      {kPmr, "IdPos", 2, 3, 0},      {kPmr, "RPT", 32, 32, 32},
        {kPmr, "STN", 32, 32, 32},     {kPmr, "Id", 32, 32, 32},      {kLmr, "2Ton", 3, 200, 3},
    };
    for (const auto& f : fields) {
        auto hub = MakeHub(f.variant);
        SetValue(*hub, Ch(7, "ChOn"), 1);
        for (int code = 0; code <= f.last; ++code) {
            SetValue(*hub, Ch(7, f.field), code);
            Encode(*hub);
            hub->ImageToTree();
            EXPECT_EQ(Value(*hub, Ch(7, f.field)), code) << f.field;
        }
        SetValue(*hub, Ch(7, f.field), f.beyondCode);
        Encode(*hub);
        hub->ImageToTree();
        EXPECT_EQ(Value(*hub, Ch(7, f.field)), f.beyondRead) << f.field << " " << f.beyondCode;
    }
}

TEST(MchCodec, PmrBitsAndBytes) {
    auto hub = MakeHub(kPmr);
    CByteImage& im = *hub->GetImage();
    const std::uint32_t a = Record(2);
    SetValue(*hub, Ch(2, "ChOn"), 1);
    const struct {
        const char* field;
        int code;
    } set[] = {{"RxCNo1", 1}, {"RxCNo2", 0}, {"RxCNo3", 1}, {"RPTLng", 1}, {"RPT", 5},
               {"IdLng", 0},  {"Id", 32},    {"IdPos", 2},  {"Form", 9},   {"Moni", 4},
               {"Mute", 1},   {"WidNar", 1}, {"TOT", 0},    {"RfPwr", 2}};
    for (const auto& s : set)
        SetValue(*hub, Ch(2, s.field), s.code);
    Encode(*hub);
    EXPECT_EQ(im.ReadByte(a + 19), 0xA0);
    EXPECT_EQ(im.ReadByte(a + 16), 0x85);
    EXPECT_EQ(im.ReadByte(a + 18), 0x20);
    EXPECT_EQ(im.ReadByte(a + 15), 0xCF);
    EXPECT_EQ(im.ReadBit(a + 9, 6), 1); // Moni 4 = pattern 14
    EXPECT_EQ(im.ReadBit(a + 10, 3), 1);
    EXPECT_EQ(im.ReadBit(a + 11, 4), 1);
    EXPECT_EQ(im.ReadBit(a + 11, 5), 0);
    EXPECT_EQ(im.ReadBit(a + 10, 0), 1);
    EXPECT_EQ(im.ReadBit(a + 12, 7), 1);
    EXPECT_EQ(im.ReadBit(a + 9, 4), 0);
    EXPECT_EQ(im.ReadByte(a + 9) & 3, 3);
    hub->ImageToTree();
    for (const auto& s : set)
        EXPECT_EQ(Value(*hub, Ch(2, s.field)), s.code) << s.field;
}

TEST(MchCodec, StoredKilohertzReadBackOnTheRaster) {
    auto hub = MakeHub(kLmr);
    CByteImage& im = *hub->GetImage();
    const struct {
        std::uint8_t bcd[3];
        int hz;
    } cases[] = {
        {{0x15, 0x00, 0x06}, 150006250}, // 6.25 kHz raster
        {{0x14, 0x65, 0x31}, 146531250},
        {{0x14, 0x65, 0x25}, 146525000}, // on the 2.5 kHz raster already
        {{0x00, 0x00, 0x01}, 1000},      // 1 kHz fits no raster: as stored
    };
    for (const auto& c : cases) {
        im.WriteBlock(Record(2), c.bcd, 3);
        hub->ImageToTree();
        EXPECT_EQ(Value(*hub, Ch(2, "FreqRx")), c.hz) << c.hz;
        Encode(*hub);
        EXPECT_EQ(im.ReadByte(Record(2) + 2), c.bcd[2]) << "encoding keeps the kHz " << c.hz;
    }
}

TEST(MchCodec, EveryDecodedFactoryImageEncodesToItsOwnBytes) {
    for (int v = 0; v < 6; ++v) {
        auto hub = MakeHub(v);
        CByteImage& im = *hub->GetImage();
        // Channels on at frequencies of every raster, written as the image keeps them.
        const std::uint8_t khz[][3] = {{0x15, 0x00, 0x06},
                                       {0x14, 0x65, 0x31},
                                       {0x44, 0x61, 0x00},
                                       {0x43, 0x00, 0x03},
                                       {0x79, 0x99, 0x97}};
        for (int ch = 1; ch <= 5; ++ch) {
            im.WriteBlock(Record(ch), khz[ch - 1], 3);
            im.WriteBlock(Record(ch) + 3, khz[(ch + 1) % 5], 3);
        }
        hub->ImageToTree();
        CByteImage before;
        before.CopyFrom(im);
        Encode(*hub);
        EXPECT_EQ(im, before) << "variant " << v;
    }
}

} // namespace
