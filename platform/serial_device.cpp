#include "platform/serial_device.h"

#include <QMetaObject>
#include <QSerialPort>

#ifndef _WIN32
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {
// Qt's errors that end the line; the others (a refused modem line, a poll that timed out) do not.
bool IsLineFailure(QSerialPort::SerialPortError e) {
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError ||
           e == QSerialPort::WriteError;
}

bool DeviceExists(const std::string& device) {
#ifdef _WIN32
    (void)device;
    return true;
#else
    return ::access(device.c_str(), F_OK) == 0;
#endif
}

// True when the line itself reports a hang-up or an error. A read that found nothing to read
// (the bytes were taken a moment earlier) looks like a read error to Qt, yet the line is fine.
bool LineBroken(const QSerialPort& port) {
#ifdef _WIN32
    (void)port;
    return true;
#else
    pollfd p{static_cast<int>(port.handle()), POLLIN, 0};
    return ::poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#endif
}
} // namespace

CQtSerialDevice::CQtSerialDevice() : m_port(std::make_unique<QSerialPort>()) {
    // Events leave the port's own signal first: the handler may close or read the port.
    QObject::connect(m_port.get(), &QSerialPort::readyRead, m_port.get(), [this] {
        if (m_inputLimit > 0 && static_cast<std::size_t>(m_port->bytesAvailable()) > m_inputLimit) {
            if (!m_overflowReported) Report(SerialEvent::Overflow);
            m_overflowReported = true;
        }
        Report(SerialEvent::BytesArrived);
    });
    QObject::connect(m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
                     [this](QSerialPort::SerialPortError e) { OnError(static_cast<int>(e)); });
}

CQtSerialDevice::~CQtSerialDevice() {
    m_handler = nullptr;
    Close();
}

void CQtSerialDevice::SetEventHandler(std::function<void(SerialEvent)> handler) {
    m_handler = std::move(handler);
}

void CQtSerialDevice::SetInputLimit(std::size_t bytes) {
    m_inputLimit = bytes;
    // The port keeps one byte more than the limit: enough to tell an overflow, and no more.
    m_port->setReadBufferSize(bytes > 0 ? static_cast<qint64>(bytes) + 1 : 0);
}

void CQtSerialDevice::Report(SerialEvent event) {
    if (!m_handler) return;
    QMetaObject::invokeMethod(
        m_port.get(),
        [this, event] {
            if (m_handler) m_handler(event);
        },
        Qt::QueuedConnection);
}

void CQtSerialDevice::OnError(int error) {
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (!m_port->isOpen() || !IsLineFailure(e)) return;
    if (e == QSerialPort::WriteError) {
        m_lastError = m_device + ": write error (" + m_port->errorString().toStdString() + ").";
        Report(SerialEvent::WriteError);
    } else if (e == QSerialPort::ReadError && DeviceExists(m_device) && !LineBroken(*m_port)) {
        m_port->clearError();
    } else if (e == QSerialPort::ResourceError || !DeviceExists(m_device)) {
        m_lastError = m_device + ": the device is gone (cable or adapter unplugged?).";
        Report(SerialEvent::DeviceLost);
    } else {
        // A read that ends the line (a hang-up) leaves no useful system text behind.
        m_lastError = m_device + ": the line was hung up or cannot be read.";
        Report(SerialEvent::ReadError);
    }
}

bool CQtSerialDevice::Open(const std::string& device, unsigned baud, std::string* error) {
    Close();
    m_device = device;
    m_lastError.clear();
    m_overflowReported = false;
    m_port->setPortName(QString::fromStdString(device));
    if (!m_port->open(QIODevice::ReadWrite)) {
        const std::string system = m_port->errorString().toStdString();
        std::string group;
        SerialOpenFailure why = ClassifyOpenFailure(device, &group);
        // Ours to open, yet refused: another program holds it (its lock or exclusive mode).
        if (why == SerialOpenFailure::Other && m_port->error() == QSerialPort::PermissionError)
            why = SerialOpenFailure::Busy;
        m_lastError = SerialFailureText(device, why, group, system);
        if (error) *error = system;
        m_port->clearError();
        return false;
    }
    const bool ok =
        m_port->setBaudRate(static_cast<qint32>(baud)) && m_port->setDataBits(QSerialPort::Data8) &&
        m_port->setParity(QSerialPort::NoParity) && m_port->setStopBits(QSerialPort::OneStop) &&
        m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        const std::string system = m_port->errorString().toStdString();
        m_lastError = SerialFailureText(device, SerialOpenFailure::Other, {}, system);
        if (error) *error = kSerialSettingError + (" " + system);
        m_port->close();
        return false;
    }
    return true;
}

