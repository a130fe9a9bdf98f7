#include "platform/serial_device.h"

#include <QSerialPort>

CQtSerialDevice::CQtSerialDevice() : m_port(std::make_unique<QSerialPort>()) {}

CQtSerialDevice::~CQtSerialDevice() { Close(); }

bool CQtSerialDevice::Open(const std::string& device, unsigned baud, std::string* error) {
    Close();
    m_port->setPortName(QString::fromStdString(device));
    if (!m_port->open(QIODevice::ReadWrite)) {
        if (error) *error = m_port->errorString().toStdString();
        return false;
    }
    const bool ok =
        m_port->setBaudRate(static_cast<qint32>(baud)) && m_port->setDataBits(QSerialPort::Data8) &&
        m_port->setParity(QSerialPort::NoParity) && m_port->setStopBits(QSerialPort::OneStop) &&
        m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        if (error) *error = kSerialSettingError + (" " + m_port->errorString().toStdString());
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
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError ||
           e == QSerialPort::WriteError || e == QSerialPort::NotOpenError;
}

long CQtSerialDevice::BytesAvailable() {
    if (!m_port->isOpen()) return -1;
    // Without an event loop the port fills its buffer only when asked.
    if (m_port->bytesAvailable() == 0) m_port->waitForReadyRead(0);
    if (Failed()) return -1;
    return static_cast<long>(m_port->bytesAvailable());
}

long CQtSerialDevice::Read(std::uint8_t* buffer, std::size_t max) {
    if (!m_port->isOpen()) return -1;
    const qint64 n = m_port->read(reinterpret_cast<char*>(buffer), static_cast<qint64>(max));
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
