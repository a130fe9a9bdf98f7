#include "clone/clone_trace.h"

#include "core/ctext.h"
#include "core/files.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

constexpr std::uint8_t kPreamble = CCloneProtocol::kPreamble, kEnd = CCloneProtocol::kEnd;

void AppendHexByte(std::string& out, std::uint8_t b) {
    out.push_back(kUpperHexDigits[b >> 4]);
    out.push_back(kUpperHexDigits[b & 0xF]);
}

std::string Hex16(unsigned v) {
    std::string s;
    AppendHexByte(s, static_cast<std::uint8_t>(v >> 8));
    AppendHexByte(s, static_cast<std::uint8_t>(v));
    return s;
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string s;
    s.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i) s.push_back(' ');
        AppendHexByte(s, bytes[i]);
    }
    return s;
}

// The frame body as the engine classifies it: after the last preamble byte, without the
// terminator. stray: the bytes before the first preamble byte.
struct CBody {
    const std::uint8_t* data;
    std::size_t length;
    std::size_t stray;
};

CBody BodyOf(const std::uint8_t* bytes, std::size_t count) {
    std::size_t end = count;
    if (end > 0 && bytes[end - 1] == kEnd) --end;
    std::size_t start = 0, first = count;
    for (std::size_t i = 0; i < end; ++i) {
        if (bytes[i] != kPreamble) continue;
        start = i + 1;
        if (first == count) first = i;
    }
    return {bytes + start, end - start, first == count ? 0 : first};
}

// Model code and revision in a request or reply: "5827 rev 0100".
std::string Identity(const CBody& b) {
    if (b.length < 7) return {};
    return " " + Hex16(static_cast<unsigned>(b.data[3] << 8 | b.data[4])) + " rev " +
           Hex16(static_cast<unsigned>(b.data[5] << 8 | b.data[6]));
}

std::string PayloadText(const CBody& b) {
    std::string s;
    for (std::size_t i = 3; i < b.length; ++i)
        s.push_back(b.data[i] >= 0x20 && b.data[i] < 0x7F ? static_cast<char>(b.data[i]) : '.');
    return s;
}

std::string Padded(std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

const char* TypeName(int type) {
    switch (type) {
    case CCloneProtocol::kTransferRead:
        return "read";
    case CCloneProtocol::kTransferWrite:
        return "write";
    case CCloneProtocol::kTransferInfo:
        return "info";
    default:
        return "transfer";
    }
}

} // namespace

std::string DescribeFrame(const std::uint8_t* bytes, std::size_t count) {
    const CBody b = BodyOf(bytes, count);
    std::string text;
    if (b.length < 3) {
        text = "short frame, ignored";
    } else {
        const std::uint8_t command = b.data[2];
        text = Hex16(command).substr(2);
        switch (command) {
        case CCloneProtocol::kInfoRequest:
            text += " info request";
            if (b.length >= 5)
                text += " " + Hex16(static_cast<unsigned>(b.data[3] << 8 | b.data[4]));
            break;
        case CCloneProtocol::kInfoReply:
            text += " info reply" + Identity(b);
            break;
        case CCloneProtocol::kReadRequest:
            text += " read request" + Identity(b);
            break;
        case CCloneProtocol::kWriteRequest:
            text += " write request" + Identity(b);
            break;
        case CCloneProtocol::kData: {
            // The text begins with the address (4 characters) and the count (2).
            const std::string payload = PayloadText(b);
            text += " data";
            if (payload.size() >= 6) {
                const int count = HexDigitValue(payload[4]) * 16 + HexDigitValue(payload[5]);
                text += " " + payload.substr(0, 4) + " +" + std::to_string(count < 0 ? 0 : count);
            }
            break;
        }
        case CCloneProtocol::kEndFrame:
            text += " end \"" + PayloadText(b) + "\"";
            break;
        case CCloneProtocol::kWriteResult:
            text += " write result";
            if (b.length >= 4) text += " " + Hex16(b.data[3]).substr(2);
            break;
        case 0xE8:
            text += " service";
            break;
        default:
            text += " unknown command";
            break;
        }
    }
    if (b.stray) text += " (" + std::to_string(b.stray) + " stray bytes before)";
    return text;
}

std::string FrameDirection(bool sent, const std::uint8_t* bytes, std::size_t count) {
    if (sent) return "PC>TR";
    const CBody b = BodyOf(bytes, count);
    if (b.length >= 2 && b.data[0] == CCloneProtocol::kRadio && b.data[1] == CCloneProtocol::kPc)
        return "echo";
    if (b.length >= 2 && (b.data[0] == CCloneProtocol::kPc || b.data[1] == CCloneProtocol::kRadio))
        return "TR>PC";
    return "?";
}

