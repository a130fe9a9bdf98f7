#include "cli/commands.h"

#include "app/clone_support_doc.h"
#include "app/dump_text.h"
#include "cli/set_rules.h"
#include "cli/terminal.h"
#include "clone/clone_backups.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/clone_trace.h"
#include "clone/model_manager.h"
#include "core/ctext.h"
#include "core/files.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "platform/serial_device.h"
#include "platform/settings_store.h"
#include "sheets/channel_ops.h"
#include "sheets/channel_tx.h"
#include "sheets/mch_rows.h"

#include <QSerialPortInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// The platform services of a terminal.
class CTerminalPlatform {
public:
    explicit CTerminalPlatform(bool assumeYes) : m_prompts(assumeYes) {
        m_settings.SetReporter([](const std::string& problem) {
            std::fprintf(stderr, "ktz30cli: %s\n", problem.c_str());
        });
        CPlatformServices& p = Platform();
        p.settings = &m_settings;
        p.prompts = &m_prompts;
        p.beeper = &m_beeper;
        p.serialFactory = [] { return MakeQtSerialDevice(); };
        p.progressFactory = [] { return MakeTerminalProgress(); };
        p.portResolver = [](const std::string& name) {
            return ResolvePortName(name, Platform().settings);
        };
    }
    ~CTerminalPlatform() { ResetPlatform(); }
    CTerminalPlatform(const CTerminalPlatform&) = delete;
    CTerminalPlatform& operator=(const CTerminalPlatform&) = delete;

private:
    CQtSettingsStore m_settings;
    CTerminalPrompts m_prompts;
    CTerminalBeeper m_beeper;
};

// Why a file could not be written at path, as the save writes it (a new file in the folder,
// renamed over a regular file): the system's reason; empty when it could.
std::string WhyNotWritable(const std::string& path) {
    std::error_code ec;
    const fs::path p(path);
    const bool exists = fs::exists(p, ec);
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (exists && fs::is_directory(p, ec)) return std::strerror(EISDIR);
    if (std::string why = WhyNotReplaceable(path); !why.empty()) return why;
    if (!fs::is_directory(dir, ec)) return std::strerror(ENOENT);
#ifndef _WIN32
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
#endif
    return {};
}

} // namespace

std::shared_ptr<void> UseTerminalPlatform(bool assumeYes) {
    return std::make_shared<CTerminalPlatform>(assumeYes);
}

std::unique_ptr<CZ30Doc> NewCliDocument() {
    auto doc = std::make_unique<CZ30Doc>();
    doc->SetRememberVariant(false);
    if (CCloneRsIoManager* io = doc->GetCloneManager()->GetCloneRsIoManager())
        io->SetBeepPauses(false);
    return doc;
}

// The file is loaded over the factory defaults of the variant its image gives.
bool LoadCliDocument(CZ30Doc& doc, const std::string& path) {
    try {
        doc.LoadFileOverDefaults(path);
    } catch (const CArchiveFormatError& e) {
        if (e.TempFileFault()) {
            std::fprintf(stderr, "ktz30cli: %s\n", e.what());
            return false;
        }
        if (!e.Reason().empty()) std::fprintf(stderr, "ktz30cli: %s\n", e.Reason().c_str());
        std::fprintf(stderr, "%s: %s (%s)\n", path.c_str(), e.what(), e.Word().c_str());
        return false;
    }
    return true;
}

bool SaveCliDocument(CZ30Doc& doc, const std::string& path) {
    std::string error;
    if (doc.SaveFile(path, &error)) return true;
    std::fprintf(stderr, "%s: the file could not be saved: %s\n", path.c_str(), error.c_str());
    return false;
}

bool SaveEditedDocument(CZ30Doc& doc, const std::string& file, const std::string& output,
                        const std::string& done) {
    const std::string& target = output.empty() ? file : output;
    if (!SaveCliDocument(doc, target)) return false;
    std::printf("ktz30cli: wrote %s: %s\n", target.c_str(), done.c_str());
    return true;
}

