#include "sim_fixture.h"

namespace {

std::string LineText(const CByteImage& image, unsigned address) {
    char s[8];
    std::snprintf(s, sizeof s, "%04X10", address);
    std::string line = s;
    for (unsigned i = 0; i < 16; ++i) {
        std::snprintf(s, sizeof s, "%02X", image.ReadByte(address + i));
        line += s;
    }
    return line;
}

// The transfer file of a write: header, comment, lines from `from` to the end of the image.
std::string TransferText(const CByteImage& image, unsigned from = 0x70) {
    std::string text = "58270100\n#\n";
    for (unsigned a = from; a < 0x800; a += 16)
        text += LineText(image, a) + "\n";
    return text;
}

CByteImage PatternImage() {
    CByteImage image(2048);
    for (unsigned a = 0; a < 2048; ++a)
        image.WriteByte(a, static_cast<std::uint8_t>(a * 7 + 3));
    return image;
}

// The first line of the LMR factory default image at 0x0070.
constexpr std::uint8_t kLmrLine70[16] = {0x73, 0x3A, 0x24, 0x00, 0x00, 0x00, 0x00, 0xF8,
                                         0x0A, 0x0E, 0x0F, 0x00, 0x00, 0x04, 0x80, 0x00};

} // namespace

TEST_F(SimCloneTest, InfoSendsTheRequestAndStoresTheReply) {
    radio.Identity().variant = 3;
    radio.Identity().revision = 0x0105;
    ASSERT_EQ(engine.CloneInfo(), 0);
    const auto pc = Frames("PC");
    ASSERT_EQ(pc.size(), 1u);
    EXPECT_EQ(pc[0], (std::vector<std::uint8_t>{0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0x58, 0x27, 0x00,
                                                0x00, 0xFD}));
    const auto& reply = engine.InfoReply();
    EXPECT_EQ(reply.modelCode, 0x5827);
    EXPECT_EQ(reply.revision, 0x0105);
    ASSERT_EQ(reply.dataLength, 38);
    const auto info = radio.InfoData();
    EXPECT_TRUE(std::equal(info.begin(), info.end(), reply.data));
    EXPECT_EQ(reply.data[34], 0x22); // 2 channels, PMR
    EXPECT_EQ(progress.created, 0);  // an info transfer has no progress window
}

TEST_F(SimCloneTest, ReadFillsTheTransferFileWithTheWholeImage) {
    radio.Image().CopyFrom(PatternImage());
    ASSERT_EQ(engine.CloneRead(), 0);
    EXPECT_EQ(Frames("PC").at(0), (std::vector<std::uint8_t>{0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x58,
                                                             0x27, 0x01, 0x00, 0xFD}));
    const auto tr = Frames("TR");
    ASSERT_EQ(tr.size(), 129u);
    EXPECT_EQ(tr.back(), Bytes({0xFE, 0xFE, 0xEF, 0xEE, 0xE5}, "Norq Inc.", {0xFD}));
    std::string expected = "58270100\n#\n";
    for (unsigned a = 0; a < 0x800; a += 16)
        expected += LineText(radio.Image(), a) + "\n";
    EXPECT_EQ(ReadTransferFile(), expected);
    EXPECT_EQ(prompts.status.at(0), " Now reading <- TR");
    EXPECT_EQ(progress.percents.back(), 100);
    EXPECT_EQ(progress.alive, 0);
}

TEST_F(SimCloneTest, WriteSendsTheLinesAndTheRadioStoresThem) {
    CByteImage image = PatternImage();
    image.WriteBlock(0x70, kLmrLine70, sizeof kLmrLine70);
    const CByteImage before = radio.Image();
    WriteTransferFile(TransferText(image));
    ASSERT_EQ(engine.CloneWrite(), 0);

    const auto pc = Frames("PC");
    ASSERT_EQ(pc.size(), 1u + 121u + 1u);
    EXPECT_EQ(pc[0], (std::vector<std::uint8_t>{0xFE, 0xFE, 0xEE, 0xEF, 0xE3, 0x58, 0x27, 0x01,
                                                0x00, 0xFD}));
    const auto first =
        Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE4}, "007010733A2400000000F80A0E0F00000480000C", {0xFD});
    EXPECT_EQ(first.size(), 46u);
    EXPECT_EQ(pc[1], first);
    EXPECT_EQ(pc.back(), Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE5}, "Norq Inc.", {0xFD}));
    EXPECT_EQ(Frames("TR").at(0),
              (std::vector<std::uint8_t>{0xFE, 0xFE, 0xEF, 0xEE, 0xE6, 0x00, 0xFD}));
    for (unsigned a = 0; a < 0x800; ++a)
        ASSERT_EQ(radio.Image().ReadByte(a), a < 0x70 ? before.ReadByte(a) : image.ReadByte(a))
            << a;
    EXPECT_EQ(progress.percents.back(), 100);
}

TEST_F(SimCloneTest, WriteThenReadGivesTheSameImage) {
    const CByteImage image = PatternImage();
    WriteTransferFile(TransferText(image, 0));
    ASSERT_EQ(engine.CloneWrite(), 0);
    ASSERT_EQ(engine.CloneRead(), 0);
    EXPECT_EQ(ReadTransferFile(), TransferText(image, 0));
}

