// ktz30adj: the KT-Z30 ADJ service adjust utility for the NQ-Z30.
#include "adjust/ui/adj_program.h"

#include <QApplication>
#include <clocale>
#include <cstdio>

namespace {
void NameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("ktz30adj"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    QCoreApplication::setOrganizationName(QStringLiteral("Norq"));
}
} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    clsAdjCommandLine commandLine;
    if (!commandLine.Parse(arguments)) {
        // Help, version and mistakes are printed without a window (and without a display).
        QCoreApplication core(argc, argv);
        NameTheProgram();
        const QByteArray text = commandLine.Output().toLocal8Bit();
        std::fputs(text.constData(), commandLine.ToStdErr() ? stderr : stdout);
        return commandLine.ExitCode();
    }
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // number texts are the same everywhere
    NameTheProgram();
    clsAdjProgram program;
    if (!program.Start(commandLine.PortDevice())) return program.ExitCode();
    return QApplication::exec();
}
