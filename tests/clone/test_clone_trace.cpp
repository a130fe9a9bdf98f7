// The serial trace: what each frame is, who sent it, and the order of the lines.
#include <gtest/gtest.h>

#include "clone/clone_trace.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<std::uint8_t> v;
    for (int b : list)
        v.push_back(static_cast<std::uint8_t>(b));
    return v;
}

std::vector<std::uint8_t> WithText(std::vector<std::uint8_t> head, const std::string& text) {
    head.insert(head.end(), text.begin(), text.end());
    head.push_back(0xFD);
    return head;
}

} // namespace

TEST(CloneTrace, FramesAreNamedFromTheirBytes) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        bool sent;
        const char* direction;
        const char* what;
    };
    const Case cases[] = {
        {Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0x58, 0x27, 0x00, 0x00, 0xFD}), true, "PC>TR",
         "E0 info request 5827"},
        {Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x58, 0x27, 0x01, 0x00, 0xFD}), false, "echo",
         "E2 read request 5827 rev 0100"},
        {WithText(Bytes({0xFE, 0xFE, 0xEF, 0xEE, 0xE4}), "0070100011"), false, "TR>PC",
         "E4 data 0070 +16"},
        {WithText(Bytes({0x55, 0xAA, 0xFE, 0xFE, 0xEF, 0xEE, 0xE5}), "Norq Inc."), false, "TR>PC",
         "E5 end \"Norq Inc.\" (2 stray bytes before)"},
        {Bytes({0xFE, 0xFE, 0xEF, 0xEE, 0xE6, 0x01, 0xFD}), false, "TR>PC", "E6 write result 01"},
        {Bytes({0xFE, 0xFE, 0xEF, 0xEE, 0xE8, 0x00, 0xFD}), false, "TR>PC", "E8 service"},
        {Bytes({0xFE, 0xFE, 0x12, 0x34, 0xE9, 0xFD}), false, "?", "E9 unknown command"},
        {Bytes({0xFE, 0xFE, 0xFD}), false, "?", "short frame, ignored"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameDirection(c.sent, c.bytes.data(), c.bytes.size()), c.direction) << c.what;
        EXPECT_EQ(DescribeFrame(c.bytes.data(), c.bytes.size()), c.what);
    }
}

TEST(CloneTrace, WhatIsSentWhileAFrameIsHandledFollowsIt) {
    CCloneTrace trace;
    trace.KeepInMemory(100);
    auto t = std::chrono::system_clock::from_time_t(1'000'000'000);
    trace.now = [&] { return t; };
    const auto echo = Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE3, 0x58, 0x27, 0x01, 0x00, 0xFD});
    const auto data = WithText(Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE4}), "00701000");
    const auto bad = WithText(Bytes({0xFE, 0xFE, 0xEF, 0xEE, 0xE4}), "0070100012");
    trace.TransferStarted(CCloneProtocol::kTransferWrite, "/dev/pts/9", 0x5827, 0x0100);
    trace.FrameReceived(echo.data(), echo.size());
    t += std::chrono::milliseconds(200); // the pause after the echo of the request
    trace.FrameSent(data.data(), data.size(), "");
    trace.FrameHandled(CCloneProtocol::kRunning, "");
    trace.FrameReceived(bad.data(), bad.size());
    trace.FrameHandled(CCloneProtocol::kProtocolError, "bad checksum");
    trace.TransferEnded(CCloneProtocol::kFailed, CCloneProtocol::kProtocolError, "bad checksum");
    trace.PortError(" read error \n/dev/pts/9: the device is gone.");

    const std::vector<std::string> lines(trace.Lines().begin(), trace.Lines().end());
    ASSERT_EQ(lines.size(), 6u);
    const std::string at = TraceTime(std::chrono::system_clock::from_time_t(1'000'000'000));
    const std::string later = TraceTime(std::chrono::system_clock::from_time_t(1'000'000'000) +
                                        std::chrono::milliseconds(200));
    EXPECT_EQ(lines[0], at + " ----- write on /dev/pts/9, model 5827 rev 0100");
    // The echo at the time it came, then the line sent in answer to it.
    auto starts = [](const std::string& line, const std::string& head) {
        return line.rfind(head, 0) == 0;
    };
    EXPECT_TRUE(starts(lines[1], at + " echo  E3 write request 5827 rev 0100       ok  "))
        << lines[1];
    EXPECT_EQ(lines[1].substr(lines[1].size() - 29), "FE FE EE EF E3 58 27 01 00 FD");
    EXPECT_TRUE(starts(lines[2], later + " PC>TR E4 data 0070 +16 ")) << lines[2];
    EXPECT_NE(lines[3].find("error 80: bad checksum"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], later + " ----- result 77: bad checksum (status 80)");
    EXPECT_EQ(lines[5], later + " ----- port error: read error  / /dev/pts/9: the device is gone.");
    EXPECT_EQ(at.size(), 12u); // HH:MM:SS.mmm

    // Saved as the lines kept.
    const std::string file =
        (std::filesystem::temp_directory_path() / ("kt_trace_" + std::to_string(getpid())))
            .string();
    std::string error;
    ASSERT_TRUE(trace.SaveTo(file, &error)) << error;
    std::ifstream in(file);
    std::vector<std::string> saved;
    for (std::string line; std::getline(in, line);)
        saved.push_back(line);
    std::filesystem::remove(file);
    EXPECT_EQ(saved, lines);
}
