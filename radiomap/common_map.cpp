// Common settings and the maker area: "CommonSet" (Common1, Common2, Expert, KeyDisp) and
// "MakerR".
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/map_fields.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <array>
#include <cstdint>
#include <string>

using namespace radiomap;
using M = CZ30RadioDataManager;

namespace {

// Coded by hand: the comments are texts; "IfFreq" has its sign in a BCD digit.
constexpr std::uint16_t kComment1 = 0x0100;
constexpr std::uint16_t kComment2 = 0x0110;
constexpr std::size_t kCommentLength = 16;
constexpr std::uint16_t kIfFreq = 0x0008; // three bytes

// Availability class of each key-function code: 3 or 4 any variant, 0 LMR only, 1 PMR only,
// anything else never.
constexpr std::size_t kKeyCodeCount = 56;
constexpr std::array<std::uint8_t, kKeyCodeCount> kKeyClass = {
    4, 5, 5, 5, 3, 3, 5, 3, 3, 3, //  0- 9
    3, 3, 3, 3, 3, 4, 4, 3, 4, 5, // 10-19
    3, 5, 5, 3, 3, 1, 1, 3, 3, 5, // 20-29
    5, 5, 5, 5, 5, 5, 5, 5, 5, 5, // 30-39
    5, 5, 5, 5, 5, 5, 5, 5, 5, 3, // 40-49
    5, 5, 5, 5, 5, 5,             // 50-55
};

char PrintableOrSpace(unsigned char c) { return (c < 32 || c > 127) ? ' ' : static_cast<char>(c); }

void DecodeComment(const CByteImage& image, std::uint32_t address, CNode* node) {
    if (!node) return;
    std::string text;
    for (std::size_t i = 0; i < kCommentLength; ++i)
        text += PrintableOrSpace(image.ReadByte(address + static_cast<std::uint32_t>(i)));
    node->SetText(text); // the string node drops the trailing blanks
}

void EncodeComment(CByteImage& image, std::uint32_t address, const CNode* node) {
    if (!node) return;
    std::string text = node->GetText().substr(0, kCommentLength);
    text.resize(kCommentLength, ' ');
    for (std::size_t i = 0; i < kCommentLength; ++i)
        image.WriteByte(address + static_cast<std::uint32_t>(i),
                        static_cast<std::uint8_t>(PrintableOrSpace(text[i])));
}

// "IfFreq": six BCD digits of kHz (the first is 0) in bytes 0x08 to 0x0A, sign in bit 7 of 0x08.
// Only values on the 25 kHz raster are meaningful; anything else reads as 0.
int DecodeIfFreqValue(const CByteImage& image) {
    const int b2 = image.ReadByte(kIfFreq + 2);
    if (b2 != 0x00 && b2 != 0x25 && b2 != 0x50 && b2 != 0x75) return 0;
    const int khz = ReadBcd(image, kIfFreq, 0x0F);
    if (khz < 0) return 0;
    return image.ReadBit(kIfFreq, 7) ? -khz * 1000 : khz * 1000;
}

void EncodeIfFreqValue(CByteImage& image, int hz) {
    WriteBcd(image, kIfFreq, std::abs(hz) / 1000);
    image.WriteBit(kIfFreq, 7, hz < 0);
}

} // namespace

int radiomap::AllowedKeyCode(int code, bool pmr) {
    if (code < 0 || code >= static_cast<int>(kKeyCodeCount)) return 0;
    switch (kKeyClass[static_cast<std::size_t>(code)]) {
    case 3:
    case 4:
        return code;
    case 0:
        return pmr ? 0 : code;
    case 1:
        return pmr ? code : 0;
    default:
        return 0;
    }
}

// ---- codecs ----

namespace {

void DecodeCommon1(M&, CNode*, const CItem& item, const CByteImage& image, int) {
    DecodeComment(image, kComment1, Child(item.node, "Comment1"));
    DecodeComment(image, kComment2, Child(item.node, "Comment2"));
}

bool EncodeCommon1(M&, CNode*, const CItem& item, CByteImage& image, int) {
    EncodeComment(image, kComment1, Child(item.node, "Comment1"));
    EncodeComment(image, kComment2, Child(item.node, "Comment2"));
    return true;
}

void DecodeMakerR(M&, CNode*, const CItem& item, const CByteImage& image, int) {
    Set(item.node, "IfFreq", DecodeIfFreqValue(image));
}

bool EncodeMakerR(M&, CNode*, const CItem& item, CByteImage& image, int) {
    if (Child(item.node, "IfFreq")) EncodeIfFreqValue(image, Get(item.node, "IfFreq"));
    return true;
}

} // namespace

constinit const CSectionCodec radiomap::kCommon1Codec = {1, Whole<kCommon1Section>, DecodeCommon1,
                                                         EncodeCommon1};
constinit const CSectionCodec radiomap::kMakerCodec = {1, Whole<kMakerSection>, DecodeMakerR,
                                                       EncodeMakerR};
