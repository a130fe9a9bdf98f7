#include "clone/clone_protocol.h"

#include <cstring>

namespace {

bool ReadRawLine(std::FILE* f, std::string* line) {
    line->clear();
    int c = std::fgetc(f);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        line->push_back(static_cast<char>(c));
        c = std::fgetc(f);
    }
    return true;
}

std::string Trimmed(const std::string& s) {
    const char* ws = " \t\r\n\v\f";
    const auto first = s.find_first_not_of(ws);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(ws) - first + 1);
}

std::uint8_t Checksum(const CByteString& decoded) {
    unsigned sum = 0;
    for (std::uint16_t i = 0; i < decoded.Length(); ++i)
        sum += decoded.Data()[i];
    return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

constexpr const char* kEchoDiffers = "the echo differs from what was sent";

CByteString Body(std::uint8_t command) {
    CByteString b;
    b.Append(CCloneProtocol::kRadio);
    b.Append(CCloneProtocol::kPc);
    b.Append(command);
    return b;
}

} // namespace

CCloneProtocol::~CCloneProtocol() { CloseTransferFile(); }

std::string CCloneProtocol::PortName() const {
    if (!m_portName.empty()) return m_portName;
    char name[16];
    std::snprintf(name, sizeof name, "COM%u", m_portNumber);
    return name;
}

void CCloneProtocol::SetModelCode(std::uint16_t code) {
    m_modelCode[0] = static_cast<std::uint8_t>(code >> 8);
    m_modelCode[1] = static_cast<std::uint8_t>(code);
}

void CCloneProtocol::SetRevision(std::uint16_t revision) {
    m_revision[0] = static_cast<std::uint8_t>(revision >> 8);
    m_revision[1] = static_cast<std::uint8_t>(revision);
}

IClock& CCloneProtocol::Clock() const { return *Platform().clock; }

std::uint64_t CCloneProtocol::Seconds() const { return Clock().NowMs() / 1000; }

void CCloneProtocol::CloseTransferFile() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

void CCloneProtocol::Fail(int status, const char* reason) {
    if (m_status != kRunning) return;
    m_status = status;
    m_failReason = reason;
}

void CCloneProtocol::ReportError(const std::string& text, int code) {
    // A failing open port is told once, not at every poll (as its message box).
    if (m_observer && !(IsOpen() && IoFailed())) m_observer->PortError(text);
    CComPort::ReportError(text, code);
}

int CCloneProtocol::CloneRead(const char* statusText) {
    if (Platform().prompts) Platform().prompts->SetStatusText(statusText);
    CloseTransferFile();
    m_file = std::fopen(m_transferPath.c_str(), "w+");
    if (!m_file) return kTransferError;
    CByteString header;
    header.Append(m_modelCode, 2);
    header.Append(m_revision, 2);
    const CByteString hex = header.HexEncoded();
    if (std::fwrite(hex.Data(), 1, hex.Length(), m_file) != hex.Length() ||
        std::fputs("\n#\n", m_file) < 0 || std::fflush(m_file) != 0) {
        CloseTransferFile();
        return kTransferError;
    }
    m_writeMode = false;
    int result = TransferLoop(kTransferRead);
    const bool flushed = std::fflush(m_file) == 0;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (result == kOk && !(flushed && closed)) result = kTransferError;
    return result;
}

int CCloneProtocol::CloneWrite() {
    if (Platform().prompts) Platform().prompts->SetStatusText(" Now writing -> TR");
    CloseTransferFile();
    m_file = std::fopen(m_transferPath.c_str(), "r");
    if (!m_file) return kTransferError;
    // The header counts as a line, so the total is one more than the data lines.
    m_totalLines = 0;
    std::string line;
    while (ReadRawLine(m_file, &line)) {
        line = Trimmed(line);
        if (line.empty()) break;
        if (line[0] != '#') ++m_totalLines;
    }
    std::rewind(m_file);
    if (!ReadRawLine(m_file, &line) || line.size() < 8) {
        CloseTransferFile();
        return kTransferError;
    }
    m_writeMode = true;
    const int result = TransferLoop(kTransferWrite);
    CloseTransferFile();
    m_writeMode = false;
    return result;
}

int CCloneProtocol::CloneInfo() {
    m_writeMode = false;
    return TransferLoop(kTransferInfo);
}

