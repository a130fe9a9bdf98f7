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

struct KeyFunction {
    int code;
    const char* text;
};

// clang-format off
// Key-function codes as stored, with their texts.
constexpr KeyFunction kKeyFunctions[] = {
    {0, "Null"}, {4, "Scan A Start/Stop"}, {5, "Scan B Start/Stop"}, {7, "Prio A"},
    {8, "Prio A (Rewrite)"}, {9, "Prio B"}, {10, "MR-CH 1"}, {11, "MR-CH 2"}, {12, "MR-CH 3"},
    {13, "MR-CH 4"}, {14, "Moni(Audi)"}, {15, "Lock1"}, {16, "High/Low"}, {17, "Wide/Narrow"},
    {18, "Lock2"}, {20, "Talk Around"}, {23, "DTMF Autodial"}, {24, "Call"},
    {25, "Call A (Code 30)"}, {26, "Call B (Code 29)"}, {27, "Emergency Single"},
    {28, "Emergency Repeat"}};
// clang-format on

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

// clang-format off
// Display lists of the key page (not stored).
constexpr const char* kKeyConvLmr[] = {
    "Null", "Scan A Start/Stop", "Scan B Start/Stop", "Prio A", "Prio A (Rewrite)", "Prio B",
    "MR-CH 1", "MR-CH 2", "MR-CH 3", "MR-CH 4", "Moni", "Lock1", "Lock2", "High/Low",
    "Talk Around", "Wide/Narrow", "DTMF Autodial", "Call", "Emergency Single", "Emergency Repeat"};
constexpr const char* kKeyConvPmr[] = {
    "Null", "Scan A Start/Stop", "Scan B Start/Stop", "Prio A", "Prio A (Rewrite)", "Prio B",
    "MR-CH 1", "MR-CH 2", "MR-CH 3", "MR-CH 4", "Moni(Audi)", "Lock1", "Lock2", "High/Low",
    "Talk Around", "Wide/Narrow", "DTMF Autodial", "Call", "Call A (Code 30)", "Call B (Code 29)",
    "Emergency Single", "Emergency Repeat"};
// clang-format on

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

// ---- tree ----

void CZ30RadioDataManager::BuildCommonSet(CNode* root) {
    CNode* common = New<CNode>(root, "CommonSet");

    CNode* c1 = New<CNode>(common, "Common1");
    for (const char* name :
         {"AutoResTimA", "AutoResTimB", "InATim", "SqlLvl", "TotTim", "PenaltyTim"})
        New<CNumNode>(c1, name);
    New<CBitNode>(c1, "IdOut", "OFF", "ON");
    New<CBitNode>(c1, "BeepOn", "OFF", "ON");
    New<CStringNode>(c1, "Comment1", "");
    New<CStringNode>(c1, "Comment2", "");

    CNode* c2 = New<CNode>(common, "Common2");
    New<CNumNode>(c2, "LckOutPenTim");
    New<CBitNode>(c2, "TonBurst", "Notone", "Phase");
    New<CNumNode>(c2, "RevBurst");
    New<CBitNode>(c2, "TrDataOut", "Inhibit", "Enable");

    CNode* ex = New<CNode>(common, "Expert");
    for (const char* name : {"FastScnTim", "SlwScnTim", "EmrSwOnTim", "EmrSwOfTim", "EmrStrRepTim"})
        New<CNumNode>(ex, name);
    New<CZ30BeepFreqNode>(ex, "BeepFreqL", 400, 400, 400, 3000);
    New<CZ30BeepFreqNode>(ex, "BeepFreqH", 400, 400, 400, 3000);
    New<CBitNode>(ex, "DTCSInvTx", "Normal", "Inverse");
    New<CBitNode>(ex, "DTCSInvRx", "Normal", "Inverse");
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
    for (const char* name : {"KeyF0Conv", "KeyF1Conv", "KeyF2Conv", "KeyMicUpConv", "KeyMicDnConv",
                             "KeyMicAConv", "KeyMicBConv"}) {
        auto* key = New<CNumNode>(kd, name);
        for (const KeyFunction& k : kKeyFunctions)
            key->AddChoice(k.code, k.text);
    }
    New<CBitNode>(kd, "RFPwrSel", "MR CH individual", "Override");
    New<CBitNode>(kd, "BeepOn", "OFF", "ON");
    New<CBitNode>(kd, "MicFunc", "OFF", "ON");
    New<CBitNode>(kd, "OpeningBeep", "OFF", "ON");
}

void CZ30RadioDataManager::BuildMakerR(CNode* root) {
    CNode* mk = New<CNode>(root, "MakerR");
    New<CBitNode>(mk, "SqlDelayOn", "OFF", "ON");
    for (const char* name :
         {"SqlDelayTim", "SigDetTim", "NoisDetTim", "CTonAtack", "CTonRel", "CTonPs"})
        New<CNumNode>(mk, name);
    New<CBitNode>(mk, "DtcsPolTx", "+ (Plus)", "- (Minus)");
    New<CBitNode>(mk, "DtcsPolRx", "+ (Plus)", "- (Minus)");
    New<CNumNode>(mk, "DtcsDec", 12, 12, 12, 23);
    for (const char* name : {"PwrSavOfTim", "PwrSavOnTim1", "PwrSavOnTim2"})
        New<CNumNode>(mk, name);
    New<CZ30IfFreqNode>(mk, "IfFreq");
    New<CBitNode>(mk, "PllRef", "15.3", "15.6");
    New<CBitNode>(mk, "FreqPitch", "5.0/6.25", "2.5/3.125");
    New<CNumNode>(mk, "MutTimTx");
    New<CNumNode>(mk, "MutTimRx");
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

const CSectionCodec radiomap::kCommon1Codec = {1, Whole<kCommon1Section>, DecodeCommon1,
                                               EncodeCommon1};
const CSectionCodec radiomap::kMakerCodec = {1, Whole<kMakerSection>, DecodeMakerR, EncodeMakerR};
