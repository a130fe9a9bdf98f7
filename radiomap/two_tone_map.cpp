// Two-tone signalling of the LMR variants: "2ToneCodeCH" (receive code channels, transmit code,
// receive common).
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/map_fields.h"
#include "radiomap/radio_data_manager.h"
#include "radiomap/two_tone_window.h"

#include <cmath>
#include <cstdint>
#include <string>

using namespace radiomap;

namespace {

constexpr int kRxChannelCount = 4; // CH1, CH2, CH3, CHG
constexpr int kCodedChannelCount = 3;

// Receive code channel record: 9 bytes at 0x05FC + 9 * b, b = 0 for "CHG", 1 to 3 for CH1 to CH3.
constexpr std::uint16_t kRxRecord = 0x05FC;
constexpr std::uint32_t kRxRecordSize = 9;
constexpr std::uint32_t kGroupByte = 0;
constexpr std::uint32_t kAnsByte = 5;
constexpr std::uint32_t kBeepScanByte = 6; // bits 2-0 "Beep", bits 5, 4 "Scan"
constexpr std::uint32_t kBellStunByte = 7; // bits 1, 0 "Bell", bits 4, 3 "Stun"

// Decoder windows of CH1 to CH3: four words at 0x013E + 8 * k.
constexpr std::uint16_t kWindows = 0x013E;
constexpr std::uint32_t kWindowsSize = 8;

// Transmit code.
constexpr std::uint16_t k1stTonFreq = 0x0120;
constexpr std::uint16_t k2ndTonFreq = 0x0122;
constexpr std::uint16_t k1stTonPeriod = 0x0087;
constexpr std::uint16_t k2ndTonPeriod = 0x017A;
constexpr std::uint16_t kCodeType = 0x0520; // 0x0F group, 0x01 individual; 0x0521-3 are 0xFF

// Receive common.
constexpr std::uint16_t kNoTonTim = 0x0183;
constexpr std::uint16_t kGroupTim = 0x008C;
constexpr std::uint16_t kBeepRepTim = 0x0097;

constexpr int kBellMax = 3;
constexpr int kBeepMax = 7;

// Window search.
constexpr int kCentreMin = 2500;
constexpr int kCentreMax = 33000;
constexpr int kWindowMin = 239;
constexpr int kWindowMax = 3402;

std::string RxChannelName(int index) {
    return index < kCodedChannelCount ? "CH" + std::to_string(index + 1) : std::string("CHG");
}

std::uint32_t RxRecord(int index) {
    const int b = index < kCodedChannelCount ? index + 1 : 0;
    return kRxRecord + kRxRecordSize * static_cast<std::uint32_t>(b);
}

CZ302TonRxCodeChNode* RxChannel(CNode* root, int index) {
    return dynamic_cast<CZ302TonRxCodeChNode*>(
        GetNode(root, "2ToneCodeCH.RXCodeCH." + RxChannelName(index)));
}

int RoundHz(double x) { return static_cast<int>(std::floor(x + 0.5)); }

// Transmit tones: the word is the tone in steps of 6800 / 16384 Hz.
void DecodeTonWord(const CByteImage& image, std::uint32_t address, CNode* node) {
    if (node) node->SetValue(CZ30UsrTonEncNode::FromWord(Word(image, address)));
}

void EncodeTonWord(CByteImage& image, std::uint32_t address, const CNode* node) {
    if (node) PutWord(image, address, CZ30UsrTonEncNode::Word(node->GetValue()));
}

} // namespace

// ---- shared with the five-tone map ----

