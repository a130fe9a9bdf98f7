// The technician's work in the adjust utility's window against the simulated radio: connect,
// adjust with the keys, the parameter report, the TXF and filter procedures, a pulled cable,
// and the start-up refusals.
#include "adj_fixture.h"

#include "platform/instance_guard.h"
#include "platform/settings_store.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>

#include <sys/stat.h>
#include <unistd.h>

TEST_F(AdjWindowTest, ConnectFillsTheConsoleAndTheKeysAdjustTheRadio) {
    auto sim = Sim();
    frmMain& w = Start(*sim);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KT-Z30 ADJ Rev.1.0"));
    EXPECT_EQ(w.CurrentPanel(), w.TitlePanel());
    EXPECT_FALSE(w.Button(1)->isEnabled());
    EXPECT_FALSE(w.Button(2)->isEnabled());
    ASSERT_TRUE(Connect(w));
    EXPECT_EQ(w.CurrentPanel(), w.EditPanel());
    EXPECT_EQ(w.PortLabel()->text(), QString::fromStdString(sim->Path()) + ": OPEN");
    EXPECT_EQ(w.ProgressLabel()->text(), QString(32, QLatin1Char('o')));
    QListWidget* con = w.Console();
    ASSERT_EQ(con->count(), 14);
    EXPECT_EQ(Line(con, 0), QStringLiteral("    CH No.: 01 (RX Freq = 450.125, TX Freq =   <-     "
                                           "RF Power: High  Mode: Narrow"));
    EXPECT_EQ(Line(con, 1), QStringLiteral(" Power(Hi): 200 [################----]"));
    EXPECT_EQ(Line(w.AdList(), 0), QStringLiteral("[A/D]"));
    EXPECT_EQ(Line(w.AdList(), 1), QStringLiteral("189:BDh:VIN  :  7.41V"));
    EXPECT_EQ(Line(w.DaList(), 0), QStringLiteral("[D/A]"));
    // The console took the focus with its first item selected.
    ASSERT_TRUE(QTest::qWaitFor([&] { return con->hasFocus(); }, 2000));
    EXPECT_EQ(con->currentRow(), 0);

    // Down to " Power(Hi)", then Right, Shift+Right and Left: each value goes out with E8 5.
    QTest::keyClick(con, Qt::Key_Down);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int value;
        const char* line;
    };
    const Step steps[] = {
        {Qt::Key_Right, Qt::NoModifier, 201, " Power(Hi): 201 [################----]"},
        {Qt::Key_Right, Qt::ShiftModifier, 206, " Power(Hi): 206 [################----]"},
        {Qt::Key_Left, Qt::NoModifier, 205, " Power(Hi): 205 [################----]"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.value);
        QTest::keyClick(con, s.key, s.mods);
        EXPECT_EQ(Line(con, 1), QString::fromLatin1(s.line));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !E8Values(5).empty() && E8Values(5).back() == s.value; }, 3000));
    }
    EXPECT_EQ(E8Values(5).front(), 200) << "the image's value went out after the read";
    // F5 reads the rows again.
    const std::size_t reads = E8Values(3).size();
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return E8Values(3).size() == reads + 14; }, 5000));
}

TEST_F(AdjWindowTest, DispParaShowsTheReportAndEnterOrEscLeavesIt) {
    auto sim = Sim();
    frmMain& w = Start(*sim);
    ASSERT_TRUE(Connect(w));
    for (Qt::Key leave : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(leave);
        QTest::mouseClick(w.Button(2), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.CurrentPanel() == w.ParaPanel(); }, 3000));
        const QString report = w.ParaText()->toPlainText();
        EXPECT_TRUE(report.startsWith(QStringLiteral("           POW HI Level:  200\n"
                                                     "           POW L2 Level:  150\n")));
        EXPECT_TRUE(report.contains(QStringLiteral("\n         Base Frequency:   450.000MHz\n")));
        EXPECT_TRUE(report.contains(QStringLiteral("\n         REF Initial 19:  119\n")));
        EXPECT_FALSE(w.Button(0)->isEnabled());
        EXPECT_FALSE(w.Button(1)->isEnabled());
        EXPECT_TRUE(w.Button(2)->isDefault());
        QTest::keyClick(QApplication::focusWidget(), leave);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.CurrentPanel() == w.EditPanel(); }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.Button(2)->hasFocus(); }, 1000));
        EXPECT_TRUE(w.Button(0)->isEnabled());
    }
}

