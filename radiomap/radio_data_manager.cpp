#include "radiomap/radio_data_manager.h"

#include "clone/model_info.h"
#include "clone/z30_default_data_manager.h"
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "radiomap/memory_map.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

KT_IMPLEMENT_DYNCREATE(CZ30RadioDataManager, CRadioDataManager)

namespace {

using namespace radiomap;

// The codecs of the sections, in the order of CZ30Section.
constexpr const CSectionCodec* kSectionCodecs[] = {
    &kMchCodec,
    &kAutodialCodec,
    &kWhole<kDtmfSection>,
    &kWhole<kScanSection>,
    &k2ToneRxCodec,
    &kFamilyWhole<CFamily::Lmr, k2ToneTxSection>,
    &kFamilyWhole<CFamily::Lmr, k2ToneRxComSection>,
    &k5ToneRxCodec,
    &k5ToneTxCodec,
    &k5ToneFormatCodec,
    &k5ToneUsrTonCodec,
    &kFamilyWhole<CFamily::Pmr, k5ToneRxComSection, k5ToneTxComSection>,
    &kWhole<kKeyDispSection>,
    &kWhole<kCommon1Section>,
    &kWhole<kCommon2Section>,
    &kWhole<kExpertSection>,
    &kWhole<kMakerSection>,
    &kChannelCodec,
};
static_assert(std::size(kSectionCodecs) == std::size_t(CZ30Section::Channel) + 1);

const CSectionCodec& CodecOf(CZ30Section s) { return *kSectionCodecs[std::size_t(s)]; }

// The items an index names: every item, or the one given (none when out of range).
std::pair<int, int> ItemsOf(const CSectionCodec& c, int index) {
    if (index == CZ30RadioDataManager::kEveryItem) return {0, c.items};
    return index >= 0 && index < c.items ? std::pair(index, index + 1) : std::pair(0, 0);
}

// ---- The tree ----

// The class of a list's item nodes, and what binds one to its fields once they are made.
struct CNodeClass {
    CNode* (*make)(const char* name);
    void (*bind)(CNode* node) = nullptr;
};
template <class T> CNode* Make(const char* name) { return new T(name); }
template <class T> void Bind(CNode* node) { static_cast<T*>(node)->Bind(); }
template <class T> constexpr CNodeClass kBound = {Make<T>, Bind<T>};

// A branch of the tree: the one node its first section's path names, or a list of items under
// that node's parent, each with the fields of the sections. The nodes on a path are made where
// missing, so the rows are in tree order.
struct CBranch {
    std::array<const CFieldSection*, 2> sections;
    int items = 0; // 0: no list
    std::string (*name)(int index) = nullptr;
    CNodeClass type = {Make<CNode>};
};

// The DTMF autodial codes are texts, coded by hand.
constexpr CField kAutodialFields[] = {{"Code", {}, Hand(), String()}};
constexpr CFieldSection kAutodialSection = {"DTMFAutoD.DTMFDial.AD1", 0, {kAutodialFields}};

constexpr CBranch kTree[] = {
    {{&kMchSection}},
    {{&kChannelSection}, kChannelCount + 1, [](int n) { return "CH" + std::to_string(n); }},
    {{&kScanSection}},
    {{&kCommon1Section}},
    {{&kCommon2Section}},
    {{&kExpertSection}},
    {{&kKeyDispSection}},
    {{&kAutodialSection}, kAutodialCount, AutodialName},
    {{&kDtmfSection}},
    {{&k2ToneCodedSection}, kRxChannelCount, RxChannelName, kBound<CZ302TonRxCodeChNode>},
    {{&k2ToneTxSection}},
    {{&k2ToneRxComSection}},
    {{&k5ToneCodedSection}, kRxChannelCount, RxChannelName},
    {{&k5ToneTxSection}, kTxChannelCount, [](int i) { return "CH" + std::to_string(i + 1); }},
    {{&k5ToneRxComSection}},
    {{&k5ToneTxComSection}},
    {{&k5ToneFormatSection}, kFormatCount, [](int i) { return std::string(kFormatNames[i]); }},
    {{&k5ToneUsrTonEncSection, &k5ToneUsrTonDecSection},
     kUsrTonCount,
     [](int i) { return std::to_string(i); },
     kBound<CZ305TonUsrTonNode>},
    {{&kMakerSection}},
};

// The node at path under node, with plain nodes made where missing.
CNode* Reach(CZ30RadioDataManager& map, CNode* node, std::string_view path) {
    for (std::size_t at = 0; at < path.size(); ++at) {
        const std::size_t end = std::min(path.find('.', at), path.size());
        const std::string name(path.substr(at, end - at));
        CNode* child = node->FindChild(name);
        node = child ? child : map.New<CNode>(node, name.c_str());
        at = end;
    }
    return node;
}

} // namespace

