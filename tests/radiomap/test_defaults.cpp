// Factory default images and the copies from them.
#include "hub_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testhub;

namespace {

TEST(DefaultImages, TellingBytes) {
    const std::uint8_t channelClass[3] = {0x00, 0x01, 0x02};
    const std::uint8_t byte7[3] = {0xC3, 0xC2, 0xC0};
    for (int v = 0; v < 6; ++v) {
        const CByteImage& im = CZ30DefaultDataManager::FactoryImage(v);
        ASSERT_EQ(im.Size(), 2048u);
        EXPECT_EQ(im.ReadByte(0), 0x58);
        EXPECT_EQ(im.ReadByte(1), 0x27);
        EXPECT_EQ(im.ReadByte(2), 0x01);
        EXPECT_EQ(im.ReadByte(3), channelClass[v / 2]) << v;
        EXPECT_EQ(im.ReadByte(7), byte7[v / 2]) << v;
        EXPECT_EQ(im.ReadByte(0x7B), v % 2 ? 0x08 : 0x00) << v;
        EXPECT_EQ(std::memcmp(im.Data() + 0x7F8, "NORQ Inc", 8), 0);
        EXPECT_EQ(im.ReadByte(0x0A8), 0x00);
        EXPECT_EQ(im.ReadByte(0x0B7), 0x0F);
        EXPECT_EQ(im.ReadByte(0x1F5), 0x91);
        EXPECT_EQ(im.ReadByte(0x5DF), 0x30);
        EXPECT_EQ(im.ReadByte(0x64B), 0x02);
    }
    // Out-of-range indexes give the first image.
    EXPECT_EQ(&CZ30DefaultDataManager::FactoryImage(-3), &CZ30DefaultDataManager::FactoryImage(0));
    EXPECT_EQ(&CZ30DefaultDataManager::FactoryImage(6), &CZ30DefaultDataManager::FactoryImage(0));
}

TEST(DefaultImages, PmrDiffersInItsOwnBytesAndClassesInTwo) {
    auto diff = [](int x, int y) {
        int n = 0;
        const auto& a = CZ30DefaultDataManager::FactoryBytes(x);
        const auto& b = CZ30DefaultDataManager::FactoryBytes(y);
        for (std::size_t i = 0; i < a.size(); ++i)
            n += a[i] != b[i];
        return n;
    };
    // Every one of the 316 listed PMR bytes differs from the LMR image.
    const auto& lmr = CZ30DefaultDataManager::FactoryBytes(0);
    const auto& pmr = CZ30DefaultDataManager::FactoryBytes(1);
    EXPECT_EQ(pmr[0x200 + 15], 0x01);
    EXPECT_EQ(pmr[0x200 + 17], 0x00);
    EXPECT_EQ(pmr[0x78F], 0xE0);
    EXPECT_EQ(lmr[0x78F], 0x00);
    EXPECT_EQ(pmr[0x550], 0x99);
    EXPECT_EQ(pmr[0x5DC], 0x0F);
    EXPECT_EQ(pmr[0x647], 0xFF);
    EXPECT_EQ(diff(0, 1), 316);
    for (int v = 2; v < 6; ++v)
        EXPECT_EQ(diff(v % 2, v), 2) << v;
}

TEST(DefaultDataManager, ResetsIntoTheDocumentsImage) {
    auto hub = MakeHub(5);
    CDefaultDataManager* d = hub->GetDefaultDataManager();
    CByteImage& im = *hub->GetImage();
    const CByteImage& pmr16 = CZ30DefaultDataManager::FactoryImage(5);
    EXPECT_TRUE(im == pmr16);

    im.WriteByte(0x087, 0);
    d->ResetByte(-1, 0x087); // the current variant
    EXPECT_EQ(im.ReadByte(0x087), 0x46);
    d->ResetByte(0, 0x087);
    EXPECT_EQ(im.ReadByte(0x087), CZ30DefaultDataManager::FactoryImage(0).ReadByte(0x087));

    im.WriteByte(0x07B, 0xF7);
    d->ResetBit(-1, 0x07B, 3);
    EXPECT_EQ(im.ReadByte(0x07B), 0xFF);

    im.WriteByte(0x7F8, 0);
    im.WriteByte(0x7FF, 0);
    d->ResetBlock(-1, 0x7F8, 8);
    EXPECT_EQ(std::memcmp(im.Data() + 0x7F8, "NORQ Inc", 8), 0);
    im.WriteByte(0x7FF, 0);
    d->ResetBlock(-1, 0x7F8, 9); // past the end: nothing
    d->ResetByte(-1, 5000);
    d->ResetBit(-1, 4096, 1);
    EXPECT_EQ(im.ReadByte(0x7FF), 0);

    d->LoadWhole(2);
    EXPECT_TRUE(im == CZ30DefaultDataManager::FactoryImage(2));
    d->LoadWhole(9);
    EXPECT_TRUE(im == CZ30DefaultDataManager::FactoryImage(0));
    EXPECT_EQ(d->DefaultImage(-1), &CZ30DefaultDataManager::FactoryImage(5));
}

// Decoding and encoding a factory image leaves what the channel map owns as it was.
TEST(DefaultDataManager, FactoryImagesSurviveTheChannelCodec) {
    for (int v = 0; v < 6; ++v) {
        auto hub = MakeHub(v);
        EXPECT_EQ(hub->GetVariant(), v);
        const CByteImage before = *hub->GetImage();
        hub->ImageToTree();
        hub->TreeToImage();
        const CByteImage& after = *hub->GetImage();
        for (std::uint32_t a : {0x073u, 0x074u, 0x075u, 0x07Cu})
            EXPECT_EQ(after.ReadByte(a), before.ReadByte(a)) << v << " " << a;
        for (std::uint32_t a = 0x1F0; a < 0x1F5; ++a)
            EXPECT_EQ(after.ReadByte(a), before.ReadByte(a)) << v << " " << a;
        for (std::uint32_t a = 0x200; a < 0x4D0; ++a)
            EXPECT_EQ(after.ReadByte(a), before.ReadByte(a)) << v << " " << a;
    }
}

} // namespace
