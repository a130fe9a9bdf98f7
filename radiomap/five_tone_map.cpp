// Five-tone signalling of the PMR variants: "5ToneCodeCH" (receive and transmit code channels,
// common settings, tone formats, user tones).
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/map_fields.h"
#include "radiomap/radio_data_manager.h"

#include <cstdint>
#include <string>

using namespace radiomap;

namespace {

constexpr int kRxChannelCount = 4; // CH1, CH2, CH3, CHG
constexpr int kCodedChannelCount = 3;
constexpr int kTxChannelCount = 32;
constexpr int kFormatCount = 10;
constexpr int kUsrTonCount = 15;

// Tone digits: nibbles 0 to 14, nibble 15 ends a code.
constexpr char kToneDigits[] = "0123456789ABCDE0";
constexpr int kEndNibble = 15;
constexpr std::size_t kCodeDigits = 7;

// Receive code channel record (9 bytes at 0x05FC + 9 * b, b = 0 "CHG", 1 to 3 CH1 to CH3).
constexpr std::uint16_t kRxRecord = 0x05FC;
constexpr std::uint32_t kRxRecordSize = 9;
constexpr std::uint32_t kWildcardByte = 4; // bit 7 - j: digit j is "+"
constexpr std::uint32_t kAbcByte = 5;
constexpr std::uint32_t kAudModeByte = 6; // bits 7, 6
constexpr std::uint32_t kIdDecByte = 7;   // bit 6
constexpr std::uint32_t kEmrCancByte = 8; // bit 7

// Transmit code channel record (6 bytes at 0x0520 + 6 * (m - 1)).
constexpr std::uint16_t kTxRecord = 0x0520;
constexpr std::uint32_t kTxRecordSize = 6;
constexpr std::uint32_t kUpDateByte = 4;  // bit 0
constexpr std::uint32_t kTxFlagsByte = 5; // bit 7 ABCDec, bit 6 ABCAud, bit 4 not "Sel"

// Tone formats.
constexpr const char* kFormatNames[kFormatCount] = {"USER", "CCIR", "ZVEI1", "ZVEI2", "DZVEI",
                                                    "EEA",  "EEA2", "DAPL",  "EIA",   "DTMF"};
constexpr int kDtmfFormat = 9;
constexpr std::uint16_t kTonPeriod = 0x017A; // + i, i = 0 to 8
constexpr std::uint16_t kNoTonTim = 0x0183;  // + i
constexpr std::uint16_t kTonLen = 0x018C;    // + i
constexpr std::uint16_t kDtmfTonPeriod = 0x0195;
constexpr std::uint16_t kDtmfNoTonTim = 0x0196;
constexpr int kTonLenMin = 9;
constexpr int kTonLenMax = 2327;

// User tones.
constexpr std::uint16_t kUsrTonEnc = 0x0120; // word + 2 * n
constexpr std::uint16_t kUsrTonDec = 0x013E; // words DecL, DecH + 4 * n

// Common settings.
constexpr std::uint16_t kCompDigits = 0x0077; // bits 7 to 1 = digits 1 to 7
constexpr std::uint16_t kSpcTonGrp = 0x0078;
constexpr std::uint16_t kSpcTonRep = 0x0079;
constexpr std::uint16_t kSpcTonLnk2 = 0x007A;
constexpr std::uint16_t kPttCallInA = 0x007D; // bit 6

struct ByteField {
    const char* name;
    std::uint16_t address;
};
constexpr ByteField kRxComBytes[] = {{"LnkATim", 0x0086}, {"IdDecTim", 0x008F}};
constexpr std::uint16_t kBeepRepTim = 0x0097;
constexpr ByteField kTxComBytes[] = {
    {"LngTonTim", 0x0087}, {"LnkRTim", 0x0083},       {"Lnk1Tim", 0x0084},
    {"Lnk2Tim", 0x0085},   {"LeadOutDlyTim", 0x0088}, {"ABCDecTim", 0x0090},
};

struct HexDigitField {
    const char* name;
    std::uint16_t address;
    int max;
};
constexpr HexDigitField kSpcTones[] = {
    {"SpcTonGrp", kSpcTonGrp, 14},
    {"SpcTonRep", kSpcTonRep, 14},
    {"SpcTonLnk2", kSpcTonLnk2, 15},
};
constexpr int kGroupToneMax = 14;

std::string RxChannelName(int index) {
    return index < kCodedChannelCount ? "CH" + std::to_string(index + 1) : std::string("CHG");
}

std::uint32_t RxRecord(int index) {
    const int b = index < kCodedChannelCount ? index + 1 : 0;
    return kRxRecord + kRxRecordSize * static_cast<std::uint32_t>(b);
}

std::uint32_t TxRecord(int index) {
    return kTxRecord + kTxRecordSize * static_cast<std::uint32_t>(index);
}

bool IsAbcCode(int v) { return (v >= 1 && v <= 32) || v == 128 || v == 255; }

// The value of a one-digit hexadecimal text: 0 when empty or not hexadecimal, at most max.
int HexTextValue(const std::string& text, int max) {
    const int v = text.empty() ? 0 : HexDigitValue(text[0]);
    return std::min(std::max(v, 0), max);
}

// Up to seven digits from the nibbles at base, ended by nibble 15.
std::string ReadToneCode(const CByteImage& image, std::uint32_t base) {
    std::string code;
    for (std::size_t i = 0; i < kCodeDigits; ++i) {
        const int b = image.ReadByte(base + static_cast<std::uint32_t>(i / 2));
        const int nibble = i % 2 == 0 ? b >> 4 : b & 0x0F;
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
    std::uint8_t bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    for (std::size_t i = 0; i < kCodeDigits; ++i) {
        const bool wild = flags && i < digits.size() && digits[i] == '+';
        if (flags) image.WriteBit(*flags, static_cast<unsigned>(7 - i), wild);
        if (i >= digits.size()) continue;
        const int v = wild ? 0 : std::max(HexDigitValue(digits[i]), 0);
        std::uint8_t& b = bytes[i / 2];
        b = i % 2 == 0 ? static_cast<std::uint8_t>((b & 0x0F) | v << 4)
                       : static_cast<std::uint8_t>((b & 0xF0) | v);
    }
    image.WriteBlock(base, bytes, 4);
}

} // namespace

// ---- tree ----

void CZ30RadioDataManager::Build5ToneCodeCh(CNode* root) {
    CNode* five = New<CNode>(root, "5ToneCodeCH");

    CNode* rx = New<CNode>(five, "RXCodeCH");
    for (int i = 0; i < kRxChannelCount; ++i) {
        CNode* ch = New<CNode>(rx, RxChannelName(i).c_str());
        New<CStringNode>(ch, "RxCode", "");
        New<CBitNode>(ch, "IdDec", "OFF", "ON");
        New<CNumNode>(ch, "Bell")->Choices({{0, "Null"}, {1, "OFF"}, {2, "ON"}, {3, "Blink"}});
        New<CBitNode>(ch, "EmrCanc", "Null", "Cancel");
        auto* abc = New<CNumNode>(ch, "ABC");
        abc->AddChoice(0, "OFF");
        for (int n = 1; n <= 32; ++n)
            abc->AddChoice(n, std::to_string(n));
        abc->AddChoice(128, "STN");
        abc->AddChoice(255, "SGL");
        New<CNumNode>(ch, "Beep")
            ->Choices({{0, "Null"},
                       {1, "OFF"},
                       {2, "Pi(single)"},
                       {3, "PiPi(single)"},
                       {4, "PiRo(single)"},
                       {5, "Pi(repeat)"},
                       {6, "PiPi(repeat)"},
                       {7, "PiRo(repeat)"}});
        New<CNumNode>(ch, "AudMode")->Choices({{0, "Null"}, {1, "IN_A"}, {2, "Aud"}});
        New<CNumNode>(ch, "Stun")->Choices({{0, "OFF"}, {1, "Kill"}});
        New<CNumNode>(ch, "Scan")->Choices({{0, "Null"}, {1, "Cancel"}, {2, "Start"}});
    }

    CNode* tx = New<CNode>(five, "TXCodeCH");
    for (int m = 1; m <= kTxChannelCount; ++m) {
        CNode* ch = New<CNode>(tx, ("CH" + std::to_string(m)).c_str());
        New<CStringNode>(ch, "TxCode", "");
        for (const char* name : {"UpDate", "ABCDec", "ABCAud", "Sel"})
            New<CBitNode>(ch, name, "OFF", "ON");
    }

    CNode* rxCom = New<CNode>(five, "RxCodeCom");
    New<CNumNode>(rxCom, "LnkATim");
    for (int d = 1; d <= 7; ++d)
        New<CBitNode>(rxCom, ("CompDigit" + std::to_string(d)).c_str());
    New<CNumNode>(rxCom, "IdDecTim");
    New<CNumNode>(rxCom, "BeepRepTim", 0, 0, 0, 60);

    CNode* txCom = New<CNode>(five, "TxCodeCom");
    for (const ByteField& f : kTxComBytes)
        New<CNumNode>(txCom, f.name);
    for (const HexDigitField& f : kSpcTones)
        New<CStringNode>(txCom, f.name, "0");
    auto* str = New<CNumNode>(txCom, "SpcTonStr");
    for (int v = 0; v < 16; ++v)
        str->AddChoice(v, std::string(1, kUpperHexDigits[v]));
    New<CBitNode>(txCom, "PTTCallInA", "OFF", "ON");

    CNode* format = New<CNode>(five, "Format");
    for (const char* name : kFormatNames) {
        CNode* f = New<CNode>(format, name);
        New<CNumNode>(f, "TonPeriod");
        New<CNumNode>(f, "NoTonTim", 2, 2, 2, 30);
        New<CNumNode>(f, "TonLen", kTonLenMin, kTonLenMin, kTonLenMin, kTonLenMax);
    }

    CNode* usr = New<CNode>(five, "UsrTon");
    for (int n = 0; n < kUsrTonCount; ++n) {
        auto* tone = New<CZ305TonUsrTonNode>(usr, std::to_string(n).c_str());
        New<CZ30UsrTonEncNode>(tone, "Enc", 400, 400, 400, 3000);
        New<CZ30UsrTonDecNode>(tone, "DecL", 400, 400, 400, 3000);
        New<CZ30UsrTonDecNode>(tone, "DecH", 400, 400, 400, 3000);
        tone->Bind();
    }
}

// ---- receive code channels ----

void CZ30RadioDataManager::Decode5ToneRxCodeCh(CNode* root, CByteImage& image) {
    for (int i = 0; i < kRxChannelCount; ++i)
        Decode5ToneRxCodeCh(root, image, i);
}

void CZ30RadioDataManager::Encode5ToneRxCodeCh(CNode* root, CByteImage& image) {
    for (int i = 0; i < kRxChannelCount; ++i)
        Encode5ToneRxCodeCh(root, image, i);
}

void CZ30RadioDataManager::Decode5ToneRxCodeCh(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kRxChannelCount) return;
    CNode* ch = GetNode(root, "5ToneCodeCH.RXCodeCH." + RxChannelName(index));
    if (!ch) return;
    const std::uint32_t r = RxRecord(index);
    const bool coded = index < kCodedChannelCount;

