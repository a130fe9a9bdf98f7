#include "adjust/op_rigz30.h"

#include <algorithm>
#include <cmath>

#include "adjust/hxq3_drv.h"
#include "adjust/hxq3_sequence.h"
#include "core/platform.h"

namespace {

struct ItemDef {
    const char* title;
    int eeAdr;
    bool isSigned;
    int min, max;
    int e8;
    bool bar;
    int evDisp, evSend, evEnter;
};

constexpr ItemDef kItems[] = {
    {"    CH No.", -1, false, 0, 0, 0, false, 0, 0, -1},
    {" Power(Hi)", 38, false, 0, 255, 5, true, -1, -1, -1},
    {" Power(L2)", 37, false, 0, 255, 6, true, -1, -1, -1},
    {" Power(L1)", 36, false, 0, 255, 7, true, -1, -1, -1},
    {"  DTCS BAL", 45, false, 0, 255, 10, true, -1, -1, -1},
    {"     MOD W", 43, false, 0, 255, 8, true, -1, -1, -1},
    {"     MOD N", 44, false, 0, 255, 9, true, -1, -1, -1},
    {"       SQL", 167, false, 0, 255, 4, true, -1, -1, -1},
    {"   BPF ALL", -1, false, 0, 255, -1, false, 3, -1, 6},
    {"    BPF T1", 39, true, -128, 127, 12, true, 4, -1, 2},
    {"    BPF T2", 40, true, -128, 127, 13, true, 4, -1, 3},
    {"    BPF T3", 41, true, -128, 127, 14, true, 4, -1, 4},
    {"    BPF T4", 42, true, -128, 127, 15, true, 4, -1, 5},
    {"       TXF", -1, false, 0, 255, -1, false, 1, -1, 0},
};

constexpr const char* kAdLabels[] = {"VIN  :", "TEMPS:", "LVIN :", "SD   :", "REMOT:", "BDET :"};
constexpr const char* kDaLabels[] = {
    "BPF T1 :", "BPF T2 :", "BPF T3 :", "T4/POW :", "REF    :", "DTCS BL:", "Dev    :", "SQL Lev:"};
constexpr int kWaitDefaultMs = 200;

std::string rowHead(int v) { return Common::RightAlign(v, 3) + ":" + Common::NumToHex2(v) + "h:"; }

std::string volts(int v, double full) {
    return Common::RightAlign(Common::FormatNumber(v * full / 255.0, "##0.#0V"), 7);
}

} // namespace

clsIndOp_RigZ30::clsIndOp_RigZ30(clsCmcHxq3Sequence* seq, clsCmcRadio* radio, IClock* clock)
    : eepMap(radio), m_seq(seq), m_radio(radio), m_waitTimer(clock) {
    RigOpFunc_ResetAll();
}

bool clsIndOp_RigZ30::RigOpFunc_CheckSubNameLegal(const std::string& nameS) {
    return nameS.substr(0, 2) <= "01";
}

int clsIndOp_RigZ30::RigZ30Op_Table_Txf_TempBorder(int index) {
    return index >= 0 && index < static_cast<int>(kTxfTempBorder.size()) ? kTxfTempBorder[index]
                                                                         : 0;
}

int clsIndOp_RigZ30::TempArea(int t) {
    for (int i = 0; i < 19; ++i)
        if (t < kTxfTempBorder[i + 1]) return i;
    return 19;
}

bool clsIndOp_RigZ30::RigZ30Prop_ReadParametersFromExtFile(const std::vector<std::string>& places,
                                                           std::string* report) {
    const auto coef = ReadConstIni(places, report);
    if (!coef) return false;
    refCoef = *coef;
    return true;
}

void clsIndOp_RigZ30::RigOpFunc_FormResource() {
    lstAd.SetCount(0);
    lstAd.SetLine(0, "[A/D]");
    for (int i = 1; i <= 6; ++i)
        lstAd.SetLine(i, "----");
    lstDa.SetCount(0);
    lstDa.SetLine(0, "[D/A]");
    for (int i = 1; i <= 8; ++i)
        lstDa.SetLine(i, "----");
    setProgress(std::string(32, ' '));
}