int WithFileDocument(const std::string& path, const std::function<int(CZ30Doc&)>& body) {
    CTerminalPlatform platform(false);
    auto doc = NewCliDocument();
    if (!LoadCliDocument(*doc, path)) return kExitFailure;
    return body(*doc);
}

std::string CliVariantName(int variant) {
    return kVariantNames[static_cast<std::size_t>(std::clamp(variant, 0, kVariantCount - 1))];
}

std::string PortDeviceOf(const std::string& port) {
    return port.size() == 1 ? PortDevice(port[0] - '0') : port;
}

bool IsPortText(const std::string& port) {
    return (port.size() == 1 && port[0] >= '1' && port[0] <= '4') ||
           port.find('/') != std::string::npos;
}

bool ReadTargetWritable(const std::string& path) {
    const std::string reason = WhyNotWritable(path);
    if (reason.empty()) return true;
    std::fprintf(stderr, "ktz30cli read: cannot write %s: %s\n", path.c_str(), reason.c_str());
    return false;
}

namespace {

// The radio options of one run. The port for this run only: a numbered port goes through the
// resolver to its device, so that the port number the desktop program remembers is not
// changed; backups, verification and the trace as the options say. False after telling why
// the trace file cannot be written.
bool UseRadioOptions(CZ30Doc& doc, const CCliArgs& a, CCloneTrace& trace) {
    CCloneRsIoManager* io = doc.GetCloneManager()->GetCloneRsIoManager();
    io->SetPortName(PortDeviceOf(a.port));
    io->SetBackupFolder(CloneBackupFolder());
    if (a.noBackup) io->SetBackups(false);
    if (a.verify >= 0) io->SetVerifyAfterWrite(a.verify != 0);
    if (a.trace.empty()) return true;
    std::string error;
    if (!trace.OpenFile(a.trace, &error)) {
        std::fprintf(stderr, "ktz30cli: the serial trace: %s\n", error.c_str());
        return false;
    }
    io->Engine().SetFrameObserver(&trace);
    return true;
}

// The choices of a value, for a refusal: "OFF, ON".
std::string ChoiceList(const CNode* node) {
    const auto* values = dynamic_cast<const CChoiceValue*>(node);
    if (!values) return {};
    std::string list;
    constexpr std::size_t kShown = 12;
    std::size_t n = 0;
    for (const CChoice& c : values->Choices()) {
        if (n++ == kShown) return list + ", ...";
        list += (list.empty() ? "" : ", ") + c.text;
    }
    return list;
}

// One line for a value that was not taken.
std::string Failure(const CZ30Doc& doc, const CEditOutcome& o, bool code) {
    const CNode* node = GetNode(doc.GetRoot(), o.path);
    const std::string given = "'" + o.given + "'";
    switch (o.result.reason) {
    case CSetReason::UnknownPath:
        return "unknown path " + o.path;
    case CSetReason::NotAChoice: {
        if (std::string tone = ChannelToneRefusal(o.path, o.given); !tone.empty()) return tone;
        const std::string choices = ChoiceList(node);
        if (choices.empty())
            return o.path + ": " + given + " is not one of the choices; this value has no texts, " +
                   "give its code with " + o.path + ":=CODE";
        return o.path + ": " + given + " is not one of the choices (" + choices + ")";
    }
    case CSetReason::NoValue:
        if (node && node->ChildCount() > 0) return o.path + " is a group of values, not a value";
        return o.path + (code ? " takes a text, not a code" : " takes no text");
    case CSetReason::NotANumber:
    case CSetReason::OffRaster:
        return o.path + ": " + given + " " +
               (o.result.reason == CSetReason::NotANumber ? "is not a number" : "fits no raster");
    default:
        return o.path + ": " +
               (o.result.detail.empty() ? SetReasonText(o.result.reason) : o.result.detail);
    }
}

// The note beside a value taken: "ktz30cli set: Mch.CH3.ChOn: stored, the radio does not use
// that channel (this radio has 1 channel)".
void TellNote(const CZ30Doc& doc, const char* verb, const CEditOutcome& o) {
    if (o.note.empty()) return;
    const std::string detail = doc.Keeps(o.path).detail;
    std::fprintf(stderr, "ktz30cli %s: %s: %s%s\n", verb, o.path.c_str(), o.note.c_str(),
                 detail.empty() ? "" : (" (" + detail + ")").c_str());
}

// Channels switched on among the variant's: "1, 2".
std::vector<int> ChannelsOn(const CZ30Doc& doc) {
    std::vector<int> on;
    for (int ch = 1; ch <= ChannelsOfVariant(doc.GetVariant()); ++ch)
        if (GetValueByName(GetNode(doc.GetRoot(), "Mch.CH" + std::to_string(ch)), "ChOn") == 1)
            on.push_back(ch);
    return on;
}

// A whole integer text ("12", "-3", " +7 "): one sign at most, then digits, blanks only around.
bool ParseWholeInt(const std::string& text, long long* n) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const std::string t = text.substr(first, text.find_last_not_of(' ') - first + 1);
    const std::size_t sign = t[0] == '+' || t[0] == '-' ? 1 : 0;
    return t.size() > sign && t.find_first_not_of("0123456789", sign) == std::string::npos &&
           ParseCInt(t, n);
}

