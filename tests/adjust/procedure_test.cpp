#include <algorithm>

#include "rig.h"

namespace {
bool InTxfLoop(const clsIndOp_RigZ30& ops) { return ops.procState >= 3 && ops.procState <= 5; }
} // namespace

TEST_F(AdjustRig, TxfProcedureFillsAllAreasFromTwoSettings) {
    for (int i = 0; i < 21; ++i)
        app->ops.refCoef[static_cast<std::size_t>(i)] = i - 10;
    radio->service.SetTemperatureReading(118); // area 9
    ConnectAndSettle();
    clsIndOp_RigZ30& ops = app->ops;

    con().EnterPushed(clsIndOp_RigZ30::kTxf);
    ASSERT_TRUE(RunUntil([&] { return InTxfLoop(ops); }));
    EXPECT_EQ(con().Value(clsIndOp_RigZ30::kTxf), 109) << "REF Initial of the area";
    EXPECT_EQ(app->ops.lboConsole.Line(13).substr(0, 33), "       TXF: 1st TX Freq = 450.125");

    con().Value(clsIndOp_RigZ30::kTxf, 100);
    Run(3000);
    for (int a : {8, 9, 10}) {
        EXPECT_EQ(radio->service.Stored(16 + a), 100) << a;
        EXPECT_EQ(radio->service.Stored(36 + a), 0) << a;
        EXPECT_EQ(app->radio.eepImage.ReadByte(66 + a), 100);
    }
    EXPECT_EQ(radio->service.Stored(16 + 11), -1) << "only the neighbouring areas";

    con().EnterPushed(clsIndOp_RigZ30::kTxf);
    ASSERT_TRUE(RunUntil([&] { return ops.txfSecondPoint && InTxfLoop(ops); }));
    EXPECT_EQ(ops.firstSetting, 100);
    EXPECT_EQ(con().Value(clsIndOp_RigZ30::kTxf), 160);
    EXPECT_EQ(app->ops.lboConsole.Line(13).substr(0, 39),
              "       TXF: 2nd TX Freq = 450.12950MHz,");

    con().Value(clsIndOp_RigZ30::kTxf, 120);
    Run(3000);
    con().EnterPushed(clsIndOp_RigZ30::kTxf);
    ASSERT_TRUE(RunUntil([&] { return ops.procState == 0; }));
    EXPECT_EQ(beeper.beeps, 1);
    // Slope 2 per coefficient unit: table 120 - 2i; at t = 118 in area 9 the expected value is
    // 102 - 6 * 4 / 32 = 101.25, so the correction is 100 - 101 = -1.
    EXPECT_EQ(ops.refCorrection, -1);
    constexpr int kSlant[20] = {-4, -8, -8, -8, -8, -4, -4, -4, -4, -4,
                                -4, -4, -4, -4, -4, -8, -8, -8, -8, -4};
    for (int a = 0; a < 20; ++a) {
        SCOPED_TRACE(a);
        EXPECT_EQ(app->radio.eepImage.ReadByte(66 + a), 119 - 2 * a);
        EXPECT_EQ(radio->service.Stored(16 + a), 119 - 2 * a);
        EXPECT_EQ(app->radio.eepImage.ReadByte(46 + a), kSlant[a] & 0xFF);
        EXPECT_EQ(radio->service.Stored(36 + a), kSlant[a] & 0xFF);
    }
    EXPECT_EQ(app->ops.lboConsole.Line(13), "       TXF: [Enter] to Start");
}

TEST_F(AdjustRig, TxfTableOfExtremeCoefficientsStaysInRange) {
    const double sets[][2] = {{1e300, -1e300}, {3e38, 1e30}, {1e-300, -5}};
    ConnectAndSettle();
    clsIndOp_RigZ30& ops = app->ops;
    for (const auto& set : sets) {
        SCOPED_TRACE(set[0]);
        for (std::size_t i = 0; i < 21; ++i)
            ops.refCoef[i] = set[i % 2];
        radio->service = CSimServiceModel();
        for (int point = 0; point < 2; ++point) {
            con().EnterPushed(clsIndOp_RigZ30::kTxf);
            ASSERT_TRUE(
                RunUntil([&] { return ops.txfSecondPoint == (point == 1) && InTxfLoop(ops); }));
            con().Value(clsIndOp_RigZ30::kTxf, 100 + 40 * point);
            Run(3000);
        }
        con().EnterPushed(clsIndOp_RigZ30::kTxf);
        ASSERT_TRUE(RunUntil([&] { return ops.procState == 0; }));
        for (int a = 0; a < 20; ++a) {
            EXPECT_GE(radio->service.Stored(16 + a), 0) << "every area was written";
            EXPECT_EQ(app->radio.eepImage.ReadByte(46 + a), radio->service.Stored(36 + a));
        }
    }
}

