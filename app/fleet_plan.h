// The plan of a fleet: a CSV file (a header line, then one row per radio) that gives each radio
// its own values. The first column is "radio" (1, 2, 3 ... the order in which radios are written)
// or "port" (a COM number 1 to 4 or a device path); every other column is a value path as
// `ktz30cli set` takes it ("PATH" for a text by the value's own rule, "PATH:" for a code), or
// "comment" for the clone data comment; an empty cell keeps the file's value. Counting
// (--number PATH=START) makes the same kind of plan.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CZ30Doc;
struct CFleetJob;

struct CPlanColumn {
    std::string header; // as the file names it
    std::string path;   // the value path ("CommonSet.Common1.Comment1" for "comment")
    bool code = false;  // "PATH:": the cells are integer codes
};

struct CPlanRow {
    std::size_t line = 0; // where the row starts in the file (1: the header)
    std::string key;      // the radio number or the port, as given
    std::vector<std::string> cells;
};

struct CFleetPlan {
    bool byPort = false;
    std::vector<CPlanColumn> columns; // after the first
    std::vector<CPlanRow> rows;
};

// RFC 4180 text (UTF-8 with or without a byte-order mark, CR LF or LF line ends, quoted cells
// with "" for a quote). False with the line and what is wrong; only the layout is checked here.
bool ParseFleetPlan(std::string_view text, CFleetPlan* plan, std::string* error);

// "START plus k": the last run of digits in start counted on by k, its width and leading zeros
// kept ("00101" + 1 = "00102", "A19" + 1 = "A20"); false when start has no digit or the count
// needs more digits than start has.
bool CountOn(const std::string& start, std::size_t k, std::string* out);
// The plan of --number PATH=START (each given once or more): count rows, radio k getting
// START plus k - 1. False with the reason.
bool NumberedPlan(const std::vector<std::string>& numbers, std::size_t count, CFleetPlan* plan,
                  std::string* error);

// What one row makes of a radio's document: its values set as `ktz30cli set` sets them. False
// with "row R, column C (HEADER): why" for a value refused or not kept; adjusted gets one line
// per value stored in another form.
bool ApplyPlanRow(CZ30Doc& doc, const CFleetPlan& plan, std::size_t row,
                  std::vector<std::string>* adjusted, std::string* error);
// The row's values as written ("PATH=TEXT"), the empty cells left out.
std::vector<std::pair<std::string, std::string>> PlanRowValues(const CFleetPlan& plan,
                                                               std::size_t row);

// Gives each job the plan has a row for its own clone data file in folder: file with the row's
// values (a row names its radio by number, or by port: deviceOf tells the device a port text
// names). Nothing is written to a radio here; the window's document is never touched. False
// with the place and the reason (a row for a radio or port not in the run, a value refused or
// not kept, a file that cannot be written); adjusted gets the values stored in another form.
bool PrepareFleetImages(const std::string& file, const CFleetPlan& plan,
                        std::vector<CFleetJob>& jobs, const std::string& folder,
                        const std::function<std::string(const std::string&)>& deviceOf,
                        std::vector<std::string>* adjusted, std::string* error);
// The plan's value columns as the report heads them.
std::vector<std::string> PlanColumns(const CFleetPlan& plan);
// Reads and parses a plan file; false with the reason.
bool LoadFleetPlan(const std::string& path, CFleetPlan* plan, std::string* error);
