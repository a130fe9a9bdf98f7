// Screenshots under a real X server (Xvfb): the screen region of some windows, taken with
// ImageMagick's import.
#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <initializer_list>

namespace shots {

// Where the pictures go.
inline QString& OutputDir() {
    static QString dir;
    return dir;
}

inline void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The screen region of the given windows, with a margin, saved as name.png.
inline void Shoot(const QString& name, std::initializer_list<const QWidget*> windows) {
    Wait(300);
    QRect area;
    for (const QWidget* w : windows)
        area |= w->frameGeometry();
    area.adjust(-8, -8, 8, 8);
    area &= QRect(0, 0, 1024, 768);
    const QString crop = QStringLiteral("%1x%2+%3+%4")
                             .arg(area.width())
                             .arg(area.height())
                             .arg(area.x())
                             .arg(area.y());
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                       crop, OutputDir() + '/' + name + QStringLiteral(".png")});
    std::printf("%s/%s.png\n", qPrintable(OutputDir()), qPrintable(name));
}

template <class T> T* FindWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}

} // namespace shots
