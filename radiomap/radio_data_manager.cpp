#include "radiomap/radio_data_manager.h"

#include "clone/clone_manager.h"
#include "clone/default_data_manager.h"
#include "clone/model_manager.h"
#include "radiomap/map_fields.h"

#include <algorithm>

KT_IMPLEMENT_DYNCREATE(CZ30RadioDataManager, CRadioDataManager)

namespace {

using M = CZ30RadioDataManager;
using radiomap::CFamily;

// The sections in the order they are decoded and encoded; a family's sections are encoded only
// for its radios.
struct CSectionCodec {
    void (M::*decode)(CNode*, CByteImage&);
    void (M::*encode)(CNode*, CByteImage&);
    CFamily family = CFamily::Both;
};
constexpr CSectionCodec kSectionCodecs[] = {
    {&M::DecodeMch, &M::EncodeMch},
    {&M::DecodeDtmfAutodial, &M::EncodeDtmfAutodial},
    {&M::DecodeDtmfCommon, &M::EncodeDtmfCommon},
    {&M::DecodeScan, &M::EncodeScan},
    {&M::Decode2ToneRxCodeCh, &M::Encode2ToneRxCodeCh, CFamily::Lmr},
    {&M::Decode2ToneTxCode, &M::Encode2ToneTxCode, CFamily::Lmr},
    {&M::Decode2ToneRxCommon, &M::Encode2ToneRxCommon, CFamily::Lmr},
    {&M::Decode5ToneRxCodeCh, &M::Encode5ToneRxCodeCh, CFamily::Pmr},
    {&M::Decode5ToneTxCodeCh, &M::Encode5ToneTxCodeCh, CFamily::Pmr},
    {&M::Decode5ToneFormat, &M::Encode5ToneFormat, CFamily::Pmr},
    {&M::Decode5ToneUsrTon, &M::Encode5ToneUsrTon, CFamily::Pmr},
    {&M::Decode5ToneCommon, &M::Encode5ToneCommon, CFamily::Pmr},
    {&M::DecodeKeyDisp, &M::EncodeKeyDisp},
    {&M::DecodeCommon1, &M::EncodeCommon1},
    {&M::DecodeCommon2, &M::EncodeCommon2},
    {&M::DecodeExpert, &M::EncodeExpert},
    {&M::DecodeMakerR, &M::EncodeMakerR},
};

} // namespace

CZ30RadioDataManager::~CZ30RadioDataManager() {
    for (CNode* node : m_store)
        delete node;
    m_store.clear();
}

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

    for (const CSectionCodec& c : kSectionCodecs)
        (this->*c.decode)(root, image);
    return 1;
}

int CZ30RadioDataManager::TreeToImage(CNode* root, CByteImage& image) {
    image.WriteBit(0x07B, 3, IsPmr());
    for (const CSectionCodec& c : kSectionCodecs)
        if (c.family != (IsPmr() ? CFamily::Lmr : CFamily::Pmr)) (this->*c.encode)(root, image);
    return 1;
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

void CZ30RadioDataManager::CopyDefaultByte(CByteImage& image, std::uint32_t address) const {
    if (const CByteImage* d = Defaults(*this)) image.WriteByte(address, d->ReadByte(address));
}

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
