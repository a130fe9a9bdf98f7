#include "cli/fleet.h"

#include "app/clone_support_doc.h"
#include "app/fleet.h"
#include "cli/commands.h"
#include "cli/terminal.h"
#include "clone/clone_rs_io_manager.h"
#include "core/platform.h"
#include "platform/fleet_process.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// The arguments of one radio's run: the given ones without the ports (and a read's -o, and the
// trace file), then this radio's port and files; a write's question was asked here.
QStringList RadioArguments(const std::string& verb, const CCliArgs& a,
                           const std::vector<std::string>& args, const CFleetJob& job) {
    QStringList list;
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
    list << QStringLiteral("--port") << QString::fromStdString(job.port);
    if (verb == "read") list << QStringLiteral("-o") << QString::fromStdString(job.image);
    if (!job.trace.empty()) list << QStringLiteral("--trace") << QString::fromStdString(job.trace);
    if (verb == "write" && !a.yes) list << QStringLiteral("--yes");
    return list;
}

// The parent's share of a write: what a single write checks before it opens its port, and the
// questions it asks, once for all radios. 0 to go on, else the exit status.
int PrepareWrite(const CCliArgs& a) {
    auto doc = NewCliDocument();
    if (const int status = PrepareWriteDocument(*doc, a)) return status;
    if (Platform().prompts->MessageBox(kStrWriteToTr, "KT-Z30", KtButtons::OkCancel,
                                       KtIcon::Question) != KtAnswer::Ok)
        return kCloneCancelled;
    return 0;
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

int RunFleet(const std::string& verb, const CCliArgs& a, const std::vector<std::string>& args) {
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
    if (verb == "write")
        if (const int status = PrepareWrite(a)) return status;

    std::string list;
    for (const CFleetJob& job : jobs)
        list += (list.empty() ? "" : ", ") + FleetPortLabel(job.port);
    std::printf("ktz30cli %s: %zu radios at once on %s (Ctrl+C cancels all)\n", verb.c_str(),
                jobs.size(), list.c_str());
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
    return engine.ExitStatus();
}

void TellFleetParent(CZ30Doc& doc) {
    if (!std::getenv(kFleetChildEnv)) return;
    const CCloneRsIoManager* io = doc.GetCloneManager()->GetCloneRsIoManager();
    if (!io->LastBackup().empty())
        std::printf("%sbackup %s\n", kFleetLineTag, io->LastBackup().c_str());
    const CVerifyOutcome& v = io->LastVerify();
    if (v.ran) std::printf("%sverified %s\n", kFleetLineTag, v.Verified() ? "yes" : "no");
    if (!v.alignment.empty())
        std::printf("%sfingerprint %s\n", kFleetLineTag,
                    RadioFingerprint(v.alignment.data(), v.alignment.size()).c_str());
    std::fflush(stdout);
}