namespace radiomap {

// Beep pattern of receive code channels: pattern 4 is "Null".
int BeepFromPattern(int p) { return p <= 3 ? p + 1 : p == 4 ? 0 : p; }
int BeepToPattern(int code) {
    code = Clamp(code, 0, kBeepMax);
    return code == 0 ? 4 : code <= 4 ? code - 1 : code;
}

// Two-bit choices whose pattern 3 has no meaning and reads as 2.
int TwoBitChoice(int pattern) { return pattern == 3 ? 2 : pattern; }

// The record bytes both signalling systems share the layout of: "Bell", "Beep", "Stun", "Scan".
void DecodeRxCommonBits(const CByteImage& image, std::uint32_t r, CNode* ch) {
    Set(ch, "Bell", Bits2(image, r + kBellStunByte, 0));
    Set(ch, "Beep", BeepFromPattern(image.ReadByte(r + kBeepScanByte) & 0x07));
    Set(ch, "Stun", TwoBitChoice(Bits2(image, r + kBellStunByte, 3)));
    Set(ch, "Scan", TwoBitChoice(Bits2(image, r + kBeepScanByte, 4)));
}

void EncodeRxCommonBits(CByteImage& image, std::uint32_t r, CNode* ch) {
    const int bell = Clamp(Get(ch, "Bell"), 0, kBellMax);
    image.WriteBit(r + kBellStunByte, 0, bell & 1);
    image.WriteBit(r + kBellStunByte, 1, bell & 2);
    const int beep = BeepToPattern(Get(ch, "Beep"));
    for (unsigned bit = 0; bit < 3; ++bit)
        image.WriteBit(r + kBeepScanByte, bit, beep >> bit & 1);
    image.WriteBit(r + kBellStunByte, 3, Get(ch, "Stun") == 1);
    image.WriteBit(r + kBellStunByte, 4, Get(ch, "Stun") == 2);
    image.WriteBit(r + kBeepScanByte, 4, Get(ch, "Scan") == 1);
    image.WriteBit(r + kBeepScanByte, 5, Get(ch, "Scan") == 2);
}

// No-tone time: an even number 2 to 30.
int NoTonTimFromByte(int stored) {
    const int v = Clamp(stored, 2, 30);
    return v % 2 != 0 ? v + 1 : v;
}
int NoTonTimToByte(int code) {
    const int v = Clamp(code, 2, 30);
    return 2 * ((v + 1) / 2);
}

int BeepRepTimFromByte(int stored) { return std::min(stored, 60); }
int BeepRepTimToByte(int code) { return Clamp(code, 0, 60); }

} // namespace radiomap

// ---- window rule ----

void ApplyTwoToneWindow(CFreqNode* centre, CZ30UsrTonDecNode* low, CZ30UsrTonDecNode* high) {
    if (!centre || !low || !high) return;
    const double c = Clamp(centre->GetValue(), kCentreMin, kCentreMax);
    double best = 99999.0;
    double bestLo = 0.097 * c;
    double bestHi = 0.103 * c;
    for (int i = -30; i <= 30; i += 2) {
        const double x = i * 0.1;
        const double lo = x + 0.097 * c;
        const double hi = x + 0.103 * c;
        const int l = Clamp(RoundHz(lo), kWindowMin, kWindowMax);
        const int h = Clamp(RoundHz(hi), kWindowMin, kWindowMax);
        const double e = std::fabs((l + h) / 2.0 - 0.1 * c);
        if (e > best) break;
        best = e;
        bestLo = lo;
        bestHi = hi;
    }
    low->SetValue(RoundHz(bestLo));
    high->SetValue(RoundHz(bestHi));
    centre->SetValue(
        static_cast<int>(std::floor((low->GetValue() + high->GetValue()) * 0.5 * 10 + 0.5)));
}

void ApplyTwoToneWindows(CZ302TonRxCodeChNode* channel) {
    if (!channel) return;
    ApplyTwoToneWindow(channel->FirstFreq(), channel->FirstFreqLo(), channel->FirstFreqHi());
    ApplyTwoToneWindow(channel->SecondFreq(), channel->SecondFreqLo(), channel->SecondFreqHi());
}

void CZ30RadioDataManager::UpdateDependents(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return;
    const std::string name = path.substr(dot + 1);
    if (name != "1stFreq" && name != "2ndFreq") return;
    auto* ch = dynamic_cast<CZ302TonRxCodeChNode*>(GetNode(GetRoot(), path.substr(0, dot)));
    if (!ch) return;
    // Only the tone set: a second run of the rule may move a centre that was set once.
    if (name == "1stFreq")
        ApplyTwoToneWindow(ch->FirstFreq(), ch->FirstFreqLo(), ch->FirstFreqHi());
    else
        ApplyTwoToneWindow(ch->SecondFreq(), ch->SecondFreqLo(), ch->SecondFreqHi());
}