    std::string code;
    if (coded) {
        code = ReadToneCode(image, r);
        for (std::size_t j = 0; j < code.size(); ++j)
            if (image.ReadBit(r + kWildcardByte, static_cast<unsigned>(7 - j))) code[j] = '+';
    }
    if (CNode* n = Child(ch, "RxCode")) n->SetText(code);

    BitToNode(image, r + kIdDecByte, 6, ch, "IdDec");
    BitToNode(image, r + kEmrCancByte, 7, ch, "EmrCanc");
    const int abc = image.ReadByte(r + kAbcByte);
    Set(ch, "ABC", coded && IsAbcCode(abc) ? abc : 0);
    Set(ch, "AudMode", TwoBitChoice(Bits2(image, r + kAudModeByte, 6)));
    DecodeRxCommonBits(image, r, ch);
}

void CZ30RadioDataManager::Encode5ToneRxCodeCh(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kRxChannelCount) return;
    CNode* ch = GetNode(root, "5ToneCodeCH.RXCodeCH." + RxChannelName(index));
    if (!ch) return;
    const std::uint32_t r = RxRecord(index);
    const bool coded = index < kCodedChannelCount;

    if (coded) {
        const std::uint32_t flags = r + kWildcardByte;
        WriteToneCode(image, r, GetTextByName(ch, "RxCode"), GroupToneDigit(root), &flags);
    }
    NodeToBit(image, r + kIdDecByte, 6, ch, "IdDec");
    NodeToBit(image, r + kEmrCancByte, 7, ch, "EmrCanc");
    const int abc = Get(ch, "ABC");
    image.WriteByte(r + kAbcByte, static_cast<std::uint8_t>(coded && IsAbcCode(abc) ? abc : 0));
    image.WriteBit(r + kAudModeByte, 6, Get(ch, "AudMode") == 1);
    image.WriteBit(r + kAudModeByte, 7, Get(ch, "AudMode") == 2);
    EncodeRxCommonBits(image, r, ch);
}