void clsIndOp_RigZ30::setProgress(std::string text) {
    if (text == lblProgress) return;
    lblProgress = std::move(text);
    ++progressRevision;
}

bool clsIndOp_RigZ30::ConsoleKey(int keyCode, bool shift) {
    const int i = lboConsole.ListIndex();
    switch (keyCode) {
    case kKeyLeft:
    case kKeyRight:
        console.UpDown(i, (keyCode == kKeyLeft ? -1 : 1) * (shift ? 5 : 1));
        return true;
    case kKeyEnter:
    case kKeySeparator:
        console.EnterPushed(i);
        return true;
    default:
        return false;
    }
}

void clsIndOp_RigZ30::showReadProgress() {
    const int n = std::clamp(m_seq->drv().lastEeAdr() * 33 / 2048, 0, 32);
    setProgress(std::string(static_cast<std::size_t>(n), 'o') +
                std::string(static_cast<std::size_t>(32 - n), '.'));
}

void clsIndOp_RigZ30::ConsoleFocused() {
    if (lboConsole.ListIndex() < 0) lboConsole.ListIndex(0);
}

void clsIndOp_RigZ30::RigOpFunc_ResetAll() {
    m_seq->easyReset(ComPortNo);
    opState = 0;
    stateEntered = true;
    showPara = false;
    lastAd.fill(-1);
    lastDa.fill(-1);
    opError = false;
    reloadRequest = reloadActive = false;
    m_rowPending = false;
    m_waitE8Required = 0;
    chTable = {0};
    txChannel = 0;
    RigOpFunc_FormResource();
    console.myListBox = &lboConsole;
    console.myEventClass = this;
    console.myHxq3Seq = m_seq;
    console.myEeprom = &m_radio->eepImage;
    console.Clear();
    for (const ItemDef& d : kItems) {
        const int i = console.AddItem();
        ConsoleItem& it = console.Edit(i);
        it.Title = d.title;
        it.EeAdr = d.eeAdr;
        it.EeDataSigned = d.isSigned;
        it.E8Command = static_cast<std::int16_t>(d.e8);
        it.BarExist = d.bar;
        it.Event_Disp = static_cast<std::int16_t>(d.evDisp);
        it.Event_SendE8 = static_cast<std::int16_t>(d.evSend);
        it.Event_Enter = static_cast<std::int16_t>(d.evEnter);
        it.LoopVal = i == kCh;
        console.Min(i, d.min);
        console.Max(i, d.max);
        it.flgChanged = false;
    }
    stopProcedure();
}

void clsIndOp_RigZ30::RigOpFunc_SetComPortNo(int portNo) {
    if (portNo == ComPortNo) return;
    ComPortNo = portNo;
    RigOpFunc_ResetAll();
}

void clsIndOp_RigZ30::RigOpFunc_ClickCmd00(int index) {
    stopProcedure();
    switch (index) {
    case 0:
        RigOpFunc_ResetAll();
        opState = 1;
        break;
    case 1:
        if (RigZ30Prop_EditEnabled()) reloadRequest = true;
        break;
    case 2:
        if (RigZ30Prop_EditEnabled())
            showPara = true;
        else if (RigZ30Prop_DispPara())
            showPara = false;
        break;
    default:
        break;
    }
}

void clsIndOp_RigZ30::stopProcedure() {
    procState = 0;
    if (opState == 20) m_rowPending = false;
    bpfSelected.fill(false);
    bpfAllMode = false;
    bpfStartItem = -1;
    txfWrites.clear();
    for (int i = kBpfT1; i <= kBpfT4; ++i)
        console.Edit(i).WaitAfterE8 = kWaitDefaultMs;
    console.DispAll();
}

