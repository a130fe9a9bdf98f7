// The adjust utility against the simulated radio itself (the same model nqz30sim runs), over
// the in-memory cable and driven tick by tick on a fake clock: connect and clone read, readings,
// a value change reaching the radio, and a filter sweep finding the radio's peak.
#include "adjust/adjust_app.h"
#include "sim/radio_model.h"
#include "sim/sim_link.h"
#include "tests/adjust/fake_radio.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class AdjustOnSim : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        Platform().clock = &clock;
        Platform().prompts = &prompts;
        for (std::uint32_t a = 0; a < 0x70; ++a)
            radio.Image().WriteByte(a, static_cast<std::uint8_t>(0x30 + a));
        app = std::make_unique<clsAdjustApp>(&clock);
        app->com.SetDevice(std::make_unique<CSimLink>(radio));
    }
    void TearDown() override {
        app.reset();
        ResetPlatform();
    }
    bool RunUntil(const std::function<bool()>& done, int maxMs) {
        for (int t = 0; t < maxMs; t += 50) {
            if (done()) return true;
            clock.now += 50;
            app->Tick();
        }
        return done();
    }
    void Run(int ms) {
        RunUntil([] { return false; }, ms);
    }

    FakeClock clock;
    RecordingPrompts prompts;
    CSimRadio radio;
    std::unique_ptr<clsAdjustApp> app;
};

} // namespace

TEST_F(AdjustOnSim, ConnectReadsTheRadiosImageAndItsReadings) {
    radio.Service().SetTemperatureReading(118);
    app->ops.RigOpFunc_ClickCmd00(0);
    ASSERT_TRUE(RunUntil([this] { return app->ops.opState >= 3; }, 60000));
    Run(5000);
    ASSERT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    for (std::uint32_t a = 0; a < 2048; ++a)
        ASSERT_EQ(app->radio.eepImage.ReadByte(static_cast<int>(a)), radio.Image().ReadByte(a))
            << a;
    EXPECT_EQ(app->ops.lstAd.Lines().at(2).substr(0, 14), "118:76h:TEMPS:");
    EXPECT_EQ(radio.Service().Stored(2), 1); // the radio was put into adjust mode
}

TEST_F(AdjustOnSim, SweepFindsTheRadiosFilterPeak) {
    radio.Service().SetFilterPeak(1, 23);
    app->ops.RigOpFunc_ClickCmd00(0);
    ASSERT_TRUE(RunUntil([this] { return app->ops.opState >= 3; }, 60000));
    Run(5000);
    app->ops.console.EnterPushed(clsIndOp_RigZ30::kBpfT2);
    Run(200);
    ASSERT_NE(app->ops.procState, 0);
    ASSERT_TRUE(RunUntil([this] { return app->ops.procState == 0; }, 600000));
    Run(2000);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(app->ops.console.Value(clsIndOp_RigZ30::kBpfT2), 23);
    EXPECT_EQ(radio.Service().Stored(13), 23);
}

TEST_F(AdjustOnSim, AnInvalidAnswerEndsInTheCloneErrorMessage) {
    app->ops.RigOpFunc_ClickCmd00(0);
    ASSERT_TRUE(RunUntil([this] { return app->ops.opState >= 3; }, 60000));
    radio.Service().SetInvalidAnswers(true);
    ASSERT_TRUE(RunUntil([this] { return !prompts.messages.empty(); }, 20000));
    Run(1000);
    EXPECT_LT(app->ops.opState, 3);
}
