// The NQ-Z30's memory map: builds the tree once, decodes the image into it and encodes it back,
// section by section.
#pragma once

#include "clone/byte_image.h"
#include "clone/radio_data_manager.h"
#include "params/node.h"

#include <memory>
#include <utility>
#include <vector>

class CZ30RadioDataManager : public CRadioDataManager {
    KT_DECLARE_CLASS(CZ30RadioDataManager)
public:
    CZ30RadioDataManager() = default;
    ~CZ30RadioDataManager() override;
    // A manager with a tree of its own, for work that must not touch the document's tree (the
    // image fix-up, the check of what an image keeps). It reaches the hub's defaults, works with
    // the variant given here (image to tree takes the image's) and leaves the hub's variant alone.
    static std::unique_ptr<CZ30RadioDataManager> Scratch(CCloneManagerTemplate* hub, int variant);
    CZ30RadioDataManager(const CZ30RadioDataManager&) = delete;
    CZ30RadioDataManager& operator=(const CZ30RadioDataManager&) = delete;

    void BuildTree() override;
    int TreeToImage(CNode* root, CByteImage& image) override;
    int ImageToTree(CNode* root, CByteImage& image) override;
    // Not kept: "Mch.CH0"; channels beyond the variant's 1, 2 or 16; a field of a channel that
    // is off (all but "ChOn"); the other family's channel fields, "2ToneCodeCH" on PMR and
    // "5ToneCodeCH" on LMR radios, and the settings an LMR image resets ("AutChCal",
    // "InATim"); nodes without a place in the image ("BnkSet", the key choice lists).
    CKeep Keeps(const std::string& path) override;
    // A two-tone receive centre ("1stFreq", "2ndFreq") moves its decoder window.
    void UpdateDependents(const std::string& path) override;
    std::unique_ptr<CRadioDataManager> NewScratch(int variant) override {
        return Scratch(GetOwner(), variant);
    }
    // Found by flipping each bit of the byte in a scratch image of the current variant (every
    // channel on) and seeing which values change; what the image does not keep for the variant
    // is left out. Remembered per variant and address for the rest of the run.
    std::vector<std::vector<std::string>>
    NodePathsAt(const std::vector<std::uint32_t>& addresses) override;

    // Section codecs. Each takes the root and the image; per-item sections also exist for one
    // item given by its index.
    void DecodeMch(CNode* root, CByteImage& image);
    void EncodeMch(CNode* root, CByteImage& image);
    void DecodeChannel(CNode* root, CByteImage& image, int index); // 0..35 = CH1..CH36
    void EncodeChannel(CNode* root, CByteImage& image, int index);

    void DecodeDtmfAutodial(CNode* root, CByteImage& image);
    void EncodeDtmfAutodial(CNode* root, CByteImage& image);
    void DecodeDtmfAutodial(CNode* root, CByteImage& image, int index); // 0..2 = AD1..AD3
    void EncodeDtmfAutodial(CNode* root, CByteImage& image, int index);
    void DecodeDtmfCommon(CNode* root, CByteImage& image);
    void EncodeDtmfCommon(CNode* root, CByteImage& image);
    void DecodeScan(CNode* root, CByteImage& image);
    void EncodeScan(CNode* root, CByteImage& image);

    void Decode2ToneRxCodeCh(CNode* root, CByteImage& image);
    void Encode2ToneRxCodeCh(CNode* root, CByteImage& image);
    void Decode2ToneRxCodeCh(CNode* root, CByteImage& image, int index); // 0..3 = CH1..CH3, CHG
    void Encode2ToneRxCodeCh(CNode* root, CByteImage& image, int index);
    void Decode2ToneTxCode(CNode* root, CByteImage& image);
    void Encode2ToneTxCode(CNode* root, CByteImage& image);
    void Decode2ToneRxCommon(CNode* root, CByteImage& image);
    void Encode2ToneRxCommon(CNode* root, CByteImage& image);

    void Decode5ToneRxCodeCh(CNode* root, CByteImage& image);
    void Encode5ToneRxCodeCh(CNode* root, CByteImage& image);
    void Decode5ToneRxCodeCh(CNode* root, CByteImage& image, int index); // 0..3 = CH1..CH3, CHG
    void Encode5ToneRxCodeCh(CNode* root, CByteImage& image, int index);
    void Decode5ToneTxCodeCh(CNode* root, CByteImage& image);
    void Encode5ToneTxCodeCh(CNode* root, CByteImage& image);
    void Decode5ToneTxCodeCh(CNode* root, CByteImage& image, int index); // 0..31
    void Encode5ToneTxCodeCh(CNode* root, CByteImage& image, int index);
    void Decode5ToneFormat(CNode* root, CByteImage& image);
    void Encode5ToneFormat(CNode* root, CByteImage& image);
    void Decode5ToneFormat(CNode* root, CByteImage& image, int index); // 0..9
    void Encode5ToneFormat(CNode* root, CByteImage& image, int index);
    void Decode5ToneUsrTon(CNode* root, CByteImage& image);
    void Encode5ToneUsrTon(CNode* root, CByteImage& image);
    void Decode5ToneUsrTon(CNode* root, CByteImage& image, int index); // 0..14
    void Encode5ToneUsrTon(CNode* root, CByteImage& image, int index);
    void Decode5ToneCommon(CNode* root, CByteImage& image);
    void Encode5ToneCommon(CNode* root, CByteImage& image);
    // The group tone digit that "*" and "G" stand for in five-tone codes: "SpcTonGrp", 0..14.
    static int GroupToneDigit(CNode* root);

    void DecodeKeyDisp(CNode* root, CByteImage& image);
    void EncodeKeyDisp(CNode* root, CByteImage& image);
    void DecodeCommon1(CNode* root, CByteImage& image);
    void EncodeCommon1(CNode* root, CByteImage& image);
    void DecodeCommon2(CNode* root, CByteImage& image);
    void EncodeCommon2(CNode* root, CByteImage& image);
    void DecodeExpert(CNode* root, CByteImage& image);
    void EncodeExpert(CNode* root, CByteImage& image);
    void DecodeMakerR(CNode* root, CByteImage& image);
    void EncodeMakerR(CNode* root, CByteImage& image);

    // The current variant (0..5): the model manager's, or a scratch manager's own; 0 without one.
    int Variant() const;
    bool IsPmr() const { return Variant() % 2 != 0; }
    // Copies from the current variant's factory image into the given image.
    void CopyDefaultByte(CByteImage& image, std::uint32_t address) const;
    void CopyDefaultBit(CByteImage& image, std::uint32_t address, unsigned bit) const;
    void CopyDefaultBlock(CByteImage& image, std::uint32_t address, std::uint32_t n) const;

    // Creates a node, keeps it in the store and appends it to parent (when given).
    template <class T, class... Args> T* New(CNode* parent, Args&&... args) {
        auto* node = new T(std::forward<Args>(args)...);
        m_store.push_back(node);
        if (parent) parent->AddChild(node);
        return node;
    }
    std::size_t NodeCount() const { return m_store.size(); }

private:
    // Tree builders of the sections, in the order of the top level.
    void BuildMch(CNode* root);
    void BuildScanList(CNode* root);
    void BuildCommonSet(CNode* root);
    void BuildDtmfAutoD(CNode* root);
    void Build2ToneCodeCh(CNode* root);
    void Build5ToneCodeCh(CNode* root);
    void BuildMakerR(CNode* root);
    void SetDefaultChannel(CNode* root);

    std::vector<CNode*> m_store;
    int m_scratchVariant = -1; // a scratch manager's variant; -1 follows the hub
};
