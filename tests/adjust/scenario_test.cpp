#include <algorithm>

#include "rig.h"

using Bytes = std::vector<std::uint8_t>;

void AdjustRig::FillKnownImage(std::vector<std::uint8_t>& im) {
    std::fill(im.begin(), im.end(), 0xFF);
    for (int i = 0; i < 512; ++i)
        im[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
    im[23] = 0x45;
    const std::uint8_t adjust[] = {38, 200, 37,   150, 36, 100, 45, 77, 43,   128, 44,   64, 167,
                                   90, 39,  0xF6, 40,  5,  41,  20, 42, 0x80, 34,  0xFE, 35, 3};
    for (std::size_t i = 0; i < sizeof adjust; i += 2)
        im[adjust[i]] = adjust[i + 1];
    for (int a = 0; a < 20; ++a) {
        im[static_cast<std::size_t>(66 + a)] = static_cast<std::uint8_t>(100 + a);
        im[static_cast<std::size_t>(46 + a)] = static_cast<std::uint8_t>(a - 10);
    }
    const Bytes ch0 = {0x45, 0x01, 0x25, 0x45, 0x01, 0x25, 0, 0, 0, 0x03, 0, 0, 0x80};
    const Bytes ch1 = {0xC5, 0x02, 0x00, 0x45, 0x03, 0x00, 0, 0, 0, 0x00, 0, 0, 0x00};
    const Bytes ch2 = {0x46, 0x00, 0x00, 0xC6, 0x10, 0x00, 0, 0, 0, 0x02, 0, 0, 0x00};
    std::copy(ch0.begin(), ch0.end(), im.begin() + 512);
    std::copy(ch1.begin(), ch1.end(), im.begin() + 532);
    std::copy(ch2.begin(), ch2.end(), im.begin() + 552);
}

namespace {

Bytes Frame(std::initializer_list<std::uint8_t> body) {
    Bytes f;
    f.reserve(body.size() + 5);
    for (std::uint8_t b : {0xFE, 0xFE, 0xEE, 0xEF})
        f.push_back(b);
    for (std::uint8_t b : body)
        f.push_back(b);
    f.push_back(0xFD);
    return f;
}

// E8 frames of one command number, with their send times.
std::vector<SentFrame> E8Of(const FakeRadio& r, int command) {
    std::vector<SentFrame> out;
    for (const SentFrame& f : r.sent)
        if (f.bytes.size() > 9 && f.bytes[4] == 0xE8 && f.bytes[9] == command) out.push_back(f);
    return out;
}

} // namespace

TEST_F(AdjustRig, ConnectReadsTheImageAndPushesItsValues) {
    ConnectAndSettle();
    EXPECT_EQ(radio->sent.at(0).bytes, Frame({0xE0, 0x58, 0x27, 0x00, 0x00}));
    EXPECT_EQ(radio->sent.at(1).bytes, Frame({0xE2, 0x58, 0x27, 0x01, 0x00}));
    for (int a = 0; a < 2048; ++a)
        ASSERT_EQ(app->radio.eepImage.ReadByte(a), radio->image[static_cast<std::size_t>(a)]) << a;
    EXPECT_EQ(app->ops.chTable, (std::vector<std::int16_t>{0, 1, 2}));
    EXPECT_EQ(con().Item(0).Max, 2);
    const std::string& bar = app->ops.lblProgress;
    ASSERT_EQ(bar.size(), 32u);
    EXPECT_EQ(bar.find_first_not_of('o'), bar.find('.'));
    EXPECT_NE(bar[0], ' ');
    ASSERT_EQ(E8Of(*radio, 2).size(), 1u);
    EXPECT_EQ(E8Of(*radio, 2)[0].bytes, Frame({0xE8, 0x58, 0x27, 0x01, 0x00, 0x02, 0x30, 0x31}));
    // The values of the image went to the radio, the first channel selected.
    EXPECT_EQ(radio->service.Stored(5), 200);
    EXPECT_EQ(radio->service.Stored(12), 0xF6);
    EXPECT_EQ(radio->service.Stored(4), 90);
    ASSERT_EQ(E8Of(*radio, 0).size(), 1u);
    EXPECT_EQ(E8Of(*radio, 0)[0].bytes, Frame({0xE8, 0x58, 0x27, 0x01, 0x00, 0x00, 0x30, 0x31}));
    EXPECT_TRUE(app->ops.RigZ30Prop_EditEnabled());
}

TEST_F(AdjustRig, SubCodeCheck) {
    struct Case {
        std::uint16_t sub;
        bool accepted;
    };
    for (const Case c : {Case{0x0000, true}, Case{0x0100, true}, Case{0x0200, false}}) {
        SetUp();
        radio->subCode = c.sub;
        app->ops.RigOpFunc_ClickCmd00(0);
        Run(3000);
        SCOPED_TRACE(c.sub);
        EXPECT_EQ(radio->CountSent(0xE2), c.accepted ? 1 : 0);
        if (c.accepted) {
            EXPECT_TRUE(prompts.messages.empty());
            EXPECT_EQ(app->radio.radionameS, c.sub == 0 ? "0000" : "0100");
            EXPECT_EQ(radio->E8Sent().at(0)[7], c.sub >> 8);
        } else {
            ASSERT_EQ(prompts.messages.size(), 1u);
            EXPECT_EQ(prompts.messages[0], "Version number does not match\r\nfor this NQ-Z30.");
            EXPECT_EQ(app->ops.opState, 0);
            EXPECT_FALSE(app->com.comOpen());
        }
    }
}

TEST_F(AdjustRig, IncompleteCloneReadIsRefusedAndNothingIsPushed) {
    radio->skipReadLine = 5;
    app->ops.RigOpFunc_ClickCmd00(0);
    Run(5000);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].rfind("Illegal data.\r\n\r\nCheck the following:", 0), 0u);
    EXPECT_EQ(app->ops.opState, 0);
    EXPECT_TRUE(radio->E8Sent().empty());
}