// ---- tree ----

void CZ30RadioDataManager::Build2ToneCodeCh(CNode* root) {
    CNode* two = New<CNode>(root, "2ToneCodeCH");

    CNode* rx = New<CNode>(two, "RXCodeCH");
    for (int i = 0; i < kRxChannelCount; ++i) {
        auto* ch = New<CZ302TonRxCodeChNode>(rx, RxChannelName(i).c_str());
        New<CFreqNode>(ch, "1stFreq", kCentreMin, kCentreMin, kCentreMin, 33002, 10);
        New<CFreqNode>(ch, "2ndFreq", kCentreMin, kCentreMin, kCentreMin, 33002, 10);
        New<CNumNode>(ch, "Group")->Choices({{0, "1st"}, {1, "2nd"}});
        New<CNumNode>(ch, "Bell")->Choices({{0, "Null"}, {1, "OFF"}, {2, "ON"}, {3, "Blink"}});
        New<CNumNode>(ch, "ANS")->Choices({{0, "OFF"}, {1, "ON"}});
        New<CNumNode>(ch, "Beep")
            ->Choices({{0, "Null"},
                       {1, "OFF"},
                       {2, "Pi(single)"},
                       {3, "PiPi(single)"},
                       {4, "PiRo(single)"},
                       {5, "Pi(repeat)"},
                       {6, "PiPi(repeat)"},
                       {7, "PiRo(repeat)"}});
        New<CNumNode>(ch, "Stun")->Choices({{0, "OFF"}, {1, "Kill"}});
        New<CNumNode>(ch, "Scan")->Choices({{0, "Null"}, {1, "Cancel"}, {2, "Start"}});
        ch->Bind();
    }

    CNode* tx = New<CNode>(two, "TXCode");
    New<CZ30UsrTonEncNode>(tx, "1stTonFreq", 250, 250, 250, 3300);
    New<CNumNode>(tx, "1stTonPeriod");
    New<CZ30UsrTonEncNode>(tx, "2ndTonFreq", 250, 250, 250, 3300);
    New<CNumNode>(tx, "2ndTonPeriod");
    New<CBitNode>(tx, "CodeType", "Individual", "Group");

    CNode* com = New<CNode>(two, "RXCodeCom");
    New<CNumNode>(com, "NoTonTim", 2, 2, 2, 30);
    New<CNumNode>(com, "GroupTim");
    New<CNumNode>(com, "BeepRepTim", 0, 0, 0, 60);
}

// ---- receive code channels ----

void CZ30RadioDataManager::Decode2ToneRxCodeCh(CNode* root, CByteImage& image) {
    for (int i = 0; i < kRxChannelCount; ++i)
        Decode2ToneRxCodeCh(root, image, i);
}

void CZ30RadioDataManager::Encode2ToneRxCodeCh(CNode* root, CByteImage& image) {
    for (int i = 0; i < kRxChannelCount; ++i)
        Encode2ToneRxCodeCh(root, image, i);
}

void CZ30RadioDataManager::Decode2ToneRxCodeCh(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kRxChannelCount) return;
    CZ302TonRxCodeChNode* ch = RxChannel(root, index);
    if (!ch) return;
    const std::uint32_t r = RxRecord(index);
    if (index < kCodedChannelCount) {
        const std::uint32_t w = kWindows + kWindowsSize * static_cast<std::uint32_t>(index);
        CZ30UsrTonDecNode* limits[4] = {ch->FirstFreqLo(), ch->FirstFreqHi(), ch->SecondFreqLo(),
                                        ch->SecondFreqHi()};
        for (std::uint32_t i = 0; i < 4; ++i)
            if (limits[i]) limits[i]->SetValue(Word(image, w + 2 * i));
        if (ch->FirstFreq() && limits[0] && limits[1])
            ch->FirstFreq()->SetValue(
                RoundHz((limits[0]->GetValue() + limits[1]->GetValue()) * 5.0));
        if (ch->SecondFreq() && limits[2] && limits[3])
            ch->SecondFreq()->SetValue(
                RoundHz((limits[2]->GetValue() + limits[3]->GetValue()) * 5.0));
        ApplyTwoToneWindows(ch);
        Set(ch, "Group", image.ReadByte(r + kGroupByte) == 1);
    } else {
        Set(ch, "Group", 0);
    }
    Set(ch, "ANS", image.ReadByte(r + kAnsByte) == 0xFF);
    DecodeRxCommonBits(image, r, ch);
}

