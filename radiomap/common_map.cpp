// Common settings and the maker area: "CommonSet" (Common1, Common2, Expert, KeyDisp) and
// "MakerR".
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/map_fields.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <cstring>

using namespace radiomap;

// The codes of kKeyFunctions; "Call A" and "Call B" (25, 26) only on PMR radios. Code 49 names no
// function but is kept as it is.
int radiomap::AllowedKeyCode(int code, bool pmr) {
    if (code == 49) return code;
    if ((code == 25 || code == 26) && !pmr) return 0;
    for (const CChoiceText& c : kKeyFunctions)
        if (c.code == code) return code;
    return 0;
}

// ---- tree ----

void CZ30RadioDataManager::BuildCommonSet(CNode* root) {
    CNode* common = New<CNode>(root, "CommonSet");
    // Each page is named last in its section's path ("CommonSet.Common1").
    for (const CFieldSection* s :
         {&kCommon1Section, &kCommon2Section, &kExpertSection, &kKeyDispSection})
        BuildFields(*this, New<CNode>(common, std::strchr(s->node, '.') + 1), *s);
}

void CZ30RadioDataManager::BuildMakerR(CNode* root) {
    BuildFields(*this, New<CNode>(root, "MakerR"), kMakerSection);
}
