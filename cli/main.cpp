// ktz30cli: the cloning program's operations from a shell.
#include "cli/commands.h"
#include "cli/csv_cmd.h"
#include "cli/diff_cmd.h"
#include "cli/fleet.h"
#include "cli/print_command.h"
#include "cli/set_from_cmd.h"
#include "cli/templates_cmd.h"

#include <CLI/CLI.hpp>
#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

const char* const kStatusRadio =
    "Exit status: the clone result: 0 success, 1 cancelled (Ctrl+C, or No to a question),\n"
    "77 failure, 80 transfer error, 85 illegal information, 90 wrong model, 91 the port\n"
    "cannot be opened, 74 the trace file cannot be written; with several ports, 0 when every\n"
    "radio succeeded, else the highest.";
const char* const kStatusFile =
    "Exit status: 0 success, 1 failure (the message says why), 2 a usage error, 74 what it\n"
    "prints cannot be written.";

// The port option of the radio commands.
void AddPort(CLI::App* sub, CCliArgs& a) {
    sub->add_option("--port", a.ports,
                    "1 to 4 for COM1 to COM4, or a device path such as /dev/ttyUSB0; for this run\n"
                    "only, the desktop program's port stays as it is. Given again, for more\n"
                    "radios: one transfer per port at the same time, one line per radio")
        ->required()
        ->allow_extra_args(false)
        ->check(CLI::Validator(
            [](std::string& s) {
                return IsPortText(s) ? std::string()
                                     : std::string("PORT is 1 to 4 or a device path");
            },
            "PORT"));
}

// The serial trace of a radio command.
void AddTrace(CLI::App* sub, CCliArgs& a) {
    sub->add_option("--trace", a.trace,
                    "record every frame in both directions in FILE (time, direction, command,\n"
                    "result and bytes)")
        ->type_name("FILE");
}

void AddNoBackup(CLI::App* sub, CCliArgs& a) {
    sub->add_flag("--no-backup", a.noBackup,
                  "no backup this time (else the image goes to the backups folder, see "
                  "'ktz30cli backups')");
}

// "unknown command" and "unknown option" where the parser would only say "not expected".
int Extras(const CLI::App& sub) {
    for (const std::string& s : sub.remaining()) {
        const std::string what =
            s.size() > 1 && s[0] == '-' ? "unknown option " + s : "unexpected argument '" + s + "'";
        std::fprintf(stderr, "ktz30cli %s: %s\nRun 'ktz30cli %s --help' for its usage.\n",
                     sub.get_name().c_str(), what.c_str(), sub.get_name().c_str());
        return kExitUsage;
    }
    return 0;
}

// What a run printed must have reached its reader: a full disk or a closed output fails the run
// with the system's reason (a command that failed already keeps its own status).
int CheckedOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    const int error = errno ? errno : EIO;
    std::fprintf(stderr, "ktz30cli: cannot write the output: %s\n", std::strerror(error));
    return status == 0 || status == kExitCsvNoted ? kExitCannotSave : status;
}

