#include "radiomap/z30_adjust_data_manager.h"

#include "clone/byte_image.h"
#include "clone/clone_manager.h"
#include "clone/default_data_manager.h"
#include "clone/model_info.h"
#include "clone/model_manager.h"
#include "params/node_access.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>

KT_IMPLEMENT_DYNCREATE(CZ30AdjustDataManager, CAdjustDataManager)

using namespace radiomap;

namespace {

constexpr std::uint32_t kModelCode = 0x000;
constexpr std::uint32_t kModelRevision = 0x002;
constexpr std::uint32_t kChannelClass = 0x003;
constexpr std::uint32_t kChannelCode = 0x007; // bits 1, 0
constexpr std::uint32_t kStartupChannel = 0x0A6;
constexpr std::uint32_t kMaker = 0x7F8;
constexpr char kMakerText[] = "NORQ Inc";
constexpr int kMaxChannelClass = 9;

// Channel records: bit 5 of byte 9 of each record comes from the defaults (the last of the 37
// lies in the unused gap after the 36 records).
constexpr int kChannelBitRecords = 37;

// Five-tone transmit records 2 to 32 while an LMR variant owns the area.
constexpr std::uint8_t kEmptyTxCode[4] = {0x01, 0xFF, 0xFF, 0xFF};

// The 16 channels kept twice: 0x200-0x33F mirrored at 0x650-0x78F.
constexpr std::uint32_t kMirrorTarget = 0x650;
constexpr std::uint32_t kMirrorSize = 16 * kRecordSize;

// Alignment values of the adjust area per radio revision.
struct AlignmentValues {
    int revision; // high byte * 16 + "DETSREV"
    std::array<std::uint8_t, 3> at004;
    std::array<std::uint8_t, 26> at056;
};
constexpr AlignmentValues kAlignment[] = {
    {16, {0x11, 0x50, 0xF8}, {0x10, 0x80, 0x11, 0x4C, 0x00, 0x00, 0x5E, 0x00, 0x16,
                              0x84, 0x5E, 0x00, 0x1F, 0x32, 0,    0,    0,    0,
                              0,    0,    0,    0,    0,    0,    0,    0}},
    {17, {0x11, 0x50, 0xEC}, {0x11, 0x80, 0x11, 0x4C, 0x00, 0x00, 0x5E, 0x00, 0x16,
                              0x8A, 0x5E, 0x00, 0x1F, 0x38, 0,    0,    0,    0,
                              0,    0,    0,    0,    0,    0,    0,    0}},
};

// The bytes and bits that come from the defaults, from a base: the first bytes (a model code,
// the code of a coded receive channel), the option bits of LMR radios and of every radio, and
// the bits of a two-tone and of a five-tone receive code channel record.
constexpr CPlace kBytes[] = {Byte(0), Byte(1), Byte(2), Byte(3)};
constexpr CPlace kLmrOptionBits[] = {Bit(0x07D, 6), Byte(0x086), Byte(0x09A), Bit(0x07C, 1)};
constexpr CPlace kOptionBits[] = {Bit(0x07B, 5), Bit(0x07F, 6)};
constexpr CPlace k2ToneRxBits[] = {Byte(4),   Bit(6, 7), Bit(6, 6), Bit(6, 3),
                                   Bit(7, 7), Bit(7, 6), Bit(7, 5), Bit(8, 7)};
constexpr CPlace k5ToneRxBits[] = {Bit(6, 3), Bit(7, 7), Bit(7, 5)};

void Reset(CByteImage& image, const CByteImage& defaults, std::uint32_t base,
           std::span<const CPlace> places) {
    for (const CPlace& p : places)
        ForEachBit(p, base, [&](std::uint32_t a, unsigned bit) {
            image.WriteBit(a, bit, defaults.ReadBit(a, bit) != 0);
        });
}

// Records 2 to 32 of the five-tone transmit area hold no code on an LMR radio.
void ClearTxRecords(CByteImage& image) {
    for (std::uint32_t a = kTxRecord + kTxRecordSize; a < kTxRecord + 32 * kTxRecordSize;
         a += kTxRecordSize)
        image.WriteBlock(a, kEmptyTxCode, sizeof kEmptyTxCode);
}

} // namespace

int CZ30AdjustDataManager::FixUpImage() {
    CCloneManagerTemplate* hub = GetOwner();
    CByteImage* image = hub ? hub->GetImage() : nullptr;
    return image ? FixUpImage(*image) : 1;
}

