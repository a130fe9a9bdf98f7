#include "views/tree_items.h"

using namespace treecode;

std::string ModelCaption(int variant, bool manufacture) {
    std::string caption = variant % 2 ? "PMR" : "LMR";
    if (manufacture) caption += " (BRS/GMRS)";
    return caption;
}

std::vector<CTreeItemDef> TreeItemsFor(int variant, bool makerReserve, bool manufacture) {
    const bool pmr = variant % 2 != 0;
    std::vector<CTreeItemDef> items = {{kRoot, ModelCaption(variant, manufacture), kImgRoot, 0}};
    if (makerReserve) items.push_back({kMakerReserved, "Maker Reserved", kImgDialog, kRoot});
    items.insert(items.end(),
                 {
                     {kCommonGroup, "Common Setting", kImgGroupClosed, kRoot},
                     {kKeyDisplay, "Key&Display", kImgDialog, kCommonGroup},
                     {kCommon1, "Common 1", kImgDialog, kCommonGroup},
                     {kCommon2, "Common 2", kImgDialog, kCommonGroup},
                     {kExpert, "Expert", kImgDialog, kCommonGroup},
                     {pmr ? kMemoryPmr : kMemoryLmr, "Memory Channel", kImgSheet, kRoot},
                     {kDtmfAutodial, "DTMF Autodial", kImgDialog, kRoot},
                     {kScanSetting, "Scan Setting", kImgDialog, kRoot},
                 });
    if (!pmr) {
        items.insert(items.end(), {
                                      {kTwoToneGroup, "2Tone", kImgGroupClosed, kRoot},
                                      {kTwoToneRx, "RX Code Channel", kImgSheet, kTwoToneGroup},
                                      {kTwoToneTxCode, "TX Code", kImgDialog, kTwoToneGroup},
                                      {kTwoToneSetting, "2Tone Setting", kImgDialog, kTwoToneGroup},
                                  });
    } else {
        items.insert(items.end(),
                     {
                         {kFiveToneGroup, "5Tone", kImgGroupClosed, kRoot},
                         {kFiveToneRx, "RX Code Channel", kImgSheet, kFiveToneGroup},
                         {kFiveToneTx, "TX Code Channel", kImgSheet, kFiveToneGroup},
                         {kFiveToneFormat, "Format", kImgSheet, kFiveToneGroup},
                         {kFiveToneUserTone, "User Tone", kImgSheet, kFiveToneGroup},
                         {kFiveToneSetting, "5Tone Setting", kImgDialog, kFiveToneGroup},
                     });
    }
    return items;
}

bool TreeItemMatches(int itemCode, int remembered) {
    switch (itemCode) {
    case kMemoryLmr:
    case kMemoryPmr:
        return remembered == kMemoryLmr || remembered == kMemoryPmr;
    case kTwoToneGroup:
        // A selection inside the other family lands on this group after a variant switch.
        return (remembered >= kFiveToneRx && remembered <= kFiveToneUserTone) ||
               remembered == kFiveToneSetting || remembered == kTwoToneGroup ||
               remembered == kFiveToneGroup;
    case kFiveToneGroup:
        return remembered == kTwoToneRx || remembered == kTwoToneTxCode ||
               remembered == kTwoToneSetting || remembered == kTwoToneGroup ||
               remembered == kFiveToneGroup;
    default:
        return itemCode == remembered;
    }
}

int SheetAfterItem(int itemCode, int shown) {
    switch (itemCode) {
    case kMemoryLmr:
    case kMemoryPmr:
        return (shown == 1 || shown == 2) ? itemCode : -1;
    case kTwoToneGroup:
        return (shown >= 3 && shown <= 7) ? 3 : -1;
    case kFiveToneGroup:
        if (shown == 3) return 4;
        return (shown >= 4 && shown <= 7) ? shown : -1;
    default:
        return -1;
    }
}

TreeAction ActionOf(int code) {
    if (code >= kMemoryLmr && code <= kFiveToneUserTone) return TreeAction::ShowSheet;
    if (code >= kCommonGroup) return TreeAction::Expand;
    return TreeAction::OpenDialog;
}
