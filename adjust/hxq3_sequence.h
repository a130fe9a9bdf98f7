// Multi-frame operations on the link driver: the clone read with its model check and the E8
// service commands, with the port opened per step and released after the hold time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "adjust/common.h"
#include "adjust/tick.h"

class clsCmcHxq3Drv;
class clsCmcRadio;
class frmCom;

class clsCmcHxq3Sequence {
public:
    clsCmcHxq3Sequence(frmCom* com, clsCmcRadio* radio, IClock* clock = nullptr);

    void easyReset(int portNo);
    void easyCloneRead();
    int easySendE8NoAnswer(const std::string& hexText);
    int easySendE8ReqAnswer(const std::string& hexText);
    void start();
    void Reset();
    void Standby();
    void task();

    bool OpRunning() const { return stepCount != 0; }
    std::int16_t error() const { return m_error; }
    int ComPortNo() const { return m_comPortNo; }
    void ComPortNo(int n) { m_comPortNo = n; }
    std::int64_t comHoldReload() const { return m_comHoldReload; }
    void comHoldReload(std::int64_t ms);
    std::int16_t Operation() const { return m_operation; }
    void Operation(std::int16_t op);
    void e8HexStrToSend(const std::string& s) { m_e8HexStrToSend = s; }
    void e8AnsRequired(bool on) { m_e8AnsRequired = on; }
    const ByteStr& ansInfo() const;
    std::string ansNameM() const;
    std::string ansNameS() const;

    std::int16_t stepCode = 0;
    std::int16_t stepCount = 0;
    // The main form's clone-error message for this sequence.
    std::function<void(clsCmcHxq3Sequence&)> MsgBoxCloneErr;
    clsCmcHxq3Drv& drv();

private:
    void runStep();
    void send(const std::string& hex);

    frmCom* m_com;
    clsCmcRadio* m_radio;
    int m_comPortNo = 1;
    std::int16_t m_operation = 0;
    std::string m_e8HexStrToSend;
    bool m_e8AnsRequired = false;
    std::int64_t m_comHoldReload = 0;
    clsCmcTick m_holdTimer;
    std::int16_t m_error = 0;
};
