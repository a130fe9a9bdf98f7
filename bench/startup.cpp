// ktz30's start without the splash: from the start of main to the main window shown (target:
// half a second). Runs on the offscreen platform unless a display is given.
#include "app/qt/z30_app.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
    QElapsedTimer timer;
    timer.start();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home; // settings of its own, never the user's
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    CZ30AppOptions options;
    options.singleInstance = false;
    options.useSound = false;
    CZ30App app(options);
    if (!app.InitInstance({QStringLiteral("--nosplash")})) return 1;
    QMainWindow* frame = nullptr;
    while (!frame) {
        QApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) frame = m;
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("main window shown after %.1f ms (target 500 ms): %.0f%% of the target\n", ms,
                100.0 * ms / 500.0);
    return 0;
}
