// Takes the screenshots of docs/screenshots under a real X server (Xvfb): the main window after
// a read from nqz30sim, the progress dialog, the model, COM Port and Clone menus, the
// information dialog, the About box, the backups and a verification that found bytes differing.
//   ktz30_shots DEVICE OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/about_dlg.h"
#include "app/qt/backups_dlg.h"
#include "app/qt/clone_info_dlg.h"
#include "app/qt/main_frame.h"
#include "app/qt/progress_dlg.h"
#include "app/qt/z30_app.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/model_manager.h"
#include "params/node_access.h"
#include "sheets/sheet_desc.h"
#include "shoot.h"
#include "views/command_ids.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/mch_edit_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <cstdio>

using namespace shots;

namespace {
// The memory sheet shown, with a row selected, then its row editor and its context menu:
// sheet-<family>.png, edit-<family>.png, context-menu.png (from the PMR sheet).
void ShootSheets(CZ30App& app, const QString& family) {
    CZ30MainFrame& frame = *app.MainFrame();
    auto* sheet = qobject_cast<CListSheet*>(frame.Sheets()->CurrentSheet());
    if (!sheet) return;
    sheet->SelectRow(1);
    frame.activateWindow();
    frame.FocusSheet();
    Shoot(QStringLiteral("sheet-") + family, {&frame});
    QTimer::singleShot(500, [&] {
        if (auto* editor = FindWindow<CZ30MchEditDlg>()) {
            Shoot(QStringLiteral("edit-") + family, {editor});
            editor->reject();
        }
    });
    frame.RouteCommand(cmd::kEditMemory);
    if (family != QLatin1String("pmr")) return;
    const QRect cell = sheet->View()->visualRect(sheet->Model()->index(1, 3));
    const QPoint at = sheet->View()->viewport()->mapToGlobal(cell.center());
    QTimer::singleShot(500, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            Shoot(QStringLiteral("context-menu"), {&frame, menu});
            menu->close();
        }
    });
    frame.ShowContextMenu(kMenuMemorySheet, at);
}

// A 16-channel LMR radio's memory with a few channels in use.
bool SaveLmrImage(const QString& path) {
    CZ30Doc doc;
    doc.SetRememberVariant(false);
    doc.GetCloneManager()->GetModelManager()->SetVariant(4, true);
    const struct {
        const char* rx;
        const char* tx;
        int rxTone, txTone;
    } channels[] = {{"146.52", "146.52", 1000, 1000},
                    {"147.33", "147.93", 12, 12},
                    {"446.00625", "446.00625", 2023, 2023},
                    {"155.475", "155.475", 3754, 1000}};
    doc.Edit("shots", [&](CNode& root, CEditReport& report) {
        for (int i = 0; i < int(std::size(channels)); ++i) {
            const std::string ch = "Mch.CH" + std::to_string(i + 1) + '.';
            report.SetCode(ch + "ChOn", 1);
            report.SetText(ch + "FreqRx", channels[i].rx);
            report.SetText(ch + "FreqTx", channels[i].tx);
            report.SetCode(ch + "CTonRx", channels[i].rxTone);
            report.SetCode(ch + "CTonTx", channels[i].txTone);
        }
        SetValueByName(GetNode(&root, "Mch"), "PrioA", 2);
    });
    return doc.SaveFile(path.toStdString(), nullptr);
}

// The menu at index in the menu bar, open, as name.png.
void ShootMenu(CZ30MainFrame& frame, int index, const QString& name) {
    QAction* menu = frame.menuBar()->actions().value(index);
    if (!menu || !menu->menu()) return;
    frame.menuBar()->setActiveAction(menu);
    Wait(300);
    Shoot(name, {&frame, menu->menu()});
    menu->menu()->hide();
    frame.menuBar()->setActiveAction(nullptr);
}

// Answers every question with OK (or Yes); a message that names differing bytes is shot first.
class CAnswerer {
public:
    explicit CAnswerer(CZ30MainFrame& frame) {
        QObject::connect(&m_timer, &QTimer::timeout, [&frame] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            std::printf("answered: %s\n", qPrintable(box->text()));
            if (box->text().contains(QStringLiteral("differ")))
                Shoot(QStringLiteral("verify-failed"), {&frame, box});
            box->button(box->button(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes)->click();
        });
        m_timer.start(300);
    }

private:
    QTimer m_timer;
};

