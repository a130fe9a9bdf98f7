// What the window relies on, without a window: keys and selection of the console, focus requests,
// redraw counters, the port's events and failures, the port chosen for a run, "Const.ini".
#include <filesystem>
#include <fstream>

#include "rig.h"

namespace fs = std::filesystem;
using K = clsIndOp_RigZ30;

TEST_F(AdjustRig, ConsoleKeysStepTheSelectedItem) {
    ConnectAndSettle();
    EXPECT_TRUE(app->ops.focusConsoleRequest) << "the console's panel has just appeared";
    EXPECT_EQ(app->ops.lboConsole.ListIndex(), -1);
    app->ops.ConsoleFocused();
    EXPECT_EQ(app->ops.lboConsole.ListIndex(), 0);
    struct Case {
        int item, key;
        bool shift, taken;
        int value;
    };
    // In order, from the image's values: Power(Hi) 200, Power(L1) 100, BPF T1 -10, channel 0 of 3.
    const Case cases[] = {
        {1, K::kKeyRight, false, true, 201}, {1, K::kKeyRight, true, true, 206},
        {1, K::kKeyLeft, true, true, 201},   {3, K::kKeyLeft, false, true, 99},
        {9, K::kKeyLeft, true, true, -15},   {0, K::kKeyLeft, false, true, 2},
        {0, K::kKeyRight, false, true, 0},   {1, 38 /* Up: the list's own */, false, false, 201},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item * 1000 + c.key);
        app->ops.lboConsole.ListIndex(c.item);
        EXPECT_EQ(app->ops.ConsoleKey(c.key, c.shift), c.taken);
        EXPECT_EQ(con().Value(c.item), c.value);
    }
    // Steps stop at the bounds of all but the channel item.
    con().Value(9, -126);
    app->ops.lboConsole.ListIndex(9);
    app->ops.ConsoleKey(K::kKeyLeft, true);
    EXPECT_EQ(con().Value(9), -128);
    Run(3000);
    EXPECT_EQ(radio->service.Stored(5), 201);
    EXPECT_EQ(radio->service.Stored(7), 99);
    // Enter and the keypad's separator press Enter on the selected item.
    for (int key : {K::kKeyEnter, K::kKeySeparator}) {
        app->ops.lboConsole.ListIndex(K::kTxf);
        app->ops.stopProcedure();
        ASSERT_TRUE(app->ops.ConsoleKey(key, false));
        Run(500);
        EXPECT_NE(app->ops.procState, 0) << key;
    }
    // "Connect" builds the console anew: nothing is selected.
    app->ops.RigOpFunc_ClickCmd00(0);
    EXPECT_EQ(app->ops.lboConsole.ListIndex(), -1);
}

TEST_F(AdjustRig, WindowFollowsCountersAndFocusRequests) {
    const unsigned progress = app->ops.progressRevision;
    ConnectAndSettle();
    EXPECT_GT(app->ops.progressRevision, progress) << "the bar grows during the read";
    app->ops.focusConsoleRequest = false;
    const unsigned para = app->ops.paraRevision;
    app->ops.RigOpFunc_ClickCmd00(2);
    Run(500);
    ASSERT_TRUE(app->ops.RigZ30Prop_DispPara());
    EXPECT_EQ(app->ops.paraRevision, para + 1);
    Run(500);
    EXPECT_EQ(app->ops.paraRevision, para + 1) << "written once, not on every tick";
    app->ops.RigOpFunc_ClickCmd00(2);
    Run(100);
    EXPECT_TRUE(app->ops.RigZ30Prop_EditEnabled());
    EXPECT_TRUE(app->ops.focusDispParaRequest);
    EXPECT_FALSE(app->ops.focusConsoleRequest) << "back from the report, \"Disp para\" has it";
}

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

TEST_F(AdjustRig, DeviceForTheRunUntilAPortIsChosen) {
    settings.SetString("CommPort", "Device2", "/dev/ttyS7");
    app->com.SetPortDevice("/dev/pts/9");
    ConnectAndSettle();
    app->SelectPort(1); // the same number: still a new port
    EXPECT_EQ(app->ops.opState, 0);
    ConnectAndSettle();
    app->SelectPort(2);
    ConnectAndSettle();
    EXPECT_EQ(radio->opened,
              (std::vector<std::string>{"/dev/pts/9", "/dev/ttyUSB0", "/dev/ttyS7"}));
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
