#include "sim/radio_model.h"

#include "core/ctext.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint8_t kPreamble = 0xFE, kEnd = 0xFD, kRadio = 0xEE, kPc = 0xEF;
constexpr std::uint8_t kInfoRequest = 0xE0, kInfoReply = 0xE1, kReadRequest = 0xE2,
                       kWriteRequest = 0xE3, kData = 0xE4, kEndFrame = 0xE5, kWriteResult = 0xE6,
                       kService = 0xE8;
constexpr char kEndText[] = "Norq Inc.";
constexpr char kBadEndText[] = "Norq Inc,";
constexpr char kComment[] = "NQ-Z30          SIMULATED RADIO ";
// Channel class code of byte 34 for variant / 2 (1, 2 and 16 channels).
constexpr std::uint8_t kClassCode[] = {3, 2, 0};
constexpr std::uint8_t kNoise[] = {0x00, 0x55, 0xAA, 0x13, 0x7F, 0xEF, 0xEE};

// The radio takes upper-case hex only.
int HexValue(std::uint8_t c) {
    return (c >= 'a' && c <= 'f') ? -1 : HexDigitValue(static_cast<char>(c));
}

// Upper-case hex text to bytes; false on any other character or an odd length.
bool DecodeHex(const std::vector<std::uint8_t>& text, std::vector<std::uint8_t>* out) {
    if (text.size() % 2) return false;
    out->clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out->push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return true;
}

void AppendHex(std::vector<std::uint8_t>* text, std::uint8_t v, bool lower) {
    char s[3];
    std::snprintf(s, sizeof s, lower ? "%02x" : "%02X", v);
    text->push_back(static_cast<std::uint8_t>(s[0]));
    text->push_back(static_cast<std::uint8_t>(s[1]));
}

std::uint8_t Checksum(const std::vector<std::uint8_t>& bytes) {
    unsigned sum = 0;
    for (auto b : bytes)
        sum += b;
    return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

} // namespace

CSimRadio::CSimRadio() : m_image(BlankImage()), m_pending(kImageSize) {}

CByteImage CSimRadio::BlankImage() {
    CByteImage image(kImageSize);
    constexpr std::uint8_t head[] = {0x58, 0x27, 0x01, 0x00};
    image.WriteBlock(0, head, sizeof head);
    image.WriteByte(7, 0xC3);
    image.WriteBlock(0x7F8, reinterpret_cast<const std::uint8_t*>("NORQ Inc"), 8);
    return image;
}

std::vector<std::uint8_t> CSimRadio::InfoData() const {
    std::vector<std::uint8_t> data(kComment, kComment + 32);
    data.resize(kInfoLength, 0);
    const int variant = m_identity.variant < 0   ? 0
                        : m_identity.variant > 5 ? 5
                                                 : m_identity.variant;
    data[33] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(m_identity.trType) |
                                         (m_identity.eepromGood ? 0x01 : 0x00));
    data[34] = static_cast<std::uint8_t>(kClassCode[variant / 2] << 4 | (variant & 1) << 1 |
                                         (m_identity.overVoltage ? 0x04 : 0x00));
    data[37] = static_cast<std::uint8_t>((m_identity.revision & 0xFF) % 10);
    return data;
}

void CSimRadio::Log(const char* who, const std::vector<std::uint8_t>& frame) {
    if (!m_log) return;
    *m_log << who;
    char s[4];
    for (auto b : frame) {
        std::snprintf(s, sizeof s, " %02X", b);
        *m_log << s;
    }
    *m_log << '\n';
    m_log->flush();
}

void CSimRadio::FromPc(const std::uint8_t* data, std::size_t n, std::vector<CSimWireByte>* out) {
    for (std::size_t i = 0; i < n; ++i) {
        if (m_faults.pullAfter >= 0 && m_dataFrames >= m_faults.pullAfter) m_pulled = true;
        if (m_pulled) return;
        const std::uint8_t b = data[i];
        if (!m_faults.noEcho) out->push_back({b, true});
        m_pcRaw.push_back(b);
        if (b == kPreamble) {
            m_pcBody.clear();
        } else if (b != kEnd) {
            m_pcBody.push_back(b);
        } else {
            Log("PC", m_pcRaw);
            const std::vector<std::uint8_t> body = m_pcBody;
            m_pcRaw.clear();
            m_pcBody.clear();
            HandlePcFrame(body, out);
        }
    }
}

bool CSimRadio::IdentityMatches(const std::vector<std::uint8_t>& body, bool withRevision) const {
    if (body.size() < 7) return false;
    if (body[3] != (m_identity.modelCode >> 8) || body[4] != (m_identity.modelCode & 0xFF))
        return false;
    return !withRevision || body[5] == (m_identity.revision >> 8);
}

void CSimRadio::CountDataFrame() {
    ++m_dataFrames;
    if (m_faults.stopAfter >= 0 && m_dataFrames >= m_faults.stopAfter) m_silent = true;
    if (m_faults.pullAfter >= 0 && m_dataFrames >= m_faults.pullAfter) m_pulled = true;
}

