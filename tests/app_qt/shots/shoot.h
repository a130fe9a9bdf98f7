// The screenshot programs' helpers: pictures of windows under Xvfb, saved in one folder.
#pragma once

#include "tests/support/screen_shot.h"

#include <QApplication>
#include <QString>
#include <QWidget>
#include <initializer_list>

namespace shots {

// Where the pictures go.
inline QString& OutputDir() {
    static QString dir;
    return dir;
}

inline void Wait(int ms) { WaitMs(ms); }

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
