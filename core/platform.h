// Platform services reach the core through these small interfaces. Each has a Qt implementation
// in platform/ and a fake for tests; Platform() holds the ones in use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Monotonic millisecond clock and sleep.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint64_t NowMs() = 0;
    virtual void SleepMs(unsigned ms) = 0;
};

// What a serial device reports by itself: bytes arrived, or the line failed (the device went
// away, as when a USB adapter is pulled; a read or a write failed).
enum class SerialEvent { BytesArrived, DeviceLost, ReadError, WriteError, Overflow };

// A device that opened but refused the line settings starts its error text with this.
inline constexpr char kSerialSettingError[] = "setting:";

// One serial line, 8N1. Reads never block; writes are synchronous.
class ISerialDevice {
public:
    virtual ~ISerialDevice() = default;
    // Opens the device at the given rate; on failure returns false and sets error.
    virtual bool Open(const std::string& device, unsigned baud, std::string* error) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Modem lines; a device that refuses them (a pseudo-terminal) returns false, callers go on.
    virtual bool SetDtr(bool on) = 0;
    virtual bool SetRts(bool on) = 0;
    // Drops everything queued in both directions.
    virtual void Purge() = 0;
    // Bytes waiting in the input queue, or -1 on error.
    virtual long BytesAvailable() = 0;
    // Reads at most max waiting bytes without blocking; returns the count, or -1 on error.
    virtual long Read(std::uint8_t* buffer, std::size_t max) = 0;
    // Writes all bytes before returning; returns the count written, or -1 on error.
    virtual long Write(const std::uint8_t* data, std::size_t count) = 0;
    // Waits up to ms milliseconds for input; true when bytes are waiting.
    virtual bool WaitForInput(int ms) = 0;
    // Bytes still queued for output.
    virtual long BytesToWrite() = 0;
    // The system's reason for the last failure (open, read or write), naming the device; empty
    // when there is none.
    virtual std::string LastErrorText() const { return {}; }
    // Receives the device's events from the event loop, never from inside a call on the device.
    // A device without events ignores it.
    virtual void SetEventHandler(std::function<void(SerialEvent)>) {}
    // Bounds the input queue: more waiting bytes than this is an Overflow event (0: unbounded).
    virtual void SetInputLimit(std::size_t) {}
};

// The application settings (a registry-like store of sections and keys).
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual int GetInt(const std::string& section, const std::string& key, int def) = 0;
    virtual void SetInt(const std::string& section, const std::string& key, int value) = 0;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& def) = 0;
    virtual void SetString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
};

enum class KtButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class KtIcon { None, Stop, Exclamation, Information, Question };
enum class KtAnswer { Ok, Cancel, Yes, No };

// Message boxes, status-bar text and the wait cursor.
class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    virtual KtAnswer MessageBox(const std::string& text, const std::string& caption,
                                KtButtons buttons, KtIcon icon) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// The progress window of a transfer: percent, message pumping and the cancel request.
class ITransferProgress {
public:
    virtual ~ITransferProgress() = default;
    virtual void SetPercent(int percent) = 0;
    virtual void PumpMessages() = 0;
    // True when the user asked to cancel since the last call; clears the request.
    virtual bool TakeCancelRequest() = 0;
};

class IBeeper {
public:
    virtual ~IBeeper() = default;
    virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;
};

struct CPlatformServices {
    IClock* clock = nullptr;
    ISettingsStore* settings = nullptr;
    IUserPrompts* prompts = nullptr;
    IBeeper* beeper = nullptr;
    std::function<std::unique_ptr<ISerialDevice>()> serialFactory;
    // Creates and shows the progress window; destroying it closes the window.
    std::function<std::unique_ptr<ITransferProgress>()> progressFactory;
    // Maps a port name ("COM3" or a device path) to the device to open.
    std::function<std::string(const std::string&)> portResolver;
};

// The services in use. Starts with a steady clock, in-memory settings, silent prompts that
// answer the first button, no beeps, no serial devices and no progress window.
CPlatformServices& Platform();
// Puts the defaults back (for tests).
void ResetPlatform();

// The default port resolver: "COMn" (also "COM n" and "COMn:") names the device stored under
// "CommPort"/"DeviceN" of the given settings, else /dev/ttyUSB(n-1); any other name is taken as a
// device path. On Windows a port name stays as it is.
std::string ResolvePortName(const std::string& name, ISettingsStore* settings);
// The same for port number n.
std::string ResolvePortName(int portNumber, ISettingsStore* settings);
// The device "COM<n>" stands for through the resolver in use: what the port menus show beside
// each number.
std::string PortDevice(int portNumber);

// The process-wide modal guard: clone commands, Save and every editor dialog run under it.
bool TryEnterModal();
void LeaveModal();
bool IsModalActive();

// Holds the guard for one scope when it could be taken.
class CModalScope {
public:
    CModalScope() : m_entered(TryEnterModal()) {}
    ~CModalScope() {
        if (m_entered) LeaveModal();
    }
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;
    bool Entered() const { return m_entered; }

private:
    bool m_entered;
};

// The prompts' wait cursor for one scope.
class CWaitCursor {
public:
    CWaitCursor() { Platform().prompts->BeginWaitCursor(); }
    ~CWaitCursor() { Platform().prompts->EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
