// ktz30: the KT-Z30 cloning program.
#include "app/qt/z30_app.h"
#include "core/files.h"

#include <QApplication>
#include <clocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // number texts are the same everywhere
    QApplication::setApplicationName(QStringLiteral("KT-Z30"));
    QApplication::setOrganizationName(QStringLiteral("Norq"));
    RemoveStaleTempFiles();
    HandleTerminatingSignals();
    CZ30App app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return 0;
    return QApplication::exec();
}
