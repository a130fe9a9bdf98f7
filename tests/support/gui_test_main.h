// The main of a GUI test program: the offscreen platform, settings, data (the backups) and the
// instance lock in a folder of the temp folder (never the user's), the C locale, then every test.
#pragma once

#include <QApplication>
#include <QDir>
#include <clocale>
#include <gtest/gtest.h>

inline int RunGuiTests(int argc, char** argv, const char* folder) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray home = QDir::tempPath().toUtf8() + '/' + folder;
    QDir().mkpath(QString::fromUtf8(home + "/run"));
    qputenv("XDG_CONFIG_HOME", home + "/config");
    qputenv("XDG_DATA_HOME", home + "/data");
    qputenv("XDG_RUNTIME_DIR", home + "/run");
    QFile::setPermissions(QString::fromUtf8(home + "/run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
