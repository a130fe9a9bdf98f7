#include "views/column_widths.h"

#include "sheets/sheet_desc.h"

#include <QFont>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kDescriptionPoints = 8.0;
}

double ColumnWidthScale(const QFont& font) {
    QFont small(font);
    small.setPointSizeF(kDescriptionPoints);
    const double base = QFontMetricsF(small).averageCharWidth();
    const double here = QFontMetricsF(font).averageCharWidth();
    if (!(base > 0) || !(here > 0)) return 1.0;
    return std::clamp(here / base, 0.5, 8.0);
}

int CColumnWidths::Clamp(int w) const { return std::clamp(w, minWidth, maxWidth); }

CColumnWidths ScaledColumnWidths(const CColumnDesc& column, double scale) {
    const auto scaled = [scale](int w) { return static_cast<int>(std::lround(w * scale)); };
    const int least = std::max(1, scaled(column.minWidth));
    const int most = std::max(least, scaled(column.maxWidth));
    return {std::clamp(scaled(column.width), least, most), least, most};
}
