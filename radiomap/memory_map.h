// The NQ-Z30's memory map as field tables: where each value of the tree lives in the 2 KiB image,
// by which rule, and the node that holds it. The tree builder makes the nodes from the records in
// tree order and the section codecs walk them; what no record can state is coded by hand in the
// section's map file (a Hand record, named in each table's comment).
#pragma once

#include "params/freq_nodes.h"
#include "radiomap/map_fields.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace radiomap {

// Rules that need a function.
inline int BeepDivider(int hz) { return CZ30BeepFreqNode::Divider(hz); }
// User CTCSS tone in tenths of Hz: 14.7456 MHz / (128 * N).
inline int UsrCtcssTone(int n) {
    return static_cast<int>(std::floor(10.0 * 14745600.0 / (128.0 * n) + 0.5));
}
inline int UsrCtcssDivider(int tenths) { return CZ30UsrCtcssFreqNode::Divider(tenths); }
inline int NoTonTimFromByte(int stored) { // an even number 2 to 30
    const int v = Clamp(stored, 2, 30);
    return v % 2 != 0 ? v + 1 : v;
}
inline int NoTonTimToByte(int code) { return 2 * ((Clamp(code, 2, 30) + 1) / 2); }
inline int GroupFromByte(int stored) { return stored == 1; }
inline int GroupToByte(int code) { return std::min(code, 1); }
inline int AnsFromByte(int stored) { return stored == 0xFF; }
inline int AnsToByte(int code) { return code == 1 ? 0xFF : 0x00; }
inline int CodeTypeFromByte(int stored) { return (stored & 0x0F) == 0x0F; }
inline int CodeTypeToByte(int code) { return code ? 0x0F : 0x01; }
inline int AbcCode(int v) { return (v >= 1 && v <= 32) || v == 128 || v == 255 ? v : 0; }
inline constexpr int kTonLenMin = 9;
inline constexpr int kTonLenMax = 2327;
inline int TonLenFromByte(int stored) { return (73 * stored + 4) / 8; } // 9.125 units a step
inline int TonLenToByte(int len) {
    return (1000 * Clamp(len, kTonLenMin, kTonLenMax) + 500) / 9125;
}
// A channel frequency: six BCD digits of kHz below the inhibit flag. The image keeps whole kHz; the
// channel raster gives back the rest as GridText does (150.006 reads as 150.00625). A kHz on no
// raster stays as it is.
inline int FreqFromBcd(int bits) {
    const int khz = FromBcd(bits);
    if (khz < 0) return 0;
    const long long onRaster = CZ30MchFreqNode::OnRaster(khz * 1000LL);
    return onRaster < 0 ? khz * 1000 : static_cast<int>(onRaster);
}
inline int FreqToBcd(int hz) { return ToBcd(std::max(hz, 0) / 1000); }
// "IfFreq": six BCD digits of kHz (the first is 0, bits 4 to 6 are not read) with the sign in the
// top bit. Only values on the 25 kHz raster are meaningful; anything else reads as 0.
inline int IfFreqFromBcd(int bits) {
    const int khz = FromBcd(bits & 0x0FFFFF), b2 = bits & 0xFF;
    if ((b2 != 0x00 && b2 != 0x25 && b2 != 0x50 && b2 != 0x75) || khz < 0) return 0;
    return bits >> 23 ? -khz * 1000 : khz * 1000;
}
inline int IfFreqToBcd(int hz) { return (ToBcd(std::abs(hz) / 1000) & 0x7FFFFF) | (hz < 0) << 23; }
inline constexpr CRule kToneWord = Function(CZ30UsrTonEncNode::FromWord, CZ30UsrTonEncNode::Word);
inline constexpr CRule kChannelFreq = Function(FreqFromBcd, FreqToBcd);
inline constexpr CRule kNoTonTim = Function(NoTonTimFromByte, NoTonTimToByte);
// A two-tone receive centre, in tenths of Hz.
inline CNode* MakeToneCentre(const char* name, const CNodeDesc& d) {
    return new CFreqNode(name, d.def, d.def, d.lo, d.hi, 10);
}

// clang-format off

// ---- Memory channels ----

inline constexpr std::uint32_t kEmrChannel  = 0x0073; // emergency channel - 1
inline constexpr std::uint32_t kEmrFlag     = 0x007C; // bit 5: an emergency channel is set
inline constexpr unsigned      kEmrFlagBit  = 5;
inline constexpr std::uint32_t kScanList    = 0x01F0; // one bit a channel, channel 1 in bit 7
inline constexpr std::uint32_t kChannelBase = 0x0200;
inline constexpr std::uint32_t kRecordSize  = 20;
inline constexpr int           kChannelCount = 36;

inline constexpr CChoiceText kBnkSet[] = {
    {0, "Free"}, {1, "Bank(8CH*5Bank)"}, {2, "Bank(16CH*2Bank+8CH"}, {3, "Bank(20CH*2"}};

// "Emr" is coded by hand (a channel number with its flag bit elsewhere).
inline constexpr CField kMchFields[] = {
    {"BnkSet", {},           Unstored(0),     Choices(kBnkSet)},
    {"PrioA",  Byte(0x0074), Range(1, 36, 1), Num()},
    {"PrioB",  Byte(0x0075), Range(1, 36, 1), Num()},
    {"Emr",    {},           Hand(),          Num()},
};
inline constexpr CFieldSection kMchSection = {"Mch", 0, {kMchFields}};