// A header's revision in the form info prints a radio's ("1.0" for 0x0100): the major and the
// minor number in decimal.
std::string RevisionText(unsigned revision) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u", (revision >> 8) & 0xFF, revision & 0xFF);
    return text;
}

// The status of a radio command whose transfer gave result: a trace that did not reach its file
// whole turns a success into kExitCannotSave, after telling why.
int TraceChecked(const CCloneTrace& trace, int result) {
    if (trace.FileError().empty()) return result;
    std::fprintf(stderr, "ktz30cli: the serial trace: %s\n", trace.FileError().c_str());
    return result == kCloneOk ? kExitCannotSave : result;
}

// A radio command: the terminal's services with Ctrl+C cancelling, a document with the run's
// radio options, then body.
int RunRadio(const CCliArgs& a,
             const std::function<int(CZ30Doc& doc, const CCloneTrace& trace)>& body) {
    CTerminalPlatform platform(a.yes);
    InstallCancelHandler();
    auto doc = NewCliDocument();
    CCloneTrace trace;
    if (!UseRadioOptions(*doc, a, trace)) return kExitCannotSave;
    // Every transfer passes through its temporary file.
    if (doc->GetCloneManager()->GetCloneRsIoManager()->TransferPath().empty()) {
        std::string why;
        RemoveTempFile(CreateTempFile(kTransferFilePrefix, &why));
        std::fprintf(stderr, "ktz30cli: %s\n", why.c_str());
        return kCloneTransferError;
    }
    return body(*doc, trace);
}

} // namespace

int RunInfo(const CCliArgs& a) {
    return RunRadio(a, [](CZ30Doc& doc, const CCloneTrace& trace) {
        return TraceChecked(trace, doc.OnCloneInfo());
    });
}

int RunRead(const CCliArgs& a) {
    if (!ReadTargetWritable(a.output)) return kExitCannotSave;
    return RunRadio(a, [&a](CZ30Doc& doc, const CCloneTrace& trace) {
        const int result = doc.OnCloneRead();
        if (result != kCloneOk) return TraceChecked(trace, result);
        if (!SaveCliDocument(doc, a.output)) return kExitCannotSave;
        std::printf("ktz30cli: wrote %s: the %s radio on %s\n", a.output.c_str(),
                    CliVariantName(doc.GetVariant()).c_str(),
                    doc.GetCloneManager()->GetCloneRsIoManager()->PortName().c_str());
        return TraceChecked(trace, kCloneOk);
    });
}

