#include "cli/print_command.h"

#include "app/clone_support_doc.h"
#include "cli/commands.h"
#include "clone/model_info.h"
#include "print/pdf_output.h"
#include "sheets/mch_rows.h"
#include "sheets/print_job.h"

#include <CLI/CLI.hpp>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

CLI::App* AddPrintCommand(CLI::App& app, CPrintArgs& a) {
    CLI::App* print = app.add_subcommand("print", "a clone data file's printout as a PDF");
    print->add_option("FILE", a.file, "a clone data file (.hxq)")->required();
    print->add_option("-o", a.output, "the PDF file to write (OUT.pdf)")->required();
    CLI::Option* all = print->add_flag("--all", a.all,
                                       "every section but Maker Reserved (without a section "
                                       "option, the same)");
    const auto section = [print, all](const char* name, bool& flag, const char* text) {
        print->add_flag(name, flag, text)->excludes(all);
    };
    section("--common", a.common,
            "Common Setting: Key & Display Assign, Common 1, Common 2, Expert");
    section("--memory", a.memory, "the memory channels");
    section("--dtmf", a.dtmf, "DTMF Autodial");
    section("--scan", a.scan, "Scan Setting");
    section("--signalling", a.signalling,
            "the 2-tone (LMR) or 5-tone (PMR) code channels and settings");
    section("--maker", a.maker, "Maker Reserved");
    print->add_flag("--landscape", a.landscape, "the paper turned on its side (else portrait)");
    print->footer(
        "The sections print in the order above, each from a new page, on A4 paper (Letter\n"
        "where the locale measures in inches). No display is needed.\n"
        "Exit status: 0 success, 1 failure (the message says why), 2 a usage error.");
    return print;
}

int RunPrint(const CPrintArgs& a) {
    if (!HaveFonts()) {
        std::fputs("ktz30cli print: no font to draw the text with; install one (for example "
                   "fonts-liberation2)\n",
                   stderr);
        return kExitFailure;
    }
    // A slip of the output name must not put a PDF where the radio's data was.
    std::error_code ec;
    if (std::filesystem::equivalent(a.file, a.output, ec)) {
        std::fprintf(stderr, "%s: is the file being printed; the PDF needs a name of its own\n",
                     a.output.c_str());
        return kExitFailure;
    }
    return WithFileDocument(a.file, [&a](CZ30Doc& doc) {
        const int variant = doc.GetVariant();
        CPrintSelection s;
        s.common = a.common;
        s.memory = a.memory;
        s.dtmf = a.dtmf;
        s.scan = a.scan;
        s.signalling = a.signalling;
        s.maker = a.maker;
        s.all = a.all || !(s.common || s.memory || s.dtmf || s.scan || s.signalling || s.maker);
        const std::vector<CPrintItem> items = BuildPrintJob(s, IsPmrVariant(variant), true);
        std::string error;
        if (!WritePdf(a.output,
                      PrintSections({doc.GetRoot(), variant, MchSheetRows(variant, false)}, items),
                      LocalePageSize(), &error,
                      a.landscape ? QPageLayout::Landscape : QPageLayout::Portrait)) {
            std::fprintf(stderr, "%s: the PDF could not be written: %s\n", a.output.c_str(),
                         error.c_str());
            return kExitFailure;
        }
        std::printf("ktz30cli: wrote %s: %zu section%s of %s\n", a.output.c_str(), items.size(),
                    items.size() == 1 ? "" : "s", kVariantNames[static_cast<std::size_t>(variant)]);
        return 0;
    });
}

namespace {
QtMessageHandler g_qtMessages = nullptr;

// The offscreen platform's remark about a missing runtime folder means nothing to a user who
// prints into a file; every other message goes on as before.
void QuietRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
    if (g_qtMessages) g_qtMessages(type, context, text);
}
} // namespace

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    // A PDF delivery report of a write is drawn the same way.
    bool pdf = argc > 1 && std::strcmp(argv[1], "print") == 0;
    for (int i = 2; argc > 1 && std::strcmp(argv[1], "write") == 0 && i < argc; ++i) {
        const std::string s = argv[i];
        const std::string report = s == "--report" && i + 1 < argc ? argv[i + 1]
                                   : s.rfind("--report=", 0) == 0  ? s.substr(9)
                                                                   : "";
        pdf = pdf || (report.size() > 4 &&
                      QString::fromStdString(report.substr(report.size() - 4)).toLower() == ".pdf");
    }
    if (pdf) {
        // Pages are drawn without a display, whatever display there is.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        g_qtMessages = qInstallMessageHandler(QuietRuntimeFolder);
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}
