// The memory channels as the comma-separated channel list radio programmers exchange: one row per
// channel in use, columns named by the header line. Export writes the whole layout; import reads
// the columns it knows by name, in any order, sets the channels the rows name and reports every
// row it skipped or changed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CNode;

// The header line's columns, in the order export writes them.
extern const char* const kChannelCsvColumns[21];

// The nominal output of the power levels Low1, Low2 and High in watts: the Power column carries
// watts, as other programs read it. Taken from the settings group "CSV" (LmrLow1Watts,
// LmrLow2Watts, LmrHighWatts and the same with Pmr), C-locale numbers rising from Low1 to High;
// a family whose three do not make such a row keeps the defaults (LMR 1, 2 and 5 W, PMR 0.1,
// 0.2 and 0.5 W).
struct CCsvWatts {
    double level[3];
};
CCsvWatts CsvPowerWatts(bool pmr);
// "5W", "0.5W", "0.25W"
std::string CsvWattsText(double watts);

// The channels in use among the variant's, in channel order, as CSV text (CR LF lines, the
// header first). count, when given, receives the number of channel rows.
std::string ExportChannelCsv(CNode* root, int variant, int* count = nullptr);

// What import did with one row (numbered as a spreadsheet shows it: the header is row 1).
struct CCsvNote {
    int row = 0;
    std::string column; // the column the note is about; empty when it is about the whole row
    std::string text;   // what was found and what was done
    bool skipped = false;
    int rows = 1; // the rows the note stands for (from row on)
};

// Which rows an import takes, and into which channels.
struct CCsvImportOptions {
    bool renumber = false;     // the rows taken, in file order, into channels 1, 2, 3 ...
    int first = -1, last = -1; // when first >= 0, only rows whose Location is first to last
};

struct CCsvImport {
    static constexpr std::size_t kMaxNotes = 500;
    std::string error;         // the text is no channel list: nothing was changed
    std::vector<int> channels; // the channels set, in row order
    int skippedRows = 0;
    int adjustedRows = 0;         // rows imported with a value changed on the way
    std::vector<CCsvNote> notes;  // the first kMaxNotes notes
    std::size_t notesLeftOut = 0; // notes beyond those
    bool namesLeftAside = false;  // rows had names or comments, which the radio does not store
    int outsideRows = 0;          // rows whose Location is outside the locations asked for
    bool Clean() const { return error.empty() && skippedRows == 0 && adjustedRows == 0; }
};

// Sets the channels of a radio of the variant from CSV text, on the tree (the caller runs it as
// one document edit). Lines whose first field starts with "#" are comments, wherever they
// stand. Rows are matched to channels 1 to the variant's count by "Location" (or by their
// order, see the options); rows for channels the variant does not use are skipped. A
// channel that was off starts from the blank channel "Mch.CH0"; what the columns do not carry
// keeps the channel's present value. A row with fewer fields than the header (cut short) or with
// a value the radio cannot take is skipped whole; a value the radio keeps in another form (a
// frequency snapped to the raster, a tone rounded to tenths of Hz, an Offset whose sign the
// Duplex overrules) is adjusted. Both are noted.
CCsvImport ImportChannelCsv(CNode* root, int variant, std::string_view text,
                            const CCsvImportOptions& options = {});
// "--locations 1-16": true and first, last for "A-B" with 0 <= A <= B.
bool ParseCsvLocations(std::string_view text, int* first, int* last);
// The once-only remark of an import whose rows had names or comments.
extern const char* const kCsvNamesNote;

// "row 5, Frequency: 446.001000 MHz fits no channel raster; row skipped"
std::string CsvNoteText(const CCsvNote& note);
// "8 channels imported (CH 1 to 8), 1 row skipped, 1 row adjusted"
std::string CsvImportSummary(const CCsvImport& import);
