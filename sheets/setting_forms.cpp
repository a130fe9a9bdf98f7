#include "sheets/setting_forms.h"

#include <iterator>

namespace {

using K = CFieldKind;
constexpr CFieldUse kBoth = CFieldUse::Both;
constexpr CFieldUse kPmrOnly = CFieldUse::PmrOnly;
constexpr CFieldUse kLmrOnly = CFieldUse::LmrOnly;

// clang-format off
constexpr CFieldDesc kKeyDisplayFields[] = {
    // group            label                 path            kind
    {"Key Assign",      "Red*",               "KeyF0Conv",    K::KeyList},
    {"Key Assign",      "Upper",              "KeyF1Conv",    K::KeyList},
    {"Key Assign",      "Lower",              "KeyF2Conv",    K::KeyList},
    {"Key Assign",      "Mic Up",             "KeyMicUpConv", K::KeyList},
    {"Key Assign",      "Mic Down",           "KeyMicDnConv", K::KeyList},
    {"Key Assign",      "Mic A",              "KeyMicAConv",  K::KeyList},
    {"Key Assign",      "Mic B",              "KeyMicBConv",  K::KeyList},
    {"Display Assign",  "RF Power Selection", "RFPwrSel",     K::List},
    {"",                "Opening Beep",       "OpeningBeep",  K::Check},
    {"",                "Beep",               "BeepOn",       K::Check},
    {"",                "Mic Function",       "MicFunc",      K::Check},
};

constexpr CFieldDesc kCommon1Fields[] = {
    // group          label                 path           kind        scale unit name
    {"",              "Auto Reset Timer A", "AutoResTimA", K::Timer,   1,    "s"},
    {"",              "Auto Reset Timer B", "AutoResTimB", K::Timer,   1,    "s"},
    {"",              "Inactive Timer",     "InATim",      K::Timer,   1,    "s", "", kPmrOnly},
    {"",              "SQL Level",          "SqlLvl",      K::Count},
    {"TOT",           "TOT Timer",          "TotTim",      K::Whole,   1,    "s"},
    {"",              "Penalty Timer",      "PenaltyTim",  K::Timer,   1,    "s"},
    {"",              "ID Out",             "IdOut",       K::Check,   1,    "",  "", kBoth, "ID Out (DTMF)"},
    {"",              "Beep",               "BeepOn",      K::Check},
    {"Clone Comment", "(1)",                "Comment1",    K::Comment, 1,    "",  "Clone Comment (1)"},
    {"Clone Comment", "(2)",                "Comment2",    K::Comment, 1,    "",  "Clone Comment (2)"},
};

constexpr CFieldDesc kCommon2Fields[] = {
    // group label                    path            kind       scale unit
    {"",     "Lockout Penalty Timer", "LckOutPenTim", K::Timer,  1,    "s"},
    {"",     "CTCSS Tone Burst",      "TonBurst",     K::List},
    {"",     "CTCSS Reverse Burst",   "RevBurst",     K::Factor, 100,  "s"},
    {"",     "Transceiver Data Out",  "TrDataOut",    K::Check},
};

constexpr CFieldDesc kExpertFields[] = {
    // group      label                  path            kind          scale unit  name
    {"",          "Fast Scan Timer",     "FastScnTim",   K::Factor,    1000, "s"},
    {"",          "Slow Scan Timer",     "SlwScnTim",    K::Factor,    100,  "s"},
    {"",          "User CTCSS Freq(Hz)", "UsrCtcssFreq", K::Frequency, 1,    "Hz", "User CTCSS Freq"},
    {"Emergency", "SW ON Timer",         "EmrSwOnTim",   K::Factor,    10,   "s",  "Emergency SW ON Timer"},
    {"Emergency", "SW OFF Timer",        "EmrSwOfTim",   K::Factor,    10,   "s",  "Emergency SW OFF Timer"},
    {"Emergency", "Start/Repeat Timer",  "EmrStrRepTim", K::Factor,    1,    "s",  "Emergency Start/Repeat Timer"},
    {"",          "Low Beep Frequency",  "BeepFreqL",    K::Frequency, 1,    "Hz"},
    {"",          "High Beep Frequency", "BeepFreqH",    K::Frequency, 1,    "Hz"},
    {"",          "TX DTCS Inverse",     "DTCSInvTx",    K::List},
    {"",          "RX DTCS Inverse",     "DTCSInvRx",    K::List},
    {"PWR Save",  "Start Timer (1st)",   "PwrSavTim1",   K::Factor,    10,   "s",  "PWR Save Start Timer (1st)"},
    {"PWR Save",  "Start Timer (2nd)",   "PwrSavTim2",   K::Factor,    1,    "s",  "PWR Save Start Timer (2nd)"},
};

constexpr CFieldDesc kScanFields[] = {
    // group label            path         kind       scale unit name
    {"",     "Mode",          "Mode",      K::List},
    {"",     "PWR Save",      "PwrSave",   K::Check},
    {"",     "Stop Timer",    "StopTim",   K::Factor, 10,   "s"},
    {"",     "Resume Timer",  "ResTim",    K::Factor, 10,   "s"},
    {"",     "Power ON Scan", "PwrOnScan", K::Check},
    {"",     "Auto CH Call",  "AutChCal",  K::Check,  1,    "",  "", kPmrOnly},
};

constexpr CFieldDesc kDtmfFields[] = {
    // group label           path                 kind         scale unit name
    {"",     "Autodial 1",   "DTMFDial.AD1.Code", K::DtmfCode},
    {"",     "Emergency",    "DTMFDial.AD2.Code", K::DtmfCode, 1,    "",  "", kLmrOnly},
    {"",     "Log / ID",     "DTMFDial.AD3.Code", K::DtmfCode, 1,    "",  "", kLmrOnly},
    {"",     "DTMF Timer",   "DTMFCom.DTMFTim",   K::Factor,   100,  "s"},
    {"",     "1st Timer",    "DTMFCom.1stTim",    K::Factor,   100,  "s"},
    {"",     "[*][#] Timer", "DTMFCom.MarkTim",   K::Factor,   100,  "s"},
};

constexpr CFieldDesc kMakerFields[] = {
    // group       label                  path            kind          scale unit   name
    {"SQL",        "Delay",               "SqlDelayOn",   K::Check,     1,    "",    "SQL Delay"},
    {"",           "Delay Reset Timer",   "SqlDelayTim",  K::Factor,    1000, "s"},
    {"",           "Signal Detect Timer", "SigDetTim",    K::Factor,    1000, "s"},
    {"",           "Noise Detect Timer",  "NoisDetTim",   K::Factor,    1000, "s"},
    {"CTCSS",      "Decode Attack",       "CTonAtack",    K::Count,     1,    "",    "CTCSS Decode Attack"},
    {"CTCSS",      "Decode Release",      "CTonRel",      K::Count,     1,    "",    "CTCSS Decode Release"},
    {"CTCSS",      "Decode PS",           "CTonPs",       K::Count,     1,    "",    "CTCSS Decode PS"},
    {"DTCS",       "TX Polarity",         "DtcsPolTx",    K::List,      1,    "",    "DTCS TX Polarity"},
    {"DTCS",       "RX Polarity",         "DtcsPolRx",    K::List,      1,    "",    "DTCS RX Polarity"},
    {"",           "Decode",              "DtcsDec",      K::Count,     1,    "",    "DTCS Decode"},
    {"Power Save", "OFF Timer",           "PwrSavOfTim",  K::Factor,    100,  "s",   "Power Save OFF Timer"},
    {"Power Save", "ON Timer1",           "PwrSavOnTim1", K::Factor,    100,  "s",   "Power Save ON Timer1"},
    {"Power Save", "ON Timer2",           "PwrSavOnTim2", K::Factor,    100,  "s",   "Power Save ON Timer2"},
    {"",           "IF Frequency (MHz)",  "IfFreq",       K::Frequency, 1,    "MHz", "IF Frequency"},
    {"",           "PLL Reference",       "PllRef",       K::List},
    {"",           "Frequency Pitch",     "FreqPitch",    K::List},
    {"Mute Timer", "TX",                  "MutTimTx",     K::Factor,    1000, "s",   "Mute Timer TX"},
    {"Mute Timer", "RX",                  "MutTimRx",     K::Factor,    1000, "s",   "Mute Timer RX"},
};

// In the order of CSettingForm.
constexpr CFormDesc kForms[] = {
    // title                    node                 fields             right column
    {"Key && Display Assign  ", "CommonSet.KeyDisp", kKeyDisplayFields, 7},
    {"Common 1",                "CommonSet.Common1", kCommon1Fields,    6},
    {"Common 2",                "CommonSet.Common2", kCommon2Fields},
    {"Expert",                  "CommonSet.Expert",  kExpertFields,     6},
    {"Scan Setting",            "ScanList.ScanCom",  kScanFields},
    {"DTMF Autodial",           "DTMFAutoD",         kDtmfFields},
    {"Maker Reserved",          "MakerR",            kMakerFields,      10},
};
// clang-format on

} // namespace

const CFormDesc& FormDescOf(CSettingForm form) {
    const auto index = static_cast<std::size_t>(form);
    return index < std::size(kForms) ? kForms[index] : kForms[0];
}
