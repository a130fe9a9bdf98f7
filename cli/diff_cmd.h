// ktz30cli diff: what differs between two clone data files, or between a file and the radio.
#pragma once

#include <string>

namespace CLI {
class App;
}
struct CCliArgs;

class CDiffCommand {
public:
    // Adds "diff" to the program's commands; the port, trace and backup options go to a.
    CDiffCommand(CLI::App& app, CCliArgs& a);
    CLI::App* Command() const { return m_diff; }
    // Exit status as diff(1): 0 equal, 1 different, 2 trouble; a failed read of the radio exits
    // with the read's result.
    int Run() const;

private:
    CLI::App* m_diff = nullptr;
    CCliArgs& m_args;
    std::string m_fileA;
    std::string m_fileB; // empty with --port
    bool m_codes = false;
    bool m_json = false;
    bool m_adjust = false;
};
