// The column widths of the sheet descriptions are pixels for an 8-point font. On screen each
// default, minimum and maximum width grows (or shrinks) with the sheet's font: times the ratio of
// its average character width to that of the same family at 8 points. Widths the user dragged
// are kept as they are.
#pragma once

class QFont;
struct CColumnDesc;

double ColumnWidthScale(const QFont& font);

struct CColumnWidths {
    int width;
    int minWidth;
    int maxWidth;
    // A width within the column's least and greatest.
    int Clamp(int width) const;
};
CColumnWidths ScaledColumnWidths(const CColumnDesc& column, double scale);
