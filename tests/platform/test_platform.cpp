#include "platform/serial_device.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
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

// A lock that is not taken within two seconds is told, and the changes stay unsaved; a value set
// as it is stored writes nothing, so lines the store cannot parse stay.
TEST(SettingsStore, WritesOnlyChangesAndOnlyUnderItsLock) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("KT-Z30.conf")).toStdString();
    const std::string lockPath = path + ".lock";
    const std::string text = "[CommPort]\nPortNumber=3\n garbage\n";
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string told; // what the report says
    };
    QLockFile held(QString::fromStdString(lockPath));
    const Case cases[] = {
        {"taken here", [&] { ASSERT_TRUE(held.tryLock(0)); },
         "the settings are locked by process " +
             std::to_string(QCoreApplication::applicationPid())},
        {"a link to nothing", [&] { ASSERT_EQ(::symlink("/nowhere", lockPath.c_str()), 0); },
         "the settings are locked by an unknown program (" + lockPath + " is there)"},
        {"of another host", [&] { std::ofstream(lockPath) << "1\nktz30\nelsewhere\n"; },
         "the settings are locked by process 1 (ktz30) on elsewhere"},
    };
    for (const Case& c : cases) {
        std::ofstream(path) << text;
        c.make();
        std::vector<std::string> told;
        {
            CQtSettingsStore store(path);
            store.SetReporter([&](const std::string& problem) { told.push_back(problem); });
            store.SetInt("CommPort", "PortNumber", 3);
            EXPECT_TRUE(store.Sync()) << c.name << ": nothing changed, nothing to write";
            store.SetInt("CommPort", "PortNumber", 4);
            EXPECT_EQ(store.GetInt("CommPort", "PortNumber", 0), 4);
            EXPECT_FALSE(store.Sync()) << c.name;
        }
        ASSERT_EQ(told.size(), 1u) << c.name;
        EXPECT_EQ(told[0].rfind(c.told, 0), 0u) << told[0];
        EXPECT_NE(told[0].find("; going on without saving them"), std::string::npos) << told[0];
        std::ifstream in(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text) << c.name;
        held.unlock();
        ::unlink(lockPath.c_str());
    }
    // Free, a change is written.
    {
        CQtSettingsStore store(path);
        store.SetInt("CommPort", "PortNumber", 4);
        EXPECT_TRUE(store.Sync());
    }
    EXPECT_EQ(CQtSettingsStore(path).GetInt("CommPort", "PortNumber", 0), 4);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
