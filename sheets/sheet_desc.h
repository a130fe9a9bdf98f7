// Static descriptions of the grid sheets: title, rows, settings section, context menu and the
// column table (header, alignment, default/minimum/maximum width in pixels, colours, print width
// in characters). The windows build their tables from them; printing reads them too.
#pragma once

#include <span>

struct CColumnDesc {
    const char* header;
    int align; // 0 left, 1 right, 2 centre
    int width;
    int minWidth;
    int maxWidth;
    int textColor; // -1: the list's own colour
    int backColor; // -1: the list's own colour
    int printWidth;
};

struct CSheetDesc {
    const char* title;
    int rows;
    int columns;
    int reserved; // 32 in every description
    const char* section;
    int contextMenu; // menu id, 0 for none
    std::span<const CColumnDesc> columnTable;
};

// Context menus of the sheets.
constexpr int kMenuMemorySheet = 131;     // the Edit menu again
constexpr int kMenuSignallingSheet = 132; // "&Edit Memory..." only

// clang-format off
inline constexpr CColumnDesc kMchLmrColumns[] = {
    // header             align width min  max  text back print
    {"CH",                0,    40,   40,  100, -1,  -1,  3},
    {"CH Atr",            0,    50,   30,  200, -1,  -1,  5},
    {"CH Inhibit",        0,    65,   30,  200, -1,  -1,  7},
    {"Rx Frequency",      0,    85,   30,  200, -1,  -1,  9},
    {"Tx Frequency",      0,    85,   30,  200, -1,  -1,  9},
    {"Tx Inhibit",        0,    65,   30,  200, -1,  -1,  7},
    {"RX C.Tone",         0,    70,   30,  200, -1,  -1,  7},
    {"TX C.Tone",         0,    70,   30,  200, -1,  -1,  7},
    {"Wide/Narrow",       0,    80,   30,  200, -1,  -1,  8},
    {"PWR Save",          0,    70,   30,  200, -1,  -1,  7},
    {"TOT",               0,    40,   30,  200, -1,  -1,  4},
    {"RF PWR",            0,    60,   30,  200, -1,  -1,  6},
    {"Lockout",           0,    55,   30,  200, -1,  -1,  6},
    {"Scan",              0,    50,   30,  200, -1,  -1,  8},
    {"Auto Reset",        0,    80,   30,  200, -1,  -1,  7},
    {"2 Tone",            0,    50,   30,  200, -1,  -1,  5},
    {"LOG IN/OFF",        0,    80,   30,  200, -1,  -1,  7},
};

inline constexpr CColumnDesc kMchPmrColumns[] = {
    // header             align width min  max  text back print
    {"CH",                0,    40,   40,  100, -1,  -1,  3},
    {"CH Atr",            0,    50,   30,  200, -1,  -1,  5},
    {"CH Inhibit",        0,    65,   30,  200, -1,  -1,  7},
    {"RX Frequency",      0,    85,   30,  200, -1,  -1,  9},
    {"Tx Frequency",      0,    85,   30,  200, -1,  -1,  9},
    {"Tx Inhibit",        0,    65,   30,  200, -1,  -1,  7},
    {"RX C.Tone",         0,    70,   30,  200, -1,  -1,  7},
    {"TX C.Tone",         0,    70,   30,  200, -1,  -1,  7},
    {"Wide/Narrow",       0,    80,   30,  200, -1,  -1,  8},
    {"PWR Save",          0,    70,   30,  200, -1,  -1,  7},
    {"TOT",               0,    40,   30,  200, -1,  -1,  4},
    {"RF PWR",            0,    60,   30,  200, -1,  -1,  6},
    {"Lockout",           0,    55,   30,  200, -1,  -1,  6},
    {"Scan",              0,    50,   30,  200, -1,  -1,  8},
    {"Moni(Sw Action)",   0,    80,   30,  200, -1,  -1,  9},
    {"Sel (Sw Action)",   0,    80,   30,  200, -1,  -1,  9},
    {"Call(Sw Action)",   0,    80,   30,  200, -1,  -1,  9},
    {"PTT(Sw Action)",    0,    80,   30,  200, -1,  -1,  9},
    {"Log IN/OFF",        0,    80,   30,  200, -1,  -1,  7},
    {"Auto Reset",        0,    80,   30,  200, -1,  -1,  7},
    {"CH Mute",           0,    70,   30,  200, -1,  -1,  6},
    {"Form",              0,    50,   30,  200, -1,  -1,  5},
    {"RPT",               0,    45,   30,  200, -1,  -1,  4},
    {"STN",               0,    45,   30,  200, -1,  -1,  4},
    {"ID",                0,    40,   30,  200, -1,  -1,  4},
    {"ID Pos",            0,    55,   30,  200, -1,  -1,  5},
    {"RX C-No(List No.)", 0,    80,   30,  200, -1,  -1,  10},
};

inline constexpr CSheetDesc kMchLmrSheet = {
    "Memory Channel", 36, 17, 32, "Column_MchLMRSheet", kMenuMemorySheet, kMchLmrColumns};
inline constexpr CSheetDesc kMchPmrSheet = {
    "Memory Channel", 36, 27, 32, "Column_MchPMRSheet", kMenuMemorySheet, kMchPmrColumns};
// clang-format on

static_assert(kMchLmrSheet.columnTable.size() == kMchLmrSheet.columns);
static_assert(kMchPmrSheet.columnTable.size() == kMchPmrSheet.columns);
