// Takes the screenshot of the differences window for docs/screenshots under a real X server
// (Xvfb): the shop's 16-channel template against a customer's copy of it, the memory sheet's
// cells that differ marked.
//   compare_shots OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/compare_cmds.h"
#include "app/qt/differences_wnd.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "shoot.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>

using namespace shots;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeArguments(argc, argv, 1, "compare_shots OUTPUT_DIR")) return 2;
    CZ30App app(ShotOptions());
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return 1;
    CZ30MainFrame& frame = *app.MainFrame();
    frame.setGeometry(20, 20, 900, 560);
    frame.TemplateMenu()->actions().value(2)->trigger(); // PMR446, 16 channels
    Wait(300);

    // The customer's copy: two channels retuned, one with another tone, a comment.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("customer.hxq"));
    CZ30Doc& doc = app.Document();
    const std::vector<std::uint8_t> shop = doc.ImageBytes();
    doc.Edit("customer", [](CNode&, CEditReport& r) {
        r.SetText("Mch.CH3.FreqRx", "446.14375");
        r.SetText("Mch.CH3.FreqTx", "446.14375");
        r.SetCode("Mch.CH5.CTonRx", 2023);
        r.SetText("Mch.CH6.WidNar", "Wide");
        r.SetText("CommonSet.Common1.Comment1", "CUSTOMER 7");
    });
    doc.SaveFile(path.toStdString(), nullptr);
    doc.RestoreImage(shop, CChangeReason::Load);
    doc.SetModifiedFlag(false);

    app.Compare()->CompareWithFile(path);
    CDifferencesWnd* window = app.Compare()->Window();
    if (!window) return 1;
    window->setGeometry(520, 330, 480, 300);
    Wait(300);
    Shoot(QStringLiteral("compare-differences"), {&frame, window});
    window->close();
    doc.SetModifiedFlag(false);
    frame.close();
    return 0;
}
