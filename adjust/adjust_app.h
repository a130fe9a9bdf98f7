// The main form's logic of the adjust utility: start-up, settings, the per-tick task and the
// clone-error message. The window (adjust/ui) shows what this holds.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "adjust/eeprom.h"
#include "adjust/frm_com.h"
#include "adjust/hxq3_sequence.h"
#include "adjust/op_rigz30.h"

// The clone-error message for the first matching cause; reason (the system's words on why the
// port failed) follows "Cannot access COM n." on a line of its own. A port given as a device
// (--port) is named by it: "Cannot access /dev/ttyUSB3.".
std::string CloneErrorText(bool cannotOpen, int portNum, bool overflow, int driverError,
                           int sequenceError, const std::string& reason = {},
                           const std::string& device = {});

class clsAdjustApp {
public:
    static constexpr const char* kProfileName = "KTZ30ADJ.rs";

    explicit clsAdjustApp(IClock* clock = nullptr);

    // Loads the settings and "Const.ini"; false (after the message) when the program must end.
    bool Startup();
    // Where "Const.ini" is looked for (ConstIniPlaces() at creation).
    std::vector<std::string> constIniPlaces;
    // The 50 ms heartbeat (the port form's timer).
    void Tick() { com.timSolid_Timer(); }
    void task();
    void MsgBoxCloneErr(clsCmcHxq3Sequence& seqRef);
    void loadData(clsCmcProfileIO& profile);
    void saveData(clsCmcProfileIO& profile);
    void AllOver() { com.AllOver(); }

    int ComPortNo() const { return ops.ComPortNo; }
    void ComPortNo(int n) { ops.RigOpFunc_SetComPortNo(n); }
    // The port chosen in the menu: it replaces a device given for this run.
    void SelectPort(int n);
    int ComAutoRelease() const { return m_comAutoRelease; }
    void ComAutoRelease(int seconds);

    clsCmcRadio radio;
    frmCom com;
    clsCmcHxq3Sequence seq;
    clsIndOp_RigZ30 ops;
    // Redraws the window (before a message box, so that it shows the state behind the box).
    std::function<void()> refreshWindow;

private:
    int m_comAutoRelease = 0;
};
