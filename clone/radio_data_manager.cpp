#include "clone/radio_data_manager.h"

#include "clone/clone_manager.h"
#include "clone/default_data_manager.h"
#include "clone/model_manager.h"
#include "params/value_nodes.h"

#include <map>
#include <typeindex>
#include <utility>

KT_IMPLEMENT_DYNCREATE(CRadioDataManager, CCloneManagerObject)

void CRadioDataManager::MakeScratch(CCloneManagerTemplate* hub, int variant) {
    SetOwner(hub);
    m_scratchVariant = variant;
    BuildTree();
}

void CRadioDataManager::TakeVariant(int variant) {
    if (m_scratchVariant >= 0)
        m_scratchVariant = variant;
    else if (CCloneManagerTemplate* hub = GetOwner())
        if (CModelManager* model = hub->GetModelManager()) model->SetVariant(variant, false);
}

int CRadioDataManager::Variant() const {
    if (m_scratchVariant >= 0) return m_scratchVariant;
    CCloneManagerTemplate* hub = GetOwner();
    return hub ? hub->GetVariant() : 0;
}

const CByteImage* CRadioDataManager::DefaultImage(int variant) const {
    CCloneManagerTemplate* hub = GetOwner();
    CDefaultDataManager* d = hub ? hub->GetDefaultDataManager() : nullptr;
    return d ? d->DefaultImage(variant) : nullptr;
}

void CRadioDataManager::CopyDefaultBit(CByteImage& image, std::uint32_t address,
                                       unsigned bit) const {
    if (const CByteImage* d = DefaultImage(Variant()))
        image.WriteBit(address, bit, d->ReadBit(address, bit));
}

void CRadioDataManager::CopyDefaultBlock(CByteImage& image, std::uint32_t address,
                                         std::uint32_t n) const {
    const CByteImage* d = DefaultImage(Variant());
    if (!d || n == 0 || !d->InRange(address) || n > d->Size() - address) return;
    image.WriteBlock(address, d->Data() + address, n);
}

// ---- The settings a byte holds ----

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

// Paths found so far, per map (its class), variant and address.
using CPathsAt = std::map<std::uint32_t, std::vector<std::string>>;
CPathsAt& Known(std::type_index map, int variant) {
    static std::map<std::pair<std::type_index, int>, CPathsAt> known;
    return known[{map, variant}];
}

} // namespace

std::vector<std::vector<std::string>>
CRadioDataManager::NodePathsAt(const std::vector<std::uint32_t>& addresses) {
    const int variant = Variant();
    CPathsAt& known = Known(typeid(*this), variant);
    std::vector<std::uint32_t> missing;
    for (std::uint32_t a : addresses)
        if (!known.count(a)) missing.push_back(a);

    if (auto scratch = missing.empty() ? nullptr : NewScratch(variant)) {
        CNode* root = scratch->GetRoot();
        CByteImage live;
        if (const CByteImage* start = LiveImage(variant)) live.CopyFrom(*start);
        scratch->ImageToTree(root, live);
        MakeLive(root);
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
        // The keep rules read the tree as the live image has it.
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
    for (std::uint32_t a : addresses) {
        const auto found = known.find(a);
        result.push_back(found == known.end() ? std::vector<std::string>() : found->second);
    }
    return result;
}
