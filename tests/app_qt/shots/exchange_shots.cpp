// Takes the screenshots of the File menu's exchange for docs/screenshots under a real X server
// (Xvfb): the menu with "New from Template" open, the import dialog and the report of a channel
// list imported.
//   exchange_shots OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/csv_import_dlg.h"
#include "app/qt/csv_report_dlg.h"
#include "app/qt/exchange_cmds.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "shoot.h"
#include "views/command_ids.h"

#include <QApplication>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <fstream>

using namespace shots;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeArguments(argc, argv, 1, "exchange_shots OUTPUT_DIR")) return 2;
    CZ30App app(ShotOptions());
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return 1;
    CZ30MainFrame& frame = *app.MainFrame();
    frame.setGeometry(40, 40, 760, 520);
    Wait(300);

    // File > New from Template, open.
    QAction* file = frame.menuBar()->actions().value(0);
    frame.menuBar()->setActiveAction(file);
    Wait(300);
    file->menu()->setActiveAction(frame.TemplateMenu()->menuAction());
    frame.TemplateMenu()->popup(
        file->menu()->actionGeometry(frame.TemplateMenu()->menuAction()).topRight() +
        file->menu()->pos());
    Wait(300);
    Shoot(QStringLiteral("menu-file-template"), {&frame, file->menu(), frame.TemplateMenu()});
    frame.TemplateMenu()->hide();
    file->menu()->hide();
    Wait(200);

    // A PMR446 list from another program imported into the 16-channel template: one row for a
    // channel the radio lacks, one frequency off the raster, one tone the radio cannot make.
    frame.TemplateMenu()->actions().value(2)->trigger();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("club-channels.csv"));
    std::ofstream(path.toStdString(), std::ios::binary)
        << "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
           "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
           "1,CLUB,446.006250,,0.000000,TSQL,88.5,94.8,023,NN,023,Tone->Tone,NFM,12.5,,Low1,,,,,"
           "\r\n"
           "2,EVENT,446.0187,,0.000000,DTCS,88.5,88.5,754,NR,023,Tone->Tone,NFM,12.5,,Low2,,,,,\r\n"
           "3,REPEATER,446.031250,,0.000000,Tone,69.9,88.5,023,NN,023,Tone->Tone,NFM,12.5,,0.5W,,,,"
           ",\r\n"
           "17,SPARE,446.193750,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,12.5,S,,,,,,\r\n";
    app.Exchange()->askImportPath = [path] { return path; };
    QTimer::singleShot(400, [&frame] {
        if (auto* options = FindWindow<CCsvImportDlg>()) {
            Shoot(QStringLiteral("csv-import-options"), {&frame, options});
            options->accept();
        }
    });
    QTimer::singleShot(1000, [&frame] {
        if (auto* report = FindWindow<CCsvReportDlg>()) {
            Shoot(QStringLiteral("csv-import-report"), {&frame, report});
            report->accept();
        }
    });
    frame.RouteCommand(cmd::kImportChannels);
    Wait(300);
    Shoot(QStringLiteral("sheet-after-import"), {&frame});
    app.Document().SetModifiedFlag(false);
    frame.close();
    return 0;
}
