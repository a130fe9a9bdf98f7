#include "cli/fleet.h"

#include "app/clone_support_doc.h"
#include "app/fleet.h"
#include "app/fleet_plan.h"
#include "app/fleet_report.h"
#include "cli/commands.h"
#include "cli/terminal.h"
#include "clone/clone_rs_io_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "platform/fleet_process.h"

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>

#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The arguments of one radio's run: the given ones without the ports (and a read's -o, and the
// trace file), then this radio's port and files; a write's question was asked here, and a write
// gets its radio's own file.
QStringList RadioArguments(const std::string& verb, const CCliArgs& a,
                           const std::vector<std::string>& args, const CFleetJob& job) {
    QStringList list;
    if (verb == "write") {
        list << QStringLiteral("write") << QString::fromStdString(job.image)
             << QStringLiteral("--yes");
        if (a.makerReserve) list << QStringLiteral("--maker-reserve");
        if (a.allowPartial) list << QStringLiteral("--allow-partial");
        if (a.verify >= 0)
            list << (a.verify ? QStringLiteral("--verify") : QStringLiteral("--no-verify"));
        if (a.noBackup) list << QStringLiteral("--no-backup");
    } else {
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& s = args[i];
            const bool output = verb == "read";
            if (s == "--port" || (output && s == "-o") || s == "--trace") {
                ++i;
                continue;
            }
            if (s.rfind("--port=", 0) == 0 || (output && s.rfind("-o", 0) == 0) ||
                s.rfind("--trace=", 0) == 0)
                continue;
            list << QString::fromStdString(s);
        }
    }
    list << QStringLiteral("--port") << QString::fromStdString(job.port);
    if (verb == "read") list << QStringLiteral("-o") << QString::fromStdString(job.image);
    if (!job.trace.empty()) list << QStringLiteral("--trace") << QString::fromStdString(job.trace);
    return list;
}

// "radio.hxq" with "-x" before its extension.
std::string Suffixed(const std::string& output, const std::string& suffix) {
    const fs::path p(output);
    return (p.parent_path() / (p.stem().string() + "-" + suffix + p.extension().string())).string();
}

} // namespace

