// The adjust utility against the fake radio, driven tick by tick on a fake clock.
#pragma once

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "adjust/adjust_app.h"
#include "fake_radio.h"

class AdjustRig : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        Platform().clock = &clock;
        Platform().prompts = &prompts;
        Platform().beeper = &beeper;
        Platform().settings = &settings;
        beeper.beeps = 0;
        prompts.messages.clear();
        auto dev = std::make_unique<FakeRadio>(&clock);
        radio = dev.get();
        FillKnownImage(radio->image);
        app = std::make_unique<clsAdjustApp>(&clock);
        app->com.SetDevice(std::move(dev));
    }
    void TearDown() override {
        app.reset();
        ResetPlatform();
    }

    static void FillKnownImage(std::vector<std::uint8_t>& im);

    void Run(int ms) {
        for (int t = 0; t < ms; t += 50) {
            clock.now += 50;
            app->Tick();
        }
    }
    bool RunUntil(const std::function<bool()>& done, int maxMs = 60000) {
        for (int t = 0; t < maxMs; t += 50) {
            if (done()) return true;
            clock.now += 50;
            app->Tick();
        }
        return done();
    }
    // Connect and wait until the image is read and every value has gone to the radio.
    void ConnectAndSettle() {
        app->ops.RigOpFunc_ClickCmd00(0);
        ASSERT_TRUE(RunUntil([this] { return app->ops.opState >= 3; }));
        Run(5000);
        ASSERT_TRUE(prompts.messages.empty());
    }
    clsConsole& con() { return app->ops.console; }

    FakeClock clock;
    MemorySettings settings;
    RecordingPrompts prompts;
    CountingBeeper beeper;
    FakeRadio* radio = nullptr;
    std::unique_ptr<clsAdjustApp> app;
};