void clsIndOp_RigZ30::task() {
    if (!m_seq->OpRunning()) {
        if (m_waitE8Required > 0) {
            m_waitTimer.counter(m_waitE8Required);
            m_waitE8Required = 0;
        }
        if (m_waitTimer.counter() == 0) {
            for (int guard = 0; guard < 64; ++guard) {
                const std::int16_t before = opState;
                const bool finished = stepState();
                if (finished) {
                    if (opState == before) opState = static_cast<std::int16_t>((before + 1) % 23);
                    stateEntered = true;
                    if (opState != 20) m_rowPending = false;
                } else {
                    stateEntered = opState != before;
                }
                if (!finished || opState == 21 || opError || m_seq->OpRunning() ||
                    m_waitE8Required > 0)
                    break;
            }
        }
        if (opError && MsgBoxCloneErr) {
            MsgBoxCloneErr();
            RigOpFunc_ResetAll();
        }
    }
    if (opState == 2 && m_seq->OpRunning()) showReadProgress();
    const bool edit = RigZ30Prop_EditEnabled();
    // Back from the parameter report the focus goes to "Disp para", not to the console.
    if (edit && !m_editWasEnabled && !focusDispParaRequest) focusConsoleRequest = true;
    m_editWasEnabled = edit;
}

bool clsIndOp_RigZ30::stepState() {
    switch (opState) {
    case 0:
        return false;
    case 1:
        return true;
    case 2:
        if (stateEntered) {
            m_seq->easyCloneRead();
            return false;
        }
        afterCloneRead();
        return opState == 2;
    case 3:
        reloadActive = reloadRequest;
        reloadRequest = false;
        return true;
    case 18:
        for (int i = 0; i < console.ListCount(); ++i) {
            if (!console.Item(i).flgChanged) continue;
            console.Edit(i).flgChanged = false;
            console.SendE8(i);
            if (m_seq->OpRunning()) return false;
        }
        return true;
    case 19:
        for (int i = 0; i < console.ListCount(); ++i) {
            const ConsoleItem& it = console.Item(i);
            if (it.flgEnterOn && it.Event_Enter >= 0) {
                console.Edit(i).flgEnterOn = false;
                console.EnterExec(i);
            }
        }
        return true;
    case 20: {
        if (procState < 1 || procState > 10) return true;
        const bool done = procState <= 5 ? txfStep() : bpfStep();
        if (procState == 0) stopProcedure();
        return done;
    }
    case 21:
        opState = showPara ? 22 : 3;
        if (showPara) stopProcedure();
        return true;
    case 22:
        if (stateEntered) {
            eepMap.RigZ30Eep_DispPara(txtPara);
            ++paraRevision;
        }
        if (showPara) return false;
        opState = 21;
        focusDispParaRequest = true;
        return true;
    default:
        break;
    }
    if (opState >= 4 && opState <= 17) {
        if (!reloadActive) return true;
        const bool ad = opState <= 9;
        const int row = ad ? opState - 4 : opState - 10;
        int v = 0;
        const int r = readRow(ad ? row : row + 6, v);
        if (r == 1) showRow(ad, row, v);
        return r == 1;
    }
    return true;
}

int clsIndOp_RigZ30::readRow(int rowValue, int& reading) {
    if (!m_rowPending) {
        m_rowPending = true;
        m_seq->easySendE8ReqAnswer(Common::E8Text(3, rowValue));
        return 0;
    }
    m_rowPending = false;
    const ByteStr& a = m_seq->drv().varLastE8Answer();
    if (a.size() != 7 || radioIdBytes.size() != 4 ||
        !std::equal(radioIdBytes.begin(), radioIdBytes.end(), a.begin()) ||
        !Common::IsHexAscii(ByteStr(a.begin() + 5, a.end()))) {
        opError = true;
        return -1;
    }
    reading = static_cast<std::uint8_t>(Common::HexAsciiToNum(ByteStr(a.begin() + 5, a.end())));
    return 1;
}

