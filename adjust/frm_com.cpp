#include "adjust/frm_com.h"

#include <cstdio>

frmCom::frmCom(IClock* clock) : m_driver(clock) {
    m_driver.myObjCom(this);
    Reset();
}

frmCom::~frmCom() {
    if (!m_device) return;
    m_device->SetEventHandler(nullptr);
    if (m_device->IsOpen()) m_device->Close();
}

void frmCom::SetDevice(std::unique_ptr<ISerialDevice> device) {
    if (m_device) {
        m_device->SetEventHandler(nullptr);
        if (m_device->IsOpen()) m_device->Close();
    }
    m_open = false;
    m_device = std::move(device);
    takeDevice();
}

void frmCom::takeDevice() {
    if (!m_device) return;
    m_device->SetInputLimit(static_cast<std::size_t>(kInBufferSize));
    m_device->SetEventHandler([this](SerialEvent e) { OnDeviceEvent(e); });
}

void frmCom::Reset() {
    if (m_open && m_device) m_device->Close();
    m_open = false;
    m_comPortNum = 1;
    m_comBaud = 9600;
    m_errOverflow = false;
    m_errCannotOpen = false;
    m_lastErrorText.clear();
    m_driver.Reset();
}

bool frmCom::comOpen() const { return m_open && m_device && m_device->IsOpen(); }

std::string frmCom::PortName() const {
    if (!m_portDevice.empty()) return m_portDevice;
    char name[16];
    std::snprintf(name, sizeof name, "COM%d", m_comPortNum);
    if (Platform().portResolver) return Platform().portResolver(name);
    return ResolvePortName(name, Platform().settings);
}

void frmCom::comOpen(bool open) {
    if (open && !comOpen()) {
        if (!m_device && Platform().serialFactory) {
            m_device = Platform().serialFactory();
            takeDevice();
        }
        std::string error;
        if (m_device) {
            m_open = m_device->Open(PortName(), static_cast<unsigned>(m_comBaud), &error);
            if (m_open) {
                // Pseudo-terminals refuse the modem lines; the link works without them.
                m_device->SetDtr(true);
                m_device->SetRts(true);
            }
        }
        if (!m_open) {
            if (m_device && m_device->IsOpen()) m_device->Close();
            m_errCannotOpen = true;
            m_lastErrorText = m_device ? m_device->LastErrorText() : std::string();
        }
    } else if (!open && m_open) {
        if (m_device) {
            m_device->Purge();
            m_device->Close();
        }
        m_open = false;
    }
    m_driver.Reset();
}

void frmCom::comPortNum(int n) {
    if (n >= 1 && n <= 10) m_comPortNum = n;
}

bool frmCom::totalError() const {
    return m_driver.nowError() != 0 || m_errOverflow || m_errCannotOpen;
}

long frmCom::OutBufferCount() const {
    if (!comOpen()) return 0;
    const long n = m_device->BytesToWrite();
    return n < 0 ? kOutBufferSize : n;
}

void frmCom::Output(const ByteStr& bytes) {
    if (!comOpen() || bytes.empty()) return;
    // A failed write ends in "Cannot access COM" at the end of this run of the heartbeat.
    if (m_device->Write(bytes.data(), bytes.size()) != static_cast<long>(bytes.size())) {
        m_errCannotOpen = true;
        m_lastErrorText = m_device->LastErrorText();
    }
}

void frmCom::lineFailed() {
    m_errCannotOpen = true;
    m_lastErrorText = m_device->LastErrorText();
    comOpen(false);
}

void frmCom::timSolid_Timer() {
    if (m_inTimer) return;
    m_inTimer = true;
    if (comOpen()) {
        if (m_device->BytesAvailable() < 0) {
            lineFailed();
        } else {
            ByteStr chunk;
            std::uint8_t buf[512];
            for (;;) {
                const long n = m_device->Read(buf, sizeof buf);
                if (n <= 0) break;
                chunk.insert(chunk.end(), buf, buf + n);
            }
            if (!chunk.empty()) m_driver.read(std::move(chunk));
        }
    }
    m_driver.task();
    if (mainTask) mainTask();
    if (totalError()) {
        if (cloneError) cloneError();
        if (comOpen() && totalError()) comOpen(false);
    }
    m_inTimer = false;
    if (afterTimer) afterTimer();
}

void frmCom::OnComm(int event) {
    switch (event) {
    case 2:
        if (comOpen() && m_device->BytesAvailable() != 0) timSolid_Timer();
        break;
    case 1008:
        m_errOverflow = true;
        comOpen(false);
        break;
    case 1001:
    case 1002:
    case 1003:
    case 1004:
    case 1006:
    case 1007:
    case 1009:
    case 1010:
    case 1011:
        m_driver.ClearRxBuffer();
        break;
    default:
        break;
    }
}

void frmCom::OnDeviceEvent(SerialEvent event) {
    if (!comOpen()) return;
    switch (event) {
    case SerialEvent::BytesArrived:
        OnComm(2);
        return;
    case SerialEvent::Overflow:
        OnComm(1008);
        break;
    default:
        lineFailed();
        break;
    }
    timSolid_Timer();
}

void frmCom::AllOver() {
    comOpen(false);
    if (saveData) saveData(profMain);
}