int CCloneProtocol::TransferLoop(int type) {
    m_type = type;
    m_status = kRunning;
    m_timeoutCode = kNoEcho;
    m_frameCounter = 0;
    m_endEchoSeen = false;
    m_accumulator.Clear();
    m_lastFrame.Clear();
    m_lastSent.Clear();
    m_linesReceived.reset();
    m_failReason = "";
    m_rawFrame.clear();
    if (type == kTransferInfo) m_info = CCloneInfoReply{};

    std::unique_ptr<ITransferProgress> progress;
    if (type != kTransferInfo && Platform().progressFactory)
        progress = Platform().progressFactory();

    if (m_observer)
        m_observer->TransferStarted(
            type, PortName(), static_cast<std::uint16_t>(m_modelCode[0] << 8 | m_modelCode[1]),
            type == kTransferInfo ? std::uint16_t{0}
                                  : static_cast<std::uint16_t>(m_revision[0] << 8 | m_revision[1]));
    if (!Open(PortName(), kBaud)) {
        progress.reset();
        if (m_observer) m_observer->TransferEnded(kNoPort, m_status, "the port cannot be opened");
        return kNoPort;
    }
    IClock& clock = Clock();
    clock.SleepMs(kRequestPauseMs);
    const std::uint8_t command = type == kTransferRead    ? kReadRequest
                                 : type == kTransferWrite ? kWriteRequest
                                                          : kInfoRequest;
    CByteString request = Body(command);
    request.Append(m_modelCode, 2);
    if (type == kTransferInfo) {
        request.Append(std::uint8_t{0});
        request.Append(std::uint8_t{0});
    } else {
        request.Append(m_revision, 2);
    }
    Send(request);
    clock.SleepMs(kRequestPauseMs);

    m_timeoutCode = kNoEcho;
    m_frameCounter = 0;
    std::uint64_t noted = Seconds();
    m_status = kRunning;
    while (m_status == kRunning) {
        std::uint8_t byte = 0;
        std::size_t got = 0;
        if (Read(&byte, 1, &got) && got == 1) {
            if (ReceiveByte(byte)) noted = Seconds();
        } else if (IoFailed()) {
            clock.SleepMs(kPollWaitMs); // a failed port returns at once: do not spin on it
        } else {
            WaitForInput(kPollWaitMs);
        }
        if (progress) {
            progress->SetPercent(Percent());
            progress->PumpMessages();
            if (progress->TakeCancelRequest()) Fail(kCancelled, "cancelled");
        }
        if (Seconds() - noted > kFrameTimeoutS)
            Fail(m_timeoutCode,
                 m_timeoutCode == kNoEcho ? "no echo in time" : "no answer after the echo");
    }

    const int result = m_status == kFinished    ? kOk
                       : m_status == kCancelled ? kResultCancelled
                                                : kFailed;
    Close();
    if (m_observer) m_observer->TransferEnded(result, m_status, m_failReason);
    if (progress) {
        clock.SleepMs(kClosePauseMs);
        progress.reset();
    }
    return result;
}

int CCloneProtocol::Percent() const {
    const unsigned total = m_type == kTransferWrite ? m_totalLines : m_expectedFrames;
    if (m_frameCounter == 0 || total == 0) return 0;
    const unsigned p = m_frameCounter * 100u / total;
    return p > 100 ? 100 : static_cast<int>(p);
}

void CCloneProtocol::Send(const CByteString& body) {
    CByteString frame;
    frame.Append(kPreamble);
    frame.Append(kPreamble);
    frame.Append(body);
    frame.Append(kEnd);
    m_lastSent = body;
    const int written = Write(frame.Data(), frame.Length());
    if (m_observer)
        m_observer->FrameSent(frame.Data(), frame.Length(), written ? "" : "write error");
}

bool CCloneProtocol::ReceiveByte(std::uint8_t byte) {
    if (m_observer) m_rawFrame.push_back(byte);
    if (byte == kPreamble) {
        m_accumulator.Clear();
        return false;
    }
    if (byte != kEnd) {
        m_accumulator.Append(byte);
        return false;
    }
    m_lastFrame = m_accumulator;
    m_accumulator.Clear();
    const bool handled = m_lastFrame.Length() >= 3;
    if (m_observer) {
        m_observer->FrameReceived(m_rawFrame.data(), m_rawFrame.size());
        m_rawFrame.clear();
    }
    if (handled) HandleFrame(m_lastFrame);
    if (m_observer) m_observer->FrameHandled(m_status, m_failReason);
    return handled;
}

void CCloneProtocol::HandleFrame(const CByteString& body) {
    if (body[0] == kRadio && body[1] == kPc)
        OnEcho(body);
    else if (body[0] == kPc || body[1] == kRadio)
        OnRadioFrame(body);
}

void CCloneProtocol::OnEcho(const CByteString& echo) {
    switch (echo[2]) {
    case kInfoRequest:
    case kReadRequest:
        if (echo != m_lastSent) Fail(kProtocolError, kEchoDiffers);
        m_timeoutCode = kNoAnswer;
        if (echo[2] == kReadRequest) m_frameCounter = 0;
        break;
    case kWriteRequest:
        Clock().SleepMs(kRequestPauseMs);
        m_frameCounter = 0;
        WriteStep(echo);
        break;
    case kData:
        WriteStep(echo);
        break;
    case kEndFrame:
        if (echo != m_lastSent)
            Fail(kProtocolError, kEchoDiffers);
        else if (m_writeMode)
            m_endEchoSeen = true;
        else
            Fail(kFinished);
        break;
    default:
        break;
    }
}

