// The serial device on QSerialPort: 8N1 without flow control, non-blocking reads, synchronous
// writes. Modem-line calls that the device refuses (a pseudo-terminal) return false. Bytes that
// arrive and failures of the line are reported as events from the event loop.
#pragma once

#include <memory>

#include "core/platform.h"

class QSerialPort;

class CQtSerialDevice final : public ISerialDevice {
public:
    CQtSerialDevice();
    ~CQtSerialDevice() override;

    bool Open(const std::string& device, unsigned baud, std::string* error) override;
    void Close() override;
    bool IsOpen() const override;
    bool SetDtr(bool on) override;
    bool SetRts(bool on) override;
    void Purge() override;
    long BytesAvailable() override;
    long Read(std::uint8_t* buffer, std::size_t max) override;
    long Write(const std::uint8_t* data, std::size_t count) override;
    bool WaitForInput(int ms) override;
    long BytesToWrite() override;
    std::string LastErrorText() const override { return m_lastError; }
    void SetEventHandler(std::function<void(SerialEvent)> handler) override;
    void SetInputLimit(std::size_t bytes) override;

private:
    bool Failed() const;
    void Report(SerialEvent event);
    void OnError(int error);
    std::unique_ptr<QSerialPort> m_port;
    std::string m_device;
    std::string m_lastError;
    std::function<void(SerialEvent)> m_handler;
    std::size_t m_inputLimit = 0;
    bool m_overflowReported = false;
};

// The factory for Platform().serialFactory.
std::unique_ptr<ISerialDevice> MakeQtSerialDevice();

// Why a device did not open, in the words the user reads after "Cannot access COM...".
enum class SerialOpenFailure { NoDevice, PermissionDenied, Busy, Other };
// The reason text: the device, what is wrong and what to do. group: the group owning the device
// (for a permission problem); systemText: the system's own words for Other.
std::string SerialFailureText(const std::string& device, SerialOpenFailure why,
                              const std::string& group, const std::string& systemText);
// Looks at the device after a failed open: missing, not ours to open, or (it exists and we may
// open it) busy. group receives the name of the group that owns it.
SerialOpenFailure ClassifyOpenFailure(const std::string& device, std::string* group);