int CZ30RadioDataManager::GroupToneDigit(CNode* root) {
    CNode* grp = GetNode(root, "5ToneCodeCH.TxCodeCom.SpcTonGrp");
    return grp ? HexTextValue(grp->GetText(), kGroupToneMax) : 0;
}

// ---- transmit code channels ----

void CZ30RadioDataManager::Decode5ToneTxCodeCh(CNode* root, CByteImage& image) {
    for (int i = 0; i < kTxChannelCount; ++i)
        Decode5ToneTxCodeCh(root, image, i);
}

void CZ30RadioDataManager::Encode5ToneTxCodeCh(CNode* root, CByteImage& image) {
    for (int i = 0; i < kTxChannelCount; ++i)
        Encode5ToneTxCodeCh(root, image, i);
}

void CZ30RadioDataManager::Decode5ToneTxCodeCh(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kTxChannelCount) return;
    CNode* ch = GetNode(root, "5ToneCodeCH.TXCodeCH.CH" + std::to_string(index + 1));
    if (!ch) return;
    const std::uint32_t t = TxRecord(index);
    if (CNode* n = Child(ch, "TxCode")) n->SetText(ReadToneCode(image, t));
    BitToNode(image, t + kUpDateByte, 0, ch, "UpDate");
    BitToNode(image, t + kTxFlagsByte, 7, ch, "ABCDec");
    BitToNode(image, t + kTxFlagsByte, 6, ch, "ABCAud");
    Set(ch, "Sel", 1 - image.ReadBit(t + kTxFlagsByte, 4));
}

