// The NQ-Z30's memory map: builds the tree once, decodes the image into it and encodes it back,
// section by section.
#pragma once

#include "clone/byte_image.h"
#include "clone/radio_data_manager.h"
#include "params/node.h"

#include <memory>
#include <string>

// The sections of the image, in the order the whole image is decoded and encoded; Mch codes the
// channels too, Channel one of them.
enum class CZ30Section {
    Mch,
    DtmfAutodial,
    DtmfCommon,
    Scan,
    TwoToneRxCodeCh,
    TwoToneTxCode,
    TwoToneRxCommon,
    FiveToneRxCodeCh,
    FiveToneTxCodeCh,
    FiveToneFormat,
    FiveToneUsrTon,
    FiveToneCommon,
    KeyDisp,
    Common1,
    Common2,
    Expert,
    MakerR,
    Channel,
};

class CZ30RadioDataManager : public CRadioDataManager {
    KT_DECLARE_CLASS(CZ30RadioDataManager)
public:
    CZ30RadioDataManager() = default;
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

    // Section codecs: every item of the section, or the one index gives (channels 0..35 = CH1 to
    // CH36; autodial memories 0..2; receive code channels 0..3 = CH1 to CH3, CHG; five-tone
    // transmit code channels 0..31, formats 0..9, user tones 0..14). An index beyond the
    // section's items does nothing.
    static constexpr int kEveryItem = -1;
    void Decode(CZ30Section section, CNode* root, const CByteImage& image, int index = kEveryItem);
    void Encode(CZ30Section section, CNode* root, CByteImage& image, int index = kEveryItem);

    bool IsPmr() const { return Variant() % 2 != 0; }

protected:
    // The search for the settings a byte holds starts from the variant's factory image, with
    // every channel on and an emergency channel set.
    const CByteImage* LiveImage(int variant) const override;
    void MakeLive(CNode* root) override;

private:
    void SetDefaultChannel(CNode* root);
};

namespace radiomap {
// Lists of the tree that codecs walk by index, beside those of memory_map.h: the DTMF autodial
// memories, the five-tone transmit code channels CH1 to CH32, tone formats and user tones 0 to 14.
inline constexpr int kAutodialCount = 3;
inline std::string AutodialName(int index) { return "AD" + std::to_string(index + 1); }
inline constexpr int kTxChannelCount = 32;
inline constexpr int kFormatCount = 10;
inline constexpr const char* kFormatNames[kFormatCount] = {
    "USER", "CCIR", "ZVEI1", "ZVEI2", "DZVEI", "EEA", "EEA2", "DAPL", "EIA", "DTMF"};
inline constexpr int kUsrTonCount = 15;

// Switches every channel record of a tree on, at a valid frequency with digital squelch codes
// (every bit of a code counts), so that each stored field of a channel counts when the tree is
// written.
void SwitchEveryChannelOn(CNode* root);
} // namespace radiomap