TEST_F(AdjustRig, TxfPartialWriteStaysInsideTheAreas) {
    struct Case {
        int temperature;
        int area;
        std::vector<int> written;
    };
    const Case cases[] = {
        {5, 0, {0, 1}},          {15, 0, {0, 1}},     {16, 1, {0, 1, 2}},
        {239, 18, {17, 18, 19}}, {254, 19, {18, 19}}, {255, 19, {18, 19}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.temperature);
        SetUp();
        radio->service.SetTemperatureReading(c.temperature);
        ConnectAndSettle();
        const int bpfT4 = radio->service.Stored(15);
        con().EnterPushed(clsIndOp_RigZ30::kTxf);
        ASSERT_TRUE(RunUntil([this] { return InTxfLoop(app->ops); }));
        Run(3000);
        EXPECT_EQ(app->ops.txfArea, c.area);
        for (int a = 0; a < 20; ++a) {
            const bool w = std::find(c.written.begin(), c.written.end(), a) != c.written.end();
            EXPECT_EQ(radio->service.Stored(16 + a), w ? 100 + c.area : -1) << a;
            EXPECT_EQ(radio->service.Stored(36 + a), w ? 0 : -1) << a;
        }
        EXPECT_EQ(radio->service.Stored(15), bpfT4) << "no write below the first area";
        EXPECT_EQ(radio->service.Stored(56), -1);
        TearDown();
    }
}

TEST_F(AdjustRig, BpfSweepFindsThePeak) {
    struct Case {
        int enterItem;
        std::vector<int> filters;
    };
    const Case cases[] = {{clsIndOp_RigZ30::kBpfT2, {1}}, {clsIndOp_RigZ30::kBpfAll, {0, 1, 2, 3}}};
    for (const Case& c : cases) {
        SetUp();
        radio->service.SetFilterPeak(0, -40);
        radio->service.SetFilterPeak(1, 10);
        radio->service.SetFilterPeak(2, 35);
        radio->service.SetFilterPeak(3, 70);
        ConnectAndSettle();
        con().EnterPushed(c.enterItem);
        Run(200);
        EXPECT_NE(app->ops.procState, 0);
        if (c.enterItem == clsIndOp_RigZ30::kBpfAll)
            EXPECT_EQ(app->ops.lboConsole.Line(8), "   BPF ALL: Sweeping");
        else
            EXPECT_EQ(app->ops.lboConsole.Line(10).substr(38), " Sweeping");
        ASSERT_TRUE(RunUntil([this] { return app->ops.procState == 0; }, 600000));
        Run(2000);
        EXPECT_EQ(beeper.beeps, 1);
        for (int f : c.filters) {
            SCOPED_TRACE(f);
            EXPECT_EQ(con().Value(clsIndOp_RigZ30::kBpfT1 + f), radio->service.FilterPeak(f));
            EXPECT_EQ(radio->service.Stored(12 + f), radio->service.FilterPeak(f) & 0xFF);
            EXPECT_EQ(con().Item(clsIndOp_RigZ30::kBpfT1 + f).WaitAfterE8, 200);
        }
        EXPECT_EQ(app->ops.lboConsole.Line(8), "   BPF ALL: [Enter] to Sweep");
        TearDown();
    }
}

TEST_F(AdjustRig, ButtonsStopAProcedure) {
    ConnectAndSettle();
    con().EnterPushed(clsIndOp_RigZ30::kBpfAll);
    Run(500);
    ASSERT_NE(app->ops.procState, 0);
    app->ops.RigOpFunc_ClickCmd00(2); // Disp para
    EXPECT_EQ(app->ops.procState, 0);
    Run(500);
    EXPECT_TRUE(app->ops.RigZ30Prop_DispPara());
    EXPECT_FALSE(app->ops.RigZ30Prop_EditEnabled());
    EXPECT_EQ(app->ops.txtPara.substr(0, 31), "           POW HI Level:  200\r\n");
    app->ops.RigOpFunc_ClickCmd00(2);
    Run(100);
    EXPECT_TRUE(app->ops.RigZ30Prop_EditEnabled());
    EXPECT_TRUE(app->ops.focusDispParaRequest);
}
