// The serial device on QSerialPort: 8N1 without flow control, non-blocking reads, synchronous
// writes. Modem-line calls that the device refuses (a pseudo-terminal) return false.
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

private:
    bool Failed() const;
    std::unique_ptr<QSerialPort> m_port;
};

// The factory for Platform().serialFactory.
std::unique_ptr<ISerialDevice> MakeQtSerialDevice();