void CQtSerialDevice::Close() {
    if (m_port->isOpen()) m_port->close();
    m_port->clearError();
}

bool CQtSerialDevice::IsOpen() const { return m_port->isOpen(); }

bool CQtSerialDevice::SetDtr(bool on) {
    const bool ok = m_port->setDataTerminalReady(on);
    if (!ok) m_port->clearError();
    return ok;
}

bool CQtSerialDevice::SetRts(bool on) {
    const bool ok = m_port->setRequestToSend(on);
    if (!ok) m_port->clearError();
    return ok;
}

void CQtSerialDevice::Purge() {
    if (!m_port->isOpen()) return;
    m_port->clear(QSerialPort::AllDirections);
    m_port->readAll();
    m_port->clearError();
}

bool CQtSerialDevice::Failed() const {
    const auto e = m_port->error();
    return IsLineFailure(e) || e == QSerialPort::NotOpenError;
}

long CQtSerialDevice::BytesAvailable() {
    if (!m_port->isOpen()) return -1;
    // Without an event loop the port fills its buffer only when asked; with events, the loop
    // fills it (a second reader of the line in between would find it empty).
    if (m_port->bytesAvailable() == 0 && !m_handler) m_port->waitForReadyRead(0);
    if (Failed()) return -1;
    return static_cast<long>(m_port->bytesAvailable());
}

long CQtSerialDevice::Read(std::uint8_t* buffer, std::size_t max) {
    if (!m_port->isOpen()) return -1;
    const qint64 n = m_port->read(reinterpret_cast<char*>(buffer), static_cast<qint64>(max));
    if (m_port->bytesAvailable() == 0) m_overflowReported = false;
    return n < 0 ? -1 : static_cast<long>(n);
}

long CQtSerialDevice::Write(const std::uint8_t* data, std::size_t count) {
    if (!m_port->isOpen()) return -1;
    const qint64 n = m_port->write(reinterpret_cast<const char*>(data), static_cast<qint64>(count));
    if (n != static_cast<qint64>(count)) return -1;
    while (m_port->bytesToWrite() > 0)
        if (!m_port->waitForBytesWritten(3000)) return -1;
    return static_cast<long>(n);
}

bool CQtSerialDevice::WaitForInput(int ms) {
    if (!m_port->isOpen()) return false;
    if (m_port->bytesAvailable() > 0) return true;
    return m_port->waitForReadyRead(ms) || m_port->bytesAvailable() > 0;
}

long CQtSerialDevice::BytesToWrite() {
    return m_port->isOpen() ? static_cast<long>(m_port->bytesToWrite()) : -1;
}

std::unique_ptr<ISerialDevice> MakeQtSerialDevice() { return std::make_unique<CQtSerialDevice>(); }

std::string SerialFailureText(const std::string& device, SerialOpenFailure why,
                              const std::string& group, const std::string& systemText) {
    switch (why) {
    case SerialOpenFailure::NoDevice:
        return device + ": no such device.";
    case SerialOpenFailure::PermissionDenied:
        return device +
               ": permission denied. The user must be in the group that owns the device (" +
               (group.empty() ? std::string("usually dialout") : group) + ").";
    case SerialOpenFailure::Busy:
        return device + ": device busy (another program is using it).";
    default:
        return device + ": " +
               (systemText.empty() ? std::string("cannot open.") : systemText + ".");
    }
}

SerialOpenFailure ClassifyOpenFailure(const std::string& device, std::string* group) {
#ifdef _WIN32
    (void)device;
    (void)group;
    return SerialOpenFailure::Other;
#else
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? SerialOpenFailure::NoDevice
                                                   : SerialOpenFailure::Other;
    if (group) {
        if (const struct group* g = ::getgrgid(st.st_gid)) *group = g->gr_name;
    }
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
        return SerialOpenFailure::PermissionDenied;
    return SerialOpenFailure::Other;
#endif
}
