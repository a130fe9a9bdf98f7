#include "clone/model_manager.h"

#include <gtest/gtest.h>

#include <array>

namespace {
std::array<std::uint8_t, 38> Info(std::uint8_t b33, std::uint8_t b34, std::uint8_t b37) {
    std::array<std::uint8_t, 38> info{};
    for (int i = 0; i < 16; ++i)
        info[i] = static_cast<std::uint8_t>('A' + i);
    for (int i = 16; i < 32; ++i)
        info[i] = ' ';
    info[33] = b33;
    info[34] = b34;
    info[37] = b37;
    return info;
}
} // namespace

TEST(ModelInfo, ParseInfoGivesTheVariant) {
    struct Case {
        std::uint8_t b34;
        int variant;
    };
    const Case cases[] = {
        {0x12, 5}, // class code 01 = 16 channels, PMR
        {0x00, 4}, {0x02, 5}, {0x20, 2}, {0x22, 3}, {0x30, 0}, {0x32, 1},
    };
    for (const Case& c : cases) {
        auto rec = CZ30ModelManager::NewZ30Record();
        auto info = Info(0x41, c.b34, 0);
        rec->SetInfoData(info.data(), info.size());
        rec->ParseInfo();
        EXPECT_EQ(rec->GetCurrent(), c.variant) << int(c.b34);
        EXPECT_EQ(rec->NameOfCurrent(), kVariantNames[c.variant]);
    }
}

TEST(ModelInfo, DetailKeys) {
    struct Case {
        std::uint8_t b33, b34, b37;
        const char* key;
        int value;
    };
    const Case cases[] = {
        {0x40, 0, 0, "DETTRTYP_CONV", 1}, {0x60, 0, 0, "DETTRTYP_CONV", 1},
        {0x20, 0, 0, "DETTRTYP_CONV", 0}, {0x20, 0, 0, "DETTRTYP_BRS", 1},
        {0x00, 0, 0, "DETTRTYP_GMRS", 1}, {0x40, 0, 0, "DETTRTYP_GMRS", 0},
        {0, 0x01, 0, "DETREF", 1},        {0, 0x00, 0, "DETREF", 0},
        {0, 0, 3, "DETSREV", 3},          {0, 0, 12, "DETSREV", 9},
        {0x00, 0, 0, "DETEEP", 1},        {0x01, 0, 0, "DETEEP", 0},
        {0, 0x04, 0, "DETHIVOLT", 1},     {0, 0x08, 0, "DETFRQPIT", 1},
        {0, 0, 0, "NO_SUCH_KEY", -1},
    };
    for (const Case& c : cases) {
        auto rec = CZ30ModelManager::NewZ30Record();
        auto info = Info(c.b33, c.b34, c.b37);
        rec->SetInfoData(info.data(), info.size());
        EXPECT_EQ(rec->DetailLookup(c.key), c.value) << c.key << " " << int(c.b33);
    }
}

TEST(ModelInfo, InfoBlockNeverShrinksOrOverflows) {
    auto rec = CZ30ModelManager::NewZ30Record();
    std::array<std::uint8_t, 40> big{};
    big.fill(0x33);
    rec->SetInfoData(big.data(), big.size()); // too long: nothing changes
    EXPECT_EQ(rec->InfoLength(), 38u);
    EXPECT_EQ(rec->InfoData()[0], 0);
    rec->SetInfoData(big.data(), 10);
    EXPECT_EQ(rec->InfoLength(), 38u);
    EXPECT_EQ(rec->InfoData()[9], 0x33);
    EXPECT_EQ(rec->InfoData()[10], 0);
    EXPECT_EQ(rec->DetailLookup("DETSREV"), 0);
}

TEST(ModelInfo, RecordValuesAndClamping) {
    auto rec = CZ30ModelManager::NewZ30Record();
    EXPECT_EQ(rec->GetModelCode(), 0x5827);
    EXPECT_EQ(rec->GetRevision(), 0x0100);
    rec->SetCurrent(9);
    EXPECT_EQ(rec->GetCurrent(), 5);
    rec->SetCurrent(-2);
    EXPECT_EQ(rec->GetCurrent(), 0);
    rec->Exclude(3);
    EXPECT_FALSE(rec->IsValid(3));
    EXPECT_EQ(rec->NearestValid(3), 0);
    auto info = Info(0x41, 0, 0);
    rec->SetInfoData(info.data(), info.size());
    EXPECT_EQ(rec->CommentLine(0), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(rec->CommentLine(1), std::string(16, ' '));
}
