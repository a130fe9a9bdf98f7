// The page arithmetic of a printout, in device units: how many rows fit below the column
// headers, which columns share a page beside column 0, and how wide a form's cells may be. A page
// always takes at least one row and one column, whatever the page and font sizes.
#pragma once

#include <span>
#include <utility>
#include <vector>

// Rows of lineHeight that fit into height below a header of headerHeight; at least 1.
int RowsPerPage(int height, int headerHeight, int lineHeight);

// Columns first..last printed on one page beside column 0; last < first: column 0 alone.
struct CColumnChunk {
    int first;
    int last;
    bool operator==(const CColumnChunk&) const = default;
};
// The chunks of columns 1, 2, ... that fit across width beside column 0 (widths[i] is column
// i's width), each taking at least one column.
std::vector<CColumnChunk> ColumnChunks(std::span<const int> widths, int width);

// One page of a section: rowCount rows (or form lines) from firstRow, and a chunk of columns.
struct CPageSlice {
    int firstRow;
    int rowCount;
    CColumnChunk columns;
    bool operator==(const CPageSlice&) const = default;
};
// Every block of rows with every chunk of columns, the chunks of a block one after the other;
// a section without rows still takes one page per chunk (its headers).
std::vector<CPageSlice> PlanPages(int rows, int rowsPerPage,
                                  const std::vector<CColumnChunk>& chunks);

// The pages of a form's lines, rowsPerPage a page, where heading[i] tells whether line i is a
// group's heading: a page never ends with headings whose lines follow on the next page (they
// move there with them), unless the page holds nothing else.
std::vector<CPageSlice> PlanFormPages(const std::vector<bool>& heading, int rowsPerPage);

// A form's label and value cells (in widths of "W") on a page width wide (also in "W"): as
// asked when both fit, else both narrowed in proportion, each at least 1; where the texts need
// labelNeed and valueNeed and both fit across the page, neither is narrowed below its need.
std::pair<int, int> FitFormCells(int label, int value, int width, int labelNeed = 1,
                                 int valueNeed = 1);
