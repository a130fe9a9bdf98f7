// ktz30cli: the cloning program's operations from a shell.
#include "app/clone_support_doc.h"
#include "cli/terminal.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/model_manager.h"
#include "core/ctext.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "platform/serial_device.h"
#include "platform/settings_store.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: ktz30cli <command> [options]\n"
    "\n"
    "Radio (PORT is 1 to 4 for COM1 to COM4, or a device path such as /dev/ttyUSB0):\n"
    "  info  --port PORT                         ask the radio who it is\n"
    "  read  --port PORT -o FILE.hxq             read the radio into a clone data file\n"
    "  write --port PORT FILE.hxq [--yes] [--maker-reserve]\n"
    "                                            write a clone data file to the radio\n"
    "Files:\n"
    "  new   --variant N -o FILE.hxq             a file with the factory defaults of variant N\n"
    "  dump  FILE.hxq                            every value: path, code and text\n"
    "  get   [--code] FILE.hxq PATH...           the text (or code) of values\n"
    "  set   FILE.hxq ASSIGNMENT... [-o OUT]     PATH=TEXT or PATH:=CODE, then save\n"
    "\n"
    "'ktz30cli <command> --help' describes a command.\n";

struct CVerbHelp {
    const char* verb;
    const char* text;
};

const CVerbHelp kHelp[] = {
    {"info", "usage: ktz30cli info --port PORT\n\n"
             "Asks the radio for its identity and shows model, revision, comment and PLL\n"
             "reference. Exit status: the clone result (0 success, 77 failure, 80 transfer\n"
             "error, 85 illegal information, 90 wrong model, 91 port cannot be opened).\n"},
    {"read", "usage: ktz30cli read --port PORT -o FILE.hxq\n\n"
             "Reads the radio's memory and saves it as a clone data file. The variant is the\n"
             "radio's. Ctrl+C cancels. Exit status: the clone result (0, 1 cancelled, 77, 80, 85,\n"
             "90, 91); 74 when the file could not be saved.\n"},
    {"write", "usage: ktz30cli write --port PORT FILE.hxq [--yes] [--maker-reserve]\n\n"
              "Writes a clone data file to the radio (0x0070-0x07FF; with --maker-reserve the\n"
              "whole image with the alignment values). Asks before writing unless --yes is\n"
              "given. Ctrl+C cancels. Exit status: the clone result (0, 1, 77, 80, 85, 90, 91).\n"},
    {"new", "usage: ktz30cli new --variant N -o FILE.hxq\n\n"
            "Saves the factory defaults of a variant: 0 LMR 1CH, 1 PMR 1CH, 2 LMR 2CH,\n"
            "3 PMR 2CH, 4 LMR 16CH, 5 PMR 16CH.\n"},
    {"dump", "usage: ktz30cli dump FILE.hxq\n\n"
             "Prints one line per value in tree order: the dotted path, a tab, the code, a tab,\n"
             "the text.\n"},
    {"get", "usage: ktz30cli get [--code] FILE.hxq PATH...\n\n"
            "Prints the text (with --code the integer code) of each path, one per line.\n"},
    {"set", "usage: ktz30cli set FILE.hxq ASSIGNMENT... [-o OUT]\n\n"
            "PATH=TEXT stores a display text by the value's own rule (choice text, string,\n"
            "frequency); PATH:=CODE stores an integer code (clamped into range). The file is\n"
            "saved to OUT, or back to FILE. Nothing is saved when an assignment fails.\n"},
};

