// The main form's logic of the adjust utility: start-up, settings, the per-tick task and the
// clone-error message. The window (adjust/ui) shows what this holds.
#pragma once

#include <string>

#include "adjust/eeprom.h"
#include "adjust/frm_com.h"
#include "adjust/hxq3_sequence.h"
#include "adjust/op_rigz30.h"

// The clone-error message for the first matching cause.
std::string CloneErrorText(bool cannotOpen, int portNum, bool overflow, int driverError,
                           int sequenceError);

class clsAdjustApp {
public:
    static constexpr const char* kProfileName = "KTZ30ADJ.rs";

    explicit clsAdjustApp(IClock* clock = nullptr);

    // Loads the settings and "Const.ini"; false (after the message) when the program must end.
    bool Startup();
    // The 50 ms heartbeat (the port form's timer).
    void Tick() { com.timSolid_Timer(); }
    void task();
    void MsgBoxCloneErr(clsCmcHxq3Sequence& seqRef);
    void loadData(clsCmcProfileIO& profile);
    void saveData(clsCmcProfileIO& profile);
    void AllOver() { com.AllOver(); }

    int ComPortNo() const { return ops.ComPortNo; }
    void ComPortNo(int n) { ops.RigOpFunc_SetComPortNo(n); }
    int ComAutoRelease() const { return m_comAutoRelease; }
    void ComAutoRelease(int seconds);

    clsCmcRadio radio;
    frmCom com;
    clsCmcHxq3Sequence seq;
    clsIndOp_RigZ30 ops;

private:
    int m_comAutoRelease = 0;
};