TEST_F(AdjustRig, SilentRadioGivesNoAnswerAndClosesThePort) {
    radio->answer = false;
    app->ops.RigOpFunc_ClickCmd00(0);
    Run(5000);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0],
              "No answer from NQ-Z30.\r\n\r\nCheck the following:\r\n\r\n- The COM port "
              "settings.\r\n- Cloning cable connections.\r\n- The NQ-Z30 power is ON.");
    EXPECT_FALSE(app->com.comOpen());
    radio->echo = false;
    radio->answer = true;
    app->ops.RigOpFunc_ClickCmd00(0);
    Run(3000);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].rfind("Cannot access COM port\r\n", 0), 0u);
}

TEST_F(AdjustRig, PortThatCannotOpenNamesThePort) {
    radio->openFails = true;
    // A numbered port by its number, one given as a device (--port) by the device.
    const std::pair<const char*, const char*> cases[] = {
        {"", "Cannot access COM3.\r\n"}, {"/dev/ttyUSB7", "Cannot access /dev/ttyUSB7.\r\n"}};
    for (const auto& [device, text] : cases) {
        prompts.messages.clear();
        app->ComPortNo(3);
        app->com.SetPortDevice(device);
        app->ops.RigOpFunc_ClickCmd00(0);
        Run(1000);
        ASSERT_EQ(prompts.messages.size(), 1u) << device;
        EXPECT_EQ(prompts.messages[0].rfind(text, 0), 0u) << prompts.messages[0];
        EXPECT_EQ(app->ops.opState, 0);
    }
}

TEST_F(AdjustRig, ReadingTheAnalogueRows) {
    radio->service.SetTemperatureReading(0);
    ConnectAndSettle();
    const auto reads = E8Of(*radio, 3);
    ASSERT_EQ(reads.size(), 14u);
    EXPECT_EQ(reads[1].bytes, Frame({0xE8, 0x58, 0x27, 0x01, 0x00, 0x03, 0x30, 0x31}));
    EXPECT_EQ(reads[13].bytes[10], '0');
    EXPECT_EQ(reads[13].bytes[11], 'D');
    const auto& ad = app->ops.lstAd.Lines();
    EXPECT_EQ(ad[0], "[A/D]");
    EXPECT_EQ(ad[1], "189:BDh:VIN  :  7.41V");
    EXPECT_EQ(ad[2], "  0:00h:TEMPS:*Error");
    EXPECT_EQ(ad[3], "128:80h:LVIN :  2.51V");
    EXPECT_EQ(ad[6], "128:80h:BDET :  2.51V(Li-ion)");
    EXPECT_EQ(app->ops.lstDa.Lines()[1], "128:80h:BPF T1 :  2.51V");
    // Reload reads them again; an unchanged reading is not redrawn, a new one is.
    radio->service.SetTemperatureReading(118);
    app->ops.RigOpFunc_ClickCmd00(1);
    Run(3000);
    EXPECT_EQ(E8Of(*radio, 3).size(), 28u);
    EXPECT_EQ(app->ops.lstAd.Lines()[2].substr(0, 14), "118:76h:TEMPS:");
    EXPECT_EQ(app->ops.lstAd.Lines()[2].size(), 22u);
    // By now the image's values are in the radio.
    EXPECT_EQ(app->ops.lstDa.Lines()[1], "118:76h:BPF T1 :  2.31V");
    EXPECT_EQ(app->ops.lstDa.Lines()[6], " 77:4Dh:DTCS BL: 30.20%");
}

