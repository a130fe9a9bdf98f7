// DTMF autodial memories ("DTMFAutoD.DTMFDial"): their codes are texts, coded by hand.
#include "params/node_access.h"
#include "radiomap/map_fields.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <cstdint>
#include <string>

using namespace radiomap;
using M = CZ30RadioDataManager;

namespace {

constexpr std::uint16_t kAutodial = 0x01A0; // 13 bytes per memory
constexpr std::uint32_t kAutodialSize = 13;
constexpr std::uint32_t kAutodialCountByte = 12;
constexpr std::size_t kAutodialDigits = 24;
constexpr char kDtmfDigits[] = "0123456789ABCD*#";

CItem AutodialItem(CNode* root, int index) {
    return {GetNode(root, "DTMFAutoD.DTMFDial." + AutodialName(index) + ".Code")};
}

std::uint32_t AutodialBase(int index) {
    return kAutodial + kAutodialSize * static_cast<std::uint32_t>(index);
}

// 13 bytes a memory: 24 digit nibbles, high nibble first, then the digit count.
void DecodeAutodial(M&, CNode*, const CItem& item, const CByteImage& image, int index) {
    const std::uint32_t base = AutodialBase(index);
    const std::size_t count =
        std::min<std::size_t>(image.ReadByte(base + kAutodialCountByte), kAutodialDigits);
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += kDtmfDigits[Nibble(image, base, i)];
    item.node->SetText(text);
}

bool EncodeAutodial(M&, CNode*, const CItem& item, CByteImage& image, int index) {
    const std::uint32_t base = AutodialBase(index);
    // Blanks at either end go; inside the code only spaces do, any other character is a digit
    // (stored as 0 when it is no hexadecimal one).
    std::string digits;
    for (char c : TrimBlanks(item.node->GetText().substr(0, kAutodialDigits))) {
        if (c == ' ') continue;
        digits += c == '*' ? 'E' : c == '#' ? 'F' : c;
    }
    image.WriteByte(base + kAutodialCountByte, static_cast<std::uint8_t>(digits.size()));
    if (digits.size() % 2 != 0) digits += '0';
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int hi = std::max(HexDigitValue(digits[i]), 0);
        const int lo = std::max(HexDigitValue(digits[i + 1]), 0);
        image.WriteByte(base + static_cast<std::uint32_t>(i / 2),
                        static_cast<std::uint8_t>(hi << 4 | lo));
    }
    return true;
}

} // namespace

constinit const CSectionCodec radiomap::kAutodialCodec = {kAutodialCount, AutodialItem,
                                                          DecodeAutodial, EncodeAutodial};
