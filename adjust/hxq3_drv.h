// The adjust utility's frame driver on the cloning cable: frames out, echo and answer in,
// checks, retries and error codes 1 to 4.
#pragma once

#include <cstdint>
#include <vector>

#include "adjust/common.h"
#include "adjust/tick.h"

class clsCmcEeprom;

// What the driver needs of the port it sends through (the port form implements it).
class IHxq3Port {
public:
    virtual ~IHxq3Port() = default;
    virtual bool comSendEnable() const = 0;
    virtual long OutBufferSize() const = 0;
    virtual long OutBufferCount() const = 0;
    virtual void Output(const ByteStr& bytes) = 0;
};

class clsCmcHxq3Drv {
public:
    static constexpr std::int64_t kEchoTimeoutMs = 1000;
    static constexpr std::int64_t kAnswerTimeoutMs = 1200;
    static constexpr long kMinOutputRoom = 257;
    static constexpr std::size_t kRxLimit = 256;

    explicit clsCmcHxq3Drv(IClock* clock = nullptr);

    // Properties.
    void workMode(std::int16_t mode);
    std::int16_t workMode() const { return m_workMode; }
    void waitAnswer(bool on) { m_waitAnswer = on; }
    bool waitAnswer() const { return m_waitAnswer; }
    void retryCount(std::int16_t n) { m_retryCount = n; }
    std::int16_t retryCount() const { return m_retryCount; }
    void myEep(clsCmcEeprom* eep);
    void myObjCom(IHxq3Port* com) { m_com = com; }
    bool Running() const { return m_running; }
    std::int16_t lastError() const { return m_lastError; }
    void lastError(std::int16_t e) { m_lastError = e; }
    std::int16_t nowError() const { return m_nowError; }
    void nowError(std::int16_t e);
    const ByteStr& ansInfo() const { return m_ansInfo; }
    std::int32_t lastEeAdr() const { return m_lastEeAdr; }
    const ByteStr& varLastE8Answer() const { return m_varLastE8Answer; }
    bool SendEnable() const;
    bool waitEcho() const { return m_workMode >= 1 && m_workMode <= 5; }
    // True when every address of the image was written since the clone read began.
    bool ImageComplete() const;

    std::int16_t Send(const ByteStr& data);
    std::int16_t RetrySend();
    std::int16_t RealSend(const ByteStr& data);
    void read(ByteStr chunk);
    void task();
    void Reset();
    void ClearRxBuffer();

private:
    void setTimerMode(int m);
    void frameArrived();
    int parseAnswer(const ByteStr& body);
    bool checkFrame(const ByteStr& body) const;
    int storeReadFrame(const ByteStr& body);
    void stopWaiting();
    void appendRx(const std::uint8_t* begin, const std::uint8_t* end);

    std::int16_t m_workMode = 0;
    bool m_waitAnswer = false;
    std::int16_t m_retryCount = 0;
    std::int16_t m_retriesLeft = 0;
    clsCmcEeprom* m_eep = nullptr;
    IHxq3Port* m_com = nullptr;
    bool m_running = false;
    std::int16_t m_nowError = 0;
    std::int16_t m_lastError = 0;
    ByteStr m_ansInfo;
    std::int32_t m_lastEeAdr = 0;
    ByteStr m_varLastE8Answer;
    ByteStr m_txPacket;
    ByteStr m_lastData;
    ByteStr m_rxBuffer;
    bool m_outsideFrame = true;
    int m_timerMode = 0;
    clsCmcTick m_answerTimer;
    std::uint8_t m_expectedE8Tag = 0;
    bool m_sendIdle = true;
    std::vector<bool> m_covered;
};