int RunWrite(const CCliArgs& a) {
    return RunRadio(a, [&a](CZ30Doc& doc, const CCloneTrace& trace) {
        if (const int status = PrepareWriteDocument(doc, a)) return status;
        const int result = doc.OnCloneWrite();
        if (result == kCloneCancelled) std::fprintf(stderr, "Cancelled.\n");
        return TraceChecked(trace, result);
    });
}

int PrepareWriteDocument(CZ30Doc& doc, const CCliArgs& a) {
    if (!LoadCliDocument(doc, a.file)) return kExitFailure;
    // What the file leaves out would go to the radio as the factory defaults: only when asked.
    // With the alignment values every line counts.
    const CFileCoverage& held = doc.LastLoad();
    const bool whole = a.makerReserve ? held.linesHeld == held.lineCount : held.wholeWritable;
    if (!whole && !a.allowPartial) {
        std::fprintf(stderr, "ktz30cli write: %s\n", PartialWriteRefusal(a.file, held).c_str());
        return kExitFailure;
    }
    if (const std::vector<int> zero = ChannelsWithoutTx(doc.GetRoot(), doc.GetVariant());
        !zero.empty() && !a.force) {
        std::fprintf(stderr,
                     "ktz30cli write: %s: %s; give them a TX frequency or InhTx=ON, or write "
                     "anyway with --force\n",
                     a.file.c_str(), ChannelsWithoutTxText(zero).c_str());
        return kExitFailure;
    }
    if (a.makerReserve && doc.GetCloneManager()->ActivateMakerReserve() != 1) {
        std::fprintf(stderr, "Cancelled.\n");
        return kCloneCancelled;
    }
    return 0;
}

int RunNew(const CCliArgs& a) {
    CTerminalPlatform platform(false);
    auto doc = NewCliDocument();
    doc->GetCloneManager()->GetModelManager()->SetVariant(a.variant, true);
    if (!SaveCliDocument(*doc, a.output)) return kExitFailure;
    std::printf("ktz30cli: wrote %s: factory defaults of %s\n", a.output.c_str(),
                CliVariantName(a.variant).c_str());
    return 0;
}

int RunShow(const CCliArgs& a) {
    return WithFileDocument(a.file, [&](CZ30Doc& doc) {
        const std::vector<int> on = ChannelsOn(doc);
        std::string list;
        for (int ch : on)
            list += (list.empty() ? "" : ", ") + std::to_string(ch);
        CNode* common1 = GetNode(doc.GetRoot(), "CommonSet.Common1");
        std::printf("Variant:   %s\n", CliVariantName(doc.GetVariant()).c_str());
        const CFileCoverage& held = doc.LastLoad();
        std::printf("Revision:  %s\n", RevisionText(held.revision).c_str());
        std::printf("File:      %s%s\n", FileLinesText(a.file, held).c_str(),
                    held.linesHeld == held.lineCount ? "" : "; the rest are the factory defaults");
        std::printf("Channels:  %zu of %d on%s%s%s\n", on.size(),
                    ChannelsOfVariant(doc.GetVariant()), list.empty() ? "" : " (", list.c_str(),
                    list.empty() ? "" : ")");
        std::printf("Comment 1: %s\n", GetStringByName(common1, "Comment1").c_str());
        std::printf("Comment 2: %s\n", GetStringByName(common1, "Comment2").c_str());
        return 0;
    });
}

int RunDump(const CCliArgs& a) {
    return WithFileDocument(a.file, [&](CZ30Doc& doc) {
        PrintLines(DumpText(doc, a.all));
        return 0;
    });
}

