// Screenshots under a real X server (Xvfb): the screen region of some windows, taken with
// ImageMagick's import.
#pragma once

#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <initializer_list>

// Lets the event loop run for ms milliseconds.
inline void WaitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Saves the region of the given windows (null ones left out), with a margin, as file (a .png
// path).
inline void ShootWindows(const QString& file, std::initializer_list<const QWidget*> windows) {
    WaitMs(300);
    QRect area;
    for (const QWidget* w : windows)
        if (w) area |= w->frameGeometry();
    area.adjust(-8, -8, 8, 8);
    area &= QGuiApplication::primaryScreen()->geometry();
    const QString crop = QStringLiteral("%1x%2+%3+%4")
                             .arg(area.width())
                             .arg(area.height())
                             .arg(area.x())
                             .arg(area.y());
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                 QStringLiteral("-crop"), crop, file});
    std::printf("%s\n", qPrintable(file));
}
