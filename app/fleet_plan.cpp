#include "app/fleet_plan.h"

#include "app/clone_support_doc.h"
#include "app/fleet.h"
#include "core/ctext.h"
#include "params/set_result.h"
#include "sheets/csv_table.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string Trim(std::string s) {
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    return s;
}

bool AllBlank(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

} // namespace

bool ParseFleetPlan(std::string_view text, CFleetPlan* plan, std::string* error) {
    *plan = {};
    error->clear();
    CCsvTable table = ParseCsv(text);
    if (!table.error.empty()) {
        *error = table.error;
        return false;
    }
    if (table.records.empty()) {
        *error = "the plan is empty";
        return false;
    }
    for (CCsvRecord& record : table.records)
        for (std::string& field : record.fields)
            field = Trim(field);
    const std::vector<std::string>& header = table.records[0].fields;
    const std::string head = "line " + std::to_string(table.records[0].line);
    if (header[0] != "radio" && header[0] != "port") {
        *error = head + ": the first column is 'radio' or 'port', not '" + header[0] + "'";
        return false;
    }
    plan->byPort = header[0] == "port";
    std::set<std::string> seen;
    for (std::size_t c = 1; c < header.size(); ++c) {
        CPlanColumn col;
        col.header = header[c];
        col.code = !col.header.empty() && col.header.back() == ':';
        col.path = col.code ? col.header.substr(0, col.header.size() - 1) : col.header;
        if (col.header == "comment") col.path = "CommonSet.Common1.Comment1";
        if (col.path.empty()) {
            *error = head + ", column " + std::to_string(c + 1) + ": no value path";
            return false;
        }
        if (!seen.insert(col.path).second) {
            *error =
                head + ", column " + std::to_string(c + 1) + ": " + col.path + " is given twice";
            return false;
        }
        plan->columns.push_back(col);
    }
    std::set<std::string> keys;
    for (std::size_t r = 1; r < table.records.size(); ++r) {
        const CCsvRecord& record = table.records[r];
        const std::string at = "line " + std::to_string(record.line);
        if (AllBlank(record.fields)) continue;
        if (record.fields.size() != header.size()) {
            *error = at + ": " + std::to_string(record.fields.size()) + " cells, the header has " +
                     std::to_string(header.size());
            return false;
        }
        CPlanRow row;
        row.line = static_cast<std::size_t>(record.line);
        row.key = record.fields[0];
        row.cells.assign(record.fields.begin() + 1, record.fields.end());
        long long n = 0;
        if (!plan->byPort && (!ParseCInt(row.key, &n) || n < 1 || n > 100000)) {
            *error = at + ", column 1: '" + row.key + "' is not a radio number (1, 2, 3 ...)";
            return false;
        }
        if (row.key.empty()) {
            *error = at + ", column 1: no port";
            return false;
        }
        const std::string key = plan->byPort ? row.key : std::to_string(n);
        if (!keys.insert(key).second) {
            *error = at + ", column 1: " + (plan->byPort ? "port " : "radio ") + row.key +
                     " has a row already";
            return false;
        }
        plan->rows.push_back(std::move(row));
    }
    return true;
}