std::string FleetOutputName(const std::string& output, const std::string& port) {
    if (port.size() == 1) return Suffixed(output, "COM" + port);
    std::string name = fs::path(port).filename().string();
    // "/dev/pts/3" gives "pts3".
    if (std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        name = fs::path(port).parent_path().filename().string() + name;
    return Suffixed(output, name);
}

namespace {

// The report file, opened before the first radio is written; written when the run ends.
class CReportFile {
public:
    CReportFile() = default;
    CReportFile(const CReportFile&) = delete;
    CReportFile& operator=(const CReportFile&) = delete;
    // A run that stopped before any radio leaves no report behind.
    ~CReportFile() {
        if (m_out.is_open() && !m_written) {
            m_out.close();
            std::error_code ec;
            fs::remove(m_path, ec);
        }
    }
    bool Open(const std::string& path) {
        m_path = path;
        if (path.empty()) return true;
        m_out.open(path, std::ios::binary | std::ios::trunc);
        if (m_out) return true;
        std::fprintf(stderr, "ktz30cli write: the report %s cannot be written: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    // 0, or kExitCannotSave after telling why.
    int Write(const CFleetEngine& engine, const std::vector<std::string>& columns,
              const std::string& file, const std::string& comment) {
        if (m_path.empty()) return 0;
        m_written = true;
        std::string error;
        if (IsPdfName(m_path)) {
            m_out.close();
            if (WriteFleetReportPdf(m_path, engine, columns, file, comment, &error)) return 0;
        } else {
            m_out << FleetReportCsv(engine, columns);
            m_out.flush();
            if (m_out) return 0;
            error = std::strerror(errno);
        }
        std::fprintf(stderr, "ktz30cli write: the report %s: %s\n", m_path.c_str(), error.c_str());
        return kExitCannotSave;
    }

private:
    static bool IsPdfName(const std::string& path) {
        return path.size() > 4 &&
               QString::fromStdString(path.substr(path.size() - 4))
                       .compare(QStringLiteral(".pdf"), Qt::CaseInsensitive) == 0;
    }
    std::string m_path;
    std::ofstream m_out;
    bool m_written = false;
};

// The plan of a write, checked against the file: each radio with a row gets a file of its own
// (in folder) with its values. 0 to go on, else the exit status after telling why.
int PreparePlan(const CCliArgs& a, const CFleetArgs& f, std::vector<CFleetJob>& jobs,
                const std::string& folder, CFleetPlan* plan) {
    std::string error;
    const std::string name = f.plan.empty() ? std::string("--number") : f.plan;
    const bool parsed = !f.plan.empty() ? LoadFleetPlan(f.plan, plan, &error)
                                        : NumberedPlan(f.numbers, jobs.size(), plan, &error);
    std::vector<std::string> adjusted;
    if (!parsed ||
        !PrepareFleetImages(a.file, *plan, jobs, folder, PortDeviceOf, &adjusted, &error)) {
        std::fprintf(stderr, "ktz30cli write: %s: %s; nothing written\n", name.c_str(),
                     error.c_str());
        return kExitFailure;
    }
    for (const std::string& line : adjusted)
        std::fprintf(stderr, "ktz30cli write: %s: %s\n", name.c_str(), line.c_str());
    return 0;
}

std::string FileComment(const std::string& file) {
    auto doc = NewCliDocument();
    try {
        doc->LoadFileOverDefaults(file);
    } catch (...) {
        return {};
    }
    return GetStringByName(GetNode(doc->GetRoot(), "CommonSet.Common1"), "Comment1");
}

} // namespace

void AddFleetOptions(CLI::App* write, CFleetArgs& f) {
    write
        ->add_option("--plan", f.plan,
                     "a CSV file of each radio's own values: a header line (radio or port, then\n"
                     "value paths as 'set' takes them, PATH: for codes, comment), a row per radio")
        ->type_name("PLAN");
    write
        ->add_option("--number", f.numbers,
                     "radio k gets START plus k-1 (width and leading zeros kept; of a code text\n"
                     "the digits are counted)")
        ->type_name("PATH=START")
        ->excludes("--plan");
    write
        ->add_option("--report", f.report,
                     "the delivery report, a line per radio (FILE.csv, or FILE.pdf for a printout)")
        ->type_name("FILE");
    write->add_flag("--sequence", f.sequence,
                    "one port, radio after radio: Enter before each, q ends");
    write->add_option("--count", f.count, "radios of a sequence (else the plan's rows)")
        ->check(CLI::Range(1, 10000));
}

bool FleetWanted(const CFleetArgs& f) {
    return !f.plan.empty() || !f.numbers.empty() || !f.report.empty() || f.sequence;
}

int RunFleet(const std::string& verb, const CCliArgs& a, const std::vector<std::string>& args,
             const CFleetArgs& f) {
    const auto platform = UseTerminalPlatform(a.yes);
    InstallCancelHandler();
    std::vector<CFleetJob> jobs;
    std::set<std::string> devices, names;
    for (const std::string& port : a.ports) {
        const std::string device = PortDeviceOf(port);
        if (!devices.insert(device).second) {
            std::fprintf(stderr, "ktz30cli %s: port %s (%s) is given twice\n", verb.c_str(),
                         FleetPortLabel(port).c_str(), device.c_str());
            return kExitUsage;
        }
        names.insert(FleetOutputName("f", port));
        CFleetJob job;
        job.number = static_cast<int>(jobs.size()) + 1;
        job.port = port;
        jobs.push_back(std::move(job));
    }
    // A file (and a trace) per radio, named after its port; numbered by its place instead when
    // two ports give one name.
    const bool numbered = names.size() != jobs.size();
    const auto fileOf = [&](const std::string& file, std::size_t i) {
        return numbered ? Suffixed(file, std::to_string(i + 1))
                        : FleetOutputName(file, jobs[i].port);
    };
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        jobs[i].image = verb == "read" ? fileOf(a.output, i) : a.file;
        if (!a.trace.empty()) jobs[i].trace = fileOf(a.trace, i);
    }
    if (verb == "read")
        for (const CFleetJob& job : jobs)
            if (!ReadTargetWritable(job.image)) return kExitCannotSave;
    CReportFile report;
    CFleetPlan plan;
    QTemporaryDir folder;
    if (verb == "write") {
        // What a single write checks before it opens its port, and the questions it asks, once
        // for all radios; the report and the plan first.
        if (!report.Open(f.report)) return kExitCannotSave;
        auto doc = NewCliDocument();
        if (const int status = PrepareWriteDocument(*doc, a)) return status;
        if (!f.plan.empty() || !f.numbers.empty()) {
            if (!folder.isValid()) {
                std::fprintf(stderr, "ktz30cli write: no folder for the radios' files: %s\n",
                             folder.errorString().toStdString().c_str());
                return kExitCannotSave;
            }
            if (const int status = PreparePlan(a, f, jobs, folder.path().toStdString(), &plan))
                return status;
        }
        if (Platform().prompts->MessageBox(kStrWriteToTr, "KT-Z30", KtButtons::OkCancel,
                                           KtIcon::Question) != KtAnswer::Ok)
            return kCloneCancelled;
    }

    std::string list;
    for (const CFleetJob& job : jobs)
        list += (list.empty() ? "" : ", ") + FleetPortLabel(job.port);
    std::printf("ktz30cli %s: %zu radio%s at once on %s (Ctrl+C cancels all)\n", verb.c_str(),
                jobs.size(), jobs.size() == 1 ? "" : "s", list.c_str());
    std::fflush(stdout);

    CFleetEngine engine(verb, std::move(jobs));
    CFleetProcessRunner runner(engine, QCoreApplication::applicationFilePath(), [&](std::size_t i) {
        return RadioArguments(verb, a, args, engine.Job(i));
    });
    // One line per radio, in port order, as soon as it and those before it are done.
    std::size_t printed = 0;
    QEventLoop loop;
    engine.onChange = [&](std::size_t) {
        while (printed < engine.Count() && engine.Status(printed).finished) {
            const CFleetStatus& s = engine.Status(printed);
            std::printf("%s: %d %s\n", FleetPortLabel(engine.Job(printed).port).c_str(), s.code,
                        s.text.c_str());
            std::fflush(stdout);
            ++printed;
        }
        if (engine.AllFinished()) loop.quit();
    };
    engine.Start(runner);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (TakeCancelSignal()) engine.CancelAll();
    });
    tick.start(50);
    if (!engine.AllFinished()) loop.exec();
    std::printf("ktz30cli %s: %zu of %zu radios succeeded\n", verb.c_str(), engine.Succeeded(),
                engine.Count());
    const int reported = report.Write(engine, PlanColumns(plan), a.file, FileComment(a.file));
    // q ends the run as the user chose: the radios that ran give the status.
    int status = 0;
    for (std::size_t i = 0; i < engine.Count(); ++i)
        if (engine.Status(i).startTime) status = std::max(status, engine.Status(i).code);
    return status ? status : reported;
}

