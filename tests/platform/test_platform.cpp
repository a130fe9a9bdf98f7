#include "platform/serial_device.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <vector>

namespace {

// A pseudo-terminal: the test holds the master end, the device under test opens the slave.
class Pty {
public:
    Pty() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) return;
        path = ptsname(m_master);
    }
    ~Pty() { Hangup(); }
    void Send(const char* text) { EXPECT_GT(write(m_master, text, strlen(text)), 0); }
    void Hangup() {
        if (m_master >= 0) close(m_master);
        m_master = -1;
    }
    std::string path;

private:
    int m_master = -1;
};

bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

TEST(SerialDevice, OpenFailuresNameTheReason) {
    // Not ours to open (root opens anything, so this one is told, not tried).
    EXPECT_EQ(SerialFailureText("/dev/ttyUSB0", SerialOpenFailure::PermissionDenied, "dialout", ""),
              "/dev/ttyUSB0: permission denied. The user must be in the group that owns the "
              "device (dialout).");
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    CQtSerialDevice first, second;
    std::string error;
    EXPECT_FALSE(first.Open("/dev/kt-no-such-device", 9600, &error));
    EXPECT_EQ(first.LastErrorText(), "/dev/kt-no-such-device: no such device.");
    ASSERT_TRUE(first.Open(pty.path, 9600, &error)) << error;
    EXPECT_EQ(first.LastErrorText(), "");
    EXPECT_FALSE(second.Open(pty.path, 9600, &error));
    EXPECT_EQ(second.LastErrorText(), pty.path + ": device busy (another program is using it).");
}

TEST(SerialDevice, ReportsArrivingBytesAndALostDevice) {
    Pty pty;
    CQtSerialDevice device;
    std::vector<SerialEvent> events;
    device.SetEventHandler([&](SerialEvent e) { events.push_back(e); });
    device.SetInputLimit(8);
    std::string error;
    ASSERT_TRUE(device.Open(pty.path, 9600, &error)) << error;
    pty.Send("abc");
    ASSERT_TRUE(WaitFor([&] { return !events.empty(); }));
    EXPECT_EQ(events.front(), SerialEvent::BytesArrived);
    std::uint8_t buf[64];
    EXPECT_EQ(device.Read(buf, sizeof buf), 3);
    // More than the input limit waiting: an overflow, told once.
    events.clear();
    pty.Send("0123456789");
    ASSERT_TRUE(WaitFor([&] { return !events.empty(); }));
    EXPECT_EQ(events.front(), SerialEvent::Overflow);
    while (device.Read(buf, sizeof buf) > 0) {
    }
    events.clear();
    pty.Hangup();
    ASSERT_TRUE(WaitFor([&] {
        for (SerialEvent e : events)
            if (e != SerialEvent::BytesArrived) return true;
        return false;
    }));
    EXPECT_NE(device.LastErrorText().find(pty.path), std::string::npos);
    device.Close();
}

TEST(SettingsStore, IniFileWithSectionsAndKeys) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("KTZ30ADJ.rs")).toStdString();
    std::ofstream(path) << "[OPTION]\nComPort=\"3\"\nComAutoRelease = 12 \nLine=9600,N,8,1\n"
                           "[CommPort]\nDevice2=/dev/pts/7\n";
    {
        CQtSettingsStore ini(path);
        EXPECT_EQ(ini.GetString("OPTION", "ComPort", ""), "3") << "a quoted value is unquoted";
        EXPECT_EQ(ini.GetInt("OPTION", "ComAutoRelease", 0), 12);
        EXPECT_EQ(ini.GetString("OPTION", "Line", ""), "9600,N,8,1");
        EXPECT_EQ(ini.GetString("OPTION", "Missing", "x"), "x");
        EXPECT_EQ(ResolvePortName("COM2", &ini), "/dev/pts/7");
        ini.SetInt("OPTION", "ComPort", 4);
        ini.SetString("OPTION", "Flag", "1");
        EXPECT_TRUE(ini.Sync());
    }
    CQtSettingsStore again(path);
    EXPECT_EQ(again.GetString("OPTION", "ComPort", ""), "4");
    EXPECT_EQ(again.GetString("OPTION", "Flag", ""), "1");
    EXPECT_EQ(again.GetString("CommPort", "Device2", ""), "/dev/pts/7");
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