bool CountOn(const std::string& start, std::size_t k, std::string* out) {
    const std::size_t end = start.find_last_of("0123456789");
    if (end == std::string::npos) return false;
    std::size_t begin = end;
    while (begin > 0 && start[begin - 1] >= '0' && start[begin - 1] <= '9')
        --begin;
    // Digit by digit from the right, so that no width overflows an integer.
    std::string digits = start.substr(begin, end - begin + 1);
    std::size_t carry = k;
    for (std::size_t i = digits.size(); i-- > 0 && carry > 0;) {
        const std::size_t d = static_cast<std::size_t>(digits[i] - '0') + carry;
        digits[i] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    if (carry > 0) return false;
    *out = start.substr(0, begin) + digits + start.substr(end + 1);
    return true;
}

bool NumberedPlan(const std::vector<std::string>& numbers, std::size_t count, CFleetPlan* plan,
                  std::string* error) {
    *plan = {};
    for (const std::string& n : numbers) {
        const std::size_t eq = n.find('=');
        if (eq == std::string::npos || eq == 0) {
            *error = "--number '" + n + "' is not PATH=START";
            return false;
        }
        CPlanColumn col;
        col.header = n.substr(0, eq);
        col.code = col.header.back() == ':';
        col.path = col.code ? col.header.substr(0, col.header.size() - 1) : col.header;
        plan->columns.push_back(col);
    }
    for (std::size_t k = 0; k < count; ++k) {
        CPlanRow row;
        row.key = std::to_string(k + 1);
        for (const std::string& n : numbers) {
            const std::string start = n.substr(n.find('=') + 1);
            std::string value;
            if (!CountOn(start, k, &value)) {
                *error = "--number " + n + ": " +
                         (start.find_first_of("0123456789") == std::string::npos
                              ? "START has no digits to count"
                              : "radio " + std::to_string(k + 1) + " would need more digits");
                return false;
            }
            row.cells.push_back(value);
        }
        plan->rows.push_back(std::move(row));
    }
    return true;
}

bool ApplyPlanRow(CZ30Doc& doc, const CFleetPlan& plan, std::size_t r,
                  std::vector<std::string>* adjusted, std::string* error) {
    const CPlanRow& row = plan.rows[r];
    const std::string where =
        row.line ? "row " + std::to_string(r + 1) + " (line " + std::to_string(row.line) + ")"
                 : "radio " + row.key;
    std::vector<std::size_t> columns;
    for (std::size_t c = 0; c < plan.columns.size(); ++c) {
        if (row.cells[c].empty()) continue;
        if (plan.columns[c].code) {
            long long n = 0;
            if (!ParseCInt(row.cells[c], &n) || n < INT_MIN || n > INT_MAX) {
                *error = where + ", column " + std::to_string(c + 2) + " (" +
                         plan.columns[c].header + "): '" + row.cells[c] +
                         "' is not an integer code";
                return false;
            }
        }
        columns.push_back(c);
    }
    const CEditStep step = doc.Edit("plan", [&](CNode&, CEditReport& report) {
        for (const std::size_t c : columns) {
            const CPlanColumn& col = plan.columns[c];
            long long n = 0;
            if (col.code && ParseCInt(row.cells[c], &n))
                report.SetCode(col.path, static_cast<int>(n));
            else
                report.SetText(col.path, row.cells[c]);
        }
    });
    for (std::size_t i = 0; i < step.outcomes.size() && i < columns.size(); ++i) {
        const CEditOutcome& o = step.outcomes[i];
        const CPlanColumn& col = plan.columns[columns[i]];
        const std::string place =
            where + ", column " + std::to_string(columns[i] + 2) + " (" + col.header + ")";
        if (!o.result.Taken() || o.result.status == CSetStatus::NotKept) {
            *error = place + ": '" + o.given + "' " +
                     (o.result.status == CSetStatus::NotKept ? "not kept" : "refused") + " (" +
                     (o.result.detail.empty() ? SetReasonText(o.result.reason) : o.result.detail) +
                     ")";
            return false;
        }
        if (o.result.status == CSetStatus::Adjusted && adjusted)
            adjusted->push_back(place + ": given '" + o.given + "', stored '" + o.result.stored +
                                "' (" + SetReasonText(o.result.reason) + ")");
    }
    return true;
}

std::vector<std::pair<std::string, std::string>> PlanRowValues(const CFleetPlan& plan,
                                                               std::size_t r) {
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t c = 0; c < plan.columns.size(); ++c)
        if (!plan.rows[r].cells[c].empty())
            values.emplace_back(plan.columns[c].header, plan.rows[r].cells[c]);
    return values;
}

bool PrepareFleetImages(const std::string& file, const CFleetPlan& plan,
                        std::vector<CFleetJob>& jobs, const std::string& folder,
                        const std::function<std::string(const std::string&)>& deviceOf,
                        std::vector<std::string>* adjusted, std::string* error) {
    std::set<std::size_t> taken;
    for (std::size_t r = 0; r < plan.rows.size(); ++r) {
        const CPlanRow& row = plan.rows[r];
        std::size_t job = jobs.size();
        for (std::size_t i = 0; i < jobs.size(); ++i)
            if (plan.byPort ? deviceOf(jobs[i].port) == deviceOf(row.key)
                            : jobs[i].number == std::atoi(row.key.c_str()))
                job = i;
        const std::string where =
            row.line ? "line " + std::to_string(row.line) + ", column 1" : "radio " + row.key;
        if (job == jobs.size() || !taken.insert(job).second) {
            *error =
                where + ": " + (plan.byPort ? "port " : "radio ") + row.key + " is not in the run";
            return false;
        }
        CZ30Doc doc;
        doc.SetRememberVariant(false);
        try {
            doc.LoadFileOverDefaults(file);
        } catch (const std::exception& e) {
            *error = file + ": " + e.what();
            return false;
        }
        if (!ApplyPlanRow(doc, plan, r, adjusted, error)) return false;
        jobs[job].image = folder + "/radio-" + std::to_string(jobs[job].number) + ".hxq";
        jobs[job].values = PlanRowValues(plan, r);
        std::string why;
        if (!doc.SaveFile(jobs[job].image, &why)) {
            *error = jobs[job].image + ": " + why;
            return false;
        }
    }
    return true;
}

std::vector<std::string> PlanColumns(const CFleetPlan& plan) {
    std::vector<std::string> columns;
    for (const CPlanColumn& c : plan.columns)
        columns.push_back(c.header);
    return columns;
}

bool LoadFleetPlan(const std::string& path, CFleetPlan* plan, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        *error = "cannot be read: " + std::string(std::strerror(errno));
        return false;
    }
    return ParseFleetPlan(text.str(), plan, error);
}
