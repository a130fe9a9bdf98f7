// What a printout holds, without a display: the sections picked in the "Print" dialog (kept in
// the settings, section "Print"), the job list they make, and each section's texts as the sheets
// and forms show them.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

class CNode;
class ISettingsStore;

// One section of a printout; the numbers are the items' codes.
enum class CPrintItem {
    MchLmr = 1,
    MchPmr,
    TwoToneRx,
    FiveToneRx,
    FiveToneTx,
    FiveToneFormat,
    FiveToneUserTone,
    KeyDisplay,
    Common1,
    Common2,
    Expert,
    Maker,
    DtmfAutodial,
    ScanSetting,
    TwoToneTxCode,
    TwoToneSetting,
    FiveToneSetting,
};
// What the boxes of the dialog stand for: groups of items.
enum class CPrintGroup { Common = 18, Dtmf, Scan, TwoTone, FiveTone, All };

// The title at the foot of every page of an item: "Memory Channel", "2Tone TX Code".
const char* PrintTitle(CPrintItem item);

// The boxes of the "Print" dialog.
struct CPrintSelection {
    bool all = true;
    bool common = false;
    bool memory = false;
    bool dtmf = false;
    bool scan = false;
    bool signalling = false; // "2Tone" on an LMR radio, "5Tone" on a PMR radio
    bool maker = false;      // "Maker Reserved", taken in maker reserve mode only
    bool landscape = false;  // the paper turned on its side
};
CPrintSelection LoadPrintSelection(ISettingsStore& settings, bool pmr);
void StorePrintSelection(ISettingsStore& settings, const CPrintSelection& selection, bool pmr);

// The items of a job in print order, always fewer than kMaxItems.
class CPrintJob {
public:
    static constexpr std::size_t kMaxItems = 100;
    // Adds an item, or a group's items; nothing (false) when the list would reach kMaxItems.
    bool Add(CPrintItem item);
    bool Add(CPrintGroup group, bool pmr);
    const std::vector<CPrintItem>& Items() const { return m_items; }

private:
    bool Append(std::span<const CPrintItem> items);
    std::vector<CPrintItem> m_items;
};
// The job of the dialog's boxes: "All" alone, or the groups checked in the dialog's order with
// "Maker Reserved" last, and that only in maker reserve mode ("All" never includes it).
std::vector<CPrintItem> BuildPrintJob(const CPrintSelection& selection, bool pmr,
                                      bool makerReserve);

// One line of a form's printout: a group's heading, or a label with its value; indent is the
// depth of groups the line stands in.
struct CPrintLine {
    std::string label;
    std::string value;
    bool heading = false;
    int indent = 0;
};

struct CPrintColumn {
    std::string header;
    int width; // in widths of the character "W"
};

// What one item prints: a table (a sheet, column 0 repeated beside every chunk of the others)
// or the label and value lines of a form.
struct CPrintSection {
    std::string title;
    std::vector<CPrintColumn> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<CPrintLine> lines;
    // The cells of a form in widths of "W"; 0: as wide as the form's texts need.
    int labelWidth = 0;
    int valueWidth = 0;
    bool IsSheet() const { return !columns.empty(); }
};

// Where the texts come from: the document's tree, the radio's variant and the rows the memory
// sheet shows.
struct CPrintSource {
    CNode* root;
    int variant;
    int memoryRows;
};
CPrintSection PrintSection(const CPrintSource& source, CPrintItem item);
std::vector<CPrintSection> PrintSections(const CPrintSource& source,
                                         const std::vector<CPrintItem>& items);