int RunCommandLine(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> application = MakeApplication(argc, argv);
    // The cloning program's names: its data folder (the backups) is the same for both.
    QCoreApplication::setOrganizationName(QStringLiteral("Norq"));
    QCoreApplication::setApplicationName(QStringLiteral("KT-Z30"));
    CCliArgs a;
    CLI::App app{"The KT-Z30 cloning program's operations from a shell.", "ktz30cli"};
    app.get_formatter()->label("Usage", "usage");
    app.set_version_flag("--version", "ktz30cli " KT_VERSION);
    app.footer("'ktz30cli <command> --help' describes a command.");
    app.require_subcommand(1);

    CLI::App* info = app.add_subcommand("info", "ask the radio who it is");
    AddPort(info, a);
    AddTrace(info, a);
    info->footer("Shows model, revision, comment and PLL reference.\n" + std::string(kStatusRadio));

    CLI::App* read = app.add_subcommand("read", "read the radio into a clone data file");
    AddPort(read, a);
    read->add_option("-o", a.output,
                     "the clone data file to write (FILE.hxq); with several ports, one per radio\n"
                     "named after its port (FILE-ttyUSB0.hxq, FILE-COM1.hxq)")
        ->required();
    AddNoBackup(read, a);
    AddTrace(read, a);
    read->footer("The variant is the radio's. Ctrl+C cancels. The file must be writable before\n"
                 "the radio is asked. " +
                 std::string(kStatusRadio) + " 74: the file could not be saved.");

    CLI::App* write = app.add_subcommand("write", "write a clone data file to the radio");
    AddPort(write, a);
    write->add_option("FILE", a.file, "a clone data file (.hxq)")->required();
    write->add_flag("--yes", a.yes, "write without asking first");
    write->add_flag("--maker-reserve", a.makerReserve,
                    "the whole image with the alignment values (else 0x0070-0x07FF)");
    write->add_flag("--allow-partial", a.allowPartial,
                    "write a file that does not hold every line the write sends; the lines it\n"
                    "leaves out go as the factory defaults of its variant");
    write->add_flag("--force", a.force,
                    "write even when channels are on, not TX-inhibited and have TX 0 MHz (else\n"
                    "refused, exit 1)");
    CLI::Option* verify = write->add_flag(
        "--verify", [&a](std::int64_t) { a.verify = 1; },
        "read the radio back and compare every byte written (the default unless the desktop\n"
        "program's Clone > Verify after Write is off)");
    CLI::Option* noVerify = write->add_flag(
        "--no-verify", [&a](std::int64_t) { a.verify = 0; }, "do not read the radio back");
    verify->excludes(noVerify);
    AddNoBackup(write, a);
    AddTrace(write, a);
    write->footer("A file that does not hold every line the write sends (0x0070-0x07FF, with\n"
                  "--maker-reserve the whole image) is refused before the port is opened, exit 1,\n"
                  "unless --allow-partial. Ctrl+C cancels. A write verified equal ends with\n"
                  "\" Cloning completed. Verified.\"; one whose read-back differs lists the first\n"
                  "addresses with their settings and exits 77, as does one that could not be read\n"
                  "back. " +
                  std::string(kStatusRadio));

    CLI::App* make = app.add_subcommand("new", "a file with the factory defaults of a variant");
    make->add_option("--variant", a.variant,
                     "0 LMR 1CH, 1 PMR 1CH, 2 LMR 2CH, 3 PMR 2CH, 4 LMR 16CH, 5 PMR 16CH")
        ->required()
        ->check(CLI::Validator(
            [](std::string& s) {
                return s.size() == 1 && s[0] >= '0' && s[0] <= '5' ? std::string() : "N is 0 to 5";
            },
            "N"));
    make->add_option("-o", a.output, "the clone data file to write (FILE.hxq)")->required();
    make->add_option("--template", a.templateName,
                     "a stock configuration made for the variant instead of the factory\n"
                     "defaults; found: " +
                         TemplateNames());
    make->footer(kStatusFile);

    CLI::App* show = app.add_subcommand("show", "variant, revision, channels and comments");
    show->add_option("FILE", a.file, "a clone data file (.hxq)")->required();
    show->footer(kStatusFile);

    CLI::App* dump = app.add_subcommand("dump", "every value: path, code and text");
    dump->add_option("FILE", a.file, "a clone data file (.hxq)")->required();
    dump->add_flag("--all", a.all,
                   "also Mch.CH0, channels beyond the variant and what the variant does not store");
    dump->footer("One line per value in tree order: the dotted path, a tab, the code, a tab, the\n"
                 "text (the code again where a value has no text).\n" +
                 std::string(kStatusFile));

    CLI::App* get = app.add_subcommand("get", "the text (or code) of values");
    get->add_flag("--code", a.code, "print the integer code instead of the text");
    get->add_option("FILE", a.file, "a clone data file (.hxq)")->required();
    get->add_option("PATH", a.rest, "dotted paths such as Mch.CH1.FreqRx")->required();
    get->footer("One line per path; the code where a value has no text.\n" +
                std::string(kStatusFile));

    CLI::App* set = app.add_subcommand("set", "set values, then save");
    set->add_option("FILE", a.file, "a clone data file (.hxq)")->required();
    set->add_option("ASSIGNMENT", a.rest, "PATH=TEXT or PATH:=CODE");
    set->add_option("-o", a.output, "save to this file instead of FILE");
    set->add_option("--from", a.from,
                    "set the values of a dump's lines (PATH<tab>CODE<tab>TEXT; # and\n"
                    "empty lines left out), edited or not, instead of assignments")
        ->type_name("DUMP.txt");
    set->add_option("--base", a.base,
                    "with --from: the bytes outside every value and the adjust area\n"
                    "from FILE")
        ->type_name("FILE");
    set->footer(
        "PATH=TEXT stores a display text by the value's own rule (choice text, string,\n"
        "frequency); PATH:=CODE stores an integer code. A value stored in another form (clamped,\n"
        "snapped to the raster, cut to what the radio keeps) is reported on standard error with\n"
        "what was given and what is stored. A refused value, or one the radio would not keep\n"
        "(a field of a channel that is off, of the other family, of a channel the variant does "
        "not\n"
        "have), fails the command and nothing is saved.\n"
        "With --from, each line of a dump goes the same way (a value without texts takes its\n"
        "code; a code that disagrees with its text gives way to the text, with a note); lines\n"
        "that hold what the file holds already, and fields of channels that are off, are left\n"
        "as they are. 'dump' of a file, then 'set --from' into the factory defaults of its\n"
        "variant with --base FILE gives back FILE's image byte for byte.\n" +
        std::string(kStatusFile));

    CLI::App* channel = app.add_subcommand("channel", "clear, delete, insert or copy channels");
    channel->add_option("FILE", a.file, "a clone data file (.hxq)")->required();
    channel->add_option("OPERATION", a.rest, "clear N | delete N | insert N | copy FROM TO")
        ->required();
    channel->add_option("-o", a.output, "save to this file instead of FILE");
    channel->footer(
        "The memory sheet's row operations, without questions: delete moves the later channels\n"
        "up and blanks the last, insert moves them down and loses the last, copy overwrites TO;\n"
        "Prio A, Prio B and Emergency follow their channels.\n" +
        std::string(kStatusFile));
    const CCsvCommand csv(app);
    const CDiffCommand diff(app, a);

    CLI::App* ports = app.add_subcommand("ports", "the serial ports and the COM numbers' devices");
    ports->footer("Exit status: 0, or 74 when what it prints cannot be written.");

    CPrintArgs printArgs;
    CLI::App* print = AddPrintCommand(app, printArgs);
    CLI::App* backups = app.add_subcommand("backups", "the backups of reads and writes");
    backups->footer(
        "Every read and every write (before it starts) keeps the image as a clone data file in\n"
        "the backups folder; the newest 100 stay. One line per backup, newest first: time,\n"
        "operation, variant, the radio's comments and the file, separated by tabs.\n"
        "Exit status: 0, or 74 when what it prints cannot be written.");

    const std::vector<CLI::App*> commands = app.get_subcommands([](CLI::App*) { return true; });
    for (CLI::App* sub : commands)
        sub->allow_extras();

    if (argc < 2) {
        std::fputs("ktz30cli: a command is required\n", stderr);
        std::fputs(app.help().c_str(), stderr);
        return kExitUsage;
    }
    if (argv[1][0] != '-' && std::none_of(commands.begin(), commands.end(),
                                          [&](CLI::App* s) { return s->get_name() == argv[1]; })) {
        std::fprintf(stderr,
                     "ktz30cli: unknown command '%s'\nRun 'ktz30cli --help' for the list.\n",
                     argv[1]);
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        std::fputs(app.help("", CLI::AppFormatMode::All).c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        std::string name = "ktz30cli"; // with the commands given, "ktz30cli csv import"
        for (const CLI::App* s = &app; !s->get_subcommands().empty();) {
            s = s->get_subcommands()[0];
            name += " " + s->get_name();
        }
        std::fprintf(stderr, "%s: %s\nRun '%s --help' for its usage.\n", name.c_str(), e.what(),
                     name.c_str());
        return kExitUsage;
    }
    const CLI::App* sub = app.get_subcommands()[0];
    if (const int extras = Extras(*sub)) return extras;
    if (!a.ports.empty()) a.port = a.ports.front();
    if (a.ports.size() > 1 && (sub == info || sub == read || sub == write))
        return RunFleet(sub->get_name(), a, std::vector<std::string>(argv + 1, argv + argc));
    if (sub == info) return RunInfo(a);
    if (sub == read) return RunRead(a);
    if (sub == write) return RunWrite(a);
    if (sub == make) return a.templateName.empty() ? RunNew(a) : RunNewFromTemplate(a);
    if (sub == show) return RunShow(a);
    if (sub == dump) return RunDump(a);
    if (sub == get) return RunGet(a);
    if (sub == set && a.rest.empty() == a.from.empty()) {
        std::fputs("ktz30cli set: give assignments or --from DUMP.txt\n"
                   "Run 'ktz30cli set --help' for its usage.\n",
                   stderr);
        return kExitUsage;
    }
    if (sub == set) return a.from.empty() ? RunSet(a) : RunSetFrom(a);
    if (sub == channel) return RunChannel(a);
    if (sub == print) return RunPrint(printArgs);
    if (sub == csv.Command()) return csv.Run();
    if (sub == diff.Command()) return diff.Run();
    if (sub == backups) return RunBackups(a);
    return RunPorts(a);
}

} // namespace

int main(int argc, char** argv) { return CheckedOutput(RunCommandLine(argc, argv)); }
