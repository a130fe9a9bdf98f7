#include "sheets/signal_sheets.h"

#include "core/ctext.h"
#include "params/node.h"
#include "params/node_access.h"

namespace {

using K = CFieldKind;

constexpr int kCodeChannels = 3; // rows 0 to 2; row 3 is the group code "CHG"
constexpr const char* kFormatNames[] = {"USER", "CCIR", "ZVEI1", "ZVEI2", "DZVEI",
                                        "EEA",  "EEA2", "DAPL",  "EIA",   "DTMF"};
constexpr int kFormatCount = static_cast<int>(std::size(kFormatNames));
constexpr int kDtmfFormat = 9;
constexpr int kUserTones = 15;
constexpr const char* kNoValue = "-----";
constexpr const char* kNoChoice = "---";
constexpr const char* kNoSelection = "     ";

constexpr const char* kRxCodeChars = "ABCDEG0123456789*+";
constexpr const char* kTxCodeChars = "ABCDEG0123456789*";
constexpr int kCodeLength = 7;

// The fields of the forms, built like a table. Tones are in Hz, timers in seconds.
constexpr CFieldDesc ToneField(const char* label, const char* path) {
    return {"", label, path, K::Tone, 1, "Hz"};
}
constexpr CFieldDesc CodeField(const char* label, const char* path, const char* allowed,
                               int maxLength) {
    CFieldDesc f{"", label, path, K::Code};
    f.allowed = allowed;
    f.maxLength = maxLength;
    return f;
}
constexpr CFieldDesc TimerField(const char* label, const char* path, int scale,
                                CFieldKind kind = K::Seconds) {
    return {"", label, path, kind, scale, "s"};
}
constexpr CFieldDesc ListField(const char* label, const char* path, int first = 1, int last = 0,
                               const char* source = "") {
    CFieldDesc f{"", label, path, K::List};
    f.first = first;
    f.last = last;
    f.source = source;
    return f;
}
constexpr CFieldDesc CheckField(const char* label, const char* path) {
    return {"", label, path, K::Check};
}
constexpr CFieldDesc RadioField(const char* label, const char* path) {
    return {"", label, path, K::Radio};
}
constexpr CFieldDesc LockField(const char* label) { return {"", label, "", K::Lock}; }

// --- Row editors.
constexpr CFieldDesc kTwoToneRxFields[] = {
    ToneField("1st", "1stFreq").In("Rx Freq").NotOnSpecialRow().Named("1st Frequency"),
    ToneField("2nd", "2ndFreq").In("Rx Freq").NotOnSpecialRow().Named("2nd Frequency"),
    ListField("Group Call", "Group").NotOnSpecialRow(),
    ListField("LED", "Bell"),
    ListField("ANS", "ANS"),
    ListField("Beep", "Beep"),
    ListField("Stun", "Stun"),
    ListField("Scan", "Scan"),
};
constexpr CFieldDesc kFiveToneRxFields[] = {
    CodeField("RX Code", "RxCode", kRxCodeChars, kCodeLength).NotOnSpecialRow().KeptWhenEmpty(),
    CheckField("ID-Dec", "IdDec").Beside(),
    ListField("LED", "Bell"),
    ListField("ABC", "ABC").NotOnSpecialRow(),
    ListField("Aud Mode", "AudMode"),
    ListField("Scan", "Scan"),
    ListField("Emer Cancel", "EmrCanc"),
    ListField("Beep", "Beep"),
    ListField("Stun", "Stun"),
};
constexpr CFieldDesc kFiveToneTxFields[] = {
    CodeField("TX Code", "TxCode", kTxCodeChars, kCodeLength),
    CheckField("Dec", "ABCDec").In("", "ABC"),
    CheckField("Aud", "ABCAud").In("", "ABC"),
};
constexpr CFieldDesc kFormatFields[] = {
    TimerField("Tone Period", "TonPeriod", 1000),
    TimerField("Notone Timer", "NoTonTim", 100),
    TimerField("Tone Length", "TonLen", 1000).NotOnSpecialRow(),
};
constexpr CFieldDesc kUserToneFields[] = {
    ToneField("Encode", "Enc"),
    LockField("Auto").Beside().Controls("Decode"),
    ToneField("Low", "DecL").In("Decode").Named("Decode Low"),
    ToneField("High", "DecH").In("Decode").Named("Decode High"),
};

constexpr CFormStyle kEditor = CFormStyle::Editor;
// A row editor's fields start at the row's node.
constexpr CFormDesc kTwoToneRxEditor{"Edit RX Code", "", kTwoToneRxFields, -1, kEditor};
constexpr CFormDesc kFiveToneRxEditor{"Edit RX Code", "", kFiveToneRxFields, -1, kEditor};
constexpr CFormDesc kFiveToneTxEditor{"Edit TX Code", "", kFiveToneTxFields, -1, kEditor};
constexpr CFormDesc kFormatEditor{"Edit Format", "", kFormatFields, -1, kEditor};
constexpr CFormDesc kUserToneEditor{"Edit User Tone", "", kUserToneFields, -1, kEditor};

const CSignalSheetDef kSheets[] = {
    {3, k2ToneRxSheet, kTwoToneRxEditor},      {4, k5ToneRxSheet, kFiveToneRxEditor},
    {5, k5ToneTxSheet, kFiveToneTxEditor},     {6, k5ToneFormatSheet, kFormatEditor},
    {7, k5ToneUserToneSheet, kUserToneEditor},
};

// --- Dialogs.
constexpr CFieldDesc kTwoToneSettingFields[] = {
    TimerField("Notone Timer", "NoTonTim", 100, K::EvenSeconds),
    TimerField("Group Timer", "GroupTim", 10),
    TimerField("Beep Repeat Timer", "BeepRepTim", 1),
};
constexpr CFieldDesc kTwoToneTxCodeFields[] = {
    RadioField("Code Type", "CodeType").Controls("2nd Tone"),
    ToneField("Frequency", "1stTonFreq").In("1st Tone").Named("1st Tone Frequency"),
    TimerField("Period", "1stTonPeriod", 10).In("1st Tone").Named("1st Tone Period"),
    ToneField("Frequency", "2ndTonFreq").In("2nd Tone").Named("2nd Tone Frequency"),
    TimerField("Period", "2ndTonPeriod", 10).In("2nd Tone").Named("2nd Tone Period"),
};
constexpr const char* kTxCodeCh = "TX Code CH";
constexpr const char* kSpecialTone = "Special Tone";
constexpr const char* kRxCodeCh = "RX Code CH";
constexpr const char* kSpcTonStr = "TxCodeCom.SpcTonStr";
constexpr CFieldDesc kFiveToneSettingFields[] = {
    TimerField("Long Tone Timer", "TxCodeCom.LngTonTim", 100).In(kTxCodeCh),
    TimerField("Link R Timer", "TxCodeCom.LnkRTim", 100).In(kTxCodeCh),
    TimerField("Link 1 Timer", "TxCodeCom.Lnk1Tim", 100).In(kTxCodeCh),
    TimerField("Link 2 Timer", "TxCodeCom.Lnk2Tim", 100).In(kTxCodeCh),
    TimerField("Lead Out Delay Timer", "TxCodeCom.LeadOutDlyTim", 100).In(kTxCodeCh),
    TimerField("ABC Decode Timer", "TxCodeCom.ABCDecTim", 10).In(kTxCodeCh),
    ListField("Group", "TxCodeCom.SpcTonGrp", 0, 14, kSpcTonStr).In(kSpecialTone),
    ListField("Repeat", "TxCodeCom.SpcTonRep", 0, 14, kSpcTonStr).In(kSpecialTone),
    ListField("Link 2", "TxCodeCom.SpcTonLnk2", 0, 15, kSpcTonStr).In(kSpecialTone),
    CheckField("PTT Call at Inaudible", "TxCodeCom.PTTCallInA").In(kSpecialTone),
    TimerField("Link A Timer", "RxCodeCom.LnkATim", 100).In(kRxCodeCh),
    TimerField("ID Decode Timer", "RxCodeCom.IdDecTim", 10).In(kRxCodeCh),
    TimerField("Beep Repeat Timer", "RxCodeCom.BeepRepTim", 1).In(kRxCodeCh),
    CheckField("1", "RxCodeCom.CompDigit1").In(kRxCodeCh, "Compare Digit"),
    CheckField("2", "RxCodeCom.CompDigit2").In(kRxCodeCh, "Compare Digit"),
    CheckField("3", "RxCodeCom.CompDigit3").In(kRxCodeCh, "Compare Digit"),
    CheckField("4", "RxCodeCom.CompDigit4").In(kRxCodeCh, "Compare Digit"),
    CheckField("5", "RxCodeCom.CompDigit5").In(kRxCodeCh, "Compare Digit"),
    CheckField("6", "RxCodeCom.CompDigit6").In(kRxCodeCh, "Compare Digit"),
    CheckField("7", "RxCodeCom.CompDigit7").In(kRxCodeCh, "Compare Digit"),
};

// In the order of CSignalDialog; "Special Tone" begins the right-hand column of "5Tone Setting".
constexpr CFormDesc kDialogs[] = {
    {"2Tone Setting", "2ToneCodeCH.RXCodeCom", kTwoToneSettingFields, -1, kEditor},
    {"TX Code", "2ToneCodeCH.TXCode", kTwoToneTxCodeFields, -1, kEditor},
    {"5Tone Setting", "5ToneCodeCH", kFiveToneSettingFields, 6, kEditor},
};

bool IsReceiveSheet(CSignalSheet sheet) {
    return sheet == CSignalSheet::TwoToneRx || sheet == CSignalSheet::FiveToneRx;
}

std::string Text(CNode* parent, const char* name) { return GetTextByName(parent, name); }

std::vector<std::string> TwoToneRxRow(CNode* ch, bool group) {
    return {group ? kNoValue : Text(ch, "1stFreq"),
            group ? kNoValue : Text(ch, "2ndFreq"),
            group ? kNoChoice : Text(ch, "Group"),
            Text(ch, "Bell"),
            Text(ch, "ANS"),
            Text(ch, "Beep"),
            Text(ch, "Stun"),
            Text(ch, "Scan")};
}

std::vector<std::string> FiveToneRxRow(CNode* ch, bool group, const std::string& groupTone) {
    return {group ? kNoValue : ShowGroupTone(GetStringByName(ch, "RxCode"), groupTone),
            Text(ch, "IdDec"),
            Text(ch, "Bell"),
            Text(ch, "EmrCanc"),
            group ? kNoChoice : Text(ch, "ABC"),
            Text(ch, "Beep"),
            Text(ch, "AudMode"),
            Text(ch, "Stun"),
            Text(ch, "Scan")};
}

std::vector<std::string> FormatRow(CNode* format, bool dtmf) {
    return {TimerText(GetValueByName(format, "TonPeriod"), 1000),
            TimerText(GetValueByName(format, "NoTonTim"), 100),
            dtmf ? kNoValue : TimerText(GetValueByName(format, "TonLen"), 1000)};
}

} // namespace

