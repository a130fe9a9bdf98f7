// Decoding takes any image, and the codec settles in one pass: decode then encode of a random
// image gives A, and decode then encode of A gives A again.
#include "hub_fixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace testhub;

namespace {

void Randomize(CByteImage& image, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> pick(0, 7);
    for (std::uint32_t a = 0; a < image.Size(); ++a) {
        // Mix in the patterns that matter (off channels, all ones, zero) more often than chance.
        const int p = pick(rng);
        image.WriteByte(a, p == 0 ? 0xFF : p == 1 ? 0x00 : static_cast<std::uint8_t>(byte(rng)));
    }
}

TEST(MchProperty, ChannelCodecSettlesInOnePass) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 300; ++round) {
        auto hub = MakeHub(round % 6);
        CZ30RadioDataManager* map = RadioData(*hub);
        CByteImage& image = *hub->GetImage();
        Randomize(image, rng);
        map->Decode(CZ30Section::Mch, hub->GetRoot(), image);
        map->Encode(CZ30Section::Mch, hub->GetRoot(), image);
        const CByteImage a = image;
        map->Decode(CZ30Section::Mch, hub->GetRoot(), image);
        map->Encode(CZ30Section::Mch, hub->GetRoot(), image);
        ASSERT_TRUE(image == a) << "round " << round;
    }
}

TEST(MchProperty, WholeImageSettlesInOnePass) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        auto hub = MakeHub(0);
        CByteImage& image = *hub->GetImage();
        Randomize(image, rng);
        hub->ImageToTree();
        hub->TreeToImage();
        const CByteImage a = image;
        hub->ImageToTree();
        hub->TreeToImage();
        for (std::uint32_t i = 0; i < image.Size(); ++i)
            ASSERT_EQ(image.ReadByte(i), a.ReadByte(i))
                << "round " << round << " address 0x" << std::hex << i;
    }
}

} // namespace
