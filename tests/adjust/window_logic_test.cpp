// What the window relies on, without a window: the port's events and failures, and where
// "Const.ini" comes from.
#include <filesystem>
#include <fstream>

#include "rig.h"

namespace fs = std::filesystem;

TEST_F(AdjustRig, ArrivingBytesRunTheHeartbeatAtOnce) {
    ConnectAndSettle();
    radio->service.SetTemperatureReading(60);
    app->ops.RigOpFunc_ClickCmd00(1);
    app->Tick();
    // No timer tick from here on, no time passes: every answer is taken when its bytes arrive.
    for (int i = 0; i < 200 && app->ops.lstAd.Lines()[2].rfind(" 60:", 0) != 0; ++i)
        app->com.OnDeviceEvent(SerialEvent::BytesArrived);
    EXPECT_EQ(app->ops.lstAd.Lines()[2].substr(0, 14), " 60:3Ch:TEMPS:");
}

TEST_F(AdjustRig, LineFailuresGiveOneMessageAndLeaveTheProgramUsable) {
    const std::string list = "\r\n\r\nCheck the following:\r\n\r\n- The COM port settings.\r\n- "
                             "Cloning cable connections.\r\n- The NQ-Z30 power is ON.";
    const std::string reason = "/dev/ttyUSB0: the device is gone.";
    struct Case {
        const char* name;
        std::function<void()> fail;
        std::string message;
    };
    const Case cases[] = {
        {"device lost", [&] { app->com.OnDeviceEvent(SerialEvent::DeviceLost); },
         "Cannot access COM1.\r\n" + reason + list},
        {"read error", [&] { app->com.OnDeviceEvent(SerialEvent::ReadError); },
         "Cannot access COM1.\r\n" + reason + list},
        {"overflow", [&] { app->com.OnDeviceEvent(SerialEvent::Overflow); },
         "COM buffer Overflow." + list},
        {"write fails",
         [&] {
             radio->writeFails = true;
             app->ops.RigOpFunc_ClickCmd00(1);
             Run(100);
         },
         "Cannot access COM1.\r\n" + reason + list},
    };
    int nested = 0;
    // The heartbeat keeps firing while the box is up; it must not act.
    prompts.whileShown = [&] {
        const std::size_t frames = radio->sent.size();
        for (int i = 0; i < 40; ++i, ++nested) {
            clock.now += 50;
            app->Tick();
        }
        EXPECT_EQ(radio->sent.size(), frames);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConnectAndSettle();
        radio->errorText = reason;
        c.fail();
        Run(3000);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0], c.message);
        EXPECT_FALSE(app->com.comOpen());
        EXPECT_EQ(app->ops.opState, 0);
        prompts.messages.clear();
        radio->writeFails = false;
        radio->errorText.clear();
    }
    EXPECT_EQ(nested, 160);
    ConnectAndSettle();
    EXPECT_TRUE(app->ops.RigZ30Prop_EditEnabled());
}

TEST_F(AdjustRig, ConstIniIsTakenFromTheFirstGoodPlace) {
    const fs::path dir = fs::temp_directory_path() / "ktz30adj_constini_test";
    fs::remove_all(dir);
    for (const char* sub : {"a", "b", "c"})
        fs::create_directories(dir / sub);
    std::ofstream(dir / "b" / "Const.ini") << "KT-Z30 ADJ Rev.2.0\n";
    std::ofstream(dir / "c" / "Const.ini") << "KT-Z30 ADJ Rev.1.0\n7.5\n";
    app->constIniPlaces.clear();
    for (const char* sub : {"a", "b", "c"})
        app->constIniPlaces.push_back((dir / sub / "Const.ini").string());
    settings.SetString("OPTION", "ComPort", "3");
    settings.SetString("OPTION", "ComAutoRelease", "2");
    ASSERT_TRUE(app->Startup());
    EXPECT_EQ(app->ops.refCoef[0], 7.5);
    EXPECT_EQ(app->ComPortNo(), 3);
    EXPECT_EQ(app->seq.comHoldReload(), 2000);
    fs::remove(dir / "c" / "Const.ini");
    settings.values.clear();
    EXPECT_FALSE(app->Startup());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], "Cannot read 'Const.ini'.\r\n\r\nLooked for it in:\r\n" +
                                       app->constIniPlaces[0] + " (not found)\r\n" +
                                       app->constIniPlaces[1] +
                                       " (not a \"KT-Z30 ADJ Rev.1.0\" constants file)\r\n" +
                                       app->constIniPlaces[2] + " (not found)");
    // The program ends with its settings saved.
    EXPECT_EQ(settings.GetString("OPTION", "ComPort", ""), "1");
    EXPECT_EQ(settings.GetString("OPTION", "ComAutoRelease", ""), "0");
    fs::remove_all(dir);
}
