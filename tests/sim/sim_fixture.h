// Runs the clone protocol engine against the simulated radio over the in-memory link, on a fake
// clock that makes time-outs cost no real time.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "clone/clone_protocol.h"
#include "core/platform.h"
#include "sim/radio_model.h"
#include "sim/sim_link.h"
#include "tests/support/step_clock.h"

class CRecordingPrompts final : public IUserPrompts {
public:
    std::vector<std::string> boxes, captions, status;
    KtAnswer MessageBox(const std::string& text, const std::string& caption, KtButtons,
                        KtIcon) override {
        boxes.push_back(text);
        captions.push_back(caption);
        return KtAnswer::Ok;
    }
    void SetStatusText(const std::string& text) override { status.push_back(text); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

struct CProgressLog {
    int created = 0, alive = 0, pumps = 0;
    int cancelAfterPumps = -1; // asks to cancel once this many pumps have happened
    std::vector<int> percents;
};

class CFakeProgress final : public ITransferProgress {
public:
    explicit CFakeProgress(CProgressLog& log) : m_log(log) { ++m_log.created, ++m_log.alive; }
    ~CFakeProgress() override { --m_log.alive; }
    void SetPercent(int p) override {
        if (m_log.percents.empty() || m_log.percents.back() != p) m_log.percents.push_back(p);
    }
    void PumpMessages() override { ++m_log.pumps; }
    bool TakeCancelRequest() override {
        return m_log.cancelAfterPumps >= 0 && m_log.pumps >= m_log.cancelAfterPumps;
    }

private:
    CProgressLog& m_log;
};

class SimCloneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        auto& p = Platform();
        p.clock = &clock;
        p.prompts = &prompts;
        p.serialFactory = [this]() -> std::unique_ptr<ISerialDevice> {
            auto link = std::make_unique<CSimLink>(radio, &clock);
            link->refuseOpen = refuseOpen;
            ++devices;
            return link;
        };
        p.progressFactory = [this]() -> std::unique_ptr<ITransferProgress> {
            return std::make_unique<CFakeProgress>(progress);
        };
        radio.SetLog(&log);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        transfer =
            (std::filesystem::temp_directory_path() / (std::string("cl_") + info->name() + ".tmp"))
                .string();
        engine.SetTransferFile(transfer);
        engine.SetModelCode(0x5827);
        engine.SetRevision(0x0100);
        engine.SetExpectedFrameCount(128);
    }
    void TearDown() override {
        ResetPlatform();
        std::remove(transfer.c_str());
    }

    // Frames recorded by the radio's log: "PC" frames the PC sent, "TR" frames the radio sent.
    std::vector<std::vector<std::uint8_t>> Frames(const std::string& who) const {
        std::vector<std::vector<std::uint8_t>> frames;
        std::istringstream in(log.str());
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string tag;
            words >> tag;
            if (tag != who) continue;
            std::vector<std::uint8_t> bytes;
            std::string hex;
            while (words >> hex)
                bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, 0, 16)));
            frames.push_back(bytes);
        }
        return frames;
    }

    void WriteTransferFile(const std::string& text) {
        std::ofstream out(transfer, std::ios::trunc);
        out << text;
    }
    std::string ReadTransferFile() const {
        std::ifstream in(transfer);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    CStepClock clock;
    CRecordingPrompts prompts;
    CProgressLog progress;
    CSimRadio radio;
    std::ostringstream log;
    std::string transfer;
    bool refuseOpen = false;
    int devices = 0;
    CCloneProtocol engine;
};

// Bytes of a text, for comparing frames.
inline std::vector<std::uint8_t> Bytes(std::initializer_list<std::uint8_t> head, const char* text,
                                       std::initializer_list<std::uint8_t> tail) {
    std::vector<std::uint8_t> v(head);
    for (; *text; ++text)
        v.push_back(static_cast<std::uint8_t>(*text));
    v.insert(v.end(), tail);
    return v;
}
