#include "radiomap/radio_data_manager.h"

#include "clone/clone_manager.h"
#include "clone/default_data_manager.h"
#include "clone/model_manager.h"

#include <algorithm>

KT_IMPLEMENT_DYNCREATE(CZ30RadioDataManager, CRadioDataManager)

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

    DecodeMch(root, image);
    DecodeDtmfAutodial(root, image);
    DecodeDtmfCommon(root, image);
    DecodeScan(root, image);
    Decode2ToneRxCodeCh(root, image);
    Decode2ToneTxCode(root, image);
    Decode2ToneRxCommon(root, image);
    Decode5ToneRxCodeCh(root, image);
    Decode5ToneTxCodeCh(root, image);
    Decode5ToneFormat(root, image);
    Decode5ToneUsrTon(root, image);
    Decode5ToneCommon(root, image);
    DecodeKeyDisp(root, image);
    DecodeCommon1(root, image);
    DecodeCommon2(root, image);
    DecodeExpert(root, image);
    DecodeMakerR(root, image);
    return 1;
}

int CZ30RadioDataManager::TreeToImage(CNode* root, CByteImage& image) {
    image.WriteBit(0x07B, 3, IsPmr());
    EncodeMch(root, image);
    EncodeDtmfAutodial(root, image);
    EncodeDtmfCommon(root, image);
    EncodeScan(root, image);
    if (IsPmr()) {
        Encode5ToneRxCodeCh(root, image);
        Encode5ToneTxCodeCh(root, image);
        Encode5ToneFormat(root, image);
        Encode5ToneUsrTon(root, image);
        Encode5ToneCommon(root, image);
    } else {
        Encode2ToneRxCodeCh(root, image);
        Encode2ToneTxCode(root, image);
        Encode2ToneRxCommon(root, image);
    }
    EncodeKeyDisp(root, image);
    EncodeCommon1(root, image);
    EncodeCommon2(root, image);
    EncodeExpert(root, image);
    EncodeMakerR(root, image);
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
