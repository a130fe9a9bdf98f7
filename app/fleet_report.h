// The delivery report of a fleet: one line per radio (its number, port, start time, seconds,
// result code and text, verification, fingerprint, the values it got, its backup), as CSV and as
// the rows of a printed table.
#pragma once

#include <ctime>
#include <string>
#include <vector>

class CFleetEngine;

// "2026-12-09T14:03:22+01:00": local time with its offset.
std::string IsoLocalTime(std::time_t t);

// The report's columns: the fixed ones with the plan's value columns before the backup.
std::vector<std::string> FleetReportHeader(const std::vector<std::string>& valueColumns);
// One row per radio, in the order of the run, each cell a text.
std::vector<std::vector<std::string>> FleetReportRows(const CFleetEngine& engine,
                                                      const std::vector<std::string>& valueColumns);
// The whole report as RFC 4180 CSV (CR LF lines, cells quoted where they need it).
std::string FleetReportCsv(const CFleetEngine& engine,
                           const std::vector<std::string>& valueColumns);
