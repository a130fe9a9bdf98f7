// The port form: owns the serial port, the link driver and the 50 ms heartbeat of the program.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "adjust/hxq3_drv.h"
#include "adjust/profile_io.h"

class ISerialDevice;

class frmCom {
public:
    static constexpr long kOutBufferSize = 1024;
    static constexpr long kInBufferSize = 4096;
    static constexpr unsigned kTimerMs = 50;

    explicit frmCom(IClock* clock = nullptr);
    ~frmCom();

    // The device to use; without one, opening asks Platform().serialFactory for a device.
    void SetDevice(std::unique_ptr<ISerialDevice> device);
    ISerialDevice* Device() const { return m_device.get(); }
    clsCmcHxq3Drv& Driver() { return m_driver; }

    void Reset();
    bool comOpen() const;
    void comOpen(bool open);
    bool comSendEnable() const { return comOpen(); }
    int comPortNum() const { return m_comPortNum; }
    // Only 1 to 10 are taken; other numbers are ignored.
    void comPortNum(int n);
    long comBaud() const { return m_comBaud; }
    void comBaud(long baud) { m_comBaud = baud; }
    bool errOverflow() const { return m_errOverflow; }
    void errOverflow(bool on) { m_errOverflow = on; }
    bool errCannotOpen() const { return m_errCannotOpen; }
    void errCannotOpen(bool on) { m_errCannotOpen = on; }
    bool totalError() const;
    // The line settings text of the serial control, such as "9600,N,8,1".
    std::string Settings() const { return std::to_string(m_comBaud) + ",N,8,1"; }
    // The device name the port number stands for.
    std::string PortName() const;

    long OutBufferSize() const { return kOutBufferSize; }
    long OutBufferCount() const;
    void Output(const ByteStr& bytes);

    // The heartbeat: received bytes to the driver, the driver's task, the main form's task,
    // then the error check.
    void timSolid_Timer();
    // Communication events of the serial control (2 receive, 1001 to 1011 errors).
    void OnComm(int event);
    void AllOver();

    clsCmcProfileIO profMain;
    // Hooks into the main form: its task, its clone-error message and its settings.
    std::function<void()> mainTask;
    std::function<void()> cloneError;
    std::function<void(clsCmcProfileIO&)> saveData;

private:
    clsCmcHxq3Drv m_driver;
    std::unique_ptr<ISerialDevice> m_device;
    bool m_open = false;
    int m_comPortNum = 1;
    long m_comBaud = 9600;
    bool m_errOverflow = false;
    bool m_errCannotOpen = false;
    std::string m_lastOpenError;
};