void CZ30RadioDataManager::BuildTree() {
    if (NodeCount() != 0) return;
    for (const CBranch& b : kTree) {
        const std::string_view path = b.sections[0]->node;
        CNode* at = Reach(*this, GetRoot(), b.items ? path.substr(0, path.rfind('.')) : path);
        for (int i = 0; i < std::max(b.items, 1); ++i) {
            CNode* node = b.items ? Adopt(at, b.type.make(b.name(i).c_str())) : at;
            for (const CFieldSection* s : b.sections)
                if (s) BuildFields(*this, node, *s);
            if (b.type.bind) b.type.bind(node);
        }
    }
    SetDefaultChannel(GetRoot());
}

std::unique_ptr<CZ30RadioDataManager> CZ30RadioDataManager::Scratch(CCloneManagerTemplate* hub,
                                                                    int variant) {
    auto scratch = std::make_unique<CZ30RadioDataManager>();
    scratch->MakeScratch(hub, std::clamp(variant, 0, kVariantCount - 1));
    return scratch;
}

int CZ30RadioDataManager::ImageToTree(CNode* root, CByteImage& image) {
    TakeVariant(VariantOfImage(image));

    for (int s = 0; s < int(CZ30Section::Channel); ++s)
        Decode(CZ30Section(s), root, image);
    return 1;
}

int CZ30RadioDataManager::TreeToImage(CNode* root, CByteImage& image) {
    image.WriteBit(0x07B, 3, IsPmr());
    for (int s = 0; s < int(CZ30Section::Channel); ++s)
        if (kSectionCodecs[s]->family != (IsPmr() ? CFamily::Lmr : CFamily::Pmr))
            Encode(CZ30Section(s), root, image);
    return 1;
}

void CZ30RadioDataManager::Decode(CZ30Section section, CNode* root, const CByteImage& image,
                                  int index) {
    const CSectionCodec& c = CodecOf(section);
    for (auto [i, end] = ItemsOf(c, index); i < end; ++i) {
        const CItem item = c.item(root, i);
        if (!item.node) continue;
        if (c.decode) c.decode(*this, root, item, image, i);
        for (const CItemPart& part : item.parts)
            if (part.fields) DecodeFields(image, part.base, item.node, *part.fields, *this);
    }
}

void CZ30RadioDataManager::Encode(CZ30Section section, CNode* root, CByteImage& image, int index) {
    const CSectionCodec& c = CodecOf(section);
    for (auto [i, end] = ItemsOf(c, index); i < end; ++i) {
        const CItem item = c.item(root, i);
        if (!item.node || (c.encode && !c.encode(*this, root, item, image, i))) continue;
        for (const CItemPart& part : item.parts)
            if (part.fields) EncodeFields(image, part.base, item.node, *part.fields, *this);
    }
}

const CByteImage* CZ30RadioDataManager::LiveImage(int variant) const {
    return &CZ30DefaultDataManager::FactoryImage(variant);
}

void CZ30RadioDataManager::MakeLive(CNode* root) {
    radiomap::SwitchEveryChannelOn(root);
    SetValueByName(GetNode(root, "Mch"), "Emr", 1);
}

void radiomap::SwitchEveryChannelOn(CNode* root) {
    constexpr int kLiveFrequencyHz = 446100000;
    constexpr int kLiveToneCode = 2023; // DCS 023
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        CNode* channel = GetNode(root, "Mch.CH" + std::to_string(ch));
        SetValueByName(channel, "ChOn", 1);
        SetValueByName(channel, "FreqRx", kLiveFrequencyHz);
        SetValueByName(channel, "FreqTx", kLiveFrequencyHz);
        SetValueByName(channel, "CTonRx", kLiveToneCode);
        SetValueByName(channel, "CTonTx", kLiveToneCode);
    }
}