void CZ30RadioDataManager::Encode5ToneTxCodeCh(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kTxChannelCount) return;
    CNode* ch = GetNode(root, "5ToneCodeCH.TXCodeCH.CH" + std::to_string(index + 1));
    if (!ch) return;
    const std::uint32_t t = TxRecord(index);
    WriteToneCode(image, t, GetTextByName(ch, "TxCode"), GroupToneDigit(root), nullptr);
    NodeToBit(image, t + kUpDateByte, 0, ch, "UpDate");
    NodeToBit(image, t + kTxFlagsByte, 7, ch, "ABCDec");
    NodeToBit(image, t + kTxFlagsByte, 6, ch, "ABCAud");
    if (Child(ch, "Sel")) image.WriteBit(t + kTxFlagsByte, 4, Get(ch, "Sel") == 0);
}

// ---- formats ----

void CZ30RadioDataManager::Decode5ToneFormat(CNode* root, CByteImage& image) {
    for (int i = 0; i < kFormatCount; ++i)
        Decode5ToneFormat(root, image, i);
}

void CZ30RadioDataManager::Encode5ToneFormat(CNode* root, CByteImage& image) {
    for (int i = 0; i < kFormatCount; ++i)
        Encode5ToneFormat(root, image, i);
}

void CZ30RadioDataManager::Decode5ToneFormat(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kFormatCount) return;
    CNode* f = GetNode(root, std::string("5ToneCodeCH.Format.") + kFormatNames[index]);
    if (!f) return;
    const bool dtmf = index == kDtmfFormat;
    const auto i = static_cast<std::uint32_t>(index);
    ByteToNode(image, dtmf ? kDtmfTonPeriod : kTonPeriod + i, f, "TonPeriod");
    Set(f, "NoTonTim", NoTonTimFromByte(image.ReadByte(dtmf ? kDtmfNoTonTim : kNoTonTim + i)));
    // 9.125 units a step, to the nearest unit; the DTMF format has no stored length.
    Set(f, "TonLen", dtmf ? kTonLenMin : (73 * image.ReadByte(kTonLen + i) + 4) / 8);
}

void CZ30RadioDataManager::Encode5ToneFormat(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kFormatCount) return;
    CNode* f = GetNode(root, std::string("5ToneCodeCH.Format.") + kFormatNames[index]);
    if (!f) return;
    const bool dtmf = index == kDtmfFormat;
    const auto i = static_cast<std::uint32_t>(index);
    NodeToByte(image, dtmf ? kDtmfTonPeriod : kTonPeriod + i, f, "TonPeriod");
    image.WriteByte(dtmf ? kDtmfNoTonTim : kNoTonTim + i,
                    static_cast<std::uint8_t>(NoTonTimToByte(Get(f, "NoTonTim"))));
    if (!dtmf) {
        const int len = Clamp(Get(f, "TonLen"), kTonLenMin, kTonLenMax);
        image.WriteByte(kTonLen + i, static_cast<std::uint8_t>((1000 * len + 500) / 9125));
    }
}

