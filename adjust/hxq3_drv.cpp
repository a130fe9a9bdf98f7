#include "adjust/hxq3_drv.h"

#include <algorithm>

#include "adjust/eeprom.h"

namespace {

constexpr std::uint8_t kPreamble = 0xFE;
constexpr std::uint8_t kEnd = 0xFD;
constexpr std::uint8_t kRadio = 0xEE;
constexpr std::uint8_t kPc = 0xEF;
constexpr const char* kEndTextHex = "4E6F727120496E632E"; // "Norq Inc."

int hexValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Four bytes whose eight hex digits form a decimal number (binary-coded decimal).
bool isBcd(const ByteStr& body, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if ((body[i] >> 4) > 9 || (body[i] & 0x0F) > 9) return false;
    return true;
}

} // namespace

clsCmcHxq3Drv::clsCmcHxq3Drv(IClock* clock) : m_answerTimer(clock) { Reset(); }

void clsCmcHxq3Drv::workMode(std::int16_t mode) {
    m_workMode = mode;
    m_varLastE8Answer.clear();
    m_lastEeAdr = 0;
    m_waitAnswer = mode == 1 || mode == 2;
    if (mode == 1) m_ansInfo.clear();
    if (mode == 2) m_covered.assign(m_eep ? m_eep->eeSize() : 0, false);
}

void clsCmcHxq3Drv::myEep(clsCmcEeprom* eep) {
    m_eep = eep;
    m_covered.assign(eep ? eep->eeSize() : 0, false);
}

void clsCmcHxq3Drv::nowError(std::int16_t e) {
    m_nowError = e;
    if (e != 0) m_lastError = e;
    stopWaiting();
}

bool clsCmcHxq3Drv::SendEnable() const {
    return m_sendIdle && m_com && m_com->comSendEnable() &&
           m_com->OutBufferSize() - m_com->OutBufferCount() >= kMinOutputRoom;
}

bool clsCmcHxq3Drv::ImageComplete() const {
    return !m_covered.empty() &&
           std::all_of(m_covered.begin(), m_covered.end(), [](bool b) { return b; });
}

std::int16_t clsCmcHxq3Drv::Send(const ByteStr& data) {
    m_retriesLeft = m_retryCount;
    return RealSend(data);
}

std::int16_t clsCmcHxq3Drv::RetrySend() {
    if (m_retriesLeft <= 0) return 1;
    stopWaiting();
    const ByteStr data = m_lastData;
    const std::int16_t r = RealSend(data);
    --m_retriesLeft;
    return r;
}

std::int16_t clsCmcHxq3Drv::RealSend(const ByteStr& data) {
    if (!SendEnable() || !m_txPacket.empty()) return 1;
    m_lastData = data;
    m_txPacket = {kPreamble, kPreamble, kRadio, kPc};
    m_txPacket.insert(m_txPacket.end(), data.begin(), data.end());
    m_txPacket.push_back(kEnd);
    if (m_workMode == 5) m_expectedE8Tag = data.size() >= 6 ? data[5] : 0;
    m_com->Output(m_txPacket);
    m_sendIdle = false;
    if (waitEcho()) {
        setTimerMode(1);
        m_running = true;
    } else if (m_waitAnswer) {
        setTimerMode(2);
        m_running = true;
    } else {
        stopWaiting();
    }
    // A frame without an answer is not waited for at all, not even for its echo.
    if (!m_waitAnswer) stopWaiting();
    return 0;
}

void clsCmcHxq3Drv::appendRx(const std::uint8_t* begin, const std::uint8_t* end) {
    m_rxBuffer.insert(m_rxBuffer.end(), begin, end);
    if (m_rxBuffer.size() > kRxLimit)
        m_rxBuffer.erase(m_rxBuffer.begin(), m_rxBuffer.end() - kRxLimit);
}

void clsCmcHxq3Drv::read(ByteStr chunk) {
    while (!chunk.empty()) {
        if (m_timerMode == 1) {
            // The echo is searched before the buffer is cut to its limit, so that a large
            // chunk carrying echo and answer together keeps both.
            ByteStr all = std::move(m_rxBuffer);
            all.insert(all.end(), chunk.begin(), chunk.end());
            chunk.clear();
            m_rxBuffer.clear();
            auto it = std::search(all.begin(), all.end(), m_txPacket.begin(), m_txPacket.end());
            if (m_txPacket.empty() || it == all.end()) {
                appendRx(all.data(), all.data() + all.size());
                continue;
            }
            chunk.assign(it + static_cast<std::ptrdiff_t>(m_txPacket.size()), all.end());
            frameArrived();
            m_outsideFrame = true;
        } else if (m_timerMode == 2) {
            auto f = std::find(chunk.begin(), chunk.end(), kPreamble);
            auto d = std::find(chunk.begin(), chunk.end(), kEnd);
            if (f != chunk.end() && (d == chunk.end() || f < d)) {
                chunk.erase(chunk.begin(), f + 1);
                m_outsideFrame = false;
                m_rxBuffer.clear();
            } else if (d != chunk.end()) {
                const bool collecting = !m_outsideFrame;
                if (collecting) appendRx(chunk.data(), chunk.data() + (d - chunk.begin()));
                chunk.erase(chunk.begin(), d + 1);
                if (collecting) {
                    frameArrived();
                    m_rxBuffer.clear();
                    m_outsideFrame = true;
                }
            } else {
                if (!m_outsideFrame) appendRx(chunk.data(), chunk.data() + chunk.size());
                chunk.clear();
            }
        } else {
            chunk.clear();
        }
    }
}

