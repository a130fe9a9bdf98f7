// Takes the adjust utility's screenshots of docs/screenshots under a real X server (Xvfb): the
// console after "Connect", the parameter report and the TXF procedure under way, on nqz30sim
// at the wire's own pace with a radio of known alignment values.
//   ktz30adj_shots OUTPUT_DIR
// The current folder must hold "Const.ini" (the program's folder holds one).
#include "adjust/adjust_app.h"
#include "adjust/ui/adj_program.h"
#include "adjust/ui/frm_main.h"
#include "radio_image.h"
#include "tests/integration/sim_process.h"
#include "tests/support/screen_shot.h"

#include <QTemporaryDir>

#include <QApplication>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QPushButton>
#include <clocale>
#include <cstdio>
#include <functional>

namespace {
QString g_out;

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        WaitMs(50);
    return done();
}

void Shoot(const QString& name, const QWidget& window) {
    ShootWindows(g_out + '/' + name + QStringLiteral(".png"), {&window});
}
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: ktz30adj_shots OUTPUT_DIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    const std::string image = work.filePath(QStringLiteral("radio.hxq")).toStdString();
    if (!WriteRadioImage(image)) return 1;
    // About 25 'C: the temperature reading of a radio on the bench.
    CSimProcess sim({QStringLiteral("--pace"), QStringLiteral("--temperature"),
                     QStringLiteral("173"), QStringLiteral("--image"),
                     QString::fromStdString(image)});
    if (sim.Path().empty()) return 1;
    clsAdjProgram program({false, false});
    if (!program.Start(QString::fromStdString(sim.Path()))) return 1;
    frmMain& w = *program.Window();
    clsIndOp_RigZ30& ops = program.App().ops;
    w.move(40, 40);
    WaitMs(300);

    w.Button(0)->click();
    if (!WaitUntil([&] { return ops.RigZ30Prop_EditEnabled() && ops.lstDa.Line(8) != "----"; },
                   60000))
        return 1;
    WaitMs(1500);
    w.Console()->setCurrentRow(clsIndOp_RigZ30::kPowHi);
    Shoot(QStringLiteral("adj-console"), w);

    w.Button(2)->click();
    WaitUntil([&] { return ops.RigZ30Prop_DispPara(); }, 5000);
    Shoot(QStringLiteral("adj-para"), w);
    w.Button(2)->click();
    WaitUntil([&] { return ops.RigZ30Prop_EditEnabled(); }, 5000);

    // The TXF procedure at its first point, the setting stepped up a little.
    w.Console()->setCurrentRow(clsIndOp_RigZ30::kTxf);
    w.Console()->setFocus();
    ops.ConsoleKey(clsIndOp_RigZ30::kKeyEnter, false);
    WaitUntil([&] { return ops.procState >= 3; }, 10000);
    for (int i = 0; i < 3; ++i)
        ops.ConsoleKey(clsIndOp_RigZ30::kKeyRight, false);
    w.Refresh();
    WaitMs(1500);
    Shoot(QStringLiteral("adj-txf"), w);
    w.close();
    return 0;
}
