#include "cli/csv_cmd.h"

#include "app/clone_support_doc.h"
#include "cli/commands.h"
#include "core/files.h"
#include "sheets/channel_csv.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char* const kImportLabel = "Import Channels";

} // namespace

CCsvCommand::CCsvCommand(CLI::App& app) {
    m_csv = app.add_subcommand("csv", "channel lists as comma-separated text (CHIRP's layout)");
    m_csv->require_subcommand(1);
    m_csv->footer("'ktz30cli csv export --help' and 'ktz30cli csv import --help' describe them.");

    m_export = m_csv->add_subcommand("export", "the channels in use as a channel list");
    m_export->add_option("FILE", m_file, "a clone data file (.hxq)")->required();
    m_export->add_option("-o", m_output,
                         "the channel list to write (OUT.csv); else standard output");
    m_export->footer(
        "One row per channel in use under the header line Location,Name,Frequency,Duplex,Offset,\n"
        "Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,\n"
        "Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE: the layout CHIRP reads and writes.\n"
        "Power is written in watts, each level as its nominal output. The radio's outputs are\n"
        "not known to this program; it assumes LMR Low1 1W, Low2 2W, High 5W and PMR Low1\n"
        "0.1W, Low2 0.2W, High 0.5W. Other values go in the settings group CSV: LmrLow1Watts,\n"
        "LmrLow2Watts, LmrHighWatts, PmrLow1Watts, PmrLow2Watts, PmrHighWatts (rising from\n"
        "Low1 to High, else the assumed ones are used).\n"
        "Exit status: 0 success, 1 failure (the message says why), 2 a usage error, 74 the list\n"
        "cannot be written to standard output.");

    m_import = m_csv->add_subcommand("import", "set channels from a channel list, then save");
    m_import->add_option("FILE", m_file, "a clone data file (.hxq)")->required();
    m_import->add_option("IN", m_csvIn, "the channel list (IN.csv)")->required();
    m_import->add_option("-o", m_output, "save to this file instead of FILE");
    m_import->add_flag("--renumber", m_renumber,
                       "the rows, in file order, into channels 1, 2, 3 ... (whatever their "
                       "Location)");
    m_import->add_option("--locations", m_locations,
                         "A-B: only the rows whose Location is A to B (with --renumber, into "
                         "channels from 1)");
    m_import->footer(
        "Columns are read by their header names in any order; a missing one takes its default,\n"
        "unknown ones are left aside. Location is the channel number; a channel that was off\n"
        "starts from the blank channel, and what the list does not carry keeps its value.\n"
        "Rows the radio cannot take (a channel it does not have, a frequency off every raster,\n"
        "a tone it cannot make, a mode other than FM and NFM) are skipped, and so are rows with\n"
        "fewer fields than the header; values it keeps in another form are adjusted (the Duplex\n"
        "decides on which side TX lies, whatever the Offset's sign). Each is reported with its\n"
        "row and column. Lines starting with # are comments. Power takes watts (\"5W\", \"0.5\")\n"
        "as the nearest level (see csv export --help), or the level names Low1, Low2, High.\n"
        "Names and comments are left aside: the radio stores neither (said once). Skip P is\n"
        "read as scanned, a TX of 0 MHz as TX inhibited, both with a note.\n"
        "Exit status: 0 every row imported as given, 3 rows skipped or adjusted (the file is\n"
        "saved), 1 failure (nothing saved), 2 a usage error.");
    for (CLI::App* sub : {m_export, m_import})
        sub->allow_extras();
}

int CCsvCommand::Run() const {
    CLI::App* sub = m_csv->get_subcommands().at(0);
    for (const std::string& s : sub->remaining()) {
        std::fprintf(stderr,
                     "ktz30cli csv %s: %s '%s'\nRun 'ktz30cli csv %s --help' for its usage.\n",
                     sub->get_name().c_str(),
                     s.size() > 1 && s[0] == '-' ? "unknown option" : "unexpected argument",
                     s.c_str(), sub->get_name().c_str());
        return kExitUsage;
    }
    return WithFileDocument(m_file, [this, sub](CZ30Doc& doc) {
        return sub == m_export ? RunExport(doc) : RunImport(doc);
    });
}

int CCsvCommand::RunExport(CZ30Doc& doc) const {
    int count = 0;
    const std::string text = ExportChannelCsv(doc.GetRoot(), doc.GetVariant(), &count);
    if (m_output.empty()) { // the program checks standard output when it ends
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    std::string error;
    if (!ReplaceFile(m_output, text, &error)) {
        std::fprintf(stderr, "%s: the file could not be saved: %s\n", m_output.c_str(),
                     error.c_str());
        return kExitFailure;
    }
    std::printf("ktz30cli: wrote %s: %d channel%s\n", m_output.c_str(), count,
                count == 1 ? "" : "s");
    return 0;
}

int CCsvCommand::RunImport(CZ30Doc& doc) const {
    std::string text;
    errno = 0;
    switch (ReadFileBounded(m_csvIn, &text)) {
    case KtRead::Ok:
        break;
    case KtRead::TooLarge:
        std::fprintf(stderr, "ktz30cli csv import: %s is larger than any channel list\n",
                     m_csvIn.c_str());
        return kExitFailure;
    case KtRead::CannotOpen:
        std::fprintf(stderr, "ktz30cli csv import: cannot open %s: %s\n", m_csvIn.c_str(),
                     errno ? std::strerror(errno) : "unreadable");
        return kExitFailure;
    }
    CCsvImportOptions options;
    options.renumber = m_renumber;
    if (!m_locations.empty() && !ParseCsvLocations(m_locations, &options.first, &options.last)) {
        std::fprintf(stderr,
                     "ktz30cli csv import: --locations '%s' is not A-B (two Locations, the "
                     "smaller first: 1-16)\n",
                     m_locations.c_str());
        return kExitUsage;
    }
    CCsvImport import;
    doc.Edit(kImportLabel, [&](CNode& root, CEditReport&) {
        import = ImportChannelCsv(&root, doc.GetVariant(), text, options);
    });
    if (!import.error.empty()) {
        std::fprintf(stderr, "ktz30cli csv import: %s: %s\nktz30cli csv import: nothing saved\n",
                     m_csvIn.c_str(), import.error.c_str());
        return kExitFailure;
    }
    for (const CCsvNote& note : import.notes)
        std::printf("%s\n", CsvNoteText(note).c_str());
    if (import.notesLeftOut) std::printf("... and %zu more\n", import.notesLeftOut);
    if (import.namesLeftAside) std::printf("note: %s\n", kCsvNamesNote);
    if (!SaveEditedDocument(doc, m_file, m_output, CsvImportSummary(import))) return kExitFailure;
    return import.Clean() ? 0 : kExitCsvNoted;
}