void CCloneProtocol::OnRadioFrame(const CByteString& body) {
    switch (body[2]) {
    case kInfoReply:
        OnRadioInfo(body);
        break;
    case kData:
        OnRadioData(body);
        break;
    case kEndFrame:
        OnRadioEnd(body);
        break;
    case kWriteResult:
        OnRadioWriteResult(body);
        break;
    default:
        break;
    }
}

void CCloneProtocol::OnRadioInfo(const CByteString& body) {
    if (m_type != kTransferInfo) return Fail(kProtocolError, "an info reply out of turn");
    if (body.Length() < 7 + kInfoDataLength) return Fail(kProtocolError, "info reply too short");
    for (std::uint16_t i = 7; i < body.Length(); ++i)
        if (body[i] >= 0xF0) return Fail(kProtocolError, "an info byte of F0 or more");
    m_info.modelCode = static_cast<std::uint16_t>(body[3] << 8 | body[4]);
    m_info.revision = static_cast<std::uint16_t>(body[5] << 8 | body[6]);
    m_info.dataLength = static_cast<std::uint16_t>(body.Length() - 7);
    std::memcpy(m_info.data, body.Data() + 7, m_info.dataLength);
    Fail(kFinished);
}

void CCloneProtocol::OnRadioData(const CByteString& body) {
    if (m_type != kTransferRead) return Fail(kProtocolError, "a data frame out of turn");
    const CByteString text = body.Mid(3, CByteString::kCapacity);
    if (!text.IsUpperHex() || text.Length() % 2 != 0)
        return Fail(kProtocolError, "not upper-case hex");
    const CByteString decoded = text.HexDecoded();
    if (decoded.Length() < 4 || Checksum(decoded) != 0) return Fail(kProtocolError, "bad checksum");
    const unsigned count = decoded[2];
    if (count != decoded.Length() - 4u) return Fail(kProtocolError, "count differs from the data");
    const CByteString line = decoded.Mid(0, static_cast<std::uint16_t>(3 + count)).HexEncoded();
    if (!m_file || std::fwrite(line.Data(), 1, line.Length(), m_file) != line.Length() ||
        std::fputc('\n', m_file) == EOF)
        return Fail(kProtocolError, "the transfer file cannot be written");
    const unsigned address = decoded[0] << 8 | decoded[1];
    if (address % kLineWidth == 0 && count == kLineWidth && address / kLineWidth < kImageLines)
        m_linesReceived.set(address / kLineWidth);
    ++m_frameCounter;
}

void CCloneProtocol::OnRadioEnd(const CByteString& body) {
    if (m_type != kTransferRead) return Fail(kProtocolError, "an end frame out of turn");
    if (body.Length() != 12 || std::memcmp(body.Data() + 3, kEndText, 9) != 0)
        return Fail(kProtocolError, "wrong end text");
    // Only a whole image is a good read.
    if (!m_linesReceived.all()) return Fail(kProtocolError, "lines of the image are missing");
    Fail(kFinished);
    m_frameCounter = static_cast<std::uint16_t>(m_expectedFrames);
}

void CCloneProtocol::OnRadioWriteResult(const CByteString& body) {
    if (m_type != kTransferWrite || !m_writeMode || !m_endEchoSeen)
        return Fail(kProtocolError, "a write result out of turn");
    if (body[3] != 0x00) return Fail(kProtocolError, "the radio did not store the data");
    Fail(kFinished);
}

bool CCloneProtocol::NextDataLine(std::string* line) {
    std::string raw;
    while (m_file && ReadRawLine(m_file, &raw)) {
        *line = Trimmed(raw);
        if (line->empty()) return false;
        if ((*line)[0] != '#') return true;
    }
    return false;
}

void CCloneProtocol::WriteStep(const CByteString& echo) {
    if (echo != m_lastSent) return Fail(kProtocolError, kEchoDiffers);
    std::string line;
    if (NextDataLine(&line)) {
        CByteString text(line.c_str());
        const unsigned count = text.Mid(4, 2).HexDecoded()[0];
        text = text.Mid(0, static_cast<std::uint16_t>(6 + 2 * count));
        CByteString body = Body(kData);
        body.Append(text);
        body.Append(CByteString::HexOf(Checksum(text.HexDecoded())));
        Send(body);
        ++m_frameCounter;
    } else {
        CByteString body = Body(kEndFrame);
        body.Append(kEndText);
        Send(body);
        m_frameCounter = static_cast<std::uint16_t>(m_totalLines);
    }
    m_timeoutCode = kNoEcho;
}
