#include "hub_fixture.h"
#include "radiomap/z30_adjust_data_manager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

using namespace testhub;

namespace {

// Records which variant's defaults were asked for.
class CSpyDefaults : public CZ30DefaultDataManager {
public:
    const CByteImage* DefaultImage(int variant) const override {
        asked = variant;
        return CZ30DefaultDataManager::DefaultImage(variant);
    }
    mutable int asked = -1;
};

struct FixUp : ::testing::Test {
    void Use(int variant, CDefaultDataManager* defaults = nullptr) {
        adjust = new CZ30AdjustDataManager;
        hub = std::make_unique<CZ30CloneManager>();
        hub->SetManagers(new CZ30EepromDataManager,
                         defaults ? defaults : new CZ30DefaultDataManager, adjust,
                         new CZ30RadioDataManager, new CZ30ModelManager, nullptr, nullptr);
        hub->Init();
        hub->GetModelManager()->SetVariant(variant, false);
        hub->ResetToDefaults();
    }
    CByteImage& Image() { return *hub->GetImage(); }
    void Randomise(std::mt19937& rng) {
        for (std::uint32_t a = 0; a < Image().Size(); ++a)
            Image().WriteByte(a, static_cast<std::uint8_t>(rng() & 0xFF));
        // Tone words mostly in the range of real tones, so that windows are not all clamped.
        std::uniform_int_distribution<int> hz(200, 3500);
        for (std::uint32_t a = 0x120; a < 0x17A; a += 2) {
            const int word = hz(rng);
            Image().WriteByte(a, static_cast<std::uint8_t>(word >> 8));
            Image().WriteByte(a + 1, static_cast<std::uint8_t>(word & 0xFF));
        }
    }
    // Fixing up a fixed-up image changes nothing.
    void ExpectCanonical(const std::string& what) {
        adjust->FixUpImage();
        CByteImage once;
        once.CopyFrom(Image());
        adjust->FixUpImage();
        for (std::uint32_t a = 0; a < Image().Size(); ++a)
            if (Image().ReadByte(a) != once.ReadByte(a)) {
                ADD_FAILURE() << what << ": byte 0x" << std::hex << a << " was "
                              << int(once.ReadByte(a)) << ", now " << int(Image().ReadByte(a));
                return;
            }
    }
    CZ30AdjustDataManager* adjust = nullptr;
    std::unique_ptr<CZ30CloneManager> hub;
};

TEST_F(FixUp, UsesTheImagesVariantAndKeepsTheDocuments) {
    auto* spy = new CSpyDefaults;
    Use(0, spy);
    Image().WriteByte(0x007, 0xC0);   // 16 channels
    Image().WriteBit(0x07B, 3, true); // PMR
    Image().WriteByte(0x0A1, 25);     // "Call A (Code 30)": PMR only
    Image().WriteByte(0x526, 0x12);   // five-tone transmit code channel 2
    adjust->FixUpImage();
    EXPECT_EQ(spy->asked, 5);
    EXPECT_EQ(hub->GetVariant(), 0);
    EXPECT_EQ(Image().ReadByte(0x0A1), 25);
    EXPECT_EQ(Image().ReadByte(0x526), 0x12);
    EXPECT_EQ(Image().ReadByte(0x007), 0xC0);

    Image().WriteBit(0x07B, 3, false); // the same image as LMR 16CH
    adjust->FixUpImage();
    EXPECT_EQ(spy->asked, 4);
    EXPECT_EQ(hub->GetVariant(), 0);
    EXPECT_EQ(Image().ReadByte(0x0A1), 0);
    EXPECT_EQ(Image().ReadByte(0x526), 0x01);
    EXPECT_EQ(Image().ReadByte(0x527), 0xFF);
}

TEST_F(FixUp, MakerTextModelCodeAndMirror) {
    Use(3);
    std::mt19937 rng(11);
    Randomise(rng);
    adjust->FixUpImage();
    EXPECT_EQ(std::memcmp(Image().Data() + 0x7F8, "NORQ Inc", 8), 0);
    EXPECT_EQ(Image().ReadByte(0x000), 0x58);
    EXPECT_EQ(Image().ReadByte(0x001), 0x27);
    EXPECT_EQ(Image().ReadByte(0x002), 1);
    EXPECT_EQ(std::memcmp(Image().Data() + 0x200, Image().Data() + 0x650, 320), 0);
    EXPECT_EQ(hub->GetVariant(), 3);
}

TEST_F(FixUp, StartupChannel) {
    struct Case {
        std::vector<int> on;        // channels switched on
        std::vector<int> inhibited; // of those, inhibited
        std::uint8_t before;
        std::uint8_t after;
    };
    const Case cases[] = {
        {{}, {}, 0xFF, 0},      {{}, {}, 5, 5},      {{3, 5}, {3}, 0xFF, 4},
        {{3, 5}, {3, 5}, 0, 2}, {{2, 7}, {}, 9, 1},  {{9}, {9}, 0, 8},
        {{16}, {}, 0xFF, 15},   {{20}, {}, 0xFF, 0}, // only the first 16 channels count
    };
    for (const Case& c : cases) {
        Use(0);
        for (int n = 1; n <= 36; ++n)
            SetValue(*hub, "Mch.CH" + std::to_string(n) + ".ChOn", 0);
        for (int n : c.on) {
            SetValue(*hub, "Mch.CH" + std::to_string(n) + ".ChOn", 1);
            SetValue(*hub, "Mch.CH" + std::to_string(n) + ".FreqRx", 146520000);
            SetValue(*hub, "Mch.CH" + std::to_string(n) + ".FreqTx", 146520000);
        }
        for (int n : c.inhibited)
            SetValue(*hub, "Mch.CH" + std::to_string(n) + ".InhCh", 1);
        hub->TreeToImage();
        Image().WriteByte(0x0A6, c.before);
        adjust->FixUpImage();
        EXPECT_EQ(Image().ReadByte(0x0A6), c.after) << "case with " << c.on.size() << " on";
    }
}

TEST_F(FixUp, OptionBitsOfByte127) {
    struct Case {
        std::uint8_t byte7;
        std::uint8_t before;
        std::uint8_t after;
    };
    // Bits 4, 3 always clear; bits 1, 0 kept only with channel code 01 and bit 2 set. Bit 6
    // comes from the defaults (clear).
    const Case cases[] = {
        {0xC1, 0xFF, 0xA7},
        {0xC1, 0xFB, 0xA0},
        {0xC3, 0xFF, 0xA4},
        {0xC0, 0xFF, 0xA4},
    };
    for (const Case& c : cases) {
        Use(0);
        Image().WriteByte(0x007, c.byte7);
        Image().WriteByte(0x07F, c.before);
        adjust->FixUpImage();
        EXPECT_EQ(Image().ReadByte(0x07F), c.after)
            << std::hex << int(c.byte7) << " " << int(c.before);
    }
}

TEST_F(FixUp, LmrResetsAutoChannelCalibration) {
    Use(0);
    Image().WriteBit(0x07C, 1, true);
    Image().WriteByte(0x086, 0x99);
    adjust->FixUpImage();
    EXPECT_EQ(Image().ReadBit(0x07C, 1), 0);
    EXPECT_EQ(Image().ReadByte(0x086), 0x50);

    Use(1); // PMR keeps both
    Image().WriteBit(0x07C, 1, true);
    Image().WriteByte(0x086, 0x99);
    adjust->FixUpImage();
    EXPECT_EQ(Image().ReadBit(0x07C, 1), 1);
    EXPECT_EQ(Image().ReadByte(0x086), 0x99);
}

TEST_F(FixUp, AlignmentValuesForRevisionsOneZeroAndOneOne) {
    struct Case {
        int high;
        int detsrev;
        std::uint8_t at006; // 0 = nothing written
        std::uint8_t at05F;
    };
    const Case cases[] = {{1, 0, 0xF8, 0x84}, {1, 1, 0xEC, 0x8A}, {1, 2, 0, 0},
                          {2, 0, 0, 0},       {0, 9, 0, 0},       {0, 0, 0, 0}};
    for (const Case& c : cases) {
        Use(0);
        for (std::uint32_t a = 0x004; a < 0x070; ++a)
            Image().WriteByte(a, 0xAA);
        adjust->WriteAlignmentValues(c.high, c.detsrev);
        if (c.at006 == 0) {
            for (std::uint32_t a = 0x004; a < 0x070; ++a)
                EXPECT_EQ(Image().ReadByte(a), 0xAA);
            continue;
        }
        EXPECT_EQ(Image().ReadByte(0x004), 0x11);
        EXPECT_EQ(Image().ReadByte(0x005), 0x50);
        EXPECT_EQ(Image().ReadByte(0x006), c.at006);
        EXPECT_EQ(Image().ReadByte(0x05F), c.at05F);
        EXPECT_EQ(Image().ReadByte(0x055), 0xAA);
        for (std::uint32_t a = 0x064; a < 0x070; ++a)
            EXPECT_EQ(Image().ReadByte(a), 0);
        EXPECT_EQ(Image().ReadByte(0x007), 0xAA);
    }
}

TEST_F(FixUp, ChannelClassByte) {
    for (int variant = 0; variant < 6; ++variant) {
        Use(variant);
        Image().WriteByte(0x003, 0x5F);
        adjust->SetChannelClass();
        EXPECT_EQ(Image().ReadByte(0x003), 0x50 + variant / 2);
    }
}

TEST_F(FixUp, DefaultImagesAreCanonical) {
    for (int variant = 0; variant < 6; ++variant) {
        Use(variant);
        adjust->FixUpImage();
        const CByteImage& factory = CZ30DefaultDataManager::FactoryImage(variant);
        for (std::uint32_t a = 0; a < Image().Size(); ++a)
            if (Image().ReadByte(a) != factory.ReadByte(a)) {
                ADD_FAILURE() << "variant " << variant << ": byte 0x" << std::hex << a;
                break;
            }
        ExpectCanonical("variant " + std::to_string(variant));
    }
}

TEST_F(FixUp, RandomImagesBecomeCanonicalInOnePass) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        Use(round % 6);
        Randomise(rng);
        ExpectCanonical("round " + std::to_string(round));
        EXPECT_EQ(hub->GetVariant(), round % 6);
        if (HasFailure()) break;
    }
}

} // namespace