TEST_F(SimCloneTest, WriteEndsAtAnEmptyLine) {
    const CByteImage image = PatternImage();
    WriteTransferFile("58270100\n#\n" + LineText(image, 0x70) + "\n" + LineText(image, 0x80) +
                      "\n\n" + LineText(image, 0x90) + "\n");
    ASSERT_EQ(engine.CloneWrite(), 0);
    const auto pc = Frames("PC");
    ASSERT_EQ(pc.size(), 4u);
    EXPECT_EQ(pc[3][4], 0xE5);
    EXPECT_EQ(radio.Image().ReadByte(0x80), image.ReadByte(0x80));
    EXPECT_NE(radio.Image().ReadByte(0x90), image.ReadByte(0x90));
}

// Each fault of the radio or the cable ends the transfer with its status.
TEST_F(SimCloneTest, FaultsGiveTheirStatus) {
    struct Case {
        const char* name;
        void (*fault)(CSimFaults&);
        int type;
        int result;
        int status;
    };
    const Case cases[] = {
        // Info and read need no echo; a write sends each line on the echo of the last.
        {"no echo, info", [](CSimFaults& f) { f.noEcho = true; }, 4, 0, 2},
        {"no echo, read", [](CSimFaults& f) { f.noEcho = true; }, 1, 0, 2},
        {"no echo, write", [](CSimFaults& f) { f.noEcho = true; }, 3, 77, 81},
        {"no answer, info", [](CSimFaults& f) { f.noAnswer = true; }, 4, 77, 82},
        {"no answer, read", [](CSimFaults& f) { f.noAnswer = true; }, 1, 77, 82},
        {"no answer, write", [](CSimFaults& f) { f.noAnswer = true; }, 3, 77, 81},
        {"stop after 5, read", [](CSimFaults& f) { f.stopAfter = 5; }, 1, 77, 82},
        {"stop after 5, write", [](CSimFaults& f) { f.stopAfter = 5; }, 3, 77, 81},
        {"bad checksum", [](CSimFaults& f) { f.badChecksumFrame = 3; }, 1, 77, 80},
        {"bad count", [](CSimFaults& f) { f.badCountFrame = 128; }, 1, 77, 80},
        {"lower-case hex", [](CSimFaults& f) { f.lowerHex = true; }, 1, 77, 80},
        {"wrong end text", [](CSimFaults& f) { f.badEndText = true; }, 1, 77, 80},
        {"failing E6", [](CSimFaults& f) { f.failWrite = true; }, 3, 77, 80},
        {"noise, info", [](CSimFaults& f) { f.noise = true; }, 4, 0, 2},
        {"noise, read", [](CSimFaults& f) { f.noise = true; }, 1, 0, 2},
        {"noise, write", [](CSimFaults& f) { f.noise = true; }, 3, 0, 2},
        {"dead line, info", [](CSimFaults& f) { f.pullAfter = 0; }, 4, 77, 81},
        {"pulled cable, read", [](CSimFaults& f) { f.pullAfter = 60; }, 1, 77, 82},
        {"pulled cable, write", [](CSimFaults& f) { f.pullAfter = 60; }, 3, 77, 81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        radio = CSimRadio();
        c.fault(radio.Faults());
        WriteTransferFile(TransferText(PatternImage()));
        const int result = c.type == 4   ? engine.CloneInfo()
                           : c.type == 1 ? engine.CloneRead()
                                         : engine.CloneWrite();
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(engine.LastStatus(), c.status);
        EXPECT_FALSE(engine.IsOpen());
    }
}

TEST_F(SimCloneTest, WrongModelCodeIsNotAnswered) {
    engine.SetModelCode(0x1234);
    EXPECT_EQ(engine.CloneInfo(), 77);
    EXPECT_EQ(engine.LastStatus(), 82);
}

TEST_F(SimCloneTest, PortThatDoesNotOpen) {
    refuseOpen = true;
    engine.SetPortNumber(3);
    EXPECT_EQ(engine.CloneRead(), 91);
    EXPECT_EQ(progress.created, 1);
    EXPECT_EQ(progress.alive, 0);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0], " not Open ");
    EXPECT_EQ(prompts.captions[0], " COM Port Error    ");
}

TEST_F(SimCloneTest, TransferFileTroubleNeverOpensThePort) {
    engine.SetTransferFile("/nonexistent-folder/cl.tmp");
    EXPECT_EQ(engine.CloneRead(), 80);
    EXPECT_EQ(engine.CloneWrite(), 80);
    engine.SetTransferFile(transfer);
    WriteTransferFile("5827\n");
    EXPECT_EQ(engine.CloneWrite(), 80);
    WriteTransferFile("");
    EXPECT_EQ(engine.CloneWrite(), 80);
    EXPECT_EQ(devices, 0);
    EXPECT_EQ(progress.created, 0);
}

TEST_F(SimCloneTest, CancelEndsTheTransfer) {
    progress.cancelAfterPumps = 40;
    EXPECT_EQ(engine.CloneRead(), 1);
    EXPECT_EQ(engine.LastStatus(), 1);
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(progress.alive, 0);
}

// The time-out comes between 2 and 3 seconds after the last complete frame, whatever the
// position of the clock within its second.
TEST_F(SimCloneTest, TimeOutComesBetweenTwoAndThreeSeconds) {
    for (std::uint64_t offset : {0, 1, 400, 598, 599, 600, 999}) {
        SCOPED_TRACE(offset);
        radio.Faults().noAnswer = true;
        // The echo is heard at about 400 ms after the start (two 200 ms pauses).
        clock.now = 10'000'000 + offset;
        const std::uint64_t start = clock.now;
        EXPECT_EQ(engine.CloneInfo(), 77);
        const std::uint64_t silent = clock.now - start - 400;
        EXPECT_GE(silent, 2000u);
        EXPECT_LE(silent, 3050u);
    }
}