// A second radio that keeps another byte than it was given: a write read back differs.
void ShootVerification(CZ30App& app) {
    QProcess radio;
    radio.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../../sim/nqz30sim"),
                {QStringLiteral("--variant"), QString::number(app.Document().GetVariant()),
                 QStringLiteral("--corrupt-write"), QStringLiteral("0229")});
    if (!radio.waitForStarted(3000) || !radio.waitForReadyRead(3000)) return;
    CCloneRsIoManager* io = app.Document().GetCloneManager()->GetCloneRsIoManager();
    const std::string before = io->PortName();
    io->SetPortName(QString::fromLocal8Bit(radio.readLine()).trimmed().toStdString());
    CAnswerer answer(*app.MainFrame());
    app.MainFrame()->RouteCommand(cmd::kCloneWrite);
    io->SetPortName(before);
    radio.kill();
    radio.waitForFinished(3000);
}
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!TakeArguments(argc, argv, 2, "ktz30_shots DEVICE OUTPUT_DIR")) return 2;
    CZ30App app(ShotOptions(false));
    if (!app.InitInstance({QStringLiteral("--nosplash"), QStringLiteral("--port"),
                           QString::fromLocal8Bit(argv[1])}))
        return 1;
    CZ30MainFrame& frame = *app.MainFrame();
    frame.setGeometry(40, 40, 720, 440);
    Wait(300);

    auto factory = Platform().progressFactory;
    bool progressShot = false;
    Platform().progressFactory = [&] {
        auto progress = factory();
        QTimer::singleShot(1500, [&] {
            if (auto* dialog = FindWindow<CCloneProgressDlg>(); dialog && !progressShot) {
                progressShot = true;
                Shoot(QStringLiteral("progress"), {&frame, dialog});
            }
        });
        return progress;
    };
    frame.RouteCommand(cmd::kCloneRead);
    frame.Tree()->setFocus();
    Shoot(QStringLiteral("main-after-read"), {&frame});

    // The model menu, open, with the check on the radio's variant.
    if (QAction* modelMenu = frame.menuBar()->actions().value(5); modelMenu && modelMenu->menu()) {
        frame.menuBar()->setActiveAction(modelMenu);
        Wait(300);
        Shoot(QStringLiteral("menu-model"), {&frame, modelMenu->menu()});
        modelMenu->menu()->hide();
        frame.menuBar()->setActiveAction(nullptr);
    }

    ShootMenu(frame, 3, QStringLiteral("menu-port"));
    ShootMenu(frame, 4, QStringLiteral("menu-clone"));

    // A write read back equal, one whose read-back differs, and the backups they left.
    {
        CAnswerer answer(frame);
        frame.RouteCommand(cmd::kCloneWrite);
    }
    ShootVerification(app);
    QTimer::singleShot(800, [&] {
        if (auto* backups = FindWindow<CBackupsDlg>()) {
            Shoot(QStringLiteral("backups"), {&frame, backups});
            backups->reject();
        }
    });
    frame.RouteCommand(cmd::kBackups);

    QTimer::singleShot(800, [&] {
        if (auto* info = FindWindow<CCloneInfoDlg>()) {
            Shoot(QStringLiteral("info"), {&frame, info});
            info->accept();
        }
    });
    frame.RouteCommand(cmd::kCloneInfo);

    QTimer::singleShot(500, [&] {
        if (auto* about = FindWindow<CAboutDlg>()) {
            Shoot(QStringLiteral("about"), {&frame, about});
            about->accept();
        }
    });
    frame.RouteCommand(cmd::kAbout);

    // The memory sheets, their row editors and the context menu, in a window that shows them.
    frame.setGeometry(0, 0, 1016, 736);
    ShootSheets(app, QStringLiteral("pmr"));
    // An LMR radio with 16 channels, read in manufacture mode: the sheet's 36 rows.
    QProcess lmrRadio;
    const QString lmrImage = QDir::temp().filePath(QStringLiteral("ktz30-shots-lmr.hxq"));
    if (SaveLmrImage(lmrImage)) {
        lmrRadio.start(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../../sim/nqz30sim"),
                       {QStringLiteral("--variant"), QStringLiteral("4"), QStringLiteral("--image"),
                        lmrImage});
        if (lmrRadio.waitForStarted(3000) && lmrRadio.waitForReadyRead(3000)) {
            const QString device = QString::fromLocal8Bit(lmrRadio.readLine()).trimmed();
            app.Document().GetCloneManager()->GetCloneRsIoManager()->SetPortName(
                device.toStdString());
            // The manufacture caution and whatever else asks: OK, and said on the console.
            QTimer answer;
            QObject::connect(&answer, &QTimer::timeout, [] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                std::printf("answered: %s\n", qPrintable(box->text()));
                box->button(box->button(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes)
                    ->click();
            });
            answer.start(300);
            app.EnableManufacture();
            frame.RouteCommand(cmd::kCloneRead);
            ShootSheets(app, QStringLiteral("lmr"));
        }
        lmrRadio.kill();
        lmrRadio.waitForFinished(3000);
        QFile::remove(lmrImage);
    }
    app.Document().SetModifiedFlag(false);
    frame.close();
    return 0;
}
