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

std::vector<CPageSlice> PlanFormPages(const std::vector<bool>& heading, int rowsPerPage) {
    const int lines = static_cast<int>(heading.size());
    const int perPage = std::max(1, rowsPerPage);
    std::vector<CPageSlice> pages;
    int first = 0;
    do {
        int count = std::min(perPage, lines - first);
        if (first + count < lines) {
            int keep = count;
            while (keep > 0 && heading[first + keep - 1])
                --keep;
            if (keep > 0) count = keep;
        }
        pages.push_back({first, count, {1, 0}});
        first += count;
    } while (first < lines);
    return pages;
}

std::pair<int, int> FitFormCells(int label, int value, int width, int labelNeed, int valueNeed) {
    label = std::max(1, label);
    value = std::max(1, value);
    if (static_cast<long long>(label) + value <= width) return {label, value};
    if (width <= 2) return {1, 1};
    int fitLabel = std::max(1, static_cast<int>(static_cast<long long>(label) * width /
                                                (static_cast<long long>(label) + value)));
    int fitValue = std::clamp(width - fitLabel, 1, value);
    const int needLabel = std::min(label, std::max(1, labelNeed));
    const int needValue = std::min(value, std::max(1, valueNeed));
    if ((fitLabel < needLabel || fitValue < needValue) &&
        static_cast<long long>(needLabel) + needValue <= width) {
        fitValue = std::max(fitValue, needValue);
        fitLabel = std::max(needLabel, width - fitValue);
        fitValue = std::min(value, width - fitLabel);
    }
    return {fitLabel, fitValue};
}