std::string TraceTime(std::chrono::system_clock::time_point t) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count() % 1000;
    const std::tm local = LocalTime(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(ms < 0 ? ms + 1000 : ms));
    return text;
}

CCloneTrace::~CCloneTrace() {
    if (m_file) std::fclose(m_file);
}

bool CCloneTrace::OpenFile(const std::string& path, std::string* error) {
    if (m_file) std::fclose(m_file);
    errno = 0;
    m_path = path;
    m_fileError.clear();
    if (IsLinkToNothing(path)) { // fopen would make the file the link names
        if (error) *error = "cannot write " + path + ": it is a symbolic link to nothing";
        return false;
    }
    m_file = std::fopen(path.c_str(), "w");
    if (!m_file && error)
        *error = "cannot write " + path + ": " + (errno ? std::strerror(errno) : "unknown error");
    return m_file != nullptr;
}

bool CCloneTrace::SaveTo(const std::string& path, std::string* error) const {
    std::string text;
    for (const std::string& line : m_lines)
        text += line + '\n';
    return ReplaceFile(path, text, error);
}

void CCloneTrace::Add(Time time, const std::string& text) {
    const std::string line = TraceTime(time) + " " + text;
    if (m_file && (std::fputs(line.c_str(), m_file) == EOF || std::fputc('\n', m_file) == EOF))
        FileFailed();
    if (m_keep == 0) return;
    m_lines.push_back(line);
    while (m_lines.size() > m_keep)
        m_lines.pop_front();
}

void CCloneTrace::Flush() {
    if (m_file && std::fflush(m_file) != 0) FileFailed();
}

void CCloneTrace::FileFailed() {
    if (m_fileError.empty())
        m_fileError =
            "cannot write " + m_path + ": " + (errno ? std::strerror(errno) : "write error");
}

void CCloneTrace::TransferStarted(int type, const std::string& port, std::uint16_t modelCode,
                                  std::uint16_t revision) {
    std::string text =
        "----- " + std::string(TypeName(type)) + " on " + port + ", model " + Hex16(modelCode);
    if (type != CCloneProtocol::kTransferInfo) text += " rev " + Hex16(revision);
    Add(Now(), text);
}

namespace {
// One frame's line after the time: direction, what it is, what became of it, its bytes.
std::string FrameLine(const std::string& from, const std::string& what, const std::string& result,
                      const std::string& bytes) {
    return Padded(from, 5) + " " + Padded(what, 36) + " " + Padded(result, 10) + " " + bytes;
}
} // namespace

void CCloneTrace::FrameSent(const std::uint8_t* bytes, std::size_t count, const char* failure) {
    const std::string line =
        FrameLine(FrameDirection(true, bytes, count), DescribeFrame(bytes, count),
                  failure && *failure ? failure : "sent", HexBytes(bytes, count));
    if (m_receiving)
        m_sentMeanwhile.emplace_back(Now(), line);
    else
        Add(Now(), line);
}

void CCloneTrace::FrameReceived(const std::uint8_t* bytes, std::size_t count) {
    m_receiving = true;
    m_received = Now();
    m_receivedFrom = FrameDirection(false, bytes, count);
    m_receivedWhat = DescribeFrame(bytes, count);
    m_receivedBytes = HexBytes(bytes, count);
}

void CCloneTrace::FrameHandled(int status, const char* reason) {
    if (!m_receiving) return;
    m_receiving = false;
    std::string result = "ok";
    if (status == CCloneProtocol::kFinished)
        result = "finished";
    else if (status != CCloneProtocol::kRunning)
        result = "error " + std::to_string(status) +
                 (reason && *reason ? ": " + std::string(reason) : std::string());
    Add(m_received, FrameLine(m_receivedFrom, m_receivedWhat, result, m_receivedBytes));
    for (const auto& [time, line] : m_sentMeanwhile)
        Add(time, line);
    m_sentMeanwhile.clear();
}

void CCloneTrace::TransferEnded(int result, int status, const char* reason) {
    std::string text = "----- result " + std::to_string(result);
    if (reason && *reason) text += ": " + std::string(reason);
    if (status >= CCloneProtocol::kProtocolError)
        text += " (status " + std::to_string(status) + ")";
    Add(Now(), text);
    Flush();
}

void CCloneTrace::PortError(const std::string& text) {
    std::string oneLine;
    for (char c : text)
        oneLine += c == '\n' ? std::string(" / ") : std::string(1, c);
    Add(Now(), "----- port error:" + oneLine);
    Flush();
}
