// The screenshot programs' helpers: pictures of windows under Xvfb, saved in one folder.
#pragma once

#include "app/qt/z30_app.h"
#include "tests/support/screen_shot.h"

#include <QApplication>
#include <QString>
#include <QWidget>
#include <clocale>
#include <cstdio>
#include <initializer_list>

namespace shots {

// Where the pictures go.
inline QString& OutputDir() {
    static QString dir;
    return dir;
}

inline void Wait(int ms) { WaitMs(ms); }

// Takes the output folder from argv[index], with numbers in texts in the C locale; false after
// the usage line when it is not given.
inline bool TakeOutputDir(int argc, char** argv, int index, const char* usage) {
    std::setlocale(LC_NUMERIC, "C");
    if (argc <= index) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return false;
    }
    OutputDir() = QString::fromLocal8Bit(argv[index]);
    return true;
}

// ktz30 for pictures: no lock against a second copy, no sound, no serial ports.
inline CZ30AppOptions ShotOptions() {
    CZ30AppOptions options;
    options.singleInstance = false;
    options.useSound = false;
    options.useSerialPorts = false;
    return options;
}

// The screen region of the given windows, with a margin, saved as name.png.
inline void Shoot(const QString& name, std::initializer_list<const QWidget*> windows) {
    ShootWindows(OutputDir() + '/' + name + QStringLiteral(".png"), windows);
}

template <class T> T* FindWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}

} // namespace shots
