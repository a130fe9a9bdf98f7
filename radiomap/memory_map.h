// The NQ-Z30's memory map as field tables: where each value of the tree lives in the 2 KiB image
// and by which rule. The section codecs walk these tables; what no record can state is coded by
// hand beside them (named in each table's comment).
#pragma once

#include "params/freq_nodes.h"
#include "radiomap/map_fields.h"

#include <cmath>
#include <string>

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
inline constexpr CRule kToneWord = Function(CZ30UsrTonEncNode::FromWord, CZ30UsrTonEncNode::Word);
inline constexpr CRule kNoTonTim = Function(NoTonTimFromByte, NoTonTimToByte);

// clang-format off

// ---- Memory channels ----

inline constexpr std::uint32_t kEmrChannel  = 0x0073; // emergency channel - 1
inline constexpr std::uint32_t kEmrFlag     = 0x007C; // bit 5: an emergency channel is set
inline constexpr unsigned      kEmrFlagBit  = 5;
inline constexpr std::uint32_t kScanList    = 0x01F0; // one bit a channel, channel 1 in bit 7
inline constexpr std::uint32_t kChannelBase = 0x0200;
inline constexpr std::uint32_t kRecordSize  = 20;
inline constexpr int           kChannelCount = 36;

// "Emr" is coded by hand (a channel number with its flag bit elsewhere).
inline constexpr CField kMchFields[] = {
    {"BnkSet", {},           Unstored(0)},
    {"PrioA",  Byte(0x0074), Range(1, 36, 1)},
    {"PrioB",  Byte(0x0075), Range(1, 36, 1)},
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

// A channel record from byte 9 on. Coded by hand: bytes 0 to 5, the frequencies with their
// inhibit flags in bit 7; bytes 6 to 8, the tone codes; the scan-list bit. LMR radios write the
// two-tone number's signalling bits and factory content into the five-tone fields.
inline constexpr CField kChannelFields[] = {
    {"PwrSave",    Bit(9, 7)},
    {"TOT",        Bit(9, 4)},
    {"LockoutL",   Bits(9, 2, 2),    Range(0, 2),                 kLmr},
    {"LockoutP",   Bits(9, 2, 2),    Range(0, 3),                 kPmr},
    {"RfPwr",      Bits(9, 0, 2),    Pattern(kRfPwrPattern)},
    {"Moni",       Apart(kMoniBits), Pattern(kMoniPattern),       kPmr},
    {nullptr,      Apart(kMoniBits), Factory(),                   kLmr},
    {"LogInOfL",   Bits(10, 4, 4),   Pattern(kLogInOfLPattern),   kLmr},
    {"LogInOfP",   Bits(10, 4, 4),   Pattern(kLogInOfPPattern),   kPmr},
    {"Mute",       Bit(10, 0),       Plain(),                     kPmr},
    {"2Ton",       Bit(10, 0),       Flag(),                      kLmr},
    {"Sel",        Bits(11, 6, 2),   Pattern(kSelPattern),        kPmr},
    {nullptr,      Bits(11, 6, 2),   Factory(),                   kLmr},
    {"Call",       Bit(11, 3),       Plain(),                     kPmr},
    {"2Ton",       Bit(11, 3),       Flag(),                      kLmr},
    {"PTT",        Bit(11, 2),       Plain(),                     kPmr},
    {"2Ton",       Bit(11, 2),       Flag(),                      kLmr},
    {"AutoResetL", Bits(11, 0, 2),   Pattern(kAutoResetLPattern), kLmr},
    {"AutoResetP", Bits(11, 0, 2),   Pattern(kAutoResetPPattern), kPmr},
    {"WidNar",     Bit(12, 7)},
    {"IdPos",      Bits(15, 6, 2),   Pattern(kIdPosPattern),      kPmr},
    {nullptr,      Bits(15, 6, 2),   Factory(),                   kLmr},
    {"Form",       Bits(15, 0, 4),   Pattern(kFormPattern),       kPmr},
    {nullptr,      Bits(15, 0, 4),   Fixed(0),                    kLmr},
    {"RPTLng",     Bit(16, 7),       Plain(),                     kPmr},
    {"RPT",        Bits(16, 0, 7),   Range(0, 32),                kPmr},
    {nullptr,      Byte(16),         Factory(),                   kLmr},
    {"STNLng",     Bit(17, 7),       Plain(),                     kPmr},
    {"STN",        Bits(17, 0, 7),   Range(0, 32),                kPmr},
    {nullptr,      Byte(17),         Fixed(0x81),                 kLmr},
    {"IdLng",      Bit(18, 7),       Plain(),                     kPmr},
    {"Id",         Bits(18, 0, 7),   Range(0, 32),                kPmr},
    {nullptr,      Byte(18),         Factory(),                   kLmr},
    {"RxCNo1",     Bit(19, 7),       Plain(),                     kPmr},
    {"RxCNo2",     Bit(19, 6),       Plain(),                     kPmr},
    {"RxCNo3",     Bit(19, 5),       Plain(),                     kPmr},
    {nullptr,      Bits(19, 0, 5),   Fixed(0),                    kPmr},
    {"2Ton",       Byte(19),         Range(0, 3),                 kLmr},
};
inline constexpr CFieldSection kChannelSection = {"Mch.CH1", kChannelBase, {kChannelFields}};

// ---- Scan and DTMF (the autodial memories are texts, coded by hand) ----

inline constexpr CField kScanFields[] = {
    {"AutChCal",  Bit(0x007C, 1)},
    {"PwrOnScan", Bit(0x007D, 7)},
    {"StopTim",   Byte(0x008D)},
    {"ResTim",    Byte(0x008E)},
    {"PwrSave",   Bit(0x01F5, 4)},
    {"Mode",      Bits(0x01F5, 0, 2), Range(0, 3)},
};
inline constexpr CFieldSection kScanSection = {"ScanList.ScanCom", 0, {kScanFields}};

inline constexpr CField kDtmfFields[] = {
    {"DTMFTim", Byte(0x0089)},
    {"1stTim",  Byte(0x008A)},
    {"MarkTim", Byte(0x008B)},
};
inline constexpr CFieldSection kDtmfSection = {"DTMFAutoD.DTMFCom", 0, {kDtmfFields}};

// ---- Common settings and the maker area ----

// The comments (0x0100 and 0x0110, 16 characters each) are texts, coded by hand.
inline constexpr CField kCommon1Fields[] = {
    {"IdOut",       Bit(0x007D, 5)},
    {"BeepOn",      Bit(0x007D, 4)},
    {"TotTim",      Byte(0x0094)},
    {"PenaltyTim",  Byte(0x0095)},
    {"AutoResTimA", Byte(0x0098)},
    {"AutoResTimB", Byte(0x0099)},
    {"InATim",      Byte(0x009A)},
    {"SqlLvl",      Byte(0x00A7)},
};
inline constexpr CFieldSection kCommon1Section = {"CommonSet.Common1", 0, {kCommon1Fields}};

inline constexpr CField kCommon2Fields[] = {
    {"TonBurst",     Bit(0x007C, 3)},
    {"TrDataOut",    Bit(0x007D, 2)},
    {"RevBurst",     Byte(0x0082)},
    {"LckOutPenTim", Byte(0x0096)},
};
inline constexpr CFieldSection kCommon2Section = {"CommonSet.Common2", 0, {kCommon2Fields}};

inline constexpr CField kExpertFields[] = {
    {"BeepFreqL",    Byte(0x0070), Divider(CZ30BeepFreqNode::Tone, BeepDivider)},
    {"BeepFreqH",    Byte(0x0071), Divider(CZ30BeepFreqNode::Tone, BeepDivider)},
    {"DTCSInvTx",    Bit(0x007B, 7)},
    {"DTCSInvRx",    Bit(0x007B, 6)},
    {"FastScnTim",   Byte(0x0080)},
    {"SlwScnTim",    Byte(0x0081)},
    {"EmrSwOnTim",   Byte(0x0091)},
    {"EmrSwOfTim",   Byte(0x0092)},
    {"EmrStrRepTim", Byte(0x0093)},
    {"PwrSavTim1",   Byte(0x009C)},
    {"PwrSavTim2",   Byte(0x009D)},
    {"UsrCtcssFreq", Word(0x019A), Divider(UsrCtcssTone, UsrCtcssDivider)},
};
inline constexpr CFieldSection kExpertSection = {"CommonSet.Expert", 0, {kExpertFields}};

inline constexpr CField kKeyDispFields[] = {
    {"MicFunc",      Bit(0x007C, 2)},
    {"BeepOn",       Bit(0x007E, 7)},
    {"OpeningBeep",  Bit(0x007E, 5)},
    {"RFPwrSel",     Bit(0x007F, 2)},
    {"KeyF0Conv",    Byte(0x009E), KeyCode()},
    {"KeyF1Conv",    Byte(0x009F), KeyCode()},
    {"KeyF2Conv",    Byte(0x00A0), KeyCode()},
    {"KeyMicAConv",  Byte(0x00A1), KeyCode()},
    {"KeyMicBConv",  Byte(0x00A2), KeyCode()},
    {"KeyMicUpConv", Byte(0x00A3), KeyCode()},
    {"KeyMicDnConv", Byte(0x00A4), KeyCode()},
};
inline constexpr CFieldSection kKeyDispSection = {"CommonSet.KeyDisp", 0, {kKeyDispFields}};

// "IfFreq" (0x0008 to 0x000A) is coded by hand: BCD with its sign in a digit.
inline constexpr CField kMakerFields[] = {
    {"SqlDelayOn",   Bit(0x0007, 7), Inverted()},
    {"DtcsPolTx",    Bit(0x0007, 6)},
    {"DtcsPolRx",    Bit(0x0007, 5)},
    {"FreqPitch",    Bit(0x0007, 4)},
    {"PllRef",       Bit(0x0007, 2)},
    {"PwrSavOfTim",  Byte(0x000B)},
    {"PwrSavOnTim1", Byte(0x000C)},
    {"PwrSavOnTim2", Byte(0x000D)},
    {"SigDetTim",    Byte(0x000E)},
    {"NoisDetTim",   Byte(0x000F)},
    {"SqlDelayTim",  Byte(0x0010)},
    {"MutTimTx",     Byte(0x0011)},
    {"MutTimRx",     Byte(0x0012)},
    {"CTonAtack",    Byte(0x0013)},
    {"CTonRel",      Byte(0x0014)},
    {"CTonPs",       Byte(0x0015)},
    {"DtcsDec",      Byte(0x0016), Range(12, 23, 11)},
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

inline constexpr CField kRxCommonFields[] = {
    {"Scan", Bits(6, 4, 2), Pattern(kTwoBitPattern)},
    {"Beep", Bits(6, 0, 3), Pattern(kBeepPattern)},
    {"Stun", Bits(7, 3, 2), Pattern(kTwoBitPattern)},
    {"Bell", Bits(7, 0, 2), Range(0, 3)},
};
// Their choices.
inline constexpr CChoiceText kScanChoices[] = {{0, "Null"}, {1, "Cancel"}, {2, "Start"}};
inline constexpr CChoiceText kBeepChoices[] = {{0, "Null"}, {1, "OFF"}, {2, "Pi(single)"},
    {3, "PiPi(single)"}, {4, "PiRo(single)"}, {5, "Pi(repeat)"}, {6, "PiPi(repeat)"},
    {7, "PiRo(repeat)"}};
inline constexpr CChoiceText kStunChoices[] = {{0, "OFF"}, {1, "Kill"}};
inline constexpr CChoiceText kBellChoices[] = {{0, "Null"}, {1, "OFF"}, {2, "ON"}, {3, "Blink"}};

// ---- Two-tone signalling (LMR) ----

// The decoder windows of CH1 to CH3 (four words at 0x013E + 8 * k) are coded by hand: the tone
// centres are derived from them.
inline constexpr CField k2ToneCodedFields[] = {
    {"Group", Byte(0), Function(GroupFromByte, GroupToByte)},
    {"ANS",   Byte(5), Function(AnsFromByte, AnsToByte)},
};
inline constexpr CField k2ToneGroupFields[] = {
    {"Group", {},      Unstored(0)},
    {"ANS",   Byte(5), Function(AnsFromByte, AnsToByte)},
};
inline constexpr CFieldSection k2ToneCodedSection = {
    "2ToneCodeCH.RXCodeCH.CH1", kRxRecord + kRxRecordSize, {kRxCommonFields, k2ToneCodedFields}};
inline constexpr CFieldSection k2ToneGroupSection = {
    "2ToneCodeCH.RXCodeCH.CHG", kRxRecord, {kRxCommonFields, k2ToneGroupFields}};

inline constexpr CField k2ToneTxFields[] = {
    {"1stTonPeriod", Byte(0x0087)},
    {"1stTonFreq",   Word(0x0120), kToneWord},
    {"2ndTonFreq",   Word(0x0122), kToneWord},
    {"2ndTonPeriod", Byte(0x017A)},
    {"CodeType",     Byte(0x0520), Function(CodeTypeFromByte, CodeTypeToByte)},
    {nullptr,        Byte(0x0521), Fixed(0xFF)},
    {nullptr,        Byte(0x0522), Fixed(0xFF)},
    {nullptr,        Byte(0x0523), Fixed(0xFF)},
};
inline constexpr CFieldSection k2ToneTxSection = {"2ToneCodeCH.TXCode", 0, {k2ToneTxFields}};

inline constexpr CField k2ToneRxComFields[] = {
    {"GroupTim",   Byte(0x008C)},
    {"BeepRepTim", Byte(0x0097), Range(0, 60)},
    {"NoTonTim",   Byte(0x0183), kNoTonTim},
};
inline constexpr CFieldSection k2ToneRxComSection =
    {"2ToneCodeCH.RXCodeCom", 0, {k2ToneRxComFields}};

// ---- Five-tone signalling (PMR) ----

// The codes (bytes 0 to 3 of a record, and the "+" flags in byte 4 of a receive record) are
// texts, coded by hand.
inline constexpr std::uint32_t kTxRecord     = 0x0520; // 6 bytes a transmit code channel
inline constexpr std::uint32_t kTxRecordSize = 6;

inline constexpr CField k5ToneRxFields[] = {
    {"AudMode", Bits(6, 6, 2), Pattern(kTwoBitPattern)},
    {"IdDec",   Bit(7, 6)},
    {"EmrCanc", Bit(8, 7)},
};
inline constexpr CField k5ToneAbcField[]   = {{"ABC", Byte(5), Function(AbcCode, AbcCode)}};
inline constexpr CField k5ToneNoAbcField[] = {{"ABC", Byte(5), Range(0, 0)}}; // always 0
inline constexpr CFieldSection k5ToneCodedSection = {
    "5ToneCodeCH.RXCodeCH.CH1", kRxRecord + kRxRecordSize,
    {kRxCommonFields, k5ToneRxFields, k5ToneAbcField}};
inline constexpr CFieldSection k5ToneGroupSection = {
    "5ToneCodeCH.RXCodeCH.CHG", kRxRecord, {kRxCommonFields, k5ToneRxFields, k5ToneNoAbcField}};

inline constexpr CField k5ToneTxFields[] = {
    {"UpDate", Bit(4, 0)},
    {"ABCDec", Bit(5, 7)},
    {"ABCAud", Bit(5, 6)},
    {"Sel",    Bit(5, 4), Inverted()},
};
inline constexpr CFieldSection k5ToneTxSection =
    {"5ToneCodeCH.TXCodeCH.CH1", kTxRecord, {k5ToneTxFields}};

// Formats USER to EIA: a byte each in three rows, the base is the format's index.
inline constexpr CField k5ToneFormatFields[] = {
    {"TonPeriod", Byte(0x017A)},
    {"NoTonTim",  Byte(0x0183), kNoTonTim},
    {"TonLen",    Byte(0x018C), Function(TonLenFromByte, TonLenToByte)},
};
inline constexpr CField k5ToneDtmfFormatFields[] = {
    {"TonPeriod", Byte(0x0195)},
    {"NoTonTim",  Byte(0x0196), kNoTonTim},
    {"TonLen",    {},           Unstored(kTonLenMin)},
};
inline constexpr CFieldSection k5ToneFormatSection =
    {"5ToneCodeCH.Format.USER", 0, {k5ToneFormatFields}};
inline constexpr CFieldSection k5ToneDtmfFormatSection =
    {"5ToneCodeCH.Format.DTMF", 0, {k5ToneDtmfFormatFields}};

// User tones 0 to 14: the generated tone at base 2 * n, the decoder window at base 4 * n.
inline constexpr CField k5ToneUsrTonEncField[]  = {{"Enc", Word(0x0120), kToneWord}};
inline constexpr CField k5ToneUsrTonDecFields[] = {{"DecL", Word(0x013E)}, {"DecH", Word(0x0140)}};
inline constexpr CFieldSection k5ToneUsrTonEncSection =
    {"5ToneCodeCH.UsrTon.0", 0, {k5ToneUsrTonEncField}};
inline constexpr CFieldSection k5ToneUsrTonDecSection =
    {"5ToneCodeCH.UsrTon.0", 0, {k5ToneUsrTonDecFields}};

inline constexpr CField k5ToneRxComFields[] = {
    {"CompDigit1", Bit(0x0077, 7)},
    {"CompDigit2", Bit(0x0077, 6)},
    {"CompDigit3", Bit(0x0077, 5)},
    {"CompDigit4", Bit(0x0077, 4)},
    {"CompDigit5", Bit(0x0077, 3)},
    {"CompDigit6", Bit(0x0077, 2)},
    {"CompDigit7", Bit(0x0077, 1)},
    {"LnkATim",    Byte(0x0086)},
    {"IdDecTim",   Byte(0x008F)},
    {"BeepRepTim", Byte(0x0097), Range(0, 60)},
};
inline constexpr CFieldSection k5ToneRxComSection =
    {"5ToneCodeCH.RxCodeCom", 0, {k5ToneRxComFields}};

inline constexpr CField k5ToneTxComFields[] = {
    {"SpcTonGrp",     Byte(0x0078), HexDigit(14)},
    {"SpcTonRep",     Byte(0x0079), HexDigit(14)},
    {"SpcTonLnk2",    Byte(0x007A), HexDigit(15)},
    {"PTTCallInA",    Bit(0x007D, 6)},
    {"LnkRTim",       Byte(0x0083)},
    {"Lnk1Tim",       Byte(0x0084)},
    {"Lnk2Tim",       Byte(0x0085)},
    {"LngTonTim",     Byte(0x0087)},
    {"LeadOutDlyTim", Byte(0x0088)},
    {"ABCDecTim",     Byte(0x0090)},
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
extern const CSectionCodec kMchCodec, kChannelCodec, kAutodialCodec, kCommon1Codec, kMakerCodec;
extern const CSectionCodec k2ToneRxCodec, k5ToneRxCodec, k5ToneTxCodec, k5ToneFormatCodec,
    k5ToneUsrTonCodec;

inline std::uint32_t RxRecordOf(int index) {
    const int b = index < kCodedChannelCount ? index + 1 : 0;
    return kRxRecord + kRxRecordSize * static_cast<std::uint32_t>(b);
}
inline std::string RxChannelName(int index) {
    return index < kCodedChannelCount ? "CH" + std::to_string(index + 1) : std::string("CHG");
}

} // namespace radiomap
