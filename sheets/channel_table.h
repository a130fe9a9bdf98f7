// The memory sheets' cells as values a user sets: a cell typed in place, rows pasted as the
// table text a spreadsheet holds (tab-separated under the sheet's column titles, or the CSV
// channel list with CHIRP's column names), a value filled down a column, a frequency series.
// Every value goes through the row editor's rules; the callers run each as one document edit.
#pragma once

#include "sheets/channel_entry.h"
#include "sheets/sheet_desc.h"

#include <string>
#include <string_view>
#include <vector>

class CNode;

// What a memory sheet's column holds for a user to set.
enum class CCellKind {
    None,      // the channel number and the attribute letters
    Frequency, // "FreqRx", "FreqTx" (a line edit)
    Tone,      // "CTonRx", "CTonTx" (a tone entry box)
    Choice,    // one of the texts the column shows (a drop-down list)
};
CCellKind MchCellKind(bool pmr, int column);
// The value of a cell as a user gives it: the texts the sheet shows, with "<-----" (same as
// RX) the transmit frequency or tone itself. Empty for a channel that is off.
std::string MchCellValue(CNode* root, bool pmr, int n, int column);
// The texts a choice or tone cell of channel n offers, in list order.
std::vector<std::string> MchCellChoices(CNode* root, bool pmr, int n, int column);

// What cells given to one channel did.
struct CCellsOutcome {
    std::vector<CFieldResult> results; // what each setter made of its value
    // The frequencies the channel refuses; nothing of the row was stored.
    std::vector<CFieldResult> refused;
    std::string note; // why nothing was stored, when nothing was ("CH 5 is off ...")
};
// Sets the cells (column, text) of channel n by the row editor's rules: "<-----" in the TX
// columns follows RX; an empty RX Frequency turns the channel off (it gets the blank data);
// columns not given keep the channel's values. A channel that is off takes only a row that
// gives it an RX Frequency.
CCellsOutcome ApplyMchCells(CNode* root, bool pmr, int n,
                            const std::vector<std::pair<int, std::string>>& cells);

// A table as text: a header line of the column titles, one line per row, cells separated by
// tabs, lines ending in LF. Tabs and line breaks inside a cell become blanks.
std::string TableText(const CSheetDesc& desc, const std::vector<std::vector<std::string>>& rows);

// A tab-separated text cut into lines and cells; a cell in double quotes may hold tabs, line
// breaks and doubled quotes (as spreadsheets write them). Blank lines are left out.
std::vector<std::vector<std::string>> SplitTabText(std::string_view text);

// What a paste, a fill or a series did.
struct CTableEdit {
    std::string error;                                // nothing was changed, and why
    std::vector<int> channels;                        // the channels given a row, in order
    int dropped = 0;                                  // rows past the last channel
    std::vector<std::pair<int, CFieldResult>> values; // channel, what a setter made of a value
    std::vector<std::string> notes;                   // "CH 5, TX C.Tone: ...", in order
};

// Pastes table text into the memory sheet of a radio of the variant, whose rows rows show
// channels 1..rows, at the channels selected (ascending): rows go to channels as PasteTargets
// says. The text is tab-separated with the sheet's column titles (columns matched by title in
// any letter case, either family's; unknown columns noted and left aside), or a CSV channel
// list (CHIRP's column names), which goes through the CSV import row by row.
CTableEdit PasteMchTable(CNode* root, bool pmr, int variant, int rows,
                         const std::vector<int>& selected, std::string_view text);

// The rows such a text gives (0 for text that is no table), for naming the paste.
std::size_t MchTableRowCount(bool pmr, std::string_view text);

// The value of the column on the first channel given into each of the others.
CTableEdit FillMchDown(CNode* root, bool pmr, const std::vector<int>& channels, int column);
// The frequency column (RX or TX) of the k-th channel given set to the first one's plus k
// steps of stepKhz; both frequencies where the first channel's TX equals its RX.
CTableEdit FillMchSeries(CNode* root, bool pmr, const std::vector<int>& channels, int column,
                         double stepKhz);
// The step a series takes by default: the coarsest channel raster (12.5, 7.5, 6.25, 5, 3.125
// or 2.5 kHz) that the channel's RX frequency lies on, in kHz.
double DefaultSeriesStepKhz(CNode* root, int n);