std::string clsIndOp_RigZ30::AdRowText(int row, int v) {
    std::string s = rowHead(v) + kAdLabels[std::clamp(row, 0, 5)];
    switch (row) {
    case 0:
        return s + volts(v, 10.0);
    case 1: {
        // 0 and 255 lie outside the thermistor's curve (ln 0, division by zero).
        if (v <= 0 || v >= 255) return s + "*Error";
        const double u = v * 5.0 / 255.0;
        const double ratio = (500000.0 - u * 100000.0) / u / 47000.0;
        const double t = 1.0 / (std::log(ratio) / 4000.0 + 1.0 / 298.15) - 273.15;
        return s + Common::RightAlign(Common::FormatNumber(t, "###.#0'C"), 8);
    }
    case 5:
        return s + volts(v, 5.0) +
               (v < 83    ? "(Ni-Cd,Ni-MH)"
                : v < 174 ? "(Li-ion)"
                          : "(Dry Battery)");
    default:
        return s + volts(v, 5.0);
    }
}

std::string clsIndOp_RigZ30::DaRowText(int row, int v) {
    std::string s = rowHead(v) + kDaLabels[std::clamp(row, 0, 7)];
    if (row == 5 || row == 7)
        return s + Common::RightAlign(Common::FormatNumber(v / 255.0, "0.00%"), 7);
    return s + volts(v, 5.0);
}

void clsIndOp_RigZ30::showRow(bool ad, int row, int v) {
    int& last = ad ? lastAd[static_cast<std::size_t>(row)] : lastDa[static_cast<std::size_t>(row)];
    if (v == last) return;
    last = v;
    if (ad)
        lstAd.SetLine(row + 1, AdRowText(row, v));
    else
        lstDa.SetLine(row + 1, DaRowText(row, v));
}

void clsIndOp_RigZ30::afterCloneRead() {
    clsCmcHxq3Drv& drv = m_seq->drv();
    // Only a whole, checked image goes on; anything else is a failed read.
    if (drv.lastError() != 0 || m_seq->error() != 0 || !drv.ImageComplete()) {
        if (MsgBoxCloneErr) MsgBoxCloneErr();
        RigOpFunc_ResetAll();
        return;
    }
    // The bar ends where the read ended, not where the last tick of the read saw it.
    showReadProgress();
    radioIdBytes = Common::HexStrToBytes(m_radio->radioNameM + m_radio->radionameS);
    for (int i = 0; i < console.ListCount(); ++i) {
        console.ReadFromEe(i);
        console.Edit(i).flgChanged = true;
    }
    reloadRequest = true;
    chTable.clear();
    for (int n = 0; n < clsIndEep_RigZ30::kChannels; ++n)
        if (eepMap.RigZ30Eep_GetChAppear(n)) chTable.push_back(static_cast<std::int16_t>(n));
    if (chTable.empty()) chTable.push_back(0);
    console.Max(kCh, static_cast<int>(chTable.size()) - 1);
    console.Value(kCh, console.Item(kCh).Min);
    console.Edit(kCh).flgChanged = true;
    txChannel = chTable[0];
    console.DispAll();
    m_seq->easySendE8NoAnswer(Common::E8Text(2, 1));
    opState = 3;
}

void clsIndOp_RigZ30::sendValue(int command, int value, std::int32_t waitMs) {
    m_seq->easySendE8NoAnswer(Common::E8Text(command, value));
    m_waitE8Required = waitMs;
}

void clsIndOp_RigZ30::beep() {
    if (IBeeper* b = Platform().beeper) b->Beep(2000, 200);
}

std::string clsIndOp_RigZ30::ConsEv_Disp(clsConsole& con, int index, int evNo, int) {
    const ConsoleItem& it = con.Item(index);
    switch (evNo) {
    case 0:
        return channelLine(index);
    case 1:
        return txfLine(index);
    case 3:
        return it.Title +
               (procState >= 6 && bpfStartItem == index ? ": Sweeping" : ": [Enter] to Sweep");
    case 4: {
        const int f = index - kBpfT1;
        std::string s = con.DefaultString(index);
        if (procState < 6) return s + " [Enter] to Sweep";
        if (f >= 0 && f < 4 && bpfSelected[static_cast<std::size_t>(f)]) s += " Sweeping";
        return s;
    }
    default:
        return con.DefaultString(index);
    }
}