int CZ30AdjustDataManager::FixUpImage(CByteImage& target) {
    CCloneManagerTemplate* hub = GetOwner();
    if (!hub) return 1;
    CByteImage* image = &target;
    CDefaultDataManager* defaultManager = hub->GetDefaultDataManager();

    // 1. The image's own variant rules the fix-up. Sections are re-encoded through a tree of
    // the fix-up's own: the document's tree and variant stay as they are.
    const int m = VariantOfImage(*image);
    const bool pmr = IsPmrVariant(m);
    std::unique_ptr<CZ30RadioDataManager> scratch;
    if (dynamic_cast<CZ30RadioDataManager*>(hub->GetRadioDataManager()))
        scratch = CZ30RadioDataManager::Scratch(hub, m);
    CZ30RadioDataManager* data = scratch.get();
    const CByteImage* defaultImage = defaultManager ? defaultManager->DefaultImage(m) : nullptr;
    const CByteImage none(image->Size());
    const CByteImage& defaults = defaultImage ? *defaultImage : none;

    // 2, 3. Maker text, model code and model revision.
    image->WriteBlock(kMaker, reinterpret_cast<const std::uint8_t*>(kMakerText),
                      static_cast<std::uint32_t>(std::strlen(kMakerText)));
    Reset(*image, defaults, kModelCode, std::span(kBytes).first(2));
    image->WriteByte(kModelRevision, 1);

    CNode* root = data ? data->GetRoot() : nullptr;
    using S = CZ30Section;
    auto recode = [&](std::initializer_list<S> sections) {
        for (S s : sections) {
            data->Decode(s, root, *image);
            data->Encode(s, root, *image);
        }
    };
    if (data && root) {
        // 4. Start-up channel.
        data->Decode(S::Mch, root, *image);
        SetStartupChannel(root, *image);
    }
    // 5. An unused bit of every channel record.
    for (int i = 0; i < kChannelBitRecords; ++i)
        Reset(*image, defaults, kChannelBase + kRecordSize * static_cast<std::uint32_t>(i),
              {{Bit(9, 5)}});

    if (data && root) {
        // 6. Channels, DTMF and scan.
        data->Encode(S::Mch, root, *image);
        recode({S::DtmfAutodial, S::DtmfCommon, S::Scan});

        // 7. Receive code channels.
        const S rx = pmr ? S::FiveToneRxCodeCh : S::TwoToneRxCodeCh;
        for (int w = 0; w < kRxChannelCount; ++w) {
            const std::uint32_t r = RxRecordOf(w);
            data->Decode(rx, root, *image, w);
            if (w < kCodedChannelCount) Reset(*image, defaults, r, kBytes);
            Reset(*image, defaults, r,
                  pmr ? std::span<const CPlace>(k5ToneRxBits)
                      : std::span<const CPlace>(k2ToneRxBits));
            data->Encode(rx, root, *image, w);
        }

        // 8 to 10. The signalling system of the variant.
        if (pmr) {
            recode({S::FiveToneTxCodeCh, S::FiveToneUsrTon, S::FiveToneFormat, S::FiveToneCommon});
        } else {
            recode({S::TwoToneTxCode});
            ClearTxRecords(*image);
            recode({S::TwoToneRxCommon});
        }

        // 11. Common settings.
        recode({S::KeyDisp, S::Common1, S::Common2, S::Expert});
    } else if (!pmr) {
        ClearTxRecords(*image);
    }

    // 12. Option bits.
    if (!pmr) Reset(*image, defaults, 0, kLmrOptionBits);
    Reset(*image, defaults, 0, kOptionBits);
    WritePlace(*image, 0, Bits(0x07F, 3, 2), 0);
    const bool keepLowBits = image->ReadBit(kChannelCode, 0) && !image->ReadBit(kChannelCode, 1) &&
                             image->ReadBit(0x07F, 2);
    if (!keepLowBits) WritePlace(*image, 0, Bits(0x07F, 0, 2), 0);

    // 13. Maker area.
    if (data && root) recode({S::MakerR});

    // 14. The first 16 channels are kept twice.
    std::uint8_t mirror[kMirrorSize];
    if (image->ReadBlock(kChannelBase, mirror, kMirrorSize))
        image->WriteBlock(kMirrorTarget, mirror, kMirrorSize);
    return 1;
}

// The lowest-numbered enabled channel that is not inhibited, else the lowest-numbered enabled
// channel; an unset start-up channel becomes channel 1.
void CZ30AdjustDataManager::SetStartupChannel(CNode* root, CByteImage& image) const {
    bool storedUninhibited = false;
    for (int ch = 16; ch >= 1; --ch) {
        CNode* channel = GetNode(root, "Mch.CH" + std::to_string(ch));
        if (GetValueByName(channel, "ChOn") != 1) continue;
        const bool inhibited = GetValueByName(channel, "InhCh") != 0;
        if (!inhibited || image.ReadByte(kStartupChannel) == 0xFF || !storedUninhibited) {
            image.WriteByte(kStartupChannel, static_cast<std::uint8_t>(ch - 1));
            if (!inhibited) storedUninhibited = true;
        }
    }
    if (image.ReadByte(kStartupChannel) == 0xFF) image.WriteByte(kStartupChannel, 0);
}

int CZ30AdjustDataManager::SetChannelClass() {
    CCloneManagerTemplate* hub = GetOwner();
    CByteImage* image = hub ? hub->GetImage() : nullptr;
    if (!image) return 1;
    const int cls = std::min(ChannelClassOf(hub->GetVariant()), kMaxChannelClass);
    image->WriteByte(kChannelClass,
                     static_cast<std::uint8_t>((image->ReadByte(kChannelClass) & 0xF0) + cls));
    return 1;
}

int CZ30AdjustDataManager::WriteAlignmentValues() {
    CCloneManagerTemplate* hub = GetOwner();
    CModelManager* model = hub ? hub->GetModelManager() : nullptr;
    const CModelInfo* info = model ? model->GetModelInfo() : nullptr;
    if (!info) return 0;
    return WriteAlignmentValues(info->GetRevision() >> 8, info->DetailLookup("DETSREV"));
}

int CZ30AdjustDataManager::WriteAlignmentValues(int revisionHighByte, int detsrev) {
    CCloneManagerTemplate* hub = GetOwner();
    CByteImage* image = hub ? hub->GetImage() : nullptr;
    if (!image) return 0;
    const int r = revisionHighByte * 16 + detsrev;
    for (const AlignmentValues& v : kAlignment)
        if (v.revision == r) {
            image->WriteBlock(0x004, v.at004.data(), static_cast<std::uint32_t>(v.at004.size()));
            image->WriteBlock(0x056, v.at056.data(), static_cast<std::uint32_t>(v.at056.size()));
        }
    return 1;
}
