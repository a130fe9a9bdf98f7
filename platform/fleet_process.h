// The runner of a fleet that gives each radio a ktz30cli of its own: the clone core is
// single-threaded and keeps process-wide platform services, and a process apart is what keeps one
// radio's hang or pulled cable away from another's transfer.
#pragma once

#include "app/fleet.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QProcess;

class CFleetProcessRunner final : public IFleetRunner {
public:
    // program: the ktz30cli to run; arguments: those of job i's run.
    CFleetProcessRunner(CFleetEngine& engine, QString program,
                        std::function<QStringList(std::size_t)> arguments);
    ~CFleetProcessRunner() override;
    CFleetProcessRunner(const CFleetProcessRunner&) = delete;
    CFleetProcessRunner& operator=(const CFleetProcessRunner&) = delete;

    void Start(std::size_t job) override;
    void Cancel(std::size_t job) override;

private:
    struct CRun;
    CFleetEngine& m_engine;
    QString m_program;
    std::function<QStringList(std::size_t)> m_arguments;
    std::vector<std::unique_ptr<CRun>> m_runs;
};

// The delivery report as a PDF through the printout engine: a heading with the file's name, the
// operator's comment and the date, then the report's table. False with the reason.
bool WriteFleetReportPdf(const std::string& path, const CFleetEngine& engine,
                         const std::vector<std::string>& valueColumns, const std::string& file,
                         const std::string& comment, std::string* error);
