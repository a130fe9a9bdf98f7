// ktz30: the KT-Z30 cloning program.
#include "app/qt/z30_app.h"
#include "core/files.h"

#include <QApplication>

#include <clocale>
#include <cstdio>

int main(int argc, char* argv[]) {
    // --help and --version end here, before any window (or display) is needed; usage errors once
    // the application has taken its own options (-platform, -style, ...) out.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CZ30CommandLineInfo info;
    info.Parse(arguments);
    switch (info.outcome) {
    case CZ30CommandLineInfo::Outcome::Help: {
        QCoreApplication core(argc, argv);
        std::fputs(CZ30CommandLineInfo::HelpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    case CZ30CommandLineInfo::Outcome::Version:
        std::printf("ktz30 %s\n", KT_VERSION);
        return 0;
    default:
        break;
    }

    QApplication application(argc, argv);
    info = CZ30CommandLineInfo();
    info.Parse(QApplication::arguments().mid(1));
    if (info.outcome == CZ30CommandLineInfo::Outcome::Error) {
        std::fprintf(stderr, "ktz30: %s\nRun 'ktz30 --help' for the options.\n",
                     info.error.toLocal8Bit().constData());
        return 2;
    }
    std::setlocale(LC_NUMERIC, "C"); // number texts are the same everywhere
    QApplication::setApplicationName(QStringLiteral("KT-Z30"));
    QApplication::setOrganizationName(QStringLiteral("Norq"));
    QApplication::setApplicationVersion(QStringLiteral(KT_VERSION));
    RemoveStaleTempFiles();
    HandleTerminatingSignals();
    CZ30App app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return 0;
    return QApplication::exec();
}
