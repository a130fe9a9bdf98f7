// Which settings a byte of the image holds: each bit of the byte (and each nibble, and the whole
// byte) is flipped in a scratch image and the values that change are the byte's. The scratch
// image is the variant's factory image with every channel switched on at a valid frequency with
// digital squelch codes (every bit of a code counts) and an emergency channel set, so that each
// byte counts however the radio's own settings stand.
#include "clone/z30_default_data_manager.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "radiomap/radio_data_manager.h"

#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t kFlips[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20,
                                   0x40, 0x80, 0x0F, 0xF0, 0xFF};

struct CLeaf {
    CNode* node;
    std::string path;
    bool text; // a string node: compared by its text
};

void CollectLeaves(CNode* node, const std::string& path, std::vector<CLeaf>& leaves) {
    for (CNode* child : node->Children()) {
        if (!child) continue;
        const std::string p = path.empty() ? child->GetName() : path + "." + child->GetName();
        if (child->ChildCount() == 0)
            leaves.push_back({child, p, dynamic_cast<CStringNode*>(child) != nullptr});
        else
            CollectLeaves(child, p, leaves);
    }
}

// The state of each leaf: a string node's text, any other node's value.
std::vector<std::string> Take(const std::vector<CLeaf>& leaves) {
    std::vector<std::string> s;
    s.reserve(leaves.size());
    for (const CLeaf& leaf : leaves)
        s.push_back(leaf.text ? leaf.node->GetText() : std::to_string(leaf.node->GetValue()));
    return s;
}

// Paths found so far, per variant and address.
std::map<int, std::map<std::uint32_t, std::vector<std::string>>>& Known() {
    static std::map<int, std::map<std::uint32_t, std::vector<std::string>>> known;
    return known;
}

} // namespace

void radiomap::SwitchEveryChannelOn(CNode* root) {
    constexpr int kChannels = 36;
    constexpr int kLiveFrequencyHz = 446100000;
    constexpr int kLiveToneCode = 2023; // DCS 023
    for (int ch = 1; ch <= kChannels; ++ch) {
        CNode* channel = GetNode(root, "Mch.CH" + std::to_string(ch));
        SetValueByName(channel, "ChOn", 1);
        SetValueByName(channel, "FreqRx", kLiveFrequencyHz);
        SetValueByName(channel, "FreqTx", kLiveFrequencyHz);
        SetValueByName(channel, "CTonRx", kLiveToneCode);
        SetValueByName(channel, "CTonTx", kLiveToneCode);
    }
}

std::vector<std::vector<std::string>>
CZ30RadioDataManager::NodePathsAt(const std::vector<std::uint32_t>& addresses) {
    const int variant = Variant();
    auto& known = Known()[variant];
    std::vector<std::uint32_t> missing;
    for (std::uint32_t a : addresses)
        if (!known.count(a)) missing.push_back(a);

    if (!missing.empty()) {
        auto scratch = Scratch(GetOwner(), variant);
        CNode* root = scratch->GetRoot();
        CByteImage live;
        live.CopyFrom(CZ30DefaultDataManager::FactoryImage(variant));
        scratch->ImageToTree(root, live);
        radiomap::SwitchEveryChannelOn(root);
        SetValueByName(GetNode(root, "Mch"), "Emr", 1);
        scratch->TreeToImage(root, live);
        scratch->ImageToTree(root, live);
        std::vector<CLeaf> leaves;
        CollectLeaves(root, {}, leaves);
        const std::vector<std::string> base = Take(leaves);

        std::map<std::uint32_t, std::vector<bool>> changed;
        for (std::uint32_t a : missing) {
            std::vector<bool>& hit = changed[a];
            hit.assign(leaves.size(), false);
            for (std::uint8_t flip : kFlips) {
                if (!live.InRange(a)) break;
                CByteImage flipped;
                flipped.CopyFrom(live);
                flipped.WriteByte(a, static_cast<std::uint8_t>(live.ReadByte(a) ^ flip));
                scratch->ImageToTree(root, flipped);
                const std::vector<std::string> s = Take(leaves);
                for (std::size_t i = 0; i < leaves.size(); ++i)
                    if (s[i] != base[i]) hit[i] = true;
            }
        }
        // The keep rules read the tree as the scratch image has it.
        scratch->ImageToTree(root, live);
        for (const auto& [a, hit] : changed) {
            std::vector<std::string>& paths = known[a];
            for (std::size_t i = 0; i < leaves.size(); ++i) {
                if (!hit[i]) continue;
                const CSetReason why = scratch->Keeps(leaves[i].path).reason;
                if (why == CSetReason::OtherFamily || why == CSetReason::NotStored ||
                    why == CSetReason::DefaultChannel)
                    continue;
                paths.push_back(leaves[i].path);
            }
        }
    }

    std::vector<std::vector<std::string>> result;
    result.reserve(addresses.size());
    for (std::uint32_t a : addresses)
        result.push_back(known[a]);
    return result;
}
