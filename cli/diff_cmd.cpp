#include "cli/diff_cmd.h"

#include "app/clone_support_doc.h"
#include "app/image_compare.h"
#include "cli/commands.h"
#include "cli/terminal.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace {

constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

// Lists what differs between a and b; 0 equal, 1 different.
int List(const CZ30Doc& a, const CZ30Doc& b, bool codes, bool json, bool adjust) {
    CImageComparer comparer(a.GetCloneManager()->GetRadioDataManager());
    const std::vector<CDifference> list =
        comparer.Compare(a.ImageBytes(), b.ImageBytes(), CCompareOptions{adjust});
    if (json) {
        PrintLines(DifferencesJson(list));
    } else {
        for (const CDifference& d : list)
            std::printf("%s\n", DifferenceLine(d, codes).c_str());
    }
    if (list.empty()) return 0;
    std::fprintf(stderr, "%s\n", DifferenceSummary(list).c_str());
    return kExitDifferent;
}

} // namespace

CDiffCommand::CDiffCommand(CLI::App& app, CCliArgs& a) : m_args(a) {
    m_diff = app.add_subcommand("diff", "what differs between two files, or a file and the radio");
    m_diff->add_option("A", m_fileA, "a clone data file (.hxq)")->required();
    m_diff->add_option("B", m_fileB, "the clone data file to compare A with, unless --port");
    m_diff->add_option("--port", a.ports,
                       "read the radio on PORT (1 to 4 or a device path) as 'read' does and\n"
                       "compare A with it");
    m_diff->add_flag("--codes", m_codes, "show the codes beside the texts");
    m_diff->add_flag("--json", m_json,
                     "a JSON array of objects (path, a, b, codeA, codeB) instead of lines");
    m_diff->add_flag("--adjust", m_adjust,
                     "also the adjust area 0x0000-0x006F (every radio's alignment differs)");
    m_diff->add_flag("--no-backup", a.noBackup, "with --port: no backup of the read this time");
    m_diff->add_option("--trace", a.trace, "with --port: record every frame in FILE")
        ->type_name("FILE");
    m_diff->footer(
        "One line per difference in tree order, a channel's together: the path, a tab, A's text,\n"
        "a tab, B's text; bytes no value covers by their address with both bytes in hexadecimal.\n"
        "Values the variant does not store and channels beyond its count are not compared; a\n"
        "channel off on both sides is equal. A summary goes to standard error (\"3 differences:\n"
        "2 in Mch.CH4, 1 in CommonSet\").\n"
        "Exit status: 0 equal, 1 different, 2 trouble (a file that cannot be read, a usage\n"
        "error); with --port a failed read exits with the clone result (77, 80, 85, 90, 91).");
}

int CDiffCommand::Run() const {
    const bool radio = !m_args.ports.empty();
    if (radio != m_fileB.empty()) {
        std::fprintf(stderr, "ktz30cli diff: give two files, or one file and --port\n");
        return kExitTrouble;
    }
    if (radio && (m_args.ports.size() > 1 || !IsPortText(m_args.ports.front()))) {
        std::fprintf(stderr, "ktz30cli diff: --port is one port, 1 to 4 or a device path\n");
        return kExitTrouble;
    }
    if (radio) {
        StatusToStandardError(true); // standard output is the listing
        CCliArgs args = m_args;
        args.port = m_args.ports.front();
        return RunRadioCommand(args, [&](CZ30Doc& b) {
            auto a = NewCliDocument(); // before the radio is asked
            if (!LoadCliDocument(*a, m_fileA)) return kExitTrouble;
            const int result = b.OnCloneRead();
            return result == 0 ? List(*a, b, m_codes, m_json, m_adjust) : result;
        });
    }
    const std::shared_ptr<void> platform = UseTerminalPlatform(false);
    auto a = NewCliDocument();
    auto b = NewCliDocument();
    if (!LoadCliDocument(*a, m_fileA) || !LoadCliDocument(*b, m_fileB)) return kExitTrouble;
    return List(*a, *b, m_codes, m_json, m_adjust);
}