void TellFleetParent(CZ30Doc& doc) {
    if (!std::getenv(kFleetChildEnv)) return;
    const CCloneRsIoManager* io = doc.GetCloneManager()->GetCloneRsIoManager();
    if (!io->LastBackup().empty())
        std::printf("%sbackup %s\n", kFleetLineTag, io->LastBackup().c_str());
    const CVerifyOutcome& v = io->LastVerify();
    if (v.ran) std::printf("%sverified %s\n", kFleetLineTag, v.Verified() ? "yes" : "no");
    if (const std::vector<std::uint8_t>& bytes = io->LastAlignment(); !bytes.empty())
        std::printf("%sfingerprint %s\n", kFleetLineTag,
                    RadioFingerprint(bytes.data(), bytes.size()).c_str());
    std::fflush(stdout);
}

namespace {

// Runs job i of engine to its end; Ctrl+C cancels it.
void RunToEnd(CFleetEngine& engine, IFleetRunner& runner, std::size_t i) {
    QEventLoop loop;
    engine.onChange = [&](std::size_t j) {
        if (j == i && engine.Status(i).finished) loop.quit();
    };
    engine.StartOne(runner, i);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (TakeCancelSignal()) engine.Cancel(i);
    });
    tick.start(50);
    if (!engine.Status(i).finished) loop.exec();
    engine.onChange = nullptr;
}

std::string ValuesText(const CFleetJob& job) {
    std::string text;
    for (const auto& [path, value] : job.values)
        text += (text.empty() ? "" : ", ") + path + "=" + value;
    return text.empty() ? "the file's values" : text;
}

} // namespace

