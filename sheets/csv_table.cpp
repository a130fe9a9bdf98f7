#include "sheets/csv_table.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

} // namespace

CCsvTable ParseCsv(std::string_view text) {
    CCsvTable table;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    int line = 1;
    std::size_t i = 0;
    // Passes a line end at i (CR LF counts once).
    auto endLine = [&] {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        ++i;
        ++line;
    };
    while (i < text.size()) {
        if (IsLineEnd(text[i])) { // an empty line
            endLine();
            continue;
        }
        CCsvRecord record;
        record.line = line;
        std::string field;
        bool recordDone = false;
        while (!recordDone) {
            if (i < text.size() && text[i] == '"') {
                const int opened = line;
                ++i;
                bool closed = false;
                while (i < text.size()) {
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == '\n' || (c == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n')))
                        ++line;
                    field += c;
                    ++i;
                }
                if (!closed) {
                    table.error = "line " + std::to_string(opened) +
                                  ": a quoted field is not closed before the end of the file";
                    table.records.clear();
                    return table;
                }
            }
            // Unquoted text, or what follows a closing quote, up to the next comma or line end.
            while (i < text.size() && text[i] != ',' && !IsLineEnd(text[i]))
                field += text[i++];
            record.fields.push_back(std::move(field));
            field.clear();
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (i < text.size()) endLine();
            recordDone = true;
        }
        table.records.push_back(std::move(record));
    }
    return table;
}

std::string CsvField(std::string_view field) {
    const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) return std::string(field);
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\r\n";
}