int RunGet(const CCliArgs& a) {
    return WithFileDocument(a.file, [&](CZ30Doc& doc) {
        int status = 0;
        for (const std::string& path : a.rest) {
            const CNode* node = path.empty() ? nullptr : GetNode(doc.GetRoot(), path);
            if (!node || node->ChildCount() > 0) {
                std::fprintf(stderr, "ktz30cli get: %s %s\n",
                             node ? "not a value, a group of values:" : "unknown path",
                             path.c_str());
                status = kExitFailure;
                continue;
            }
            if (a.code)
                std::printf("%d\n", node->GetValue());
            else
                std::printf("%s\n", ValueText(*node).c_str());
        }
        return status;
    });
}

int RunSet(const CCliArgs& a) {
    struct CAssignment {
        std::string path;
        std::string value;
        bool code;
        int number; // the code given, or that of a tone typed as the row editor shows it
    };
    std::vector<CAssignment> list;
    for (const std::string& s : a.rest) {
        const auto eq = s.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "ktz30cli set: '%s' is neither PATH=TEXT nor PATH:=CODE\n",
                         s.c_str());
            return kExitUsage;
        }
        const bool code = s[eq - 1] == ':';
        list.push_back({s.substr(0, code ? eq - 1 : eq), s.substr(eq + 1), code, 0});
        if (list.back().path.empty()) {
            std::fprintf(stderr, "ktz30cli set: '%s' has no path\n", s.c_str());
            return kExitUsage;
        }
    }
    return WithFileDocument(a.file, [&](CZ30Doc& doc) {
        for (CAssignment& x : list) {
            long long n = 0;
            if (x.code && (!ParseWholeInt(x.value, &n) || n < INT32_MIN || n > INT32_MAX)) {
                std::fprintf(stderr, "ktz30cli set: %s: '%s' is not an integer code\n",
                             x.path.c_str(), x.value.c_str());
                return kExitFailure;
            }
            x.number = static_cast<int>(n);
        }
        std::vector<int> txOfRx; // channels switched on without a TX frequency
        const CEditStep step = doc.Edit("set", [&](CNode& root, CEditReport& report) {
            std::vector<std::string> paths;
            for (const CAssignment& x : list) {
                int tone = 0;
                if (x.code || ChannelToneCode(x.path, x.value, &tone))
                    report.SetCode(x.path, x.code ? x.number : tone);
                else
                    report.SetText(x.path, x.value);
                paths.push_back(x.path);
            }
            txOfRx = GiveTxOfRxWhereSet(&root, paths);
        });
        int adjusted = 0;
        for (std::size_t i = 0; i < step.outcomes.size(); ++i) {
            const CEditOutcome& o = step.outcomes[i];
            if (!o.result.Taken() || o.result.status == CSetStatus::NotKept)
                std::fprintf(stderr, "ktz30cli set: %s\n", Failure(doc, o, list[i].code).c_str());
            else if (o.result.status == CSetStatus::Adjusted) {
                ++adjusted;
                std::fprintf(stderr, "ktz30cli set: %s: given '%s', stored '%s' (%s)\n",
                             o.path.c_str(), o.given.c_str(), o.result.stored.c_str(),
                             SetReasonText(o.result.reason));
            }
            TellNote(doc, "set", o);
        }
        if (!step.AllTaken() ||
            std::any_of(step.outcomes.begin(), step.outcomes.end(), [](const CEditOutcome& o) {
                return o.result.status == CSetStatus::NotKept;
            })) {
            std::fprintf(stderr, "ktz30cli set: nothing saved\n");
            return kExitFailure;
        }
        for (int n : txOfRx) {
            const std::string ch = "Mch.CH" + std::to_string(n);
            std::fprintf(stderr,
                         "ktz30cli set: %s.FreqTx: no TX frequency given; stored %s, the receive "
                         "frequency, as the row editor does\n",
                         ch.c_str(), GetTextByName(GetNode(doc.GetRoot(), ch), "FreqTx").c_str());
        }
        const std::string done = std::to_string(list.size()) + " value" +
                                 (list.size() == 1 ? "" : "s") + " set" +
                                 (adjusted ? ", " + std::to_string(adjusted) + " adjusted" : "");
        return SaveEditedDocument(doc, a.file, a.output, done) ? 0 : kExitFailure;
    });
}