TEST_F(AdjWindowTest, TxfProcedureRunsToItsEnd) {
    // The reference drifts 1 ppm a border: the table runs through the 1st setting at the
    // measured border (128, area 10) and rises 6 counts a border.
    std::vector<double> coef;
    for (int i = 0; i <= 20; ++i)
        coef.push_back(10 - i);
    WriteConstIni(QStringLiteral("Const.ini"), coef);
    auto sim = Sim({QStringLiteral("--temperature"), QStringLiteral("128")});
    frmMain& w = Start(*sim);
    ASSERT_TRUE(Connect(w));
    QListWidget* con = w.Console();
    con->setCurrentRow(clsIndOp_RigZ30::kTxf);
    QTest::keyClick(con, Qt::Key_Return);
    // The 1st point starts from REF Initial of the area: 110; five steps up make it 115.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Line(con, 13).contains(
                QStringLiteral("1st TX Freq = 450.12500MHz, Setting = 110"));
        },
        5000))
        << Line(con, 13).toStdString();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(con, Qt::Key_Right);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !E8Values(26).empty() && E8Values(26).back() == 115; }, 5000));
    QTest::keyClick(con, Qt::Key_Enter, Qt::KeypadModifier);
    // The 2nd point, 10 ppm higher, starts 60 above.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Line(con, 13).contains(
                QStringLiteral("2nd TX Freq = 450.12950MHz, Setting = 175"));
        },
        10000))
        << Line(con, 13).toStdString();
    QTest::keyClick(con, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Line(con, 13) == QStringLiteral("       TXF: [Enter] to Start"); }, 30000));
    // REF Initial 0..19 and REF Slant 0..19 reached the radio.
    const std::pair<int, int> sent[] = {{16, 55}, {26, 115}, {35, 169},
                                        {36, 12}, {37, 24},  {41, 12}};
    for (const auto& [command, value] : sent) {
        ASSERT_FALSE(E8Values(command).empty()) << command;
        EXPECT_EQ(E8Values(command).back(), value) << command;
    }
    // And the image holds what the radio got.
    QTest::mouseClick(w.Button(2), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.CurrentPanel() == w.ParaPanel(); }, 3000));
    const QString report = w.ParaText()->toPlainText();
    EXPECT_TRUE(report.contains(QStringLiteral("\n          REF Initial 0:   55\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("\n            REF Slant 1:   24\n")));
}

TEST_F(AdjWindowTest, FilterSweepFindsThePeak) {
    auto sim = Sim({QStringLiteral("--filter-peak"), QStringLiteral("3=17")});
    frmMain& w = Start(*sim);
    ASSERT_TRUE(Connect(w));
    QListWidget* con = w.Console();
    con->setCurrentRow(clsIndOp_RigZ30::kBpfT3);
    QTest::keyClick(con, Qt::Key_Return);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Line(con, 11).endsWith(QStringLiteral(" Sweeping")); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Line(con, 11).endsWith(QStringLiteral("[Enter] to Sweep")); }, 60000));
    EXPECT_TRUE(Line(con, 11).startsWith(QStringLiteral("    BPF T3:  17 [")));
    const std::vector<int> t3 = E8Values(14);
    ASSERT_GT(t3.size(), 256u);
    EXPECT_EQ(t3.back(), 17);
}

TEST_F(AdjWindowTest, PulledCableGivesOneMessageAndTheProgramGoesOn) {
    struct Case {
        QStringList options;
        QString message;
    };
    const Case cases[] = {
        // The adapter pulled out: the device goes away.
        {{QStringLiteral("--pull-after"), QStringLiteral("40"), QStringLiteral("--hang-up")},
         QStringLiteral("Cannot access %1.\n%1: the device is gone")}, // named as --port gave it
        // The cable pulled before the first frame: not even its echo comes back.
        {{QStringLiteral("--pull-after"), QStringLiteral("0")},
         QStringLiteral("Cannot access COM port\n\nCheck the following:")},
        // Pulled at the radio's end during the read.
        {{QStringLiteral("--pull-after"), QStringLiteral("40")},
         QStringLiteral("No answer from NQ-Z30.\n\nCheck the following:")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        auto sim = Sim(c.options);
        frmMain& w = Start(*sim);
        ModalHand hand;
        QTest::mouseClick(w.Button(0), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !hand.seen.isEmpty(); }, 10000));
        QTest::qWait(1500);
        ASSERT_EQ(hand.seen.size(), 1) << hand.seen.join(';').toStdString();
        const QString message = c.message.contains(QStringLiteral("%1"))
                                    ? c.message.arg(QString::fromStdString(sim->Path()))
                                    : c.message;
        EXPECT_TRUE(hand.seen[0].startsWith(QStringLiteral("KT-Z30 ADJ Rev.1.0|") + message))
            << hand.seen[0].toStdString();
        EXPECT_EQ(w.CurrentPanel(), w.TitlePanel());
        EXPECT_TRUE(w.PortLabel()->text().endsWith(QStringLiteral(": CLOSE")));
        EXPECT_FALSE(w.PortLabel()->isEnabled()) << "grey";
        EXPECT_TRUE(w.Button(0)->isEnabled());
    }
    // Another port from the menu: it names its device, and the radio behind it connects.
    auto healthy = Sim();
    CQtSettingsStore* settings = program->Settings();
    settings->SetString("CommPort", "Device2", healthy->Path());
    frmMain& w = *program->Window();
    ModalHand hand;
    QMenu* ports = qobject_cast<QMenu*>(w.PortAction(2)->parent());
    ASSERT_NE(ports, nullptr);
    emit ports->aboutToShow();
    EXPECT_EQ(w.PortAction(2)->text(),
              QStringLiteral("COM &2 (%1)").arg(QString::fromStdString(healthy->Path())));
    EXPECT_FALSE(w.PortAction(2)->isChecked()) << "a device given for the run stands in";
    w.PortAction(2)->trigger();
    EXPECT_TRUE(w.PortAction(2)->isChecked());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w.PortLabel()->text() == QStringLiteral("COM2: CLOSE"); }, 2000))
        << w.PortLabel()->text().toStdString();
    ASSERT_TRUE(Connect(w));
    EXPECT_EQ(w.PortLabel()->text(), QStringLiteral("COM2: OPEN"));
    EXPECT_TRUE(hand.seen.isEmpty());
}