std::string clsIndOp_RigZ30::channelLine(int index) {
    const ConsoleItem& it = console.Item(index);
    const int v = it.Value;
    const int ch =
        v >= 0 && v < static_cast<int>(chTable.size()) ? chTable[static_cast<std::size_t>(v)] : 0;
    const std::int32_t adr = clsIndEep_RigZ30::ChannelAdr(ch);
    std::string name = eepMap.RigZ30Eep_GetChName(ch);
    if (name.size() < 2) name.insert(0, "0");
    const bool rxInh = eepMap.Check_Inh(adr);
    const bool txInh = eepMap.Check_Inh(adr + 3);
    const std::int32_t rx = eepMap.RigZ30Eep_GetChFreqRxReal(ch);
    const std::int32_t tx = eepMap.RigZ30Eep_GetChFreqTxReal(ch);
    std::string s = it.Title + ": " + name + " (RX Freq = ";
    s += rxInh ? "Inhibit" : Common::FormatNumber(rx / 1e6, "#000.##0");
    s += ", TX Freq = ";
    if (txInh)
        s += "Inhibit";
    else if (!rxInh && rx == tx)
        s += "  <-   ";
    else
        s += Common::FormatNumber(tx / 1e6, "#000.##0");
    static constexpr const char* kPower[] = {"High", "Low2", "Low1"};
    s += "  RF Power: ";
    s += kPower[std::clamp<int>(eepMap.RigZ30Eep_GetChRFPower(ch), 0, 2)];
    s += "  Mode:";
    s += eepMap.RigZ30Eep_GetChMode(ch) ? " Narrow" : " Wide";
    return s;
}

std::string clsIndOp_RigZ30::txfLine(int index) {
    const ConsoleItem& it = console.Item(index);
    if (procState < 1 || procState > 5) return it.Title + ": [Enter] to Start";
    std::string s = it.Title + (txfSecondPoint ? ": 2nd TX Freq = " : ": 1st TX Freq = ");
    const std::int32_t adr = clsIndEep_RigZ30::ChannelAdr(txChannel);
    if (eepMap.Check_Inh(adr + 3)) {
        s += "Inhibit";
    } else {
        double mhz = eepMap.RigZ30Eep_GetChFreqTxReal(txChannel) / 1e6;
        if (txfSecondPoint) mhz *= 1.00001;
        s += Common::FormatNumber(mhz, "#000.####0MHz");
    }
    return s + ", Setting = " + Common::RightAlign(it.Value, 3) + console.BarString(index);
}

void clsIndOp_RigZ30::ConsEv_SendE8(clsConsole&, int, int evNo, int val) {
    if (evNo != 0) return;
    if (val < 0 || val >= static_cast<int>(chTable.size())) return;
    txChannel = chTable[static_cast<std::size_t>(val)];
    // Only the console's standard send pauses the cycle afterwards.
    m_seq->easySendE8NoAnswer(Common::E8Text(0, txChannel + 1));
}

void clsIndOp_RigZ30::ConsEv_Enter(clsConsole& con, int, int evNo, int) {
    if (evNo == 0) {
        if (procState >= 1 && procState <= 5) {
            txfEnter = true;
            return;
        }
        stopProcedure();
        txfSecondPoint = txfFullWrite = txfEnter = txfEnterTaken = false;
        procState = 1;
        con.Disp(kTxf);
        return;
    }
    if (evNo < 2 || evNo > 6) return;
    stopProcedure();
    bpfAllMode = evNo == 6;
    if (bpfAllMode)
        bpfSelected.fill(true);
    else
        bpfSelected[static_cast<std::size_t>(evNo - 2)] = true;
    bpfStartItem = bpfAllMode ? kBpfAll : kBpfT1 + (evNo - 2);
    for (int i = kBpfT1; i <= kBpfT4; ++i)
        con.Edit(i).WaitAfterE8 = 0;
    procState = 6;
    con.DispAll();
}
