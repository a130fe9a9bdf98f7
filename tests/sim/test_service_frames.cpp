// The radio's E8 service answers on the wire: echo first, then the identity bytes, the command
// repeated and the reading as two hex characters; value commands are stored without answer.
#include "sim/radio_model.h"

#include <gtest/gtest.h>

#include <cctype>
#include <vector>

namespace {
std::vector<std::uint8_t> Send(CSimRadio& radio, std::vector<std::uint8_t> frame) {
    std::vector<CSimWireByte> wire;
    radio.FromPc(frame.data(), frame.size(), &wire);
    std::vector<std::uint8_t> fromRadio;
    for (const CSimWireByte& b : wire)
        if (!b.echo) fromRadio.push_back(b.byte);
    return fromRadio;
}
} // namespace

TEST(SimServiceFrames, ReadingsAreAnsweredAndSettingsStored) {
    CSimRadio radio;
    radio.Service().SetTemperatureReading(0x80);
    // A/D row 1 (temperature): command 03, value "01".
    const auto answer =
        Send(radio, {0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x58, 0x27, 0x01, 0x00, 0x03, 0x30, 0x31, 0xFD});
    const std::vector<std::uint8_t> expected = {0xFE, 0xFE, 0xEF, 0xEE, 0xE8, 0x58, 0x27,
                                                0x01, 0x00, 0x03, '8',  '0',  0xFD};
    EXPECT_EQ(answer, expected);

    // Channel selection (command 00) is stored, nothing is answered.
    EXPECT_TRUE(
        Send(radio, {0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x58, 0x27, 0x01, 0x00, 0x00, 0x30, 0x31, 0xFD})
            .empty());
    EXPECT_EQ(radio.Service().Stored(0), 1);

    radio.Service().SetInvalidAnswers(true);
    const auto bad =
        Send(radio, {0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x58, 0x27, 0x01, 0x00, 0x03, 0x30, 0x31, 0xFD});
    ASSERT_EQ(bad.size(), 13u);
    EXPECT_FALSE(std::isxdigit(bad[10]) && std::isxdigit(bad[11]));
}
