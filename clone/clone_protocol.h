// The clone protocol engine: frames FE FE <to> <from> <command> <payload> FD at 9600 baud, the
// transfer loop, and clone read, write and info as whole operations through the transfer file.
#pragma once

#include <bitset>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "clone/byte_string.h"
#include "clone/com_port.h"

// What the radio reported in its E1 reply.
struct CCloneInfoReply {
    std::uint16_t modelCode = 0;
    std::uint16_t revision = 0;
    std::uint16_t dataLength = 0;
    std::uint8_t data[CByteString::kCapacity] = {};
};

// Sees every frame of a transfer in both directions (the serial trace is one). The engine pays
// nothing for it while none is set.
class ICloneFrameObserver {
public:
    virtual ~ICloneFrameObserver() = default;
    // type: 1 read, 3 write, 4 info; the request carries the model code and revision given.
    virtual void TransferStarted(int type, const std::string& port, std::uint16_t modelCode,
                                 std::uint16_t revision) = 0;
    // A frame as it went out; failure: why it did not (else empty).
    virtual void FrameSent(const std::uint8_t* bytes, std::size_t count, const char* failure) = 0;
    // A frame as it came in, with the bytes since the end of the last one (stray bytes before
    // the preamble among them), before the engine handles it; what the engine sends while it
    // handles the frame follows it.
    virtual void FrameReceived(const std::uint8_t* bytes, std::size_t count) = 0;
    // The engine's status after handling it, with the reason where the frame ended the transfer.
    virtual void FrameHandled(int status, const char* reason) = 0;
    // result: the transfer's result; status and reason: how the loop ended.
    virtual void TransferEnded(int result, int status, const char* reason) = 0;
    // A port failure in the words of its message.
    virtual void PortError(const std::string& text) = 0;
};

class CCloneProtocol : public CComPort {
public:
    enum TransferType { kTransferRead = 1, kTransferWrite = 3, kTransferInfo = 4 };
    // Status of the running loop.
    enum Status {
        kRunning = 0,
        kCancelled = 1,
        kFinished = 2,
        kProtocolError = 80,
        kNoEcho = 81,
        kNoAnswer = 82
    };
    // Results of a whole transfer.
    enum Result { kOk = 0, kResultCancelled = 1, kFailed = 77, kTransferError = 80, kNoPort = 91 };

    static constexpr std::uint8_t kPreamble = 0xFE, kEnd = 0xFD, kRadio = 0xEE, kPc = 0xEF;
    static constexpr std::uint8_t kInfoRequest = 0xE0, kInfoReply = 0xE1, kReadRequest = 0xE2,
                                  kWriteRequest = 0xE3, kData = 0xE4, kEndFrame = 0xE5,
                                  kWriteResult = 0xE6;
    static constexpr const char* kEndText = "Norq Inc.";
    static constexpr unsigned kBaud = 9600;
    static constexpr unsigned kRequestPauseMs = 200;
    static constexpr unsigned kClosePauseMs = 500;
    static constexpr std::uint64_t kFrameTimeoutS = 2;
    static constexpr int kPollWaitMs = 10;
    static constexpr unsigned kImageLines = 128; // 2,048 bytes in lines of 16
    static constexpr unsigned kLineWidth = 16;
    static constexpr unsigned kInfoDataLength = 38;
    static constexpr const char* kReadingText = " Now reading <- TR";

    CCloneProtocol() = default;
    ~CCloneProtocol() override;

    void SetPortNumber(unsigned n) { m_portNumber = n; }
    unsigned PortNumber() const { return m_portNumber; }
    // A device path used instead of "COM<n>" (empty: the numbered port).
    void SetPortName(const std::string& name) { m_portName = name; }
    std::string PortName() const;
    void SetModelCode(std::uint16_t code);
    void SetRevision(std::uint16_t revision);
    void SetExpectedFrameCount(unsigned n) { m_expectedFrames = n; }
    unsigned ExpectedFrameCount() const { return m_expectedFrames; }
    void SetTransferFile(const std::string& path) { m_transferPath = path; }
    const std::string& TransferFile() const { return m_transferPath; }

    // statusText: what the status bar says while the data come.
    int CloneRead(const char* statusText = kReadingText);
    int CloneWrite();
    int CloneInfo();
    // Runs one transfer of the given type and returns its result.
    int TransferLoop(int type);

    const CCloneInfoReply& InfoReply() const { return m_info; }
    int LastStatus() const { return m_status; }
    unsigned FrameCounter() const { return m_frameCounter; }

    // The observer of every frame (null: none); not owned.
    void SetFrameObserver(ICloneFrameObserver* observer) { m_observer = observer; }
    ICloneFrameObserver* FrameObserver() const { return m_observer; }
    void ReportError(const std::string& text, int code) override;

private:
    void Send(const CByteString& body);
    // Feeds one received byte; true when it completed a frame that was handled.
    bool ReceiveByte(std::uint8_t byte);
    void HandleFrame(const CByteString& body);
    void OnEcho(const CByteString& echo);
    void OnRadioFrame(const CByteString& body);
    void OnRadioInfo(const CByteString& body);
    void OnRadioData(const CByteString& body);
    void OnRadioEnd(const CByteString& body);
    void OnRadioWriteResult(const CByteString& body);
    void WriteStep(const CByteString& echo);
    bool NextDataLine(std::string* line);
    // Ends the loop with the status unless it has ended already; reason: for the trace.
    void Fail(int status = kProtocolError, const char* reason = "");
    int Percent() const;
    std::uint64_t Seconds() const;
    IClock& Clock() const;
    void CloseTransferFile();

    unsigned m_portNumber = 1;
    std::string m_portName;
    int m_type = 0;
    int m_status = 0;
    int m_timeoutCode = kNoEcho;
    std::uint16_t m_frameCounter = 0;
    unsigned m_totalLines = 0;
    unsigned m_expectedFrames = 300;
    std::uint8_t m_modelCode[2] = {};
    std::uint8_t m_revision[2] = {};
    CByteString m_lastSent;
    CByteString m_accumulator;
    CByteString m_lastFrame;
    bool m_writeMode = false;
    bool m_endEchoSeen = false;
    std::bitset<kImageLines> m_linesReceived;
    CCloneInfoReply m_info;
    std::string m_transferPath;
    std::FILE* m_file = nullptr;
    ICloneFrameObserver* m_observer = nullptr;
    const char* m_failReason = "";
    std::vector<std::uint8_t> m_rawFrame; // the bytes of the frame coming in, for the observer
};