void CSimRadio::HandlePcFrame(const std::vector<std::uint8_t>& body,
                              std::vector<CSimWireByte>* out) {
    if (body.size() < 3 || body[0] != kRadio || body[1] != kPc) return;
    if (m_faults.stopAfter == 0) m_silent = true;
    if (m_faults.noAnswer || m_silent) return;
    const std::vector<std::uint8_t> payload(body.begin() + 3, body.end());
    switch (body[2]) {
    case kInfoRequest:
        if (IdentityMatches(body, false)) {
            std::vector<std::uint8_t> reply = {static_cast<std::uint8_t>(m_identity.modelCode >> 8),
                                               static_cast<std::uint8_t>(m_identity.modelCode),
                                               static_cast<std::uint8_t>(m_identity.revision >> 8),
                                               static_cast<std::uint8_t>(m_identity.revision)};
            const auto info = InfoData();
            reply.insert(reply.end(), info.begin(), info.end());
            SendFrame(kInfoReply, reply, out);
        }
        break;
    case kReadRequest:
        m_writing = false;
        if (IdentityMatches(body, false)) SendRead(out);
        break;
    case kWriteRequest:
        m_writing = IdentityMatches(body, false);
        m_writeGood = true;
        m_pending.CopyFrom(m_image);
        break;
    case kData:
        if (!m_writing) break;
        OnWriteData(payload);
        CountDataFrame();
        break;
    case kEndFrame:
        if (m_writing) OnWriteEnd(payload, out);
        break;
    case kService:
        if (body.size() >= 7) {
            const std::vector<std::uint8_t> service(body.begin() + 7, body.end());
            if (auto answer = m_service.Handle(service)) {
                std::vector<std::uint8_t> reply(body.begin() + 3, body.begin() + 7);
                reply.insert(reply.end(), answer->begin(), answer->end());
                SendFrame(kService, reply, out);
            }
        }
        break;
    default:
        break;
    }
}

void CSimRadio::SendFrame(std::uint8_t command, const std::vector<std::uint8_t>& payload,
                          std::vector<CSimWireByte>* out) {
    if (m_pulled || m_silent) return;
    if (m_faults.noise) {
        for (int i = 0; i < 3; ++i) {
            m_noiseSeed = m_noiseSeed * 1103515245u + 12345u;
            out->push_back({kNoise[(m_noiseSeed >> 16) % sizeof kNoise], false});
        }
    }
    std::vector<std::uint8_t> frame = {kPreamble, kPreamble, kPc, kRadio, command};
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(kEnd);
    Log("TR", frame);
    for (auto b : frame)
        out->push_back({b, false});
}

void CSimRadio::SendRead(std::vector<CSimWireByte>* out) {
    for (unsigned line = 0; line < kImageSize / kLineWidth; ++line) {
        if (m_silent || m_pulled) return;
        const int number = static_cast<int>(line) + 1;
        const unsigned address = line * kLineWidth;
        std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(address >> 8),
                                           static_cast<std::uint8_t>(address),
                                           static_cast<std::uint8_t>(kLineWidth)};
        for (unsigned i = 0; i < kLineWidth; ++i)
            bytes.push_back(m_image.ReadByte(address + i));
        if (number == m_faults.badCountFrame) bytes[2] = static_cast<std::uint8_t>(bytes[2] + 1);
        std::uint8_t sum = Checksum(bytes);
        if (number == m_faults.badChecksumFrame) sum = static_cast<std::uint8_t>(sum + 1);
        bytes.push_back(sum);
        std::vector<std::uint8_t> text;
        for (auto b : bytes)
            AppendHex(&text, b, m_faults.lowerHex);
        SendFrame(kData, text, out);
        CountDataFrame();
    }
    const char* end = m_faults.badEndText ? kBadEndText : kEndText;
    SendFrame(kEndFrame, std::vector<std::uint8_t>(end, end + std::strlen(end)), out);
}

void CSimRadio::OnWriteData(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> bytes;
    if (!DecodeHex(payload, &bytes) || bytes.size() < 4 || Checksum(bytes) != 0 ||
        bytes[2] != bytes.size() - 4) {
        m_writeGood = false;
        return;
    }
    const unsigned address = bytes[0] << 8 | bytes[1];
    if (!m_pending.WriteBlock(address, bytes.data() + 3, bytes[2])) m_writeGood = false;
}

void CSimRadio::OnWriteEnd(const std::vector<std::uint8_t>& payload,
                           std::vector<CSimWireByte>* out) {
    m_writing = false;
    const bool textGood = payload.size() == std::strlen(kEndText) &&
                          std::memcmp(payload.data(), kEndText, payload.size()) == 0;
    const bool good = textGood && m_writeGood && !m_faults.failWrite;
    if (good) {
        m_image.CopyFrom(m_pending);
        if (m_faults.corruptWrite >= 0) {
            const auto a = static_cast<std::uint32_t>(m_faults.corruptWrite);
            m_image.WriteByte(a, static_cast<std::uint8_t>(m_pending.ReadByte(a) ^ 0x01));
        }
        if (onImageWritten) onImageWritten(m_image);
    }
    SendFrame(kWriteResult, {static_cast<std::uint8_t>(good ? 0x00 : 0x01)}, out);
}
