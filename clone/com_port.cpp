#include "clone/com_port.h"

#include <algorithm>

namespace {
// A message of the port with the system's reason on a line of its own, when there is one.
std::string WithReason(const char* text, const ISerialDevice* device) {
    const std::string reason = device ? device->LastErrorText() : std::string();
    return reason.empty() ? std::string(text) : text + ("\n" + reason);
}
} // namespace

CComPort::~CComPort() { Close(); }

int CComPort::Open(const std::string& name, unsigned baud) {
    if (m_device) return 1;
    m_name = name;
    m_baud = baud;
    m_ioErrorShown = false;
    m_device = CreateHandle(name, baud, kQueueSize);
    if (!m_device) {
        Close();
        return 0;
    }
    return 1;
}

std::unique_ptr<ISerialDevice> CComPort::CreateHandle(const std::string& name, unsigned baud,
                                                      unsigned /*queueSize*/) {
    const auto& services = Platform();
    std::unique_ptr<ISerialDevice> device;
    if (services.serialFactory) device = services.serialFactory();
    if (!device) {
        ReportError(" not Open ", 0);
        return nullptr;
    }
    const std::string path = services.portResolver ? services.portResolver(name) : name;
    std::string error;
    if (!device->Open(path, baud, &error)) {
        // The device names a refused line setting with this prefix; anything else is an open
        // failure (missing device, port in use).
        const bool setting = error.rfind(kSerialSettingError, 0) == 0;
        ReportError(WithReason(setting ? " invarid setting " : " not Open ", device.get()), 0);
        device->Close();
        return nullptr;
    }
    device->Purge();
    // A pseudo-terminal has no modem lines; the refusal is harmless.
    device->SetDtr(false);
    device->SetRts(true);
    return device;
}

void CComPort::Close() {
    if (!m_device) return;
    CloseHandle(*m_device);
    m_device.reset();
}

void CComPort::CloseHandle(ISerialDevice& device) {
    device.Purge();
    device.Close();
}

int CComPort::Write(const std::uint8_t* bytes, std::size_t count) {
    if (!m_device) return 0;
    if (count == 0) return 1;
    const long n = m_device->Write(bytes, count);
    if (n != static_cast<long>(count)) {
        ReportError(WithReason(" write error ", m_device.get()), 0);
        return 0;
    }
    return 1;
}

int CComPort::Read(std::uint8_t* buffer, std::size_t wanted, std::size_t* countRead) {
    if (countRead) *countRead = 0;
    if (!m_device) return 0;
    const long waiting = m_device->BytesAvailable();
    if (waiting < 0) {
        ReportError(WithReason(" read error ", m_device.get()), 0);
        return 0;
    }
    const std::size_t n = std::min<std::size_t>({static_cast<std::size_t>(waiting), 256, wanted});
    if (n == 0) return 0;
    const long got = m_device->Read(buffer, n);
    if (got < 0) {
        ReportError(WithReason(" read error ", m_device.get()), 0);
        return 0;
    }
    if (countRead) *countRead = static_cast<std::size_t>(got);
    return 1;
}

void CComPort::Flush() {
    // Writes are synchronous: nothing is left in a buffer of ours.
}

void CComPort::ReportError(const std::string& text, int /*code*/) {
    const bool ioError = m_device != nullptr;
    if (ioError && m_ioErrorShown) return;
    if (ioError) m_ioErrorShown = true;
    if (Platform().prompts)
        Platform().prompts->MessageBox(text, kErrorCaption, KtButtons::Ok, KtIcon::Exclamation);
}

bool CComPort::WaitForInput(int ms) { return m_device && m_device->WaitForInput(ms); }
