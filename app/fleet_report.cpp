#include "app/fleet_report.h"

#include "app/fleet.h"

#include <cstdio>

namespace {

std::string CsvCell(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

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
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char text[40];
    std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string s(text, n);
    // "+0100" becomes "+01:00".
    if (s.size() >= 5) s.insert(s.size() - 2, ":");
    return s;
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
    std::string csv;
    const auto line = [&csv](const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c)
            csv += (c ? "," : "") + CsvCell(cells[c]);
        csv += "\r\n";
    };
    line(FleetReportHeader(valueColumns));
    for (const auto& row : FleetReportRows(engine, valueColumns))
        line(row);
    return csv;
}