const CSignalSheetDef& SignalSheetDef(CSignalSheet sheet) {
    return kSheets[static_cast<int>(sheet)];
}

std::string SignalRowPath(CSignalSheet sheet, int row) {
    switch (sheet) {
    case CSignalSheet::TwoToneRx:
    case CSignalSheet::FiveToneRx:
        return std::string(sheet == CSignalSheet::TwoToneRx ? "2ToneCodeCH" : "5ToneCodeCH") +
               ".RXCodeCH." + (row < kCodeChannels ? "CH" + std::to_string(row + 1) : "CHG");
    case CSignalSheet::FiveToneTx:
        return "5ToneCodeCH.TXCodeCH.CH" + std::to_string(row + 1);
    case CSignalSheet::FiveToneFormat:
        return row >= 0 && row < kFormatCount
                   ? std::string("5ToneCodeCH.Format.") + kFormatNames[row]
                   : std::string();
    case CSignalSheet::FiveToneUserTone:
        return "5ToneCodeCH.UsrTon." + std::to_string(row);
    }
    return {};
}

std::string SignalRowName(CSignalSheet sheet, int row) {
    switch (sheet) {
    case CSignalSheet::TwoToneRx:
    case CSignalSheet::FiveToneRx:
        return row < kCodeChannels ? std::to_string(row + 1) : "G";
    case CSignalSheet::FiveToneTx:
        return std::to_string(row + 1);
    case CSignalSheet::FiveToneFormat:
        return row >= 0 && row < kFormatCount ? kFormatNames[row] : "";
    case CSignalSheet::FiveToneUserTone:
        return row >= 0 && row < kUserTones ? std::string(1, kUpperHexDigits[row]) : "";
    }
    return {};
}