void clsCmcHxq3Drv::frameArrived() {
    if (m_timerMode == 1) {
        if (m_waitAnswer)
            setTimerMode(2);
        else
            stopWaiting();
    } else if (m_timerMode == 2) {
        const ByteStr body = m_rxBuffer;
        m_varLastE8Answer = body;
        if (parseAnswer(body) == 0) stopWaiting();
    }
}

int clsCmcHxq3Drv::parseAnswer(const ByteStr& body) {
    if (body.size() < 3 || body[0] != kPc || body[1] != kRadio) return 1;
    const std::uint8_t cmd = body[2];
    int result = 1;
    if (cmd == 0xE1 && m_workMode == 1) {
        if (checkFrame(body)) {
            nowError(3);
        } else {
            m_ansInfo = body;
            result = 0;
        }
    } else if (cmd == 0xE4 && m_workMode == 2) {
        if (checkFrame(body)) {
            nowError(3);
        } else {
            m_answerTimer.counter(kAnswerTimeoutMs);
            if (storeReadFrame(body) != 0) nowError(4);
        }
    } else if (cmd == 0xE5 && m_workMode == 2) {
        // Only a read that filled every address of the image is accepted.
        if (checkFrame(body) || !ImageComplete())
            nowError(3);
        else
            result = 0;
    } else if (cmd == 0xE8 && m_workMode == 5) {
        if (checkFrame(body)) {
            nowError(3);
        } else {
            m_varLastE8Answer.assign(body.begin() + 3, body.end());
            result = 0;
        }
    }
    return m_nowError != 0 ? 1 : result;
}

bool clsCmcHxq3Drv::checkFrame(const ByteStr& body) const {
    const std::size_t L = body.size();
    if (L < 3 || body[0] != kPc || body[1] != kRadio) return true;
    switch (body[2]) {
    case 0xE1:
        return L < 7 || !isBcd(body, 3, 4);
    case 0xE4: {
        if (L % 2 == 0 || L < 13) return true;
        unsigned sum = 0;
        for (std::size_t i = 3; i + 1 < L; i += 2) {
            const int hi = hexValue(body[i]);
            const int lo = hexValue(body[i + 1]);
            if (hi < 0 || lo < 0) return true;
            sum += static_cast<unsigned>(hi * 16 + lo);
        }
        if (sum % 256 != 0) return true;
        const int count = hexValue(body[7]) * 16 + hexValue(body[8]);
        return count != static_cast<int>((L - 11) / 2);
    }
    case 0xE5:
        return Common::BytesToHexStr(ByteStr(body.begin() + 3, body.end())) != kEndTextHex;
    case 0xE8:
        return L < 8 || !isBcd(body, 3, 4) || body[7] != m_expectedE8Tag;
    default:
        return false;
    }
}

int clsCmcHxq3Drv::storeReadFrame(const ByteStr& body) {
    if (!m_eep || body.size() < 9) return 1;
    const std::int32_t adr = Common::HexAsciiToNum(ByteStr(body.begin() + 3, body.begin() + 7));
    const int n = Common::HexAsciiToNum(ByteStr(body.begin() + 7, body.begin() + 9));
    if (body.size() < 9 + 2 * static_cast<std::size_t>(n)) return 1;
    ByteStr data = Common::HexStrToBytes(
        std::string(body.begin() + 9, body.begin() + 9 + 2 * static_cast<std::ptrdiff_t>(n)));
    if (m_eep->WriteBlock(adr, data) != 0) return 1;
    m_lastEeAdr = adr + n - 1;
    for (int i = 0; i < n; ++i)
        if (static_cast<std::size_t>(adr + i) < m_covered.size()) m_covered[adr + i] = true;
    return 0;
}

void clsCmcHxq3Drv::task() {
    if (m_timerMode == 1 && m_answerTimer.counter() == 0) {
        nowError(1);
    } else if (m_timerMode == 2 && m_answerTimer.counter() == 0) {
        if (RetrySend() != 0) nowError(2);
    }
}

void clsCmcHxq3Drv::Reset() {
    stopWaiting();
    ClearRxBuffer();
    m_nowError = 0;
}

void clsCmcHxq3Drv::ClearRxBuffer() {
    m_rxBuffer.clear();
    m_outsideFrame = true;
}

void clsCmcHxq3Drv::setTimerMode(int m) {
    m_timerMode = m;
    if (m == 1) m_answerTimer.counter(kEchoTimeoutMs);
    if (m == 2) m_answerTimer.counter(kAnswerTimeoutMs);
}

void clsCmcHxq3Drv::stopWaiting() {
    setTimerMode(0);
    m_txPacket.clear();
    m_running = false;
    m_retryCount = 0;
    m_sendIdle = true;
}