void CZ30RadioDataManager::Encode2ToneRxCodeCh(CNode* root, CByteImage& image, int index) {
    if (index < 0 || index >= kRxChannelCount) return;
    CZ302TonRxCodeChNode* ch = RxChannel(root, index);
    if (!ch) return;
    const std::uint32_t r = RxRecord(index);
    if (index < kCodedChannelCount) {
        const std::uint32_t w = kWindows + kWindowsSize * static_cast<std::uint32_t>(index);
        const CZ30UsrTonDecNode* limits[4] = {ch->FirstFreqLo(), ch->FirstFreqHi(),
                                              ch->SecondFreqLo(), ch->SecondFreqHi()};
        for (std::uint32_t i = 0; i < 4; ++i)
            if (limits[i]) PutWord(image, w + 2 * i, limits[i]->GetValue());
        image.WriteByte(r + kGroupByte, static_cast<std::uint8_t>(std::min(Get(ch, "Group"), 1)));
    }
    image.WriteByte(r + kAnsByte, Get(ch, "ANS") == 1 ? 0xFF : 0x00);
    EncodeRxCommonBits(image, r, ch);
}

// ---- transmit code ----

void CZ30RadioDataManager::Decode2ToneTxCode(CNode* root, CByteImage& image) {
    CNode* tx = GetNode(root, "2ToneCodeCH.TXCode");
    if (!tx) return;
    DecodeTonWord(image, k1stTonFreq, Child(tx, "1stTonFreq"));
    ByteToNode(image, k1stTonPeriod, tx, "1stTonPeriod");
    DecodeTonWord(image, k2ndTonFreq, Child(tx, "2ndTonFreq"));
    ByteToNode(image, k2ndTonPeriod, tx, "2ndTonPeriod");
    Set(tx, "CodeType", (image.ReadByte(kCodeType) & 0x0F) == 0x0F);
}

void CZ30RadioDataManager::Encode2ToneTxCode(CNode* root, CByteImage& image) {
    CNode* tx = GetNode(root, "2ToneCodeCH.TXCode");
    if (!tx) return;
    EncodeTonWord(image, k1stTonFreq, Child(tx, "1stTonFreq"));
    NodeToByte(image, k1stTonPeriod, tx, "1stTonPeriod");
    EncodeTonWord(image, k2ndTonFreq, Child(tx, "2ndTonFreq"));
    NodeToByte(image, k2ndTonPeriod, tx, "2ndTonPeriod");
    image.WriteByte(kCodeType, Get(tx, "CodeType") ? 0x0F : 0x01);
    for (std::uint32_t a = kCodeType + 1; a <= kCodeType + 3u; ++a)
        image.WriteByte(a, 0xFF);
}

// ---- receive common ----

void CZ30RadioDataManager::Decode2ToneRxCommon(CNode* root, CByteImage& image) {
    CNode* com = GetNode(root, "2ToneCodeCH.RXCodeCom");
    Set(com, "NoTonTim", NoTonTimFromByte(image.ReadByte(kNoTonTim)));
    ByteToNode(image, kGroupTim, com, "GroupTim");
    Set(com, "BeepRepTim", BeepRepTimFromByte(image.ReadByte(kBeepRepTim)));
}

void CZ30RadioDataManager::Encode2ToneRxCommon(CNode* root, CByteImage& image) {
    CNode* com = GetNode(root, "2ToneCodeCH.RXCodeCom");
    if (!com) return;
    image.WriteByte(kNoTonTim, static_cast<std::uint8_t>(NoTonTimToByte(Get(com, "NoTonTim"))));
    NodeToByte(image, kGroupTim, com, "GroupTim");
    image.WriteByte(kBeepRepTim,
                    static_cast<std::uint8_t>(BeepRepTimToByte(Get(com, "BeepRepTim"))));
}