bool IsSpecialRow(CSignalSheet sheet, int row) {
    if (IsReceiveSheet(sheet)) return row == kCodeChannels;
    return sheet == CSignalSheet::FiveToneFormat && row == kDtmfFormat;
}

std::vector<std::string> SignalRowTexts(CNode* root, CSignalSheet sheet, int row) {
    std::vector<std::string> cells{SignalRowName(sheet, row)};
    const std::string path = SignalRowPath(sheet, row);
    CNode* node = path.empty() ? nullptr : GetNode(root, path);
    if (!node) return cells;
    const bool special = IsSpecialRow(sheet, row);
    std::vector<std::string> rest;
    switch (sheet) {
    case CSignalSheet::TwoToneRx:
        rest = TwoToneRxRow(node, special);
        break;
    case CSignalSheet::FiveToneRx:
        rest = FiveToneRxRow(node, special, GroupToneText(root));
        break;
    case CSignalSheet::FiveToneTx:
        rest = {ShowGroupTone(GetStringByName(node, "TxCode"), GroupToneText(root)),
                Text(node, "ABCDec"), Text(node, "ABCAud")};
        break;
    case CSignalSheet::FiveToneFormat:
        rest = FormatRow(node, special);
        break;
    case CSignalSheet::FiveToneUserTone:
        rest = {Text(node, "Enc"), Text(node, "DecL"), Text(node, "DecH")};
        break;
    }
    cells.insert(cells.end(), rest.begin(), rest.end());
    return cells;
}

std::string SignalRowLabel(CSignalSheet sheet, int row) {
    if (sheet == CSignalSheet::FiveToneUserTone) return "User Tone " + SignalRowName(sheet, row);
    return SignalCaption(sheet, row).substr(3); // " - "
}

std::string SignalCaption(CSignalSheet sheet, int row) {
    if (row < 0) return kNoSelection;
    switch (sheet) {
    case CSignalSheet::TwoToneRx:
    case CSignalSheet::FiveToneRx:
        return row < kCodeChannels ? " - CH " + std::to_string(row + 1) : " - Group";
    case CSignalSheet::FiveToneTx:
        return " - CH " + std::to_string(row + 1);
    case CSignalSheet::FiveToneFormat:
    case CSignalSheet::FiveToneUserTone:
        return " - " + SignalRowName(sheet, row);
    }
    return kNoSelection;
}

CBoundForm RowEditor(CSignalSheet sheet, int row, int variant) {
    return {&SignalSheetDef(sheet).editor, SignalRowPath(sheet, row), variant,
            IsSpecialRow(sheet, row)};
}

const CFormDesc& SignalDialogForm(CSignalDialog dialog) {
    return kDialogs[static_cast<int>(dialog)];
}
