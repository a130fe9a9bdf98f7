#include "radiomap/radio_data_manager.h"

#include "clone/model_info.h"
#include "clone/z30_default_data_manager.h"
#include "params/node_access.h"
#include "radiomap/memory_map.h"

#include <algorithm>
#include <string>

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
    &kCommon1Codec,
    &kWhole<kCommon2Section>,
    &kWhole<kExpertSection>,
    &kMakerCodec,
    &kChannelCodec,
};
static_assert(std::size(kSectionCodecs) == std::size_t(CZ30Section::Channel) + 1);

const CSectionCodec& CodecOf(CZ30Section s) { return *kSectionCodecs[std::size_t(s)]; }

// The items an index names: every item, or the one given (none when out of range).
std::pair<int, int> ItemsOf(const CSectionCodec& c, int index) {
    if (index == CZ30RadioDataManager::kEveryItem) return {0, c.items};
    return index >= 0 && index < c.items ? std::pair(index, index + 1) : std::pair(0, 0);
}

} // namespace

void CZ30RadioDataManager::BuildTree() {
    if (NodeCount() != 0) return;
    CNode* root = GetRoot();
    BuildMch(root);
    BuildScanList(root);
    BuildCommonSet(root);
    BuildDtmfAutoD(root);
    Build2ToneCodeCh(root);
    Build5ToneCodeCh(root);
    BuildMakerR(root);
    SetDefaultChannel(root);
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
