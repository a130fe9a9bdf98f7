// The adjust utility's window on nqz30sim: a radio with a known image, a "Const.ini" in the
// current folder, and the frames the simulator logged.
#pragma once

#include "adjust/adjust_app.h"
#include "adjust/ui/adj_program.h"
#include "adjust/ui/frm_main.h"
#include "clone/byte_image.h"
#include "sim/hxq_file.h"
#include "tests/integration/sim_process.h"
#include "tests/support/modal_hand.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// The radio's memory: three channels and known alignment values.
inline void WriteRadioImage(const std::string& path) {
    CByteImage im(2048);
    const std::uint8_t head[] = {0x58, 0x27, 0x01, 0x00};
    im.WriteBlock(0, head, sizeof head);
    for (std::uint32_t a = 512; a < 2048; ++a)
        im.WriteByte(a, 0xFF);
    im.WriteByte(23, 0x45);
    const std::uint8_t adjust[] = {38, 200, 37,   150, 36, 100, 45, 77, 43,   128, 44,   64, 167,
                                   90, 39,  0xF6, 40,  5,  41,  20, 42, 0x80, 34,  0xFE, 35, 3};
    for (std::size_t i = 0; i < sizeof adjust; i += 2)
        im.WriteByte(adjust[i], adjust[i + 1]);
    for (std::uint8_t a = 0; a < 20; ++a)
        im.WriteByte(66u + a, static_cast<std::uint8_t>(100 + a));
    const std::uint8_t channels[3][13] = {
        {0x45, 0x01, 0x25, 0x45, 0x01, 0x25, 0, 0, 0, 0x03, 0, 0, 0x80},
        {0x44, 0x61, 0x00, 0x44, 0x61, 0x00, 0, 0, 0, 0x02, 0, 0, 0x00},
        {0x45, 0x02, 0x50, 0x45, 0x52, 0x50, 0, 0, 0, 0x00, 0, 0, 0x00},
    };
    for (std::uint32_t n = 0; n < 3; ++n)
        im.WriteBlock(512 + 20 * n, channels[n], sizeof channels[n]);
    im.WriteBlock(0x7F8, reinterpret_cast<const std::uint8_t*>("NORQ Inc"), 8);
    ASSERT_TRUE(SimSaveHxq(path, im));
}

// "Const.ini" with the given coefficients (the rest 0).
inline void WriteConstIni(const QString& path, const std::vector<double>& coef = {}) {
    std::ofstream out(path.toStdString());
    out << "KT-Z30 ADJ Rev.1.0\r\n";
    for (std::size_t i = 0; i < 21; ++i)
        out << (i < coef.size() ? coef[i] : 0.0) << "\r\n";
}

class AdjWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatform();
        ASSERT_TRUE(m_dir.isValid());
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        WriteConstIni(m_dir.filePath(QStringLiteral("Const.ini")));
        WriteRadioImage(Path("radio.hxq"));
        // Every test starts without settings.
        QFile::remove(QString::fromStdString(UserConfigFolder() + "KTZ30ADJ.rs"));
    }
    void TearDown() override {
        program.reset();
        QDir::setCurrent(m_oldDir);
        ResetPlatform();
    }
    std::string Path(const char* name) const {
        return m_dir.filePath(QString::fromLatin1(name)).toStdString();
    }

    // nqz30sim with the known image and a frame log, plus options.
    std::unique_ptr<CSimProcess> Sim(QStringList options = {}) {
        options << QStringLiteral("--image") << QString::fromStdString(Path("radio.hxq"))
                << QStringLiteral("--log") << QString::fromStdString(Path("frames.log"));
        auto sim = std::make_unique<CSimProcess>(options);
        EXPECT_FALSE(sim->Path().empty()) << "nqz30sim did not start";
        return sim;
    }
    frmMain& Start(const CSimProcess& sim, clsAdjOptions options = {false, false}) {
        program = std::make_unique<clsAdjProgram>(options);
        EXPECT_TRUE(program->Start(QString::fromStdString(sim.Path())));
        frmMain& w = *program->Window();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    clsIndOp_RigZ30& Ops() { return program->App().ops; }
    // "Connect", then wait until the image is read, the readings shown and the values sent.
    bool Connect(frmMain& w) {
        QTest::mouseClick(w.Button(0), Qt::LeftButton);
        return QTest::qWaitFor(
            [&] {
                const clsIndOp_RigZ30& ops = Ops();
                if (!ops.RigZ30Prop_EditEnabled() || ops.lstDa.Line(8) == "----") return false;
                for (int i = 0; i < ops.console.ListCount(); ++i)
                    if (ops.console.Item(i).flgChanged) return false;
                return true;
            },
            20000);
    }
    // The values the PC sent with E8 command number command, from the simulator's log.
    std::vector<int> E8Values(int command) const {
        std::vector<int> values;
        std::ifstream log(Path("frames.log"));
        char head[64];
        std::snprintf(head, sizeof head, "PC FE FE EE EF E8 58 27 01 00 %02X ", command);
        for (std::string line; std::getline(log, line);) {
            if (line.rfind(head, 0) != 0 || line.size() < 41) continue;
            const int hi = std::stoi(line.substr(33, 2), nullptr, 16);
            const int lo = std::stoi(line.substr(36, 2), nullptr, 16);
            values.push_back(
                std::stoi(std::string{static_cast<char>(hi), static_cast<char>(lo)}, nullptr, 16));
        }
        return values;
    }
    QString Line(const QListWidget* list, int row) const {
        return row < list->count() ? list->item(row)->text() : QString();
    }

    std::unique_ptr<clsAdjProgram> program;

private:
    QTemporaryDir m_dir;
    QString m_oldDir;
};
