// Clone > "Write to Several Radios..." on simulated radios: three ports at once with numbered
// codes, then radio after radio on one port with a radio brought back; the document never
// changes.
#include "app_fixture.h"

#include "app/qt/fleet_dlg.h"
#include "tests/support/file_text.h"
#include "views/command_ids.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>
#include <vector>

namespace {

struct CSimRadio {
    QProcess process;
    QString device;
    explicit CSimRadio(const QStringList& args) {
        process.start(QStringLiteral(KT_SIM_PATH), args);
        if (process.waitForStarted(3000) && process.waitForReadyRead(3000))
            device = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~CSimRadio() {
        process.kill();
        process.waitForFinished(3000);
    }
};

template <class T> T* Child(QWidget* parent, const QString& text) {
    for (T* w : parent->findChildren<T*>())
        if (w->text() == text) return w;
    ADD_FAILURE() << "no " << text.toStdString();
    return nullptr;
}

} // namespace

TEST_F(AppTest, FleetDialogWritesRadiosAtOnceAndOneAfterAnother) {
    QTemporaryDir dir;
    // The radios' runs keep their settings and backups here.
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
    const QString cable = dir.filePath("cable");
    const auto put = [&](int radio) { std::ofstream(cable.toStdString()) << radio << "\n"; };
    put(1);
    std::vector<std::unique_ptr<CSimRadio>> sims;
    for (const char* alignment : {"1", "2", "3"})
        sims.push_back(
            std::make_unique<CSimRadio>(QStringList{"--variant", "5", "--alignment", alignment}));
    sims.push_back(std::make_unique<CSimRadio>(
        QStringList{"--variant", "5", "--cable", cable, "--alignment", "4"}));
    for (const auto& s : sims)
        ASSERT_FALSE(s->device.isEmpty());
    Platform().settings->SetInt("Model", "ModelVer", 5);
    CZ30MainFrame& frame = Start();
    const std::vector<std::uint8_t> before = app->Document().ImageBytes();

    ModalHand hand;
    bool ran = false;
    hand.handler = [&](QWidget* w) {
        auto* dialog = qobject_cast<CFleetDlg*>(w);
        if (!dialog) {
            // A radio brought back: leave it as it is.
            ModalHand::Click(w, QMessageBox::No);
            return true;
        }
        for (int i = 0; i < 3; ++i)
            dialog->AddPort(sims[i]->device);
        Child<QRadioButton>(dialog, "A &numbered value:")->setChecked(true);
        Child<QPushButton>(dialog, "&Start")->click();
        const auto finished = [dialog] {
            return dialog->Engine() && dialog->Engine()->AllFinished();
        };
        EXPECT_TRUE(QTest::qWaitFor(finished, 60000));
        EXPECT_EQ(dialog->Summary(), QStringLiteral("Done 3, failed 0, not started 0"));
        auto* table = dialog->findChild<QTableWidget*>();
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(table->item(row, 4)->text(), QStringLiteral("Cloning completed. Verified."));
            EXPECT_EQ(table->item(row, 2)->text(),
                      QStringLiteral("5ToneCodeCH.TXCodeCH.CH1.TxCode=0010%1").arg(row + 1));
        }
        QString error;
        EXPECT_TRUE(dialog->WriteReport(dir.filePath("r.csv"), &error)) << error.toStdString();
        const std::string csv = ReadAll(dir.filePath("r.csv").toStdString());
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4) << csv;

        // Radio after radio on the fourth port: radio 1, radio 1 again (left alone), radio 2.
        auto* ports = dialog->findChild<QListWidget*>();
        for (int i = 0; i < ports->count(); ++i)
            ports->item(i)->setCheckState(Qt::Unchecked);
        dialog->AddPort(sims[3]->device);
        Child<QRadioButton>(dialog, "The first checked port, radio after &radio:")
            ->setChecked(true);
        dialog->findChild<QSpinBox*>()->setValue(2);
        Child<QPushButton>(dialog, "&Start")->click();
        QPushButton* next = Child<QPushButton>(dialog, "Ne&xt Radio");
        const auto ready = [next] { return next->isEnabled(); };
        const auto summary = [dialog] {
            return dialog->findChild<QLabel*>(QStringLiteral("summary"))->text();
        };
        for (int step = 0; step < 3; ++step) {
            EXPECT_TRUE(QTest::qWaitFor(ready, 60000)) << step;
            if (step == 2) put(2);
            next->click();
            const QString want = step == 1 ? QStringLiteral("Radio 1 left as it is")
                                           : QStringLiteral("Done %1").arg(step ? 2 : 1);
            EXPECT_TRUE(QTest::qWaitFor([&] { return summary().startsWith(want); }, 60000))
                << summary().toStdString();
        }
        EXPECT_EQ(dialog->Summary(), QStringLiteral("Done 2, failed 0, not started 0"));
        EXPECT_EQ(table->item(1, 2)->text(),
                  QStringLiteral("5ToneCodeCH.TXCodeCH.CH1.TxCode=00102"));
        ran = true;
        dialog->reject();
        return true;
    };
    frame.Action(cmd::kFleetWrite)->trigger();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(hand.seen.join(';').contains("written already"))
        << hand.seen.join(';').toStdString();
    // The document in the window is as it was.
    EXPECT_EQ(app->Document().ImageBytes(), before);
    EXPECT_FALSE(app->Document().IsModified());
}
