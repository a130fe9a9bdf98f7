// Common settings and the maker area: "CommonSet" (Common1, Common2, Expert, KeyDisp) and
// "MakerR".
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/map_fields.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

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