int RunChannel(const CCliArgs& a) {
    CChannelCommand command;
    std::string error;
    if (!ParseChannelCommand(a.rest, &command, &error)) {
        std::fprintf(stderr, "ktz30cli channel: %s\n", error.c_str());
        return kExitUsage;
    }
    return WithFileDocument(a.file, [&](CZ30Doc& doc) {
        const int rows = MchSheetRows(doc.GetVariant(),
                                      doc.GetCloneManager()->GetModelManager()->IsManufacture());
        bool done = false;
        const CEditStep step =
            doc.Edit(ChannelCommandLabel(command), [&](CNode& root, CEditReport& report) {
                done = RunChannelCommand(&root, command, rows, &error);
                // The channel acted on, told as the sheet tells it.
                const std::string path = "Mch.CH" + std::to_string(ChannelCommandTarget(command));
                if (const CNode* ch = done ? GetNode(&root, path) : nullptr)
                    report.Add(path, {}, CSetResult::Of(*ch));
            });
        for (const CEditOutcome& o : step.outcomes)
            TellNote(doc, "channel", o);
        if (!done) {
            std::fprintf(stderr, "ktz30cli channel: %s\nktz30cli channel: nothing saved\n",
                         error.c_str());
            return kExitFailure;
        }
        return SaveEditedDocument(doc, a.file, a.output, ChannelCommandDoneText(command))
                   ? 0
                   : kExitFailure;
    });
}

int RunPorts(const CCliArgs&) {
    CTerminalPlatform platform(false);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::printf("Serial ports:%s\n", ports.isEmpty() ? " none found" : "");
    for (const QSerialPortInfo& p : ports) {
        std::string line = "  " + p.systemLocation().toStdString();
        if (!p.description().isEmpty()) line += "  " + p.description().toStdString();
        if (!p.serialNumber().isEmpty())
            line += "  serial number " + p.serialNumber().toStdString();
        std::printf("%s\n", line.c_str());
    }
    std::printf("COM ports (--port 1 to 4):\n");
    for (int n = 1; n <= 4; ++n) {
        const std::string name = "COM" + std::to_string(n);
        const std::string device = PortDevice(n);
        const bool assigned =
            !Platform().settings->GetString("CommPort", "Device" + std::to_string(n), "").empty();
        std::printf("  %s -> %s%s\n", name.c_str(), device.c_str(),
                    assigned || device == name ? "" : " (default)");
    }
    return 0;
}

int RunBackups(const CCliArgs&) {
    CTerminalPlatform platform(false);
    const CBackupStore store(CloneBackupFolder());
    const std::vector<CBackupEntry> list = store.List();
    if (list.empty()) std::printf("No backups in %s\n", store.Folder().c_str());
    for (const CBackupEntry& b : list)
        std::printf("%s\t%s\t%s\t%s\t%s\n", b.time.c_str(), b.operation.c_str(),
                    CliVariantName(b.variant).c_str(), b.comment.c_str(), b.path.c_str());
    return 0;
}

int RunRadioCommand(const CCliArgs& a, const std::function<int(CZ30Doc&)>& body) {
    return RunRadio(a, [&body](CZ30Doc& doc, const CCloneTrace& trace) {
        return TraceChecked(trace, body(doc));
    });
}

std::string SetFailureText(const CZ30Doc& doc, const CEditOutcome& o, bool code) {
    return Failure(doc, o, code);
}

void TellSetNote(const CZ30Doc& doc, const char* verb, const CEditOutcome& o) {
    TellNote(doc, verb, o);
}

void PrintLines(const std::string& text) {
    for (std::size_t at = 0, end = 0; at < text.size(); at = end + 1) {
        end = std::min(text.find('\n', at), text.size() - 1);
        std::fwrite(text.data() + at, 1, end + 1 - at, stdout);
    }
}
