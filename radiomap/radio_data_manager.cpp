#include "radiomap/radio_data_manager.h"

#include "clone/clone_manager.h"
#include "clone/default_data_manager.h"
#include "clone/model_manager.h"
#include "radiomap/memory_map.h"

#include <algorithm>

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

} // namespace

void CZ30RadioDataManager::BuildTree() {
    if (!m_store.empty()) return;
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
    scratch->SetOwner(hub);
    scratch->m_scratchVariant = std::clamp(variant, 0, kVariantCount - 1);
    scratch->BuildTree();
    return scratch;
}

int CZ30RadioDataManager::ImageToTree(CNode* root, CByteImage& image) {
    // The variant comes from the image.
    if (m_scratchVariant >= 0)
        m_scratchVariant = VariantOfImage(image);
    else if (CCloneManagerTemplate* hub = GetOwner())
        if (CModelManager* model = hub->GetModelManager())
            model->SetVariant(VariantOfImage(image), false);

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

int CZ30RadioDataManager::Variant() const {
    if (m_scratchVariant >= 0) return m_scratchVariant;
    CCloneManagerTemplate* hub = GetOwner();
    return hub ? hub->GetVariant() : 0;
}

namespace {
const CByteImage* Defaults(const CZ30RadioDataManager& m) {
    CCloneManagerTemplate* hub = m.GetOwner();
    CDefaultDataManager* d = hub ? hub->GetDefaultDataManager() : nullptr;
    return d ? d->DefaultImage(m.Variant()) : nullptr;
}
} // namespace

void CZ30RadioDataManager::CopyDefaultBit(CByteImage& image, std::uint32_t address,
                                          unsigned bit) const {
    if (const CByteImage* d = Defaults(*this))
        image.WriteBit(address, bit, d->ReadBit(address, bit));
}

void CZ30RadioDataManager::CopyDefaultBlock(CByteImage& image, std::uint32_t address,
                                            std::uint32_t n) const {
    const CByteImage* d = Defaults(*this);
    if (!d || n == 0 || !d->InRange(address) || n > d->Size() - address) return;
    image.WriteBlock(address, d->Data() + address, n);
}