int RunSequence(const CCliArgs& a, const CFleetArgs& f) {
    const auto platform = UseTerminalPlatform(a.yes);
    InstallCancelHandler();
    if (a.ports.size() != 1) {
        std::fprintf(stderr, "ktz30cli write: --sequence writes radio after radio on one --port\n");
        return kExitUsage;
    }
    if (!::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "ktz30cli write: --sequence waits for Enter before each radio, and "
                             "standard input is not a terminal; nothing written\n");
        return kExitUsage;
    }
    if (!f.numbers.empty() && f.count == 0) {
        std::fprintf(stderr, "ktz30cli write: --number with --sequence needs --count\n");
        return kExitUsage;
    }
    CReportFile report;
    if (!report.Open(f.report)) return kExitCannotSave;
    {
        auto doc = NewCliDocument();
        if (const int status = PrepareWriteDocument(*doc, a)) return status;
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "ktz30cli write: no folder for the radios' files: %s\n",
                     folder.errorString().toStdString().c_str());
        return kExitCannotSave;
    }
    const std::string dir = folder.path().toStdString();
    CFleetPlan plan;
    std::size_t count = static_cast<std::size_t>(f.count);
    if (!f.plan.empty() && count == 0) {
        // As many radios as the plan has rows.
        std::string error;
        if (LoadFleetPlan(f.plan, &plan, &error))
            for (const CPlanRow& row : plan.rows)
                count = std::max<std::size_t>(count, std::strtoul(row.key.c_str(), nullptr, 10));
    }
    const bool endless = count == 0;
    std::vector<CFleetJob> jobs(endless ? 1 : count);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        jobs[i].number = static_cast<int>(i) + 1;
        jobs[i].port = a.port;
        jobs[i].image = a.file;
    }
    if ((!f.plan.empty() || !f.numbers.empty())) {
        if (plan.byPort) {
            std::fprintf(stderr,
                         "ktz30cli write: %s: a plan for --sequence names radios, not "
                         "ports; nothing written\n",
                         f.plan.c_str());
            return kExitFailure;
        }
        if (const int status = PreparePlan(a, f, jobs, dir, &plan)) return status;
    }
    CCliArgs write = a;
    write.noBackup = true; // the read before the write keeps what the radio held
    CFleetEngine engine("write", jobs);
    CFleetEngine reads("read", {});
    CFleetProcessRunner writer(engine, QCoreApplication::applicationFilePath(), [&](std::size_t i) {
        return RadioArguments("write", write, {}, engine.Job(i));
    });
    CFleetProcessRunner reader(reads, QCoreApplication::applicationFilePath(), [&](std::size_t i) {
        QStringList list = RadioArguments("read", a, {"read"}, reads.Job(i));
        if (a.noBackup) list << QStringLiteral("--no-backup");
        return list;
    });
    std::printf("ktz30cli write: radio after radio on %s (Enter writes the next, q ends)\n",
                FleetPortLabel(a.port).c_str());
    std::fflush(stdout);
    std::map<std::string, int> done; // fingerprint -> radio number
    for (std::size_t k = 0; k < engine.Count();) {
        const CFleetJob& job = engine.Job(k);
        std::fprintf(stderr, "Radio %d%s next: %s. Connect it, then Enter (q ends): ", job.number,
                     endless ? "" : (" of " + std::to_string(count)).c_str(),
                     ValuesText(job).c_str());
        std::fflush(stderr);
        std::string answer;
        if (!std::getline(std::cin, answer) || answer == "q" || answer == "Q") {
            std::fputc('\n', stderr);
            break;
        }
        // What the radio holds first: into the backups, and who it is.
        CFleetJob old;
        old.number = job.number;
        old.port = a.port;
        old.image = dir + "/held-" + std::to_string(reads.Count() + 1) + ".hxq";
        const std::size_t r = reads.Add(old);
        RunToEnd(reads, reader, r);
        const CFleetStatus& held = reads.Status(r);
        if (held.code != kCloneOk) {
            std::printf("Radio %d: not read (%s); nothing written\n", job.number,
                        held.text.c_str());
            std::fflush(stdout);
            if (held.code == kCloneCancelled) break;
            continue;
        }
        if (const auto again = done.find(held.fingerprint); again != done.end()) {
            const std::string question = "The radio on the cable is radio " +
                                         std::to_string(again->second) + " (fingerprint " +
                                         held.fingerprint +
                                         "), written already in this run. "
                                         "Write it again as radio " +
                                         std::to_string(job.number) + "?";
            if (Platform().prompts->MessageBox(question, "KT-Z30", KtButtons::YesNo,
                                               KtIcon::Question) != KtAnswer::Yes) {
                std::printf("Radio %d left as it is; radio %d is next\n", again->second,
                            job.number);
                std::fflush(stdout);
                continue;
            }
        }
        RunToEnd(engine, writer, k);
        engine.Line(k, std::string(kFleetLineTag) + "backup " + held.backup);
        engine.Line(k, std::string(kFleetLineTag) + "fingerprint " + held.fingerprint);
        const CFleetStatus& s = engine.Status(k);
        std::printf("Radio %d: %d %s\n", job.number, s.code, s.text.c_str());
        std::fflush(stdout);
        if (s.code == kCloneCancelled) break;
        if (s.code != kCloneOk) continue; // the same number again
        done[held.fingerprint] = job.number;
        ++k;
        if (endless) {
            CFleetJob next = engine.Job(k - 1);
            next.number = static_cast<int>(k) + 1;
            engine.Add(next);
        }
    }
    // An endless run's radio that was next is no part of the report.
    if (endless && !engine.Status(engine.Count() - 1).finished) engine.Truncate(engine.Count() - 1);
    for (std::size_t i = 0; i < engine.Count(); ++i)
        engine.Skip(i, kCloneCancelled, "not started");
    std::printf("ktz30cli write: %zu radio%s written\n", done.size(), done.size() == 1 ? "" : "s");
    const int reported = report.Write(engine, PlanColumns(plan), a.file, FileComment(a.file));
    // q ends the run as the user chose: the radios that ran give the status.
    int status = 0;
    for (std::size_t i = 0; i < engine.Count(); ++i)
        if (engine.Status(i).startTime) status = std::max(status, engine.Status(i).code);
    return status ? status : reported;
}
