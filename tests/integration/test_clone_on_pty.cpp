#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "clone/clone_protocol.h"
#include "platform/serial_device.h"
#include "sim_process.h"
#include "tests/support/file_text.h"

namespace {

// A whole image as a transfer file, every byte different from its neighbours.
std::string WholeImageText(unsigned seed) {
    std::vector<std::uint8_t> image(0x800);
    for (unsigned a = 0; a < image.size(); ++a)
        image[a] = static_cast<std::uint8_t>(a * seed % 251);
    return WholeCloneFileText(image, "\n");
}

class PtyCloneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ResetPlatform();
        Platform().serialFactory = MakeQtSerialDevice;
        engine.SetTransferFile(File("cl.tmp"));
        engine.SetModelCode(0x5827);
        engine.SetRevision(0x0100);
        engine.SetExpectedFrameCount(128);
    }
    void TearDown() override { ResetPlatform(); }
    std::string File(const char* name) const { return dir.filePath(name).toStdString(); }
    // Starts the simulator with the options and points the engine at its pseudo-terminal.
    std::unique_ptr<CSimProcess> Start(QStringList options) {
        options << "--log" << QString::fromStdString(File("wire.log"));
        auto sim = std::make_unique<CSimProcess>(options);
        EXPECT_FALSE(sim->Path().empty());
        engine.SetPortName(sim->Path());
        return sim;
    }
    std::vector<std::string> LogLines(const std::string& who) const {
        std::vector<std::string> lines;
        std::istringstream in(ReadAll(File("wire.log")));
        for (std::string line; std::getline(in, line);)
            if (line.rfind(who + " ", 0) == 0) lines.push_back(line.substr(who.size() + 1));
        return lines;
    }

    QTemporaryDir dir;
    CCloneProtocol engine;
};

TEST_F(PtyCloneTest, Info) {
    auto sim = Start({"--variant", "5", "--revision", "0107", "--over-voltage"});
    ASSERT_EQ(engine.CloneInfo(), 0);
    EXPECT_EQ(engine.InfoReply().modelCode, 0x5827);
    EXPECT_EQ(engine.InfoReply().revision, 0x0107);
    EXPECT_EQ(engine.InfoReply().dataLength, 38);
    EXPECT_EQ(engine.InfoReply().data[34], 0x06); // 16 channels, PMR, over-voltage
    EXPECT_EQ(LogLines("PC").at(0), "FE FE EE EF E0 58 27 00 00 FD");
}

TEST_F(PtyCloneTest, ReadGivesTheRadiosImage) {
    const std::string image = WholeImageText(7);
    std::ofstream(File("radio.hxq")) << image;
    auto sim = Start({"--image", QString::fromStdString(File("radio.hxq"))});
    ASSERT_EQ(engine.CloneRead(), 0);
    EXPECT_EQ(ReadAll(File("cl.tmp")), image);
    EXPECT_EQ(LogLines("PC").at(0), "FE FE EE EF E2 58 27 01 00 FD");
    EXPECT_EQ(LogLines("TR").back(), "FE FE EF EE E5 4E 6F 72 71 20 49 6E 63 2E FD");
}

TEST_F(PtyCloneTest, WriteThenReadRoundTrip) {
    auto sim = Start({"--image", QString::fromStdString(File("radio.hxq"))});
    const std::string image = WholeImageText(13);
    std::ofstream(File("cl.tmp")) << image;
    ASSERT_EQ(engine.CloneWrite(), 0);
    EXPECT_EQ(ReadAll(File("radio.hxq")), image); // the simulator keeps its file up to date
    const auto pc = LogLines("PC");
    ASSERT_EQ(pc.size(), 130u);
    EXPECT_EQ(pc[0], "FE FE EE EF E3 58 27 01 00 FD");
    EXPECT_EQ(LogLines("TR").back(), "FE FE EF EE E6 00 FD");
    ASSERT_EQ(engine.CloneRead(), 0);
    EXPECT_EQ(ReadAll(File("cl.tmp")), image);
}

TEST_F(PtyCloneTest, FaultsGiveTheirStatus) {
    struct Case {
        QStringList options;
        int type, status;
    };
    const Case cases[] = {
        {{"--bad-checksum", "3"}, 1, 80}, {{"--bad-count", "100"}, 1, 80},
        {{"--lower-hex"}, 1, 80},         {{"--bad-end"}, 1, 80},
        {{"--fail-write"}, 3, 80},        {{"--noise"}, 1, 2},
        {{"--no-echo"}, 3, 81},           {{"--no-answer"}, 4, 82},
        {{"--stop-after", "5"}, 1, 82},   {{"--pull-after", "20"}, 3, 81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        auto sim = Start(c.options);
        std::ofstream(File("cl.tmp")) << WholeImageText(3);
        const int result = c.type == 1   ? engine.CloneRead()
                           : c.type == 3 ? engine.CloneWrite()
                                         : engine.CloneInfo();
        EXPECT_EQ(result, c.status == 2 ? 0 : 77);
        EXPECT_EQ(engine.LastStatus(), c.status);
    }
}

TEST_F(PtyCloneTest, MissingDeviceGives91) {
    engine.SetPortName("/dev/nonexistent-tty");
    EXPECT_EQ(engine.CloneInfo(), 91);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
