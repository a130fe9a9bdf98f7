// Five-tone signalling of the PMR variants: "5ToneCodeCH" (receive and transmit code channels,
// common settings, tone formats, user tones).
#include "params/node_access.h"
#include "radiomap/map_fields.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <cstdint>
#include <string>

using namespace radiomap;
using M = CZ30RadioDataManager;

namespace {

// Tone digits: nibbles 0 to 14, nibble 15 ends a code.
constexpr char kToneDigits[] = "0123456789ABCDE0";
constexpr int kEndNibble = 15;
constexpr std::size_t kCodeDigits = 7;
constexpr std::uint32_t kWildcardByte = 4; // of a receive record: bit 7 - j, digit j is "+"

constexpr int kDtmfFormat = 9;
constexpr int kGroupToneMax = 14;

std::uint32_t TxRecord(int index) {
    return kTxRecord + kTxRecordSize * static_cast<std::uint32_t>(index);
}

// Up to seven digits from the nibbles at base, ended by nibble 15.
std::string ReadToneCode(const CByteImage& image, std::uint32_t base) {
    std::string code;
    for (std::size_t i = 0; i < kCodeDigits; ++i) {
        const int nibble = Nibble(image, base, i);
        if (nibble == kEndNibble) break;
        code += kToneDigits[nibble];
    }
    return code;
}

// Writes a code as 8 nibbles ended by 15. "*" and "G" stand for the group tone digit; with
// wildcards, a "+" is stored as 0 with its flag bit set in the byte at flags.
void WriteToneCode(CByteImage& image, std::uint32_t base, const std::string& text, int group,
                   const std::uint32_t* flags) {
    std::string code = (text + "F").substr(0, kCodeDigits);
    std::string digits;
    for (char c : code) {
        if (c == ' ' || c == '\t') continue;
        digits += (c == '*' || c == 'G') ? kUpperHexDigits[group] : c;
    }
    constexpr std::uint8_t kEnded[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    image.WriteBlock(base, kEnded, 4);
    for (std::size_t i = 0; i < kCodeDigits; ++i) {
        const bool wild = flags && i < digits.size() && digits[i] == '+';
        if (flags) image.WriteBit(*flags, static_cast<unsigned>(7 - i), wild);
        if (i < digits.size())
            WritePlace(image, base, Bits(std::uint16_t(i / 2), i % 2 == 0 ? 4 : 0, 4),
                       wild ? 0 : std::max(HexDigitValue(digits[i]), 0));
    }
}

// The group tone digit that "*" and "G" stand for in five-tone codes: "SpcTonGrp", 0..14.
int GroupToneDigit(CNode* root) {
    CNode* grp = GetNode(root, "5ToneCodeCH.TxCodeCom.SpcTonGrp");
    return grp ? HexTextValue(grp->GetText(), kGroupToneMax) : 0;
}

// The codes of the coded channels, with their "+" flags; the group channel has none.
void DecodeRx(M&, CNode*, const CItem& item, const CByteImage& image, int index) {
    const std::uint32_t r = RxRecordOf(index);
    std::string code;
    if (index < kCodedChannelCount) {
        code = ReadToneCode(image, r);
        for (std::size_t j = 0; j < code.size(); ++j)
            if (image.ReadBit(r + kWildcardByte, static_cast<unsigned>(7 - j))) code[j] = '+';
    }
    if (CNode* n = Child(item.node, "RxCode")) n->SetText(code);
}

bool EncodeRx(M&, CNode* root, const CItem& item, CByteImage& image, int index) {
    const std::uint32_t r = RxRecordOf(index);
    if (index < kCodedChannelCount) {
        const std::uint32_t flags = r + kWildcardByte;
        WriteToneCode(image, r, GetTextByName(item.node, "RxCode"), GroupToneDigit(root), &flags);
    }
    return true;
}

CItem TxItem(CNode* root, int index) {
    return {GetNode(root, "5ToneCodeCH.TXCodeCH.CH" + std::to_string(index + 1)),
            {{{TxRecord(index), &k5ToneTxSection}}}};
}

void DecodeTx(M&, CNode*, const CItem& item, const CByteImage& image, int index) {
    if (CNode* n = Child(item.node, "TxCode")) n->SetText(ReadToneCode(image, TxRecord(index)));
}

bool EncodeTx(M&, CNode* root, const CItem& item, CByteImage& image, int index) {
    WriteToneCode(image, TxRecord(index), GetTextByName(item.node, "TxCode"), GroupToneDigit(root),
                  nullptr);
    return true;
}

// Formats USER to EIA keep a byte each in three rows at the format's index; DTMF has its own.
CItem FormatItem(CNode* root, int index) {
    CNode* f = GetNode(root, std::string("5ToneCodeCH.Format.") + kFormatNames[index]);
    if (index == kDtmfFormat) return {f, {{{0, &k5ToneDtmfFormatSection}}}};
    return {f, {{{static_cast<std::uint32_t>(index), &k5ToneFormatSection}}}};
}

// The generated tone at 2 * n, the decoder window at 4 * n.
CItem UsrTonItem(CNode* root, int index) {
    const auto n = static_cast<std::uint32_t>(index);
    return {GetNode(root, "5ToneCodeCH.UsrTon." + std::to_string(index)),
            {{{2 * n, &k5ToneUsrTonEncSection}, {4 * n, &k5ToneUsrTonDecSection}}}};
}

} // namespace

constinit const CSectionCodec radiomap::k5ToneRxCodec = {
    kRxChannelCount, RxItem<k5ToneCodedSection, k5ToneGroupSection>, DecodeRx, EncodeRx,
    CFamily::Pmr};
constinit const CSectionCodec radiomap::k5ToneTxCodec = {kTxChannelCount, TxItem, DecodeTx,
                                                         EncodeTx, CFamily::Pmr};
constinit const CSectionCodec radiomap::k5ToneFormatCodec = {kFormatCount, FormatItem, nullptr,
                                                             nullptr, CFamily::Pmr};
constinit const CSectionCodec radiomap::k5ToneUsrTonCodec = {kUsrTonCount, UsrTonItem, nullptr,
                                                             nullptr, CFamily::Pmr};
