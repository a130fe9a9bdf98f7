// The serial trace: every frame of every transfer in both directions, one line each with the
// time of day to the millisecond, the direction, what the frame is, what became of it and its
// bytes in hex, so that a support engineer can read a failed session from it.
//
// 14:03:22.123 PC>TR E2 read request 5827 rev 0100        sent        FE FE EE EF E2 58 27 01 00 FD
#pragma once

#include "clone/clone_protocol.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CCloneTrace final : public ICloneFrameObserver {
public:
    CCloneTrace() = default;
    ~CCloneTrace() override;
    CCloneTrace(const CCloneTrace&) = delete;
    CCloneTrace& operator=(const CCloneTrace&) = delete;

    // Writes every line to the file at path as well (created anew); false with the reason when
    // it cannot be created.
    bool OpenFile(const std::string& path, std::string* error);
    // Empty while every line reached that file, else why not ("cannot write t.txt: No space
    // left on device").
    const std::string& FileError() const { return m_fileError; }
    // Keeps the newest lines in memory, at most maxLines (0: none).
    void KeepInMemory(std::size_t maxLines) { m_keep = maxLines; }
    const std::deque<std::string>& Lines() const { return m_lines; }
    // The lines kept in memory as a file that replaces path; false with the reason.
    bool SaveTo(const std::string& path, std::string* error) const;
    // The time stamps' clock (the time of day unless a test sets its own).
    std::function<std::chrono::system_clock::time_point()> now;

    void TransferStarted(int type, const std::string& port, std::uint16_t modelCode,
                         std::uint16_t revision) override;
    void FrameSent(const std::uint8_t* bytes, std::size_t count, const char* failure) override;
    void FrameReceived(const std::uint8_t* bytes, std::size_t count) override;
    void FrameHandled(int status, const char* reason) override;
    void TransferEnded(int result, int status, const char* reason) override;
    void PortError(const std::string& text) override;

private:
    using Time = std::chrono::system_clock::time_point;
    Time Now() const { return now ? now() : std::chrono::system_clock::now(); }
    void Add(Time time, const std::string& text);
    void Flush();

    void FileFailed();

    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_fileError;
    std::deque<std::string> m_lines;
    std::size_t m_keep = 0;
    // A frame come in and not yet handled, and the lines of what was sent meanwhile.
    bool m_receiving = false;
    Time m_received{};
    std::string m_receivedBytes;
    std::string m_receivedWhat;
    std::string m_receivedFrom;
    std::vector<std::pair<Time, std::string>> m_sentMeanwhile;
};

// What a frame on the wire is, from its bytes: "E4 data 0070 +16", "E6 write result 00", with
// "(3 stray bytes before)" where bytes that are no frame came first.
std::string DescribeFrame(const std::uint8_t* bytes, std::size_t count);
// Who it comes from: "PC>TR" for what the PC sent, "echo" for the cable's echo of it, "TR>PC"
// for the radio's frames, "?" for anything else.
std::string FrameDirection(bool sent, const std::uint8_t* bytes, std::size_t count);
// "14:03:22.123", in local time.
std::string TraceTime(std::chrono::system_clock::time_point t);
