#include "platform/fleet_process.h"

#include "app/fleet_report.h"
#include "print/pdf_output.h"

#include <algorithm>
#include <ctime>

#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#ifndef _WIN32
#include <unistd.h>
#endif

struct CFleetProcessRunner::CRun {
    QProcess process;
    std::string out, err, pending;
};

CFleetProcessRunner::CFleetProcessRunner(CFleetEngine& engine, QString program,
                                         std::function<QStringList(std::size_t)> arguments)
    : m_engine(engine), m_program(std::move(program)), m_arguments(std::move(arguments)) {
    m_runs.resize(engine.Count());
}

CFleetProcessRunner::~CFleetProcessRunner() {
    for (auto& r : m_runs) {
        if (!r || r->process.state() == QProcess::NotRunning) continue;
        r->process.disconnect();
        r->process.terminate();
        if (!r->process.waitForFinished(5000)) r->process.kill();
        r->process.waitForFinished(1000);
    }
}

void CFleetProcessRunner::Start(std::size_t i) {
    if (i >= m_runs.size()) m_runs.resize(i + 1);
    if (m_runs[i]) m_runs[i]->process.disconnect();
    m_runs[i] = std::make_unique<CRun>();
    CRun& r = *m_runs[i];
    QProcess* p = &r.process;
#ifndef _WIN32
    // A process group of its own: the terminal's Ctrl+C reaches the parent alone, which cancels
    // each transfer once; a run whose parent is gone cancels too, and its report to the parent
    // that is no longer there must not end it before it has cleaned up (the disposition goes with
    // the program it runs).
    p->setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::signal(SIGPIPE, SIG_IGN);
#ifdef __linux__
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    });
#endif
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kFleetChildEnv), QStringLiteral("1"));
    p->setProcessEnvironment(env);
    QObject::connect(p, &QProcess::readyReadStandardOutput, [this, i, &r, p] {
        const std::string chunk = p->readAllStandardOutput().toStdString();
        r.out += chunk;
        r.pending += chunk;
        for (auto nl = r.pending.find('\n'); nl != std::string::npos; nl = r.pending.find('\n')) {
            m_engine.Line(i, r.pending.substr(0, nl));
            r.pending.erase(0, nl + 1);
        }
    });
    QObject::connect(p, &QProcess::finished, [this, i, &r, p](int code, QProcess::ExitStatus st) {
        r.out += p->readAllStandardOutput().toStdString();
        r.err += p->readAllStandardError().toStdString();
        m_engine.Finished(i, code, r.out, r.err,
                          st == QProcess::NormalExit ? std::string() : "ended by a signal");
    });
    QObject::connect(p, &QProcess::errorOccurred, [this, i, p](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        m_engine.Finished(i, 1, {}, {}, "could not start: " + p->errorString().toStdString());
    });
    p->start(m_program, m_arguments(i));
    p->closeWriteChannel();
}

void CFleetProcessRunner::Cancel(std::size_t i) {
    if (i < m_runs.size() && m_runs[i] && m_runs[i]->process.state() != QProcess::NotRunning)
        m_runs[i]->process.terminate();
}

bool WriteFleetReportPdf(const std::string& path, const CFleetEngine& engine,
                         const std::vector<std::string>& valueColumns, const std::string& file,
                         const std::string& comment, std::string* error) {
    CPrintSection heading;
    heading.title = "Delivery Report";
    const std::time_t now = std::time(nullptr);
    heading.lines = {{"Delivery Report", "", true, 0},
                     {"File", file, false, 1},
                     {"Comment", comment, false, 1},
                     {"Date", IsoLocalTime(now).substr(0, 10), false, 1},
                     {"Radios",
                      std::to_string(engine.Succeeded()) + " of " + std::to_string(engine.Count()) +
                          " succeeded",
                      false, 1}};
    CPrintSection table;
    table.title = "Delivery Report";
    const std::vector<std::string> header = FleetReportHeader(valueColumns);
    table.rows = FleetReportRows(engine, valueColumns);
    // The backup by its name alone: the folder is the same for every radio.
    for (auto& row : table.rows)
        row.back() = row.back().substr(row.back().find_last_of("/\\") + 1);
    for (std::size_t c = 0; c < header.size(); ++c) {
        std::size_t width = header[c].size();
        for (const auto& row : table.rows)
            width = std::max(width, row[c].size());
        // Widths count "W"s: most characters are narrower.
        table.columns.push_back(
            {header[c], static_cast<int>(std::min<std::size_t>(width * 3 / 5 + 1, 24))});
    }
    return WritePdf(path, {heading, table}, LocalePageSize(), error);
}
