// A radio image for the adjust utility's tests and screenshots, saved as a clone data file for
// nqz30sim --image.
#pragma once

#include "clone/byte_image.h"
#include "sim/hxq_file.h"

#include <string>

// The radio's memory: three channels and known alignment values.
inline bool WriteRadioImage(const std::string& path) {
    CByteImage im(2048);
    const std::uint8_t head[] = {0x58, 0x27, 0x01, 0x00};
    im.WriteBlock(0, head, sizeof head);
    for (std::uint32_t a = 512; a < 2048; ++a)
        im.WriteByte(a, 0xFF);
    im.WriteByte(23, 0x45);
    const std::uint8_t adjust[] = {38, 200, 37,   150, 36, 100, 45, 77, 43,   128, 44,   64, 167,
                                   90, 39,  0xF6, 40,  5,  41,  20, 42, 0x80, 34,  0xFE, 35, 3};
    for (std::size_t i = 0; i < sizeof adjust; i += 2)
        im.WriteByte(adjust[i], adjust[i + 1]);
    for (std::uint8_t a = 0; a < 20; ++a)
        im.WriteByte(66u + a, static_cast<std::uint8_t>(100 + a));
    const std::uint8_t channels[3][13] = {
        {0x45, 0x01, 0x25, 0x45, 0x01, 0x25, 0, 0, 0, 0x03, 0, 0, 0x80},
        {0x44, 0x61, 0x00, 0x44, 0x61, 0x00, 0, 0, 0, 0x02, 0, 0, 0x00},
        {0x45, 0x02, 0x50, 0x45, 0x52, 0x50, 0, 0, 0, 0x00, 0, 0, 0x00},
    };
    for (std::uint32_t n = 0; n < 3; ++n)
        im.WriteBlock(512 + 20 * n, channels[n], sizeof channels[n]);
    im.WriteBlock(0x7F8, reinterpret_cast<const std::uint8_t*>("NORQ Inc"), 8);
    std::string error;
    return SimSaveHxq(path, im, &error);
}