TEST_F(AdjustRig, ThreeQuickChangesGoOutOneByOneWithTheirPause) {
    ConnectAndSettle();
    con().UpDown(1, 1);
    con().UpDown(2, 1);
    con().UpDown(3, -1);
    Run(2000);
    const auto a = E8Of(*radio, 5), b = E8Of(*radio, 6), c = E8Of(*radio, 7);
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(radio->service.Stored(5), 201);
    EXPECT_EQ(radio->service.Stored(6), 151);
    EXPECT_EQ(radio->service.Stored(7), 99);
    EXPECT_EQ(app->radio.eepImage.ReadByte(36), 99);
    for (auto gap : {b[1].at - a[1].at, c[1].at - b[1].at}) {
        EXPECT_GE(gap, 200u);
        EXPECT_LE(gap, 300u);
    }
}

TEST_F(AdjustRig, OnlyTheStandardSendPausesTheCycle) {
    ConnectAndSettle();
    con().UpDown(0, 1); // channel selection: sent through its own event
    con().UpDown(1, 1);
    con().UpDown(2, 1);
    Run(2000);
    const auto ch = E8Of(*radio, 0), hi = E8Of(*radio, 5), l2 = E8Of(*radio, 6);
    ASSERT_EQ(ch.size(), 2u);
    ASSERT_EQ(hi.size(), 2u);
    ASSERT_EQ(l2.size(), 2u);
    EXPECT_EQ(ch[1].bytes, Frame({0xE8, 0x58, 0x27, 0x01, 0x00, 0x00, 0x30, 0x32}));
    EXPECT_LT(hi[1].at - ch[1].at, 200u) << "no pause after the channel selection";
    EXPECT_GE(l2[1].at - hi[1].at, 200u) << "the item's pause after a standard send";
}

TEST_F(AdjustRig, InvalidAnswerEndsInTheMessageAndAReset) {
    ConnectAndSettle();
    radio->service.SetInvalidAnswers(true);
    app->ops.RigOpFunc_ClickCmd00(1);
    Run(1000);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], "Communication failed.\r\n\r\nCheck the following:\r\n\r\n"
                                   "- Cloning cable connections.\r\n- The NQ-Z30 power is ON.");
    EXPECT_EQ(app->ops.opState, 0);
    EXPECT_FALSE(app->com.comOpen());
    EXPECT_EQ(app->ops.lstAd.Lines()[1], "----");
}

TEST_F(AdjustRig, PortIsReleasedAfterTheHoldTime) {
    app->ComAutoRelease(3);
    app->ops.RigOpFunc_ClickCmd00(0);
    ASSERT_TRUE(RunUntil([this] { return app->ops.opState >= 3; }));
    std::uint64_t lastFrame = 0;
    std::uint64_t closedAt = 0;
    for (int t = 0; t < 10000 && !closedAt; t += 50) {
        clock.now += 50;
        app->Tick();
        lastFrame = radio->sent.back().at;
        if (!app->com.comOpen()) closedAt = clock.now;
    }
    ASSERT_NE(closedAt, 0u);
    EXPECT_GE(closedAt - lastFrame, 3000u);
    EXPECT_LE(closedAt - lastFrame, 3150u);
}

TEST_F(AdjustRig, PortStaysOpenWithoutAutoRelease) {
    ConnectAndSettle();
    Run(10000);
    EXPECT_TRUE(app->com.comOpen());
}
