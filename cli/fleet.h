// Several radios at once: "--port" given more than once runs one transfer per port at the same
// time, each in a ktz30cli of its own (the clone core is single-threaded and keeps process-wide
// platform services), and prints one line per radio in port order.
#pragma once

#include <string>
#include <vector>

struct CCliArgs;
namespace CLI {
class App;
}

// What a write of several radios takes beyond a single write's options.
struct CFleetArgs {
    std::string plan;                 // --plan PLAN.csv: each radio's own values
    std::vector<std::string> numbers; // --number PATH=START: radio k gets START plus k - 1
    std::string report;               // --report FILE.csv or FILE.pdf: the delivery report
    bool sequence = false;            // --sequence: radio after radio on the one port
    int count = 0;                    // --count N: radios of a sequence (0: the plan's rows)
};
void AddFleetOptions(CLI::App* write, CFleetArgs& f);
// Whether a write is a fleet's even on one port.
bool FleetWanted(const CFleetArgs& f);

// Runs read, write or info on every port of a.ports. args are the program's arguments after
// the program name, passed on to each radio's run with its own port (and, for read, its own
// file: FILE.hxq becomes FILE-<port>.hxq). A write asks once before any radio is written.
// Ctrl+C, SIGTERM or SIGHUP cancels every transfer. Returns 0 when every radio succeeded, else
// the highest result code.
int RunFleet(const std::string& verb, const CCliArgs& a, const std::vector<std::string>& args,
             const CFleetArgs& f = {});
// --sequence: radio after radio on one port, each read (backup, fingerprint) before it is written,
// Enter before each, q or Ctrl+C ends.
int RunSequence(const CCliArgs& a, const CFleetArgs& f);

// The file a read of several radios writes for one port: "radio.hxq" and "/dev/ttyUSB0" give
// "radio-ttyUSB0.hxq", "1" gives "radio-COM1.hxq".
std::string FleetOutputName(const std::string& output, const std::string& port);

class CZ30Doc;
// In a radio's run of a fleet: what the parent takes from it (backup, verification, the radio's
// fingerprint), on standard output.
void TellFleetParent(CZ30Doc& doc);
