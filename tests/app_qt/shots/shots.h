// What the screenshot takers share: waiting with the event loop running, and saving a region of
// the X screen (ImageMagick's import) that covers some windows.
#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <initializer_list>

inline void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// After a moment for the windows to paint, the screen region of the windows (null ones left
// out), with a margin, saved as dir/name.png.
inline void Shoot(const QString& dir, const QString& name,
                  std::initializer_list<const QWidget*> windows) {
    Wait(300);
    QRect area;
    for (const QWidget* w : windows)
        if (w) area |= w->frameGeometry();
    area.adjust(-8, -8, 8, 8);
    area &= QRect(0, 0, 1024, 768);
    const QString crop = QStringLiteral("%1x%2+%3+%4")
                             .arg(area.width())
                             .arg(area.height())
                             .arg(area.x())
                             .arg(area.y());
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                       crop, dir + '/' + name + QStringLiteral(".png")});
    std::printf("%s/%s.png\n", qPrintable(dir), qPrintable(name));
}
