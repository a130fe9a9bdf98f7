#include "adjust/hxq3_sequence.h"

#include "adjust/eeprom.h"
#include "adjust/frm_com.h"
#include "adjust/hxq3_drv.h"

clsCmcHxq3Sequence::clsCmcHxq3Sequence(frmCom* com, clsCmcRadio* radio, IClock* clock)
    : m_com(com), m_radio(radio), m_holdTimer(clock) {
    Reset();
    m_comPortNo = 1;
    comHoldReload(0);
}

clsCmcHxq3Drv& clsCmcHxq3Sequence::drv() { return m_com->Driver(); }

void clsCmcHxq3Sequence::easyReset(int portNo) {
    Reset();
    m_comPortNo = portNo;
}

void clsCmcHxq3Sequence::easyCloneRead() {
    Operation(2);
    start();
}

int clsCmcHxq3Sequence::easySendE8NoAnswer(const std::string& hexText) {
    Operation(4);
    m_e8HexStrToSend = hexText;
    start();
    return 0;
}

int clsCmcHxq3Sequence::easySendE8ReqAnswer(const std::string& hexText) {
    Operation(4);
    m_e8HexStrToSend = hexText;
    m_e8AnsRequired = true;
    start();
    return 0;
}

void clsCmcHxq3Sequence::start() {
    stepCount = 0;
    task();
}

void clsCmcHxq3Sequence::Reset() {
    drv().Reset();
    m_com->Reset();
    Standby();
}

void clsCmcHxq3Sequence::Standby() {
    m_operation = 0;
    m_e8AnsRequired = false;
    stepCount = 0;
    m_e8HexStrToSend.clear();
}

void clsCmcHxq3Sequence::comHoldReload(std::int64_t ms) {
    m_comHoldReload = ms;
    m_holdTimer.counter(ms);
}

void clsCmcHxq3Sequence::Operation(std::int16_t op) {
    m_operation = op;
    m_e8AnsRequired = false;
}

const ByteStr& clsCmcHxq3Sequence::ansInfo() const { return m_com->Driver().ansInfo(); }

std::string clsCmcHxq3Sequence::ansNameM() const {
    const ByteStr& a = ansInfo();
    return a.size() >= 5 ? Common::BytesToHexStr({a[3], a[4]}) : std::string();
}

std::string clsCmcHxq3Sequence::ansNameS() const {
    const ByteStr& a = ansInfo();
    return a.size() >= 7 ? Common::BytesToHexStr({a[5], a[6]}) : std::string();
}

void clsCmcHxq3Sequence::task() {
    const bool active = m_operation != 0;
    if (active && !drv().Running()) {
        int step = 6;
        if (m_operation == 2) {
            if (stepCount == 0) {
                step = 1;
            } else if (stepCount == 1) {
                // The answer is looked at only when the driver reported no error.
                if (drv().lastError() != 0 || ansInfo().size() < 7) {
                    m_error = 3;
                } else {
                    if (m_radio->radioNameM != ansNameM()) m_error = 1;
                    const std::string sub = ansNameS();
                    if (sub.substr(0, 2) <= "01")
                        m_radio->radionameS = sub;
                    else
                        m_error = 2;
                }
                step = m_error != 0 ? 5 : 2;
            } else {
                step = drv().lastError() != 0 ? 5 : 6;
            }
        } else if (m_operation == 4) {
            step = stepCount == 0 ? 4 : (drv().lastError() != 0 ? 5 : 6);
        }
        if (step == 5) {
            m_com->comOpen(false);
            if (MsgBoxCloneErr) MsgBoxCloneErr(*this);
            step = 6;
        }
        ++stepCount;
        stepCode = static_cast<std::int16_t>(step);
        runStep();
    }
    if (active) {
        m_holdTimer.counter(m_comHoldReload);
    } else if (m_comHoldReload > 0 && m_holdTimer.counter() == 0 && m_com->comOpen()) {
        Reset();
    }
}

void clsCmcHxq3Sequence::send(const std::string& hex) { drv().Send(Common::HexStrToBytes(hex)); }

void clsCmcHxq3Sequence::runStep() {
    if (stepCode == 1 || stepCode == 2 || stepCode == 4) {
        drv().lastError(0);
        m_error = 0;
        m_com->comPortNum(m_comPortNo);
        m_com->comOpen(true);
    }
    switch (stepCode) {
    case 1:
        drv().workMode(1);
        send("E0" + m_radio->radioNameM + "0000");
        break;
    case 2:
        m_radio->eepImage.Clear();
        drv().myEep(&m_radio->eepImage);
        drv().workMode(2);
        send("E2" + m_radio->radioNameM + m_radio->radionameS);
        break;
    case 4:
        drv().workMode(5);
        drv().waitAnswer(m_e8AnsRequired);
        drv().retryCount(2);
        send("E8" + m_radio->radioNameM + m_radio->radionameS + m_e8HexStrToSend);
        break;
    case 6:
        stepCount = 0;
        Standby();
        break;
    default:
        break;
    }
}