TEST_F(AdjWindowTest, StartRefusals) {
    ModalHand hand;
    {
        // Another copy runs.
        CInstanceGuard other(QString::fromLatin1(clsAdjProgram::kLockName));
        ASSERT_TRUE(other.TryLock());
        clsAdjProgram second({true, false});
        EXPECT_FALSE(second.Start());
        EXPECT_EQ(second.Window(), nullptr);
        EXPECT_EQ(second.ExitCode(), 1);
    }
    {
        // No "Const.ini" anywhere.
        QFile::remove(QStringLiteral("Const.ini"));
        clsAdjProgram program({true, false});
        EXPECT_FALSE(program.Start());
        EXPECT_EQ(program.ExitCode(), 1);
    }
    {
        // One that is no file: it is not opened (a FIFO would hold the program up for ever).
        ASSERT_EQ(::mkfifo("Const.ini", 0600), 0);
        clsAdjProgram program({true, false});
        EXPECT_FALSE(program.Start());
        EXPECT_EQ(program.ExitCode(), 1);
        QFile::remove(QStringLiteral("Const.ini"));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return hand.seen.size() == 3; }, 3000));
    EXPECT_EQ(hand.seen[2], QStringLiteral("KT-Z30 ADJ Rev.1.0|Cannot read 'Const.ini'.\n\n") +
                                QDir::current().filePath(QStringLiteral("Const.ini")) +
                                QStringLiteral(" is a FIFO, not a regular file."));
    // A settings file that is no file: the window opens with the defaults, the FIFO stays.
    const std::string rs = UserConfigFolder() + "KTZ30ADJ.rs";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(UserConfigFolder())));
    ::unlink(rs.c_str()); // the refused starts saved theirs
    ASSERT_EQ(::mkfifo(rs.c_str(), 0600), 0);
    WriteConstIni(QStringLiteral("Const.ini"));
    {
        const auto sim = Sim();
        clsAdjProgram program({false, false});
        EXPECT_TRUE(program.Start(QString::fromStdString(sim->Path())));
        EXPECT_EQ(program.App().ComPortNo(), 1);
        program.App().SelectPort(2);
    }
    struct stat st {};
    EXPECT_TRUE(::stat(rs.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    ::unlink(rs.c_str());
    EXPECT_EQ(hand.seen[0],
              QStringLiteral("KT-Z30 ADJ Rev.1.0|Cannot execute KT-Z30 ADJ Rev.1.0 "
                             "repeatedly.\nKT-Z30 ADJ Rev.1.0 is already executing."));
    EXPECT_TRUE(hand.seen[1].startsWith(QStringLiteral("KT-Z30 ADJ Rev.1.0|Cannot read 'Const.ini'."
                                                       "\n\nLooked for it in:\n") +
                                        QDir::current().filePath(QStringLiteral("Const.ini")) +
                                        QStringLiteral(" (not found)\n")))
        << hand.seen[1].toStdString();
}

TEST(AdjCommandLine, HelpAndVersionPrintWithoutAWindow) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* output;
    };
    const Case cases[] = {
        {{QStringLiteral("--help")}, 0, "--port <DEVICE>"},
        {{QStringLiteral("--version")}, 0, "ktz30adj 1.0 (KT-Z30 ADJ Rev.1.0)"},
        {{QStringLiteral("--bogus")}, 2, "Unknown option 'bogus'"},
    };
    for (const Case& c : cases) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(var));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KT_ADJ_PATH), c.args);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), c.exitCode) << c.output;
        EXPECT_TRUE(QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError())
                        .contains(QString::fromLatin1(c.output)))
            << c.output;
    }
}