// ---- user tones ----

void CZ30RadioDataManager::Decode5ToneUsrTon(CNode* root, CByteImage& image) {
    for (int i = 0; i < kUsrTonCount; ++i)
        Decode5ToneUsrTon(root, image, i);
}

void CZ30RadioDataManager::Encode5ToneUsrTon(CNode* root, CByteImage& image) {
    for (int i = 0; i < kUsrTonCount; ++i)
        Encode5ToneUsrTon(root, image, i);
}

void CZ30RadioDataManager::Decode5ToneUsrTon(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kUsrTonCount) return;
    auto* tone = dynamic_cast<CZ305TonUsrTonNode*>(
        GetNode(root, "5ToneCodeCH.UsrTon." + std::to_string(index)));
    if (!tone) return;
    const auto n = static_cast<std::uint32_t>(index);
    const int word = Word(image, kUsrTonEnc + 2 * n);
    if (tone->Enc()) tone->Enc()->SetValue(CZ30UsrTonEncNode::FromWord(word));
    if (tone->DecL()) tone->DecL()->SetValue(Word(image, kUsrTonDec + 4 * n));
    if (tone->DecH()) tone->DecH()->SetValue(Word(image, kUsrTonDec + 4 * n + 2));
}

void CZ30RadioDataManager::Encode5ToneUsrTon(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kUsrTonCount) return;
    auto* tone = dynamic_cast<CZ305TonUsrTonNode*>(
        GetNode(root, "5ToneCodeCH.UsrTon." + std::to_string(index)));
    if (!tone) return;
    const auto n = static_cast<std::uint32_t>(index);
    if (tone->Enc())
        PutWord(image, kUsrTonEnc + 2 * n, CZ30UsrTonEncNode::Word(tone->Enc()->GetValue()));
    if (tone->DecL()) PutWord(image, kUsrTonDec + 4 * n, tone->DecL()->GetValue());
    if (tone->DecH()) PutWord(image, kUsrTonDec + 4 * n + 2, tone->DecH()->GetValue());
}

// ---- common ----

void CZ30RadioDataManager::Decode5ToneCommon(CNode* root, CByteImage& image) {
    if (CNode* rx = GetNode(root, "5ToneCodeCH.RxCodeCom")) {
        for (const ByteField& f : kRxComBytes)
            ByteToNode(image, f.address, rx, f.name);
        for (unsigned d = 1; d <= 7; ++d)
            BitToNode(image, kCompDigits, 8 - d, rx, ("CompDigit" + std::to_string(d)).c_str());
        Set(rx, "BeepRepTim", BeepRepTimFromByte(image.ReadByte(kBeepRepTim)));
    }
    if (CNode* tx = GetNode(root, "5ToneCodeCH.TxCodeCom")) {
        for (const ByteField& f : kTxComBytes)
            ByteToNode(image, f.address, tx, f.name);
        for (const HexDigitField& f : kSpcTones)
            if (CNode* n = Child(tx, f.name))
                n->SetText(std::string(
                    1, kUpperHexDigits[std::min<int>(image.ReadByte(f.address), f.max)]));
        BitToNode(image, kPttCallInA, 6, tx, "PTTCallInA");
    }
}

void CZ30RadioDataManager::Encode5ToneCommon(CNode* root, CByteImage& image) {
    if (CNode* rx = GetNode(root, "5ToneCodeCH.RxCodeCom")) {
        for (const ByteField& f : kRxComBytes)
            NodeToByte(image, f.address, rx, f.name);
        for (unsigned d = 1; d <= 7; ++d)
            NodeToBit(image, kCompDigits, 8 - d, rx, ("CompDigit" + std::to_string(d)).c_str());
        image.WriteByte(kBeepRepTim,
                        static_cast<std::uint8_t>(BeepRepTimToByte(Get(rx, "BeepRepTim"))));
    }
    if (CNode* tx = GetNode(root, "5ToneCodeCH.TxCodeCom")) {
        for (const ByteField& f : kTxComBytes)
            NodeToByte(image, f.address, tx, f.name);
        for (const HexDigitField& f : kSpcTones)
            if (CNode* n = Child(tx, f.name))
                image.WriteByte(f.address,
                                static_cast<std::uint8_t>(HexTextValue(n->GetText(), f.max)));
        NodeToBit(image, kPttCallInA, 6, tx, "PTTCallInA");
    }
}
