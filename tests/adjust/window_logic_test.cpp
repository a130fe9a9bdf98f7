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

// The first "Const.ini" found is the one read, as editors write it; one found that cannot be
// used is told with its path (never passed by for the next), and so is none at all.
TEST_F(AdjustRig, ConstIniIsTakenFromTheFirstPlaceThatHasOne) {
    const fs::path dir = fs::temp_directory_path() / "ktz30adj_constini_test";
    fs::remove_all(dir);
    for (const char* sub : {"a", "b", "c"})
        fs::create_directories(dir / sub);
    app->constIniPlaces.clear();
    for (const char* sub : {"a", "b", "c"})
        app->constIniPlaces.push_back((dir / sub / "Const.ini").string());
    const std::string b = app->constIniPlaces[1];
    std::ofstream(dir / "c" / "Const.ini") << "KT-Z30 ADJ Rev.1.0\n9\n";
    struct Case {
        const char* name;
        std::string text; // of b's file; "" for none
        double first;     // the first coefficient read, when it is read
        std::string told;
    };
    const Case cases[] = {
        {"byte-order mark, CR LF, tabs", "\xEF\xBB\xBFKT-Z30 ADJ Rev.1.0\t\r\n\t7.5\t\r\n", 7.5,
         ""},
        {"CR alone", "KT-Z30 ADJ Rev.1.0\r-2\r", -2, ""},
        {"another first line", "KT-Z30 ADJ Rev.2.0\n", 0,
         b + ": line 1 is not \"KT-Z30 ADJ Rev.1.0\"."},
        {"not finite", "KT-Z30 ADJ Rev.1.0\n1\n1e999\n", 0,
         b + ": line 3: '1e999' is not a finite number."},
        {"out of range", "KT-Z30 ADJ Rev.1.0\r\n1e300\r\n", 0,
         b + ": line 2: '1e300' is out of range (at most 3.4e38 either way)."},
        {"none", "", 0, ""},
    };
    settings.SetString("OPTION", "ComPort", "3");
    for (const Case& c : cases) {
        fs::remove(dir / "b" / "Const.ini");
        if (!c.text.empty()) std::ofstream(dir / "b" / "Const.ini", std::ios::binary) << c.text;
        if (c.text.empty()) fs::remove(dir / "c" / "Const.ini");
        prompts.messages.clear();
        const bool read = c.told.empty() && !c.text.empty();
        EXPECT_EQ(app->Startup(), read) << c.name;
        if (read) {
            EXPECT_EQ(app->ops.refCoef[0], c.first) << c.name;
            EXPECT_TRUE(prompts.messages.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(prompts.messages.size(), 1u) << c.name;
        const std::string none = "Looked for it in:\r\n" + app->constIniPlaces[0] +
                                 " (not found)\r\n" + b + " (not found)\r\n" +
                                 app->constIniPlaces[2] + " (not found)";
        EXPECT_EQ(prompts.messages[0],
                  "Cannot read 'Const.ini'.\r\n\r\n" + (c.told.empty() ? none : c.told))
            << c.name;
    }
    EXPECT_EQ(app->ComPortNo(), 3);
    // The program ends with its settings saved.
    EXPECT_EQ(settings.GetString("OPTION", "ComPort", ""), "3");
    EXPECT_EQ(settings.GetString("OPTION", "ComAutoRelease", ""), "0");
    fs::remove_all(dir);
}
