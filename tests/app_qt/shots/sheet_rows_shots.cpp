// Takes the screenshots of the memory sheet's editing on several rows for docs/screenshots under
// a real X server (Xvfb): four rows selected with the Edit menu open, and a tone cell's editor
// open in place.
//   sheet_rows_shots OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "core/platform.h"
#include "shoot.h"
#include "views/command_ids.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMenuBar>
#include <QTest>

using namespace shots;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeArguments(argc, argv, 1, "sheet_rows_shots OUTPUT_DIR")) return 2;
    CZ30AppOptions options = ShotOptions();
    options.useQtSettings = false;
    CZ30App app(options);
    Platform().settings->SetInt("Model", "ModelVer", 4); // LMR 16CH
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return 1;
    CZ30MainFrame& frame = *app.MainFrame();
    frame.setGeometry(40, 40, 900, 560);
    Wait(300);
    auto* sheet = qobject_cast<CListSheet*>(frame.Sheets()->CurrentSheet());
    if (!sheet) return 1;
    // A club's channel plan pasted from a spreadsheet.
    QGuiApplication::clipboard()->setText(
        QStringLiteral("Rx Frequency\tTx Frequency\tRX C.Tone\tWide/Narrow\tRF PWR\n"
                       "146.52\t<-----\tOFF\tWide\tHigh\n"
                       "147.33\t147.93\t100.0\tWide\tHigh\n"
                       "446.00625\t<-----\t023N\tNarrow\tLow1\n"
                       "446.01875\t<-----\t88.5\tNarrow\tLow1\n"
                       "446.03125\t<-----\t88.5\tNarrow\tLow1\n"
                       "446.04375\t<-----\t754i\tNarrow\tLow1\n"));
    sheet->SelectRow(0);
    frame.RouteCommand(cmd::kPaste);
    Wait(200);

    // Rows 3 to 6 selected, the Edit menu offering Fill Down and Fill Series.
    frame.activateWindow();
    frame.FocusSheet();
    sheet->SelectRow(2);
    sheet->View()->SetCurrentColumn(3);
    sheet->View()->ExtendTo(5);
    frame.UpdateCommandUI();
    QAction* edit = frame.menuBar()->actions().value(1);
    frame.menuBar()->setActiveAction(edit);
    Wait(400);
    Shoot(QStringLiteral("sheet-several-rows"), {&frame, edit->menu()});
    edit->menu()->hide();
    Wait(200);

    // F2 on channel 4's RX C.Tone: the tone entry box in the cell, its list open.
    sheet->SelectRow(3);
    sheet->View()->SetCurrentColumn(6);
    QTest::keyClick(sheet->View(), Qt::Key_F2);
    Wait(200);
    auto* box = qobject_cast<QComboBox*>(sheet->View()->indexWidget(sheet->Model()->index(3, 6)));
    if (box) box->showPopup();
    Wait(400);
    Shoot(QStringLiteral("sheet-cell-editor"), {&frame});
    if (box) box->hidePopup();
    app.Document().SetModifiedFlag(false);
    frame.close();
    return 0;
}
