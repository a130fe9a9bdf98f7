#include "clone/byte_image.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

TEST(ByteImage, OutOfRangeAccessIsToleratedAndHarmless) {
    CByteImage img(2048);
    img.WriteByte(0x7FF, 0x5A);
    EXPECT_EQ(img.ReadByte(0x7FF), 0x5A);
    EXPECT_EQ(img.ReadByte(0x800), 0xFF);
    EXPECT_EQ(img.ReadBit(0x800, 3), 1);
    EXPECT_EQ(img.ReadByte(0xFFFFFFFFu), 0xFF);
    const CByteImage before = img;
    img.WriteByte(0x800, 0);
    img.WriteBit(0x800, 3, false);
    EXPECT_EQ(img, before);
}

TEST(ByteImage, BitsAreLeastSignificantFirst) {
    CByteImage img(4);
    img.WriteBit(1, 0, true);
    img.WriteBit(1, 7, true);
    EXPECT_EQ(img.ReadByte(1), 0x81);
    img.WriteBit(1, 7, false);
    EXPECT_EQ(img.ReadByte(1), 0x01);
    EXPECT_EQ(img.ReadBit(1, 0), 1);
    EXPECT_EQ(img.ReadBit(1, 1), 0);
}

TEST(ByteImage, BlocksMustLieWhollyInside) {
    struct Case {
        std::uint32_t address;
        std::uint32_t n;
        bool ok;
    };
    const Case cases[] = {
        {0x7F8, 16, false},                                // last address 0x807 is outside
        {0x7F8, 8, true},                                  // ends exactly at 0x7FF
        {0x000, 2048, true},                               // the whole image
        {0x001, 2048, false}, {0x7FF, 0xFFFFFFFFu, false}, // a huge count must not wrap round
        {0x800, 1, false},
    };
    for (const Case& c : cases) {
        CByteImage img(2048);
        std::array<std::uint8_t, 2048> src;
        src.fill(0xAB);
        const CByteImage before = img;
        EXPECT_EQ(img.WriteBlock(c.address, src.data(), c.n), c.ok) << c.address << "+" << c.n;
        if (!c.ok) {
            EXPECT_EQ(img, before);
        } else {
            EXPECT_EQ(img.ReadByte(c.address), 0xAB);
            EXPECT_EQ(img.ReadByte(c.address + c.n - 1), 0xAB);
        }
        std::array<std::uint8_t, 2048> dst;
        dst.fill(0x11);
        EXPECT_EQ(img.ReadBlock(c.address, dst.data(), c.n), c.ok);
        if (!c.ok) {
            EXPECT_EQ(dst[0], 0x11);
        }
    }
}

TEST(ByteImage, CopyFromTakesTheOtherSize) {
    CByteImage a(2048), b(16);
    b.WriteByte(15, 7);
    a.CopyFrom(b);
    EXPECT_EQ(a.Size(), 16u);
    EXPECT_EQ(a.ReadByte(15), 7);
    EXPECT_EQ(a.ReadByte(16), 0xFF);
}