// Stored patterns:  0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15;  codes
inline constexpr CPattern kLogInOfLPattern =
    Patterns({0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 3}, {0, 12, 3, 15}, 15);
inline constexpr CPattern kLogInOfPPattern =
    Patterns({0, 3, 5, 4, 3, 0, 0, 0, 2, 0, 7, 0, 1, 0, 8, 6}, {0, 12, 8, 4, 3, 2, 15, 10, 14}, 14);
inline constexpr CPattern kMoniPattern =
    Patterns({0, 1, 2, 5, 0, 0, 3, 6, 0, 0, 0, 0, 0, 0, 4, 7}, {0, 1, 2, 6, 14, 3, 7, 15}, 15);
inline constexpr CPattern kFormPattern = // DTMF stored as 15
    Patterns({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9, 9, 9, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, 15);
inline constexpr CPattern kRfPwrPattern      = Patterns({0, 0, 1, 2}, {1, 2, 3}, 1);
inline constexpr CPattern kAutoResetLPattern = Patterns({1, 1, 0, 1}, {2, 0}, 0);
inline constexpr CPattern kAutoResetPPattern = Patterns({1, 3, 0, 2}, {2, 0, 3, 1}, 1);
inline constexpr CPattern kSelPattern        = Patterns({0, 2, 1, 2}, {0, 2, 1}, 1);
inline constexpr CPattern kIdPosPattern      = Patterns({0, 1, 0, 2}, {0, 1, 3}, 0);
inline constexpr CBitAt kMoniBits[] = {{11, 5}, {11, 4}, {10, 3}, {9, 6}}; // pattern bits 0 to 3

inline constexpr CChoiceText kRfPwr[]      = {{0, "Low1"}, {1, "Low2"}, {2, "High"}};
inline constexpr CChoiceText kLockoutL[]   = {{0, "OFF"}, {1, "Busy"}, {2, "Rpt"}};
inline constexpr CChoiceText kLockoutP[]   = {{0, "OFF"}, {1, "Busy"}, {2, "Rpt1"}, {3, "Rpt2"}};
inline constexpr CChoiceText kAutoResetP[] = {
    {0, "Timer A"}, {1, "Timer B"}, {2, "Timer A Inact"}, {3, "Timer B Inact"}};
inline constexpr CChoiceText k2Ton[]       = {{0, "OFF"}, {1, "1"}, {2, "2"}, {3, "3"}};
inline constexpr CChoiceText kLogInOfL[]   = {{0, "OFF"}, {1, "L-IN"}, {2, "L-OFF"}, {3, "Both"}};
inline constexpr CChoiceText kLogInOfP[]   = {{0, "OFF"}, {1, "L-IN"}, {2, "L-INA"}, {3, "L-INI"},
    {4, "L-OFF"}, {5, "L-OFFA"}, {6, "Both"}, {7, "BothA1"}, {8, "BothA2"}};
inline constexpr CChoiceText kMoni[]       = {{0, "OFF"}, {1, "Aud"}, {2, "In A"}, {3, "In A+R1"},
    {4, "In A+R2"}, {5, "Both"}, {6, "Both+R1"}, {7, "Both+R2"}};
inline constexpr CChoiceText kSel[]        = {{0, "OFF"}, {1, "Aud"}, {2, "In A"}};
inline constexpr CChoiceText kAud[]        = {{0, "OFF"}, {1, "Aud"}};
inline constexpr CChoiceText kMute[]       = {{0, "CONT"}, {1, "SGL"}};
inline constexpr CChoiceText kForm[]       = {{0, "USER"}, {1, "CCIR"}, {2, "ZVEI1"}, {3, "ZVEI2"},
    {4, "DZVEI"}, {5, "EEA"}, {6, "EEA2"}, {7, "DAPL"}, {8, "EIA"}, {9, "DTMF"}};
inline constexpr CChoiceText kIdPos[]      = {{0, "OFF"}, {1, "BTM"}, {2, "TOP"}};

// Tone-squelch codes: CTCSS tones by index, the user tone, off, DCS normal and inverted + code.
inline constexpr const char* kCtcssTones[] = {
    "67.0",  "69.3",  "71.0",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",
    "91.5",  "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0",
    "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5",
    "167.9", "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6",
    "199.5", "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3",
    "254.1"};
inline constexpr int kToneUser    = 51;
inline constexpr int kToneOff     = 1000;
inline constexpr int kDcsNormal   = 2000;
inline constexpr int kDcsInverted = 3000;
inline constexpr auto kToneChoices = [] {
    std::array<CChoiceText, std::size(kCtcssTones) + 2> c{};
    for (std::size_t i = 0; i < std::size(kCtcssTones); ++i)
        c[i] = {static_cast<int>(i), kCtcssTones[i]};
    c[kToneUser] = {kToneUser, "USER"};
    c[kToneUser + 1] = {kToneOff, "OFF"};
    return c;
}();
inline constexpr CNodeDesc kTone = {MakeRange<CNumNode>, kToneOff, 0, 5000, nullptr, nullptr,
                                    kToneChoices};
// A tone field: 12 bits, kind in bits 11 and 10.
inline int DecodeTone(int t) {
    switch (t >> 10 & 3) {
    case 0:
        return std::min(t & 0xFF, kToneUser);
    case 1:
        return (t & 0x200 ? kDcsInverted : kDcsNormal) + 100 * (t >> 6 & 7) + 10 * (t >> 3 & 7) +
               (t & 7);
    default:
        return kToneOff;
    }
}

inline int EncodeTone(int code) {
    if (code <= kToneUser) return std::max(code, 0);
    if (code >= kDcsNormal && code < kDcsInverted + 1000) {
        const bool inverted = code >= kDcsInverted;
        const int d = code - (inverted ? kDcsInverted : kDcsNormal);
        const int d2 = std::min(d / 100, 7), d1 = std::min(d / 10 % 10, 7),
                  d0 = std::min(d % 10, 7);
        return 0x400 | (inverted ? 0x200 : 0) | d2 << 6 | d1 << 3 | d0;
    }
    return 0x800;
}

// The tone fields, lowest bit first: receive in byte 6 and the high nibble of byte 7, transmit in
// the low nibble of byte 7 and byte 8.
inline constexpr CBitAt kCTonRx[] = {
    {7, 4}, {7, 5}, {7, 6}, {7, 7}, {6, 0}, {6, 1}, {6, 2}, {6, 3}, {6, 4}, {6, 5}, {6, 6}, {6, 7}};
inline constexpr CBitAt kCTonTx[] = {
    {8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4}, {8, 5}, {8, 6}, {8, 7}, {7, 0}, {7, 1}, {7, 2}, {7, 3}};
inline constexpr CRule kToneCode = Function(DecodeTone, EncodeTone);

inline constexpr CNodeDesc kTimerAB = OnOff("Timer A", "Timer B");

// A channel record, in the order of the tree. Coded by hand: whether the channel is on (byte 0 is
// 0xFF when it is off; "InhCh" reads 0 then), the scan-list bit. LMR radios write the two-tone
// number's signalling bits and factory content into the five-tone fields.
inline constexpr CField kChannelFields[] = {
    {"ChOn",       {},               Hand(),                      OnOff()},
    {"FreqRx",     Wide(0, 23),      kChannelFreq,                Node<CZ30MchFreqNode>()},
    {"InhCh",      Bit(0, 7),        Flag(),                      OnOff()},
    {"FreqTx",     Wide(3, 23),      kChannelFreq,                Node<CZ30MchFreqNode>()},
    {"InhTx",      Bit(3, 7),        Plain(),                     OnOff()},
    {"CTonRx",     Apart(kCTonRx),   kToneCode,                   kTone},
    {"CTonTx",     Apart(kCTonTx),   kToneCode,                   kTone},
    {"WidNar",     Bit(12, 7),       Plain(),                     OnOff("Wide", "Narrow")},
    {"PwrSave",    Bit(9, 7),        Plain(),                     OnOff()},
    {"TOT",        Bit(9, 4),        Plain(),                     OnOff()},
    {"RfPwr",      Bits(9, 0, 2),    Pattern(kRfPwrPattern),      Choices(kRfPwr)},
    {"LockoutL",   Bits(9, 2, 2),    Range(0, 2),                 Choices(kLockoutL),  kLmr},
    {"LockoutP",   Bits(9, 2, 2),    Range(0, 3),                 Choices(kLockoutP),  kPmr},
    {"ScnLst1",    {},               Hand(),                      OnOff()},
    {"AutoResetL", Bits(11, 0, 2),   Pattern(kAutoResetLPattern), kTimerAB,            kLmr},
    {"AutoResetP", Bits(11, 0, 2),   Pattern(kAutoResetPPattern), Choices(kAutoResetP), kPmr},
    {"2Ton",       Byte(19),         Range(0, 3),                 Choices(k2Ton),      kLmr},
    {"LogInOfL",   Bits(10, 4, 4),   Pattern(kLogInOfLPattern),   Choices(kLogInOfL),  kLmr},
    {"LogInOfP",   Bits(10, 4, 4),   Pattern(kLogInOfPPattern),   Choices(kLogInOfP),  kPmr},
    {"Moni",       Apart(kMoniBits), Pattern(kMoniPattern),       Choices(kMoni),      kPmr},
    {"Sel",        Bits(11, 6, 2),   Pattern(kSelPattern),        Choices(kSel),       kPmr},
    {"Call",       Bit(11, 3),       Plain(),                     Choices(kAud),       kPmr},
    {"PTT",        Bit(11, 2),       Plain(),                     Choices(kAud),       kPmr},
    {"Mute",       Bit(10, 0),       Plain(),                     Choices(kMute),      kPmr},
    {"Form",       Bits(15, 0, 4),   Pattern(kFormPattern),       Choices(kForm),      kPmr},
    {"RPT",        Bits(16, 0, 7),   Range(0, 32),                Numbers(32),         kPmr},
    {"RPTLng",     Bit(16, 7),       Plain(),                     OnOff(),             kPmr},
    {"STN",        Bits(17, 0, 7),   Range(0, 32),                Numbers(32),         kPmr},
    {"STNLng",     Bit(17, 7),       Plain(),                     OnOff(),             kPmr},
    {"Id",         Bits(18, 0, 7),   Range(0, 32),                Numbers(32),         kPmr},
    {"IdLng",      Bit(18, 7),       Plain(),                     OnOff(),             kPmr},
    {"IdPos",      Bits(15, 6, 2),   Pattern(kIdPosPattern),      Choices(kIdPos),     kPmr},
    {"RxCNo1",     Bit(19, 7),       Plain(),                     OnOff("_", "1"),     kPmr},
    {"RxCNo2",     Bit(19, 6),       Plain(),                     OnOff("_", "2"),     kPmr},
    {"RxCNo3",     Bit(19, 5),       Plain(),                     OnOff("_", "3"),     kPmr},
    {nullptr,      Bits(19, 0, 5),   Fixed(0),                    {},                  kPmr},
    // What LMR radios write in place of the five-tone fields.
    {"2Ton",       Bit(10, 0),       Flag(),                      {},                  kLmr},
    {"2Ton",       Bit(11, 3),       Flag(),                      {},                  kLmr},
    {"2Ton",       Bit(11, 2),       Flag(),                      {},                  kLmr},
    {nullptr,      Apart(kMoniBits), Factory(),                   {},                  kLmr},
    {nullptr,      Bits(11, 6, 2),   Factory(),                   {},                  kLmr},
    {nullptr,      Bits(15, 6, 2),   Factory(),                   {},                  kLmr},
    {nullptr,      Bits(15, 0, 4),   Fixed(0),                    {},                  kLmr},
    {nullptr,      Byte(16),         Factory(),                   {},                  kLmr},
    {nullptr,      Byte(17),         Fixed(0x81),                 {},                  kLmr},
    {nullptr,      Byte(18),         Factory(),                   {},                  kLmr},
};
inline constexpr CFieldSection kChannelSection = {"Mch.CH1", kChannelBase, {kChannelFields}};

// ---- Scan and DTMF (the autodial memories are texts, coded by hand) ----

inline constexpr CChoiceText kScanMode[] = {
    {0, "Scan OFF"}, {1, "MODE1"}, {2, "MODE2"}, {3, "MODE3"}};

inline constexpr CField kScanFields[] = {
    {"Mode",      Bits(0x01F5, 0, 2), Range(0, 3), Choices(kScanMode)},
    {"PwrSave",   Bit(0x01F5, 4),     Plain(),     OnOff()},
    {"StopTim",   Byte(0x008D),       Plain(),     Num()},
    {"ResTim",    Byte(0x008E),       Plain(),     Num()},
    {"PwrOnScan", Bit(0x007D, 7),     Plain(),     OnOff()},
    {"AutChCal",  Bit(0x007C, 1),     Plain(),     OnOff()},
};
inline constexpr CFieldSection kScanSection = {"ScanList.ScanCom", 0, {kScanFields}};

inline constexpr CField kDtmfFields[] = {
    {"DTMFTim", Byte(0x0089), Plain(), Num()},
    {"1stTim",  Byte(0x008A), Plain(), Num()},
    {"MarkTim", Byte(0x008B), Plain(), Num()},
};
inline constexpr CFieldSection kDtmfSection = {"DTMFAutoD.DTMFCom", 0, {kDtmfFields}};

// ---- Common settings and the maker area ----

inline constexpr CField kCommon1Fields[] = {
    {"AutoResTimA", Byte(0x0098),   Plain(), Num()},
    {"AutoResTimB", Byte(0x0099),   Plain(), Num()},
    {"InATim",      Byte(0x009A),   Plain(), Num()},
    {"SqlLvl",      Byte(0x00A7),   Plain(), Num()},
    {"TotTim",      Byte(0x0094),   Plain(), Num()},
    {"PenaltyTim",  Byte(0x0095),   Plain(), Num()},
    {"IdOut",       Bit(0x007D, 5), Plain(), OnOff()},
    {"BeepOn",      Bit(0x007D, 4), Plain(), OnOff()},
    {"Comment1",    Wide(0x0100, 128), Text(16), String()},
    {"Comment2",    Wide(0x0110, 128), Text(16), String()},
};
inline constexpr CFieldSection kCommon1Section = {"CommonSet.Common1", 0, {kCommon1Fields}};

inline constexpr CField kCommon2Fields[] = {
    {"LckOutPenTim", Byte(0x0096),   Plain(), Num()},
    {"TonBurst",     Bit(0x007C, 3), Plain(), OnOff("Notone", "Phase")},
    {"RevBurst",     Byte(0x0082),   Plain(), Num()},
    {"TrDataOut",    Bit(0x007D, 2), Plain(), OnOff("Inhibit", "Enable")},
};
inline constexpr CFieldSection kCommon2Section = {"CommonSet.Common2", 0, {kCommon2Fields}};

inline constexpr CNodeDesc kBeepFreq = Node<CZ30BeepFreqNode>(400, 400, 3000);
inline constexpr CField kExpertFields[] = {
    {"FastScnTim",   Byte(0x0080),   Plain(), Num()},
    {"SlwScnTim",    Byte(0x0081),   Plain(), Num()},
    {"EmrSwOnTim",   Byte(0x0091),   Plain(), Num()},
    {"EmrSwOfTim",   Byte(0x0092),   Plain(), Num()},
    {"EmrStrRepTim", Byte(0x0093),   Plain(), Num()},
    {"BeepFreqL",    Byte(0x0070),   Divider(CZ30BeepFreqNode::Tone, BeepDivider), kBeepFreq},
    {"BeepFreqH",    Byte(0x0071),   Divider(CZ30BeepFreqNode::Tone, BeepDivider), kBeepFreq},
    {"DTCSInvTx",    Bit(0x007B, 7), Plain(), OnOff("Normal", "Inverse")},
    {"DTCSInvRx",    Bit(0x007B, 6), Plain(), OnOff("Normal", "Inverse")},
    {"UsrCtcssFreq", Word(0x019A),   Divider(UsrCtcssTone, UsrCtcssDivider),
                                     Node<CZ30UsrCtcssFreqNode>(1000, 600, 3000)},
    {"PwrSavTim1",   Byte(0x009C),   Plain(), Num()},
    {"PwrSavTim2",   Byte(0x009D),   Plain(), Num()},
};
inline constexpr CFieldSection kExpertSection = {"CommonSet.Expert", 0, {kExpertFields}};

// Key-function codes as stored, with their texts; the two lists of the key page (not stored).
inline constexpr CChoiceText kKeyFunctions[] = {
    {0, "Null"}, {4, "Scan A Start/Stop"}, {5, "Scan B Start/Stop"}, {7, "Prio A"},
    {8, "Prio A (Rewrite)"}, {9, "Prio B"}, {10, "MR-CH 1"}, {11, "MR-CH 2"}, {12, "MR-CH 3"},
    {13, "MR-CH 4"}, {14, "Moni(Audi)"}, {15, "Lock1"}, {16, "High/Low"}, {17, "Wide/Narrow"},
    {18, "Lock2"}, {20, "Talk Around"}, {23, "DTMF Autodial"}, {24, "Call"},
    {25, "Call A (Code 30)"}, {26, "Call B (Code 29)"}, {27, "Emergency Single"},
    {28, "Emergency Repeat"}};
inline constexpr CChoiceText kKeyConvLmr[] = {
    {0, "Null"}, {1, "Scan A Start/Stop"}, {2, "Scan B Start/Stop"}, {3, "Prio A"},
    {4, "Prio A (Rewrite)"}, {5, "Prio B"}, {6, "MR-CH 1"}, {7, "MR-CH 2"}, {8, "MR-CH 3"},
    {9, "MR-CH 4"}, {10, "Moni"}, {11, "Lock1"}, {12, "Lock2"}, {13, "High/Low"},
    {14, "Talk Around"}, {15, "Wide/Narrow"}, {16, "DTMF Autodial"}, {17, "Call"},
    {18, "Emergency Single"}, {19, "Emergency Repeat"}};
inline constexpr CChoiceText kKeyConvPmr[] = {
    {0, "Null"}, {1, "Scan A Start/Stop"}, {2, "Scan B Start/Stop"}, {3, "Prio A"},
    {4, "Prio A (Rewrite)"}, {5, "Prio B"}, {6, "MR-CH 1"}, {7, "MR-CH 2"}, {8, "MR-CH 3"},
    {9, "MR-CH 4"}, {10, "Moni(Audi)"}, {11, "Lock1"}, {12, "Lock2"}, {13, "High/Low"},
    {14, "Talk Around"}, {15, "Wide/Narrow"}, {16, "DTMF Autodial"}, {17, "Call"},
    {18, "Call A (Code 30)"}, {19, "Call B (Code 29)"}, {20, "Emergency Single"},
    {21, "Emergency Repeat"}};

inline constexpr CField kKeyDispFields[] = {
    {"Key_Conv_LMR", {},             Hand(),    Choices(kKeyConvLmr)},
    {"Key_Conv_PMR", {},             Hand(),    Choices(kKeyConvPmr)},
    {"KeyF0Conv",    Byte(0x009E),   KeyCode(), Choices(kKeyFunctions)},
    {"KeyF1Conv",    Byte(0x009F),   KeyCode(), Choices(kKeyFunctions)},
    {"KeyF2Conv",    Byte(0x00A0),   KeyCode(), Choices(kKeyFunctions)},
    {"KeyMicUpConv", Byte(0x00A3),   KeyCode(), Choices(kKeyFunctions)},
    {"KeyMicDnConv", Byte(0x00A4),   KeyCode(), Choices(kKeyFunctions)},
    {"KeyMicAConv",  Byte(0x00A1),   KeyCode(), Choices(kKeyFunctions)},
    {"KeyMicBConv",  Byte(0x00A2),   KeyCode(), Choices(kKeyFunctions)},
    {"RFPwrSel",     Bit(0x007F, 2), Plain(),   OnOff("MR CH individual", "Override")},
    {"BeepOn",       Bit(0x007E, 7), Plain(),   OnOff()},
    {"MicFunc",      Bit(0x007C, 2), Plain(),   OnOff()},
    {"OpeningBeep",  Bit(0x007E, 5), Plain(),   OnOff()},
};
inline constexpr CFieldSection kKeyDispSection = {"CommonSet.KeyDisp", 0, {kKeyDispFields}};

inline constexpr CField kMakerFields[] = {
    {"SqlDelayOn",   Bit(0x0007, 7), Inverted(),        OnOff()},
    {"SqlDelayTim",  Byte(0x0010),   Plain(),           Num()},
    {"SigDetTim",    Byte(0x000E),   Plain(),           Num()},
    {"NoisDetTim",   Byte(0x000F),   Plain(),           Num()},
    {"CTonAtack",    Byte(0x0013),   Plain(),           Num()},
    {"CTonRel",      Byte(0x0014),   Plain(),           Num()},
    {"CTonPs",       Byte(0x0015),   Plain(),           Num()},
    {"DtcsPolTx",    Bit(0x0007, 6), Plain(),           OnOff("+ (Plus)", "- (Minus)")},
    {"DtcsPolRx",    Bit(0x0007, 5), Plain(),           OnOff("+ (Plus)", "- (Minus)")},
    {"DtcsDec",      Byte(0x0016),   Range(12, 23, 11), Num(12, 23)},
    {"PwrSavOfTim",  Byte(0x000B),   Plain(),           Num()},
    {"PwrSavOnTim1", Byte(0x000C),   Plain(),           Num()},
    {"PwrSavOnTim2", Byte(0x000D),   Plain(),           Num()},
    {"IfFreq",       Wide(0x0008, 24), Function(IfFreqFromBcd, IfFreqToBcd),
                                                        Node<CZ30IfFreqNode>()},
    {"PllRef",       Bit(0x0007, 2), Plain(),           OnOff("15.3", "15.6")},
    {"FreqPitch",    Bit(0x0007, 4), Plain(),           OnOff("5.0/6.25", "2.5/3.125")},
    {"MutTimTx",     Byte(0x0011),   Plain(),           Num()},
    {"MutTimRx",     Byte(0x0012),   Plain(),           Num()},
};
inline constexpr CFieldSection kMakerSection = {"MakerR", 0, {kMakerFields}};

// ---- Receive code channels of both signalling systems ----

// 9 bytes at 0x05FC + 9 * b: b = 0 for "CHG", 1 to 3 for CH1 to CH3.
inline constexpr std::uint32_t kRxRecord          = 0x05FC;
inline constexpr std::uint32_t kRxRecordSize      = 9;
inline constexpr int           kRxChannelCount    = 4; // CH1, CH2, CH3, CHG
inline constexpr int           kCodedChannelCount = 3;

inline constexpr CPattern kBeepPattern = // pattern 4 is "Null"
    Patterns({1, 2, 3, 4, 0, 5, 6, 7}, {4, 0, 1, 2, 3, 5, 6, 7}, 7);
inline constexpr CPattern kTwoBitPattern = Patterns({0, 1, 2, 2}, {0, 1, 2}, 0); // 3 reads as 2

inline constexpr CChoiceText kScanChoices[] = {{0, "Null"}, {1, "Cancel"}, {2, "Start"}};
inline constexpr CChoiceText kBeepChoices[] = {{0, "Null"}, {1, "OFF"}, {2, "Pi(single)"},
    {3, "PiPi(single)"}, {4, "PiRo(single)"}, {5, "Pi(repeat)"}, {6, "PiPi(repeat)"},
    {7, "PiRo(repeat)"}};
inline constexpr CChoiceText kStunChoices[] = {{0, "OFF"}, {1, "Kill"}};
inline constexpr CChoiceText kBellChoices[] = {{0, "Null"}, {1, "OFF"}, {2, "ON"}, {3, "Blink"}};

// Bytes 6 and 7 of a receive record, the same in both systems.
inline constexpr CRule kTwoBits = Pattern(kTwoBitPattern);
inline constexpr CRule kBeep = Pattern(kBeepPattern);
inline constexpr CField kRxScan = {"Scan", Bits(6, 4, 2), kTwoBits, Choices(kScanChoices)};
inline constexpr CField kRxBeep = {"Beep", Bits(6, 0, 3), kBeep, Choices(kBeepChoices)};
inline constexpr CField kRxStun = {"Stun", Bits(7, 3, 2), kTwoBits, Choices(kStunChoices)};
inline constexpr CField kRxBell = {"Bell", Bits(7, 0, 2), Range(0, 3), Choices(kBellChoices)};

// ---- Two-tone signalling (LMR) ----

inline constexpr CChoiceText kGroupChoices[] = {{0, "1st"}, {1, "2nd"}};
inline constexpr CChoiceText kAnsChoices[]   = {{0, "OFF"}, {1, "ON"}};
inline constexpr CNodeDesc kToneCentre = {MakeToneCentre, 2500, 2500, 33002};

// The tone centres are coded by hand: they come from the decoder windows of CH1 to CH3 (four
// words at 0x013E + 8 * k). The group channel "CHG" stores no group: records 2 and 3 apart.
inline constexpr CField k2ToneRxFields[] = {
    {"1stFreq", {},      Hand(),                               kToneCentre},
    {"2ndFreq", {},      Hand(),                               kToneCentre},
    {"Group",   Byte(0), Function(GroupFromByte, GroupToByte), Choices(kGroupChoices)},
    kRxBell,
    {"ANS",     Byte(5), Function(AnsFromByte, AnsToByte),     Choices(kAnsChoices)},
    kRxBeep,
    kRxStun,
    kRxScan,
};
inline constexpr CField k2ToneNoGroup[] = {{"Group", {}, Unstored(0)}};
inline constexpr CFieldSection k2ToneCodedSection = {
    "2ToneCodeCH.RXCodeCH.CH1", kRxRecord + kRxRecordSize, {k2ToneRxFields}};
inline constexpr CFieldSection k2ToneGroupSection = {"2ToneCodeCH.RXCodeCH.CHG", kRxRecord,
    {CFields(k2ToneRxFields).first(2), k2ToneNoGroup, CFields(k2ToneRxFields).subspan(3)}};

inline constexpr CNodeDesc kTxTone = Node<CZ30UsrTonEncNode>(250, 250, 3300);
inline constexpr CField k2ToneTxFields[] = {
    {"1stTonFreq",   Word(0x0120), kToneWord, kTxTone},
    {"1stTonPeriod", Byte(0x0087), Plain(),   Num()},
    {"2ndTonFreq",   Word(0x0122), kToneWord, kTxTone},
    {"2ndTonPeriod", Byte(0x017A), Plain(),   Num()},
    {"CodeType",     Byte(0x0520), Function(CodeTypeFromByte, CodeTypeToByte),
                                              OnOff("Individual", "Group")},
    {nullptr,        Byte(0x0521), Fixed(0xFF)},
    {nullptr,        Byte(0x0522), Fixed(0xFF)},
    {nullptr,        Byte(0x0523), Fixed(0xFF)},
};
inline constexpr CFieldSection k2ToneTxSection = {"2ToneCodeCH.TXCode", 0, {k2ToneTxFields}};

inline constexpr CField k2ToneRxComFields[] = {
    {"NoTonTim",   Byte(0x0183), kNoTonTim,    Num(2, 30)},
    {"GroupTim",   Byte(0x008C), Plain(),      Num()},
    {"BeepRepTim", Byte(0x0097), Range(0, 60), Num(0, 60)},
};
inline constexpr CFieldSection k2ToneRxComSection =
    {"2ToneCodeCH.RXCodeCom", 0, {k2ToneRxComFields}};

// ---- Five-tone signalling (PMR) ----

// The codes (bytes 0 to 3 of a record, and the "+" flags in byte 4 of a receive record) are
// texts, coded by hand.
inline constexpr std::uint32_t kTxRecord     = 0x0520; // 6 bytes a transmit code channel
inline constexpr std::uint32_t kTxRecordSize = 6;

inline constexpr CChoiceText kAbcChoices[]  = {{128, "STN"}, {255, "SGL"}}; // after OFF, 1 to 32
inline constexpr CChoiceText kAudChoices[]  = {{0, "Null"}, {1, "IN_A"}, {2, "Aud"}};

// The group channel "CHG" keeps no ABC (always 0): record 4 apart.
inline constexpr CField k5ToneRxFields[] = {
    {"RxCode",  {},            Hand(),                      String()},
    {"IdDec",   Bit(7, 6),     Plain(),                     OnOff()},
    kRxBell,
    {"EmrCanc", Bit(8, 7),     Plain(),                     OnOff("Null", "Cancel")},
    {"ABC",     Byte(5),       Function(AbcCode, AbcCode),
                {MakeRange<CNumNode>, 0, 0, 255, nullptr, nullptr, kAbcChoices, 32}},
    kRxBeep,
    {"AudMode", Bits(6, 6, 2), kTwoBits,                    Choices(kAudChoices)},
    kRxStun,
    kRxScan,
};
inline constexpr CField k5ToneNoAbc[] = {{"ABC", Byte(5), Range(0, 0)}};
inline constexpr CFieldSection k5ToneCodedSection = {
    "5ToneCodeCH.RXCodeCH.CH1", kRxRecord + kRxRecordSize, {k5ToneRxFields}};
inline constexpr CFieldSection k5ToneGroupSection = {"5ToneCodeCH.RXCodeCH.CHG", kRxRecord,
    {CFields(k5ToneRxFields).first(4), k5ToneNoAbc, CFields(k5ToneRxFields).subspan(5)}};

inline constexpr CField k5ToneTxFields[] = {
    {"TxCode", {},        Hand(),     String()},
    {"UpDate", Bit(4, 0), Plain(),    OnOff()},
    {"ABCDec", Bit(5, 7), Plain(),    OnOff()},
    {"ABCAud", Bit(5, 6), Plain(),    OnOff()},
    {"Sel",    Bit(5, 4), Inverted(), OnOff()},
};
inline constexpr CFieldSection k5ToneTxSection =
    {"5ToneCodeCH.TXCodeCH.CH1", kTxRecord, {k5ToneTxFields}};

// Formats USER to EIA: a byte each in three rows, the base is the format's index.
inline constexpr CField k5ToneFormatFields[] = {
    {"TonPeriod", Byte(0x017A), Plain(),                              Num()},
    {"NoTonTim",  Byte(0x0183), kNoTonTim,                            Num(2, 30)},
    {"TonLen",    Byte(0x018C), Function(TonLenFromByte, TonLenToByte),
                                                                      Num(kTonLenMin, kTonLenMax)},
};
inline constexpr CField k5ToneDtmfFormatFields[] = {
    {"TonPeriod", Byte(0x0195), Plain()},
    {"NoTonTim",  Byte(0x0196), kNoTonTim},
    {"TonLen",    {},           Unstored(kTonLenMin)},
};
inline constexpr CFieldSection k5ToneFormatSection =
    {"5ToneCodeCH.Format.USER", 0, {k5ToneFormatFields}};
inline constexpr CFieldSection k5ToneDtmfFormatSection =
    {"5ToneCodeCH.Format.DTMF", 0, {k5ToneDtmfFormatFields}};

// User tones 0 to 14: the generated tone at base 2 * n, the decoder window at base 4 * n.
inline constexpr CField k5ToneUsrTonEncField[]  = {
    {"Enc",  Word(0x0120), kToneWord, Node<CZ30UsrTonEncNode>(400, 400, 3000)}};
inline constexpr CField k5ToneUsrTonDecFields[] = {
    {"DecL", Word(0x013E), Plain(),   Node<CZ30UsrTonDecNode>(400, 400, 3000)},
    {"DecH", Word(0x0140), Plain(),   Node<CZ30UsrTonDecNode>(400, 400, 3000)},
};
inline constexpr CFieldSection k5ToneUsrTonEncSection =
    {"5ToneCodeCH.UsrTon.0", 0, {k5ToneUsrTonEncField}};
inline constexpr CFieldSection k5ToneUsrTonDecSection =
    {"5ToneCodeCH.UsrTon.0", 0, {k5ToneUsrTonDecFields}};

inline constexpr CField k5ToneRxComFields[] = {
    {"LnkATim",    Byte(0x0086),   Plain(),      Num()},
    {"CompDigit1", Bit(0x0077, 7), Plain(),      PlainBit()},
    {"CompDigit2", Bit(0x0077, 6), Plain(),      PlainBit()},
    {"CompDigit3", Bit(0x0077, 5), Plain(),      PlainBit()},
    {"CompDigit4", Bit(0x0077, 4), Plain(),      PlainBit()},
    {"CompDigit5", Bit(0x0077, 3), Plain(),      PlainBit()},
    {"CompDigit6", Bit(0x0077, 2), Plain(),      PlainBit()},
    {"CompDigit7", Bit(0x0077, 1), Plain(),      PlainBit()},
    {"IdDecTim",   Byte(0x008F),   Plain(),      Num()},
    {"BeepRepTim", Byte(0x0097),   Range(0, 60), Num(0, 60)},
};
inline constexpr CFieldSection k5ToneRxComSection =
    {"5ToneCodeCH.RxCodeCom", 0, {k5ToneRxComFields}};

inline constexpr CChoiceText kHexDigits[] = {{0, "0"}, {1, "1"}, {2, "2"}, {3, "3"}, {4, "4"},
    {5, "5"}, {6, "6"}, {7, "7"}, {8, "8"}, {9, "9"}, {10, "A"}, {11, "B"}, {12, "C"}, {13, "D"},
    {14, "E"}, {15, "F"}};

// "SpcTonStr" has no place in the image.
inline constexpr CField k5ToneTxComFields[] = {
    {"LngTonTim",     Byte(0x0087),   Plain(),      Num()},
    {"LnkRTim",       Byte(0x0083),   Plain(),      Num()},
    {"Lnk1Tim",       Byte(0x0084),   Plain(),      Num()},
    {"Lnk2Tim",       Byte(0x0085),   Plain(),      Num()},
    {"LeadOutDlyTim", Byte(0x0088),   Plain(),      Num()},
    {"ABCDecTim",     Byte(0x0090),   Plain(),      Num()},
    {"SpcTonGrp",     Byte(0x0078),   HexDigit(14), String("0")},
    {"SpcTonRep",     Byte(0x0079),   HexDigit(14), String("0")},
    {"SpcTonLnk2",    Byte(0x007A),   HexDigit(15), String("0")},
    {"SpcTonStr",     {},             Hand(),       Choices(kHexDigits)},
    {"PTTCallInA",    Bit(0x007D, 6), Plain(),      OnOff()},
};
inline constexpr CFieldSection k5ToneTxComSection =
    {"5ToneCodeCH.TxCodeCom", 0, {k5ToneTxComFields}};

// Every section, for the tests' walk over the tables.
inline constexpr const CFieldSection* kFieldSections[] = {
    &kMchSection, &kChannelSection, &kScanSection, &kDtmfSection, &kCommon1Section,
    &kCommon2Section, &kExpertSection, &kKeyDispSection, &kMakerSection, &k2ToneCodedSection,
    &k2ToneGroupSection, &k2ToneTxSection, &k2ToneRxComSection, &k5ToneCodedSection,
    &k5ToneGroupSection, &k5ToneTxSection, &k5ToneFormatSection, &k5ToneDtmfFormatSection,
    &k5ToneUsrTonEncSection, &k5ToneUsrTonDecSection, &k5ToneRxComSection, &k5ToneTxComSection,
};

// clang-format on

// The sections with parts no record can state; each codec is in its section's map file.
extern const CSectionCodec kMchCodec, kChannelCodec, kAutodialCodec;
extern const CSectionCodec k2ToneRxCodec, k5ToneRxCodec, k5ToneTxCodec, k5ToneFormatCodec,
    k5ToneUsrTonCodec;

inline std::uint32_t RxRecordOf(int index) {
    const int b = index < kCodedChannelCount ? index + 1 : 0;
    return kRxRecord + kRxRecordSize * static_cast<std::uint32_t>(b);
}
inline std::string RxChannelName(int index) {
    return index < kCodedChannelCount ? "CH" + std::to_string(index + 1) : std::string("CHG");
}
// Receive code channel index of a signalling system: its coded section names CH1.
template <const CFieldSection& Coded, const CFieldSection& Group>
CItem RxItem(CNode* root, int index) {
    const std::string_view ch1 = Coded.node;
    return {GetNode(root, std::string(ch1.substr(0, ch1.size() - 3)) + RxChannelName(index)),
            {{{RxRecordOf(index), index < kCodedChannelCount ? &Coded : &Group}}}};
}

} // namespace radiomap
