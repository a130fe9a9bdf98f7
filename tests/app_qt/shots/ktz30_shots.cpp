// Takes the screenshots of docs/screenshots under a real X server (Xvfb): the main window after
// a read from nqz30sim, the progress dialog, the model menu, the information dialog and the
// About box.
//   ktz30_shots DEVICE OUTPUT_DIR
#include "app/clone_support_doc.h"
#include "app/qt/about_dlg.h"
#include "app/qt/clone_info_dlg.h"
#include "app/qt/main_frame.h"
#include "app/qt/progress_dlg.h"
#include "app/qt/z30_app.h"
#include "shots.h"
#include "views/command_ids.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <clocale>
#include <cstdio>

namespace {
QString g_out;

template <class T> T* FindWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 3) {
        std::fprintf(stderr, "usage: ktz30_shots DEVICE OUTPUT_DIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[2]);
    CZ30AppOptions options;
    options.singleInstance = false;
    options.useSound = false;
    CZ30App app(options);
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
                Shoot(g_out, QStringLiteral("progress"), {&frame, dialog});
            }
        });
        return progress;
    };
    frame.RouteCommand(cmd::kCloneRead);
    frame.Tree()->setFocus();
    Shoot(g_out, QStringLiteral("main-after-read"), {&frame});

    // The model menu, open, with the check on the radio's variant.
    if (QAction* modelMenu = frame.menuBar()->actions().value(5); modelMenu && modelMenu->menu()) {
        frame.menuBar()->setActiveAction(modelMenu);
        Wait(300);
        Shoot(g_out, QStringLiteral("menu-model"), {&frame, modelMenu->menu()});
        modelMenu->menu()->hide();
        frame.menuBar()->setActiveAction(nullptr);
    }

    QTimer::singleShot(800, [&] {
        if (auto* info = FindWindow<CCloneInfoDlg>()) {
            Shoot(g_out, QStringLiteral("info"), {&frame, info});
            info->accept();
        }
    });
    frame.RouteCommand(cmd::kCloneInfo);

    QTimer::singleShot(500, [&] {
        if (auto* about = FindWindow<CAboutDlg>()) {
            Shoot(g_out, QStringLiteral("about"), {&frame, about});
            about->accept();
        }
    });
    frame.RouteCommand(cmd::kAbout);
    app.Document().SetModifiedFlag(false);
    frame.close();
    return 0;
}
