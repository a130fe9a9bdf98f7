#include "sheets/print_layout.h"

#include <algorithm>

int RowsPerPage(int height, int headerHeight, int lineHeight) {
    if (lineHeight <= 0) return 1;
    return std::max(1, (height - headerHeight) / lineHeight);
}

std::vector<CColumnChunk> ColumnChunks(std::span<const int> widths, int width) {
    const int count = static_cast<int>(widths.size());
    if (count <= 1) return {{1, 0}};
    const long long room = static_cast<long long>(width) - widths[0];
    std::vector<CColumnChunk> chunks;
    for (int column = 1; column < count;) {
        const int first = column;
        long long used = widths[column++];
        while (column < count && used + widths[column] <= room)
            used += widths[column++];
        chunks.push_back({first, column - 1});
    }
    return chunks;
}

std::vector<CPageSlice> PlanPages(int rows, int rowsPerPage,
                                  const std::vector<CColumnChunk>& chunks) {
    const std::vector<CColumnChunk> columns =
        chunks.empty() ? std::vector<CColumnChunk>{{1, 0}} : chunks;
    const int perPage = std::max(1, rowsPerPage);
    std::vector<CPageSlice> pages;
    int first = 0;
    do {
        const int count = std::clamp(rows - first, 0, perPage);
        for (const CColumnChunk& chunk : columns)
            pages.push_back({first, count, chunk});
        first += perPage;
    } while (first < rows);
    return pages;
}

std::pair<int, int> FitFormCells(int label, int value, int width) {
    label = std::max(1, label);
    value = std::max(1, value);
    if (static_cast<long long>(label) + value <= width) return {label, value};
    if (width <= 2) return {1, 1};
    const int fitLabel = std::max(1, static_cast<int>(static_cast<long long>(label) * width /
                                                      (static_cast<long long>(label) + value)));
    return {fitLabel, std::clamp(width - fitLabel, 1, value)};
}
