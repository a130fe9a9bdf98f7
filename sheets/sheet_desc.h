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

// clang-format off
inline constexpr CColumnDesc k2ToneRxColumns[] = {
    // header             align width min  max  text back print
    {"CH",                0,    40,   40,  100, -1,  -1,  3},
    {"1st",               0,    55,   30,  200, -1,  -1,  6},
    {"2nd",               0,    55,   30,  200, -1,  -1,  6},
    {"Group Call",        0,    70,   30,  200, -1,  -1,  10},
    {"LED",               0,    45,   30,  200, -1,  -1,  4},
    {"ANS",               0,    45,   30,  200, -1,  -1,  3},
    {"Beep",              0,    80,   30,  200, -1,  -1,  12},
    {"Stun",              0,    45,   30,  200, -1,  -1,  4},
    {"Scan",              0,    50,   30,  200, -1,  -1,  4},
};

inline constexpr CColumnDesc k5ToneRxColumns[] = {
    // header             align width min  max  text back print
    {"CH",                0,    40,   40,  100, -1,  -1,  3},
    {"RX Code",           0,    80,   30,  200, -1,  -1,  7},
    {"ID-Dec",            0,    95,   30,  200, -1,  -1,  9},
    {"LED",               0,    50,   30,  200, -1,  -1,  4},
    {"Emer Cancel",       0,    80,   30,  200, -1,  -1,  8},
    {"ABC",               0,    40,   30,  200, -1,  -1,  4},
    {"Beep",              0,    80,   30,  200, -1,  -1,  7},
    {"Aud Mode",          0,    70,   30,  200, -1,  -1,  6},
    {"Stun",              0,    50,   30,  200, -1,  -1,  4},
    {"Scan",              0,    50,   30,  200, -1,  -1,  4},
};

inline constexpr CColumnDesc k5ToneTxColumns[] = {
    // header             align width min  max  text back print
    {"CH",                0,    40,   40,  100, -1,  -1,  3},
    {"TX Code",           0,    65,   30,  200, -1,  -1,  7},
    {"ABC-Dec",           0,    70,   30,  200, -1,  -1,  6},
    {"ABC-Aud",           0,    70,   30,  200, -1,  -1,  6},
};

inline constexpr CColumnDesc k5ToneFormatColumns[] = {
    // header             align width min  max  text back print
    {"Format",            0,    55,   40,  100, -1,  -1,  6},
    {"Tone Period",       0,    85,   30,  200, -1,  -1,  11},
    {"Notone Timer",      0,    85,   30,  200, -1,  -1,  12},
    {"Tone Length",       0,    85,   30,  200, -1,  -1,  11},
};

inline constexpr CColumnDesc k5ToneUserToneColumns[] = {
    // header             align width min  max  text back print
    {"No.",               0,    40,   40,  100, -1,  -1,  3},
    {"Encode",            0,    55,   30,  200, -1,  -1,  6},
    {"Decode Low",        0,    80,   30,  200, -1,  -1,  10},
    {"Decode High",       0,    80,   30,  200, -1,  -1,  11},
};

inline constexpr CSheetDesc k2ToneRxSheet = {
    "2Tone Code CH", 4, 9, 32, "Column_2ToneRxSheet", kMenuSignallingSheet, k2ToneRxColumns};
inline constexpr CSheetDesc k5ToneRxSheet = {
    "5Tone Rx Code CH", 4, 10, 32, "Column_5ToneRxSheet", kMenuSignallingSheet, k5ToneRxColumns};
inline constexpr CSheetDesc k5ToneTxSheet = {
    "5Tone Tx Code CH", 32, 4, 32, "Column_5ToneTxSheet", kMenuSignallingSheet, k5ToneTxColumns};
inline constexpr CSheetDesc k5ToneFormatSheet = {
    "5Tone Format", 10, 4, 32, "Column_5ToneFormatSheet", kMenuSignallingSheet,
    k5ToneFormatColumns};
inline constexpr CSheetDesc k5ToneUserToneSheet = {
    "5Tone User Tone", 15, 4, 32, "Column_5ToneUserToneSheet", kMenuSignallingSheet,
    k5ToneUserToneColumns};
// clang-format on

static_assert(kMchLmrSheet.columnTable.size() == kMchLmrSheet.columns);
static_assert(kMchPmrSheet.columnTable.size() == kMchPmrSheet.columns);
static_assert(k2ToneRxSheet.columnTable.size() == k2ToneRxSheet.columns);
static_assert(k5ToneRxSheet.columnTable.size() == k5ToneRxSheet.columns);
static_assert(k5ToneTxSheet.columnTable.size() == k5ToneTxSheet.columns);
static_assert(k5ToneFormatSheet.columnTable.size() == k5ToneFormatSheet.columns);
static_assert(k5ToneUserToneSheet.columnTable.size() == k5ToneUserToneSheet.columns);
