// Common settings and the maker area: "CommonSet" (Common1, Common2, Expert, KeyDisp) and
// "MakerR".
#include "clone/model_manager.h"
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/map_fields.h"
#include "radiomap/radio_data_manager.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

using namespace radiomap;

namespace {

struct ByteField {
    const char* name;
    std::uint16_t address;
};

struct BitField {
    const char* name;
    std::uint16_t address;
    std::uint8_t bit;
    const char* off;
    const char* on;
};

// Common1
constexpr ByteField kCommon1Bytes[] = {
    {"AutoResTimA", 0x0098}, {"AutoResTimB", 0x0099}, {"InATim", 0x009A},
    {"SqlLvl", 0x00A7},      {"TotTim", 0x0094},      {"PenaltyTim", 0x0095},
};
constexpr BitField kCommon1Bits[] = {
    {"IdOut", 0x007D, 5, "OFF", "ON"},
    {"BeepOn", 0x007D, 4, "OFF", "ON"},
};
constexpr std::uint16_t kComment1 = 0x0100;
constexpr std::uint16_t kComment2 = 0x0110;
constexpr std::size_t kCommentLength = 16;

// Common2
constexpr ByteField kCommon2Bytes[] = {{"LckOutPenTim", 0x0096}, {"RevBurst", 0x0082}};
constexpr BitField kCommon2Bits[] = {
    {"TonBurst", 0x007C, 3, "Notone", "Phase"},
    {"TrDataOut", 0x007D, 2, "Inhibit", "Enable"},
};

// Expert
constexpr ByteField kExpertBytes[] = {
    {"FastScnTim", 0x0080}, {"SlwScnTim", 0x0081},    {"EmrSwOnTim", 0x0091},
    {"EmrSwOfTim", 0x0092}, {"EmrStrRepTim", 0x0093}, {"PwrSavTim1", 0x009C},
    {"PwrSavTim2", 0x009D},
};
constexpr BitField kExpertBits[] = {
    {"DTCSInvTx", 0x007B, 7, "Normal", "Inverse"},
    {"DTCSInvRx", 0x007B, 6, "Normal", "Inverse"},
};
constexpr std::uint16_t kBeepFreqL = 0x0070;
constexpr std::uint16_t kBeepFreqH = 0x0071;
constexpr std::uint16_t kUsrCtcssFreq = 0x019A; // high byte; low byte follows
constexpr double kToneClock = 14745600.0;

// KeyDisp
constexpr BitField kKeyDispBits[] = {
    {"RFPwrSel", 0x007F, 2, "MR CH individual", "Override"},
    {"BeepOn", 0x007E, 7, "OFF", "ON"},
    {"MicFunc", 0x007C, 2, "OFF", "ON"},
    {"OpeningBeep", 0x007E, 5, "OFF", "ON"},
};

// Key assignment bytes in the order the codec handles them.
constexpr ByteField kKeyBytes[] = {
    {"KeyF0Conv", 0x009E},    {"KeyF1Conv", 0x009F},   {"KeyF2Conv", 0x00A0},
    {"KeyMicAConv", 0x00A1},  {"KeyMicBConv", 0x00A2}, {"KeyMicUpConv", 0x00A3},
    {"KeyMicDnConv", 0x00A4},
};
// The same keys in the order of the tree.
constexpr const char* kKeyNodeOrder[] = {"KeyF0Conv",    "KeyF1Conv",    "KeyF2Conv",
                                         "KeyMicUpConv", "KeyMicDnConv", "KeyMicAConv",
                                         "KeyMicBConv"};

struct KeyFunction {
    int code;
    const char* text;
};

// Key-function codes as stored, with their texts.
constexpr KeyFunction kKeyFunctions[] = {
    {0, "Null"},
    {4, "Scan A Start/Stop"},
    {5, "Scan B Start/Stop"},
    {7, "Prio A"},
    {8, "Prio A (Rewrite)"},
    {9, "Prio B"},
    {10, "MR-CH 1"},
    {11, "MR-CH 2"},
    {12, "MR-CH 3"},
    {13, "MR-CH 4"},
    {14, "Moni(Audi)"},
    {15, "Lock1"},
    {16, "High/Low"},
    {17, "Wide/Narrow"},
    {18, "Lock2"},
    {20, "Talk Around"},
    {23, "DTMF Autodial"},
    {24, "Call"},
    {25, "Call A (Code 30)"},
    {26, "Call B (Code 29)"},
    {27, "Emergency Single"},
    {28, "Emergency Repeat"},
};

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

// Display lists of the key page (not stored).
constexpr const char* kKeyConvLmr[] = {
    "Null",
    "Scan A Start/Stop",
    "Scan B Start/Stop",
    "Prio A",
    "Prio A (Rewrite)",
    "Prio B",
    "MR-CH 1",
    "MR-CH 2",
    "MR-CH 3",
    "MR-CH 4",
    "Moni",
    "Lock1",
    "Lock2",
    "High/Low",
    "Talk Around",
    "Wide/Narrow",
    "DTMF Autodial",
    "Call",
    "Emergency Single",
    "Emergency Repeat",
};
constexpr const char* kKeyConvPmr[] = {
    "Null",
    "Scan A Start/Stop",
    "Scan B Start/Stop",
    "Prio A",
    "Prio A (Rewrite)",
    "Prio B",
    "MR-CH 1",
    "MR-CH 2",
    "MR-CH 3",
    "MR-CH 4",
    "Moni(Audi)",
    "Lock1",
    "Lock2",
    "High/Low",
    "Talk Around",
    "Wide/Narrow",
    "DTMF Autodial",
    "Call",
    "Call A (Code 30)",
    "Call B (Code 29)",
    "Emergency Single",
    "Emergency Repeat",
};

// MakerR
constexpr ByteField kMakerBytes[] = {
    {"SqlDelayTim", 0x0010}, {"SigDetTim", 0x000E},    {"NoisDetTim", 0x000F},
    {"CTonAtack", 0x0013},   {"CTonRel", 0x0014},      {"CTonPs", 0x0015},
    {"PwrSavOfTim", 0x000B}, {"PwrSavOnTim1", 0x000C}, {"PwrSavOnTim2", 0x000D},
    {"MutTimTx", 0x0011},    {"MutTimRx", 0x0012},
};
constexpr BitField kMakerBits[] = {
    {"DtcsPolTx", 0x0007, 6, "+ (Plus)", "- (Minus)"},
    {"DtcsPolRx", 0x0007, 5, "+ (Plus)", "- (Minus)"},
    {"PllRef", 0x0007, 2, "15.3", "15.6"},
    {"FreqPitch", 0x0007, 4, "5.0/6.25", "2.5/3.125"},
};
constexpr std::uint16_t kSqlDelay = 0x0007; // bit 7, stored inverted
constexpr std::uint16_t kDtcsDec = 0x0016;
constexpr std::uint16_t kIfFreq = 0x0008; // three bytes

// ---- tree helpers ----

template <std::size_t N> const BitField* FindBit(const BitField (&table)[N], const char* name) {
    for (const BitField& f : table)
        if (std::string(f.name) == name) return &f;
    return nullptr;
}

// ---- codec helpers ----

template <std::size_t N>
void DecodeBytes(const CByteImage& image, CNode* parent, const ByteField (&table)[N]) {
    for (const ByteField& f : table)
        ByteToNode(image, f.address, parent, f.name);
}
template <std::size_t N>
void EncodeBytes(CByteImage& image, CNode* parent, const ByteField (&table)[N]) {
    for (const ByteField& f : table)
        NodeToByte(image, f.address, parent, f.name);
}
template <std::size_t N>
void DecodeBits(const CByteImage& image, CNode* parent, const BitField (&table)[N]) {
    for (const BitField& f : table)
        BitToNode(image, f.address, f.bit, parent, f.name);
}
template <std::size_t N>
void EncodeBits(CByteImage& image, CNode* parent, const BitField (&table)[N]) {
    for (const BitField& f : table)
        NodeToBit(image, f.address, f.bit, parent, f.name);
}

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

// Beep tone: 14.7456 MHz / (256 * N). A divider of 0 reads as the lowest tone.
void DecodeBeepFreq(const CByteImage& image, std::uint32_t address, CNode* node) {
    auto* f = dynamic_cast<CFreqNode*>(node);
    if (!f) return;
    const int n = image.ReadByte(address);
    if (n == 0) {
        f->SetValue(f->GetMin());
        return;
    }
    f->SetValue(static_cast<int>(std::floor(kToneClock / (256.0 * n) + 0.5)));
}

void EncodeBeepFreq(CByteImage& image, std::uint32_t address, const CNode* node) {
    if (node && node->GetValue() > 0)
        image.WriteByte(address,
                        static_cast<std::uint8_t>(CZ30BeepFreqNode::Divider(node->GetValue())));
}

// User CTCSS tone in tenths of Hz: 14.7456 MHz / (128 * N), N a 16-bit word.
void DecodeUsrCtcss(const CByteImage& image, CNode* node) {
    auto* f = dynamic_cast<CFreqNode*>(node);
    if (!f) return;
    const int n = Word(image, kUsrCtcssFreq);
    if (n == 0) {
        f->SetValue(f->GetMin());
        return;
    }
    f->SetValue(static_cast<int>(std::floor(10.0 * kToneClock / (128.0 * n) + 0.5)));
}

void EncodeUsrCtcss(CByteImage& image, const CNode* node) {
    if (node && node->GetValue() > 0)
        PutWord(image, kUsrCtcssFreq, CZ30UsrCtcssFreqNode::Divider(node->GetValue()));
}

int AllowedKeyCode(int code, bool pmr) {
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

// "DtcsDec": stored 1 to 12, code 12 to 23.
int DtcsDecFromByte(int stored) { return Clamp(stored, 1, 12) + 11; }
int DtcsDecToByte(int code) { return Clamp(code, 12, 23) - 11; }

// "IfFreq": six BCD digits of kHz (the first is 0) in bytes 0x08 to 0x0A, sign in bit 7 of 0x08.
// Only values on the 25 kHz raster are meaningful; anything else reads as 0.
int DecodeIfFreqValue(const CByteImage& image) {
    const int b0 = image.ReadByte(kIfFreq);
    const int b1 = image.ReadByte(kIfFreq + 1);
    const int b2 = image.ReadByte(kIfFreq + 2);
    if (b2 != 0x00 && b2 != 0x25 && b2 != 0x50 && b2 != 0x75) return 0;
    const int digits[5] = {b0 & 0x0F, b1 >> 4, b1 & 0x0F, b2 >> 4, b2 & 0x0F};
    int khz = 0;
    for (int d : digits) {
        if (d > 9) return 0;
        khz = khz * 10 + d;
    }
    const int hz = khz * 1000;
    return (b0 & 0x80) ? -hz : hz;
}

void EncodeIfFreqValue(CByteImage& image, int hz) {
    int khz = std::abs(hz) / 1000;
    int digits[6] = {};
    for (int i = 5; i >= 0; --i) {
        digits[i] = khz % 10;
        khz /= 10;
    }
    image.WriteByte(kIfFreq, static_cast<std::uint8_t>(digits[0] << 4 | digits[1]));
    image.WriteByte(kIfFreq + 1, static_cast<std::uint8_t>(digits[2] << 4 | digits[3]));
    image.WriteByte(kIfFreq + 2, static_cast<std::uint8_t>(digits[4] << 4 | digits[5]));
    image.WriteBit(kIfFreq, 7, hz < 0);
}

CNode* Section(CNode* root, const char* path) { return GetNode(root, path); }

} // namespace

// ---- tree ----

void CZ30RadioDataManager::BuildCommonSet(CNode* root) {
    CNode* common = New<CNode>(root, "CommonSet");

    CNode* c1 = New<CNode>(common, "Common1");
    for (const ByteField& f : kCommon1Bytes)
        New<CNumNode>(c1, f.name);
    for (const BitField& f : kCommon1Bits)
        New<CBitNode>(c1, f.name, f.off, f.on);
    New<CStringNode>(c1, "Comment1", "");
    New<CStringNode>(c1, "Comment2", "");

    CNode* c2 = New<CNode>(common, "Common2");
    New<CNumNode>(c2, "LckOutPenTim");
    const BitField* tonBurst = FindBit(kCommon2Bits, "TonBurst");
    New<CBitNode>(c2, tonBurst->name, tonBurst->off, tonBurst->on);
    New<CNumNode>(c2, "RevBurst");
    const BitField* trData = FindBit(kCommon2Bits, "TrDataOut");
    New<CBitNode>(c2, trData->name, trData->off, trData->on);

    CNode* ex = New<CNode>(common, "Expert");
    for (const char* name : {"FastScnTim", "SlwScnTim", "EmrSwOnTim", "EmrSwOfTim", "EmrStrRepTim"})
        New<CNumNode>(ex, name);
    New<CZ30BeepFreqNode>(ex, "BeepFreqL", 400, 400, 400, 3000);
    New<CZ30BeepFreqNode>(ex, "BeepFreqH", 400, 400, 400, 3000);
    for (const BitField& f : kExpertBits)
        New<CBitNode>(ex, f.name, f.off, f.on);
    New<CZ30UsrCtcssFreqNode>(ex, "UsrCtcssFreq", 1000, 1000, 600, 3000);
    New<CNumNode>(ex, "PwrSavTim1");
    New<CNumNode>(ex, "PwrSavTim2");

    CNode* kd = New<CNode>(common, "KeyDisp");
    auto* lmr = New<CNumNode>(kd, "Key_Conv_LMR");
    for (std::size_t i = 0; i < std::size(kKeyConvLmr); ++i)
        lmr->AddChoice(static_cast<int>(i), kKeyConvLmr[i]);
    auto* pmr = New<CNumNode>(kd, "Key_Conv_PMR");
    for (std::size_t i = 0; i < std::size(kKeyConvPmr); ++i)
        pmr->AddChoice(static_cast<int>(i), kKeyConvPmr[i]);
    for (const char* name : kKeyNodeOrder) {
        auto* key = New<CNumNode>(kd, name);
        for (const KeyFunction& k : kKeyFunctions)
            key->AddChoice(k.code, k.text);
    }
    for (const BitField& f : kKeyDispBits)
        New<CBitNode>(kd, f.name, f.off, f.on);
}

void CZ30RadioDataManager::BuildMakerR(CNode* root) {
    CNode* mk = New<CNode>(root, "MakerR");
    New<CBitNode>(mk, "SqlDelayOn", "OFF", "ON");
    for (const char* name :
         {"SqlDelayTim", "SigDetTim", "NoisDetTim", "CTonAtack", "CTonRel", "CTonPs"})
        New<CNumNode>(mk, name);
    for (const char* name : {"DtcsPolTx", "DtcsPolRx"}) {
        const BitField* f = FindBit(kMakerBits, name);
        New<CBitNode>(mk, f->name, f->off, f->on);
    }
    New<CNumNode>(mk, "DtcsDec", 12, 12, 12, 23);
    for (const char* name : {"PwrSavOfTim", "PwrSavOnTim1", "PwrSavOnTim2"})
        New<CNumNode>(mk, name);
    New<CZ30IfFreqNode>(mk, "IfFreq");
    for (const char* name : {"PllRef", "FreqPitch"}) {
        const BitField* f = FindBit(kMakerBits, name);
        New<CBitNode>(mk, f->name, f->off, f->on);
    }
    New<CNumNode>(mk, "MutTimTx");
    New<CNumNode>(mk, "MutTimRx");
}

// ---- codecs ----

void CZ30RadioDataManager::DecodeKeyDisp(CNode* root, CByteImage& image) {
    CNode* kd = Section(root, "CommonSet.KeyDisp");
    if (!kd) return;
    for (const ByteField& f : kKeyBytes)
        Set(kd, f.name, AllowedKeyCode(image.ReadByte(f.address), IsPmr()));
    DecodeBits(image, kd, kKeyDispBits);
}

void CZ30RadioDataManager::EncodeKeyDisp(CNode* root, CByteImage& image) {
    CNode* kd = Section(root, "CommonSet.KeyDisp");
    if (!kd) return;
    for (const ByteField& f : kKeyBytes)
        if (Child(kd, f.name))
            image.WriteByte(f.address,
                            static_cast<std::uint8_t>(AllowedKeyCode(Get(kd, f.name), IsPmr())));
    EncodeBits(image, kd, kKeyDispBits);
}

void CZ30RadioDataManager::DecodeCommon1(CNode* root, CByteImage& image) {
    CNode* c1 = Section(root, "CommonSet.Common1");
    if (!c1) return;
    DecodeBytes(image, c1, kCommon1Bytes);
    DecodeBits(image, c1, kCommon1Bits);
    DecodeComment(image, kComment1, Child(c1, "Comment1"));
    DecodeComment(image, kComment2, Child(c1, "Comment2"));
}

void CZ30RadioDataManager::EncodeCommon1(CNode* root, CByteImage& image) {
    CNode* c1 = Section(root, "CommonSet.Common1");
    if (!c1) return;
    EncodeBytes(image, c1, kCommon1Bytes);
    EncodeBits(image, c1, kCommon1Bits);
    EncodeComment(image, kComment1, Child(c1, "Comment1"));
    EncodeComment(image, kComment2, Child(c1, "Comment2"));
}

void CZ30RadioDataManager::DecodeCommon2(CNode* root, CByteImage& image) {
    CNode* c2 = Section(root, "CommonSet.Common2");
    DecodeBytes(image, c2, kCommon2Bytes);
    DecodeBits(image, c2, kCommon2Bits);
}

void CZ30RadioDataManager::EncodeCommon2(CNode* root, CByteImage& image) {
    CNode* c2 = Section(root, "CommonSet.Common2");
    EncodeBytes(image, c2, kCommon2Bytes);
    EncodeBits(image, c2, kCommon2Bits);
}

void CZ30RadioDataManager::DecodeExpert(CNode* root, CByteImage& image) {
    CNode* ex = Section(root, "CommonSet.Expert");
    if (!ex) return;
    DecodeBytes(image, ex, kExpertBytes);
    DecodeBits(image, ex, kExpertBits);
    DecodeBeepFreq(image, kBeepFreqL, Child(ex, "BeepFreqL"));
    DecodeBeepFreq(image, kBeepFreqH, Child(ex, "BeepFreqH"));
    DecodeUsrCtcss(image, Child(ex, "UsrCtcssFreq"));
}

void CZ30RadioDataManager::EncodeExpert(CNode* root, CByteImage& image) {
    CNode* ex = Section(root, "CommonSet.Expert");
    if (!ex) return;
    EncodeBytes(image, ex, kExpertBytes);
    EncodeBits(image, ex, kExpertBits);
    EncodeBeepFreq(image, kBeepFreqL, Child(ex, "BeepFreqL"));
    EncodeBeepFreq(image, kBeepFreqH, Child(ex, "BeepFreqH"));
    EncodeUsrCtcss(image, Child(ex, "UsrCtcssFreq"));
}

void CZ30RadioDataManager::DecodeMakerR(CNode* root, CByteImage& image) {
    CNode* mk = Section(root, "MakerR");
    if (!mk) return;
    Set(mk, "SqlDelayOn", 1 - image.ReadBit(kSqlDelay, 7));
    DecodeBytes(image, mk, kMakerBytes);
    DecodeBits(image, mk, kMakerBits);
    Set(mk, "DtcsDec", DtcsDecFromByte(image.ReadByte(kDtcsDec)));
    Set(mk, "IfFreq", DecodeIfFreqValue(image));
}

void CZ30RadioDataManager::EncodeMakerR(CNode* root, CByteImage& image) {
    CNode* mk = Section(root, "MakerR");
    if (!mk) return;
    if (Child(mk, "SqlDelayOn")) image.WriteBit(kSqlDelay, 7, Get(mk, "SqlDelayOn") == 0);
    EncodeBytes(image, mk, kMakerBytes);
    EncodeBits(image, mk, kMakerBits);
    if (Child(mk, "DtcsDec"))
        image.WriteByte(kDtcsDec, static_cast<std::uint8_t>(DtcsDecToByte(Get(mk, "DtcsDec"))));
    if (Child(mk, "IfFreq")) EncodeIfFreqValue(image, Get(mk, "IfFreq"));
}