int Usage(const std::string& message) {
    if (!message.empty()) std::fprintf(stderr, "ktz30cli: %s\n", message.c_str());
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

const char* HelpOf(const std::string& verb) {
    for (const CVerbHelp& h : kHelp)
        if (verb == h.verb) return h.text;
    return nullptr;
}

int VerbUsage(const std::string& verb, const std::string& message) {
    std::fprintf(stderr, "ktz30cli %s: %s\n%s", verb.c_str(), message.c_str(), HelpOf(verb));
    return kExitUsage;
}

struct CArgs {
    std::string port;
    std::string output;
    std::string variant;
    bool yes = false;
    bool makerReserve = false;
    bool code = false;
    std::vector<std::string> positional;
    bool help = false;
};

// Options any verb may carry; a verb refuses the ones it has no use for.
bool ParseArgs(const std::string& verb, int argc, char** argv, CArgs* a, std::string* error) {
    for (int i = 2; i < argc; ++i) {
        const std::string s = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                *error = s + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        if (s == "--help" || s == "-h")
            a->help = true;
        else if (s == "--port" && (verb == "info" || verb == "read" || verb == "write")) {
            if (!value(&a->port)) return false;
        } else if (s == "-o" && (verb == "read" || verb == "new" || verb == "set")) {
            if (!value(&a->output)) return false;
        } else if (s == "--variant" && verb == "new") {
            if (!value(&a->variant)) return false;
        } else if (s == "--yes" && verb == "write")
            a->yes = true;
        else if (s == "--maker-reserve" && verb == "write")
            a->makerReserve = true;
        else if (s == "--code" && verb == "get")
            a->code = true;
        else if (s.size() > 1 && s[0] == '-' && s.find('=') == std::string::npos) {
            *error = "unknown option " + s;
            return false;
        } else
            a->positional.push_back(s);
    }
    return true;
}

// Sets up the platform services of a terminal.
class CTerminalPlatform {
public:
    explicit CTerminalPlatform(bool assumeYes) : m_prompts(assumeYes) {
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

// A document for one command: the GUI's remembered variant stays as it is.
std::unique_ptr<CZ30Doc> NewDocument() {
    auto doc = std::make_unique<CZ30Doc>();
    doc->SetRememberVariant(false);
    if (CCloneRsIoManager* io = doc->GetCloneManager()->GetCloneRsIoManager())
        io->SetBeepPauses(false);
    return doc;
}

// Loads a file and takes the variant its image gives; false after telling why.
bool Load(CZ30Doc& doc, const std::string& path) {
    try {
        doc.LoadFile(path);
    } catch (const CArchiveFormatError& e) {
        std::fprintf(stderr, "%s: %s (%s)\n", path.c_str(), e.what(), e.Word().c_str());
        return false;
    }
    CCloneManager* hub = doc.GetCloneManager();
    if (CByteImage* image = hub->GetImage()) {
        const int v = VariantOfImage(*image);
        if (v != doc.GetVariant()) {
            hub->GetModelManager()->SetVariant(v, false);
            hub->ImageToTree();
        }
    }
    return true;
}

bool Save(CZ30Doc& doc, const std::string& path) {
    std::string error;
    if (doc.SaveFile(path, &error)) return true;
    std::fprintf(stderr, "%s: the file could not be saved: %s\n", path.c_str(), error.c_str());
    return false;
}

bool SetPort(CZ30Doc& doc, const std::string& port) {
    CCloneRsIoManager* io = doc.GetCloneManager()->GetCloneRsIoManager();
    if (port.size() == 1 && port[0] >= '1' && port[0] <= '4') {
        io->SetPort(static_cast<unsigned>(port[0] - '0'));
        return true;
    }
    if (port.empty() || port.find('/') == std::string::npos) return false;
    io->SetPortName(port);
    return true;
}

std::string PathOf(const CNode* node, const std::string& parent) {
    return parent.empty() ? node->GetName() : parent + "." + node->GetName();
}

void Dump(const CNode* node, const std::string& path) {
    for (const CNode* child : node->Children()) {
        if (!child) continue;
        const std::string p = PathOf(child, path);
        if (child->ChildCount() == 0)
            std::printf("%s\t%d\t%s\n", p.c_str(), child->GetValue(), child->GetText().c_str());
        else
            Dump(child, p);
    }
}

int RunRadio(const std::string& verb, const CArgs& a) {
    if (a.port.empty()) return VerbUsage(verb, "--port is required");
    if (verb == "read" && (a.output.empty() || !a.positional.empty()))
        return VerbUsage(verb, "-o FILE.hxq is required");
    if (verb == "write" && a.positional.size() != 1)
        return VerbUsage(verb, "one FILE.hxq is required");
    if (verb == "info" && !a.positional.empty()) return VerbUsage(verb, "no file is taken");

    CTerminalPlatform platform(a.yes);
    InstallCancelHandler();
    auto doc = NewDocument();
    if (!SetPort(*doc, a.port)) return VerbUsage(verb, "PORT is 1 to 4 or a device path");
    if (verb == "info") return doc->OnCloneInfo();
    if (verb == "read") {
        const int result = doc->OnCloneRead();
        if (result != kCloneOk) return result;
        return Save(*doc, a.output) ? kCloneOk : 74;
    }
    if (!Load(*doc, a.positional[0])) return kExitFailure;
    if (a.makerReserve && doc->GetCloneManager()->ActivateMakerReserve() != 1) return kCloneFailed;
    return doc->OnCloneWrite();
}

int RunNew(const CArgs& a) {
    long long v = -1;
    if (a.variant.empty() || !ParseCInt(a.variant, &v) || v < 0 || v > 5 ||
        a.variant.find_first_not_of("0123456789") != std::string::npos)
        return VerbUsage("new", "--variant takes 0 to 5");
    if (a.output.empty() || !a.positional.empty())
        return VerbUsage("new", "-o FILE.hxq is required");
    CTerminalPlatform platform(false);
    auto doc = NewDocument();
    doc->GetCloneManager()->GetModelManager()->SetVariant(static_cast<int>(v), true);
    return Save(*doc, a.output) ? 0 : kExitFailure;
}

int RunDump(const CArgs& a) {
    if (a.positional.size() != 1) return VerbUsage("dump", "one FILE.hxq is required");
    CTerminalPlatform platform(false);
    auto doc = NewDocument();
    if (!Load(*doc, a.positional[0])) return kExitFailure;
    Dump(doc->GetRoot(), "");
    return 0;
}

int RunGet(const CArgs& a) {
    if (a.positional.size() < 2) return VerbUsage("get", "a FILE.hxq and a PATH are required");
    CTerminalPlatform platform(false);
    auto doc = NewDocument();
    if (!Load(*doc, a.positional[0])) return kExitFailure;
    int status = 0;
    for (std::size_t i = 1; i < a.positional.size(); ++i) {
        const std::string& path = a.positional[i];
        const CNode* node = path.empty() ? nullptr : GetNode(doc->GetRoot(), path);
        if (!node) {
            std::fprintf(stderr, "ktz30cli get: unknown path %s\n", path.c_str());
            status = kExitFailure;
            continue;
        }
        if (a.code)
            std::printf("%d\n", node->GetValue());
        else
            std::printf("%s\n", node->GetText().c_str());
    }
    return status;
}

int RunSet(const CArgs& a) {
    if (a.positional.size() < 2)
        return VerbUsage("set", "a FILE.hxq and an ASSIGNMENT are required");
    struct CAssignment {
        std::string path;
        std::string value;
        bool code;
    };
    std::vector<CAssignment> list;
    for (std::size_t i = 1; i < a.positional.size(); ++i) {
        const std::string& s = a.positional[i];
        const auto eq = s.find('=');
        if (eq == std::string::npos || eq == 0)
            return VerbUsage("set", "'" + s + "' is neither PATH=TEXT nor PATH:=CODE");
        const bool code = s[eq - 1] == ':';
        list.push_back({s.substr(0, code ? eq - 1 : eq), s.substr(eq + 1), code});
        if (list.back().path.empty()) return VerbUsage("set", "'" + s + "' has no path");
    }
    CTerminalPlatform platform(false);
    auto doc = NewDocument();
    const std::string& file = a.positional[0];
    if (!Load(*doc, file)) return kExitFailure;
    for (const CAssignment& x : list) {
        CNode* node = GetNode(doc->GetRoot(), x.path);
        if (!node) {
            std::fprintf(stderr, "ktz30cli set: unknown path %s\n", x.path.c_str());
            return kExitFailure;
        }
        if (x.code) {
            long long n = 0;
            if (!ParseCInt(x.value, &n) || n < INT32_MIN || n > INT32_MAX ||
                x.value.find_first_not_of("+-0123456789 ") != std::string::npos) {
                std::fprintf(stderr, "ktz30cli set: %s: '%s' is not an integer code\n",
                             x.path.c_str(), x.value.c_str());
                return kExitFailure;
            }
            node->SetValue(static_cast<int>(n));
        } else if (!node->SetText(x.value).Taken()) {
            std::fprintf(stderr, "ktz30cli set: %s does not take '%s'\n", x.path.c_str(),
                         x.value.c_str());
            return kExitFailure;
        }
    }
    return Save(*doc, a.output.empty() ? file : a.output) ? 0 : kExitFailure;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return Usage("a command is required");
    const std::string verb = argv[1];
    if (verb == "--help" || verb == "-h" || verb == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!HelpOf(verb)) return Usage("unknown command '" + verb + "'");
    CArgs a;
    std::string error;
    if (!ParseArgs(verb, argc, argv, &a, &error)) return VerbUsage(verb, error);
    if (a.help) {
        std::fputs(HelpOf(verb), stdout);
        return 0;
    }
    if (verb == "info" || verb == "read" || verb == "write") return RunRadio(verb, a);
    if (verb == "new") return RunNew(a);
    if (verb == "dump") return RunDump(a);
    if (verb == "get") return RunGet(a);
    return RunSet(a);
}
