#include <QApplication>
#include <QDir>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and the instance lock stay out of the user's folders.
    const QByteArray home = QDir::tempPath().toUtf8() + "/kt_adjust_ui_test";
    QDir().mkpath(QString::fromUtf8(home + "/run"));
    qputenv("XDG_CONFIG_HOME", home + "/config");
    qputenv("XDG_RUNTIME_DIR", home + "/run");
    QFile::setPermissions(QString::fromUtf8(home + "/run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
