// ktz30cli csv: the memory channels of a clone data file as a comma-separated channel list, out
// and in.
#pragma once

#include <string>

namespace CLI {
class App;
}
class CZ30Doc;

// Exit status of an import that skipped or adjusted rows (the file is saved all the same).
constexpr int kExitCsvNoted = 3;

class CCsvCommand {
public:
    // Adds "csv" with its "export" and "import" commands to the program's commands.
    explicit CCsvCommand(CLI::App& app);
    CLI::App* Command() const { return m_csv; }
    // Runs the one that was given.
    int Run() const;

private:
    // Their work on the loaded clone data file.
    int RunExport(CZ30Doc& doc) const;
    int RunImport(CZ30Doc& doc) const;

    CLI::App* m_csv = nullptr;
    CLI::App* m_export = nullptr;
    CLI::App* m_import = nullptr;
    std::string m_file;   // the clone data file
    std::string m_csvIn;  // the channel list read by import
    std::string m_output; // export: the channel list (else standard output); import: the file
    bool m_renumber = false;
    std::string m_locations; // import: "A-B", the Locations taken
};
