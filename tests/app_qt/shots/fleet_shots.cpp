// Takes the screenshot of Clone > "Write to Several Radios..." during a run for docs/screenshots
// under a real X server (Xvfb): three paced simulated radios written at once, each with its own
// five-tone code, one of them failing.
//   fleet_shots NQZ30SIM KTZ30CLI OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/fleet_dlg.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "clone/model_manager.h"
#include "shoot.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>
#include <vector>

using namespace shots;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeArguments(argc, argv, 3, "fleet_shots NQZ30SIM KTZ30CLI OUTPUT_DIR")) return 2;
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList devices;
    for (const char* fault : {"", "", "--fail-write", ""}) {
        sims.push_back(std::make_unique<QProcess>());
        QStringList args = {"--pace", "--variant", "5", "--alignment",
                            QString::number(sims.size())};
        if (*fault) args << QString::fromLatin1(fault);
        sims.back()->start(QString::fromLocal8Bit(argv[1]), args);
        if (!sims.back()->waitForStarted(3000) || !sims.back()->waitForReadyRead(3000)) return 1;
        devices << QString::fromLocal8Bit(sims.back()->readLine()).trimmed();
    }
    CZ30App app(ShotOptions());
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return 1;
    CZ30MainFrame& frame = *app.MainFrame();
    frame.setGeometry(20, 20, 760, 520);
    // A PMR radio's document: the five-tone code is its own.
    app.Document().GetCloneManager()->GetModelManager()->ChangeModel(5, false);
    app.Document().SetModifiedFlag(false);
    CFleetDlg dialog(app.Document(), QString::fromLocal8Bit(argv[2]), &frame);
    dialog.setGeometry(60, 60, 900, 560);
    for (const QString& device : devices)
        dialog.AddPort(device);
    for (QRadioButton* b : dialog.findChildren<QRadioButton*>())
        if (b->text() == QStringLiteral("A &numbered value:")) b->setChecked(true);
    dialog.show();
    Wait(300);
    dialog.Start();
    // The failing radio has given up, the others are verifying.
    Wait(9500);
    Shoot(QStringLiteral("fleet-write"), {&dialog});
    dialog.CancelAll();
    Wait(1500);
    for (auto& s : sims)
        s->kill();
    return 0;
}
