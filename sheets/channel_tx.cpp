#include "sheets/channel_tx.h"

#include "clone/model_info.h"
#include "params/node_access.h"
#include "sheets/channel_ops.h"

#include <algorithm>

bool GiveTxOfRx(CNode* root, int n) {
    CNode* ch = ChannelNode(root, n);
    if (!ch || !IsChannelOn(root, n) || GetValueByName(ch, "FreqTx") != 0) return false;
    const int rx = GetValueByName(ch, "FreqRx");
    if (rx == 0) return false;
    SetValueByName(ch, "FreqTx", rx);
    return true;
}

std::vector<int> ChannelsWithoutTx(CNode* root, int variant) {
    std::vector<int> list;
    for (int n = 1; n <= ChannelsOfVariant(variant); ++n) {
        CNode* ch = ChannelNode(root, n);
        if (ch && IsChannelOn(root, n) && GetValueByName(ch, "InhTx") == 0 &&
            GetValueByName(ch, "FreqTx") == 0)
            list.push_back(n);
    }
    return list;
}

std::string ChannelsWithoutTxText(const std::vector<int>& channels) {
    std::string list;
    for (int n : channels)
        list += (list.empty() ? "" : ", ") + std::to_string(n);
    return "CH " + list + (channels.size() == 1 ? " transmits" : " transmit") +
           " on 0 MHz (on, not TX-inhibited, no TX frequency)";
}

std::vector<int> GiveTxOfRxWhereSet(CNode* root, const std::vector<std::string>& paths) {
    std::vector<int> named, given;
    for (const std::string& path : paths) {
        int n = 0;
        std::string_view field;
        if (!SplitChannelPath(path, &n, &field) || field.empty()) continue;
        if (field == "FreqTx")
            given.push_back(n);
        else if (std::find(named.begin(), named.end(), n) == named.end())
            named.push_back(n);
    }
    std::vector<int> filled;
    for (int n : named)
        if (n > 0 && std::find(given.begin(), given.end(), n) == given.end() && GiveTxOfRx(root, n))
            filled.push_back(n);
    return filled;
}
