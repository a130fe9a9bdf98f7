// Comma-separated text as spreadsheets exchange it: fields quoted with double quotes where they
// hold a comma, a quote or a line break, a quote inside doubled, lines ending in CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One record and the line of the text it starts on (1 for the first).
struct CCsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

struct CCsvTable {
    std::vector<CCsvRecord> records;
    std::string error; // why the text is no table; empty when it is one
};

// Reads a whole text. A UTF-8 byte-order mark is dropped; lines may end in CR LF, LF or CR;
// empty lines are no records. A quoted field may hold line breaks. A quote inside an unquoted
// field, or text after a closing quote, is taken as it stands; a quoted field still open at the
// end of the text makes the text no table.
CCsvTable ParseCsv(std::string_view text);

// A field as written: quoted when it holds a comma, a quote, a line break or blanks at either
// end.
std::string CsvField(std::string_view field);
// A record as one line ending in CR LF.
std::string CsvLine(const std::vector<std::string>& fields);
