// Several radios at once: "--port" given more than once runs one transfer per port at the same
// time, each in a ktz30cli of its own (the clone core is single-threaded and keeps process-wide
// platform services), and prints one line per radio in port order.
#pragma once

#include <string>
#include <vector>

struct CCliArgs;

// Runs read, write or info on every port of a.ports. args are the program's arguments after
// the program name, passed on to each radio's run with its own port (and, for read, its own
// file: FILE.hxq becomes FILE-<port>.hxq). A write asks once before any radio is written.
// Ctrl+C, SIGTERM or SIGHUP cancels every transfer. Returns 0 when every radio succeeded, else
// the highest result code.
int RunFleet(const std::string& verb, const CCliArgs& a, const std::vector<std::string>& args);

// The file a read of several radios writes for one port: "radio.hxq" and "/dev/ttyUSB0" give
// "radio-ttyUSB0.hxq", "1" gives "radio-COM1.hxq".
std::string FleetOutputName(const std::string& output, const std::string& port);

class CZ30Doc;
// In a radio's run of a fleet: what the parent takes from it (backup, verification, the radio's
// fingerprint), on standard output.
void TellFleetParent(CZ30Doc& doc);
