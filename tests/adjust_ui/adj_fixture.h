// The adjust utility's window on nqz30sim: a radio with a known image, a "Const.ini" in the
// current folder, and the frames the simulator logged.
#pragma once

#include "adjust/adjust_app.h"
#include "adjust/ui/adj_program.h"
#include "adjust/ui/frm_main.h"
#include "radio_image.h"
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
        ASSERT_TRUE(WriteRadioImage(Path("radio.hxq")));
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
