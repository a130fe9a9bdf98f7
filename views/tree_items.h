// The items of the navigation tree for one variant and the rules that keep the selection and the
// shown sheet consistent when the tree is rebuilt.
#pragma once

#include <string>
#include <vector>

// Item codes: 1 to 7 show a sheet, 30 to 58 open a dialog, 256 and up are the root and groups.
namespace treecode {
constexpr int kMemoryLmr = 1;
constexpr int kMemoryPmr = 2;
constexpr int kTwoToneRx = 3;
constexpr int kFiveToneRx = 4;
constexpr int kFiveToneTx = 5;
constexpr int kFiveToneFormat = 6;
constexpr int kFiveToneUserTone = 7;
constexpr int kKeyDisplay = 30;
constexpr int kCommon1 = 31;
constexpr int kCommon2 = 32;
constexpr int kExpert = 33;
constexpr int kMakerReserved = 34;
constexpr int kDtmfAutodial = 54;
constexpr int kScanSetting = 55;
constexpr int kTwoToneTxCode = 56;
constexpr int kTwoToneSetting = 57;
constexpr int kFiveToneSetting = 58;
constexpr int kCommonGroup = 256;
constexpr int kTwoToneGroup = 260;
constexpr int kFiveToneGroup = 261;
constexpr int kRoot = 304;
} // namespace treecode

// Images of the tree's image list, in list order.
enum TreeImage {
    kImgGroupClosed = 0,
    kImgGroupOpen = 1,
    kImgDialog = 2,
    kImgRoot = 3,
    kImgSheet = 4
};

struct CTreeItemDef {
    int code;
    std::string text;
    int image;
    int parent; // code of the parent item; 0 for the root
};

// "LMR" or "PMR", with " (BRS/GMRS)" while manufacture is on.
std::string ModelCaption(int variant, bool manufacture);
// The items in display order (children after their parent).
std::vector<CTreeItemDef> TreeItemsFor(int variant, bool makerReserve, bool manufacture);
// Whether an item takes the selection remembered as code remembered.
bool TreeItemMatches(int itemCode, int remembered);
// The sheet to show after passing item itemCode while sheet shown is up; -1 for no change.
int SheetAfterItem(int itemCode, int shown);
// What activating an item does.
enum class TreeAction { Expand, ShowSheet, OpenDialog };
TreeAction ActionOf(int code);
// The memory sheet of a variant (1 LMR, 2 PMR).
inline int MemorySheetOf(int variant) { return variant % 2 ? 2 : 1; }
