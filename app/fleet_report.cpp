#include "app/fleet_report.h"

#include "app/fleet.h"
#include "core/ctext.h"
#include "sheets/csv_table.h"

#include <cstdio>

namespace {

const char* VerifiedWord(FleetVerified v) {
    switch (v) {
    case FleetVerified::Yes:
        return "yes";
    case FleetVerified::No:
        return "no";
    default:
        return "not asked";
    }
}

} // namespace

std::string IsoLocalTime(std::time_t t) {
    if (t == 0) return {};
    const std::tm local = LocalTime(t);
    char text[40];
    std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // "+0100" becomes "+01:00".
    if (n < 5) return std::string(text, n);
    return std::string(text, n - 2) + ":" + std::string(text + n - 2, 2);
}

std::vector<std::string> FleetReportHeader(const std::vector<std::string>& valueColumns) {
    std::vector<std::string> h = {"radio",  "port",        "start",    "seconds",
                                  "result", "result text", "verified", "fingerprint"};
    h.insert(h.end(), valueColumns.begin(), valueColumns.end());
    h.push_back("backup");
    return h;
}

std::vector<std::vector<std::string>>
FleetReportRows(const CFleetEngine& engine, const std::vector<std::string>& valueColumns) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < engine.Count(); ++i) {
        const CFleetJob& job = engine.Job(i);
        const CFleetStatus& s = engine.Status(i);
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", s.Seconds());
        std::vector<std::string> row = {std::to_string(job.number), FleetPortLabel(job.port),
                                        IsoLocalTime(s.startTime),  s.startTime ? seconds : "",
                                        std::to_string(s.code),     s.text,
                                        VerifiedWord(s.verified),   s.fingerprint};
        for (const std::string& column : valueColumns) {
            std::string value;
            for (const auto& [path, text] : job.values)
                if (path == column) value = text;
            row.push_back(value);
        }
        row.push_back(s.backup);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string FleetReportCsv(const CFleetEngine& engine,
                           const std::vector<std::string>& valueColumns) {
    std::string csv = CsvLine(FleetReportHeader(valueColumns));
    for (const auto& row : FleetReportRows(engine, valueColumns))
        csv += CsvLine(row);
    return csv;
}
