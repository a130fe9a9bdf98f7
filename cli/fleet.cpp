#include "cli/fleet.h"

#include "app/clone_support_doc.h"
#include "cli/commands.h"
#include "cli/terminal.h"
#include "clone/clone_rs_io_manager.h"
#include "core/platform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

#include <csignal>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// One radio's run.
struct CRadioRun {
    std::string port;   // as given
    std::string output; // read: the file it writes
    std::string trace;  // --trace: its own trace file
    std::unique_ptr<QProcess> process;
    bool done = false;
    bool printed = false;
    int code = kCloneFailed;
    std::string out, err, failure;
};

std::string PortLabel(const std::string& port) { return port.size() == 1 ? "COM" + port : port; }

// The arguments of one radio's run: the given ones without the ports (and a read's -o, and the
// trace file), then this radio's port and files; a write's question was asked here.
QStringList RadioArguments(const std::string& verb, const CCliArgs& a,
                           const std::vector<std::string>& args, const CRadioRun& radio) {
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
    list << QStringLiteral("--port") << QString::fromStdString(radio.port);
    if (verb == "read") list << QStringLiteral("-o") << QString::fromStdString(radio.output);
    if (!radio.trace.empty())
        list << QStringLiteral("--trace") << QString::fromStdString(radio.trace);
    if (verb == "write" && !a.yes) list << QStringLiteral("--yes");
    return list;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Trimmed(std::string s) {
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(" \r") + 1);
    return s;
}

bool IsCloneResult(int code) {
    switch (code) {
    case kCloneOk:
    case kCloneCancelled:
    case kCloneFailed:
    case kCloneTransferError:
    case kCloneIllegalInfo:
    case kCloneWrongModel:
    case kCloneNoPort:
        return true;
    default:
        return false;
    }
}

// What one radio's run came to, from what it printed: the last status text (" Cloning
// completed.", " Err: ..."), the model and revision of an info, whether a write was verified.
std::string ResultText(const std::string& verb, const CRadioRun& r) {
    if (!r.failure.empty()) return r.failure;
    std::string status, model, revision;
    bool verified = false;
    for (const std::string& line : Lines(r.out)) {
        const std::string text = Trimmed(line);
        if (text.rfind("Err:", 0) == 0 || text.rfind(Trimmed(kStrCloneCompleted), 0) == 0 ||
            text.rfind(Trimmed(kStrTerminated), 0) == 0)
            status = text;
        if (line.find("Verified.") != std::string::npos) verified = true;
        if (line.rfind("Model:\t", 0) == 0) model = Trimmed(line.substr(7));
        if (line.rfind("Revision:\t", 0) == 0) revision = Trimmed(line.substr(10));
    }
    if (verb == "info" && r.code == kCloneOk) return "Model " + model + ", revision " + revision;
    if (status.empty() || !IsCloneResult(r.code)) {
        for (const std::string& line : Lines(r.err))
            if (!Trimmed(line).empty()) return Trimmed(line);
        return status.empty() ? "ended with " + std::to_string(r.code) : status;
    }
    if (verb == "write" && r.code == kCloneOk && status.find("Verified") == std::string::npos)
        status += verified ? " Verified." : " (not verified)";
    if (verb == "read" && r.code == kCloneOk) status += " Saved to " + r.output + ".";
    return status;
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

void Start(CRadioRun& r, const QStringList& arguments) {
    r.process = std::make_unique<QProcess>();
    QProcess* p = r.process.get();
#ifndef _WIN32
    // A process group of its own: the terminal's Ctrl+C reaches this program alone, which
    // cancels each transfer once; a run whose parent is gone cancels too, and its report to
    // the parent that is no longer there must not end it before it has cleaned up (the
    // disposition goes with the program it runs).
    p->setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::signal(SIGPIPE, SIG_IGN);
#ifdef __linux__
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    });
#endif
    QObject::connect(p, &QProcess::finished, [&r, p](int code, QProcess::ExitStatus status) {
        r.out = p->readAllStandardOutput().toStdString();
        r.err = p->readAllStandardError().toStdString();
        r.code = status == QProcess::NormalExit ? code : kCloneFailed;
        if (status != QProcess::NormalExit) r.failure = "ended by a signal";
        r.done = true;
    });
    QObject::connect(p, &QProcess::errorOccurred, [&r, p](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        r.failure = "could not start: " + p->errorString().toStdString();
        r.done = true;
    });
    p->start(QCoreApplication::applicationFilePath(), arguments);
    p->closeWriteChannel();
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
    std::vector<CRadioRun> radios;
    std::set<std::string> devices, names;
    for (const std::string& port : a.ports) {
        const std::string device = PortDeviceOf(port);
        if (!devices.insert(device).second) {
            std::fprintf(stderr, "ktz30cli %s: port %s (%s) is given twice\n", verb.c_str(),
                         PortLabel(port).c_str(), device.c_str());
            return kExitUsage;
        }
        names.insert(FleetOutputName("f", port));
        CRadioRun r;
        r.port = port;
        radios.push_back(std::move(r));
    }
    // A file (and a trace) per radio, named after its port; numbered by its place instead when
    // two ports give one name.
    const bool numbered = names.size() != radios.size();
    const auto fileOf = [&](const std::string& file, std::size_t i) {
        return numbered ? Suffixed(file, std::to_string(i + 1))
                        : FleetOutputName(file, radios[i].port);
    };
    for (std::size_t i = 0; i < radios.size(); ++i) {
        if (verb == "read") radios[i].output = fileOf(a.output, i);
        if (!a.trace.empty()) radios[i].trace = fileOf(a.trace, i);
    }
    if (verb == "read")
        for (const CRadioRun& r : radios)
            if (!ReadTargetWritable(r.output)) return kExitCannotSave;
    if (verb == "write")
        if (const int status = PrepareWrite(a)) return status;

    std::string list;
    for (const CRadioRun& r : radios)
        list += (list.empty() ? "" : ", ") + PortLabel(r.port);
    std::printf("ktz30cli %s: %zu radios at once on %s (Ctrl+C cancels all)\n", verb.c_str(),
                radios.size(), list.c_str());
    std::fflush(stdout);

    for (CRadioRun& r : radios)
        Start(r, RadioArguments(verb, a, args, r));
    int status = 0;
    std::size_t succeeded = 0;
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (TakeCancelSignal())
            for (CRadioRun& r : radios)
                if (!r.done) r.process->terminate();
        // One line per radio, in port order, as soon as it and those before it are done.
        bool all = true;
        for (CRadioRun& r : radios) {
            if (!r.done) {
                all = false;
                break;
            }
            if (r.printed) continue;
            r.printed = true;
            std::printf("%s: %d %s\n", PortLabel(r.port).c_str(), r.code,
                        ResultText(verb, r).c_str());
            std::fflush(stdout);
            status = std::max(status, r.code);
            succeeded += r.code == kCloneOk;
        }
        if (all) loop.quit();
    });
    tick.start(50);
    loop.exec();
    std::printf("ktz30cli %s: %zu of %zu radios succeeded\n", verb.c_str(), succeeded,
                radios.size());
    return status;
}
