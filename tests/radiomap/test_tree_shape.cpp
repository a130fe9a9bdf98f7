// The tree's names and their order: the views list children in construction order and find
// nodes by exact, case-sensitive name.
#include "hub_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testhub;

namespace {

std::vector<std::string> ChildNames(const CZ30CloneManager& hub, const std::string& path) {
    std::vector<std::string> names;
    CNode* node = path.empty() ? hub.GetRoot() : Node(hub, path);
    if (!node) return names;
    for (CNode* child : node->Children())
        names.push_back(child->GetName());
    return names;
}

TEST(TreeShape, BranchesListTheirChildrenInOrder) {
    using Names = std::vector<std::string>;
    const struct {
        const char* path;
        Names names;
    } branches[] = {
        {"", {"Mch", "ScanList", "CommonSet", "DTMFAutoD", "2ToneCodeCH", "5ToneCodeCH", "MakerR"}},
        {"Mch.CH17",
         {"ChOn",       "FreqRx",     "InhCh", "FreqTx",   "InhTx",    "CTonRx",   "CTonTx",
          "WidNar",     "PwrSave",    "TOT",   "RfPwr",    "LockoutL", "LockoutP", "ScnLst1",
          "AutoResetL", "AutoResetP", "2Ton",  "LogInOfL", "LogInOfP", "Moni",     "Sel",
          "Call",       "PTT",        "Mute",  "Form",     "RPT",      "RPTLng",   "STN",
          "STNLng",     "Id",         "IdLng", "IdPos",    "RxCNo1",   "RxCNo2",   "RxCNo3"}},
        {"ScanList.ScanCom", {"Mode", "PwrSave", "StopTim", "ResTim", "PwrOnScan", "AutChCal"}},
        {"CommonSet", {"Common1", "Common2", "Expert", "KeyDisp"}},
        {"CommonSet.Common1",
         {"AutoResTimA", "AutoResTimB", "InATim", "SqlLvl", "TotTim", "PenaltyTim", "IdOut",
          "BeepOn", "Comment1", "Comment2"}},
        {"CommonSet.Common2", {"LckOutPenTim", "TonBurst", "RevBurst", "TrDataOut"}},
        {"CommonSet.Expert",
         {"FastScnTim", "SlwScnTim", "EmrSwOnTim", "EmrSwOfTim", "EmrStrRepTim", "BeepFreqL",
          "BeepFreqH", "DTCSInvTx", "DTCSInvRx", "UsrCtcssFreq", "PwrSavTim1", "PwrSavTim2"}},
        {"CommonSet.KeyDisp",
         {"Key_Conv_LMR", "Key_Conv_PMR", "KeyF0Conv", "KeyF1Conv", "KeyF2Conv", "KeyMicUpConv",
          "KeyMicDnConv", "KeyMicAConv", "KeyMicBConv", "RFPwrSel", "BeepOn", "MicFunc",
          "OpeningBeep"}},
        {"DTMFAutoD", {"DTMFDial", "DTMFCom"}},
        {"DTMFAutoD.DTMFDial", {"AD1", "AD2", "AD3"}},
        {"DTMFAutoD.DTMFCom", {"DTMFTim", "1stTim", "MarkTim"}},
        {"2ToneCodeCH", {"RXCodeCH", "TXCode", "RXCodeCom"}},
        {"2ToneCodeCH.RXCodeCH", {"CH1", "CH2", "CH3", "CHG"}},
        {"2ToneCodeCH.RXCodeCH.CHG",
         {"1stFreq", "2ndFreq", "Group", "Bell", "ANS", "Beep", "Stun", "Scan"}},
        {"2ToneCodeCH.TXCode",
         {"1stTonFreq", "1stTonPeriod", "2ndTonFreq", "2ndTonPeriod", "CodeType"}},
        {"2ToneCodeCH.RXCodeCom", {"NoTonTim", "GroupTim", "BeepRepTim"}},
        {"5ToneCodeCH", {"RXCodeCH", "TXCodeCH", "RxCodeCom", "TxCodeCom", "Format", "UsrTon"}},
        {"5ToneCodeCH.RXCodeCH", {"CH1", "CH2", "CH3", "CHG"}},
        {"5ToneCodeCH.RXCodeCH.CH3",
         {"RxCode", "IdDec", "Bell", "EmrCanc", "ABC", "Beep", "AudMode", "Stun", "Scan"}},
        {"5ToneCodeCH.TXCodeCH.CH32", {"TxCode", "UpDate", "ABCDec", "ABCAud", "Sel"}},
        {"5ToneCodeCH.RxCodeCom",
         {"LnkATim", "CompDigit1", "CompDigit2", "CompDigit3", "CompDigit4", "CompDigit5",
          "CompDigit6", "CompDigit7", "IdDecTim", "BeepRepTim"}},
        {"5ToneCodeCH.TxCodeCom",
         {"LngTonTim", "LnkRTim", "Lnk1Tim", "Lnk2Tim", "LeadOutDlyTim", "ABCDecTim", "SpcTonGrp",
          "SpcTonRep", "SpcTonLnk2", "SpcTonStr", "PTTCallInA"}},
        {"5ToneCodeCH.Format",
         {"USER", "CCIR", "ZVEI1", "ZVEI2", "DZVEI", "EEA", "EEA2", "DAPL", "EIA", "DTMF"}},
        {"5ToneCodeCH.Format.DTMF", {"TonPeriod", "NoTonTim", "TonLen"}},
        {"5ToneCodeCH.UsrTon.14", {"Enc", "DecL", "DecH"}},
        {"MakerR",
         {"SqlDelayOn", "SqlDelayTim", "SigDetTim", "NoisDetTim", "CTonAtack", "CTonRel", "CTonPs",
          "DtcsPolTx", "DtcsPolRx", "DtcsDec", "PwrSavOfTim", "PwrSavOnTim1", "PwrSavOnTim2",
          "IfFreq", "PllRef", "FreqPitch", "MutTimTx", "MutTimRx"}},
    };
    auto hub = MakeHub(0);
    for (const auto& b : branches)
        EXPECT_EQ(ChildNames(*hub, b.path), b.names) << '"' << b.path << '"';
    EXPECT_EQ(ChildNames(*hub, "5ToneCodeCH.TXCodeCH").size(), 32u);
    EXPECT_EQ(ChildNames(*hub, "5ToneCodeCH.UsrTon").size(), 15u);
}

// Choice texts with spaces and punctuation, exactly as the views show them.
TEST(TreeShape, ChoiceTextsKeepTheirPunctuation) {
    const struct {
        const char* path;
        int code;
        const char* text;
    } cases[] = {
        {"Mch.BnkSet", 1, "Bank(8CH*5Bank)"},
        {"Mch.BnkSet", 2, "Bank(16CH*2Bank+8CH"},
        {"Mch.BnkSet", 3, "Bank(20CH*2"},
        {"Mch.CH1.AutoResetP", 3, "Timer B Inact"},
        {"Mch.CH1.Moni", 4, "In A+R2"},
        {"Mch.CH1.RxCNo2", 0, "_"},
        {"Mch.CH1.LogInOfP", 5, "L-OFFA"},
        {"CommonSet.KeyDisp.RFPwrSel", 0, "MR CH individual"},
        {"CommonSet.KeyDisp.KeyMicAConv", 8, "Prio A (Rewrite)"},
        {"CommonSet.KeyDisp.KeyMicAConv", 14, "Moni(Audi)"},
        {"CommonSet.KeyDisp.KeyMicAConv", 26, "Call B (Code 29)"},
        {"CommonSet.KeyDisp.Key_Conv_LMR", 10, "Moni"},
        {"CommonSet.KeyDisp.Key_Conv_PMR", 21, "Emergency Repeat"},
        {"2ToneCodeCH.RXCodeCH.CH1.Beep", 3, "PiPi(single)"},
        {"5ToneCodeCH.RXCodeCH.CH1.AudMode", 1, "IN_A"},
        {"5ToneCodeCH.RXCodeCH.CH1.ABC", 128, "STN"},
        {"MakerR.DtcsPolTx", 0, "+ (Plus)"},
        {"MakerR.DtcsPolRx", 1, "- (Minus)"},
        {"MakerR.FreqPitch", 1, "2.5/3.125"},
    };
    auto hub = MakeHub(1);
    for (const auto& c : cases) {
        CNode* node = Node(*hub, c.path);
        ASSERT_NE(node, nullptr) << c.path;
        node->SetValue(c.code);
        EXPECT_EQ(node->GetText(), c.text) << c.path << " " << c.code;
    }
}

} // namespace
