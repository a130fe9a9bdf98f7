// The port form: owns the serial port, the link driver and the 50 ms heartbeat of the program.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "adjust/hxq3_drv.h"
#include "adjust/profile_io.h"
#include "core/platform.h"

class frmCom : public IHxq3Port {
public:
    static constexpr long kOutBufferSize = 1024;
    static constexpr long kInBufferSize = 4096;
    static constexpr unsigned kTimerMs = 50;

    explicit frmCom(IClock* clock = nullptr);
    ~frmCom() override;

    // The device to use; without one, opening asks Platform().serialFactory for a device. The
    // form takes the device's events (bytes arrived, the line failed).
    void SetDevice(std::unique_ptr<ISerialDevice> device);
    ISerialDevice* Device() const { return m_device.get(); }
    clsCmcHxq3Drv& Driver() { return m_driver; }
    // A device path opened instead of the numbered port for this run (empty: the port number).
    void SetPortDevice(const std::string& path) { m_portDevice = path; }
    const std::string& PortDevice() const { return m_portDevice; }
    // The system's reason why the port could not be opened or failed, empty when there is none.
    const std::string& LastErrorText() const { return m_lastErrorText; }

    void Reset();
    bool comOpen() const;
    void comOpen(bool open);
    bool comSendEnable() const override { return comOpen(); }
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

    long OutBufferSize() const override { return kOutBufferSize; }
    long OutBufferCount() const override;
    void Output(const ByteStr& bytes) override;

    // The heartbeat: received bytes to the driver, the driver's task, the main form's task,
    // then the error check. A run that starts while one is under way (a message box shown from
    // it, a receive event meanwhile) returns at once.
    void timSolid_Timer();
    // Communication events of the serial control (2 receive, 1001 to 1011 errors).
    void OnComm(int event);
    // Events of the device: bytes arrived runs the heartbeat at once; a device that went away or
    // failed to read or write closes the port and gives "Cannot access COM" with the reason.
    void OnDeviceEvent(SerialEvent event);
    void AllOver();

    clsCmcProfileIO profMain;
    // Hooks into the main form: its task, its clone-error message, its settings, and what it
    // redraws after every run of the heartbeat.
    std::function<void()> mainTask;
    std::function<void()> cloneError;
    std::function<void(clsCmcProfileIO&)> saveData;
    std::function<void()> afterTimer;

private:
    void takeDevice();
    void lineFailed();

    clsCmcHxq3Drv m_driver;
    std::unique_ptr<ISerialDevice> m_device;
    bool m_open = false;
    int m_comPortNum = 1;
    long m_comBaud = 9600;
    bool m_errOverflow = false;
    bool m_errCannotOpen = false;
    std::string m_lastErrorText;
    std::string m_portDevice;
    bool m_inTimer = false;
};
