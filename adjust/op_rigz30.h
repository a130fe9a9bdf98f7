// The NQ-Z30 operations: the console's items, the cycle that reads the radio's analogue rows
// and sends every change with E8, and the TXF and BPF procedures.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "adjust/common.h"
#include "adjust/console.h"
#include "adjust/eeprom.h"
#include "adjust/profile_io.h"
#include "adjust/tick.h"

class clsCmcHxq3Sequence;

class clsIndOp_RigZ30 {
public:
    enum Item {
        kCh,
        kPowHi,
        kPowL2,
        kPowL1,
        kDtcs,
        kModW,
        kModN,
        kSql,
        kBpfAll,
        kBpfT1,
        kBpfT2,
        kBpfT3,
        kBpfT4,
        kTxf,
        kItemCount
    };

    clsIndOp_RigZ30(clsCmcHxq3Sequence* seq, clsCmcRadio* radio, IClock* clock = nullptr);

    void RigOpFunc_ResetAll();
    void RigOpFunc_FormResource();
    void RigOpFunc_FormLayout() {}
    static bool RigOpFunc_CheckSubNameLegal(const std::string& nameS);
    void RigOpFunc_SetComPortNo(int portNo);
    void RigOpFunc_ClickCmd00(int index);
    void task();

    std::string ConsEv_Disp(clsConsole& con, int index, int evNo, int val);
    void ConsEv_SendE8(clsConsole& con, int index, int evNo, int val);
    void ConsEv_Enter(clsConsole& con, int index, int evNo, int val);
    static int RigZ30Op_Table_Txf_TempBorder(int index);
    // Reads the TXF coefficients from the first good "Const.ini" of places; report as
    // ReadConstIni gives it.
    bool RigZ30Prop_ReadParametersFromExtFile(const std::vector<std::string>& places,
                                              std::string* report = nullptr);
    bool RigZ30Prop_EditEnabled() const { return opState >= 3 && opState <= 21; }
    bool RigZ30Prop_DispPara() const { return opState == 22; }
    bool RigZ30Prop_Shielding() const {
        return !RigZ30Prop_EditEnabled() && !RigZ30Prop_DispPara();
    }
    void WaitE8Required(std::int32_t ms) { m_waitE8Required = ms; }
    void stopProcedure();

    // Converted texts of the analogue rows (exposed for the window and tests).
    static std::string AdRowText(int row, int v);
    static std::string DaRowText(int row, int v);
    static int TempArea(int t);

    // Keys of the console list: Left and Right step the selected item (by 5 with Shift), Enter
    // and the keypad's separator press Enter on it. True when the key was taken.
    static constexpr int kKeyEnter = 13, kKeyLeft = 37, kKeyRight = 39, kKeySeparator = 108;
    bool ConsoleKey(int keyCode, bool shift);
    // The console list got the focus: with nothing selected, item 0 is.
    void ConsoleFocused();

    // What the window shows; the revisions grow with every change of the texts.
    clsListLines lboConsole, lstAd, lstDa;
    std::string txtPara;
    std::string lblProgress;
    unsigned paraRevision = 0, progressRevision = 0;
    // Focus requests, cleared by the window when served: the "Disp para" button after the
    // parameter report, the console list when its panel has just appeared.
    bool focusDispParaRequest = false;
    bool focusConsoleRequest = false;
    // The main form's clone-error message (it resets the operations).
    std::function<void()> MsgBoxCloneErr;

    clsConsole console;
    clsIndEep_RigZ30 eepMap;
    std::int16_t opState = 0;
    bool stateEntered = true;
    bool reloadRequest = false, reloadActive = false;
    bool showPara = false, opError = false;
    int ComPortNo = 1;
    std::vector<std::int16_t> chTable{0};
    std::int16_t txChannel = 0;
    std::int16_t procState = 0;
    ByteStr radioIdBytes;
    std::array<int, 6> lastAd{};
    std::array<int, 8> lastDa{};
    RefCoefTable refCoef{};
    std::array<float, 21> refTable{};
    std::array<float, 20> refSlant{};
    std::int16_t refCorrection = 0;

    // TXF procedure.
    int txfArea = -1, txfRecordedArea = -1, txfRecordedValue = -1;
    int firstSetting = 0, secondSetting = 0;
    bool txfSecondPoint = false, txfFullWrite = false, txfEnter = false, txfEnterTaken = false;
    struct Write {
        int command, value, adr;
    };
    std::vector<Write> txfWrites;
    // BPF sweep.
    std::array<bool, 4> bpfSelected{};
    bool bpfAllMode = false;
    int bpfStartItem = -1, bpfOffset = 0, bpfCurrent = -1, bpfPhase = 0;
    int bpfBest = -1, bpfFirst = 0, bpfLast = 0;

private:
    bool stepState();
    // Reads an analogue row with E8 command 3: 0 while waiting, 1 with reading, -1 invalid.
    int readRow(int rowValue, int& reading);
    void showRow(bool ad, int row, int v);
    void afterCloneRead();
    void sendValue(int command, int value, std::int32_t waitMs);
    bool txfStep();
    bool bpfStep();
    void beep();
    void setProgress(std::string text);
    void showReadProgress();
    std::string channelLine(int index);
    std::string txfLine(int index);

    clsCmcHxq3Sequence* m_seq;
    clsCmcRadio* m_radio;
    clsCmcTick m_waitTimer;
    std::int32_t m_waitE8Required = 0;
    bool m_rowPending = false;
    bool m_editWasEnabled = false;
};
