// The serial port of the cloning program: opens the line at 9600 8N1 with DTR off and RTS on,
// reads without blocking, writes synchronously and reports each failure in a warning box.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/platform.h"

class CComPort {
public:
    static constexpr const char* kErrorCaption = " COM Port Error    ";
    static constexpr unsigned kQueueSize = 8192;

    CComPort() = default;
    virtual ~CComPort();
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    // 1 when the port is open afterwards (at once when it already was), else 0.
    virtual int Open(const std::string& name, unsigned baud);
    // The opened device, or null; the name is resolved to a device first ("COM3" or a path).
    virtual std::unique_ptr<ISerialDevice> CreateHandle(const std::string& name, unsigned baud,
                                                        unsigned queueSize);
    virtual void Close();
    virtual void CloseHandle(ISerialDevice& device);
    // 1 when every byte was written, else 0.
    virtual int Write(const std::uint8_t* bytes, std::size_t count);
    // Reads at most wanted (and at most 256) waiting bytes; 0 without reading when none wait.
    virtual int Read(std::uint8_t* buffer, std::size_t wanted, std::size_t* countRead);
    virtual void Flush();
    virtual void ReportError(const std::string& text, int code);

    bool IsOpen() const { return m_device != nullptr; }
    // True once a read or write of the open port has failed.
    bool IoFailed() const { return m_ioErrorShown; }
    // Waits up to ms for input on the open port; true when bytes wait.
    bool WaitForInput(int ms);
    const std::string& Name() const { return m_name; }
    unsigned Baud() const { return m_baud; }

private:
    std::unique_ptr<ISerialDevice> m_device;
    std::string m_name = "COM1:";
    unsigned m_baud = 9600;
    bool m_ioErrorShown = false; // one box per open port, not one per poll
};
