#include "adjust/adjust_app.h"

#include "adjust/common.h"

namespace {
constexpr const char* kC = "Check the following:";
constexpr const char* kP = "- The COM port settings.";
constexpr const char* kK = "- Cloning cable connections.";
constexpr const char* kR = "- The NQ-Z30 power is ON.";
constexpr const char* kCrLf = "\r\n";

std::string checkList(const std::string& head, bool withPort = true) {
    std::string s = head + kCrLf + kCrLf + kC + kCrLf + kCrLf;
    if (withPort) s += std::string(kP) + kCrLf;
    return s + kK + kCrLf + kR;
}
} // namespace

std::string CloneErrorText(bool cannotOpen, int portNum, bool overflow, int driverError,
                           int sequenceError, const std::string& reason,
                           const std::string& device) {
    if (cannotOpen)
        return checkList("Cannot access " +
                         (device.empty() ? "COM" + std::to_string(portNum) : device) + "." +
                         (reason.empty() ? std::string() : kCrLf + reason));
    if (overflow) return checkList("COM buffer Overflow.");
    switch (driverError) {
    case 1:
        return checkList("Cannot access COM port");
    case 2:
        return checkList("No answer from NQ-Z30.");
    case 3:
        return checkList("Illegal data.");
    case 4:
        return checkList("Data Overflow.");
    default:
        break;
    }
    if (sequenceError == 2)
        return std::string("Version number does not match") + kCrLf + "for this NQ-Z30.";
    if (sequenceError == 1) return checkList("Cannot Clone.");
    return checkList("Communication failed.", false);
}

clsAdjustApp::clsAdjustApp(IClock* clock)
    : constIniPlaces(ConstIniPlaces()), com(clock), seq(&com, &radio, clock),
      ops(&seq, &radio, clock) {
    com.profMain.SetCurrentPath();
    com.profMain.Name = kProfileName;
    com.profMain.Section = Common::kAppTitle;
    radio.radioNameM = "5827";
    radio.radionameS = "0100";
    com.Driver().Reset();
    com.Reset();
    com.mainTask = [this] { task(); };
    com.cloneError = [this] { MsgBoxCloneErr(seq); };
    com.saveData = [this](clsCmcProfileIO& p) { saveData(p); };
    seq.MsgBoxCloneErr = [this](clsCmcHxq3Sequence& s) { MsgBoxCloneErr(s); };
    ops.MsgBoxCloneErr = [this] { MsgBoxCloneErr(seq); };
}

bool clsAdjustApp::Startup() {
    loadData(com.profMain);
    std::string report;
    if (!ops.RigZ30Prop_ReadParametersFromExtFile(constIniPlaces, &report)) {
        Common::MsgBox("Cannot read 'Const.ini'.\r\n\r\n" + report);
        com.AllOver();
        return false;
    }
    return true;
}

void clsAdjustApp::task() {
    seq.task();
    ops.task();
    if (seq.OpRunning()) seq.task();
}

void clsAdjustApp::MsgBoxCloneErr(clsCmcHxq3Sequence& s) {
    const std::string text =
        CloneErrorText(com.errCannotOpen(), com.comPortNum(), com.errOverflow(),
                       s.drv().lastError(), s.error(), com.LastErrorText(), com.PortDevice());
    ops.RigOpFunc_ResetAll();
    if (refreshWindow) refreshWindow();
    Common::MsgBox(text);
}

void clsAdjustApp::SelectPort(int n) {
    const bool hadDevice = !com.PortDevice().empty();
    com.SetPortDevice({});
    if (hadDevice && n == ComPortNo())
        ops.RigOpFunc_ResetAll();
    else
        ComPortNo(n);
}

void clsAdjustApp::ComAutoRelease(int seconds) {
    m_comAutoRelease = seconds;
    seq.comHoldReload(static_cast<std::int64_t>(seconds) * 1000);
}

void clsAdjustApp::loadData(clsCmcProfileIO& profile) {
    profile.Section = "OPTION";
    int port = 1;
    int release = 0;
    profile.loadData("ComPort", port, 1);
    profile.loadData("ComAutoRelease", release, 0);
    ComPortNo(port);
    ComAutoRelease(release);
}

void clsAdjustApp::saveData(clsCmcProfileIO& profile) {
    profile.Section = "OPTION";
    profile.saveData("ComPort", ComPortNo());
    profile.saveData("ComAutoRelease", m_comAutoRelease);
}
